// The high score file as the game reads it, every row as the table shows
// it, and a score put in.
#include <cstring>

#include "app/data/paths.h"
#include "fuzz.h"
#include "screens/highscores.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool moved = [] {
        StartFuzzAllegro();
        std::string file = FuzzFile("d", "", 0);
        scoreFolder = file.substr(0, file.size() - 2) + ".scores";
        return MakeFolders(scoreFolder);
    }();
    if (!moved)
        std::abort();
    std::string path = HighScorePath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
    LoadHighScores();
    char shown[10];
    for (const HighScore& row : highScores)
        DisplayName(row, shown);
    int32_t score = 0;
    std::memcpy(&score, data, size < 4 ? size : 4);
    InsertHighScore(score);
    return 0;
}
