// Copies of the game sharing one high score table: two finish their entries
// at the same moment while a third saves over and over and is killed with
// SIGKILL, round after round. No finished entry is lost, the file is always
// a whole table, and what a killed save leaves behind is cleared.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "app/paths.h"
#include "screens/highscores.h"
#include "support/harness.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

// A copy of the game finishing an entry, in a process of its own; with
// `again` it saves over and over until it is killed.
pid_t Entry(int32_t score, const char* name, bool again = false) {
    pid_t pid = fork();
    if (pid == 0) {
        do {
            SaveHighScoreEntry(score, name);
        } while (again);
        _exit(0);
    }
    return pid;
}

bool Finished(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class ScoreTableTest : public HeadlessTest {
  protected:
    void TearDown() override {
        scoreFolder = "data";
        HeadlessTest::TearDown();
    }
};

TEST_F(ScoreTableTest, TwoCopiesKeepBothScoresAndAKilledOneLeavesAWholeTable) {
    TempFolder folder;
    scoreFolder = "data/scores";  // as when installed: not there before the first save
    const std::string table = scoreFolder + "/hiscore.dat";
    std::vector<int32_t> finished;  // ascending
    const int rounds = 16;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        // The killed copy's scores (201 and up) beat the defaults but none
        // of the finished ones, so they never push one of those out.
        pid_t killed = Entry(201 + round, "Killed", true);
        usleep(useconds_t(700 * (round % 5)));
        pid_t a = Entry(1000 + 20 * round, "A");
        pid_t b = Entry(1010 + 20 * round, "B");
        usleep(useconds_t(300 * (round % 7)));
        kill(killed, SIGKILL);
        Finished(killed);
        ASSERT_TRUE(Finished(a) && Finished(b));
        finished.insert(finished.end(), {1000 + 20 * round, 1010 + 20 * round});

        ASSERT_TRUE(fs::exists(table));
        ASSERT_EQ(fs::file_size(table), 130u) << "the table must always be whole";
        std::memset(highScores, 0, sizeof highScores);
        LoadHighScores();
        for (size_t k = 0; k < finished.size() && k < kHighScoreRows; ++k)
            ASSERT_EQ(highScores[k].score, finished[finished.size() - 1 - k]) << "row " << k;
    }

    // A score that no longer qualifies leaves the table as it is, and the
    // save clears the temporary files of killed saves.
    auto before = fs::last_write_time(table);
    EXPECT_EQ(SaveHighScoreEntry(1000, "Late"), -1);
    EXPECT_EQ(fs::last_write_time(table), before);
    for (const auto& e : fs::directory_iterator(scoreFolder))
        EXPECT_TRUE(e.path().filename() == "hiscore.dat" || e.path().filename() == "hiscore.lock")
            << e.path();
}
