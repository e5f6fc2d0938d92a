// The families of a game with small synthetic pictures: score, pop-ups and
// counters, the landscape layers, flyers, bubbles, walkers, shooters, the
// foreground killer and the mole holes. Strips come from Strip(): every
// frame one colour, so a test reads back which frame of which strip was
// drawn where.
#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "actors/anim.h"
#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

using V = std::vector<int>;
using B = std::vector<bool>;

namespace {

// The first seed whose first draw mod `n` is `r`; the generator is left
// seeded with it.
uint32_t SeedFor(int n, int r) {
    uint32_t seed = 1;
    while (Draws(seed, 1)[0] % n != r)
        ++seed;
    SeedRandom(seed);
    return seed;
}

// Tags of the strips, by family.
enum { kWalkL, kWalkR, kCuddleL, kCuddleR, kExplode, kHeart };
enum { kSWalkL, kSWalkR, kSFire, kSExplode, kSBeam, kSCasing };
enum { kRise, kFire, kBoom, kCasing };
enum { kMound, kLout, kPeace, kBazooka, kMoleBoom };
enum { kUfo, kPlane, kWreck, kCare, kBurst = 5, kScore, kBonus };

struct Pic {
    BITMAP** slot;
    int tag, frames, w, h;
};

}  // namespace

// Every family's pictures, small and synthetic:
// - pop-ups 40 (score) and 60 (bonus) wide, digits 6 x 8;
// - UFO and plane 4 x (20 x 10), wreck 4 x (24 x 12), care 9 x (10 x 100),
//   bubbles 8 x 8 frames;
// - walkers: walking frames 20 wide, cuddling 30, exploding 40, all 30 high;
// - shooters: small frames 20 x 40, big 40 x 260 (so a big one walks at y
//   330); explosions 30 x 30, beams 50 x 60, casings 8 x 8;
// - killer: rising 100 x 200 (it stands at y 400), firing 10 x (100 x 200),
//   explosion 18 x (150 x 200), casings 11 x (10 x 10);
// - mole holes: mound 7 x (60 x 20), only its bottom 4 rows solid; Lout and
//   Peace 40 x 30 frames (half a Lout frame is 20), Bazooka 30 x 10, their
//   explosion 40 x 30.
// The view stands at 1200, so a hole appears at screen x 400 (landscape 1600).
class ActorTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        BITMAP** w = &walkerImages[0][0];
        BITMAP** s = &shooterImages[0][0];
        // clang-format off
        const Pic pics[] = {
            {&scoreImage, kScore, 1, 40, 35 * 9}, {&bonusImage, kBonus, 1, 60, 36 * 7},
            {&digitImage, 0, 10, 6, 8}, {&ufoImage, kUfo, 4, 20, 10}, {&planeImage, kPlane, 4, 20, 10},
            {&wreckImage, kWreck, 4, 24, 12}, {&careImage, kCare, 9, 10, 100},
            {&bubbleImages[0], 0, 14, 8, 8}, {&bubbleImages[1], 1, 14, 8, 8},
            {&bubbleImages[2], 2, 14, 8, 8}, {&bubbleImages[3], kBurst, 8, 8, 8},
            {w + 0, kWalkL, 12, 20, 30}, {w + 1, kWalkR, 12, 20, 30}, {w + 2, kCuddleL, 12, 30, 30},
            {w + 3, kCuddleR, 12, 30, 30}, {w + 4, kExplode, 15, 40, 30},
            {s + 0, kSWalkL, 12, 20, 40}, {s + 1, kSWalkR, 12, 20, 40}, {s + 2, kSFire, 10, 20, 40},
            {s + 3, kSExplode, 17, 30, 30}, {s + 4, kSBeam, 7, 50, 60}, {s + 5, kSCasing, 11, 8, 8},
            {s + 6, kSWalkL, 12, 40, 260}, {s + 7, kSWalkR, 12, 40, 260}, {s + 8, kSFire, 10, 40, 260},
            {s + 9, kSExplode, 17, 30, 30}, {s + 10, kSBeam, 7, 50, 60}, {s + 11, kSCasing, 11, 8, 8},
            {&killerRiseImage, kRise, 1, 100, 200}, {&killerImage, kFire, 10, 100, 200},
            {&killerExplodeImage, kBoom, 18, 150, 200}, {&killerCasingImage, kCasing, 11, 10, 10},
            {&moundImage, kMound, 7, 60, 20}, {&moleImages[kMoleLout], kLout, 9, 40, 30},
            {&moleImages[kMolePeace], kPeace, 17, 40, 30},
            {&moleImages[kMoleBazooka], kBazooka, 1, 30, 10},
            {&moleImages[kMoleExploding], kMoleBoom, 15, 40, 30}};
        // clang-format on
        for (const Pic& p : pics)
            *slots.emplace_back(p.slot) = Own(Strip(p.tag, p.frames, p.w, p.h));
        for (int i = 0; i < kWalkerStrips; ++i)
            *slots.emplace_back(&walkerImages[1][i]) = w[i];
        *slots.emplace_back(&lifeImage) = Own(Solid(70, 40, makecol(0, 0, 255)));
        // The landscape: ground 1156 x 363, flowers 50 + i wide and 20 high,
        // one-column trees, 26 x 26 tower segments.
        *slots.emplace_back(&groundImage) = Own(Solid(1156, 363, kGround));
        *slots.emplace_back(&backgroundTile) = Own(Solid(300, 120, makecol(0, 0, 100)));
        for (int i = 0; i < kFlowerKinds; ++i)
            *slots.emplace_back(&flowerImages[i]) = Own(Solid(50 + i, 20, FrameColour(0, i)));
        for (int k = 0; k < 2; ++k) {
            *slots.emplace_back(&treeImages[k]) = Own(Solid(1, 300 + 50 * k, kTree[k]));
            *slots.emplace_back(&towerImages[k]) = Own(Solid(26, 26, FrameColour(1, k)));
            *slots.emplace_back(&towerHitImages[k]) = Own(Solid(26, 26, FrameColour(2, k)));
        }
        for (int k = 0; k < 9; ++k)  // frame k of the score strip in its own colour
            rectfill(scoreImage, 0, 35 * k, 39, 35 * k + 34, FrameColour(1, k));
        rectfill(moundImage, 0, 0, moundImage->w - 1, 15, bitmap_mask_color(moundImage));
        heartAnim = CreateAnim(Own(Strip(kHeart, 13, 10, 10)), 13);
        k = CreateKiller();
        CreateMoleHoleAnims();
        hitSound = &fakeHit, shootingSample = &fakeGunfire;
        cuddleSample = &fakeCuddle, cuddleSampleAlt = &fakeCuddleAlt;
        ResetShootingSound(), ResetCuddleSound(), ResetScoreState();
        hp->sounds.clear();
        gameStats = {};
        planesShotThisGame = walkerSiteCount = moleHoleCount = bazookaFired = 0;
        walkerSpawnCountdown = killerDelay = 40;
        cameraX = 1200, moleHoleMax = 3, spawnGate = 8000, gameRunning = 1;
        gameFont = font;
    }
    void TearDown() override {
        delete flyer;
        FreeAllPopups(), FreeAllBubbles(), FreeAllWalkers(), FreeAllShooters();
        FreeKiller(k), FreeMoleHoles(), FreeAnim(heartAnim);
        heartAnim = nullptr;
        hitSound = shootingSample = cuddleSample = cuddleSampleAlt = currentCuddleSample = nullptr;
        for (BITMAP** slot : slots)
            *slot = nullptr;
        cuddleSoundCount = 0, gameRunning = 1;
        HeadlessTest::TearDown();
    }
    void Aim(int landscapeX, int y) { hp->MouseAt(hp->frame(), landscapeX - cameraX, y); }
    static int At(int tag, int x, int y) { return FrameAt(backBuffer, tag, x, y); }
    // The glyphs in a row of `cells` from `leftX`; -1 where none is.
    static V Digits(int leftX, int y, int cells) {
        V d;
        for (int i = 0; i < cells; ++i)
            d.push_back(At(0, leftX + i * 6 + 1, y + 1));
        return d;
    }
    static V PopupAt(const Popup* p) { return p ? V{p->x, p->y, p->frame} : V{}; }
    int Plays(SAMPLE* s) const { return int(SoundsOf(hp, s).size()); }
    // One update of `flyer` with the shot at screen (mx, my); the hit flag after.
    int Shoot(int mx, int my, int kind, int flag = 0) {
        mouse_x = mx, mouse_y = my;
        UpdateFlyer(flyer, 1, &flag, &respawn, kind);
        return flag;
    }
    // A flyer standing still at screen (sx, y).
    void Place(int sx, int y) {
        flyer->x = cameraX + sx, flyer->y = y;
        flyer->dx = flyer->dy = 0;
    }

    std::vector<BITMAP**> slots;  // the picture slots filled for the test
    const int kGround = makecol(0, 100, 0), kTree[2] = {makecol(90, 50, 10), makecol(90, 60, 10)};
    SAMPLE fakeHit{}, fakeGunfire{}, fakeCuddle{}, fakeCuddleAlt{};
    Flyer* flyer = nullptr;
    int respawn = 0;
    Killer* k = nullptr;
};

using ScoreTest = ActorTest;
using SceneryTest = ActorTest;
using FlyerTest = ActorTest;
using BubbleTest = ActorTest;
using WalkerTest = ActorTest;
using ShooterTest = ActorTest;
using KillerTest = ActorTest;
using MoleHoleTest = ActorTest;

namespace {

void Clear() {
    clear_to_color(backBuffer, 0);
}

// Fire near the middle of the screen: while 200 < screen x < 600 each drawn
// frame draws a number and takes a point of life when it is above 50 of
// 100, never below 0; elsewhere it draws nothing.
void ExpectDrainWindow(const std::function<void(int)>& placeAt, const std::function<void()>& draw) {
    for (int sx : {200, 600, -10, 790, 201, 599}) {
        placeAt(sx);
        const bool inside = sx > 200 && sx < 600;
        int hurt = 0;
        SeedRandom(sx + 1);
        for (int i = 0; i < 150 && inside; ++i)
            hurt += Random() % 100 > 50;
        const uint32_t after = RandomState();
        SeedRandom(sx + 1);
        life = 100;
        for (int i = 0; i < 150; ++i)
            draw();
        EXPECT_EQ(V({life, RandomState() == after}), V({100 - hurt, 1})) << "sx " << sx;
    }
    life = 1;
    for (int i = 0; i < 50; ++i)
        draw();
    EXPECT_EQ(life, 0);
}

Walker* AddWalker(bool female, int x) {
    Walker* w = female ? CreateFemaleWalker(x) : CreateMaleWalker(x);
    walkerList.Append(w);
    return w;
}

// One pass of a family with the shot; a hit flag already 1 offers none.
int WalkerPass(int firing, int hit = 0) {
    Clear();
    UpdateWalkers(backBuffer, firing, &hit);
    return hit;
}
int BubblePass(int firing, int mx = 0, int my = 0, int hit = 0) {
    mouse_x = mx, mouse_y = my;
    Clear();
    UpdateBubbles(backBuffer, firing, &hit);
    return hit;
}
int Step(int fired = 0, int used = 0) {
    Clear();
    UpdateMoleHoles(backBuffer, fired, &used);
    return used;
}

// A shooter of the given size as it beams down (the size is the spawn's
// first draw) at landscape x; beamed, it walks and does not fire soon.
Shooter* Spawn(bool big, int x, int facing, bool beamed = false) {
    SeedFor(10, big ? 6 : 5);
    shooterSpawnCountdown = 1;
    SpawnShooter();
    Shooter* s = big ? bigShooters.tail : smallShooters.tail;
    s->x = x, s->facing = uint8_t(facing);
    if (beamed)
        s->beaming = 0, s->timer = 1000;
    return s;
}

// The killer's share of a game frame: update, draw, then the shot.
bool KillerFrame(Killer* k, int fired = 0, int* used = nullptr) {
    int unused = 0;
    UpdateKiller(k);
    Clear();
    bool drawn = DrawKiller(k, backBuffer);
    if (drawn)
        HitKiller(k, fired, used ? used : &unused);
    return drawn;
}

void RiseToFire(Killer* k) {
    for (ShowKiller(k); k->state == kKillerRising;)
        KillerFrame(k);
}

// A grown hole at the middle of the view whose figure rises at once.
void AddHole(int kind) {
    SpawnMoleHole();
    const int i = moleHoleCount - 1;
    moleKind[i] = kind, moleCountdown[i] = 35, moleWait[i] = 0;
    moleMound[i]->frame = 6;
}

}  // namespace

// --- score, pop-ups and counters ---

TEST_F(ScoreTest, AddScoreAndBonusPickThePopupFrameExactly) {
    score = 40;
    for (int p : {250, 0, -1000, 1000, 500, 300, 200, 100, 50})
        AddScore(p, 1500, 200);
    V frames;
    for (Popup* p = popupList.head; p; p = p->next)
        frames.push_back(p->frame);
    EXPECT_EQ(frames, V({0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(V({score, popupList.head->endY}), V({40 + 1400, 125}));
    // The bonus level is clamped only from above.
    EXPECT_EQ(V({SpawnBonusPopup(0, 0, 9)->frame, SpawnBonusPopup(0, 0, 6)->frame,
                 SpawnBonusPopup(0, 0, 5)->frame, SpawnBonusPopup(0, 0, 0)->frame}),
              V({6, 6, 5, 0}));
}

// A pop-up is drawn in 38 frames from its start row, 2 rows higher each,
// and gone after; also when off screen (sx 800 or its right edge at 0).
TEST_F(ScoreTest, PopupsRiseForThirtyEightFramesAndTheListStaysLinked) {
    AddScore(500, 1300, 300);                  // screen x 100, frame 4
    SpawnScorePopup(cameraX + 800, 300, 100);  // sx exactly 800
    SpawnScorePopup(cameraX - 40, 300, 100);   // right edge exactly at 0
    SpawnScorePopup(cameraX - 39, 300, 100);   // one column shows
    V drawnAt;
    for (int f = 0; f < 60 && !popupList.Empty(); ++f) {
        Clear();
        UpdatePopups(backBuffer);
        for (int y = 0; y < 600; ++y)
            if (At(1, 110, y) == 4 && (drawnAt.push_back(y), true))
                break;
        if (f == 0) {
            EXPECT_EQ(V({At(1, 0, 305), At(1, 1, 305), At(1, 799, 305)}), V({7, -1, -1}));
        } else if (f == 10) {  // the tail of a longer list goes
            Popup* newer = SpawnScorePopup(1300, 300, 200);
            FreePopup(SpawnScorePopup(1300, 300, 300));
            EXPECT_EQ(popupList.tail, newer);
        }
    }
    ASSERT_EQ(drawnAt.size(), 38u);
    EXPECT_EQ(V({drawnAt[0], drawnAt[1], drawnAt[37], popupList.Count()}), V({300, 298, 226, 0}));
}

// Score: five digits, the last at x 87, row 50; seconds: two at x 72, row
// 75; life: two at x 52 or three at 56 (for 100), row 535, on its panel at
// (20, 520); nothing but zeros for a score below 1. Life changing in every
// frame flashes every other frame.
TEST_F(ScoreTest, HudShowsScoreSecondsAndLifeAtTheirPlacesAndFlashes) {
    const struct {
        int score, ticks, life;
        V scoreDigits, seconds, lifeDigits;  // read from x 57, 60 and the last digit - 12
    } cases[] = {
        {-300, 99, 100, {-1, 0, 0, 0, 0, 0}, {-1, 0, 0}, {1, 0, 0, -1}},
        {907, 9000, 99, {-1, 0, 0, 9, 0, 7}, {-1, 9, 0}, {-1, 9, 9, -1}},
        {123456, 10000, 5, {1, 2, 3, 4, 5, 6}, {1, 0, 0}, {-1, 0, 5, -1}},
    };
    for (const auto& c : cases) {
        Clear();
        score = c.score, timeLeft = c.ticks, life = lifeAtFrameStart = c.life;
        DrawHud(backBuffer);
        EXPECT_EQ(Digits(57, 50, 6), c.scoreDigits) << c.score;
        EXPECT_EQ(Digits(60, 75, 3), c.seconds) << c.ticks;
        EXPECT_EQ(Digits(c.life == 100 ? 44 : 40, 535, 4), c.lifeDigits) << c.life;
        EXPECT_EQ(At(0, c.life == 100 ? 43 : 39, 536), -1) << "left of the life digits";
        EXPECT_EQ(getpixel(backBuffer, 21, 521), makecol(0, 0, 255)) << "the life panel";
    }
    B flashed;
    for (int f = 0; f < 7; ++f) {  // damage in five frames, a quiet one, healing
        lifeAtFrameStart = life;
        life += f < 5 ? -3 : f == 5 ? 0 : 25;
        flashed.push_back(NextLifeWarning(false) == kWarningFlash);
    }
    EXPECT_EQ(flashed, B({true, false, true, false, true, false, true}));
}

// With fewer flashes asked for, the warning is a frame round the picture: up
// from the first change and while life drains, gone once it rests, and
// never changing more than 3 times a second (4 changes span more than 34
// frames of 30 ms).
TEST_F(ScoreTest, TheCalmWarningIsSteadyAndChangesAtMostThreeTimesASecond) {
    ResetScoreState();
    V changes;
    B draining;
    bool shown = false;
    for (int f = 0; f < 200; ++f) {  // drains in frames 10..40, then a hit every 13 frames
        lifeAtFrameStart = life;
        life -= (f >= 10 && f <= 40) || (f > 40 && f <= 100 && f % 13 == 0);
        LifeWarning w = NextLifeWarning(true);
        ASSERT_NE(w, kWarningFlash);
        if ((w == kWarningFrame) != shown)
            changes.push_back(f), shown = !shown;
        if (f >= 10 && f <= 40)
            draining.push_back(shown);
    }
    ASSERT_GE(changes.size(), 4u);
    EXPECT_TRUE(changes[0] == 10 && draining == B(31, true) && !shown);
    for (size_t i = 0; i + 3 < changes.size(); ++i)
        EXPECT_GE(changes[i + 3] - changes[i], 34) << changes[i];
}

// --- the landscape layers ---

// Per 400-wide section at most one flower, inside it, its top on row 440 -
// 108, - 185 or - 228 by kind mod 3; one to five trees, tree0 from row 50,
// tree1 from row 0; the ground from row 77 across the whole width. Behind,
// six tiles from x 0; each tower segment "turm1.bmp" in six cases of ten,
// with the hit picture of its own kind.
TEST_F(SceneryTest, LayersHaveGroundFlowersTreesTilesAndSegmentsInTheirPlaces) {
    const int drop[3] = {108, 185, 228};
    int flowers = 0, bare = 0;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        SeedRandom(seed);
        BuildForegroundLayer();
        BITMAP* layer = foregroundLayer;
        const int plain[] = {bitmap_mask_color(layer), kGround, kTree[0], kTree[1]};
        int trees = 0;
        for (int x = 0; x < 3200; ++x) {
            trees += getpixel(layer, x, 0) == kTree[1];
            trees += getpixel(layer, x, 50) == kTree[0] && getpixel(layer, x, 49) != kTree[0];
            const int c76 = getpixel(layer, x, 76);  // above the ground, where no tree is
            ASSERT_TRUE(std::count(plain + 2, plain + 4, c76) ||
                        (c76 == plain[0] && getpixel(layer, x, 77) == kGround))
                << x;
        }
        EXPECT_TRUE(trees >= 1 && trees <= 5 && layer->w == 3200 && layer->h == 440) << trees;
        for (int k = 0; k < 8; ++k) {
            std::set<int> kinds;
            for (int y = 200; y < 360; ++y)
                for (int x = 400 * k; x < 400 * (k + 1); ++x) {
                    int i = std::count(plain, plain + 4, getpixel(layer, x, y))
                                ? -1
                                : FrameAt(layer, 0, x, y);
                    EXPECT_TRUE(i < 0 || !kinds.insert(i).second ||
                                (y == 440 - drop[i % 3] && x - 400 * k + 50 + i <= 400))
                        << "kind " << i << " at " << x << "," << y;
                }
            EXPECT_LE(kinds.size(), 1u) << "seed " << seed;
            bare += kinds.empty(), flowers += int(kinds.size());
        }
        V r = Draws(seed, 6);
        BuildBackgroundLayers();
        for (int j = 0; j < 6; ++j)
            ASSERT_EQ(V({FrameAt(towerStrip[j / 3], 1, j % 3 * 26 + 3, 3),
                         FrameAt(towerHitStrip[j / 3], 2, j % 3 * 26 + 3, 3)}),
                      V({r[j] % 10 <= 5, r[j] % 10 <= 5}));
    }
    EXPECT_TRUE(bare > 0 && flowers > 120) << "one section in thirteen stays bare";
    EXPECT_EQ(V({backgroundLayer->w, getpixel(backgroundLayer, 1799, 119),
                 getpixel(backgroundLayer, 1800, 0)}),
              V({2000, makecol(0, 0, 100), bitmap_mask_color(backgroundLayer)}));
}

// --- flyers ---

// A UFO enters from the right when rand mod 100 <= 50, else from the left,
// at row 20; its countdown runs only while it overlaps the landscape; off
// screen it moves without turning.
TEST_F(FlyerTest, UfoEntersFromEitherSideAndCountsOnlyOverTheLandscape) {
    const int sides[][4] = {{50, 4000, -4, 200}, {51, -800, 4, 195}};  // r, x, dx, outside
    for (const auto& side : sides) {
        if (flyer)
            flyer->frame = 3, flyer->dy = 7;
        V r = Draws(SeedFor(100, side[0]), 2);
        Flyer* before = flyer;
        flyer = CreateUfo(flyer);
        EXPECT_EQ(V({Random(), flyer->x, flyer->y, flyer->dx, flyer->dy, flyer->alive}),
                  V({r[1], side[1], 20, side[2], 0, 1}))
            << "one draw";
        EXPECT_TRUE(!before || (flyer == before && flyer->frame == 3)) << "made again in place";
        respawn = 0;
        for (int n = 0; n < side[3]; ++n)
            UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
        EXPECT_EQ(respawn, 0);
        UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
        EXPECT_EQ(respawn, 1);
    }
    Place(800, 20);
    flyer->dx = -4;
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
    EXPECT_EQ(V({flyer->x, flyer->frame}), V({1996, 3}));
}

TEST_F(FlyerTest, UfoHitTestSamplesTheNextFrameWithStrictRightAndBottomEdges) {
    flyer = CreateUfo(nullptr);
    Place(300, 100);
    // Frame 1 (the one tested after drawing frame 0) has a hole at (5, 5).
    putpixel(ufoImage, 20 + 5, 5, bitmap_mask_color(ufoImage));
    EXPECT_EQ(Shoot(305, 105, kFlyerUfo), 0);
    EXPECT_EQ(V({At(kUfo, 300, 100), At(kUfo, 319, 109), At(kUfo, 320, 100)}), V({0, 0, -1}));
    EXPECT_EQ(V({Shoot(320, 100, kFlyerUfo), Shoot(300, 110, kFlyerUfo), Shoot(299, 105, kFlyerUfo),
                 Shoot(305, 105, kFlyerUfo, 1), flyer->alive}),
              V({0, 0, 0, 1, 1}))
        << "x = frame width, y = height, left of it, a used shot";
    respawn = 55;
    EXPECT_EQ(V({Shoot(300, 109, kFlyerUfo), flyer->alive, score, gameStats.ufosShot, respawn}),
              V({1, 0, 1000, 1, -9}))
        << "respawn -10, then one update over the landscape";
    EXPECT_EQ(PopupAt(popupList.tail), V({1500 - 10 - 20, 100, 3}));
    EXPECT_EQ(V({bubbleList.Count(), bubbleList.head->x}), V({8, 1500}));
    EXPECT_EQ(V({Shoot(300, 109, kFlyerUfo), respawn}), V({0, -9})) << "a dead flyer is left alone";
}

// A plane enters at 4000, row 30, dropping at 400 + rand mod 2400; shot
// (-1000) it turns into a wreck 20 rows higher that falls ever faster and
// leaves the sky below row 344; the second plane shot adds 30 seconds with
// a bonus pop-up; a wreck lets the shot through.
TEST_F(FlyerTest, PlaneDropsWhereItDrewItsWreckFallsAndOnlyTheSecondGivesTime) {
    V r = Draws(77, 1);
    flyer = CreatePlane(nullptr);
    EXPECT_EQ(V({flyer->x, flyer->y, flyer->dx, flyer->dy, flyer->aux}),
              V({4000, 30, -4, 0, r[0] % 2400 + 400}));
    for (int plane = 1; plane <= 3; ++plane) {
        CreatePlane(flyer);
        Place(300, 100);
        flyer->frame = 2, flyer->aux = 7, timeLeft = 5000;
        FreeAllPopups();
        EXPECT_EQ(Shoot(305, 105, kFlyerPlane), 1) << plane;
        EXPECT_EQ(V({score, timeLeft, flyer->alive, flyer->frame, flyer->aux, flyer->y, flyer->dx,
                     flyer->dy, flyer->frameWidth}),
                  V({-1000 * plane, plane == 2 ? 8000 : 5000, 1, 3, 7, 84, -2, 5, 24}));
        EXPECT_EQ(PopupAt(popupList.head), V({1500 - 12 - 20, 80, 2})) << "the wreck's size";
        EXPECT_EQ(PopupAt(popupList.head->next), plane == 2 ? V({1200 + 370, 180, 0}) : V());
    }
    Place(300, 100);
    flyer->dy = 4;
    EXPECT_EQ(V({Shoot(305, 105, kFlyerPlane), score, flyer->y, flyer->dy}), V({0, -3000, 104, 5}));
    flyer->y = 334;
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerPlane);  // 340: still flying
    EXPECT_EQ(flyer->alive, 1);
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerPlane);
    EXPECT_EQ(V({flyer->alive, respawn}), V({0, -9}));
}

// Dropped 20 rows above the plane, it falls 4 rows a frame and turns every
// fifth; its crate (rows 77 and lower) heals 25 and scores 1000 from a life
// of 96, 500 from 76, else 100; its parachute lets the shot through.
TEST_F(FlyerTest, CarePackageCrateScoresByLifeTheParachuteIsIgnoredAndItFallsAtFour) {
    flyer = CreateCarePackage(nullptr, 1500, 120);
    V frames;
    for (int n = 0; n < 11; ++n) {
        UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerCarePackage);
        frames.push_back(flyer->frame);
    }
    EXPECT_EQ(frames, V({1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3}));
    EXPECT_EQ(V({flyer->x, flyer->y, flyer->dx}), V({1500, 100 + 44, 0}));
    const int cases[][4] = {{100, 1000, 100, 3}, {96, 1000, 100, 3}, {95, 500, 100, 4},
                            {76, 500, 100, 4},   {75, 100, 100, 7},  {40, 100, 65, 7}};
    for (const auto& c : cases) {
        CreateCarePackage(flyer, 1500, 120);
        Place(300, 100);
        life = c[0], score = 0, respawn = 7;
        EXPECT_EQ(V({Shoot(305, 176, kFlyerCarePackage), Shoot(305, 177, kFlyerCarePackage)}),
                  V({0, 1}))
            << "row 76 is parachute";
        EXPECT_EQ(V({score, life, flyer->alive, respawn}), V({c[1], c[2], 0, 9})) << c[0];
        EXPECT_EQ(PopupAt(popupList.tail), V({1500 - 5 - 20, 100, c[3]}));
    }
    CreateCarePackage(flyer, 1500, 361);
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerCarePackage);
    EXPECT_EQ(V({flyer->alive, respawn}), V({0, -9})) << "it fell below 344";
}

// --- bubbles ---

// Eight bubbles at the UFO's place plus (0, 0), (5, 0), (15, -10), (15, 4),
// (15, 0), (20, 0), (25, 0), (30, 0), falling 3, 3, 3, 5, 3, 4, 5, 3 plus
// rand mod 4 and drifting rand mod 6 - 3, their strip rand mod 3.
TEST_F(BubbleTest, BurstDrawsFallDriftThenStripForEachOfEightBubbles) {
    Flyer ufo = {};
    ufo.x = 2000, ufo.y = 20;
    const int spots[8][3] = {{0, 0, 3},  {5, 0, 3},  {15, -10, 3}, {15, 4, 5},
                             {15, 0, 3}, {20, 0, 4}, {25, 0, 5},   {30, 0, 3}};
    V r = Draws(4242, 25);
    BurstBubbles(&ufo);
    EXPECT_EQ(Random(), r[24]) << "three draws a bubble";
    int i = 0;
    for (Bubble* b = bubbleList.head; b; b = b->next, ++i)
        EXPECT_EQ(V({b->x, b->y, b->dy, b->dx, int(b->images[0] - bubbleImages[r[3 * i + 2] % 3])}),
                  V({2000 + spots[i][0], 20 + spots[i][1], r[3 * i] % 4 + spots[i][2],
                     r[3 * i + 1] % 6 - 3, 0}))
            << i;
    EXPECT_EQ(i, 8);
}

TEST_F(BubbleTest, BubblesOutsideTheViewWaitUntouchedAndTheGroundTakesThem) {
    Bubble* right = CreateBubble(cameraX + 800, 100, 1, 3);  // sx exactly 800
    Bubble* left = CreateBubble(cameraX - 8, 100, 1, 3);     // right edge exactly at 0
    Bubble* edge = CreateBubble(cameraX - 7, 100, 1, 3);     // one column shows
    right->frame = left->frame = 5;
    for (int n = 0; n < 10; ++n)
        BubblePass(0);
    EXPECT_EQ(V({right->x, right->y, right->frame, left->y, left->frame, edge->y}),
              V({cameraX + 800, 100, 5, 100, 5, 130}));
    cameraX += 100;  // the view reaches the right one: it carries on
    BubblePass(0);
    EXPECT_EQ(V({right->y, right->frame}), V({103, 6}));
    FreeAllBubbles();
    Bubble* stays = CreateBubble(1300, 340, 0, 4);
    CreateBubble(1400, 340, 0, 5);
    BubblePass(0);
    EXPECT_EQ(V({bubbleList.Count(), stays->y}), V({1, 344}));
}

// A hit (500) bursts the bubble, its frame carried on: bursting frames f + 1
// to 7 show. One bubble a shot; a bursting one lets it through.
TEST_F(BubbleTest, HitCarriesTheFrameIntoTheBurstOneBubbleAShot) {
    Bubble* b = CreateBubble(1300, 100, 0, 0);  // screen x 100, standing
    Bubble* second = CreateBubble(1300, 100, 0, 0);
    b->frame = 3;
    EXPECT_EQ(V({BubblePass(1, 108, 104), BubblePass(1, 104, 108), BubblePass(1, 99, 104),
                 BubblePass(1, 103, 103, 1), b->state}),
              V({0, 0, 0, 1, kBubbleDrifting}))
        << "x = frame width, y = height, left of it, a used shot";
    b->frame = 3;
    EXPECT_EQ(V({BubblePass(1, 100, 100), b->state, b->frame, second->state, score,
                 gameStats.bubblesShot}),
              V({1, kBubbleBursting, 4, kBubbleDrifting, 500, 1}));
    EXPECT_EQ(PopupAt(popupList.head), V({1300, 100, 4})) << "where it was hit, before moving";
    EXPECT_EQ(V({BubblePass(1, 103, 103), second->state}), V({1, kBubbleBursting}));
    FreeAllBubbles();
    CreateBubble(1300, 100, 0, 0)->frame = 3;
    V shown = {BubblePass(1, 100, 100)};  // bursting frames 4..7 show, then it goes
    for (int n = 0; n < 5; ++n)
        shown.push_back((BubblePass(0), At(kBurst, 106, 106)));
    EXPECT_EQ(shown, V({1, 4, 5, 6, 7, -1}));
    Bubble* holed = CreateBubble(1300, 100, 0, 0);
    putpixel(holed->images[0], 2, 2, bitmap_mask_color(backBuffer));
    EXPECT_EQ(BubblePass(1, 102, 102), 0) << "a transparent pixel misses";
}

// --- walkers ---

TEST_F(WalkerTest, ShotWalkerScoresAndShowsExplosionFramesOneToFourteenThenGoes) {
    AddWalker(false, 1300)->facing = 0;
    Aim(1310, 320);
    EXPECT_EQ(V({WalkerPass(1), score, Plays(&fakeHit)}), V({1, 500, 1}));
    EXPECT_EQ(PopupAt(popupList.head), V({1300 + 10 - 20, 313, 4})) << "on the walking frame";
    V shown;  // the pointer still rests on it: an exploding walker takes no shot
    for (int k = 1; k <= 14; ++k)
        shown.push_back((WalkerPass(1), walkerCount ? At(kExplode, 105, 320) : -1));
    EXPECT_EQ(shown, V({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, -1}));
    EXPECT_EQ(V({walkerCount, score}), V({0, 500}));
}

// She plays "fpwalkl.bmp" from its last frame to its first; he and she
// walking right play theirs forwards. The shot is tested on what shows.
TEST_F(WalkerTest, FemaleWalkingLeftShowsHerStripBackwardsAlsoToTheShot) {
    const int cases[][4] = {{1, 0, kWalkL, 8}, {1, 1, kWalkR, 3}, {0, 0, kWalkL, 3}};
    for (const auto& c : cases) {
        Walker* w = AddWalker(c[0], 1300);
        w->facing = uint8_t(c[1]), w->frame = 3;
        EXPECT_TRUE(DrawWalker(w, backBuffer));
        EXPECT_EQ(At(c[2], 105, 320), c[3]) << c[0] << c[1];
        FreeWalker(w);
    }
    Walker* w = AddWalker(true, 1300);
    w->facing = 0, w->frame = 2;  // drawn and tested before the pass advances it: frame 9 shows
    putpixel(walkerImages[1][kWalkLeftStrip], 9 * 20 + 10, 10, bitmap_mask_color(backBuffer));
    Aim(1310, 323);
    EXPECT_EQ(WalkerPass(1), 0);
    w->frame = 2;
    Aim(1311, 323);  // it stepped to 1295: its column 16
    EXPECT_EQ(WalkerPass(1), 1);
}

// New walkers head for the middle and walk 5 a frame, turning at x 0 and
// 3120; a free walker of the other kind closer than 50 pairs, the one
// further left facing right; of three, the first in list order pair.
TEST_F(WalkerTest, WalkersTurnAtTheEndsAndPairBelowFiftyPixelsFacingEachOther) {
    EXPECT_EQ(V({AddWalker(false, 1600)->facing, AddWalker(true, 1601)->facing}), V({1, 0}));
    FreeAllWalkers();
    const int cases[][4] = {{6, 0, 1, 0}, {5, 0, 1, 1}, {3114, 1, 3119, 1}, {3115, 1, 3119, 0}};
    for (const auto& c : cases) {
        Walker* w = AddWalker(false, c[0]);
        w->facing = uint8_t(c[1]);
        UpdateWalker(w);
        EXPECT_EQ(V({w->x, w->facing, w->y}), V({c[2], c[3], 313})) << c[0];
        FreeWalker(w);
    }
    Walker* m = AddWalker(false, 1000);
    Walker* f = AddWalker(true, 1055);  // 50 after the male's step
    UpdateWalker(m);
    EXPECT_EQ(m->state, kWalkerWalking);
    m->x = 1000, f->x = 1054, f->facing = 1;  // 49 after the step
    UpdateWalker(m);
    EXPECT_EQ(V({m->state, f->state, m->facing, f->facing, cuddleSoundCount}),
              V({kWalkerCuddling, kWalkerCuddling, 1, 0, 1}));
    EXPECT_TRUE(m->partner == f && f->partner == m);
    Walker* f2 = AddWalker(true, 2000);  // at equal x the walker being updated faces right
    Walker* m2 = AddWalker(false, 2005);
    f2->facing = 1;
    UpdateWalker(f2);
    EXPECT_EQ(V({f2->facing, m2->facing, cuddleSoundCount, Plays(&fakeCuddle)}), V({1, 0, 2, 1}));
    FreeAllWalkers();
    Walker* c = AddWalker(true, 1320);
    Walker* a = AddWalker(false, 1300);
    Walker* b = AddWalker(false, 1330);  // nearer to c, but later in the list
    WalkerPass(0);
    EXPECT_TRUE(c->partner == a && a->partner == c && !b->partner);
}

// Pair A loses both: the count drops once for it while pair B cuddles on.
// Then B loses its male: she walks on the way she faced him, and the loop
// stops with the last pair.
TEST_F(WalkerTest, AShotPairsPartnerWalksOnAndTheLoopStopsWithTheLastPair) {
    Walker* am = AddWalker(false, 1300);
    Walker* af = AddWalker(true, 1320);
    Walker* bm = AddWalker(false, 1500);
    Walker* bf = AddWalker(true, 1520);
    WalkerPass(0);
    ASSERT_EQ(V({cuddleSoundCount, bf->facing}), V({2, 0}));
    for (Walker* w : {am, af, bm}) {
        Aim(w->x + 15, 330);
        ASSERT_EQ(WalkerPass(1), 1);
        EXPECT_EQ(popupList.tail->x, w->x + 15 - 20) << "centred on the cuddling frame";
    }
    for (int i = 0; i < 13; ++i)
        WalkerPass(0);
    EXPECT_EQ(V({walkerCount, cuddleSoundCount, bf->state}), V({2, 1, kWalkerCuddling}));
    WalkerPass(0);
    EXPECT_EQ(V({walkerCount, cuddleSoundCount, bf->state, bf->x, !bf->partner}),
              V({1, 0, kWalkerWalking, 1520 - 5, 1}));
    EXPECT_EQ(SoundsOf(hp, &fakeCuddle), B({true, false}));
}

// Every 40 frames while fewer walkers than sites: at the least used site
// (ties: the last), 60 right of it; the first male, then the kinds balance.
TEST_F(WalkerTest, SpawnsEveryFortyFramesAtTheLeastUsedSiteWhileFewerThanSites) {
    walkerSiteCount = 3;
    const int xs[3] = {400, 1200, 2000}, usage[3] = {1, 0, 0};
    for (int i = 0; i < 3; ++i)
        walkerSiteX[i] = xs[i], walkerSiteUsage[i] = usage[i];
    auto tail = [] { return walkerCount ? V({walkerList.tail->x, walkerList.tail->gender}) : V(); };
    for (int i = 0; i < 39; ++i)
        WalkerPass(0);
    EXPECT_EQ(tail(), V());
    WalkerPass(0);
    EXPECT_EQ(tail(), V({2060, kWalkerMale}));
    for (int i = 0; i < 40; ++i)
        WalkerPass(0);
    EXPECT_EQ(tail(), V({1260, kWalkerFemale})) << "(1, 0, 1): the middle one";
    walkerSpawnCountdown = 1;
    SpawnWalker();  // (1, 1, 1): the last again
    EXPECT_EQ(tail(), V({2060, kWalkerMale}));
    FreeWalker(walkerList.head);  // one female, one male left: a male is next
    walkerSpawnCountdown = 1;
    SpawnWalker();
    walkerSpawnCountdown = 5;
    WalkerPass(0);  // three walkers on three sites: no countdown
    EXPECT_EQ(V({walkerList.tail->gender, walkerSpawnCountdown}), V({kWalkerMale, 5}));
}

// Over the male of a pair, 50 rows above: 34 left of a left-facing male, 72
// in from a right-facing one's right edge; one step per walker in the list.
TEST_F(WalkerTest, HeartBeatsOverTheMaleAndAdvancesOncePerWalker) {
    Walker* m = AddWalker(false, 1300);
    AddWalker(true, 1320);
    AddWalker(true, 2900);  // far off screen: still advances the heart
    WalkerPass(0);
    int hx = m->x - cameraX + 30 - 72;  // drawn before the three advances
    EXPECT_EQ(V({m->facing, heartAnim->frame, At(kHeart, hx, 263), At(kHeart, hx - 1, 263),
                 At(kHeart, hx, 262)}),
              V({1, 3, 0, -1, -1}));
    FreeAllWalkers();
    AddWalker(true, 1300);
    m = AddWalker(false, 1320);  // he stands right of her and faces left
    WalkerPass(0);
    hx = m->x - cameraX - 34;  // drawn after her advance
    EXPECT_EQ(V({m->facing, At(kHeart, hx, 263), At(kHeart, hx - 1, 263)}), V({0, 4, -1}));
}

// --- shooters ---

// Each beam frame shows for two frames; then a walk of 10..89 frames, a
// fire of 20..49 and a walk of 130..219, each drawn from the generator.
TEST_F(ShooterTest, BeamsEachFrameTwiceThenWalksFiresAndWalksForTheirDrawnTimes) {
    Shooter* s = Spawn(false, 1500, 1);
    V r = Draws(RandomState(), 3), beam;
    int walk1 = 0, fire = 0, walk2 = 0;
    for (int n = 0; n < 1000 && !(walk2 && !s->walking); ++n) {
        // Firing at screen x 650: no damage draws between the phases.
        cameraX = std::min(std::max(s->x - 650, 0), 2400);
        if (s->beaming)
            beam.push_back(s->frame);
        else
            ++(!s->walking ? fire : fire ? walk2 : walk1);
        UpdateShooterList(smallShooters, 0);
    }
    EXPECT_EQ(beam, V({0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6}));
    EXPECT_EQ(V({walk1, fire, walk2}), V({r[0] % 80 + 10, r[1] % 30 + 20, r[2] % 90 + 130}));
}

// A walk time that runs out off screen is drawn anew once it is below 0; on
// screen (its walking frame overlapping 0..799 after the step) it fires. It
// turns only at the end it walks towards.
TEST_F(ShooterTest, NeverStartsFiringOffScreenAndTurnsAtTheEnds) {
    const int cases[][3] = {{794, 1, 1}, {795, 1, 0}, {-14, 0, 1}, {-15, 0, 0}};
    for (const auto& c : cases) {
        Shooter* s = Spawn(false, cameraX + c[0], c[1], true);
        s->timer = 1;
        UpdateShooter(s);
        V r = Draws(RandomState(), 1);
        int walking = s->walking;
        UpdateShooter(s);
        EXPECT_EQ(V({walking, c[2] || s->timer == r[0] % 90 + 130}), V({!c[2], 1})) << c[0];
        FreeAllShooters();
    }
    const int turns[][4] = {{5, 0, 1, 1}, {6, 0, 1, 0}, {3115, 1, 3119, 0}, {3114, 1, 3119, 1}};
    for (const auto& c : turns) {
        Shooter* s = Spawn(false, c[0], c[1], true);
        UpdateShooter(s);
        EXPECT_EQ(V({s->x, s->facing}), V({c[2], c[3]})) << c[0];
        FreeAllShooters();
    }
}

// Beam at (x - 117, y - 20) small, (x - 170, y - 24) big; explosion at
// y + 10; casings at y + 90 under the firing strip; a big one rises 20 rows
// to fire; each walks on at its height.
TEST_F(ShooterTest, EachPhaseIsDrawnAtItsPlace) {
    for (int big = 0; big < 2; ++big) {
        Clear();
        Shooter* s = Spawn(big, 1500, 1);  // screen x 300
        const int y = s->y, bx = big ? 130 : 183, by = big ? y - 24 : y - 20;
        s->frame = 2;
        DrawShooter(s, backBuffer);
        EXPECT_EQ(V({At(kSBeam, bx, by), At(kSBeam, bx - 1, by), At(kSBeam, bx, by - 1)}),
                  V({2, -1, -1}));
        s->beaming = 0, s->timer = 1;
        UpdateShooter(s);  // a step to screen x 305, and it starts firing
        const int casing = s->casingFrame, fy = s->y;
        s->frame = 4;
        Clear();
        DrawShooter(s, backBuffer);
        EXPECT_EQ(V({s->walking, big ? fy : 310, At(kSFire, 305, fy), At(kSFire, 305, fy - 1),
                     At(kSCasing, 305, fy + 90), At(kSCasing, 305, fy + 89)}),
                  V({0, 310, 4, -1, casing, -1}));
        DrawShooter(s, backBuffer);
        EXPECT_EQ(At(kSCasing, 305, fy + 90), (casing + 1) % 11);
        s->dying = 1, s->frame = 5;
        Clear();
        DrawShooter(s, backBuffer);
        EXPECT_EQ(V({At(kSExplode, 305, fy + 10), At(kSExplode, 305, fy + 9)}), V({5, -1}));
        s->dying = 0, s->timer = 1;
        UpdateShooter(s);
        EXPECT_EQ(s->y, y);
    }
}

TEST_F(ShooterTest, FireDrainsLifeOnlyNearTheMiddle) {
    Shooter* s = Spawn(false, 0, 1, true);
    s->walking = 0;
    ExpectDrainWindow([&](int sx) { s->x = cameraX + sx; }, [&] { DrawShooter(s, backBuffer); });
}

// One shot takes at most one small and one big shooter, 200 points each,
// pop-ups over their middles; the explosion runs 17 frames. Edges and
// transparent pixels of the walking strip miss.
TEST_F(ShooterTest, OneShotHitsOneSmallAndOneBigOnlyOnTheirPixels) {
    Shooter* a = Spawn(false, 1300, 1, true);
    Shooter* b = Spawn(false, 1300, 1, true);
    Shooter* c = Spawn(true, 1290, 1, true);
    Aim(1310, 350);
    UpdateShooterList(smallShooters, 1);
    UpdateShooterList(bigShooters, 1);
    EXPECT_EQ(V({a->dying, b->dying, c->dying, score, Plays(&fakeHit)}), V({1, 0, 1, 400, 2}));
    EXPECT_EQ(PopupAt(popupList.head), V({1300 + 10 - 20, 333, 6}));
    EXPECT_EQ(PopupAt(popupList.tail), V({1290 + 20 - 20, 330, 6}));
    int passes = 1;  // the hit's pass among them
    for (; smallShooters.head == a && passes < 40; ++passes)
        UpdateShooterList(smallShooters, 0);
    EXPECT_EQ(passes, 17);
    rectfill(shooterImages[0][kShooterWalkLeft], 5, 10, 9, 19, bitmap_mask_color(backBuffer));
    b->facing = 0;
    // In the hole, on the left column, on the top row; then inside.
    const int shots[][3] = {{1307, 348, 0}, {1300, 350, 0}, {1310, 333, 0}, {1301, 334, 1}};
    for (const auto& shot : shots) {
        b->frame = 0, b->x = 1300;
        Aim(shot[0], shot[1]);
        UpdateShooterList(smallShooters, 1);
        EXPECT_EQ(b->dying, shot[2]) << shot[0] << "," << shot[1];
    }
}

TEST_F(ShooterTest, GunfireLoopsFromTheFirstFirerToTheLastAndEndsWithTheGame) {
    Shooter* a = Spawn(false, 1300, 1, true);
    Shooter* b = Spawn(false, 1500, 1, true);
    a->timer = b->timer = 1;
    UpdateShooterList(smallShooters, 0);
    EXPECT_EQ(V({a->walking, b->walking, shootingSoundCount}), V({0, 0, 2}));
    Aim(a->x + 10, a->y + 20);
    a->frame = 0;
    UpdateShooterList(smallShooters, 1);
    EXPECT_EQ(V({a->dying, shootingSoundCount}), V({1, 1}));
    b->timer = 1;
    UpdateShooterList(smallShooters, 0);
    EXPECT_EQ(V({b->walking, shootingSoundCount}), V({1, 0}));
    Spawn(true, 1400, 1, true)->timer = 1;
    UpdateShooters(0);
    FreeAllShooters();
    EXPECT_EQ(V({shooterCount, smallShooters.Count() + bigShooters.Count(), shootingSoundCount}),
              V({0, 0, 0}));
    EXPECT_EQ(SoundsOf(hp, &fakeGunfire), B({true, false, true, false}));
}

// --- the foreground killer ---

// It shows after 40 frames in which a pair cuddles, centred in the view with
// only its top row on screen, firing for 50..119 frames, the next delay
// 130..249; it climbs 10 rows a frame until it stands on the bottom edge.
TEST_F(KillerTest, DelayRunsOnlyWhileAPairCuddlesAndTheKillerRisesTenRowsAFrame) {
    for (int i = 0; i < 189; ++i) {
        cuddleSoundCount = i >= 100 && i < 139;
        EXPECT_FALSE(KillerFrame(k));
    }
    EXPECT_EQ(killerDelay, 1) << "kept while no pair cuddles";
    cuddleSoundCount = 1;
    V r = Draws(RandomState(), 2);
    EXPECT_TRUE(KillerFrame(k));
    EXPECT_EQ(V({k->fireTimer, killerDelay, k->y, k->x, At(kRise, 400, 599), At(kRise, 400, 598)}),
              V({r[0] % 70 + 50, r[1] % 120 + 130, 599, 1200 + 350, 0, -1}));
    for (int y = 589; y > 400; y -= 10) {
        KillerFrame(k);
        ASSERT_EQ(V({k->y, k->state}), V({y, kKillerRising}));
    }
    EXPECT_EQ(Plays(&fakeGunfire), 0);
    KillerFrame(k);
    EXPECT_EQ(V({k->y, k->state, Plays(&fakeGunfire)}), V({400, kKillerFiring, 1}));
}

TEST_F(KillerTest, FiresForItsTimeWithCasingsRunningBackwardsThenSinksAndParks) {
    RiseToFire(k);
    const int timer = k->fireTimer, first = k->casingFrame;
    V casings, expected;
    for (int i = 1; i < timer; ++i) {
        KillerFrame(k);
        if (i <= 13)  // under the guns at (x, y + 120), the strip backwards
            casings.push_back(At(kCasing, 355, 525)), expected.push_back((first - i + 23) % 11);
    }
    EXPECT_EQ(casings, expected);
    EXPECT_EQ(V({At(kCasing, 355, 519), k->state}), V({-1, kKillerFiring}));
    KillerFrame(k);
    EXPECT_EQ(V({k->state, shootingSoundCount}), V({kKillerLeaving, 0}));
    V ys;
    for (int i = 0; i < 4; ++i)
        ys.push_back(KillerFrame(k) ? k->y : -k->y);
    EXPECT_EQ(ys, V({455, 510, 565, -600}));
}

TEST_F(KillerTest, FireDrainsLifeOnlyNearTheMiddle) {
    RiseToFire(k);
    ExpectDrainWindow([&](int sx) { k->x = cameraX + sx; }, [&] { DrawKiller(k, backBuffer); });
}

// Shot (100 points) it explodes 50 pixels left, frames 1 to 17, leaving any
// later shot for other targets; firing, it lets go of its gunfire only; a
// used shot is not offered.
TEST_F(KillerTest, HitWhileFiringExplodesFiftyPixelsLeftAndReleasesOnlyItsHold) {
    StartShootingSound();  // a shooter fires too
    RiseToFire(k);
    const int x = k->x;
    hp->MouseAt(0, x - cameraX + 50, 450);
    int used = 1;
    KillerFrame(k, 1, &used);
    EXPECT_EQ(k->state, kKillerFiring) << "the shot was already taken";
    used = 0;
    KillerFrame(k, 1, &used);
    EXPECT_EQ(V({used, k->state, k->x, score, shootingSoundCount, Plays(&fakeGunfire)}),
              V({1, kKillerExploding, x - 50, 100, 1, 1}));
    EXPECT_EQ(PopupAt(popupList.head), V({x - 50 + 50 - 20, 400, 7}));
    for (int f = 1; f <= 17; ++f) {
        used = 0;
        ASSERT_TRUE(KillerFrame(k, 1, &used));
        EXPECT_EQ(V({At(kBoom, x - 50 - cameraX, 400), used}), V({f, 0}));
    }
    EXPECT_EQ(V({KillerFrame(k), k->y}), V({0, 600}));
}

// --- mole holes ---

// The hole maximum by rand mod 10: 0..2 one, 3 two, 4 three, else none. A
// hole appears only while none is in view, the gate is open and rand mod 500
// is below 5, at the middle of the view, its kind by rand mod 10 (0..2
// Peace, 3 Bazooka counting 35, else Lout) and a wait of 100 + rand mod 100.
// Out of view a hole stands still in every respect.
TEST_F(MoleHoleTest, HolesAppearByTheirTablesOnlyWhileNoneIsInViewAndTheGateIsOpen) {
    const int most[10] = {1, 1, 1, 2, 3, 0, 0, 0, 0, 0};
    const int kind[10] = {kMolePeace, kMolePeace, kMolePeace, kMoleBazooka, kMoleLout,
                          kMoleLout,  kMoleLout,  kMoleLout,  kMoleLout,    kMoleLout};
    for (int r = 0; r < 10; ++r) {
        SeedFor(10, r);
        moleHoleCount = 2;
        ChooseMoleHoleMax();
        EXPECT_EQ(V({moleHoleMax, moleHoleCount}), V({most[r], 0})) << "r " << r;
        moleHoleMax = 1;
        V d = Draws(SeedFor(10, r), 2);
        cameraX = 1000 + r;
        SpawnMoleHole();
        EXPECT_EQ(V({moleKind[0], moleX[0], moleWait[0], moleRise[0],
                     kind[r] == kMoleBazooka ? moleCountdown[0] : 35}),
                  V({kind[r], 1400 + r, d[1] % 100 + 100, 0, 35}))
            << "r " << r;
        FreeMoleHoles();
    }
    moleHoleMax = 2, spawnGate = timeLeft = 8000;
    uint32_t state = RandomState();
    Step();
    EXPECT_EQ(V({moleHoleCount, RandomState() == state}), V({0, 1})) << "no draw at a shut gate";
    timeLeft = 8500;
    SeedFor(500, 5);
    Step();
    EXPECT_EQ(moleHoleCount, 0) << "5 of 500 is one too many";
    SeedFor(500, 4);
    Step();
    EXPECT_EQ(V({moleHoleCount, moleX[0], spawnGate}), V({1, 1400 + 9, 6500}));
    state = RandomState();
    Step();
    EXPECT_EQ(RandomState(), state) << "a hole in view blocks the next";
    const int wait = moleWait[0];
    cameraX = 2400;  // out of view it stands still
    for (int i = 0; i < 50; ++i)
        Step();
    EXPECT_EQ(V({moleMound[0]->frame, moleWait[0]}), V({1, wait}));
    cameraX = 1009;  // in view its mound grows six frames at row 450, then the wait runs
    V shown, want;
    for (int f = 1; f < 7; ++f)
        shown.push_back((Step(), At(kMound, 400, 466))), shown.push_back(moleWait[0]),
            want.push_back(f), want.push_back(wait - (f == 6));
    EXPECT_EQ(shown, want);
    EXPECT_EQ(V({At(kMound, 400, 470), At(kMound, 459, 469)}), V({-1, 6}));
}

// Each figure rises 5 rows a frame out of its base row at the hole's x plus
// its offset less half a Lout frame; a hit's pop-up is centred there too.
TEST_F(MoleHoleTest, FiguresRiseAtTheirPlacesAndAHitsPopupStandsOnThem) {
    const int cases[][8] = {
        {kMoleLout, kLout, 46, 466, 40, 30, 1000, 0},           // kind, tag, offset,
        {kMolePeace, kPeace, 26, 460, 40, 30, -1000, 0},        // base, frame width,
        {kMoleBazooka, kBazooka, 41, 461, 30, 10, 1000, 500}};  // height, score, time
    for (const auto& c : cases) {
        AddHole(c[0]);
        Step();
        const int x = 400 + c[2] - 20, t = c[1], top = c[3] - 5;
        EXPECT_EQ(V({moleRise[0], At(t, x, top) >= 0, At(t, x + c[4] - 1, c[3] - 1) >= 0,
                     At(t, x - 1, top), At(t, x + c[4], top), At(t, x, top - 1)}),
                  V({5, 1, 1, -1, -1, -1}))
            << c[0];
        while (moleRise[0] < c[5])
            Step();
        score = 0, timeLeft = 9000;
        hp->MouseAt(0, x + 5, c[3] - 3);
        SeedFor(10, 5);  // a shot Peace figure leaves an empty hole
        EXPECT_EQ(V({Step(1), score, timeLeft}), V({1, c[6], 9000 + c[7]}));
        EXPECT_EQ(PopupAt(popupList.head),
                  V({1600 - c[4] / 2 + c[2] - 20, c[3] - c[5], c[6] > 0 ? 3 : 2}));
        FreeAllPopups();
        FreeMoleHoles();
        CreateMoleHoleAnims();
    }
}

// Risen, a Bazooka shows its countdown / 5 20 rows over its head: 7 once,
// then 6 to 0 five frames each, and fires in the fifth frame showing 0.
TEST_F(MoleHoleTest, BazookaCountsDownFromSevenAndFiresInItsThirtySixthFrame) {
    AddHole(kMoleBazooka);
    Step();  // 5 of its 10 rows
    const int white = makecol(255, 255, 255);
    B shown = {ShowsText(backBuffer, font, "7", kAlignLeft, 415, 431, white)};
    for (int n = 0; gameRunning && n < 50; ++n)
        shown.push_back(
            (Step(), ShowsText(backBuffer, font, std::to_string(n ? 6 - (n - 1) / 5 : 7),
                               kAlignLeft, 415, 431, white)));
    B want(37, true);
    want[0] = false;  // no number while rising
    EXPECT_EQ(shown, want);
    EXPECT_EQ(V({bazookaFired, bazookaEndX, bazookaEndY}), V({1, 400 + 41 - 20, 451}));
}

// A shot Peace figure costs 1000 also while rising; by rand mod 10 it turns
// Bazooka (0, 1) counting 10..24 after a wait of 50..149, ducks (8, 9) for
// 400..899 frames, or goes.
TEST_F(MoleHoleTest, ShotPeaceFigureTurnsBazookaDucksOrGoesByItsDraw) {
    AddHole(kMolePeace);
    for (int i = 0; i < 6; ++i)
        Step();
    hp->MouseAt(0, 420, 445);
    V d = Draws(SeedFor(10, 1), 3);
    EXPECT_EQ(V({Step(1), moleKind[0], moleRise[0], moleCountdown[0], moleWait[0]}),
              V({1, kMoleBazooka, 0, d[1] % 15 + 10, d[2] % 100 + 50}));
    moleKind[0] = kMolePeace, moleRise[0] = 30, moleWait[0] = 0;
    d = Draws(SeedFor(10, 8), 2);
    Step(1);
    EXPECT_EQ(V({moleKind[0], moleRise[0], moleWait[0]}), V({kMolePeace, 0, d[1] % 500 + 400}));
    for (int r : {2, 7}) {  // shot while rising (10 rows show), it goes
        moleKind[0] = kMolePeace, moleRise[0] = 5, moleWait[0] = 0;
        Step();
        hp->MouseAt(0, 420, 455);
        SeedFor(10, r);
        EXPECT_EQ(V({Step(1), moleKind[0]}), V({1, kMoleEmpty})) << r;
    }
    EXPECT_EQ(score, -4000);
}

TEST_F(MoleHoleTest, LoutIsHitOnlyInsideItsFrameAfterTheAdvanceAndThenExplodes) {
    AddHole(kMoleLout);
    for (int i = 0; i < 6; ++i)
        Step();
    // The figure stands at x 426..465, rows 436..465. Frame 1 gets a hole
    // that frame 0 does not have.
    rectfill(moleImages[kMoleLout], 40 + 10, 10, 40 + 19, 19, bitmap_mask_color(backBuffer));
    V hits;
    for (auto [x, y] : {std::pair{426, 450}, {440, 436}})  // left column, top row
        hits.push_back((hp->MouseAt(0, x, y), Step(1)));
    moleAnims[kMoleLout]->frame = 0;  // drawn 0, tested 1
    hp->MouseAt(0, 440, 447);
    hits.push_back(Step(1));
    hits.push_back(At(kLout, 440, 447));
    hits.push_back(Step(1, 1));  // a used shot is not offered
    hp->MouseAt(0, 430, 440);
    hits.push_back(Step(1));
    EXPECT_EQ(hits, V({0, 0, 0, 0, 1, 1}));
    int frames = 1;
    Step();  // as high as the figure was, 36 - 20 right of the hole
    EXPECT_EQ(V({At(kMoleBoom, 416, 431), At(kMoleBoom, 415, 431), At(kMoleBoom, 416, 430)}),
              V({0, -1, -1}));
    for (; moleKind[0] == kMoleExploding && frames < 40; ++frames)
        Step();
    EXPECT_EQ(V({frames, moleKind[0], score}), V({15, kMoleEmpty, 1000}));
}

TEST_F(MoleHoleTest, BazookaShotInItsLastFrameStillPaysButTheGameEnds) {
    AddHole(kMoleBazooka);
    moleCountdown[0] = 0;
    Step();
    hp->MouseAt(0, 430, 455);
    EXPECT_EQ(V({Step(1), score, timeLeft, moleKind[0], gameRunning}),
              V({1, 1000, 9500, kMoleExploding, 0}));
}
