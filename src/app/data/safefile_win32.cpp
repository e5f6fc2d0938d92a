// Replacing and locking files on Windows: the same promises as on Linux
// with the system's own calls. A file is written to a new temporary file,
// flushed to the disk, and moved over the old one in one step.
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "app/data/paths.h"
#include "app/data/safefile.h"
#include "app/platform/wide.h"

namespace {

std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string Reason(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n ? Utf8(std::wstring(text, n)) : "error " + std::to_string(code);
    LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == '.')) {
        out.pop_back();
    }
    return out;
}

// "NAME.new-" and six characters no other writer is using right now:
// CREATE_NEW fails on a name that is taken.
HANDLE CreateTemp(const std::string& path, std::string& temp) {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static LONG counter = 0;
    uint64_t seed = (uint64_t(GetCurrentProcessId()) << 32) ^ GetTickCount64();
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t v = seed + uint64_t(InterlockedIncrement(&counter)) * 0x9E3779B97F4A7C15ull;
        std::string suffix;
        for (size_t i = 0; i < kTempSuffixLength; ++i) {
            suffix += kChars[v % (sizeof kChars - 1)];
            v /= sizeof kChars - 1;
        }
        temp = path + ".new-" + suffix;
        HANDLE h = CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return h;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE h, const char* bytes, size_t count) {
    while (count > 0) {
        DWORD chunk = count > (1u << 30) ? (1u << 30) : DWORD(count);
        DWORD written = 0;
        if (!WriteFile(h, bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

}  // namespace

bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& error) {
    const std::string folder = Folder(path);
    if (!MakeFolders(folder)) {
        error = "cannot make the folder " + folder + ": " + Reason(GetLastError());
        return false;
    }
    std::string temp;
    HANDLE h = CreateTemp(path, temp);
    if (h == INVALID_HANDLE_VALUE) {
        error = "cannot write in " + folder + ": " + Reason(GetLastError());
        return false;
    }
    bool ok = WriteAll(h, bytes.data(), bytes.size());
    ok = FlushFileBuffers(h) && ok;
    DWORD saved = GetLastError();
    ok = CloseHandle(h) && ok;
    // Write-through: the move itself is on the disk when the call returns.
    if (!ok || !MoveFileExW(Wide(temp).c_str(), Wide(path).c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        saved = ok ? GetLastError() : saved;
        DeleteFileW(Wide(temp).c_str());
        error = "cannot write " + path + ": " + Reason(saved ? saved : ERROR_WRITE_FAULT);
        return false;
    }
    return true;
}

FileLock::FileLock(const std::string& path) {
    // Everyone may open it while it is locked: the lock is the byte range.
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        OVERLAPPED at = {};
        LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at);
    }
    handle_ = reinterpret_cast<intptr_t>(h);
}

FileLock::~FileLock() {
    HANDLE h = reinterpret_cast<HANDLE>(handle_);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);  // the lock goes with the handle
    }
}
