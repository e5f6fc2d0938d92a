// Games with the real datafiles: the set-up's layout, the frame loop's
// input, firing and accounting, the landscape targets, the end of a game and
// recorded games replayed to their statistics. The clock seeds the
// generator, so every game here is the same game. Each frame rests to 30 ms
// and the harness spends 10 ms presenting it, so the clock loses 4 ticks a
// frame.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

constexpr int kTicksPerFrame = 4;

struct Point {
    int x, y;
};

// Whether `bmp` shows the game-over picture in the middle.
bool ShowsGameOver(BITMAP* bmp) {
    return Shows(bmp, gameOverImage, 0, 0, gameOverImage->w, gameOverImage->h,
                 (800 - gameOverImage->w) / 2, (600 - gameOverImage->h) / 2);
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
        Restart(4242);
    }
    void TearDown() override {
        for (int k : {KEY_ESC, KEY_LEFT, KEY_RIGHT, KEY_Q, KEY_V})
            key[k] = 0;
        gameFont = font;
        HeadlessTest::TearDown();
    }
    // A fresh platform for the next game of a test.
    void Restart(long seed) {
        if (hp->frame() > 0)
            hp = StartHeadless();
        hp->seedTime = seed;
        hp->workMsPerFrame = 10;
        hp->MouseAt(0, 400, 3);  // empty sky, away from the scroll edges
    }
    // Runs a game; `hook` sees every presented frame (the set-up's picture
    // is frame 1, game frame g presents frame g + 1). Escape at `escapeAt`.
    int Play(int escapeAt, std::function<void(int)> hook) {
        if (escapeAt)
            hp->HoldKey(escapeAt, KEY_ESC);
        hp->onFrame = hook;
        int r = RunGame();
        key[KEY_ESC] = 0;
        return r;
    }
    // A click: button down in `frame`, up two frames later. A hook schedules
    // it for the next frame at the earliest: what it sets for its own frame
    // is seen at that frame's end, as a button already held.
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
    // Brings the tower strip of segment j into view and returns the strip's
    // screen x.
    static int ViewStrip(int j) {
        cameraX = std::min(std::max(game.towerStripX[j / 3] * 3 / 2 - 450, 0), kCameraMax);
        return game.towerStripX[j / 3] - 2 * cameraX / 3;
    }
    // The set-up alone, for the targets' own steps; Finish releases it.
    void SetUpOnly() {
        SetUpGame();
        game.shotFired = 1;
        game.shotUsed = 0;
    }
    void Finish() {
        escaped = 1;
        bazookaFired = 0;
        EndGame();
    }
};

// --- the set-up ---

// Castle 100..1820, tower strips 0..1065 and 1066..2131, walker sites
// 350..449 + 800 i, flowers anywhere on the 3200 pixels at rows 386..525;
// the view at 1200, 90 seconds, full life, ten shells.
TEST_F(GameTest, SetUpRollsTheLayoutInItsRangesAndTheGameStartsFresh) {
    for (long seed = 1; seed <= 20; ++seed) {
        hp->seedTime = seed * 7919;
        SetUpGame();
        EXPECT_EQ(std::vector<int>({score, timeLeft, life, ammo, cameraX, game.flowersLeft}),
                  std::vector<int>({0, 9000, 100, 10, 1200, 10}));
        EXPECT_TRUE(game.castleX >= 100 && game.castleX <= 1820) << game.castleX;
        EXPECT_EQ(game.castleUfo->x, game.castleX + 28);
        EXPECT_EQ(game.castleUfo->y, 158);
        EXPECT_TRUE(game.towerStripX[0] >= 0 && game.towerStripX[0] <= 1065);
        EXPECT_TRUE(game.towerStripX[1] >= 1066 && game.towerStripX[1] <= 2131);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(walkerSiteX[i] >= 350 + 800 * i && walkerSiteX[i] <= 449 + 800 * i);
        for (int i = 0; i < kFlowers; ++i) {
            EXPECT_TRUE(game.flowerX[i] >= 0 && game.flowerX[i] < 3200);
            EXPECT_TRUE(game.flowerY[i] >= 386 && game.flowerY[i] <= 525);
        }
        for (int k = 0; k < kSquad; ++k)
            EXPECT_EQ(game.squad[k]->alive, 0);
        EXPECT_EQ(spawnGate, 8000);
        Finish();
    }
}

TEST_F(GameTest, TwoGamesInARowReuseTheLayers) {
    EXPECT_EQ(Play(20, nullptr), 0);
    BITMAP* fg = foregroundLayer;
    Restart(99);
    EXPECT_EQ(Play(20, nullptr), 0);
    EXPECT_EQ(foregroundLayer, fg);
}

// --- the frame loop ---

TEST_F(GameTest, EscapeEndsAfterItsFrameIsAccountedReturningZeroAndStopsTheGunfire) {
    hp->MouseAt(40, 400, 3, 1);  // a shot in the same frame
    hp->MouseAt(41, 400, 3, 0);
    score = 0;
    EXPECT_EQ(Play(40, nullptr), 0);
    // The set-up's first picture, 40 game frames, and nothing after Escape.
    EXPECT_EQ(hp->frame(), 41);
    EXPECT_EQ(gameStats.shotsFired, 1);
    EXPECT_EQ(SoundsOf(hp, playerGunSound), std::vector<bool>{true});
    EXPECT_EQ(SoundsOf(hp, shootingSample).back(), false);
}

// Pointer beyond 750 or the Right key: 16 right, at most 2400; before 50 or
// the Left key: 16 left, at least 0; right wins when both apply.
TEST_F(GameTest, ScrollsSixteenAtThePointerEdgesOrArrowsAndRightWins) {
    struct Case {
        int mouseX, left, right, from, to;
    } cases[] = {{751, 0, 0, 1200, 1216}, {750, 0, 0, 1200, 1200}, {49, 0, 0, 1200, 1184},
                 {50, 0, 0, 1200, 1200},  {400, 0, 1, 1200, 1216}, {400, 1, 0, 1200, 1184},
                 {760, 1, 0, 1200, 1216}, {20, 0, 1, 1200, 1216},  {790, 0, 0, 2392, 2400},
                 {790, 0, 0, 2400, 2400}, {10, 0, 0, 8, 0},        {10, 0, 0, 16, 0}};
    std::vector<int> got, want;
    Play(60, [&](int f) {
        int i = f / 3 - 3;
        if (i < 0 || i >= int(std::size(cases)))
            return;
        const Case& c = cases[i];
        if (f % 3 == 0) {  // set up for the next frame
            hp->MouseAt(f, c.mouseX, 300);
            key[KEY_LEFT] = char(c.left);
            key[KEY_RIGHT] = char(c.right);
            cameraX = c.from;
        } else if (f % 3 == 1) {
            got.push_back(cameraX);
            want.push_back(c.to);
            key[KEY_LEFT] = key[KEY_RIGHT] = 0;
            hp->MouseAt(f, 400, 3);
        }
    });
    EXPECT_EQ(got, want);
}

TEST_F(GameTest, OnePressFiresOnceMissesCostTenDownToZeroAndReloadNeedsFewerThanThree) {
    hp->MouseAt(5, 400, 3, 1);  // held for ten frames: one shot
    hp->MouseAt(15, 400, 3, 0);
    Click(20, {400, 3});                              // a miss at 5 gives 0
    Click(30, {400, 3});                              // a miss at -40 gives 0
    Click(40, {400, 3});                              // with no shells: nothing, not even the sound
    Click(50, {400, 3}), hp->MouseAt(50, 400, 3, 2);  // right button with 3 shells: nothing
    hp->MouseAt(60, 400, 3, 2);                       // with 2: full again
    hp->MouseAt(62, 400, 3, 0);
    hp->MouseAt(70, 400, 3, 4);  // the middle button reloads too
    hp->MouseAt(72, 400, 3, 0);
    std::vector<int> seen;
    Play(80, [&](int f) {
        if (f == 3)
            score = 15;
        if (f == 7 || f == 22 || f == 32)
            seen.push_back(score);
        if (f == 19)
            score = 5;
        if (f == 29)
            score = -40;
        if (f == 39)
            ammo = 0;
        if (f == 45) {
            seen.push_back(gameStats.shotsFired);
            ammo = 3;
        }
        if (f == 55) {
            seen.push_back(ammo);
            ammo = 2;
            game.shellFrames[9] = 7;
        }
        if (f == 65) {
            seen.push_back(ammo);
            seen.push_back(game.shellFrames[9]);
            ammo = 1;
        }
        if (f == 75)
            seen.push_back(ammo);
    });
    EXPECT_EQ(seen, (std::vector<int>{5, 0, 0, 3, 3, 10, 0, 10}));
    EXPECT_EQ(SoundsOf(hp, playerGunSound).size(), 3u);
    EXPECT_EQ(gameStats.shotsHit, 0);
}

TEST_F(GameTest, FirstShotAnimatesTheTopShellOutAndAway) {
    Click(5, {400, 3});
    std::vector<int> frames;
    Play(20, [&](int f) {
        if (f >= 7 && f <= 13)
            frames.push_back(game.shellFrames[9]);
    });
    // Seen after each frame's drawing, which steps it by 2: the shell was
    // drawn with strip frames 1, 3, 5, 7 and 9 (x 708 .. 772), then no more.
    EXPECT_EQ(frames, (std::vector<int>{3, 5, 7, 9, 11, 13, 15}));
}

// Every fifth hit in a row: 500 points and 100 ticks, or 1000 and 200 in
// bonus mode, and a bonus pop-up of level run / 5 centred at row 260. The
// best run counts before each shot's own outcome.
TEST_F(GameTest, RunsOfFiveHitsGiveTheRunBonus) {
    for (int bonus = 0; bonus < 2; ++bonus) {
        SCOPED_TRACE(bonus ? "bonus mode" : "no bonus mode");
        Restart(4242);
        int bestAfterFive = -1;
        Popup* popup = nullptr;
        std::vector<int> bonusPopup;
        Play(40, [&](int f) {
            if (f == 5)
                game.bonusMode = -bonus;
            if (f >= 6 && f <= 22 && f % 4 == 2)
                Click(f + 1, PlaceFlower((f - 6) / 4, 100 + 100 * ((f - 6) / 4)));
            if (f == 25) {
                bestAfterFive = gameStats.bestCombo;
                for (popup = popupList.head; popup && popup->image != bonusImage;)
                    popup = popup->next;
                if (popup)  // drawn once, two rows up
                    bonusPopup = {popup->x, popup->y + 2, popup->frame};
                Click(f + 1, {400, 3});  // a miss ends the run
            }
        });
        EXPECT_EQ(bestAfterFive, 4);
        EXPECT_EQ(gameStats.bestCombo, 5);
        EXPECT_EQ(gameStats.shotsHit, 5);
        EXPECT_EQ(score, 5 * 50 + (bonus ? 1000 : 500) - 10);
        EXPECT_EQ(timeLeft, 9000 - 40 * kTicksPerFrame + (bonus ? 5 * 200 + 200 : 100));
        EXPECT_EQ(bonusPopup, (std::vector<int>{cameraX + (800 - bonusImage->w) / 2, 260, 1}));
    }
}

// Q shakes the next 20 presented frames; with V held too, Q wins; V alone
// switches the cuddle sound for the rest of the game.
TEST_F(GameTest, QShakesTwentyFramesAndVSwitchesTheCuddleSound) {
    hp->HoldKey(10, KEY_Q);
    hp->HoldKey(10, KEY_V);
    hp->HoldKey(11, KEY_Q, false);
    hp->HoldKey(11, KEY_V, false);
    hp->HoldKey(40, KEY_V);
    hp->HoldKey(41, KEY_V, false);
    std::vector<int> shake, want;
    SAMPLE* at20 = nullptr;
    Play(50, [&](int f) {
        if (f >= 11 && f <= 33) {
            shake.push_back(shakeFrames);
            want.push_back(f >= 12 && f <= 31 ? 31 - f : 0);
        }
        if (f == 20)
            at20 = currentCuddleSample;
    });
    EXPECT_EQ(shake, want);
    EXPECT_EQ(at20, cuddleSample);
    EXPECT_EQ(currentCuddleSample, cuddleSampleAlt);
    EXPECT_NE(cuddleSampleAlt, cuddleSample);
    int shaken = 0;
    for (size_t i = 11; i < 31; ++i)
        shaken += hp->presentOffsets[i] != std::make_pair(0, 0);
    EXPECT_GT(shaken, 10);
    EXPECT_EQ(hp->presentOffsets[31], std::make_pair(0, 0));
}

TEST_F(GameTest, ClockEndsTheGameOnlyBelowZeroAndLifeAtZero) {
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

// The flying UFO comes in the first frame, the plane in the hundredth; a
// flying plane drops its package where it passes its drop position.
TEST_F(GameTest, FlyersComeOnScheduleAndThePlaneDropsItsPackage) {
    int ufoFrom = 0, planeFrom = 0, dropX = 0;
    std::vector<int> care;
    Play(120, [&](int f) {
        if (!ufoFrom && game.flyingUfo)
            ufoFrom = f;
        if (!planeFrom && game.plane) {
            planeFrom = f;
            game.plane->x = cameraX + 300;
            game.plane->aux = game.plane->x - 3;
            dropX = game.plane->x - 4;
        }
        if (planeFrom && f == planeFrom + 1 && game.carePackage)
            care = {game.carePackage->x, game.carePackage->y, game.plane->aux};
    });
    EXPECT_EQ(ufoFrom, 3);
    EXPECT_EQ(planeFrom, 102);
    EXPECT_EQ(care, (std::vector<int>{dropX, 30 - 20 + 4, -800}));
}

// --- the landscape targets ---

// The band of a strip is rows 273..297 and 78 pixels from its left edge;
// a segment hit once costs 1000 ticks and shakes 10 frames, its cloud rises
// for 121 frames; the shot stays free for later targets.
TEST_F(GameTest, TowerSegmentsTakeClicksInTheirBandOnceAndExplode) {
    SetUpOnly();
    int sx = ViewStrip(0);
    struct Case {
        int dx, y;
        bool hit;
    } cases[] = {{5, 272, false}, {5, 298, false}, {0, 285, false}, {78, 285, false},
                 {1, 273, true},  {27, 297, true}, {77, 285, true}};
    int destroyed = 0;
    for (const Case& c : cases) {
        mouse_x = sx + c.dx;
        mouse_y = c.y;
        int j = c.dx / 26;
        bool wasIntact = TowerSegmentIntact(j);
        timeLeft = 5000;
        shakeFrames = 0;
        UpdateTowers();
        destroyed += c.hit && wasIntact;
        EXPECT_EQ(game.towersDestroyed, destroyed) << c.dx << "," << c.y;
        EXPECT_EQ(timeLeft, c.hit && wasIntact ? 4000 : 5000) << c.dx << "," << c.y;
        EXPECT_EQ(shakeFrames, c.hit && wasIntact ? 10 : 0);
        EXPECT_EQ(TowerSegmentIntact(j), !c.hit && wasIntact);
        EXPECT_EQ(game.shotUsed, 0);
    }
    EXPECT_EQ(destroyed, 3);
    EXPECT_TRUE(TowerSegmentIntact(3)) << "the other strip is untouched";
    mouse_y = 0;
    int frames = 1;  // the hit's own frame, then until the cloud is gone
    while (game.explosionFrame[2] >= 0 && frames < 200) {
        UpdateTowers();
        ++frames;
    }
    EXPECT_EQ(frames, 121);
    game.explosionAge[2] = 0;  // a ruined segment never explodes again
    Finish();
}

// A flower is hit strictly inside x + 4 .. x + w - 4 and y .. y + w - 8, for
// 50 points with a pop-up centred on it; one click takes every flower under
// it.
TEST_F(GameTest, FlowersAreHitInsideTheirBoxAndOneClickTakesOverlappingOnes) {
    SetUpOnly();
    const int w = flowerTarget->w;
    const Point inside[] = {{305, 421}, {300 + w - 5, 420 + w - 9}};
    const Point outside[] = {{304, 430}, {300 + w - 4, 430}, {310, 420}, {310, 420 + w - 8}};
    for (int i = 0; i < kFlowers; ++i)
        game.flowerShot[i] = 1;
    for (Point p : outside) {
        PlaceFlower(0, 300);
        mouse_x = p.x, mouse_y = p.y;
        HitFlowers();
        EXPECT_EQ(score, 0) << p.x << "," << p.y;
    }
    for (Point p : inside) {
        PlaceFlower(0, 300);
        mouse_x = p.x, mouse_y = p.y;
        score = 0;
        game.shotUsed = 0;
        HitFlowers();
        EXPECT_EQ(score, 50) << p.x << "," << p.y;
        EXPECT_EQ(game.shotUsed, 1);
        EXPECT_EQ(popupList.tail->x, cameraX + 300 + w / 2 - scoreImage->w / 2);
        EXPECT_EQ(popupList.tail->y, 420);
    }
    Point p = PlaceFlower(1, 300);
    PlaceFlower(2, 306);
    game.flowersLeft = 10;
    game.shotUsed = 0;
    mouse_x = p.x, mouse_y = p.y;
    HitFlowers();
    EXPECT_EQ(game.flowersLeft, 8) << "both flowers taken";
    EXPECT_EQ(score, 150);
    Finish();
}

// Bonus mode starts only with the first flower after all six segments; it
// gives 200 ticks a flower, and with the tenth 1000 points and 8000 ticks.
// The tenth flower sends the squad: five UFOs 115 apart from the view's
// left edge + half a UFO + 113, at the hill line, rising a row a frame.
TEST_F(GameTest, TheFirstFlowerAfterSixSegmentsStartsBonusModeAndTheTenthSendsTheSquad) {
    for (int towers : {5, 6}) {
        SCOPED_TRACE(towers);
        SetUpOnly();
        game.towersDestroyed = towers;
        HitFlowers();  // nothing under the pointer
        Point p = PlaceFlower(0, 300);
        mouse_x = p.x, mouse_y = p.y;
        timeLeft = 5000;
        HitFlowers();
        EXPECT_EQ(game.bonusMode != 0, towers == 6);
        EXPECT_EQ(timeLeft, towers == 6 ? 5200 : 5000);
        game.towersDestroyed = 6;
        for (int i = 1; i < kFlowers - 1; ++i) {
            p = PlaceFlower(i, 300);
            game.shotUsed = 0;
            HitFlowers();
        }
        EXPECT_EQ(game.bonusMode != 0, towers == 6) << "only at the first flower";
        EXPECT_EQ(game.squadActive, 0);
        score = 0;
        timeLeft = 5000;
        game.shotUsed = 0;
        PlaceFlower(9, 300);
        HitFlowers();
        EXPECT_EQ(game.flowersLeft, 0);
        EXPECT_EQ(score, towers == 6 ? 1050 : 50);
        EXPECT_EQ(timeLeft, towers == 6 ? 5000 + 200 + 8000 : 5000);
        ASSERT_EQ(game.squadActive, 1);
        int x = game.squad[0]->frameWidth / 2 + cameraX + 113;
        for (int k = 0; k < kSquad; ++k, x += 115) {
            const Flyer* u = game.squad[k];
            EXPECT_EQ(std::vector<int>({u->x, u->y, u->dx, u->dy, u->alive}),
                      std::vector<int>({x, kSquadStartHeights[size_t(x % 578)], 0, -1, 1}));
        }
        int y0 = game.squad[0]->y;
        game.shotFired = 0;
        UpdateSquad();
        EXPECT_EQ(game.squad[0]->y, y0 - 1);
        Finish();
    }
}

// A segment takes the shot that no later target took, a frame late, and
// leaves it a miss; the sixth segment after a flower starts no bonus mode.
TEST_F(GameTest, ASegmentsShotIsAMiss) {
    Point seg{};
    Play(40, [&](int f) {
        if (f == 5) {
            game.towersDestroyed = 5;  // as if five were already in ruins
            Click(6, PlaceFlower(0, 300));
        }
        if (f == 15) {
            seg = {ViewStrip(0) + 13, 285};
            hp->MouseAt(f, seg.x, seg.y);
            Click(16, seg);
        }
        if (f == 25)
            Click(26, PlaceFlower(1, 300));
    });
    EXPECT_EQ(game.towersDestroyed, 6);
    EXPECT_EQ(game.bonusMode, 0);
    EXPECT_EQ(score, 50 - 10 + 50);
    EXPECT_EQ(gameStats.shotsHit, 2);
}

// The plane is drawn before the shot is fired: it sees the shot one frame
// late, after the shot was already accounted as a miss.
TEST_F(GameTest, AShotOnlyThePlaneTakesIsAMissAndItsPointsComeAFrameLater) {
    std::vector<int> scores;
    Play(20, [&](int f) {
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

// --- the end of a game ---

// 15 rack frames over the frozen last frame, then yellow, frame, yellow,
// frame, yellow; the game-over picture then lies on yellow.
TEST_F(GameTest, TheBazookaEndsWithTheRackFramesYellowFlashesAndGameOverOnYellow) {
    int last = 0, still = 0;
    std::vector<int> corner;
    std::vector<bool> racks;
    bool gameOverOnYellow = false;
    Play(0, [&](int f) {
        if (f == 10)
            ArmBazooka();
        if (!last && bazookaFired) {
            last = f;
            still = getpixel(hp->display(), 5, 5);
            hp->PressKey(f + 25, KEY_SPACE, ' ');
            hp->PressKey(f + 30, KEY_SPACE, ' ');
        }
        int i = f - last - 1;
        if (last && i >= 0 && i <= 20) {
            corner.push_back(getpixel(hp->display(), 5, 5));
            if (i < 15) {
                char name[32];
                std::snprintf(name, sizeof name, "rack%04i.bmp", i);
                BITMAP* rack = LoadImage(name);
                racks.push_back(Shows(hp->display(), rack, 0, 0, rack->w, rack->h,
                                      bazookaImage->w / 2 - 172 + bazookaEndX, bazookaEndY - 82));
                destroy_bitmap(rack);
            }
            if (i == 20)
                gameOverOnYellow = ShowsGameOver(hp->display());
        }
    });
    ASSERT_EQ(last, 11);
    int yellow = makecol(255, 240, 0);
    EXPECT_EQ(racks, std::vector<bool>(15, true));
    EXPECT_EQ(corner, (std::vector<int>{still, still,  still, still,  still, still,  still,
                                        still, still,  still, still,  still, still,  still,
                                        still, yellow, still, yellow, still, yellow, yellow}));
    EXPECT_TRUE(gameOverOnYellow);
}

TEST_F(GameTest, EscapeInTheBazookasFramePlaysTheEndAndReturnsZero) {
    EXPECT_EQ(Play(10,
                   [&](int f) {
                       if (f == 10)
                           ArmBazooka();
                   }),
              0);
    EXPECT_EQ(bazookaFired, 1);
    EXPECT_EQ(hp->frame(), 11 + 20) << "the last game frame, then the twenty end steps";
}

// The last shot's button is still down when the clock runs out: the game-over
// picture waits for its release, and a new press only counts after a second.
// The statistics show every row in its place, the accuracy truncated and a
// negative score signed.
TEST_F(GameTest, AHeldButtonDoesNotSkipGameOverAndTheStatisticsAreExact) {
    int gameOverFrames = 0, firstGameOver = 0;
    BITMAP* stats = Own(create_bitmap(kScreenW, kScreenH));
    hp->MouseAt(28, 400, 3, 1);  // the last shot, in the frame before the last, held
    hp->MouseAt(33, 400, 3, 0);  // released while the end waits
    hp->MouseAt(60, 400, 3, 1);  // pressed again early in the picture
    hp->MouseAt(300, 400, 3, 0);
    hp->PressKey(310, KEY_SPACE, ' ');
    EXPECT_EQ(Play(0,
                   [&](int f) {
                       if (f == 30) {
                           timeLeft = -1;
                           gameStats = {7, 3, 2, 11, 13};
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
    int px = (kScreenW - statsPanelImage->w) / 2, py = (kScreenH - statsPanelImage->h) / 2;
    int h = text_height(gameFont), white = makecol(255, 255, 255);
    EXPECT_TRUE(ShowsText(stats, gameFont, "Statistics", kAlignCentre, 401, py + 67, white));
    const std::pair<int, const char*> rows[] = {{2, ": 7"},  {3, ": 3"}, {4, ": 42%"}, {6, ": 11"},
                                                {7, ": 13"}, {9, ": 2"}, {11, ": -37"}};
    for (auto [row, text] : rows)
        EXPECT_TRUE(
            ShowsText(stats, gameFont, text, kAlignLeft, px + 211, py + 67 + row * h, white))
            << text;
    EXPECT_TRUE(
        ShowsText(stats, gameFont, "Best Combo", kAlignLeft, px + 51, py + 67 + 9 * h, white));
    EXPECT_FALSE(ShowsText(stats, gameFont, ": 37", kAlignLeft, px + 211, py + 67 + 11 * h, white))
        << "the check itself tells a sign apart";
}

// --- recorded games ---

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

class ReplayTest : public HeadlessTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReplayTest, EndStatisticsMatchTheRecording) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    std::string base = std::string(FLUFF_SOURCE_DIR) + "/tests/replays/" + GetParam();
    hp->workMsPerFrame = 10;
    ASSERT_TRUE(LoadReplay(base + ".replay", hp));
    StartOfRun();
    Events events;
    hp->onFrame = CountEvents(events);
    int result = RunGame();
    std::string actual = Statistics(result);
    std::string expected = ReadFile(base + ".expected");
    if (actual != expected)
        std::ofstream(OutPath(std::string(GetParam()) + ".actual")) << actual;
    EXPECT_EQ(actual, expected) << "new statistics written to build/test-output/";
    if (std::string(GetParam()) == "clock") {
        EXPECT_GE(events.runBonuses, 2);
        EXPECT_GE(events.heals, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Recorded, ReplayTest, ::testing::Values("sweep", "duel", "clock"));
