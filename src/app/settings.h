// How the player likes the game shown, kept between visits in a small text
// file that a person can read and edit ($XDG_CONFIG_HOME/fluffernauts/,
// default ~/.config/fluffernauts/). A damaged file is ignored as a whole:
// the game starts as it would without one and says so in one line.
#pragma once

#include <string>

// How frames reach the screen: `kGpu` scales a streaming texture on an
// accelerated renderer; `kSurface` writes the window's own framebuffer with
// the game's scaling; `kAuto` takes the GPU only where one really draws.
enum class Renderer { kAuto, kGpu, kSurface };

struct Settings {
    bool fullscreen = false;  // desktop full screen, else a window
    int scale = 0;            // window multiple of 800x600; 0: largest that fits
    bool smooth = false;      // filtered scaling (the GPU way only), else sharp
    Renderer renderer = Renderer::kAuto;
    int windowW = 0, windowH = 0;  // the window's size when last left; 0: from `scale`
    bool reduceFlashing = false;   // the damage warning without strobing

    bool operator==(const Settings& o) const;
    bool operator!=(const Settings& o) const { return !(*this == o); }
};

// This visit's settings: read at start-up with the command line over them,
// written back at the end when they changed.
extern Settings settings;

// The largest window multiple the game offers, and the largest window side
// it takes from a file.
constexpr int kMaxScale = 8;
constexpr int kMaxWindowSide = 16384;

// The file's text, with a comment for the person who opens it.
std::string FormatSettings(const Settings& s);
// Reads `text` into `out`, or leaves `out` untouched and says why (naming the
// line) when a line is neither a comment nor a known "key = value" pair with
// a value in range. Keys of a newer version are skipped.
bool ParseSettings(const std::string& text, Settings& out, std::string& why);

// The settings file of a player: $XDG_CONFIG_HOME/fluffernauts/settings.conf
// (an absolute $XDG_CONFIG_HOME only), else $HOME/.config/fluffernauts/...;
// "" when neither is set, and nothing is kept then.
std::string SettingsFile(const char* xdgConfigHome, const char* home);

// Reads the file into `out`. A missing file is no error; an unreadable or
// damaged one leaves `out` as it was and gives one line in `warning`.
void LoadSettings(const std::string& path, Settings& out, std::string& warning);
// Writes the file safely (a temporary file renamed over it), making its
// folder; false with a reason when it cannot.
bool SaveSettings(const std::string& path, const Settings& s, std::string& error);
