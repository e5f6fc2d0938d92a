// Recorded games (tests/replays): the seed the clock gave, then every change
// of the mouse by frame.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "support/headless.h"

// Loads tests/replays/NAME.replay into the platform's script; false when it
// is malformed.
inline bool LoadRecordedGame(const std::string& name, HeadlessPlatform* hp) {
    std::ifstream in(std::string(FLUFF_SOURCE_DIR) + "/tests/replays/" + name + ".replay");
    bool seeded = false;
    for (std::string line, what; std::getline(in, line);) {
        std::istringstream ls(line);
        int f, x, y, b;
        if (line.empty() || line[0] == '#')
            continue;
        if (ls >> what && what == "seed" && ls >> hp->seedTime)
            seeded = true;
        else if (what == "mouse" && ls >> f >> x >> y >> b)
            hp->MouseAt(f, x, y, b);
        else
            return false;
    }
    return seeded;
}

// What a run carries from game to game, back to its values at program
// start: a recording starts from a fresh run.
inline void StartOfRun() {
    walkerSpawnCountdown = kWalkerSpawnEvery;
    shooterSpawnCountdown = kShooterFirstSpawn;
    if (heartAnim)
        heartAnim->frame = 0;
}
