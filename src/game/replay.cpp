#include "game/replay.h"

#include <fstream>
#include <sstream>

#include "game/gamestate.h"
#include "world/score.h"

bool ReadReplay(const std::string& path, Replay& out, std::string& error) {
    out = Replay{};
    std::ifstream in(path);
    if (!in) {
        error = "cannot open it";
        return false;
    }
    bool seeded = false;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        std::istringstream ls(line);
        std::string what;
        if (!(ls >> what) || what[0] == '#') {
            continue;
        }
        std::string rest;
        bool ok = false;
        if (what == "seed" && !seeded) {
            ok = bool(ls >> out.seed) && !(ls >> rest);
            seeded = ok;
        } else if (what == "mouse") {
            ReplayInput e;
            ok = bool(ls >> e.frame >> e.x >> e.y >> e.buttons) && !(ls >> rest) && e.frame >= 0 &&
                 e.x >= 0 && e.x < 800 && e.y >= 0 && e.y < 600 && e.buttons >= 0 &&
                 e.buttons <= 7 && (out.inputs.empty() || out.inputs.back().frame <= e.frame);
            out.inputs.push_back(e);
        }
        if (!ok) {
            error = "line " + std::to_string(n) + " is damaged";
            return false;
        }
    }
    if (!seeded) {
        error = "it holds no seed line";
        return false;
    }
    return true;
}

std::string GameSummary(int result) {
    const GameStats& st = gameStats;
    const char* end = bazookaFired   ? "bazooka"
                      : life <= 0    ? "life"
                      : timeLeft < 0 ? "time"
                                     : "escape";
    std::ostringstream out;
    out << "Result: " << result << "\n"
        << "Ended by: " << end << "\n"
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
