// The calls that differ between operating systems, on Windows. Every path
// arrives as UTF-8 and goes to a wide-character call, so a player named
// "Zoë" or a folder in any script works.
// Allegro's header first (through system.h), then Windows' own under
// Allegro's guard: both name a BITMAP.
#include "app/system.h"
//
#include <winalleg.h>
//
#include <io.h>
#include <shellapi.h>

#include <csignal>
#include <cstdlib>

#include "app/platform/os.h"
#include "app/platform/wide.h"

namespace {

volatile std::sig_atomic_t messageShowing = 0;

// Windows has no SIGHUP: the console's close, a log-off and a shutdown
// stand for it.
constexpr int kHangUp = 1;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    int sig = 0;
    switch (event) {
        case CTRL_C_EVENT:
            sig = SIGINT;
            break;
        case CTRL_BREAK_EVENT:
            sig = SIGTERM;
            break;
        default:
            sig = kHangUp;
            break;
    }
    if (messageShowing) {
        TerminateProcess(GetCurrentProcess(), UINT(128 + sig));
    }
    // A second one of the same kind ends the program at once, as the
    // signal's own default would.
    if (quitRequest == sig) {
        TerminateProcess(GetCurrentProcess(), UINT(128 + sig));
    }
    quitRequest = sig;
    if (sig == kHangUp) {
        // Windows ends the process once this handler returns (or after
        // about five seconds); the game ends in order meanwhile.
        Sleep(5000);
    }
    return TRUE;
}

// Wine and Windows both name the program's own file; Wine also answers
// to this call, which Windows lacks.
bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

void CatchQuitSignals() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void MessageBoxShowing(bool showing) {
    messageShowing = showing ? 1 : 0;
}

void SetEnvironmentDefault(const char* name, const char* value) {
    std::wstring wname = Wide(name);
    if (GetEnvironmentVariableW(wname.c_str(), nullptr, 0) == 0) {
        // Both the C library's copy and the process's own, which SDL reads.
        _wputenv_s(wname.c_str(), Wide(value).c_str());
        SetEnvironmentVariableW(wname.c_str(), Wide(value).c_str());
    }
}

bool MayHaveGpu() {
    // A Windows machine has a graphics driver; under Wine the Direct3D
    // calls are translated to the host's OpenGL, often a rasteriser in
    // software, and the window's own pixels are as fast at 1x.
    return !UnderWine();
}

bool WaitReadable(int, int ms) {
    // No display connection to watch on Windows (SDL's event source is
    // -1 there); kept for the seam.
    Sleep(DWORD(ms > 0 ? ms : 0));
    return false;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) {
        args.push_back(Utf8(wide[i]));
    }
    LocalFree(wide);
    return args;
}

void UseParentConsole() {
    // A program of the window subsystem starts without standard handles;
    // started from a console, it writes there. Handles a parent gave (a
    // redirection, a pipe, Wine's terminal) stay as they are.
    bool haveOut = GetStdHandle(STD_OUTPUT_HANDLE) && _fileno(stdout) >= 0;
    if (haveOut || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    FILE* ignored = nullptr;
    _wfreopen_s(&ignored, L"CONOUT$", L"w", stdout);
    _wfreopen_s(&ignored, L"CONOUT$", L"w", stderr);
}

void EndProgram(int status) {
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), UINT(status));
    ExitProcess(UINT(status));  // not reached
}

FILE* OpenFile(const std::string& path, const char* mode) {
    std::wstring m = Wide(mode);
    if (m.find(L'b') == std::wstring::npos) {
        m += L'b';
    }
    return _wfopen(Wide(path).c_str(), m.c_str());
}

bool IsRegularFile(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path) {
    if (CreateDirectoryW(Wide(path).c_str(), nullptr)) {
        return true;
    }
    errno = GetLastError() == ERROR_ALREADY_EXISTS ? EEXIST : EACCES;
    return false;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) != 0;
}

bool GetFileVersion(const std::string& path, FileVersion& out) {
    HANDLE h =
        CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok) {
        return false;
    }
    auto join = [](DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; };
    uint64_t written =
        join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    // FILETIME counts 100 ns steps.
    out = {info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
           join(info.nFileSizeHigh, info.nFileSizeLow), int64_t(written / 10000000),
           int64_t(written % 10000000) * 100};
    return true;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(Wide(folder + "/*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = Utf8(found.cFileName);
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

std::string ExecutableFolder() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, &buf[0], DWORD(buf.size()));
        if (n == 0) {
            return "";
        }
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    std::string path = ForwardSlashes(Utf8(buf));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}
