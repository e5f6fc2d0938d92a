// Games with the real datafiles: the set-up's layout, the frame loop's
// input, firing and accounting, the landscape targets, the end of a game and
// recorded games replayed to their statistics. The clock seeds the
// generator, so every game here is the same game. Each frame rests to 30 ms
// and the harness spends 10 ms presenting it, so the clock loses 4 ticks a
// frame.
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/score.h"

using V = std::vector<int>;

namespace {

struct Point {
    int x, y;
};

// Whether `bmp` shows the game-over picture in the middle.
bool ShowsGameOver(BITMAP* bmp) {
    return Shows(bmp, gameOverImage, 0, 0, gameOverImage->w, gameOverImage->h,
                 (800 - gameOverImage->w) / 2, (600 - gameOverImage->h) / 2);
}

}  // namespace

class GameTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        // The statistics rows are laid out for the game's own font.
        if (!fontData)
            fontData = LoadDatafile(kFontFile);
        gameFont = static_cast<FONT*>(fontData[0].dat);
        Restart();
    }
    void TearDown() override {
        for (int k : {KEY_ESC, KEY_LEFT, KEY_RIGHT, KEY_Q, KEY_V})
            key[k] = 0;
        gameFont = font;
        HeadlessTest::TearDown();
    }
    // A fresh platform for the next game of a test.
    void Restart() {
        if (hp->frame() > 0)
            hp = StartHeadless();
        hp->seedTime = 4242;
        hp->workMsPerFrame = 10;
        hp->MouseAt(0, 400, 3);  // empty sky, away from the scroll edges
    }
    // Runs a game; the hook sees every presented frame (the set-up's picture
    // is frame 1, game frame g presents frame g + 1). Escape at `escapeAt`.
    int Play(int escapeAt, std::function<void(int)> hook) {
        if (escapeAt)
            hp->HoldKey(escapeAt, KEY_ESC);
        hp->onFrame = hook;
        int r = RunGame();
        key[KEY_ESC] = 0;
        return r;
    }
    // The same with a step for some frames.
    int Play(int escapeAt, std::map<int, std::function<void()>> at) {
        return Play(escapeAt, [at](int f) {
            if (at.count(f))
                at.at(f)();
        });
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
        return {sx + flowerTarget->w / 2, 420 + (flowerTarget->w - 8) / 2};
    }
    // The set-up alone, for the targets' own steps; Finish releases it.
    void SetUpOnly() {
        SetUpGame();
        game.shotFired = 1;
        game.shotUsed = 0;
    }
    static void Finish() {
        escaped = 1;
        bazookaFired = 0;
        EndGame();
    }
    static void Shoot(Point p) {
        mouse_x = p.x, mouse_y = p.y;
        game.shotUsed = 0;
        HitFlowers();
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
        EXPECT_EQ(V({score, timeLeft, life, ammo, cameraX, game.flowersLeft, spawnGate}),
                  V({0, 9000, 100, 10, 1200, 10, 8000}));
        EXPECT_EQ(V({game.castleUfo->x - game.castleX, game.castleUfo->y, game.squad[0]->alive}),
                  V({28, 158, 0}));
        bool inRanges = game.castleX >= 100 && game.castleX <= 1820 &&
                        game.towerStripX[0] <= 1065 && game.towerStripX[1] >= 1066 &&
                        game.towerStripX[1] <= 2131;
        for (int i = 0; i < 3; ++i)
            inRanges &= walkerSiteX[i] >= 350 + 800 * i && walkerSiteX[i] <= 449 + 800 * i;
        for (int i = 0; i < kFlowers; ++i)
            inRanges &= game.flowerX[i] >= 0 && game.flowerX[i] < 3200 && game.flowerY[i] >= 386 &&
                        game.flowerY[i] <= 525;
        EXPECT_TRUE(inRanges) << seed;
        Finish();
    }
}

// --- the frame loop ---

TEST_F(GameTest, EscapeEndsAfterItsFrameIsAccountedReturningZeroAndStopsTheGunfire) {
    hp->MouseAt(40, 400, 3, 1);  // a shot in the same frame
    hp->MouseAt(41, 400, 3, 0);
    EXPECT_EQ(Play(40, nullptr), 0);
    // The set-up's first picture, 40 game frames, and nothing after Escape.
    EXPECT_EQ(V({hp->frame(), gameStats.shotsFired}), V({41, 1}));
    EXPECT_EQ(SoundsOf(hp, playerGunSound), std::vector<bool>{true});
    EXPECT_EQ(SoundsOf(hp, shootingSample).back(), false);
    EXPECT_FALSE(GameGoesOn());
    timeLeft = 0, gameRunning = 1;
    EXPECT_TRUE(GameGoesOn()) << "a clock at exactly 0 goes on";
}

// Pointer beyond 750 or the Right key: 16 right, at most 2400; before 50 or
// the Left key: 16 left, at least 0; right wins when both apply.
TEST_F(GameTest, ScrollsSixteenAtThePointerEdgesOrArrowsAndRightWins) {
    const int cases[][5] = {{751, 0, 0, 1200, 1216}, {750, 0, 0, 1200, 1200},
                            {49, 0, 0, 1200, 1184},  {50, 0, 0, 1200, 1200},
                            {400, 0, 1, 1200, 1216}, {400, 1, 0, 1200, 1184},
                            {760, 1, 0, 1200, 1216}, {20, 0, 1, 1200, 1216},
                            {790, 0, 0, 2392, 2400}, {10, 0, 0, 8, 0}};  // x, left, right, from, to
    V got, want;
    Play(40, [&](int f) {
        const int i = f / 3 - 3, step = f % 3;
        if (i < 0 || i >= 10 || step == 2)
            return;
        const int* c = cases[i];
        if (step == 1)  // after the frame set up before
            got.push_back(cameraX), want.push_back(c[4]);
        hp->MouseAt(f, step ? 400 : c[0], step ? 3 : 300);
        key[KEY_LEFT] = char(step ? 0 : c[1]);
        key[KEY_RIGHT] = char(step ? 0 : c[2]);
        cameraX = step ? cameraX : c[3];
    });
    EXPECT_EQ(got, want);
}

// One shot per press and only with shells; a miss costs 10 but never goes
// below 0; right or middle button reload to ten at rest, only below 3.
TEST_F(GameTest, OnePressFiresOnceMissesCostTenDownToZeroAndReloadNeedsFewerThanThree) {
    hp->MouseAt(5, 400, 3, 1);  // held for ten frames: one shot
    hp->MouseAt(15, 400, 3, 0);
    for (int f : {20, 30, 40})  // misses at 5 and at -40, then no shells
        Click(f, {400, 3});
    const int buttons[][2] = {{50, 2}, {52, 0}, {60, 2}, {62, 0}, {70, 4}, {72, 0}};
    for (const auto& b : buttons)  // right with 3 shells, with 2; middle
        hp->MouseAt(b[0], 400, 3, b[1]);
    V seen;
    auto note = [&seen](const int& v) { return [&seen, &v] { seen.push_back(v); }; };
    Play(80, {{3, [] { score = 15; }},
              {7, note(score)},
              {19, [] { score = 5; }},
              {22, note(score)},
              {29, [] { score = -40; }},
              {32, note(score)},
              {39, [] { ammo = 0; }},
              {45, [] { ammo = 3; }},
              {55, [&] { seen.push_back(ammo), ammo = 2, game.shellFrames[9] = 7; }},
              {65, [&] { seen.push_back(ammo), seen.push_back(game.shellFrames[9]), ammo = 1; }},
              {75, note(ammo)}});
    EXPECT_EQ(seen, V({5, 0, 0, 3, 10, 0, 10}));
    EXPECT_EQ(V({int(SoundsOf(hp, playerGunSound).size()), gameStats.shotsFired}), V({3, 3}));
}

// The click that chose Play is still down as the game starts: no shot until
// it is let go, then the next press is the first.
TEST_F(GameTest, TheClickOnPlayIsNoShot) {
    hp->MouseAt(0, 400, 3, 1);
    hp->MouseAt(6, 400, 3, 0);
    Click(10, {400, 3});
    Play(20, nullptr);
    EXPECT_EQ(V({gameStats.shotsFired, int(SoundsOf(hp, playerGunSound).size())}), V({1, 1}));
}

// Every fifth hit in a row: 500 points and 100 ticks, or 1000 and 200 in
// bonus mode, and a bonus pop-up of level run / 5 centred at row 260. The
// best run counts before each shot's own outcome.
TEST_F(GameTest, RunsOfFiveHitsGiveTheRunBonus) {
    for (int bonus = 0; bonus < 2; ++bonus) {
        Restart();
        int bestAfterFive = -1;
        V popup;
        Play(40, [&](int f) {
            game.bonusMode = f == 5 ? -bonus : game.bonusMode;
            if (f >= 6 && f <= 22 && f % 4 == 2)
                Click(f + 1, PlaceFlower((f - 6) / 4, 100 + 100 * ((f - 6) / 4)));
            if (f != 25)
                return;
            bestAfterFive = gameStats.bestCombo;
            for (Popup* p = popupList.head; p; p = p->next)
                if (p->image == bonusImage)  // drawn once, two rows up
                    popup = {p->x, p->y + 2, p->frame};
            Click(f + 1, {400, 3});  // a miss ends the run
        });
        EXPECT_EQ(V({bestAfterFive, gameStats.bestCombo, gameStats.shotsHit, score, timeLeft}),
                  V({4, 5, 5, 5 * 50 + (bonus ? 1000 : 500) - 10,
                     9000 - 40 * 4 + (bonus ? 5 * 200 + 200 : 100)}))
            << bonus;
        EXPECT_EQ(popup, V({cameraX + (800 - bonusImage->w) / 2, 260, 1}));
    }
}

// Q shakes the next 20 presented frames; with V held too, Q wins; V alone
// switches the cuddle sound for the rest of the game.
TEST_F(GameTest, QShakesTwentyFramesAndVSwitchesTheCuddleSound) {
    for (int k : {KEY_Q, KEY_V})
        hp->HoldKey(10, k), hp->HoldKey(11, k, false);
    hp->HoldKey(40, KEY_V);
    hp->HoldKey(41, KEY_V, false);
    V shake, want;
    SAMPLE* at20 = nullptr;
    Play(50, [&](int f) {
        if (f >= 11 && f <= 33)
            shake.push_back(shakeFrames), want.push_back(f >= 12 && f <= 31 ? 31 - f : 0);
        at20 = f == 20 ? currentCuddleSample : at20;
    });
    EXPECT_EQ(shake, want);
    EXPECT_TRUE(at20 == cuddleSample && currentCuddleSample == cuddleSampleAlt &&
                cuddleSampleAlt != cuddleSample);
    EXPECT_EQ(hp->presentOffsets[31], std::make_pair(0, 0));
}

// The flying UFO comes in the first frame, the plane in the hundredth; a
// flying plane drops its package where it passes its drop position, a wreck
// drops none.
TEST_F(GameTest, FlyersComeOnScheduleAndThePlaneDropsItsPackage) {
    int ufoFrom = 0, planeFrom = 0, dropX = 0, draw = 0, wait = 0;
    V care;
    Play(120, [&](int f) {
        ufoFrom = !ufoFrom && game.flyingUfo ? f : ufoFrom;
        wait = game.plane && !planeFrom ? game.planeCountdown - draw % 600 : wait;
        draw = Draws(RandomState(), 1)[0];
        if (planeFrom && f == planeFrom + 1 && game.carePackage) {
            care = {game.carePackage->x, game.carePackage->y, game.plane->aux};
            CrashPlane(game.plane)->aux = game.plane->x + 100;
        }
        if (planeFrom && f == planeFrom + 2)
            care.push_back(game.plane->aux - game.plane->x);
        if (planeFrom || !game.plane)
            return;
        planeFrom = f;
        game.plane->x = cameraX + 300;
        game.plane->aux = game.plane->x - 3;
        dropX = game.plane->x - 4;
    });
    EXPECT_EQ(V({ufoFrom, planeFrom, wait}), V({3, 102, 560})) << "then one in 560..1159";
    EXPECT_EQ(care, V({dropX, 30 - 20 + 4, -800, 102}));
}

// The plane is drawn before the shot is fired: it sees the shot one frame
// late, after the shot was already accounted as a miss.
TEST_F(GameTest, AShotOnlyThePlaneTakesIsAMissAndItsPointsComeAFrameLater) {
    V scores;
    Play(20, [&](int f) {
        if (f >= 7 && f <= 9)
            scores.push_back(score);
        if (f != 5)
            return;
        Flyer* p = game.plane = CreatePlane(game.plane);
        p->x = cameraX + 300;
        p->dx = 0;
        p->aux = -800;  // no care package in the way
        score = 5000;
        game.combo = 3;
        // A point that is solid in every frame of the strip.
        for (int y = 0, x = 0; y < p->image->h; x = (x + 1) % p->frameWidth, y += !x) {
            bool solid = true;
            for (int k = 0; k < p->frameCount; ++k)
                solid &=
                    getpixel(p->image, k * p->frameWidth + x, y) != bitmap_mask_color(p->image);
            if (solid)
                return Click(6, {300 + x, p->y + y});
        }
    });
    EXPECT_EQ(scores, V({5000, 4990 - 1000, 3990}));
    EXPECT_EQ(V({game.combo, gameStats.bestCombo, gameStats.shotsHit}), V({0, 3, 0}));
}

// --- the landscape targets ---

// The band of a strip is rows 273..297 and 78 pixels from its left edge;
// a segment hit once costs 1000 ticks and shakes 10 frames, its cloud rises
// for 121 frames; the shot stays free for later targets.
TEST_F(GameTest, TowerSegmentsTakeClicksInTheirBandOnceAndExplode) {
    SetUpOnly();
    cameraX = std::min(std::max(game.towerStripX[0] * 3 / 2 - 450, 0), kCameraMax);
    const int sx = game.towerStripX[0] - 2 * cameraX / 3;
    const int cases[][3] = {{5, 272, 0},  {5, 298, 0}, {0, 285, 0},  {78, 285, 0},
                            {80, 285, 0}, {1, 273, 1}, {27, 297, 1}, {77, 285, 1}};  // dx, y, hit
    int destroyed = 0;
    for (const auto& c : cases) {
        mouse_x = sx + c[0], mouse_y = c[1];
        const int j = c[0] / 26;
        const bool ruins = c[2] && TowerSegmentIntact(j);
        timeLeft = 5000;
        shakeFrames = 0;
        UpdateTowers();
        destroyed += ruins;
        EXPECT_EQ(V({game.towersDestroyed, timeLeft, shakeFrames, TowerSegmentIntact(j) || c[2],
                     game.shotUsed}),
                  V({destroyed, ruins ? 4000 : 5000, ruins ? 10 : 0, 1, 0}))
            << c[0] << "," << c[1];
    }
    EXPECT_TRUE(destroyed == 3 && TowerSegmentIntact(3)) << "the other strip is untouched";
    mouse_y = 0;
    int frames = 1;  // the hit's own frame, then until the cloud is gone
    for (; game.explosionFrame[2] >= 0 && frames < 200; ++frames)
        UpdateTowers();
    EXPECT_EQ(frames, 121);
    Finish();
}

// A flower is hit strictly inside x + 4 .. x + w - 4 and y .. y + w - 8, for
// 50 points with a pop-up centred on it; one click takes every flower under
// it.
TEST_F(GameTest, FlowersAreHitInsideTheirBoxAndOneClickTakesOverlappingOnes) {
    SetUpOnly();
    const int w = flowerTarget->w;
    const int shots[][3] = {{304, 430, 0},  {300 + w - 4, 430, 0},
                            {310, 420, 0},  {310, 420 + w - 8, 0},
                            {305, 421, 50}, {300 + w - 5, 420 + w - 9, 50}};
    for (int i = 0; i < kFlowers; ++i)
        game.flowerShot[i] = 1;
    for (const auto& s : shots) {
        PlaceFlower(0, 300);
        score = 0;
        Shoot({s[0], s[1]});
        EXPECT_EQ(V({score, game.shotUsed}), V({s[2], s[2] ? 1 : 0})) << s[0] << "," << s[1];
    }
    EXPECT_EQ(V({popupList.tail->x, popupList.tail->y}),
              V({cameraX + 300 + w / 2 - scoreImage->w / 2, 420}));
    Point p = PlaceFlower(1, 300);
    PlaceFlower(2, 306);
    game.flowersLeft = 10;
    Shoot(p);
    EXPECT_EQ(V({game.flowersLeft, score}), V({8, 150})) << "both flowers taken";
    Finish();
}

// Bonus mode starts only with the first flower after all six segments; it
// gives 200 ticks a flower, and with the tenth 1000 points and 8000 ticks.
// The tenth flower sends the squad: five UFOs 115 apart from the view's
// left edge + half a UFO + 113, at the hill line, rising a row a frame.
TEST_F(GameTest, TheFirstFlowerAfterSixSegmentsStartsBonusModeAndTheTenthSendsTheSquad) {
    for (int towers : {5, 6}) {
        SetUpOnly();
        game.towersDestroyed = towers;
        timeLeft = 5000;
        Shoot(PlaceFlower(0, 300));
        EXPECT_EQ(V({game.bonusMode != 0, timeLeft}), V({towers == 6, towers == 6 ? 5200 : 5000}));
        game.towersDestroyed = 6;
        for (int i = 1; i < kFlowers - 1; ++i)
            Shoot(PlaceFlower(i, 300));
        EXPECT_EQ(V({game.bonusMode != 0, game.squadActive}), V({towers == 6, 0}));
        score = 0;
        timeLeft = 5000;
        Shoot(PlaceFlower(9, 300));
        EXPECT_EQ(V({game.flowersLeft, score, timeLeft, game.squadActive}),
                  V({0, towers == 6 ? 1050 : 50, towers == 6 ? 5000 + 200 + 8000 : 5000, 1}));
        int x = game.squad[0]->frameWidth / 2 + cameraX + 113;
        for (int k = 0; k < kSquad; ++k, x += 115) {
            const Flyer* u = game.squad[k];
            EXPECT_EQ(V({u->x, u->y, u->dx, u->dy, u->alive}),
                      V({x, kSquadStartHeights[size_t(x % 578)], 0, -1, 1}));
        }
        const int y0 = game.squad[0]->y;
        game.shotFired = 0;
        UpdateSquad();
        EXPECT_EQ(game.squad[0]->y, y0 - 1);
        Finish();
    }
}

// --- the end of a game ---

// 15 rack frames over the frozen last frame, then yellow, frame, yellow,
// frame, yellow (with fewer flashes asked for, yellow from the first flash
// on); the game-over picture then lies on yellow. With Escape in the same
// frame the end plays all the same and the game returns 0.
TEST_F(GameTest, TheBazookaEndsWithTheRackFramesYellowFlashesAndGameOverOnYellow) {
    EXPECT_EQ(Play(10, {{10, ArmBazooka}}), 0);
    EXPECT_EQ(V({bazookaFired, hp->frame()}), V({1, 11 + 20})) << "the last frame, 20 end steps";
    for (bool reduce : {false, true}) {
        Restart();
        settings.reduceFlashing = reduce;
        int last = 0, still = 0, yellow = makecol(255, 240, 0);
        V corner;
        std::vector<bool> shown;
        Play(0, [&](int f) {
            if (f == 10)
                ArmBazooka();
            if (!last && bazookaFired)
                last = f, still = getpixel(hp->display(), 5, 5),
                hp->PressKey(f + 25, KEY_SPACE, ' '), hp->PressKey(f + 30, KEY_SPACE, ' ');
            const int i = f - last - 1;
            if (!last || i < 0 || i > 20)
                return;
            corner.push_back(getpixel(hp->display(), 5, 5) == yellow ? yellow : still);
            if (i >= 15) {
                shown.insert(shown.end(), i == 20, ShowsGameOver(hp->display()));
                return;
            }
            char name[32];
            std::snprintf(name, sizeof name, "rack%04i.bmp", i);
            BITMAP* rack = LoadImage(name);
            shown.push_back(Shows(hp->display(), rack, 0, 0, rack->w, rack->h,
                                  bazookaImage->w / 2 - 172 + bazookaEndX, bazookaEndY - 82));
            destroy_bitmap(rack);
        });
        settings.reduceFlashing = false;
        V want(15, still);
        want.insert(want.end(), {yellow, reduce ? yellow : still, yellow, reduce ? yellow : still,
                                 yellow, yellow});
        EXPECT_TRUE(last == 11 && shown == std::vector<bool>(16, true) && corner == want) << reduce;
    }
}

// The last shot's button is still down when the clock runs out: the game-over
// picture waits for its release, and a new press only counts after a second.
// The statistics show every row in its place, the accuracy truncated and a
// negative score signed.
TEST_F(GameTest, AHeldButtonDoesNotSkipGameOverAndTheStatisticsAreExact) {
    int gameOverFrames = 0, firstGameOver = 0;
    BITMAP* stats = Own(create_bitmap(kScreenW, kScreenH));
    const int buttons[][2] = {{28, 1}, {33, 0}, {60, 1}, {300, 0}};  // held, let go, again
    for (const auto& b : buttons)
        hp->MouseAt(b[0], 400, 3, b[1]);
    hp->PressKey(310, KEY_SPACE, ' ');
    EXPECT_EQ(Play(0,
                   [&](int f) {
                       if (f == 30)
                           timeLeft = -1, gameStats = {7, 3, 2, 11, 13}, score = -37;
                       if (f > 30 && ShowsGameOver(backBuffer) && !gameOverFrames++)
                           firstGameOver = f;
                       if (f == 305)
                           blit(backBuffer, stats, 0, 0, 0, 0, kScreenW, kScreenH);
                   }),
              1);
    EXPECT_EQ(firstGameOver, 34) << "nothing is shown until the button is up";
    EXPECT_EQ(gameOverFrames, 101) << "a click ends the picture only after 100 steps";
    const int px = (800 - statsPanelImage->w) / 2 + 1, py = (600 - statsPanelImage->h) / 2 + 67;
    const int h = text_height(gameFont), white = makecol(255, 255, 255);
    const std::pair<int, const char*> rows[] = {{2, ": 7"},  {3, ": 3"}, {4, ": 42%"}, {6, ": 11"},
                                                {7, ": 13"}, {9, ": 2"}, {11, ": -37"}};
    for (auto [row, text] : rows)
        EXPECT_TRUE(ShowsText(stats, gameFont, text, kAlignLeft, px + 210, py + row * h, white))
            << text;
    EXPECT_TRUE(ShowsText(stats, gameFont, "Statistics", kAlignCentre, 401, py, white) &&
                ShowsText(stats, gameFont, "Best Combo", kAlignLeft, px + 50, py + 9 * h, white));
}

// A game that ends in a frame showing the damage warning (the flash, or
// the calm frame round the picture): the game-over picture and the
// statistics stand on the scene without it.
TEST_F(GameTest, TheEndScreensHoldTheSceneWithoutTheDamageWarning) {
    const int yellow = makecol(255, 240, 0), darkRed = makecol(0x8A, 0x1C, 0x1C);
    for (bool reduce : {false, true}) {
        Restart();
        settings.reduceFlashing = reduce;
        V last, over, stats;  // at the left edge and the top middle
        Play(0, [&](int f) {
            if (f == 10) {  // the killer fires in the middle of the view at 1 life left
                ShowKiller(killer);
                killer->state = kKillerFiring;
                killer->y = 300;
                killer->fireTimer = 1000;
                life = 1;
                hudFlashed = warningShown = 0;
                warningHeld = quietFrames = kWarningHoldFrames;
            }
            BITMAP* d = hp->display();
            V seen = {getpixel(d, 2, 300), getpixel(d, 400, 5)};
            if (over.empty() && ShowsGameOver(d))
                over = seen, hp->PressKey(f + 1, KEY_SPACE, ' '),
                hp->PressKey(f + 3, KEY_SPACE, ' ');
            else if (over.empty())
                last = seen;
            else if (stats.empty() && !ShowsGameOver(d))
                stats = seen;
        });
        settings.reduceFlashing = false;
        EXPECT_EQ(life, 0);
        // The last game frame showed the warning, the end screens the scene.
        EXPECT_EQ(V({last[0], last[1] == yellow}), V({reduce ? darkRed : yellow, !reduce}));
        EXPECT_TRUE(over[0] != darkRed && over[0] != yellow && over[1] != yellow && stats == over)
            << reduce;
    }
}

// Waiting on the player, the end screens present a new frame only when the
// picture is new or the pointer moved; the display keeps it meanwhile. The
// game-over picture stays 200 steps.
TEST_F(GameTest, TheEndScreensPresentOnlyFramesThatChange) {
    hp->MouseAt(100, 420, 3);  // the pointer moves over the game-over picture
    hp->MouseAt(300, 440, 3);  // and over the statistics
    hp->PressKey(310, KEY_SPACE, ' ');
    V fresh;
    int again = 0;
    Play(0, [&](int f) {
        if (f == 10)
            timeLeft = -1;
        if (f > 10 && hp->framesShownAgain == again)
            fresh.push_back(f);
        again = hp->framesShownAgain;
    });
    EXPECT_EQ(fresh, V({11, 101, 11 + 200, 301}));
}

// --- recorded games ---

class ReplayTest : public HeadlessTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReplayTest, EndStatisticsMatchTheRecording) {
    const std::string base = std::string(FLUFF_SOURCE_DIR) + "/tests/replays/" + GetParam();
    hp->workMsPerFrame = 10;
    ASSERT_TRUE(LoadRecordedGame(GetParam(), hp));
    StartOfRun();
    const std::string actual = GameSummary(RunGame());
    std::stringstream expected;
    expected << std::ifstream(base + ".expected").rdbuf();
    if (actual != expected.str())
        std::ofstream(OutPath(std::string(GetParam()) + ".actual")) << actual;
    EXPECT_EQ(actual, expected.str()) << "new statistics written to build/test-output/";
}

INSTANTIATE_TEST_SUITE_P(Recorded, ReplayTest, ::testing::Values("sweep", "duel", "clock"));
