// The few calls that differ between operating systems, each in one small
// function (os_posix.cpp on Linux and the other Unix desktops).
#pragma once

// SIGINT, SIGTERM and SIGHUP set quitRequest, so that every screen ends in
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
