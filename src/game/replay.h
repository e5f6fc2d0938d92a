// Recorded games: the seed the clock gave, then every change of the mouse
// by frame. The game's own tests replay them, and so does --timedemo.
#pragma once

#include <string>
#include <vector>

struct ReplayInput {
    int frame;    // presented frames before it shows
    int x, y;     // pointer, screen pixels
    int buttons;  // mouse_b
};

struct Replay {
    long seed = 0;
    std::vector<ReplayInput> inputs;  // in frame order
};

// Reads "seed N" and "mouse FRAME X Y BUTTONS" lines ('#' starts a
// comment). False, with the reason in `error`, for a missing or damaged
// file.
bool ReadReplay(const std::string& path, Replay& out, std::string& error);

// How a game ended and its statistics, as the recordings keep them.
std::string GameSummary(int result);
