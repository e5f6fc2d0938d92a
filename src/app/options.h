// The command line: how the game is shown, recordings, and the timedemo.
#pragma once

#include <optional>
#include <string>

#include "app/settings.h"

// What the command line asks for. The display choices override the kept
// settings and are kept in their turn (ApplyOptions); unset ones leave the
// settings as they are.
struct Options {
    std::optional<bool> fullscreen;      // --fullscreen / --windowed
    std::optional<int> scale;            // --scale N (0: auto)
    std::optional<bool> smooth;          // --smooth / --sharp
    std::optional<Renderer> renderer;    // --renderer auto|gpu|surface
    std::optional<bool> reduceFlashing;  // --reduce-flashing / --no-reduce-flashing
    std::string timedemo;                // a recorded game to play as fast as it can
    std::string playdemo;                // a recorded game to watch at its own speed
    std::string record;                  // where to record the games of this visit
};

enum class OptionsResult {
    kRun,      // play (or run the timedemo)
    kHelp,     // print the usage, exit 0
    kVersion,  // print the version line, exit 0
    kError,    // `error` says why; print it and the usage on stderr, exit 2
};

OptionsResult ParseOptions(int argc, const char* const* argv, Options& out, std::string& error);

// The settings with the command line's choices over them.
void ApplyOptions(const Options& options, Settings& settings);

// The text of --help.
extern const char* const kUsage;
