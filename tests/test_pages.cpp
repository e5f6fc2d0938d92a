// The credits and story pages with synthetic pictures, and the front end's
// score board and pages reached from the menu with the real data.
#include <cstring>
#include <filesystem>
#include <string>

#include "app/loader.h"
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
    bool PointerAnywhere() const {
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x)
                if (getpixel(hp->display(), x, y) == pointer)
                    return true;
        return false;
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
    hp->MouseAt(0, 120, 80);
    hp->PressKey(4, KEY_SPACE, ' ');
    bool creditsPointer = false;
    hp->onFrame = [&](int f) {
        if (f == 2)
            creditsPointer = getpixel(hp->display(), 122, 82) == pointer;
    };
    ShowCredits();
    EXPECT_TRUE(creditsPointer);

    hp = StartHeadless();
    hp->SetMouseSprite(Own(Solid(6, 6, pointer)), 0, 0);
    hp->MouseAt(0, 120, 80);
    hp->PressKey(4, KEY_SPACE, ' ');
    bool storyPointer = true;
    hp->onFrame = [&](int f) {
        if (f == 2)
            storyPointer = PointerAnywhere();
    };
    ShowStory();
    EXPECT_FALSE(storyPointer);
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

namespace {
bool HaveFrontEndArt() {
    if (!HaveRealData())
        return false;
    for (const char* member : {"highscre.bmp", "credits.bmp", "news.bmp", "tlebg.bmp"}) {
        BITMAP* b = TryLoadImage(member);
        if (!b)
            return false;
        destroy_bitmap(b);
    }
    return true;
}

// A folder of its own whose data/ holds the build's datafiles but no
// high score file.
void LinkRealData(const TempFolder& folder) {
    for (const char* name : {"gfx.dat", "snd.dat", "font.dat", "cm.m"}) {
        fs::path from = fs::path(folder.home()) / "data" / name;
        if (fs::exists(from))
            fs::create_symlink(from, fs::path("data") / name);
    }
}

void ForgetFrontEndImages() {
    for (BITMAP** slot : {&highScoreImage, &creditsImage, &storyImage}) {
        if (*slot)
            destroy_bitmap(*slot);
        *slot = nullptr;
    }
}
}  // namespace

class FrontEndSceneTest : public HeadlessTest {};

TEST_F(FrontEndSceneTest, MenuLeadsToTheTableAndBothPagesAndBack) {
    if (!HaveFrontEndArt())
        GTEST_SKIP() << "the front end's pictures are not in data/gfx.dat yet";
    std::string tablePng = fs::absolute(OutPath("highscores_table.png")).string();
    std::string creditsPng = fs::absolute(OutPath("credits_page.png")).string();
    std::string storyPng = fs::absolute(OutPath("story_page.png")).string();
    TempFolder folder;
    LinkRealData(folder);

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
    ForgetFrontEndImages();
}

TEST_F(FrontEndSceneTest, EntryOfANewNameAndAScoreThatDoesNotQualify) {
    if (!HaveFrontEndArt())
        GTEST_SKIP() << "the front end's pictures are not in data/gfx.dat yet";
    std::string entryPng = fs::absolute(OutPath("highscore_entry.png")).string();
    std::string missedPng = fs::absolute(OutPath("highscore_not_qualified.png")).string();
    TempFolder folder;
    LinkRealData(folder);
    InitSystem();
    fontData = LoadDatafile(kFontFile);
    gameFont = static_cast<FONT*>(fontData[0].dat);
    backdrop = LoadImage("tlebg.bmp");

    std::memset(highScores, 0, sizeof highScores);
    score = 175;
    hp->MouseAt(0, 700, 540);
    const char* typed = "Ada42";
    for (int i = 0; typed[i]; ++i)
        hp->PressKey(1 + i, 0, typed[i]);
    hp->PressKey(20, KEY_ENTER, '\r');
    hp->onFrame = [&](int f) {
        if (f == 15)
            HeadlessPlatform::SavePng(hp->display(), entryPng);
    };
    EnterHighScore();
    EXPECT_EQ(highScores[3].score, 175);
    EXPECT_STREQ(highScores[3].name, "Ada42");

    hp->onFrame = nullptr;
    int start = hp->frame();
    score = -30;
    hp->PressKey(start + 6, KEY_SPACE, ' ');
    hp->onFrame = [&](int f) {
        if (f == start + 4)
            HeadlessPlatform::SavePng(hp->display(), missedPng);
    };
    EnterHighScore();
    EXPECT_EQ(highScores[3].score, 175) << "the file now holds the entry";

    unload_datafile(fontData);
    fontData = nullptr;
    gameFont = nullptr;
    destroy_bitmap(backdrop);
    backdrop = nullptr;
    ShutdownSystem();
    ForgetFrontEndImages();
}
