// The foreground killer with synthetic strips: rising picture 100 x 200 (so
// it stands at y 400), firing strip 10 x (100 x 200), explosion 18 x (150 x
// 200), casings 11 x (10 x 10).
#include "ground_strips.h"
#include "world/killer.h"

namespace {
enum Tag { kRise, kFire, kBoom, kCasing };
}  // namespace

class KillerTest : public GroundTest {
  protected:
    void SetUp() override {
        GroundTest::SetUp();
        killerRiseImage = Own(Strip(kRise, 1, 100, 200));
        killerImage = Own(Strip(kFire, 10, 100, 200));
        killerExplodeImage = Own(Strip(kBoom, 18, 150, 200));
        killerCasingImage = Own(Strip(kCasing, 11, 10, 10));
        k = CreateKiller();
        killerDelay = kKillerFirstDelay;
    }
    void TearDown() override {
        FreeKiller(k);
        killerRiseImage = killerImage = killerExplodeImage = killerCasingImage = nullptr;
        cuddleSoundCount = 0;  // the tests make pairs cuddle by hand
        GroundTest::TearDown();
    }
    // The killer's share of a game frame: update, draw, then the shot.
    bool Frame(int fired = 0, int* used = nullptr) {
        int unused = 0;
        UpdateKiller(k);
        clear_to_color(backBuffer, 0);
        bool drawn = DrawKiller(k, backBuffer);
        if (drawn)
            HitKiller(k, fired, used ? used : &unused);
        return drawn;
    }
    // Shown and risen to its firing place.
    void RiseToFire() {
        ShowKiller(k);
        while (k->state == kKillerRising)
            Frame();
    }
    Killer* k = nullptr;
};

TEST_F(KillerTest, DelayRunsOnlyWhileAPairCuddlesAndTheKillerRisesTenRowsAFrame) {
    for (int i = 0; i < 100; ++i)
        EXPECT_FALSE(Frame());
    EXPECT_EQ(killerDelay, 40);
    cuddleSoundCount = 1;
    for (int i = 0; i < 39; ++i)
        Frame();
    cuddleSoundCount = 0;
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(Frame());
    EXPECT_EQ(killerDelay, 1) << "kept while no pair cuddles";
    cuddleSoundCount = 1;
    EXPECT_TRUE(Frame());
    EXPECT_EQ(k->y, 599);
    EXPECT_EQ(k->x, 1200 + 350);
    EXPECT_TRUE(killerDelay >= 130 && killerDelay <= 249) << killerDelay;
    EXPECT_EQ(FrameAt(backBuffer, kRise, 400, 599), 0) << "only the top row shows";
    EXPECT_EQ(getpixel(backBuffer, 400, 598), 0);
    for (int y = 589; y > 400; y -= 10) {
        Frame();
        ASSERT_EQ(k->y, y);
        ASSERT_EQ(k->state, kKillerRising);
    }
    EXPECT_TRUE(SoundsOf(hp->sounds, &fakeGunfire).empty());
    Frame();
    EXPECT_EQ(k->y, 400);
    EXPECT_EQ(k->state, kKillerFiring);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeGunfire), std::vector<bool>{true});
}

TEST_F(KillerTest, FiresForItsTimeThenSinksAndParks) {
    RiseToFire();
    int timer = k->fireTimer;
    ASSERT_TRUE(timer >= 50 && timer <= 119) << timer;
    for (int i = 1; i < timer; ++i)
        Frame();
    EXPECT_EQ(k->state, kKillerFiring);
    Frame();
    EXPECT_EQ(k->state, kKillerLeaving);
    EXPECT_EQ(shootingSoundCount, 0);
    for (int y : {455, 510, 565}) {
        EXPECT_TRUE(Frame());
        EXPECT_EQ(k->y, y);
    }
    EXPECT_FALSE(Frame());
    EXPECT_GE(k->y, kKillerParkedY);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeGunfire), (std::vector<bool>{true, false}));
}

TEST_F(KillerTest, HitWhileFiringExplodesFiftyPixelsLeftAndReleasesOnlyItsHold) {
    StartShootingSound();  // a shooter fires too
    RiseToFire();
    int x = k->x;
    hp->MouseAt(0, x - cameraX + 50, 450);
    int used = 0;
    Frame(1, &used);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(k->state, kKillerExploding);
    EXPECT_EQ(k->x, x - 50);
    EXPECT_EQ(score, kKillerPoints);
    EXPECT_EQ(shootingSoundCount, 1);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeGunfire), std::vector<bool>{true});
    for (int f = 1; f <= 17; ++f) {
        used = 0;
        ASSERT_TRUE(Frame(1, &used));
        EXPECT_EQ(FrameAt(backBuffer, kBoom, x - 50 - cameraX + 1, 401), f);
        EXPECT_EQ(used, 0) << "an exploding killer leaves the shot for others";
    }
    EXPECT_FALSE(Frame());
    EXPECT_EQ(k->y, kKillerParkedY);
    EXPECT_EQ(score, kKillerPoints);
}

TEST_F(KillerTest, HitWhileRisingLeavesTheGunfireAloneAndUsedShotsAreIgnored) {
    ShowKiller(k);
    Frame();
    Frame();  // y 579
    hp->MouseAt(0, k->x - cameraX + 50, 590);
    int used = 1;
    Frame(1, &used);
    EXPECT_EQ(k->state, kKillerRising) << "the shot was already taken";
    used = 0;
    Frame(1, &used);
    EXPECT_EQ(k->state, kKillerExploding);
    EXPECT_EQ(used, 1);
    EXPECT_TRUE(SoundsOf(hp->sounds, &fakeGunfire).empty());
    EXPECT_EQ(shootingSoundCount, 0);
}
