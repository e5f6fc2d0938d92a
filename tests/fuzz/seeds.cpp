// Seeds the fuzzers cannot take from the build: a high score file made by
// the game's own writer and a recording of every kind of note, written by
// the game's own writer of recordings.
//   fuzz_seeds HISCORE_FOLDER REPLAY_FILE
#include <fstream>

#include "app/data/paths.h"
#include "fuzz.h"
#include "game/replay.h"
#include "screens/highscores.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    StartFuzzAllegro();
    scoreFolder = argv[1];
    SaveHighScoreEntry(0, nullptr);  // the defaults
    SaveHighScoreEntry(150, "Zoe");
    SaveHighScoreEntry(-7, "Nine9999X");
    Replay r;
    r.seed = 4242;
    r.carried = {3, -1, 0, 12};
    for (int kind = 0; kind < kReplayKinds; ++kind)
        r.events.push_back({kind, kind % 3, ReplayKind(kind), kind == 1 ? 799 : 2, 599, 7});
    r.summary = "result 0\nshots 3\n";
    r.frames = 9;
    r.calls = 40;
    std::ofstream(argv[2], std::ios::binary) << FormatReplay(r);
    return 0;
}
