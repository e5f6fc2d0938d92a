// Mole holes with synthetic strips: mound 7 x (60 x 20); Lout 9 x (40 x 30),
// so half a Lout frame is 20; Peace 17 x (40 x 30); Bazooka one 30 x 10
// frame; explosion 15 x (40 x 30). Holes sit at screen x 400 (landscape 1600).
#include <cstring>

#include "ground_strips.h"
#include "world/moleholes.h"

namespace {
enum Tag { kMound, kLout, kPeace, kBazooka, kBoom };

// The seed whose first draw mod 10 is one of `wanted`.
uint32_t SeedFor(std::initializer_list<int> wanted) {
    for (uint32_t seed = 1;; ++seed) {
        SeedRandom(seed);
        int r = Random() % 10;
        for (int w : wanted)
            if (r == w)
                return seed;
    }
}

// The digit printed with the built-in font at (x, y), or -1.
int DigitAt(BITMAP* bmp, int x, int y) {
    BITMAP* ref = create_bitmap(8, 8);
    int found = -1;
    for (int d = 0; d <= 9 && found < 0; ++d) {
        clear_to_color(ref, 0);
        textprintf_ex(ref, font, 0, 0, makecol(255, 255, 255), -1, "%i", d);
        bool same = true;
        for (int j = 0; j < 8 && same; ++j)
            for (int i = 0; i < 8 && same; ++i)
                same = getpixel(ref, i, j) == getpixel(bmp, x + i, y + j);
        if (same)
            found = d;
    }
    destroy_bitmap(ref);
    return found;
}
}  // namespace

class MoleHoleTest : public GroundTest {
  protected:
    void SetUp() override {
        GroundTest::SetUp();
        moundImage = Own(Strip(kMound, 7, 60, 20));
        moleImages[kMoleLout] = Own(Strip(kLout, 9, 40, 30));
        moleImages[kMolePeace] = Own(Strip(kPeace, 17, 40, 30));
        moleImages[kMoleBazooka] = Own(Strip(kBazooka, 1, 30, 10));
        moleImages[kMoleExploding] = Own(Strip(kBoom, 15, 40, 30));
        CreateMoleHoleAnims();
        moleHoleCount = 0;
        moleHoleMax = 3;
        timeLeft = 9000;
        spawnGate = 8000;
        gameRunning = 1;
        bazookaFired = 0;
    }
    void TearDown() override {
        FreeMoleHoles();
        moundImage = nullptr;
        std::memset(moleImages, 0, sizeof moleImages);
        gameRunning = 1;
        bazookaFired = 0;
        GroundTest::TearDown();
    }
    // A grown hole at the middle of the view whose figure rises at once.
    int AddHole(int kind) {
        SpawnMoleHole();
        int i = moleHoleCount - 1;
        moleKind[i] = kind;
        moleCountdown[i] = 35;
        moleWait[i] = 0;
        moleMound[i]->frame = 6;
        return i;
    }
    int Step(int fired = 0, int used = 0) {
        clear_to_color(backBuffer, 0);
        UpdateMoleHoles(backBuffer, fired, &used);
        return used;
    }
    void Aim(int x, int y) { hp->MouseAt(0, x, y); }
};

TEST_F(MoleHoleTest, HoleMaximumFollowsItsTable) {
    const int expected[10] = {1, 1, 1, 2, 3, 0, 0, 0, 0, 0};
    for (int r = 0; r < 10; ++r) {
        SeedRandom(SeedFor({r}));
        moleHoleCount = 2;
        ChooseMoleHoleMax();
        EXPECT_EQ(moleHoleMax, expected[r]) << "r " << r;
        EXPECT_EQ(moleHoleCount, 0);
    }
}

TEST_F(MoleHoleTest, NewHoleOnlyWhileNoneIsInViewAndTheGateIsOpen) {
    moleHoleMax = 0;
    uint32_t state = RandomState();
    for (int i = 0; i < 1000; ++i)
        Step();
    EXPECT_EQ(moleHoleCount, 0);
    EXPECT_EQ(RandomState(), state) << "no draw without room for a hole";

    moleHoleMax = 2;
    spawnGate = timeLeft;
    for (int i = 0; i < 1000; ++i)
        Step();
    EXPECT_EQ(moleHoleCount, 0);
    EXPECT_EQ(RandomState(), state) << "no draw while the gate is shut";

    spawnGate = 8000;
    AddHole(kMoleLout);
    state = RandomState();
    for (int i = 0; i < 1000; ++i)
        Step();
    EXPECT_EQ(moleHoleCount, 1) << "a hole in view blocks the next";
    EXPECT_EQ(RandomState(), state);

    cameraX = 2400;  // the hole at 1600 is out of view
    for (int i = 0; i < 3000 && moleHoleCount == 1; ++i)
        Step();
    ASSERT_EQ(moleHoleCount, 2);
    EXPECT_EQ(moleX[1], 2800);
    EXPECT_EQ(spawnGate, timeLeft - 2000);
    EXPECT_TRUE(moleWait[1] >= 100 && moleWait[1] <= 199) << moleWait[1];
}

TEST_F(MoleHoleTest, HoleOutOfViewStandsStillAndGrowsThenWaitsInView) {
    moleHoleMax = 1;
    SpawnMoleHole();
    moleWait[0] = 10;
    cameraX = 2400;
    for (int i = 0; i < 50; ++i)
        Step();
    EXPECT_EQ(moleMound[0]->frame, 0);
    EXPECT_EQ(moleWait[0], 10);
    cameraX = 1200;
    for (int f = 0; f < 6; ++f) {
        Step();
        EXPECT_EQ(FrameAt(backBuffer, kMound, 401, 451), f);
    }
    EXPECT_EQ(moleWait[0], 10);
    Step();
    EXPECT_EQ(moleWait[0], 9);
    EXPECT_EQ(FrameAt(backBuffer, kMound, 401, 451), 6);
}

TEST_F(MoleHoleTest, BazookaCountsDownFromSevenAndFiresInItsThirtySixthFrame) {
    AddHole(kMoleBazooka);
    Step();  // 5 of its 10 rows
    EXPECT_EQ(DigitAt(backBuffer, 415, 431), -1) << "no number while rising";
    std::vector<int> shown;
    while (gameRunning && shown.size() < 50) {
        Step();
        shown.push_back(DigitAt(backBuffer, 415, 431));
    }
    std::vector<int> expected = {7};
    for (int d = 6; d >= 0; --d)
        expected.insert(expected.end(), 5, d);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(bazookaFired, 1);
    EXPECT_EQ(bazookaEndX, 400 + 41 - 20);
    EXPECT_EQ(bazookaEndY, 451);
}

TEST_F(MoleHoleTest, ShotPeaceFigureCostsAThousandWithThreeOutcomes) {
    AddHole(kMolePeace);
    for (int i = 0; i < 6; ++i)
        Step();
    ASSERT_EQ(moleRise[0], 30);
    Aim(420, 445);
    SeedRandom(SeedFor({0, 1}));
    EXPECT_EQ(Step(1), 1);
    EXPECT_EQ(score, -1000);
    EXPECT_EQ(moleKind[0], kMoleBazooka);
    EXPECT_EQ(moleRise[0], 0);
    EXPECT_TRUE(moleCountdown[0] / 5 >= 2 && moleCountdown[0] / 5 <= 4) << moleCountdown[0] / 5;
    EXPECT_TRUE(moleWait[0] >= 50 && moleWait[0] <= 149) << moleWait[0];

    moleKind[0] = kMolePeace;
    moleRise[0] = 30;
    moleWait[0] = 0;
    SeedRandom(SeedFor({8, 9}));
    Step(1);
    EXPECT_EQ(score, -2000);
    EXPECT_EQ(moleKind[0], kMolePeace);
    EXPECT_EQ(moleRise[0], 0);
    EXPECT_TRUE(moleWait[0] >= 400 && moleWait[0] <= 899) << moleWait[0];

    moleWait[0] = 0;
    Step();
    Step();  // rising: 10 rows show
    Aim(420, 455);
    SeedRandom(SeedFor({2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Step(1), 1);
    EXPECT_EQ(score, -3000);
    EXPECT_EQ(moleKind[0], kMoleEmpty);
}

TEST_F(MoleHoleTest, LoutIsHitOnlyInsideItsFrameAfterTheAdvanceAndThenExplodes) {
    AddHole(kMoleLout);
    for (int i = 0; i < 6; ++i)
        Step();
    ASSERT_EQ(moleRise[0], 30);
    // The figure stands at x 426..465, rows 436..465. Frame 1 gets a hole
    // that frame 0 does not have.
    rectfill(moleImages[kMoleLout], 40 + 10, 10, 40 + 19, 19, bitmap_mask_color(backBuffer));
    const std::pair<int, int> misses[] = {{426, 450}, {440, 436}};
    for (auto [x, y] : misses) {
        Aim(x, y);
        EXPECT_EQ(Step(1), 0) << x << "," << y;
    }
    moleAnims[kMoleLout]->frame = 0;  // drawn 0, tested 1
    Aim(440, 447);
    EXPECT_EQ(Step(1), 0);
    EXPECT_EQ(FrameAt(backBuffer, kLout, 440, 447), 0);
    EXPECT_EQ(Step(1, 1), 1);
    EXPECT_EQ(moleKind[0], kMoleLout) << "a used shot is not offered";
    Aim(430, 440);
    EXPECT_EQ(Step(1), 1);
    EXPECT_EQ(score, 1000);
    EXPECT_EQ(moleKind[0], kMoleExploding);
    int frames = 0;
    while (moleKind[0] == kMoleExploding && frames < 40) {
        Step();
        ++frames;
    }
    EXPECT_EQ(frames, 15);
    EXPECT_EQ(moleKind[0], kMoleEmpty);
}

TEST_F(MoleHoleTest, BazookaShotInItsLastFrameStillPaysButTheGameEnds) {
    AddHole(kMoleBazooka);
    moleCountdown[0] = 0;
    Step();
    Aim(430, 455);
    EXPECT_EQ(Step(1), 1);
    EXPECT_EQ(score, 1000);
    EXPECT_EQ(timeLeft, 9500);
    EXPECT_EQ(moleKind[0], kMoleExploding);
    EXPECT_EQ(gameRunning, 0);
}
