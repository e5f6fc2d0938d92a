// The intro film: the crawl's table and tags, the finale keyed to the beat,
// and how it ends.
#include <cstring>
#include <set>
#include <string>

#include "app/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "screens/intro.h"
#include "screens/titlemenu.h"
#include "support/harness.h"

TEST(IntroText, TableHas129LinesAnd8TagsWithOnlyTheQuotesInYellow) {
    int lines = 0, tags = 0;
    IntroTextStyle style;
    std::vector<std::string> yellow;
    for (int i = 0; introText[i]; ++i) {
        if (IsIntroTag(introText[i])) {
            ++tags;
            ApplyIntroTag(introText[i], style);
        } else {
            ++lines;
            if (style.colour == 1)
                yellow.push_back(introText[i]);
        }
    }
    EXPECT_EQ(lines, 129);
    EXPECT_EQ(tags, 8);
    ASSERT_EQ(yellow.size(), 2u);
    EXPECT_EQ(yellow[0], "\"Please help us, Player One. You are our only hope\"");
    EXPECT_EQ(yellow[1].front(), '"');
    EXPECT_EQ(yellow[1].back(), '"');
    EXPECT_STREQ(introText[0], "<Center>");
    EXPECT_STREQ(introText[1], "<0>");
    EXPECT_STREQ(introText[2], "Episode I - The Fluffernauts");
}

TEST(IntroText, OnlyTheSecondCharacterOfATagCounts) {
    IntroTextStyle s;
    ApplyIntroTag("<LEFT>", s);
    EXPECT_FALSE(s.centred);
    ApplyIntroTag("<Center>", s);
    EXPECT_TRUE(s.centred);
    ApplyIntroTag("<L>", s);
    ApplyIntroTag("<CENTER>", s);
    EXPECT_TRUE(s.centred);
    ApplyIntroTag("<1 and whatever follows>", s);
    EXPECT_EQ(s.colour, 1);
    ApplyIntroTag("<left>", s);  // lower case: unknown, does nothing
    ApplyIntroTag("<x>", s);
    ApplyIntroTag("<", s);
    EXPECT_TRUE(s.centred);
    EXPECT_EQ(s.colour, 1);
    ApplyIntroTag("<0>", s);
    EXPECT_EQ(s.colour, 0);
    EXPECT_FALSE(IsIntroTag(""));
    EXPECT_FALSE(IsIntroTag(" <0>"));
}

class IntroTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(HaveRealData());
    }
    bool Yellow() const { return getpixel(hp->display(), 5, 5) == makecol(255, 255, 0); }
};

TEST_F(IntroTest, AKeyWaitingBeforeTheStartEndsItBeforeTheFirstFrameAndStaysBuffered) {
    hp->PressKey(0, KEY_ENTER, '\r');
    PlayIntro();
    EXPECT_EQ(hp->frame(), 0);
    EXPECT_TRUE(hp->KeyPressed()) << "the menu must still read the key";
    EXPECT_FALSE(hp->midiPlaying());
}

TEST_F(IntroTest, ClicksDoNotEndItButAKeyDoes) {
    hp->MouseAt(5, 400, 300, 1);
    hp->MouseAt(8, 400, 300, 0);
    hp->PressKey(40, KEY_SPACE, ' ');
    PlayIntro();
    EXPECT_EQ(hp->frame(), 40);
    EXPECT_EQ(hp->midiStartBeat(), 4);
}

TEST_F(IntroTest, WithoutATuneItEndsAfterItsFirstFrame) {
    hp->midiPosOverride = [] { return -1; };
    PlayIntro();
    EXPECT_EQ(hp->frame(), 1);
}

TEST_F(IntroTest, FinaleRisesThenShowsFourteenRackFramesThenFlashesFourTimes) {
    LoadBazookaImage();
    int h = bazookaImage->h;
    // Beat 66 from frame 10 on: the bazooka starts rising in frame 11.
    hp->midiPosOverride = [this] { return hp->frame() < 10 ? 20 : 66; };
    std::vector<int> flashes;
    hp->onFrame = [&](int f) {
        if (Yellow())
            flashes.push_back(f);
        if (f == 10 + h + 8)
            HeadlessPlatform::SavePng(hp->display(), OutPath("intro_rack.png"));
        if (f == 10 + h + 17)
            HeadlessPlatform::SavePng(hp->display(), OutPath("intro_flash.png"));
    };
    PlayIntro();
    // h rising frames (600 down to 600 - h), one in which it arrives, then
    // 14 rack frames and 9 finale frames.
    int firstRack = 11 + h + 1;
    ASSERT_EQ(flashes.size(), 4u);
    EXPECT_EQ(flashes[0], firstRack + 15);
    EXPECT_EQ(flashes[1], firstRack + 17);
    EXPECT_EQ(flashes[3], firstRack + 21);
    EXPECT_EQ(hp->frame(), firstRack + 22);
}

TEST_F(IntroTest, CrawlAndRisingUfoLookRight) {
    // Beats as the tune plays them; save a few frames for a person to see.
    hp->midiBpm = 100;
    hp->onFrame = [&](int f) {
        if (f == 150)
            HeadlessPlatform::SavePng(hp->display(), OutPath("intro_crawl.png"));
        if (f == 250)
            HeadlessPlatform::SavePng(hp->display(), OutPath("intro_ufo.png"));
    };
    hp->PressKey(260, KEY_ESC);
    PlayIntro();
    EXPECT_EQ(hp->frame(), 260);
}

TEST_F(IntroTest, StarsAreTheSameWhenTheGeneratorIsAtTheSameState) {
    auto stars = [&]() {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (getpixel(scratchBuffer, x, y) == makecol(128, 128, 128))
                    s.insert({x, y});
        return s;
    };
    SeedRandom(1);  // as at the start of every run
    hp->PressKey(1, KEY_SPACE, ' ');
    PlayIntro();
    auto first = stars();
    hp = StartHeadless();
    SeedRandom(1);
    hp->PressKey(1, KEY_SPACE, ' ');
    PlayIntro();
    EXPECT_EQ(stars(), first);
    EXPECT_GE(first.size(), 18u);
}

TEST_F(IntroTest, MenuPlaysItOnF9ThenJAndKeepsTheRow) {
    backdrop = Own(LoadImage("tlebg.bmp"));
    hp->PressKey(2, KEY_DOWN);
    hp->PressKey(4, KEY_F9);
    hp->PressKey(5, KEY_J, 'j');
    // The key that ends the film also confirms the menu's row.
    hp->PressKey(60, KEY_ENTER, '\r');
    EXPECT_EQ(TitleMenu(0), 1);
    EXPECT_GE(hp->frame(), 60);
    DestroyTitleMenuImages();
    backdrop = nullptr;
}
