#include "app/options.h"

#include <cstring>

const char* const kUsage =
    "Usage: fluffernauts [OPTION]...\n"
    "A mouse-aimed arcade shooting gallery.\n"
    "\n"
    "  --windowed        play in a window (the default)\n"
    "  --fullscreen      play on the full screen\n"
    "  --timedemo FILE   play a recorded game as fast as possible and print\n"
    "                    its frame rate and end statistics\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "In the game F11 switches between the window and the full screen, and P pauses.\n";

OptionsResult ParseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
    out = Options{};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            return OptionsResult::kHelp;
        }
        if (std::strcmp(arg, "--version") == 0) {
            return OptionsResult::kVersion;
        }
        if (std::strcmp(arg, "--fullscreen") == 0) {
            out.fullscreen = true;
        } else if (std::strcmp(arg, "--windowed") == 0) {
            out.fullscreen = false;
        } else if (std::strcmp(arg, "--timedemo") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = "--timedemo needs a file";
                return OptionsResult::kError;
            }
            out.timedemo = argv[++i];
        } else if (std::strncmp(arg, "--timedemo=", 11) == 0 && arg[11] != '\0') {
            out.timedemo = arg + 11;
        } else {
            error = std::string("unknown option '") + arg + "'";
            return OptionsResult::kError;
        }
    }
    return OptionsResult::kRun;
}
