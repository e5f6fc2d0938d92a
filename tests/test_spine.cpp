// Start-up, frame presentation with the shake, and the wait for a key or a
// click: the rules a player feels on every screen.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/random.h"
#include "app/system.h"
#include "screens/titlemenu.h"
#include "support/harness.h"

class SpineTest : public HeadlessTest {};

TEST_F(SpineTest, ShakeLastsExactlyItsFramesAndDrawsTwoNumbersEach) {
    SeedRandom(7);
    Random();
    Random();
    uint32_t afterTwoDraws = RandomState();
    SeedRandom(7);
    shakeFrames = 1;
    PresentFrame();
    EXPECT_EQ(RandomState(), afterTwoDraws);
    EXPECT_EQ(shakeFrames, 0);
    PresentFrame();
    EXPECT_EQ(RandomState(), afterTwoDraws) << "an unshaken frame must not draw numbers";
    EXPECT_EQ(hp->presentOffsets.back(), std::make_pair(0, 0));
}

TEST_F(SpineTest, ShakeOffsetsStayWithinMinus3To2) {
    SeedRandom(1);
    bool sawMinus3 = false, saw2 = false;
    for (int i = 0; i < 2000; ++i) {
        shakeFrames = 1;
        PresentFrame();
        auto [dx, dy] = hp->presentOffsets.back();
        ASSERT_GE(dx, -3);
        ASSERT_LE(dx, 2);
        ASSERT_GE(dy, -3);
        ASSERT_LE(dy, 2);
        sawMinus3 = sawMinus3 || dx == -3 || dy == -3;
        saw2 = saw2 || dx == 2 || dy == 2;
    }
    EXPECT_TRUE(sawMinus3);
    EXPECT_TRUE(saw2);
}

TEST_F(SpineTest, ShakenFrameLeavesTheUncoveredStripAsItWas) {
    clear_to_color(hp->display(), makecol(0, 0, 255));
    clear_to_color(backBuffer, makecol(255, 0, 0));
    // Find a seed whose first shake moves the picture right and down.
    uint32_t seed = 1;
    for (;; ++seed) {
        SeedRandom(seed);
        int dy = Random() % 6 - 3;
        int dx = Random() % 6 - 3;
        if (dx > 0 && dy > 0)
            break;
    }
    SeedRandom(seed);
    shakeFrames = 1;
    PresentFrame();
    EXPECT_EQ(getpixel(hp->display(), 0, 0), makecol(0, 0, 255));
    EXPECT_EQ(getpixel(hp->display(), 400, 300), makecol(255, 0, 0));
}

TEST_F(SpineTest, WaitIgnoresAButtonHeldFromBeforeAndEndsOnRelease) {
    hp->MouseAt(0, 10, 10, 1);   // still held from the click that opened the page
    hp->MouseAt(5, 10, 10, 0);   // released: must not end the wait
    hp->MouseAt(20, 10, 10, 1);  // a new click...
    hp->MouseAt(25, 10, 10, 0);  // ...ends it when released
    WaitForClickOrKey();
    EXPECT_EQ(hp->frame(), 26);  // the release is seen at the poll after frame 25
}

TEST_F(SpineTest, WaitEndsOnAKeyAndSwallowsEverythingTyped) {
    hp->PressKey(4, KEY_DOWN);
    hp->PressKey(4, KEY_ENTER, '\r');
    clear_to_color(backBuffer, makecol(10, 200, 30));
    WaitForClickOrKey();
    EXPECT_EQ(hp->frame(), 4);
    EXPECT_EQ(hp->KeyPressed(), 0) << "keys typed during the wait leak into the next screen";
    EXPECT_EQ(getpixel(backBuffer, 100, 100), makecol(10, 200, 30));
}

TEST_F(SpineTest, PacingRestsUpTo3TicksButNeverMakesUpForSlowFrames) {
    BeginPacedFrame();
    unsigned start = hp->nowMs();
    PaceFrame();
    EXPECT_EQ(hp->nowMs() - start, 30u);
    BeginPacedFrame();
    hp->AdvanceTime(50);  // a slow frame
    start = hp->nowMs();
    PaceFrame();
    EXPECT_EQ(hp->nowMs(), start);
}

// --- start-up with the real datafiles ---

class StartupTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(StartupTest, FallsBackTo15BitsWhen16AreMissing) {
    hp->failDepth16 = true;
    InitSystem();
    EXPECT_EQ(bitmap_color_depth(screen), 15);
    EXPECT_EQ(bitmap_color_depth(backBuffer), 15);
    ShutdownSystem();
    // Pictures loaded in 15 bits must not be reused by later 16-bit tests.
    destroy_bitmap(scratchBuffer);
    scratchBuffer = nullptr;
    destroy_bitmap(cursorImage);
    cursorImage = nullptr;
    hp->SetGfxMode(16);
}

TEST_F(StartupTest, NoHicolourModeShowsTheMessageAndExitsWithZero) {
    hp->failDepth16 = true;
    hp->failDepth15 = true;
    EXPECT_EXIT(InitSystem(), ::testing::ExitedWithCode(0),
                "Sorry, but you need a Hicolor mode \\(16 bit color depth\\) for this game\\.");
}

namespace {
// Runs the program in a folder laid out by `prepare`, in a child process.
void RunInFolder(void (*prepare)(const std::string& dir)) {
    char tmpl[] = "/tmp/fluff-startup-XXXXXX";
    std::string dir = mkdtemp(tmpl);
    std::string here = get_current_dir_name();
    prepare(dir);
    if (chdir(dir.c_str()) != 0)
        std::abort();
    RunProgram();
    std::exit(42);  // not reached when a load fails
}
void Empty(const std::string&) {}
void DamagedGfx(const std::string& dir) {
    std::string data = dir + "/data";
    mkdir(data.c_str(), 0755);
    std::ofstream(data + "/gfx.dat") << "this is not a datafile";
}
void NoFont(const std::string& dir) {
    std::string data = dir + "/data";
    mkdir(data.c_str(), 0755);
    std::string here = get_current_dir_name();
    symlink((here + "/data/gfx.dat").c_str(), (data + "/gfx.dat").c_str());
    symlink((here + "/data/snd.dat").c_str(), (data + "/snd.dat").c_str());
}
}  // namespace

TEST_F(StartupTest, MissingOrDamagedDataEndsInOrderNamingFileAndMember) {
    EXPECT_EXIT(RunInFolder(Empty), ::testing::ExitedWithCode(1),
                "member \"cursor.bmp\" of \"data/gfx.dat\".*missing or damaged");
    EXPECT_EXIT(RunInFolder(DamagedGfx), ::testing::ExitedWithCode(1),
                "member \"cursor.bmp\" of \"data/gfx.dat\"");
    EXPECT_EXIT(RunInFolder(NoFont), ::testing::ExitedWithCode(1), "\"data/font.dat\"");
}

TEST_F(StartupTest, TitleThenMenuThenQuitWithUpAndEnter) {
    hp->MouseAt(0, 700, 500);
    hp->PressKey(100, KEY_SPACE, ' ');  // too early: swallowed, the title stays
    hp->PressKey(300, KEY_SPACE, ' ');  // reveals the menu
    hp->PressKey(310, KEY_UP);          // row 0 wraps to the last row, Quit
    hp->PressKey(320, KEY_ENTER, '\r');
    hp->MouseAt(305, 760, 300);  // beside the panel: no row under it
    bool titleAt200 = false;
    hp->onFrame = [&](int frame) {
        if (frame == 200) {
            HeadlessPlatform::SavePng(hp->display(), OutPath("title.png"));
            // Only the title picture, centred, with no panel over it.
            int tx = (800 - titleImage->w) / 2, ty = (600 - titleImage->h) / 2;
            titleAt200 = true;
            for (int y = 0; y < titleImage->h; y += 37)
                for (int x = 0; x < titleImage->w; x += 41)
                    if (tx + x < 600 &&
                        getpixel(hp->display(), tx + x, ty + y) != getpixel(titleImage, x, y))
                        titleAt200 = false;
        }
        if (frame == 315)
            HeadlessPlatform::SavePng(hp->display(), OutPath("menu.png"));
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_TRUE(titleAt200);
    EXPECT_GE(hp->frame(), 320);
    EXPECT_LT(hp->frame(), 330);
    EXPECT_EQ(hp->pointerTarget(), nullptr) << "pointer left on a destroyed buffer at exit";
    gameFont = nullptr;
}
