// Shooters with synthetic strips. Small: frames 20 x 40. Big: frames 40 x 260,
// so a big shooter stands at y 330 and overlaps a small one at y 333.
#include <cstring>

#include "ground_strips.h"

class ShooterTest : public GroundTest {
  protected:
    void SetUp() override {
        GroundTest::SetUp();
        const int w[2] = {20, 40};
        const int h[2] = {40, 260};
        for (int b = 0; b < 2; ++b) {
            BITMAP** img = shooterImages[b];
            img[kShooterWalkLeft] = Own(Strip(0, 12, w[b], h[b]));
            img[kShooterWalkRight] = Own(Strip(1, 12, w[b], h[b]));
            img[kShooterFire] = Own(Strip(2, 10, w[b], h[b]));
            img[kShooterExplode] = Own(Strip(3, 17, 30, 30));
            img[kShooterBeam] = Own(Strip(4, 7, 50, 60));
            img[kCasingSlot] = Own(Strip(5, 11, 8, 8));
        }
        shooterSpawnCountdown = kShooterFirstSpawn;
    }
    void TearDown() override {
        FreeAllShooters();
        std::memset(shooterImages, 0, sizeof shooterImages);
        GroundTest::TearDown();
    }
    // A shooter that has beamed down and walks at x, not firing soon.
    Shooter* Make(bool big, int x, int facing) {
        Shooter* s = SpawnShooterAt(big, x, facing);
        s->timer = 1000;
        return s;
    }
    void Aim(int landscapeX, int y) { hp->MouseAt(hp->frame(), landscapeX - cameraX, y); }
};

TEST_F(ShooterTest, FirstBeamsDownAfterTenFramesThenEveryFortyUpToEight) {
    std::vector<int> spawnFrames;
    for (int f = 1; f <= 400; ++f) {
        int before = shooterCount;
        UpdateShooters(0);
        if (shooterCount > before)
            spawnFrames.push_back(f);
        if (f > 290) {
            ASSERT_EQ(shooterSpawnCountdown, kShooterSpawnEvery) << "stands still at 8";
        }
    }
    EXPECT_EQ(spawnFrames, (std::vector<int>{10, 50, 90, 130, 170, 210, 250, 290}));
    EXPECT_EQ(smallShooters.Count() + bigShooters.Count(), 8);
}

TEST_F(ShooterTest, EachSizeWalksAtItsOwnHeightAfterManyFiringCycles) {
    Shooter* small = Make(false, 1300, 1);
    Shooter* big = Make(true, 1400, 1);
    EXPECT_EQ(small->y, kSmallShooterY);
    EXPECT_EQ(big->y, 330);
    small->timer = big->timer = 1;
    int cycles = 0;
    for (int f = 0; f < 10000; ++f) {
        cameraX = std::max(0, std::min(kCameraMax, small->x - 300));
        big->x = small->x + 100;  // both stay in view, so both keep firing
        bool wasWalking = small->walking;
        UpdateShooterList(smallShooters, 0);
        UpdateShooterList(bigShooters, 0);
        cycles += wasWalking && !small->walking;
        ASSERT_EQ(small->y, small->walking ? kSmallShooterY : kSmallShooterY + kSmallFireShift)
            << "frame " << f;
        ASSERT_EQ(big->y, big->walking ? 330 : 310) << "frame " << f;
    }
    EXPECT_GT(cycles, 25);
}

TEST_F(ShooterTest, FireHurtsOnlyStrictlyBetween200And600AndNeverBelowZero) {
    Shooter* s = Make(false, 0, 1);
    s->walking = 0;
    for (int sx : {200, 600, -10, 790}) {
        s->x = cameraX + sx;
        for (int i = 0; i < 200; ++i)
            DrawShooter(s, backBuffer);
        EXPECT_EQ(life, 100) << "sx " << sx;
    }
    for (int sx : {201, 599}) {
        life = 100;
        s->x = cameraX + sx;
        for (int i = 0; i < 200; ++i)
            DrawShooter(s, backBuffer);
        EXPECT_LT(life, 30) << "sx " << sx;  // about 98 of 200 draws hurt
    }
    life = 1;
    for (int i = 0; i < 50; ++i)
        DrawShooter(s, backBuffer);
    EXPECT_EQ(life, 0);
}

TEST_F(ShooterTest, OneShotHitsOneSmallAndOneBigButNotTwoSmall) {
    Shooter* a = Make(false, 1300, 1);
    Shooter* b = Make(false, 1300, 1);
    Shooter* c = Make(true, 1290, 1);
    Aim(1310, 350);
    UpdateShooterList(smallShooters, 1);
    UpdateShooterList(bigShooters, 1);
    EXPECT_TRUE(a->dying);
    EXPECT_FALSE(b->dying);
    EXPECT_TRUE(c->dying);
    EXPECT_EQ(score, 2 * kShooterPoints);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeHit).size(), 2u);
}

TEST_F(ShooterTest, ShotMissesTransparentPixelsAndTheFramesEdges) {
    Shooter* s = Make(false, 1300, 0);
    // Frame 0 of the walking-left strip gets a transparent hole.
    rectfill(shooterImages[0][kShooterWalkLeft], 5, 10, 9, 19, bitmap_mask_color(backBuffer));
    s->timer = 1000;
    // In the hole, on the left column, on the top row.
    const std::pair<int, int> misses[] = {{1307, 333 + 15}, {1300, 350}, {1310, 333}};
    for (auto [x, y] : misses) {
        s->frame = 0;
        s->x = 1300;
        Aim(x, y);
        UpdateShooterList(smallShooters, 1);
        EXPECT_FALSE(s->dying) << x << "," << y;
    }
    s->frame = 0;
    s->x = 1300;
    Aim(1301, 334);
    UpdateShooterList(smallShooters, 1);
    EXPECT_TRUE(s->dying);
}

TEST_F(ShooterTest, GunfireLoopsFromTheFirstFirerToTheLast) {
    Shooter* a = Make(false, 1300, 1);
    Shooter* b = Make(false, 1500, 1);
    a->timer = b->timer = 1;
    UpdateShooterList(smallShooters, 0);
    ASSERT_FALSE(a->walking);
    ASSERT_FALSE(b->walking);
    EXPECT_EQ(shootingSoundCount, 2);
    Aim(a->x + 10, a->y + 20);
    a->frame = 0;
    UpdateShooterList(smallShooters, 1);
    ASSERT_TRUE(a->dying);
    EXPECT_EQ(shootingSoundCount, 1);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeGunfire), std::vector<bool>{true});
    b->timer = 1;
    UpdateShooterList(smallShooters, 0);
    EXPECT_TRUE(b->walking);
    EXPECT_EQ(shootingSoundCount, 0);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeGunfire), (std::vector<bool>{true, false}));
}

TEST_F(ShooterTest, EndOfGameEmptiesBothListsAndSilencesEvenWithoutASample) {
    Make(false, 1300, 1)->timer = 1;
    Make(true, 1400, 1)->timer = 1;
    UpdateShooters(0);
    ASSERT_EQ(shootingSoundCount, 2);
    FreeAllShooters();
    EXPECT_EQ(shooterCount, 0);
    EXPECT_TRUE(smallShooters.Empty() && bigShooters.Empty());
    EXPECT_EQ(shootingSoundCount, 0);
    EXPECT_FALSE(SoundsOf(hp->sounds, &fakeGunfire).back());

    shootingSample = nullptr;
    StartShootingSound();
    StopShootingSound();
    StopShootingSound();
    EXPECT_EQ(shootingSoundCount, 0);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeGunfire).size(), 2u);
}
