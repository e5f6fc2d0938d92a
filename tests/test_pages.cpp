// The credits and story pages with synthetic pictures, and the front end's
// score board and pages reached from the menu with the real data.
#include <filesystem>
#include <string>

#include "app/system.h"
#include "screens/highscores.h"
#include "screens/pages.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/tempfolder.h"
#include "world/score.h"

namespace fs = std::filesystem;

class PagesTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        grey = makecol(60, 60, 60);
        paper = makecol(220, 200, 150);
        pointer = makecol(0, 255, 0);
        backdrop = Own(Solid(kScreenW, kScreenH, grey));
        // 200x100, centred at (300, 250), with a transparent hole in the middle.
        BITMAP* picture = Own(Solid(200, 100, paper));
        rectfill(picture, 90, 40, 109, 59, bitmap_mask_color(picture));
        creditsImage = picture;
        storyImage = picture;
        hp->SetMouseSprite(Own(Solid(6, 6, pointer)), 0, 0);
    }
    void TearDown() override {
        creditsImage = nullptr;
        storyImage = nullptr;
        backdrop = nullptr;
        HeadlessTest::TearDown();
    }
    int PointerPixels() const {
        int n = 0;
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x)
                n += getpixel(hp->display(), x, y) == pointer;
        return n;
    }
    int grey = 0, paper = 0, pointer = 0;
};

TEST_F(PagesTest, PictureIsCentredOverTheBackdropWithItsMaskSeeThrough) {
    hp->PressKey(3, KEY_SPACE, ' ');
    ShowStory();
    BITMAP* d = hp->display();
    EXPECT_EQ(getpixel(d, 300, 250), paper);
    EXPECT_EQ(getpixel(d, 499, 349), paper);
    EXPECT_EQ(getpixel(d, 299, 250), grey);
    EXPECT_EQ(getpixel(d, 500, 349), grey);
    EXPECT_EQ(getpixel(d, 400, 300), grey) << "the picture's mask colour shows the backdrop";
}

TEST_F(PagesTest, CreditsShowThePointerAndTheStoryDoesNot) {
    for (bool credits : {true, false}) {
        hp = StartHeadless();
        hp->SetMouseSprite(Own(Solid(6, 6, pointer)), 0, 0);
        hp->MouseAt(0, 120, 80);
        hp->PressKey(4, KEY_SPACE, ' ');
        int shown = -1;
        hp->onFrame = [&](int f) {
            if (f == 2)
                shown = PointerPixels();
        };
        credits ? ShowCredits() : ShowStory();
        EXPECT_EQ(shown, credits ? 36 : 0) << (credits ? "credits" : "story");
    }
}

TEST_F(PagesTest, AClickHeldFromTheMenuDoesNotLeaveThePage) {
    for (void (*page)() : {ShowCredits, ShowStory}) {
        hp = StartHeadless();
        hp->MouseAt(0, 700, 500, 1);  // the click that chose the page
        hp->MouseAt(3, 700, 500, 0);
        hp->MouseAt(9, 700, 500, 1);
        hp->MouseAt(11, 700, 500, 0);
        page();
        EXPECT_EQ(hp->frame(), 12);  // the release is seen at the poll after frame 11
    }
}

// --- with the real data, from the menu ---

class FrontEndSceneTest : public HeadlessTest {};

TEST_F(FrontEndSceneTest, MenuLeadsToTheTableAndBothPagesAndBack) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    std::string tablePng = fs::absolute(OutPath("highscores_table.png")).string();
    std::string creditsPng = fs::absolute(OutPath("credits_page.png")).string();
    std::string storyPng = fs::absolute(OutPath("story_page.png")).string();
    TempFolder folder;  // the build's datafiles but no high score file
    for (const char* name : {"gfx.dat", "snd.dat", "font.dat", "cm.m"})
        if (fs::exists(fs::path(folder.home()) / "data" / name))
            fs::create_symlink(fs::path(folder.home()) / "data" / name, fs::path("data") / name);

    hp->MouseAt(0, 760, 520);  // beside the menu panel: no row under it
    hp->PressKey(300, KEY_SPACE, ' ');
    for (int i = 0; i < 5; ++i)
        hp->PressKey(305 + i, KEY_DOWN);
    hp->PressKey(315, KEY_ENTER, '\r');  // row 5: the table
    hp->MouseAt(350, 760, 520, 1);       // a click returns
    hp->MouseAt(352, 760, 520, 0);
    for (int i = 0; i < 4; ++i)
        hp->PressKey(360 + i, KEY_DOWN);
    hp->PressKey(366, KEY_ENTER, '\r');  // row 4: credits
    hp->PressKey(400, KEY_SPACE, ' ');
    hp->PressKey(410, KEY_DOWN);
    hp->PressKey(412, KEY_ENTER, '\r');  // row 1: the story
    hp->PressKey(440, KEY_SPACE, ' ');
    hp->PressKey(450, KEY_UP);
    hp->PressKey(452, KEY_ENTER, '\r');  // the last row: quit
    hp->onFrame = [&](int f) {
        if (f == 340)
            HeadlessPlatform::SavePng(hp->display(), tablePng);
        if (f == 390)
            HeadlessPlatform::SavePng(hp->display(), creditsPng);
        if (f == 430)
            HeadlessPlatform::SavePng(hp->display(), storyPng);
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_GE(hp->frame(), 452);
    EXPECT_LT(hp->frame(), 470);
    EXPECT_FALSE(fs::exists("data/hiscore.dat")) << "looking at the table must not create the file";
    for (int k = 0; k < kHighScoreRows; ++k) {
        EXPECT_EQ(highScores[k].score, 200 - 10 * k);
        EXPECT_STREQ(highScores[k].name, "Foo");
    }
    gameFont = nullptr;
    backdrop = nullptr;
    for (BITMAP** slot : {&highScoreImage, &creditsImage, &storyImage}) {
        destroy_bitmap(*slot);
        *slot = nullptr;
    }
}
