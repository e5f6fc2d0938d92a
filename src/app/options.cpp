#include "app/options.h"

#include <cstring>

const char* const kUsage =
    "Usage: fluffernauts [OPTION]...\n"
    "A mouse-aimed arcade shooting gallery.\n"
    "\n"
    "  --windowed          play in a window (the default)\n"
    "  --fullscreen        play on the full screen, at the desktop's resolution\n"
    "  --scale N           open the window at N times 800x600 (1 to 8, or auto:\n"
    "                      the largest that fits the desktop)\n"
    "  --sharp             scale the picture by whole pixels (the default)\n"
    "  --smooth            scale the picture filtered (with the gpu renderer)\n"
    "  --renderer R        how frames reach the screen: auto, gpu or surface\n"
    "  --reduce-flashing   show the damage warning without flashing\n"
    "  --no-reduce-flashing\n"
    "                      flash as designed (the default)\n"
    "  --record FILE       record each game of this visit: into FILE, then\n"
    "                      FILE-2 and on (the number before an extension)\n"
    "  --playdemo FILE     watch a recorded game at its own speed\n"
    "  --timedemo FILE     play a recorded game as fast as possible and print\n"
    "                      its frame rate and end statistics\n"
    "  --help              show this help and exit\n"
    "  --version           show the version and exit\n"
    "\n"
    "The display choices are kept for the next visit. In the game F11 switches\n"
    "between the window and the full screen, and P pauses.\n";

namespace {

// "--name VALUE" or "--name=VALUE": true when `arg` is the option, with its
// value in `value` (a missing or empty value is an error).
bool TakeValue(const char* name, int argc, const char* const* argv, int& i, std::string& value,
               std::string& error) {
    const char* arg = argv[i];
    size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0 || (arg[n] != '\0' && arg[n] != '=')) {
        return false;
    }
    if (arg[n] == '=') {
        value = arg + n + 1;
    } else if (i + 1 < argc) {
        value = argv[++i];
    } else {
        value.clear();
    }
    if (value.empty()) {
        error = std::string(name) + " needs " +
                (std::strcmp(name, "--scale") == 0      ? "a number"
                 : std::strcmp(name, "--renderer") == 0 ? "a renderer"
                                                        : "a file");
    }
    return true;
}

}  // namespace

OptionsResult ParseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
    out = Options{};
    error.clear();
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        std::string value;
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
        } else if (std::strcmp(arg, "--smooth") == 0) {
            out.smooth = true;
        } else if (std::strcmp(arg, "--sharp") == 0) {
            out.smooth = false;
        } else if (std::strcmp(arg, "--reduce-flashing") == 0) {
            out.reduceFlashing = true;
        } else if (std::strcmp(arg, "--no-reduce-flashing") == 0) {
            out.reduceFlashing = false;
        } else if (TakeValue("--scale", argc, argv, i, value, error)) {
            Settings s;
            if (error.empty() && !ParseSettings("scale = " + value, s, error)) {
                error = "--scale takes auto or a number from 1 to " + std::to_string(kMaxScale) +
                        ", not '" + value + "'";
            }
            out.scale = s.scale;
        } else if (TakeValue("--renderer", argc, argv, i, value, error)) {
            Settings s;
            if (error.empty() && !ParseSettings("renderer = " + value, s, error)) {
                error = "--renderer takes auto, gpu or surface, not '" + value + "'";
            }
            out.renderer = s.renderer;
        } else if (TakeValue("--timedemo", argc, argv, i, value, error)) {
            out.timedemo = value;
        } else if (TakeValue("--playdemo", argc, argv, i, value, error)) {
            out.playdemo = value;
        } else if (TakeValue("--record", argc, argv, i, value, error)) {
            out.record = value;
        } else {
            error = std::string("unknown option '") + arg + "'";
        }
        if (!error.empty()) {
            return OptionsResult::kError;
        }
    }
    int demos = !out.timedemo.empty() + !out.playdemo.empty() + !out.record.empty();
    if (demos > 1) {
        error = "--record, --playdemo and --timedemo go one at a time";
        return OptionsResult::kError;
    }
    return OptionsResult::kRun;
}

void ApplyOptions(const Options& o, Settings& s) {
    if (o.fullscreen) {
        s.fullscreen = *o.fullscreen;
    }
    if (o.scale) {
        s.scale = *o.scale;
        // A chosen multiple opens the window at that size, not the last one.
        s.windowW = s.windowH = 0;
    }
    if (o.smooth) {
        s.smooth = *o.smooth;
    }
    if (o.renderer) {
        s.renderer = *o.renderer;
    }
    if (o.reduceFlashing) {
        s.reduceFlashing = *o.reduceFlashing;
    }
}
