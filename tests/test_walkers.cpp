// Walkers with synthetic strips: walking frames 20 wide, cuddling 30,
// exploding 40, all 30 high; the view starts at 1200.
#include <cstring>

#include "ground_strips.h"

namespace {
enum Tag { kWalkL, kWalkR, kCuddleL, kCuddleR, kExplode, kHeart };
}  // namespace

class WalkerTest : public GroundTest {
  protected:
    void SetUp() override {
        GroundTest::SetUp();
        BITMAP* strips[kWalkerStrips] = {
            Own(Strip(kWalkL, 12, 20, 30)), Own(Strip(kWalkR, 12, 20, 30)),
            Own(Strip(kCuddleL, 12, 30, 30)), Own(Strip(kCuddleR, 12, 30, 30)),
            Own(Strip(kExplode, 15, 40, 30))};
        for (int g = 0; g < 2; ++g)
            for (int s = 0; s < kWalkerStrips; ++s)
                walkerImages[g][s] = strips[s];
        heartImage = Own(Strip(kHeart, 13, 10, 10));
        heartAnim = CreateAnim(heartImage, kHeartFrames);
        walkerSiteCount = 0;
        walkerSpawnCountdown = kWalkerSpawnEvery;
    }
    void TearDown() override {
        FreeAllWalkers();
        FreeAnim(heartAnim);
        heartAnim = nullptr;
        heartImage = nullptr;
        std::memset(walkerImages, 0, sizeof walkerImages);
        GroundTest::TearDown();
    }
    Walker* Add(bool female, int x) {
        Walker* w = female ? CreateFemaleWalker(x) : CreateMaleWalker(x);
        walkerList.Append(w);
        return w;
    }
    void Aim(int landscapeX, int y) { hp->MouseAt(hp->frame(), landscapeX - cameraX, y); }
    // One walker pass with the shot, or without when hit is already 1.
    int Pass(int firing, int hit = 0) {
        clear_to_color(backBuffer, 0);
        UpdateWalkers(backBuffer, firing, &hit);
        return hit;
    }
};

TEST_F(WalkerTest, ShotWalkerShowsExplosionFramesOneToFourteenAndIsFreedAtFourteen) {
    Walker* w = Add(false, 1300);
    w->facing = 0;
    Aim(1310, 320);
    EXPECT_EQ(Pass(1), 1);
    EXPECT_EQ(score, kWalkerPoints);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeHit).size(), 1u);
    // The walker has stood still since the hit; it is drawn at x 100 (screen).
    for (int k = 1; k <= 14; ++k) {
        ASSERT_EQ(walkerCount, 1) << "freed too early, before explosion frame " << k;
        Pass(1);  // the pointer still rests on it: an exploding walker takes no shot
        EXPECT_EQ(FrameAt(backBuffer, kExplode, 105, 320), k);
    }
    EXPECT_EQ(walkerCount, 0);
    EXPECT_TRUE(walkerList.Empty());
    EXPECT_EQ(score, kWalkerPoints);
}

TEST_F(WalkerTest, PairsBelowFiftyPixelsFacingEachOther) {
    Walker* m = Add(false, 1000);
    Walker* f = Add(true, 1055);  // 50 after the male's step
    ASSERT_TRUE(UpdateWalker(m));
    EXPECT_EQ(m->state, kWalkerWalking);

    m->x = 1000;
    f->x = 1054;  // 49 after the step
    f->facing = 1;
    ASSERT_TRUE(UpdateWalker(m));
    EXPECT_EQ(m->state, kWalkerCuddling);
    EXPECT_EQ(f->state, kWalkerCuddling);
    EXPECT_EQ(m->partner, f);
    EXPECT_EQ(f->partner, m);
    EXPECT_EQ(m->facing, 1) << "the one further left faces right";
    EXPECT_EQ(f->facing, 0);
    EXPECT_EQ(cuddleSoundCount, 1);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeCuddle), std::vector<bool>{true});

    // At equal x the walker being updated faces right.
    Walker* f2 = Add(true, 2000);
    Walker* m2 = Add(false, 2005);
    f2->facing = 1;
    ASSERT_TRUE(UpdateWalker(f2));  // f2 steps to 2005
    EXPECT_EQ(f2->facing, 1);
    EXPECT_EQ(m2->facing, 0);
    EXPECT_EQ(cuddleSoundCount, 2);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeCuddle).size(), 1u) << "one loop for all pairs";
}

TEST_F(WalkerTest, ThreeWalkersMeetingFormOnePairInListOrder) {
    Walker* c = Add(true, 1320);
    Walker* a = Add(false, 1300);
    Walker* b = Add(false, 1330);  // nearer to c, but later in the list
    Pass(0);
    EXPECT_EQ(c->partner, a);
    EXPECT_EQ(a->partner, c);
    EXPECT_EQ(b->partner, nullptr);
    for (int i = 0; i < 5; ++i)
        Pass(0);
    EXPECT_EQ(b->state, kWalkerWalking) << "two males never pair";
    EXPECT_EQ(cuddleSoundCount, 1);
}

TEST_F(WalkerTest, ShootingBothOfAPairDropsTheCuddleCountOnce) {
    Walker* m = Add(false, 1300);
    Walker* f = Add(true, 1320);
    Pass(0);
    ASSERT_EQ(m->partner, f);
    ASSERT_EQ(cuddleSoundCount, 1);
    Aim(m->x + 15, 330);
    ASSERT_EQ(Pass(1), 1);
    Aim(f->x + 15, 330);
    ASSERT_EQ(Pass(1), 1);
    EXPECT_EQ(f->state, kWalkerExploding);
    for (int i = 0; i < 13; ++i)
        Pass(0);
    EXPECT_EQ(walkerCount, 1);
    EXPECT_EQ(cuddleSoundCount, 0);
    EXPECT_EQ(f->partner, nullptr);
    Pass(0);
    EXPECT_EQ(walkerCount, 0);
    EXPECT_EQ(maleWalkerCount + femaleWalkerCount, 0);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeCuddle), (std::vector<bool>{true, false}));
}

TEST_F(WalkerTest, SpawnPicksTheLeastUsedSiteHighestFirstAndBalancesKinds) {
    walkerSiteCount = 3;
    int xs[3] = {400, 1200, 2000};
    int usage[3] = {1, 0, 0};
    for (int i = 0; i < 3; ++i) {
        walkerSiteX[i] = xs[i];
        walkerSiteUsage[i] = usage[i];
    }
    for (int i = 0; i < 39; ++i)
        SpawnWalker();
    EXPECT_EQ(walkerCount, 0);
    SpawnWalker();
    ASSERT_EQ(walkerCount, 1);
    EXPECT_EQ(walkerList.tail->x, 2060);
    EXPECT_EQ(walkerList.tail->gender, kWalkerMale) << "the first walker is male";
    EXPECT_EQ(walkerList.tail->facing, 0);
    walkerSpawnCountdown = 1;
    SpawnWalker();  // (1, 0, 1): the middle one
    EXPECT_EQ(walkerList.tail->x, 1260);
    EXPECT_EQ(walkerList.tail->gender, kWalkerFemale);
    EXPECT_EQ(walkerList.tail->facing, 1);
    walkerSpawnCountdown = 1;
    SpawnWalker();  // (1, 1, 1): the last again
    EXPECT_EQ(walkerList.tail->x, 2060);
    EXPECT_EQ(walkerList.tail->gender, kWalkerMale);
    FreeWalker(walkerList.head);  // one female, one male left
    walkerSpawnCountdown = 1;
    SpawnWalker();
    EXPECT_EQ(walkerList.tail->gender, kWalkerMale);
}

TEST_F(WalkerTest, HeartBeatsOverTheMaleAndAdvancesOncePerWalker) {
    Walker* m = Add(false, 1300);
    Add(true, 1320);
    Add(true, 2900);  // far off screen: still advances the heart
    Pass(0);
    ASSERT_EQ(m->facing, 1);
    EXPECT_EQ(heartAnim->frame, 3);
    // Drawn with the frame it had before this pass's three advances.
    EXPECT_EQ(FrameAt(backBuffer, kHeart, m->x - cameraX + 30 - 72 + 5, kWalkerY - 45), 0);
    Pass(0);
    EXPECT_EQ(FrameAt(backBuffer, kHeart, m->x - cameraX + 30 - 72 + 5, kWalkerY - 45), 3);
    EXPECT_EQ(heartAnim->frame, 6);
}

TEST_F(WalkerTest, EndOfGameFreesEveryWalkerAndStopsTheLoop) {
    Add(false, 1300);
    Add(true, 1320);
    Add(false, 2000);
    Pass(0);
    ASSERT_EQ(cuddleSoundCount, 1);
    FreeAllWalkers();
    EXPECT_TRUE(walkerList.Empty());
    EXPECT_EQ(walkerCount + maleWalkerCount + femaleWalkerCount, 0);
    EXPECT_EQ(cuddleSoundCount, 0);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeCuddle), (std::vector<bool>{true, false}));
}

TEST_F(WalkerTest, MissingCuddleSampleKeepsCountingAndTheSwitchFollows) {
    currentCuddleSample = nullptr;
    StartCuddleSound();
    StartCuddleSound();
    StopCuddleSound();
    EXPECT_EQ(cuddleSoundCount, 1);
    SwitchCuddleSample();  // a pair cuddles: the second sample takes over at once
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeCuddleAlt), std::vector<bool>{true});
    StopCuddleSound();
    StopCuddleSound();  // one stop too many is ignored
    EXPECT_EQ(cuddleSoundCount, 0);
    EXPECT_EQ(SoundsOf(hp->sounds, &fakeCuddleAlt), (std::vector<bool>{true, false}));
}
