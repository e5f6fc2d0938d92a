// The sky families with the real pictures: a UFO shot over the middle of
// the view, its eight bubbles and the 1000 pop-up, saved for a person to
// look at.
#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/score.h"

class SkySceneTest : public HeadlessTest {
  protected:
    void TearDown() override {
        delete ufo;
        FreeAllBubbles();
        FreeAllPopups();
        HeadlessTest::TearDown();
    }
    // One frame in the game's order for these families: sky, bubbles,
    // counters, the flying UFO, pop-ups last.
    void Frame(int firing) {
        int hit = 0;
        clear_to_color(backBuffer, makecol(90, 150, 230));
        rectfill(backBuffer, 0, 380, 799, 599, makecol(60, 140, 60));
        UpdateBubbles(backBuffer, 0, &hit);
        DrawHud(backBuffer);
        UpdateFlyer(ufo, firing, &hit, &respawn, kFlyerUfo);
        UpdatePopups(backBuffer);
    }
    Flyer* ufo = nullptr;
    int respawn = 100;
};

TEST_F(SkySceneTest, ShotUfoReleasesEightBubblesAndTheThousandPopup) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    LoadFlyerImages();
    LoadBubbleImages();
    LoadScoreImages();
    ResetScoreState();
    gameStats = {};
    cameraX = 1200;
    SeedRandom(2026);
    ufo = CreateUfo(nullptr);
    ufo->x = cameraX + 360;
    ufo->y = 120;
    ufo->dx = 0;
    Frame(0);  // shows frame 0, frame 1 is next

    // Aim at the middle column of frame 1, below its top third (the dome).
    int mx = ufo->frameWidth / 2, my = ufo->image->h / 3;
    while (my < ufo->image->h && getpixel(ufo->image, ufo->frame * ufo->frameWidth + mx, my) ==
                                     bitmap_mask_color(ufo->image))
        ++my;
    ASSERT_LT(my, ufo->image->h);
    mouse_x = 360 + mx;
    mouse_y = 120 + my;
    Frame(1);
    EXPECT_EQ(ufo->alive, 0);
    EXPECT_EQ(score, 1000);
    for (int f = 0; f < 6; ++f)
        Frame(0);
    EXPECT_EQ(bubbleList.Count(), 8);
    ASSERT_EQ(popupList.Count(), 1);
    EXPECT_EQ(popupList.head->frame, 3);
    ASSERT_TRUE(HeadlessPlatform::SavePng(backBuffer, OutPath("ufo_shot.png")));
}
