#include "app/data/paths.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

std::string dataFolder = "data";
std::string scoreFolder = "data";

namespace {

bool IsFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// "/usr/games/../share/fluffernauts" reads badly in a message.
std::string Join(const std::string& folder, const char* rel) {
    return (std::filesystem::path(folder) / rel).lexically_normal().string();
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
    if (IsFile(portable + "/gfx.dat")) {
        out = {portable, portable, false};
        return true;
    }
    std::string installed = Join(exeFolder, "../share/fluffernauts");
    tried.push_back(installed);
    if (!IsFile(installed + "/gfx.dat")) {
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

std::string ExecutableFolder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) {
        return "";
    }
    std::string path(buf, size_t(n));
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
    struct stat st;
    if (folder.empty() || stat(folder.c_str(), &st) == 0) {
        return !folder.empty() && S_ISDIR(st.st_mode);
    }
    size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) {
        return false;
    }
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}
