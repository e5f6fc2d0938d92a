// The process entry. The game reads its data relative to its own folder, so
// it first moves there, wherever it was started from.
#include <limits.h>
#include <unistd.h>

#include <string>

#include "app/platform.h"
#include "app/system.h"

static void MoveToExecutableFolder(const char* argv0) {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    std::string path = n > 0 ? std::string(buf, size_t(n)) : std::string(argv0 ? argv0 : "");
    size_t slash = path.rfind('/');
    if (slash != std::string::npos) {
        std::string dir = path.substr(0, slash);
        if (chdir(dir.empty() ? "/" : dir.c_str()) != 0) {
            // Stay where we are; the data loaders report what is missing.
        }
    }
}

int main(int argc, char** argv) {
    (void)argc;
    MoveToExecutableFolder(argv[0]);
    platform = CreateAllegroPlatform();
    return RunProgram();
}
END_OF_MAIN()
