// Copies of the game sharing one high score table: two finish their entries
// at once while a third saves over and over until it is killed (SIGKILL).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/paths.h"
#include "app/system.h"
#include "screens/highscores.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/tempfolder.h"
#include "world/score.h"

namespace fs = std::filesystem;

// A copy of the game in a process of its own: with `again` it saves entries
// over and over (`base` up to `base` + 4) until it is killed, else it types
// a name into the entry screen for `base` and presses Enter.
static pid_t Copy(HeadlessPlatform* hp, int32_t base, bool again = false) {
    pid_t pid = fork();
    for (int n = 0; pid == 0 && again; ++n)
        SaveHighScoreEntry(base + n % 5, "Killed");
    if (pid == 0) {
        score = base;
        hp->PressKey(0, KEY_E, 'e');
        hp->PressKey(1, KEY_ENTER, '\r');
        EnterHighScore();
        _exit(0);
    }
    return pid;
}

class ScoreTableTest : public HeadlessTest {};  // Allegro started

TEST_F(ScoreTableTest, TwoCopiesKeepBothScoresAndAKilledOneLeavesAWholeTable) {
    TempFolder folder;
    highScoreImage = Own(Solid(400, 400, 0));
    backdrop = Own(Solid(800, 600, 0));
    scoreFolder = "data/scores";  // as when installed: not there before the first save
    const std::string table = scoreFolder + "/hiscore.dat";
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        // The killed copy's scores beat every earlier round's, so it keeps
        // writing the table until it dies, but not this round's two.
        const int32_t base = 1000 + 20 * round;
        pid_t killed = Copy(hp, base, true);
        usleep(useconds_t(700 * (round % 5)));
        pid_t a = Copy(hp, base + 10), b = Copy(hp, base + 15);
        usleep(useconds_t(300 * (round % 7)));
        kill(killed, SIGKILL);
        int statusA = 1, statusB = 1;
        waitpid(killed, nullptr, 0), waitpid(a, &statusA, 0), waitpid(b, &statusB, 0);
        EXPECT_TRUE(statusA == 0 && statusB == 0) << "both copies finish their entries";
        EXPECT_EQ(fs::exists(table) ? fs::file_size(table) : 0, 130u) << "the table is whole";
        LoadHighScores();
        EXPECT_EQ(highScores[0].score, base + 15);
        EXPECT_EQ(highScores[1].score, base + 10);
    }
    // A score that no longer qualifies leaves the table as it is, and the
    // save clears what a killed one left.
    std::ofstream(scoreFolder + "/hiscore.dat.new-Ab12Cd") << "half a table";
    auto before = fs::last_write_time(table);
    EXPECT_EQ(SaveHighScoreEntry(1000, "Late"), -1);
    EXPECT_EQ(fs::last_write_time(table), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(scoreFolder), {}), 2) << "table and lock";
    scoreFolder = "data";
    highScoreImage = backdrop = nullptr;
}
