// Recorded games, and how they are written and read. Two kinds of file:
//
// - the tests' recordings (tests/replays/*.replay), with no header: a line
//   "seed N", then "mouse FRAME X Y BUTTONS" for every change of the mouse
//   (seen at the first poll after FRAME presented frames), '#' comments and
//   blank lines anywhere. Their time is the simulated clock's: 10 ms of
//   work a presented frame (app/platform/simclock.h);
// - a player's recordings (--record), version 2: every change of what the
//   game sees of the machine, at the platform call after which it saw it
//   (see ReplayEvent and HACKING.md), the statistics the game ended with,
//   and an end line that holds the counts and a checksum of all before it.
//
// Reading is a pure function of the bytes, bounded in what it accepts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReplayInput {
    int frame;    // presented frames before it shows
    int x, y;     // pointer, screen pixels
    int buttons;  // mouse_b
};

// What a version 2 recording notes, in the order the notes of one call come.
enum class ReplayKind {
    kTicks,    // a: timer ticks handed to tickCount
    kMouse,    // a, b, c: mouse_x, mouse_y, mouse_b from here on
    kKeys,     // a: the held keys of kReplayKeys, one bit each
    kFocus,    // a: windowFocused from here on (0 or 1)
    kQuit,     // a: quitRequest from here on
    kSwitch,   // the display switched between window and full screen (F11)
    kPressed,  // KeyPressed gave true in this call
    kReadKey,  // a: what ReadKey gave in this call
};
constexpr int kReplayKinds = 8;

// The keys a game reads, as version 2 names them.
struct ReplayKey {
    int scancode;      // KEY_ code of key[]
    const char* name;  // as written in the file
};
constexpr int kReplayKeyCount = 6;
extern const ReplayKey kReplayKeys[kReplayKeyCount];

// One note: it holds after `call` platform calls since the game's frame
// `frame` was presented (frame 0: since the game began). A presenting call
// itself ends at (frame + 1, 0), any other at (frame, call + 1).
struct ReplayEvent {
    int frame;
    int call;
    ReplayKind kind;
    int a = 0, b = 0, c = 0;
};

struct Replay {
    int version = 1;
    long seed = 0;
    std::vector<ReplayInput> inputs;  // version 1, in frame order
    std::vector<int> carried;         // version 2: what the game took over (CarriedOver)
    std::vector<ReplayEvent> events;  // version 2, in order of position and kind
    std::string summary;              // version 2: GameSummary at the last frame
    int frames = 0;                   // version 2: presented frames in the game
    long calls = 0;                   // version 2: platform calls in the game
};

constexpr int kReplayVersion = 2;
constexpr size_t kMaxReplayBytes = 64u << 20;

// Reads either kind of recording from `bytes`. False, with the reason in
// `error` (naming the line), for anything damaged, truncated, out of range
// or made by a newer version of the game.
bool ParseReplay(const std::string& bytes, Replay& out, std::string& error);
// ParseReplay on a file's contents; also false when it cannot be read.
bool ReadReplay(const std::string& path, Replay& out, std::string& error);
// The version 2 text of a recording (its summary, frames and calls set).
std::string FormatReplay(const Replay& replay);
// The checksum of the end line: FNV-1a, 64 bits.
uint64_t ReplayChecksum(const std::string& bytes);

// How a game ended and its statistics, as the recordings keep them.
std::string GameSummary(int result);
