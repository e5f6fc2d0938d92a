#include <poll.h>
#include <pthread.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <csignal>
#include <cstdlib>
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
