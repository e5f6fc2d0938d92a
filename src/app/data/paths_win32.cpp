// Where the game's files live on Windows: beside the program, or in the
// player's own application data when that is not the place (paths.h).
#include <shlobj.h>
#include <windows.h>

#include <cwctype>

#include "app/data/paths.h"
#include "app/platform/os.h"
#include "app/platform/wide.h"

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::string out;
    if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) {
        out = ForwardSlashes(Utf8(path));
    }
    CoTaskMemFree(path);
    return out;
}

// Windows paths compare without regard to case.
bool Inside(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() <= folder.size() || path[folder.size()] != '/') {
        return false;
    }
    std::wstring a = Wide(path.substr(0, folder.size()));
    std::wstring b = Wide(folder);
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Whether a new file can be made in `folder` (the permissions say less
// than trying: a read-only medium, an administrator's folder).
bool Writable(const std::string& folder) {
    std::string probe = folder + "/.fluffernauts-write-" + std::to_string(GetCurrentProcessId());
    HANDLE h = CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(h);
    return true;
}

}  // namespace

bool FindLayoutHere(Layout& out, std::vector<std::string>& tried) {
    const std::string exe = ExecutableFolder();
    bool installed = Inside(exe, KnownFolder(FOLDERID_ProgramFiles)) ||
                     Inside(exe, KnownFolder(FOLDERID_ProgramFilesX86));
    return FindWindowsLayout(exe, installed, Writable(exe + "/data"),
                             KnownFolder(FOLDERID_RoamingAppData), out, tried);
}

std::string SettingsFileHere() {
    std::string appData = KnownFolder(FOLDERID_RoamingAppData);
    return appData.empty() ? "" : appData + "/Fluffernauts/settings.conf";
}
