// The command line: how the game is shown, and the timedemo.
#pragma once

#include <string>

struct Options {
    bool fullscreen = false;  // a window unless asked otherwise
    std::string timedemo;     // a recorded game to play as fast as it can
};

enum class OptionsResult {
    kRun,      // play (or run the timedemo)
    kHelp,     // print the usage, exit 0
    kVersion,  // print the version line, exit 0
    kError,    // `error` says why; print it and the usage on stderr, exit 2
};

OptionsResult ParseOptions(int argc, const char* const* argv, Options& out, std::string& error);

// The text of --help.
extern const char* const kUsage;
