// The few calls that differ between operating systems, each in one small
// function (os_posix.cpp on Linux and the other Unix desktops, os_win32.cpp
// on Windows). Paths are UTF-8 with forward slashes everywhere in the game;
// the Windows side turns them into wide strings at each call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// SIGINT, SIGTERM and SIGHUP (on Windows: Ctrl+C, Ctrl+Break and the
// console's close) set quitRequest, so that every screen ends in
// order; a second signal of the same kind ends the program at once. While a
// message box shows, nothing else runs that could notice the request: a
// signal then ends the program at once, with 128 + its number, and the box
// (a child process) ends with the program however it ends. A file-size
// limit (SIGXFSZ) is ignored: the write that meets it fails instead.
void CatchQuitSignals();
void MessageBoxShowing(bool showing);

// Sets an environment variable for the libraries this process starts,
// unless the player has set it already.
void SetEnvironmentDefault(const char* name, const char* value);

// Whether this machine may have a graphics card that OpenGL can draw with:
// false when it surely has none, so that no time goes into asking.
bool MayHaveGpu();

// Waits until `fd` has something to read or `ms` milliseconds have gone by
// (or a signal came); true when there is something to read.
bool WaitReadable(int fd, int ms);

// The command line as UTF-8 (on Windows argv is in the ANSI code page,
// which cannot hold every name).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// A Windows program without a console of its own writes to the console it
// was started from, if any (--help, --timedemo); nothing elsewhere.
void UseParentConsole();

// Ends the process with `status` once standard output and error are
// flushed. On Windows no exit handler runs: Allegro's may hang under Wine,
// and everything the game keeps is already on disk when it gets here.
[[noreturn]] void EndProgram(int status);

// Files by UTF-8 path. OpenFile always opens in binary mode ("r", "w").
FILE* OpenFile(const std::string& path, const char* mode);
bool IsRegularFile(const std::string& path);
bool IsFolder(const std::string& path);
// One folder, private to the player where that means something (0700).
bool MakeFolder(const std::string& path);
bool RemoveFile(const std::string& path);

// What tells one state of a file from the next: device, file id, size and
// modification time. Equal values: the file has not changed.
struct FileVersion {
    uint64_t device = 0;
    uint64_t id = 0;
    uint64_t size = 0;
    int64_t seconds = 0;
    int64_t nanoseconds = 0;
    bool operator!=(const FileVersion& o) const {
        return device != o.device || id != o.id || size != o.size || seconds != o.seconds ||
               nanoseconds != o.nanoseconds;
    }
};
bool GetFileVersion(const std::string& path, FileVersion& out);

// The names in `folder` (no "." or ".."); empty when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);

// The folder the running program lives in ("" when it cannot be told).
std::string ExecutableFolder();
