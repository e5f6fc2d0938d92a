// Recorded games replayed frame by frame: the end statistics must come out
// exactly as recorded. Any change in what a frame does to a shot, in the
// order of random draws or in a family's rules shows up here.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"
#include "world/score.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Statistics(int result) {
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

}  // namespace

class ReplayTest : public HeadlessTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReplayTest, EndStatisticsMatchTheRecording) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    std::string base = std::string(FLUFF_SOURCE_DIR) + "/tests/replays/" + GetParam();
    hp->workMsPerFrame = 10;
    hp->maxFrames = 20000;
    ASSERT_TRUE(LoadRecordedGame(GetParam(), hp));
    StartOfRun();
    int result = RunGame();
    std::string actual = Statistics(result);
    std::string expected = ReadFile(base + ".expected");
    if (actual != expected) {
        std::ofstream(OutPath(std::string(GetParam()) + ".actual")) << actual;
    }
    EXPECT_EQ(actual, expected) << "new statistics written to build/test-output/";
}

INSTANTIATE_TEST_SUITE_P(Recorded, ReplayTest, ::testing::Values("sweep", "duel"));

// Records a new replay with a player that aims at what it sees: run with
// FLUFF_RECORD_REPLAY=name, then move test-output/name.replay and
// name.expected into tests/replays/.
TEST_F(HeadlessTest, RecordAReplay) {
    const char* name = std::getenv("FLUFF_RECORD_REPLAY");
    if (!name)
        GTEST_SKIP() << "set FLUFF_RECORD_REPLAY to record";
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    hp->workMsPerFrame = 10;
    hp->seedTime = 1207;
    StartOfRun();
    std::ostringstream rec;
    rec << "# Recorded by a player that aims at what it sees.\nseed " << hp->seedTime << "\n";
    auto input = [&](int f, int x, int y, int b) {
        hp->MouseAt(f, x, y, b);
        rec << "mouse " << f << " " << x << " " << y << " " << b << "\n";
    };
    auto click = [&](int f, int x, int y, int b) {
        input(f + 1, x, y, 0);
        input(f + 3, x, y, b);
        input(f + 5, x, y, 0);
    };
    int busyUntil = 0;
    hp->onFrame = [&](int f) {
        if (f < busyUntil || !gameRunning || timeLeft < 0 || life <= 0)
            return;
        if (ammo < 3) {
            click(f, 400, 300, 2);
            busyUntil = f + 6;
            return;
        }
        int tx = -1, ty = -1, far = -1;
        auto consider = [&](int lx, int w, int y) {
            int sx = lx - cameraX + w / 2;
            if (sx > 60 && sx < 740 && tx < 0) {
                tx = sx;
                ty = y;
            } else if (far < 0) {
                far = sx;
            }
        };
        for (List<Shooter>* l : {&smallShooters, &bigShooters})
            for (Shooter* s = l->head; s; s = s->next)
                if (!s->dying)
                    consider(s->x, s->frameWidths[0], s->y + 30);
        for (Walker* w = walkerList.head; w; w = w->next)
            consider(w->x, w->frameWidths[0], w->y + 40);
        if (game.flyingUfo && game.flyingUfo->alive)
            consider(game.flyingUfo->x, game.flyingUfo->frameWidth, game.flyingUfo->y + 12);
        for (Bubble* b = bubbleList.head; b; b = b->next)
            consider(b->x, 32, b->y + 16);
        if (tx >= 0) {
            click(f, tx, ty, 1);
            busyUntil = f + 7;
        } else if (far >= 0) {
            // Scroll towards the nearest thing, then come back to the middle.
            int edge = far < 400 ? 20 : 780;
            input(f + 1, edge, 300, 0);
            input(f + 12, 400, 300, 0);
            busyUntil = f + 13;
        }
    };
    int result = RunGame();
    std::ofstream(OutPath(std::string(name) + ".replay")) << rec.str();
    std::ofstream(OutPath(std::string(name) + ".expected")) << Statistics(result);
    std::printf("%s", Statistics(result).c_str());
}
