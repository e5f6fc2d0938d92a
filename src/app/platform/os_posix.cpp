#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>

#include "app/platform/os.h"
#include "app/system.h"

namespace {

volatile std::sig_atomic_t messageShowing = 0;

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
}

void MessageBoxShowing(bool showing) {
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
