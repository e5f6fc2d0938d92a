// Everything around a game: the generator, the spine (shake, pacing, the
// wait for a key or a click), start-up, the loop over the menu's choices,
// the title menu, the picture pages and the intro film.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "actors/flyers.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/system.h"
#include "screens/intro.h"
#include "screens/pages.h"
#include "screens/screens.h"
#include "screens/titlemenu.h"
#include "support/harness.h"
#include "support/portable.h"
#include "support/tempfolder.h"
#include "world/score.h"

namespace fs = std::filesystem;

TEST(Random, SequenceIsPinnedAndWrapsModulo2To32) {
    SeedRandom(1);
    for (int e : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(Random(), e);
    SeedRandom(0xFFFFFFFFu);
    // (2^32 - 1) * 214013 + 2531011 mod 2^32 = 2316998, bits 16..30.
    EXPECT_EQ(Random(), int((2316998u >> 16) & 0x7FFF));
    EXPECT_EQ(RandomState(), 2316998u);
}

// --- the spine ---

class SpineTest : public HeadlessTest {};

TEST_F(SpineTest, ShakeDrawsDyThenDxInMinus3To2ForExactlyItsFramesAndKeepsTheStrip) {
    const int blue = makecol(0, 0, 255), red = makecol(255, 0, 0);
    clear_to_color(backBuffer, red);
    bool sawRightDown = false;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        std::vector<int> r = Draws(seed, 3);
        const int dy = r[0] % 6 - 3, dx = r[1] % 6 - 3;
        clear_to_color(hp->display(), blue);
        shakeFrames = 1;
        PresentFrame();
        ASSERT_TRUE(hp->presentOffsets.back() == std::make_pair(dx, dy) && shakeFrames == 0)
            << seed;
        // The uncovered strip keeps its picture.
        sawRightDown |= dx > 0 && dy > 0 && getpixel(hp->display(), 0, 0) == blue &&
                        getpixel(hp->display(), 799, 599) == red;
        PresentFrame();  // the next one is not shaken and draws nothing
        ASSERT_TRUE(hp->presentOffsets.back() == std::make_pair(0, 0) && Random() == r[2]);
    }
    EXPECT_TRUE(sawRightDown);
}

// A frame that took 0, 20 or 50 ms of its own rests 30, 10 or 0 ms more.
TEST_F(SpineTest, PacingRestsUpTo3TicksButNeverMakesUpForSlowFrames) {
    std::vector<unsigned> rests;
    for (unsigned work : {0, 20, 50}) {
        BeginPacedFrame();
        hp->AdvanceTime(work);
        unsigned start = hp->nowMs();
        PaceFrame();
        rests.push_back(hp->nowMs() - start);
    }
    EXPECT_EQ(rests, (std::vector<unsigned>{30, 10, 0}));
}

TEST_F(SpineTest, WaitIgnoresAButtonHeldFromBeforeAndEndsOnRelease) {
    hp->MouseAt(0, 10, 10, 1);   // still held from the click that opened the page
    hp->MouseAt(5, 10, 10, 0);   // released: must not end the wait
    hp->MouseAt(20, 10, 10, 1);  // a new click...
    hp->MouseAt(25, 10, 10, 0);  // ...ends it when released
    WaitForClickOrKey();
    EXPECT_EQ(hp->frame(), 26);  // the release is seen at the poll after frame 25
}

// A page left alone costs nothing: after three unchanged frames its waits
// end only at the player's move, and a frame that changes (the pointer
// moved) paces the screen by the tick again for three frames.
TEST_F(SpineTest, AStillScreenWaitsForThePlayerAfterThreeUnchangedFrames) {
    PresentFrame();
    const int start = hp->frame();
    hp->MouseAt(start + 7, 40, 40);  // seen by the 8th frame's poll
    hp->MouseAt(start + 13, 40, 40, 1);
    hp->MouseAt(start + 14, 40, 40, 0);
    WaitForClickOrKey();
    // Frames counted from the page's first, which is drawn anew; the wait
    // comes before a frame: frames 2-4 and 9-11 are the unchanged three.
    std::vector<int> at;
    for (int f : hp->awaitedAt)
        at.push_back(f - start + 1);
    EXPECT_EQ(at, (std::vector<int>{5, 6, 7, 8, 12, 13, 14, 15}));
}

// --- start-up ---

class StartupTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

// A display that cannot show the pictures is a failure, and says so by its
// status too.
TEST_F(StartupTest, NoHicolourModeShowsTheMessageAndExitsWithOne) {
    hp->failDepth16 = true;
    hp->failDepth15 = true;
    EXPECT_EXIT(InitSystem(), ::testing::ExitedWithCode(1),
                "Sorry, but you need a Hicolor mode \\(16 bit color depth\\) for this game\\.");
}

namespace {
// Runs the program in a folder laid out by `prepare`, in a child process.
void RunInFolder(void (*prepare)(const std::string& data)) {
    std::string dir = MakeTempFolder("startup");
    fs::create_directory(dir + "/data");
    prepare(dir + "/data");
    fs::current_path(dir);
    RunProgram();
    std::exit(42);  // not reached when a load fails
}
void Empty(const std::string&) {}
void DamagedGfx(const std::string& data) {
    std::ofstream(data + "/gfx.dat") << "this is not a datafile";
}
void NoFont(const std::string& data) {
    std::string here = fs::current_path().generic_u8string();
    for (const char* f : {"/gfx.dat", "/snd.dat"})
        LinkFile(here + "/data" + f, data + f);
}
}  // namespace

TEST_F(StartupTest, MissingOrDamagedDataEndsInOrderNamingFileAndMember) {
    EXPECT_EXIT(RunInFolder(Empty), ::testing::ExitedWithCode(1),
                "member \"cursor.bmp\" of \"data/gfx.dat\".*missing or damaged");
    EXPECT_EXIT(RunInFolder(DamagedGfx), ::testing::ExitedWithCode(1),
                "member \"cursor.bmp\" of \"data/gfx.dat\"");
    EXPECT_EXIT(RunInFolder(NoFont), ::testing::ExitedWithCode(1), "\"data/font.dat\"");
}

// --- the loop over the menu's choices, with the real data ---

class ProgramTest : public HeadlessTest {};

// Row 0 plays a game, with the score entry after it unless it was left with
// Escape; rows 1 to 3 open the story page, 4 the credits, 5 the table; 6
// quits. Each screen is told by the picture it loads.
TEST_F(ProgramTest, EveryMenuRowRunsItsScreenAndTheLastQuits) {
    TempFolder folder;  // the build's datafiles but no high score file
    for (const char* name : {"gfx.dat", "snd.dat", "font.dat", "cm.m"})
        LinkFile(fs::path(folder.home()) / "data" / name, fs::path("data") / name);
    for (int row = 0; row <= 6; ++row) {  // 6 here is a game left with Escape
        for (BITMAP** slot : {&storyImage, &creditsImage, &highScoreImage})
            destroy_bitmap(*slot), *slot = nullptr;
        fs::remove("data/hiscore.dat");
        hp = StartHeadless();
        hp->MouseAt(0, 760, 520);  // beside the menu panel: no row under it
        hp->PressKey(300, KEY_SPACE, ' ');
        for (int i = 0; i < row % 6; ++i)
            hp->PressKey(301 + i, KEY_DOWN);
        hp->PressKey(310, KEY_ENTER, '\r');
        // The game ends by itself, or by Escape; then game over, statistics
        // and the entry take a key each; back in the menu, Up and Enter quit.
        hp->onFrame = [row](int f) {
            timeLeft = f == 400 && row == 0 ? -1 : timeLeft;
            key[KEY_ESC] = f >= 400 && f < 402 && row == 6;
        };
        for (int f : {410, 420, 430})
            hp->PressKey(f, KEY_SPACE, ' ');
        hp->PressKey(470, KEY_UP);
        hp->PressKey(472, KEY_ENTER, '\r');
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(
            std::vector<bool>({storyImage != nullptr, creditsImage != nullptr,
                               highScoreImage != nullptr, fs::exists("data/hiscore.dat")}),
            std::vector<bool>({row >= 1 && row <= 3, row == 4, row == 0 || row == 5, row == 0}))
            << "row " << row << ": the story, credits, table or entry (which saves)";
        EXPECT_EQ(hp->pointerTarget(), nullptr) << "pointer left on a destroyed buffer at exit";
    }
}

// --- the title menu, with synthetic pictures: a 300x400 panel sits at
// (250, 100), so row r spans screen rows 190 + 40r .. 229 + 40r, while the
// pointer zone stays at screen x 90..390 ---

namespace {
int RowY(int r) {
    return 190 + 40 * r + 5;
}
}  // namespace

class TitleMenuTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        hp->maxFrames = 1000;
        titleImage = Solid(400, 300, makecol(200, 0, 0));
        panelImage = Solid(300, 400, makecol(0, 0, 200));
        panelSelImage = Solid(300, 400, makecol(0, 200, 0));
        backdrop = Own(Solid(800, 600, makecol(60, 60, 60)));
    }
    void TearDown() override {
        DestroyTitleMenuImages();
        backdrop = nullptr;
        HeadlessTest::TearDown();
    }
    // Records the highlighted row as the display shows it at `frames`: -1
    // for none, -2 while the title shows alone.
    void Watch(std::vector<int> frames) {
        hp->onFrame = [this, frames](int f) {
            int row = getpixel(hp->display(), 5, 5) == makecol(60, 60, 60) ? 6 : -2;
            while (row >= 0 && getpixel(hp->display(), 400, RowY(row)) != makecol(0, 200, 0))
                --row;
            if (std::count(frames.begin(), frames.end(), f))
                seen.push_back(row);
        };
    }
    std::vector<int> seen;  // -2: title alone
};

TEST_F(TitleMenuTest, FirstCallSwallowsEarlyKeysAndAKeyLaterOnlyRevealsThePanel) {
    hp->PressKey(50, KEY_DOWN);   // within 2.5 s: nothing happens
    hp->PressKey(240, KEY_DOWN);  // still within
    hp->PressKey(300, KEY_DOWN);  // reveals the panel, does not move the highlight
    hp->PressKey(310, KEY_ENTER, '\r');
    Watch({100, 245, 305});
    EXPECT_EQ(TitleMenu(1), 0);
    EXPECT_EQ(seen, (std::vector<int>{-2, -2, 0}));
}

TEST_F(TitleMenuTest, FirstCallPointerMovesTheHiddenHighlightAndRevealsOnlyAfterTheTitle) {
    hp->MouseAt(50, 100, RowY(3));  // early: the title stays, the row follows
    hp->MouseAt(260, 600, 300);     // late, outside the zone: only reveals
    hp->PressKey(310, KEY_ENTER, '\r');
    Watch({100, 255, 265});
    EXPECT_EQ(TitleMenu(1), 3);
    EXPECT_EQ(seen, (std::vector<int>{-2, -2, 3}));
}

// Scripted calls, one after the other as main makes them: input by frame
// (a mouse state, or a key), what the call returns, and in how many frames.
TEST_F(TitleMenuTest, ScriptedCallsConfirmTheRowTheRulesGive) {
    struct Input {
        int frame, x, y, buttons, key;  // key 0: a mouse state
    };
    const struct {
        int firstCall;
        std::vector<Input> script;
        int row, frames;
    } calls[] = {
        // The button already down in the zone confirms row 0 at once.
        {0, {{0, 100, RowY(4), 1, 0}}, 0, 2},
        // After 2.5 s, moving in with the button down reveals and confirms.
        {1, {{300, 100, RowY(3), 1, 0}}, 3, 301},
        // Up from row 0 gives row 6; Down from 6 gives 0 (each call starts on 0).
        {0, {{3, 0, 0, 0, KEY_UP}, {6, 0, 0, 0, KEY_ENTER}}, 6, -1},
        {0, {{3, 0, 0, 0, KEY_UP}, {5, 0, 0, 0, KEY_DOWN}, {7, 0, 0, 0, KEY_ENTER}}, 0, -1},
        // Hover on row 2, Down, click without moving: row 3.
        {0, {{3, 100, RowY(2), 0, 0}, {6, 0, 0, 0, KEY_DOWN}, {9, 100, RowY(2), 1, 0}}, 3, -1},
        // Beside the zone, or on the screen's top row: neither moves nor confirms.
        {0,
         {{3, 391, RowY(5), 1, 0},
          {6, 89, RowY(5), 1, 0},
          {9, 100, 0, 1, 0},
          {12, 100, 0, 0, 0},
          {15, 0, 0, 0, KEY_ENTER}},
         0,
         16},
        // F9 followed by any key but J uses that key up.
        {0,
         {{3, 0, 0, 0, KEY_DOWN},
          {5, 0, 0, 0, KEY_F9},
          {7, 0, 0, 0, KEY_K},
          {9, 0, 0, 0, KEY_ENTER}},
         1,
         -1},
    };
    for (const auto& call : calls) {
        hp = StartHeadless();
        for (const Input& in : call.script)
            in.key ? hp->PressKey(in.frame, in.key, in.key == KEY_ENTER ? '\r' : 0)
                   : hp->MouseAt(in.frame, in.x, in.y, in.buttons);
        EXPECT_EQ(TitleMenu(call.firstCall), call.row) << &call - calls;
        EXPECT_TRUE(call.frames < 0 || hp->frame() == call.frames) << &call - calls;
        EXPECT_EQ(hp->midiStartBeat(), 0) << "no intro played";
    }
}

TEST_F(TitleMenuTest, PointerSelectionClampsAboveAndBelowTheRows) {
    hp->MouseAt(3, 390, 590);  // right edge of the zone, far below row 6
    hp->MouseAt(8, 90, 151);   // left edge of the zone, 39 pixels above row 0
    hp->MouseAt(11, 90, 229);  // last row of row 0
    hp->MouseAt(14, 90, 230);  // first row of row 1
    hp->PressKey(16, KEY_ENTER, '\r');
    Watch({5, 10, 13, 15});
    EXPECT_EQ(TitleMenu(0), 1);
    EXPECT_EQ(seen, (std::vector<int>{6, 0, 0, 1}));
}

// --- the pages, with a 200x100 picture (centred at (300, 250)) with a
// transparent hole in its middle ---

using PagesTest = HeadlessTest;

TEST_F(PagesTest, PictureIsCentredOverTheBackdropAndOnlyTheCreditsShowThePointer) {
    const int grey = makecol(60, 60, 60), paper = makecol(220, 200, 150),
              pointer = makecol(0, 255, 0);
    backdrop = Own(Solid(kScreenW, kScreenH, grey));
    creditsImage = storyImage = Own(Solid(200, 100, paper));
    rectfill(storyImage, 90, 40, 109, 59, bitmap_mask_color(storyImage));
    for (void (*page)() : {ShowCredits, ShowStory}) {
        hp = StartHeadless();
        hp->SetMouseSprite(Own(Solid(6, 6, pointer)), 0, 0);
        hp->MouseAt(0, 120, 80);
        hp->PressKey(4, KEY_SPACE, ' ');
        int pointerPixels = -1;
        hp->onFrame = [&](int f) {
            if (f == 2)
                pointerPixels =
                    Shows(hp->display(), Own(Solid(6, 6, pointer)), 0, 0, 6, 6, 120, 80);
        };
        page();
        BITMAP* d = hp->display();
        // Its corners at (300, 250) and (499, 349); its mask shows the backdrop.
        EXPECT_EQ(
            std::vector<int>({pointerPixels, getpixel(d, 300, 250), getpixel(d, 499, 349),
                              getpixel(d, 299, 250), getpixel(d, 500, 349), getpixel(d, 400, 300)}),
            std::vector<int>({page == ShowCredits, paper, paper, grey, grey, grey}));
    }
    creditsImage = storyImage = backdrop = nullptr;
}

// --- the intro film ---

using IntroTest = HeadlessTest;

// A key waiting before it starts ends it before its first frame and stays
// for the menu; a click does not end it, a key does; without a tune it ends
// after its first frame.
TEST_F(IntroTest, AKeyEndsItAClickDoesNotAndWithoutATuneItEndsAfterOneFrame) {
    hp->PressKey(0, KEY_ENTER, '\r');
    PlayIntro();
    EXPECT_TRUE(hp->frame() == 0 && hp->KeyPressed() && !hp->midiPlaying());
    hp = StartHeadless();
    hp->MouseAt(5, 400, 300, 1);
    hp->MouseAt(8, 400, 300, 0);
    hp->PressKey(40, KEY_SPACE, ' ');
    PlayIntro();
    EXPECT_EQ(hp->frame(), 40);
    EXPECT_EQ(hp->midiStartBeat(), 4);
    hp = StartHeadless();
    hp->midiPosOverride = [] { return -1; };
    PlayIntro();
    EXPECT_EQ(hp->frame(), 1);
}

// In frame k the crawl's first line stands at 600 - 2 (k - 1), the lines 15
// apart; the UFO rises 4 rows a frame while the beat is between 6 and 15:
// here 10 up to frame 100, then 16.
TEST_F(IntroTest, TextCrawlsTwoRowsAndTheUfoFourRowsAFrame) {
    gameFont = font;
    hp->midiPosOverride = [this] { return hp->frame() < 100 ? 10 : 16; };
    const int blue = makecol(37, 97, 255), yellow = makecol(255, 255, 0);
    std::vector<bool> seen;
    hp->onFrame = [&](int k) {
        if (k != 100 && k != 101)
            return;
        BITMAP* d = hp->display();
        int y = 600 - 2 * (k - 1);
        seen.push_back(
            ShowsText(d, font, "Episode I - The Fluffernauts", kAlignCentre, 400, y, blue));
        seen.push_back(ShowsText(d, font, "\"Please help us, Player One. You are our only hope\"",
                                 kAlignCentre, 400, y + 11 * 15, yellow));
        int fw = ufoImage->w / 4;
        seen.push_back(
            Shows(d, ufoImage, (k - 1) % 4 * fw, 0, fw, ufoImage->h, (800 - fw) / 2, 200));
    };
    hp->PressKey(102, KEY_ESC);
    PlayIntro();
    EXPECT_EQ(seen, std::vector<bool>(6, true));
}

// With fewer flashes asked for, the yellow comes once and stays to the end.
TEST_F(IntroTest, FinaleRisesThenShowsRackFramesOneToFourteenThenFlashesFourTimes) {
    LoadBazookaImage();
    int w = bazookaImage->w, h = bazookaImage->h;
    // h rising frames (600 down to 600 - h), one in which it arrives, then
    // 14 rack frames and 9 finale frames.
    const int firstRack = 11 + h + 1;
    std::vector<int> flashes;
    bool rackOne = false, rackFourteen = false;
    auto rackShown = [&](int n) {
        char name[32];
        std::snprintf(name, sizeof name, "rack%04i.bmp", n);
        BITMAP* rack = LoadImage(name);
        bool shown =
            Shows(hp->display(), rack, 0, 0, rack->w, rack->h, (800 - w) / 2 - 142, 600 - h - 82);
        destroy_bitmap(rack);
        return shown;
    };
    for (bool reduce : {false, true}) {
        hp = StartHeadless();
        settings.reduceFlashing = reduce;
        flashes.clear();
        // Beat 66 from frame 10 on: the bazooka starts rising in frame 11.
        hp->midiPosOverride = [this] { return hp->frame() < 10 ? 20 : 66; };
        hp->onFrame = [&](int f) {
            if (getpixel(hp->display(), 5, 5) == makecol(255, 255, 0))
                flashes.push_back(f);
            if (f == firstRack)
                rackOne = rackShown(1) && !rackShown(0);
            if (f == firstRack + 13)
                rackFourteen = rackShown(14);
        };
        PlayIntro();
        settings.reduceFlashing = false;
        EXPECT_TRUE(rackOne && rackFourteen);
        std::vector<int> want;  // from the first flash, frame firstRack + 15
        for (int f = firstRack + 15; f <= firstRack + 22; f += reduce ? 1 : 2)
            want.push_back(f);
        EXPECT_EQ(flashes, want);
        EXPECT_EQ(hp->frame(), firstRack + 22);
    }
}

// Back from the film, the menu shows itself again at once, though nothing
// it shows has changed.
TEST_F(IntroTest, MenuPlaysItOnF9ThenJKeepsTheRowAndComesBackWhole) {
    backdrop = Own(LoadImage("tlebg.bmp"));
    hp->PressKey(2, KEY_DOWN);
    hp->PressKey(4, KEY_F9);
    hp->PressKey(5, KEY_J, 'j');
    hp->PressKey(60, KEY_ESC);
    hp->PressKey(70, KEY_ENTER, '\r');
    std::vector<bool> menuShown;
    hp->onFrame = [&](int f) {
        if (f == 30 || f == 65)  // the top of the panel, above the rows
            menuShown.push_back(Shows(hp->display(), panelImage, 0, 0, panelImage->w, 80,
                                      (800 - panelImage->w) / 2, (600 - panelImage->h) / 2));
    };
    EXPECT_EQ(TitleMenu(0), 1);
    EXPECT_EQ(menuShown, std::vector<bool>({false, true}));
    EXPECT_EQ(hp->midiStartBeat(), 4) << "the film ran";
    DestroyTitleMenuImages();
    backdrop = nullptr;
}

// A per-frame script is called also in waits that present nothing.
TEST_F(HeadlessTest, ScriptRunsOnInWaitsThatPresentNoFrame) {
    hp->maxFrames = 50;
    hp->onFrame = [&](int f) {
        if (f == 5)
            hp->PressKey(f, KEY_J, 'j');
        if (f == 9)
            hp->MouseAt(f, 0, 0, 0);
    };
    EXPECT_EQ(hp->ReadKey() >> 8, KEY_J);  // as the key read after F9 in the menu
    EXPECT_EQ(hp->frame(), 5);
    hp->MouseAt(5, 0, 0, 1);
    while (mouse_b)  // as the wait for a held button at the end of a game
        hp->PollMouse();
    EXPECT_EQ(hp->frame(), 9);
}
