#include "app/data/paths.h"

#include <cerrno>
#include <filesystem>

#include "app/platform/os.h"

std::string dataFolder = "data";
std::string scoreFolder = "data";

namespace {

// "/usr/games/../share/fluffernauts" reads badly in a message. UTF-8 in and
// out with forward slashes, on Windows too.
std::string Join(const std::string& folder, const char* rel) {
    return (std::filesystem::u8path(folder) / rel).lexically_normal().generic_u8string();
}

}  // namespace

std::string DataFile(const char* name) {
    return dataFolder + "/" + name;
}

std::string ScoreFile(const char* name) {
    return scoreFolder + "/" + name;
}

bool FindLayout(const std::string& exeFolder, const char* xdgDataHome, const char* home,
                Layout& out, std::vector<std::string>& tried) {
    tried.clear();
    std::string portable = Join(exeFolder, "data");
    tried.push_back(portable);
    if (IsRegularFile(portable + "/gfx.dat")) {
        out = {portable, portable, false};
        return true;
    }
    std::string installed = Join(exeFolder, "../share/fluffernauts");
    tried.push_back(installed);
    if (!IsRegularFile(installed + "/gfx.dat")) {
        return false;
    }
    // The XDG rule: a relative $XDG_DATA_HOME is to be ignored.
    std::string base;
    if (xdgDataHome && xdgDataHome[0] == '/') {
        base = xdgDataHome;
    } else if (home && home[0]) {
        base = std::string(home) + "/.local/share";
    } else {
        // Never into the installation: the table stays in memory.
        out = {installed, "", true};
        return true;
    }
    out = {installed, base + "/fluffernauts", true};
    return true;
}

bool FindWindowsLayout(const std::string& exeFolder, bool installed, bool dataWritable,
                       const std::string& appData, Layout& out, std::vector<std::string>& tried) {
    tried.clear();
    std::string portable = Join(exeFolder, "data");
    tried.push_back(portable);
    if (!IsRegularFile(portable + "/gfx.dat")) {
        return false;
    }
    bool beside = appData.empty() || (!installed && dataWritable);
    out = {portable, beside ? portable : appData + "/Fluffernauts", installed};
    return true;
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty() || IsFolder(folder)) {
        return !folder.empty();
    }
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) {
        return false;
    }
    if (MakeFolder(folder)) {
        return true;
    }
    // Another copy of the game may make it at the same moment; otherwise
    // errno says why for the caller's message ("File exists" would name a
    // file where a folder must go as if all were well).
    int saved = errno;
    bool made = IsFolder(folder);
    errno = saved == EEXIST ? ENOTDIR : saved;
    return made;
}
