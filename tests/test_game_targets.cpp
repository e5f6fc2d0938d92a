// Whole games, headless, with the real datafiles: the landscape targets'
// rarer paths (the squad, the bonus mode, overlapping flowers), a shot that
// only an early target takes, and the ways a game can end.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "actors/flyers.h"
#include "app/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

struct Point {
    int x, y;
};

// Whether `bmp` shows the game-over picture in the middle (sampled pixels).
bool ShowsGameOver(BITMAP* bmp) {
    int gx = (kScreenW - gameOverImage->w) / 2, gy = (kScreenH - gameOverImage->h) / 2;
    int seen = 0;
    for (int y = 0; y < gameOverImage->h && seen < 200; y += 3)
        for (int x = 0; x < gameOverImage->w && seen < 200; x += 3) {
            int c = getpixel(gameOverImage, x, y);
            if (c == bitmap_mask_color(gameOverImage))
                continue;
            if (getpixel(bmp, gx + x, gy + y) != c)
                return false;
            ++seen;
        }
    return seen > 0;
}

// Arms a bazooka that fires in the next game frame.
void ArmBazooka() {
    moleHoleMax = 1;
    SpawnMoleHole();
    moleKind[0] = kMoleBazooka;
    moleCountdown[0] = 0;
    moleWait[0] = 0;
    moleMound[0]->frame = moleMound[0]->frameCount - 1;
    moleRise[0] = moleAnims[kMoleBazooka]->image->h;
}

}  // namespace

class TargetsTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(HaveRealData());
        if (!backdrop)
            backdrop = LoadImage("tlebg.bmp");
        if (!fontData)
            fontData = LoadDatafile(kFontFile);
        gameFont = static_cast<FONT*>(fontData[0].dat);
        Restart(4242);
    }
    void TearDown() override {
        key[KEY_ESC] = 0;
        gameFont = font;
        HeadlessTest::TearDown();
    }
    // A fresh platform for the next game of a test.
    void Restart(long seed) {
        if (hp && hp->frame() > 0)
            hp = StartHeadless();
        hp->seedTime = seed;
        hp->workMsPerFrame = 5;
        hp->MouseAt(0, 400, 3);  // empty sky, away from the scroll edges
    }
    int Play(std::function<void(int)> hook) {
        hp->onFrame = hook;
        int r = RunGame();
        key[KEY_ESC] = 0;
        return r;
    }
    void Click(int frame, Point p) {
        hp->MouseAt(frame, p.x, p.y, 1);
        hp->MouseAt(frame + 2, p.x, p.y, 0);
    }
    // Puts flower i, standing, at screen x `sx`, and returns a point on it.
    static Point PlaceFlower(int i, int sx) {
        game.flowerShot[i] = 0;
        game.flowerX[i] = cameraX + sx;
        game.flowerY[i] = 420;
        int w = flowerTarget->w;
        return {sx + w / 2, 420 + (w - 8) / 2};
    }
    // Brings tower segment j into view and returns a point on it.
    static Point AimAtSegment(int j) {
        int s = j / 3;
        cameraX = std::min(std::max(game.towerStripX[s] * 3 / 2 - 450, 0), kCameraMax);
        int sx = game.towerStripX[s] - 2 * cameraX / 3;
        int sw = towerImages[0]->w;
        return {sx + (j % 3) * sw + sw / 2, 285};
    }
};

// The tenth flower: five UFOs at the hill line, 115 apart, rising; with the
// bonus mode also 1000 points and 8000 ticks (plus the flower's own 200).
TEST_F(TargetsTest, TheTenthFlowerReleasesTheSquadWithAndWithoutBonusMode) {
    for (int bonus = 0; bonus < 2; ++bonus) {
        SCOPED_TRACE(bonus ? "bonus mode" : "no bonus mode");
        Restart(4242 + bonus);
        int scoreBefore = 0, timeBefore = 0, scoreAt = 0, timeAt = 0, releasedAt = 0, camera = 0;
        Flyer first[kSquad] = {};
        int yNext[kSquad] = {};
        hp->HoldKey(30, KEY_ESC);
        Play([&](int f) {
            if (f == 5) {
                game.flowersLeft = 1;
                for (int i = 1; i < kFlowers; ++i)
                    game.flowerShot[i] = 1;
                game.bonusMode = bonus ? -1 : 0;
                Click(6, PlaceFlower(0, 300));
            }
            if (releasedAt && f == releasedAt + 1) {
                for (int k = 0; k < kSquad; ++k)
                    yNext[k] = game.squad[k]->y;
            }
            if (!releasedAt && game.squadActive) {
                releasedAt = f;
                scoreAt = score;
                timeAt = timeLeft;
                camera = cameraX;
                for (int k = 0; k < kSquad; ++k)
                    first[k] = *game.squad[k];
            }
            if (!releasedAt) {
                scoreBefore = score;
                timeBefore = timeLeft;
            }
        });
        ASSERT_GT(releasedAt, 0);
        EXPECT_EQ(game.flowersLeft, 0);
        int x = first[0].frameWidth / 2 + camera + 113;
        for (int k = 0; k < kSquad; ++k, x += 115) {
            EXPECT_EQ(first[k].x, x) << "UFO " << k;
            EXPECT_EQ(first[k].y, kSquadStartHeights[size_t(x % kSquadPeriod)]) << "UFO " << k;
            EXPECT_TRUE(first[k].dx == 0 && first[k].dy == -1 && first[k].alive == 1);
            EXPECT_EQ(yNext[k], first[k].y - 1) << "rises one row a frame";
        }
        EXPECT_EQ(scoreAt - scoreBefore, bonus ? 1050 : 50);
        int gained = timeAt - timeBefore;  // less one frame's ticks
        EXPECT_GE(gained, (bonus ? 8200 : 0) - 5);
        EXPECT_LE(gained, bonus ? 8200 : 0);
    }
}

// All six segments shot by clicks, then the first flower: bonus mode on, the
// flower already gives 200 ticks, and five hits give 1000 points instead of
// 500. The segments' shots are misses and leave the score at 0.
TEST_F(TargetsTest, SixSegmentsThenTheFirstFlowerStartBonusModeAndDoubleTheRunBonus) {
    int timeBeforeTowers = 0, timeAfterTowers = 0, timeBeforeFlower = 0, timeAfterFlower = 0;
    int bonusAfterFirstFlower = 0;
    hp->HoldKey(150, KEY_ESC);
    Play([&](int f) {
        if (f == 9)
            timeBeforeTowers = timeLeft;
        if (f >= 10 && f < 70 && f % 10 == 0) {
            hp->MouseAt(f, 400, 200);
            Click(f + 1, AimAtSegment((f - 10) / 10));
        }
        if (f == 79) {
            timeAfterTowers = timeLeft;
            ammo = kShells;  // four left, too many to reload
        }
        if (f >= 80 && f < 130 && f % 10 == 0) {
            int i = (f - 80) / 10;
            if (i == 0)
                timeBeforeFlower = timeLeft;
            Click(f + 1, PlaceFlower(i, 100 + 120 * i));
        }
        if (f == 84) {
            timeAfterFlower = timeLeft;
            bonusAfterFirstFlower = game.bonusMode;
        }
    });
    EXPECT_EQ(game.towersDestroyed, 6);
    EXPECT_GE(timeBeforeTowers - timeAfterTowers, 6000);
    EXPECT_LT(timeBeforeTowers - timeAfterTowers, 6000 + 70 * 4);
    EXPECT_NE(bonusAfterFirstFlower, 0);
    EXPECT_GT(timeAfterFlower - timeBeforeFlower, 200 - 4 * 4);
    EXPECT_EQ(gameStats.shotsFired, 11);
    EXPECT_EQ(gameStats.shotsHit, 5);
    EXPECT_EQ(score, 5 * 50 + 1000);
}

TEST_F(TargetsTest, AFlowerBeforeTheSixthSegmentNeverStartsBonusMode) {
    hp->HoldKey(40, KEY_ESC);
    Play([&](int f) {
        if (f == 5) {
            game.towersDestroyed = 5;  // as if five were already in ruins
            Click(6, PlaceFlower(0, 300));
        }
        if (f == 15) {
            hp->MouseAt(f, 400, 200);
            Click(16, AimAtSegment(0));
        }
        if (f == 25)
            Click(26, PlaceFlower(1, 300));
    });
    EXPECT_EQ(game.towersDestroyed, 6);
    EXPECT_EQ(game.bonusMode, 0);
    EXPECT_EQ(score, 50 - 10 + 50) << "the segment's shot was a miss";
}

TEST_F(TargetsTest, OneClickTakesTwoOverlappingFlowers) {
    hp->HoldKey(20, KEY_ESC);
    Play([&](int f) {
        if (f == 5) {
            Point p = PlaceFlower(0, 300);
            PlaceFlower(1, 306);
            Click(6, p);
        }
    });
    EXPECT_EQ(game.flowersLeft, 8) << "both flowers taken";
    EXPECT_EQ(score, 100);
    EXPECT_EQ(gameStats.shotsHit, 1) << "one shot, one hit";
}

// The plane is drawn before the shot is fired: it sees the shot one frame
// late, after the shot was already accounted as a miss.
TEST_F(TargetsTest, AShotOnlyThePlaneTakesIsAMissAndItsPointsComeAFrameLater) {
    std::vector<int> scores;
    hp->HoldKey(20, KEY_ESC);
    Play([&](int f) {
        if (f == 5) {
            game.plane = CreatePlane(game.plane);
            Flyer* p = game.plane;
            p->x = cameraX + 300;
            p->dx = 0;
            p->aux = -800;  // no care package in the way
            score = 5000;
            game.combo = 3;
            // A point that is solid in every frame of the strip.
            for (int y = 0; y < p->image->h; ++y)
                for (int x = 0; x < p->frameWidth; ++x) {
                    bool solid = true;
                    for (int k = 0; k < p->frameCount && solid; ++k)
                        solid = getpixel(p->image, k * p->frameWidth + x, y) !=
                                bitmap_mask_color(p->image);
                    if (solid) {
                        Click(6, {300 + x, p->y + y});
                        return;
                    }
                }
        }
        if (f == 7 || f == 8 || f == 9)
            scores.push_back(score);
    });
    EXPECT_EQ(scores, (std::vector<int>{5000, 4990 - 1000, 3990}));
    EXPECT_EQ(game.combo, 0);
    EXPECT_EQ(gameStats.bestCombo, 3);
    EXPECT_EQ(gameStats.shotsHit, 0);
}

// 15 rack frames over the frozen last frame, then yellow, frame, yellow,
// frame, yellow; the game-over picture then lies on yellow.
TEST_F(TargetsTest, TheBazookaEndsWithTheRackFramesYellowFlashesAndGameOverOnYellow) {
    int last = 0;
    std::vector<int> corner;  // the display's top-left pixel after the game
    int still = 0;            // the frozen last frame's corner
    int rackWrong[15] = {}, rackSeen[15] = {};
    bool gameOverOnYellow = false;
    Play([&](int f) {
        if (f == 10)
            ArmBazooka();
        if (!last && bazookaFired) {
            last = f;
            still = getpixel(hp->display(), 5, 5);
            hp->PressKey(f + 25, KEY_SPACE, ' ');
            hp->PressKey(f + 30, KEY_SPACE, ' ');
        }
        if (last && f > last && f <= last + 21) {
            corner.push_back(getpixel(hp->display(), 5, 5));
            int i = f - last - 1;
            char name[32];
            std::snprintf(name, sizeof name, "rack%04i.bmp", i);
            BITMAP* rack = i < 15 ? TryLoadImage(name) : nullptr;
            int x0 = bazookaImage->w / 2 - 172 + bazookaEndX, y0 = bazookaEndY - 82;
            for (int y = 0; rack && y < rack->h; y += 2)
                for (int x = 0; x < rack->w; x += 2) {
                    int c = getpixel(rack, x, y);
                    if (c == bitmap_mask_color(rack) || x0 + x < 0 || x0 + x >= kScreenW ||
                        y0 + y < 0 || y0 + y >= kScreenH)
                        continue;
                    ++rackSeen[i];
                    rackWrong[i] += getpixel(hp->display(), x0 + x, y0 + y) != c;
                }
            if (rack)
                destroy_bitmap(rack);
            if (f == last + 21)
                gameOverOnYellow = ShowsGameOver(hp->display());
        }
    });
    ASSERT_EQ(last, 11);
    ASSERT_EQ(corner.size(), 21u);
    int yellow = makecol(255, 240, 0);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(corner[size_t(i)], still) << "rack step " << i;
        EXPECT_GT(rackSeen[i], 0) << "rack frame " << i << " on screen";
        EXPECT_EQ(rackWrong[i], 0) << "rack frame " << i << " over the bazooka";
    }
    std::vector<int> flashes(corner.begin() + 15, corner.end());
    EXPECT_EQ(flashes, (std::vector<int>{yellow, still, yellow, still, yellow, yellow}));
    EXPECT_TRUE(gameOverOnYellow);
}

TEST_F(TargetsTest, EscapeInTheBazookasFramePlaysTheEndAndReturnsZero) {
    hp->HoldKey(10, KEY_ESC);
    EXPECT_EQ(Play([&](int f) {
                  if (f == 10)
                      ArmBazooka();
              }),
              0);
    EXPECT_EQ(bazookaFired, 1);
    EXPECT_EQ(hp->frame(), 11 + 20) << "the last game frame, then the twenty end steps";
}

// The last shot's button is still down when the clock runs out: the game-over
// picture waits for its release, and a new press only counts after a second.
// The statistics show the accuracy truncated and a negative score signed.
TEST_F(TargetsTest, AHeldButtonDoesNotSkipGameOverAndTheStatisticsAreExact) {
    int gameOverFrames = 0, firstGameOver = 0;
    BITMAP* stats = Own(create_bitmap(kScreenW, kScreenH));
    hp->MouseAt(28, 400, 3, 1);  // the last shot, in the frame before the last, held
    hp->MouseAt(33, 400, 3, 0);  // released while the end waits
    hp->MouseAt(60, 400, 3, 1);  // pressed again early in the picture
    hp->MouseAt(300, 400, 3, 0);
    hp->PressKey(310, KEY_SPACE, ' ');
    EXPECT_EQ(Play([&](int f) {
                  if (f == 30) {
                      timeLeft = -1;
                      gameStats.shotsFired = 7;
                      gameStats.shotsHit = 3;
                      score = -37;
                  }
                  if (f > 30 && ShowsGameOver(backBuffer) && !gameOverFrames++)
                      firstGameOver = f;
                  if (f == 305)
                      blit(backBuffer, stats, 0, 0, 0, 0, kScreenW, kScreenH);
              }),
              1);
    EXPECT_EQ(firstGameOver, 34) << "nothing is shown until the button is up";
    EXPECT_EQ(gameOverFrames, 101) << "a click ends the picture only after 100 steps";
    EXPECT_EQ(gameStats.shotsFired, 7);
    // Every pixel of the expected white text pass must show white.
    int px = (kScreenW - statsPanelImage->w) / 2, py = (kScreenH - statsPanelImage->h) / 2;
    int h = text_height(gameFont), white = makecol(255, 255, 255);
    auto shows = [&](const char* text, int row) {
        BITMAP* want = create_bitmap(kScreenW, kScreenH);
        clear_to_color(want, 0);
        textout_ex(want, gameFont, text, px + 211, py + 66 + row * h + 1, white, -1);
        int wrong = 0, lit = 0;
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x)
                if (getpixel(want, x, y) == white) {
                    ++lit;
                    wrong += getpixel(stats, x, y) != white;
                }
        destroy_bitmap(want);
        return lit > 0 && wrong == 0;
    };
    EXPECT_TRUE(shows(": 7", 2));
    EXPECT_TRUE(shows(": 42%", 4)) << "300 / 7, truncated";
    EXPECT_TRUE(shows(": -37", 11));
    EXPECT_FALSE(shows(": 37", 11)) << "the check itself tells a sign apart";
}
