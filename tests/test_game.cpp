// Whole games, headless, with the real datafiles: the frame loop's input,
// firing and accounting rules, the landscape targets and the end of a game.
// The clock seeds the generator, so every game here is the same game.
#include <string>

#include "actors/flyers.h"
#include "app/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "world/scenery.h"
#include "world/score.h"

class GameTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(HaveRealData());
        if (!backdrop)
            backdrop = LoadImage("tlebg.bmp");
        // The statistics rows are laid out for the game's own font.
        if (!fontData)
            fontData = LoadDatafile(kFontFile);
        gameFont = static_cast<FONT*>(fontData[0].dat);
        hp->seedTime = 4242;
        hp->workMsPerFrame = 5;
        hp->MouseAt(0, 400, 3);  // empty sky, away from the scroll edges
    }
    void TearDown() override {
        gameFont = font;
        HeadlessTest::TearDown();
    }
    // Runs a game with a per-frame hook; the game ends by Escape at `escapeAt`.
    int Play(int escapeAt, std::function<void(int)> hook) {
        hp->HoldKey(escapeAt, KEY_ESC, true);
        hp->onFrame = [hook](int f) {
            if (hook)
                hook(f);
        };
        int r = RunGame();
        key[KEY_ESC] = 0;
        return r;
    }
    // A click: button down in `frame`, up two frames later.
    void Click(int frame, int x, int y) {
        hp->MouseAt(frame, x, y, 1);
        hp->MouseAt(frame + 2, x, y, 0);
    }
};

TEST_F(GameTest, EscapeReturnsZeroAtOnceAndStopsTheGunfireLoop) {
    EXPECT_EQ(Play(40, nullptr), 0);
    // The set-up's first picture, 40 game frames, and nothing after Escape.
    EXPECT_EQ(hp->frame(), 41);
    bool stopped = false;
    for (const auto& s : hp->sounds)
        stopped = stopped || (!s.play && s.sample != nullptr);
    EXPECT_TRUE(stopped);
}

TEST_F(GameTest, ScrollingFollowsThePointerAndArrowsWithRightWinning) {
    hp->MouseAt(1, 760, 300);
    hp->HoldKey(1, KEY_LEFT, true);  // right still wins
    std::vector<int> seen;
    Play(200, [&](int f) {
        if (f >= 2 && f <= 5)
            seen.push_back(cameraX);
    });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1] - seen[0], 16);
    EXPECT_EQ(cameraX, 2400) << "held right for 200 frames: stops at the right end";
    key[KEY_LEFT] = 0;
}

TEST_F(GameTest, ScrollingLeftStopsAtZero) {
    Play(30, [&](int f) {
        if (f == 2)
            cameraX = 8;
        if (f == 2)
            key[KEY_LEFT] = 1;
    });
    EXPECT_EQ(cameraX, 0);
    key[KEY_LEFT] = 0;
}

TEST_F(GameTest, OnePressFiresOnceAndMissesCostTenDownToZero) {
    hp->MouseAt(5, 400, 3, 1);  // held for ten frames: one shot
    hp->MouseAt(15, 400, 3, 0);
    Click(20, 400, 3);
    Click(30, 400, 3);
    int scoreAfterFirst = -1;
    Play(40, [&](int f) {
        if (f == 3)
            score = 15;
        if (f == 7)
            scoreAfterFirst = score;
        if (f == 25)
            score = -40;  // a miss at a negative score gives 0
    });
    EXPECT_EQ(gameStats.shotsFired, 3);
    EXPECT_EQ(gameStats.shotsHit, 0);
    EXPECT_EQ(scoreAfterFirst, 5);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(ammo, 7);
}

TEST_F(GameTest, NoShellsNoShotAndReloadOnlyBelowThree) {
    int sounds = 0;
    Click(10, 400, 3);
    hp->MouseAt(20, 400, 3, 2);  // right button with 3 shells: nothing
    hp->MouseAt(22, 400, 3, 0);
    hp->MouseAt(30, 400, 3, 2);  // with 2 shells: full again
    hp->MouseAt(32, 400, 3, 0);
    int ammoAt25 = -1, ammoAt35 = -1, shellsAt35 = -1;
    Play(40, [&](int f) {
        if (f == 5)
            ammo = 0;
        if (f == 12) {
            sounds = int(hp->sounds.size());
            ammo = 3;
        }
        if (f == 25) {
            ammoAt25 = ammo;
            ammo = 2;
        }
        if (f == 35) {
            ammoAt35 = ammo;
            shellsAt35 = 0;
            for (int s : game.shellFrames)
                shellsAt35 += s;
        }
    });
    EXPECT_EQ(gameStats.shotsFired, 0) << "a press with no shells fires nothing";
    EXPECT_EQ(ammoAt25, 3);
    EXPECT_EQ(ammoAt35, 10);
    EXPECT_EQ(shellsAt35, 0) << "all ten shells at rest again";
    (void)sounds;
}

TEST_F(GameTest, FirstShotAnimatesTheTopShellOutAndAway) {
    Click(5, 400, 3);
    std::vector<int> frames;
    Play(20, [&](int f) {
        if (f >= 7 && f <= 13)
            frames.push_back(game.shellFrames[9]);
    });
    // Seen after each frame's drawing, which steps it by 2: the shell was
    // drawn with strip frames 1, 3, 5, 7 and 9 (x 708 .. 772), then no more.
    EXPECT_EQ(frames, (std::vector<int>{3, 5, 7, 9, 11, 13, 15}));
}

TEST_F(GameTest, FiveFlowersInARowGiveTheRunBonus) {
    // Aim at each flower in turn, bringing it into view first.
    int target = 0;
    int scoreBefore = 0, timeBefore = 0;
    Play(80, [&](int f) {
        int phase = f % 10;
        if (f >= 10 && f < 60 && phase == 0) {
            target = (f - 10) / 10;
            hp->MouseAt(f, 400, 200);  // away from the scroll edges first
            cameraX = game.flowerX[target] > 700 ? game.flowerX[target] - 400 : 0;
            if (cameraX > 2400)
                cameraX = 2400;
            int sx = game.flowerX[target] - cameraX + flowerTarget->w / 2;
            int sy = game.flowerY[target] + 6;
            if (target == 4) {
                scoreBefore = score;
                timeBefore = timeLeft;
            }
            Click(f + 1, sx, sy);
        }
    });
    EXPECT_EQ(gameStats.shotsHit, 5);
    EXPECT_EQ(gameStats.bestCombo, 4) << "counted before the fifth hit's own accounting";
    EXPECT_GE(score - scoreBefore, 50 + 500);
    (void)timeBefore;
}

TEST_F(GameTest, TowerBandIsRows273To297AndCostsTimeOnlyOnce) {
    int timeBefore = 0, timeAfter = 0, timeAgain = 0;
    Play(70, [&](int f) {
        int ct = 2 * cameraX / 3;
        int sx = game.towerStripX[0] - ct;
        if (f == 10) {
            cameraX = game.towerStripX[0] * 3 / 2 > 400 ? game.towerStripX[0] * 3 / 2 - 300 : 0;
        }
        if (f == 12)
            Click(13, sx + 5, 272);  // the row above the band
        if (f == 20)
            Click(21, sx + 5, 298);  // the row below it
        if (f == 30) {
            timeBefore = timeLeft;
            Click(31, sx + 5, 273);
        }
        if (f == 40) {
            timeAfter = timeLeft;
            Click(41, sx + 5, 297);  // the same segment again
        }
        if (f == 50)
            timeAgain = timeLeft;
    });
    EXPECT_EQ(game.towersDestroyed, 1);
    EXPECT_GE(timeBefore - timeAfter, 1000);
    EXPECT_LT(timeAfter - timeAgain, 1000) << "a ruined segment costs nothing more";
    EXPECT_EQ(gameStats.shotsHit, 0) << "a segment alone is a miss";
}

TEST_F(GameTest, TimeRunningOutShowsGameOverThenStatisticsAndReturnsOne) {
    hp->onFrame = [&](int f) {
        if (f == 20)
            HeadlessPlatform::SavePng(hp->display(), OutPath("game_frame.png"));
        if (f == 30)
            timeLeft = 0;
    };
    hp->PressKey(80, KEY_SPACE, ' ');   // ends the game-over picture
    hp->PressKey(120, KEY_SPACE, ' ');  // ends the statistics
    bool sawStats = false;
    auto hook = hp->onFrame;
    hp->onFrame = [&](int f) {
        hook(f);
        if (f == 70)
            HeadlessPlatform::SavePng(hp->display(), OutPath("game_over.png"));
        if (f == 110) {
            HeadlessPlatform::SavePng(hp->display(), OutPath("game_stats.png"));
            sawStats = true;
        }
    };
    EXPECT_EQ(RunGame(), 1);
    EXPECT_TRUE(sawStats);
    EXPECT_LT(timeLeft, 0);
    EXPECT_EQ(hp->frame(), 120);
}

TEST_F(GameTest, ClockEndsTheGameOnlyBelowZero) {
    timeLeft = 0;
    life = 1;
    gameRunning = 1;
    EXPECT_TRUE(GameGoesOn());
    timeLeft = -1;
    EXPECT_FALSE(GameGoesOn());
    timeLeft = 10;
    life = 0;
    EXPECT_FALSE(GameGoesOn());
}

TEST_F(GameTest, TwoGamesInARowReuseTheLayersAndLeakNothing) {
    EXPECT_EQ(Play(20, nullptr), 0);
    BITMAP* fg = foregroundLayer;
    hp = StartHeadless();
    hp->seedTime = 99;
    hp->MouseAt(0, 400, 3);
    EXPECT_EQ(Play(20, nullptr), 0);
    EXPECT_EQ(foregroundLayer, fg);
}
