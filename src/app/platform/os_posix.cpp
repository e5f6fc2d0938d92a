#include <dirent.h>
#include <limits.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/platform/os.h"
#include "app/system.h"

namespace {

volatile std::sig_atomic_t messageShowing = 0;
pid_t gamePid = 0;

// The message box runs in a child of ours (SDL forks for it on X11, and
// starts zenity from a child on Wayland): it must end with the game, even
// one killed outright.
void InBoxChild() {
    if (!messageShowing) {
        return;
    }
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if (getppid() != gamePid) {
        _exit(1);
    }
}

void OnSignal(int sig) {
    if (messageShowing) {
        _exit(128 + sig);
    }
    quitRequest = sig;
}

}  // namespace

void CatchQuitSignals() {
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sa.sa_flags = SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
    }
    // Past a file-size limit a write fails (EFBIG) like any other, and the
    // game says so, instead of being killed.
    signal(SIGXFSZ, SIG_IGN);
}

void MessageBoxShowing(bool showing) {
    static bool hooked = false;
    if (showing && !hooked) {
        gamePid = getpid();
        pthread_atfork(nullptr, nullptr, InBoxChild);
        hooked = true;
    }
    messageShowing = showing ? 1 : 0;
}

void SetEnvironmentDefault(const char* name, const char* value) {
    setenv(name, value, 0);
}

bool MayHaveGpu() {
    // Mesa's drivers open a render node, NVIDIA's its control device.
    for (const char* node : {"/dev/dri/renderD128", "/dev/dri/renderD129", "/dev/dri/card0",
                             "/dev/dri/card1", "/dev/nvidiactl"}) {
        if (access(node, F_OK) == 0) {
            return true;
        }
    }
    return false;
}

bool WaitReadable(int fd, int ms) {
    pollfd p = {fd, POLLIN, 0};
    return poll(&p, 1, ms) > 0;
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void UseParentConsole() {}

void EndProgram(int status) {
    std::exit(status);
}

FILE* OpenFile(const std::string& path, const char* mode) {
    std::string m = mode;
    if (m.find('b') == std::string::npos) {
        m += 'b';
    }
    return std::fopen(path.c_str(), m.c_str());
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0700) == 0;
}

bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

bool GetFileVersion(const std::string& path, FileVersion& out) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        return false;
    }
    out = {uint64_t(st.st_dev), uint64_t(st.st_ino), uint64_t(st.st_size),
           int64_t(st.st_mtim.tv_sec), int64_t(st.st_mtim.tv_nsec)};
    return true;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return names;
    }
    while (const dirent* e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
            names.push_back(e->d_name);
        }
    }
    closedir(dir);
    return names;
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
