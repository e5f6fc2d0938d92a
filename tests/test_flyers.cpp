// UFOs, planes, wrecks and care packages with synthetic strips: every
// frame of a strip is solid, so a hit depends only on the rectangle and on
// the mask pixels a test punches in.
#include <cstring>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/score.h"

namespace {

BITMAP* Strip(int frames, int frameW, int h, int colour) {
    BITMAP* b = create_bitmap(frames * frameW, h);
    clear_to_color(b, colour);
    return b;
}

// A seed whose first draw makes CreateUfo pick the wanted side.
uint32_t SeedForSide(bool fromRight) {
    for (uint32_t s = 1;; ++s) {
        SeedRandom(s);
        if ((Random() % 100 <= 50) == fromRight)
            return s;
    }
}

}  // namespace

class FlyerTest : public HeadlessTest {
  protected:
    const int ufoColour = makecol(0, 200, 0);
    const int careColour = makecol(200, 100, 0);

    void SetUp() override {
        HeadlessTest::SetUp();
        ufoImage = Own(Strip(4, 20, 10, ufoColour));
        planeImage = Own(Strip(4, 20, 10, makecol(0, 0, 200)));
        wreckImage = Own(Strip(4, 24, 12, makecol(100, 100, 100)));
        careImage = Own(Strip(9, 10, 100, careColour));
        scoreImage = Own(Strip(1, 40, 35 * 9, makecol(255, 255, 255)));
        bonusImage = Own(Strip(1, 60, 36 * 7, makecol(255, 255, 255)));
        for (int i = 0; i < 4; ++i)
            bubbleImages[i] = Own(Strip(i < 3 ? 14 : 8, 8, 8, makecol(0, 0, 255)));
        ResetScoreState();
        gameStats = {};
        planesShotThisGame = 0;
        cameraX = 1200;
        mouse_x = mouse_y = 0;
    }
    void TearDown() override {
        delete flyer;
        FreeAllPopups();
        FreeAllBubbles();
        ufoImage = planeImage = wreckImage = careImage = nullptr;
        scoreImage = bonusImage = nullptr;
        std::memset(bubbleImages, 0, sizeof bubbleImages);
        HeadlessTest::TearDown();
    }
    // A flyer standing still at screen (sx, y).
    void Place(int sx, int y) {
        flyer->x = cameraX + sx;
        flyer->y = y;
        flyer->dx = flyer->dy = 0;
    }
    // One update with the shot at screen (mx, my); returns the hit flag.
    int ShootAt(int mx, int my, int kind, int hitFlag = 0) {
        mouse_x = mx;
        mouse_y = my;
        UpdateFlyer(flyer, 1, &hitFlag, &respawn, kind);
        return hitFlag;
    }

    Flyer* flyer = nullptr;
    int respawn = 0;
};

TEST_F(FlyerTest, UfoCrossesFromEitherSideWithOneDrawCountingOnlyOverTheLandscape) {
    struct Side {
        bool fromRight;
        int x, dx;
        int outside;                      // updates before it first overlaps the landscape
    } sides[] = {{true, 4000, -4, 200},   // x = 4000 - 4n drops below 3200
                 {false, -800, 4, 195}};  // the 20-pixel UFO's right edge passes 0
    for (const Side& side : sides) {
        SCOPED_TRACE(side.fromRight ? "from the right" : "from the left");
        uint32_t s = SeedForSide(side.fromRight);
        SeedRandom(s);
        Random();
        uint32_t afterOne = RandomState();
        SeedRandom(s);
        Flyer* before = flyer;
        if (flyer)
            flyer->frame = 3, flyer->dy = 7;
        flyer = CreateUfo(flyer);
        EXPECT_TRUE(!before || flyer == before) << "made again in place";
        EXPECT_EQ(RandomState(), afterOne);
        EXPECT_EQ(std::vector<int>({flyer->x, flyer->y, flyer->dx, flyer->dy}),
                  std::vector<int>({side.x, 20, side.dx, 0}));
        EXPECT_EQ(flyer->frame, before ? 3 : 0) << "the frame is kept";
        respawn = 0;
        for (int n = 0; n < side.outside; ++n)
            UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
        EXPECT_EQ(respawn, 0);
        UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
        EXPECT_EQ(respawn, 1);
    }
}

TEST_F(FlyerTest, UfoIsDrawnAndAnimatedOnlyOnScreenButAlwaysMoves) {
    flyer = CreateUfo(nullptr);
    cameraX = 0;
    Place(-21, 20);  // right edge one short of the screen
    flyer->dx = 4;
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
    EXPECT_EQ(flyer->frame, 0);
    EXPECT_EQ(flyer->x, -17);
    EXPECT_EQ(respawn, 1);  // -17 + 20 > 0: overlaps the landscape
    flyer->x = -20;         // right edge exactly at 0 counts as on screen
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
    EXPECT_EQ(flyer->frame, 1);

    cameraX = 1200;
    Place(800, 20);  // off screen, inside the landscape
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
    EXPECT_EQ(flyer->frame, 1);
    Place(300, 40);
    clear_to_color(backBuffer, 0);
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerUfo);
    EXPECT_EQ(getpixel(backBuffer, 300, 40), ufoColour);
    EXPECT_EQ(getpixel(backBuffer, 319, 49), ufoColour);
    EXPECT_EQ(getpixel(backBuffer, 320, 40), 0);
    EXPECT_EQ(flyer->frame, 2);
}

TEST_F(FlyerTest, UfoHitTestSamplesTheNextFrameWithStrictRightAndBottomEdges) {
    flyer = CreateUfo(nullptr);
    Place(300, 100);
    // Frame 1 (the one tested after drawing frame 0) has a hole at (5, 5).
    putpixel(ufoImage, 20 + 5, 5, bitmap_mask_color(ufoImage));
    EXPECT_EQ(ShootAt(305, 105, kFlyerUfo), 0);
    EXPECT_EQ(flyer->alive, 1);
    EXPECT_EQ(flyer->frame, 1);
    EXPECT_EQ(ShootAt(320, 100, kFlyerUfo), 0);     // x = frameWidth: outside
    EXPECT_EQ(ShootAt(300, 110, kFlyerUfo), 0);     // y = height: outside
    EXPECT_EQ(ShootAt(305, 105, kFlyerUfo, 1), 1);  // shot already used: untouched
    EXPECT_EQ(flyer->alive, 1);
    EXPECT_EQ(score, 0);

    respawn = 55;
    EXPECT_EQ(ShootAt(300, 109, kFlyerUfo), 1);
    EXPECT_EQ(flyer->alive, 0);
    EXPECT_EQ(score, 1000);
    EXPECT_EQ(gameStats.ufosShot, 1);
    EXPECT_EQ(respawn, -9);  // -10, then one update over the landscape
    ASSERT_EQ(popupList.Count(), 1);
    EXPECT_EQ(popupList.head->x, 1500 - 10 - 20);
    EXPECT_EQ(popupList.head->y, 100);
    EXPECT_EQ(popupList.head->frame, 3);
    ASSERT_EQ(bubbleList.Count(), 8);
    EXPECT_EQ(bubbleList.head->x, 1500);

    int before = respawn;  // a dead flyer is left alone
    EXPECT_EQ(ShootAt(300, 109, kFlyerUfo), 0);
    EXPECT_EQ(respawn, before);
}

TEST_F(FlyerTest, PlaneStartsRightWithItsDropPositionAndCrashesInPlace) {
    SeedRandom(77);
    Random();
    uint32_t afterOne = RandomState();
    SeedRandom(77);
    flyer = CreatePlane(nullptr);
    EXPECT_EQ(RandomState(), afterOne);
    int drop = flyer->aux;
    EXPECT_TRUE(drop >= 400 && drop <= 2799) << drop;
    EXPECT_EQ(flyer->x, 4000);
    EXPECT_EQ(flyer->y, 30);
    EXPECT_EQ(flyer->dx, -4);
    EXPECT_EQ(CrashPlane(nullptr), nullptr);
    flyer->frame = 2;
    CrashPlane(flyer);
    // The wreck keeps x, frame and drop position, 20 rows higher.
    EXPECT_EQ(flyer->image, wreckImage);
    EXPECT_EQ(flyer->frameWidth, 24);
    EXPECT_EQ(
        std::vector<int>({flyer->x, flyer->y, flyer->frame, flyer->aux, flyer->dx, flyer->dy}),
        std::vector<int>({4000, 10, 2, drop, -2, 4}));
}

TEST_F(FlyerTest, OnlyTheSecondPlaneGivesTimeAndTheWreckPassesTheShotOn) {
    flyer = CreatePlane(nullptr);
    for (int plane = 1; plane <= 3; ++plane) {
        CreatePlane(flyer);
        Place(300, 100);
        int timeBefore = timeLeft;
        int popupsBefore = popupList.Count();
        EXPECT_EQ(ShootAt(305, 105, kFlyerPlane), 1) << plane;
        EXPECT_EQ(score, -1000 * plane);
        EXPECT_EQ(flyer->image, wreckImage);
        EXPECT_EQ(flyer->alive, 1);
        // The pop-up uses the wreck's frame width and raised y.
        Popup* lost = popupList.Count() > popupsBefore ? popupList.tail : nullptr;
        if (plane == 2) {
            EXPECT_EQ(timeLeft, timeBefore + 3000);
            ASSERT_EQ(popupList.Count(), popupsBefore + 2);
            EXPECT_EQ(lost->image, bonusImage);
            EXPECT_EQ(lost->x, 1200 + 370);
            EXPECT_EQ(lost->y, 80 + 100);
            EXPECT_EQ(lost->frame, 0);
            lost = lost->prev;
        } else {
            EXPECT_EQ(timeLeft, timeBefore);
            ASSERT_EQ(popupList.Count(), popupsBefore + 1);
        }
        EXPECT_EQ(lost->x, 1500 - 12 - 20);
        EXPECT_EQ(lost->y, 80);
        EXPECT_EQ(lost->frame, 2);
    }
    EXPECT_EQ(planesShotThisGame, 3);

    Place(300, 100);
    flyer->dy = 4;
    EXPECT_EQ(ShootAt(305, 105, kFlyerPlane), 0);  // the wreck ignores it
    EXPECT_EQ(score, -3000);
}

TEST_F(FlyerTest, WreckFallsEverFasterAndLeavesTheSkyBelow344) {
    flyer = CrashPlane(CreatePlane(nullptr));
    Place(300, 300);
    flyer->dy = 4;
    respawn = 40;
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerPlane);
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerPlane);
    EXPECT_EQ(flyer->y, 309);
    EXPECT_EQ(flyer->dy, 6);
    flyer->y = 338;
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerPlane);  // 344: still flying
    EXPECT_EQ(flyer->alive, 1);
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerPlane);
    EXPECT_EQ(flyer->alive, 0);
    EXPECT_EQ(respawn, -9);
}

TEST_F(FlyerTest, CarePackageCrateScoresByLifeAndTheParachuteIsIgnored) {
    flyer = CreateCarePackage(nullptr, 1500, 120);
    struct Case {
        int lifeBefore, points, lifeAfter;
    } cases[] = {{100, 1000, 100}, {96, 1000, 100}, {95, 500, 100},
                 {76, 500, 100},   {75, 100, 100},  {40, 100, 65}};
    for (const Case& c : cases) {
        CreateCarePackage(flyer, 1500, 120);
        Place(300, 100);
        life = c.lifeBefore;
        score = 0;
        respawn = 7;
        EXPECT_EQ(ShootAt(305, 176, kFlyerCarePackage), 0) << "row 76 is parachute";
        EXPECT_EQ(score, 0);
        EXPECT_EQ(ShootAt(305, 177, kFlyerCarePackage), 1) << c.lifeBefore;
        EXPECT_EQ(score, c.points) << c.lifeBefore;
        EXPECT_EQ(life, c.lifeAfter) << c.lifeBefore;
        EXPECT_EQ(flyer->alive, 0);
        EXPECT_EQ(respawn, 9);  // not reset, only counted
    }
}

TEST_F(FlyerTest, CarePackageTurnsEveryFifthUpdateAndFallsAtFour) {
    flyer = CreateCarePackage(nullptr, 1500, 120);
    std::vector<int> frames;
    for (int n = 0; n < 11; ++n) {
        UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerCarePackage);
        frames.push_back(flyer->frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3}));
    EXPECT_EQ(flyer->y, 100 + 44) << "starts 20 rows above the drop point, falls 4 a frame";
    flyer->y = 341;
    UpdateFlyer(flyer, 0, nullptr, &respawn, kFlyerCarePackage);
    EXPECT_EQ(flyer->alive, 0);
    EXPECT_EQ(respawn, -9);
}
