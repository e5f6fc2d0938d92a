// Bubbles with synthetic strips: 8x8 frames, drifting strips solid, so a
// hit depends on the rectangle and the frame only.
#include <cstring>
#include <vector>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/score.h"

class BubbleTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            bubbleImages[i] = Own(create_bitmap(14 * 8, 8));
            clear_to_color(bubbleImages[i], makecol(0, 60 + 60 * i, 200));
        }
        bubbleImages[3] = Own(create_bitmap(8 * 8, 8));
        clear_to_color(bubbleImages[3], makecol(250, 0, 0));
        scoreImage = Own(create_bitmap(40, 35 * 9));
        ResetScoreState();
        gameStats = {};
        cameraX = 1200;
        mouse_x = mouse_y = 0;
    }
    void TearDown() override {
        FreeAllBubbles();
        FreeAllPopups();
        std::memset(bubbleImages, 0, sizeof bubbleImages);
        scoreImage = nullptr;
        HeadlessTest::TearDown();
    }
    int Pass(int firing, int mx = 0, int my = 0, int hitFlag = 0) {
        mouse_x = mx;
        mouse_y = my;
        UpdateBubbles(backBuffer, firing, &hitFlag);
        return hitFlag;
    }
};

TEST_F(BubbleTest, BurstDrawsFallDriftThenStripForEachOfEightBubbles) {
    Flyer ufo = {};
    ufo.x = 2000;
    ufo.y = 20;
    SeedRandom(4242);
    struct Want {
        int dx, dy, fall, drift;
    } spots[8] = {{0, 0, 3, 0},  {5, 0, 3, 0},  {15, -10, 3, 0}, {15, 4, 5, 0},
                  {15, 0, 3, 0}, {20, 0, 4, 0}, {25, 0, 5, 0},   {30, 0, 3, 0}};
    std::vector<int> strips;
    for (Want& w : spots) {
        w.fall += Random() % 4;
        w.drift = Random() % 6 - 3;
        strips.push_back(Random() % 3);
    }
    uint32_t end = RandomState();

    SeedRandom(4242);
    BurstBubbles(&ufo);
    EXPECT_EQ(RandomState(), end);
    ASSERT_EQ(bubbleList.Count(), 8);
    int i = 0;
    for (Bubble* b = bubbleList.head; b; b = b->next, ++i) {
        EXPECT_EQ(b->x, 2000 + spots[i].dx) << i;
        EXPECT_EQ(b->y, 20 + spots[i].dy) << i;
        EXPECT_EQ(b->dy, spots[i].fall) << i;
        EXPECT_EQ(b->dx, spots[i].drift) << i;
        EXPECT_EQ(b->images[0], bubbleImages[strips[i]]) << i;
        EXPECT_EQ(b->images[1], bubbleImages[3]) << i;
    }
}

TEST_F(BubbleTest, BubblesOutsideTheViewWaitUntouched) {
    Bubble* right = CreateBubble(cameraX + 800, 100, 1, 3);  // sx exactly 800
    Bubble* left = CreateBubble(cameraX - 8, 100, 1, 3);     // right edge exactly at 0
    Bubble* edge = CreateBubble(cameraX - 7, 100, 1, 3);     // one column shows
    right->frame = left->frame = 5;
    for (int n = 0; n < 10; ++n)
        Pass(0);
    EXPECT_EQ(right->x, cameraX + 800);
    EXPECT_EQ(right->y, 100);
    EXPECT_EQ(right->frame, 5);
    EXPECT_EQ(left->y, 100);
    EXPECT_EQ(left->frame, 5);
    EXPECT_EQ(edge->y, 130);  // in view, so it moved all ten times
    cameraX += 100;           // the view reaches the right one: it carries on
    Pass(0);
    EXPECT_EQ(right->y, 103);
    EXPECT_EQ(right->frame, 6);
}

TEST_F(BubbleTest, FreedWhenTheTopEdgePasses344) {
    Bubble* stays = CreateBubble(1300, 340, 0, 4);
    CreateBubble(1400, 340, 0, 5);
    Pass(0);
    ASSERT_EQ(bubbleList.Count(), 1);
    EXPECT_EQ(bubbleList.head, stays);
    EXPECT_EQ(stays->y, 344);
}

TEST_F(BubbleTest, HitCarriesTheFrameIntoTheBurstAndScores) {
    Bubble* b = CreateBubble(1300, 100, 0, 0);  // screen x 100, standing
    b->frame = 3;
    EXPECT_EQ(Pass(1, 100, 100), 1);
    EXPECT_EQ(b->state, kBubbleBursting);
    EXPECT_EQ(b->frame, 4);
    EXPECT_EQ(score, 500);
    EXPECT_EQ(gameStats.bubblesShot, 1);
    ASSERT_EQ(popupList.Count(), 1);
    EXPECT_EQ(popupList.head->x, 1300);  // where it was hit, before moving
    EXPECT_EQ(popupList.head->y, 100);
    // Bursting frames 4..7 are shown, then it goes.
    std::vector<int> shown;
    for (int n = 0; n < 6 && !bubbleList.Empty(); ++n) {
        clear_to_color(backBuffer, 0);
        int seenFrame = bubbleList.head->frame;
        Pass(0);
        if (getpixel(backBuffer, 106, 106) == makecol(250, 0, 0))
            shown.push_back(seenFrame);
    }
    EXPECT_EQ(shown, (std::vector<int>{4, 5, 6, 7}));
    EXPECT_TRUE(bubbleList.Empty());

    Bubble* late = CreateBubble(1300, 100, 0, 0);
    late->frame = 7;  // hit this late: freed in the same pass
    EXPECT_EQ(Pass(1, 100, 100), 1);
    EXPECT_TRUE(bubbleList.Empty());
}

TEST_F(BubbleTest, OneBubblePerShotAndBurstingOnesLetItThrough) {
    Bubble* first = CreateBubble(1300, 100, 0, 0);
    Bubble* second = CreateBubble(1300, 100, 0, 0);
    EXPECT_EQ(Pass(1, 103, 103), 1);
    EXPECT_EQ(first->state, kBubbleBursting);
    EXPECT_EQ(second->state, kBubbleDrifting);
    EXPECT_EQ(Pass(1, 103, 103, 1), 1);  // already used: nothing more
    EXPECT_EQ(second->state, kBubbleDrifting);
    EXPECT_EQ(Pass(1, 103, 103), 1);  // passes the bursting one, takes the second
    EXPECT_EQ(second->state, kBubbleBursting);
    EXPECT_EQ(score, 1000);
}

TEST_F(BubbleTest, HitRectangleIsStrictOnTheRightAndBottomAndMaskMisses) {
    Bubble* b = CreateBubble(1300, 100, 0, 0);
    EXPECT_EQ(Pass(1, 108, 104), 0);  // mx = frame width
    EXPECT_EQ(Pass(1, 104, 108), 0);  // my = height
    EXPECT_EQ(Pass(1, 99, 104), 0);
    int f = b->frame;
    putpixel(b->images[0], f * 8 + 2, 2, bitmap_mask_color(b->images[0]));
    EXPECT_EQ(Pass(1, 102, 102), 0);
    EXPECT_EQ(Pass(1, 107, 107), 1);
}
