// The sky families with the real pictures: a UFO shot over the middle of
// the view, its eight bubbles and the 1000 pop-up, saved for a person to
// look at.
#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "app/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/score.h"

namespace {

bool HaveMembers(std::initializer_list<const char*> members) {
    for (const char* m : members) {
        BITMAP* b = TryLoadImage(m);
        if (!b)
            return false;
        destroy_bitmap(b);
    }
    return true;
}

}  // namespace

class SkySceneTest : public HeadlessTest {
  protected:
    void TearDown() override {
        FreeAllBubbles();
        FreeAllPopups();
        HeadlessTest::TearDown();
    }
    // One frame in the game's order for these families: sky, bubbles,
    // counters, the flying UFO, pop-ups last.
    void Frame(Flyer* ufo, int firing, int* respawn) {
        int hit = 0;
        clear_to_color(backBuffer, makecol(90, 150, 230));
        rectfill(backBuffer, 0, 380, 799, 599, makecol(60, 140, 60));
        UpdateBubbles(backBuffer, 0, &hit);
        DrawHud(backBuffer);
        UpdateFlyer(ufo, firing, &hit, respawn, kFlyerUfo);
        UpdatePopups(backBuffer);
    }
};

TEST_F(SkySceneTest, ShotUfoReleasesEightBubblesAndTheThousandPopup) {
    if (!HaveRealData() ||
        !HaveMembers({"ufodreh.bmp", "bubble0.bmp", "bubble1.bmp", "bubble2.bmp", "bubble3.bmp",
                      "score.bmp", "digit.bmp", "life.bmp", "bonus.bmp"}))
        GTEST_SKIP() << "the sky pictures are not in data/gfx.dat yet";
    LoadFlyerImages();
    LoadBubbleImages();
    LoadScoreImages();
    ResetScoreState();
    gameStats = {};
    cameraX = 1200;
    SeedRandom(2026);

    Flyer* ufo = CreateUfo(nullptr);
    ufo->x = cameraX + 360;
    ufo->y = 120;
    ufo->dx = 0;
    int respawn = 100;
    Frame(ufo, 0, &respawn);  // shows frame 0, frame 1 is next

    // Aim at the middle column of frame 1, below its top third (the dome).
    int mx = ufo->frameWidth / 2, my = -1;
    for (int y = ufo->image->h / 3; y < ufo->image->h && my < 0; ++y)
        if (getpixel(ufo->image, ufo->frame * ufo->frameWidth + mx, y) !=
            bitmap_mask_color(ufo->image))
            my = y;
    ASSERT_GE(my, 0);
    mouse_x = 360 + mx;
    mouse_y = 120 + my;
    Frame(ufo, 1, &respawn);
    EXPECT_EQ(ufo->alive, 0);
    EXPECT_EQ(score, 1000);
    EXPECT_EQ(gameStats.ufosShot, 1);
    ASSERT_EQ(bubbleList.Count(), 8);
    ASSERT_EQ(popupList.Count(), 1);
    EXPECT_EQ(popupList.head->frame, 3);

    for (int f = 0; f < 6; ++f)
        Frame(ufo, 0, &respawn);
    EXPECT_EQ(bubbleList.Count(), 8);
    EXPECT_EQ(popupList.Count(), 1);
    ASSERT_TRUE(HeadlessPlatform::SavePng(backBuffer, OutPath("ufo_shot.png")));
    delete ufo;
}
