// Recorded games: the replay file (the seed the clock gave, then every
// change of the mouse by frame) and the statistics a game ends with.
// Self-contained on purpose: the game itself may read replays one day.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "game/gamestate.h"
#include "support/headless.h"
#include "world/score.h"

// Loads a replay into the platform's script; false when it is malformed.
inline bool LoadReplay(const std::string& path, HeadlessPlatform* hp) {
    std::ifstream in(path);
    std::string line;
    bool seeded = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream ls(line);
        std::string what;
        ls >> what;
        if (what == "seed") {
            ls >> hp->seedTime;
            seeded = true;
        } else if (what == "mouse") {
            int f, x, y, b;
            if (!(ls >> f >> x >> y >> b))
                return false;
            hp->MouseAt(f, x, y, b);
        } else {
            return false;
        }
    }
    return seeded;
}

// The end of a game as text: what RunGame returned, why it ended, the
// statistics screen's values and the life left.
inline std::string Statistics(int result) {
    const GameStats& st = gameStats;
    std::ostringstream out;
    out << "Result: " << result << "\n"
        << "Ended by: "
        << (bazookaFired   ? "bazooka"
            : life <= 0    ? "life"
            : timeLeft < 0 ? "time"
                           : "escape")
        << "\n"
        << "Shots fired: " << st.shotsFired << "\n"
        << "Shots hit: " << st.shotsHit << "\n"
        << "Accuracy: " << (st.shotsFired ? st.shotsHit * 100 / st.shotsFired : 0) << "%\n"
        << "UFOs shot: " << st.ufosShot << "\n"
        << "Bubbles shot: " << st.bubblesShot << "\n"
        << "Best Combo: " << st.bestCombo << "\n"
        << "Final score: " << score << "\n"
        << "Life: " << life << "\n";
    return out.str();
}

// What a run carries from game to game, back to its values at program
// start: a recorded game starts from a fresh run.
inline void StartOfRun() {
    walkerSpawnCountdown = 40;
    shooterSpawnCountdown = 10;
    if (heartAnim)
        heartAnim->frame = 0;
}
