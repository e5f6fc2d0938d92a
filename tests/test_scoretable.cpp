// Copies of the game sharing one high score table: two finish their entries
// at once while a third saves over and over until it is killed (SIGKILL).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/paths.h"
#include "screens/highscores.h"
#include "support/harness.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

// A copy of the game finishing an entry, in a process of its own; with
// `again` it saves over and over, `score` up to `score` + 4, until killed.
pid_t Entry(int32_t score, const char* name, bool again = false) {
    pid_t pid = fork();
    for (int n = 0; pid == 0 && (n == 0 || again); ++n)
        SaveHighScoreEntry(score + n % 5, name);
    if (pid == 0)
        _exit(0);
    return pid;
}

bool Finished(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class ScoreTableTest : public HeadlessTest {};  // Allegro started

TEST_F(ScoreTableTest, TwoCopiesKeepBothScoresAndAKilledOneLeavesAWholeTable) {
    TempFolder folder;
    scoreFolder = "data/scores";  // as when installed: not there before the first save
    const std::string table = scoreFolder + "/hiscore.dat";
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        // The killed copy's scores beat every earlier round's, so it keeps
        // writing the table until it dies, but not this round's two.
        const int32_t base = 1000 + 20 * round;
        pid_t killed = Entry(base, "Killed", true);
        usleep(useconds_t(700 * (round % 5)));
        pid_t a = Entry(base + 10, "A"), b = Entry(base + 15, "B");
        usleep(useconds_t(300 * (round % 7)));
        kill(killed, SIGKILL);
        Finished(killed);
        EXPECT_TRUE(Finished(a) && Finished(b));
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
}
