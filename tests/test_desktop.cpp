// The program as a desktop program: its command line, where it finds its
// data and keeps its scores, pausing, and ending in order when the window
// is closed or a signal arrives.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/data/loader.h"
#include "app/data/paths.h"
#include "app/options.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/highscores.h"
#include "screens/screens.h"
#include "screens/titlemenu.h"
#include "support/harness.h"
#include "support/tempfolder.h"
#include "world/score.h"

namespace fs = std::filesystem;

TEST(Options, ChooseTheDisplayAndTheRecordingsAndRefuseTheRest) {
    // -1: not given on the command line.
    struct Case {
        std::vector<const char*> args;
        OptionsResult result;
        int fullscreen = -1, scale = -1, smooth = -1, renderer = -1, reduceFlashing = -1;
        const char *timedemo = "", *playdemo = "", *record = "";
    } cases[] = {
        {{}, OptionsResult::kRun, -1, -1, -1, -1, -1, "", "", ""},
        {{"--fullscreen"}, OptionsResult::kRun, 1, -1, -1, -1, -1, "", "", ""},
        {{"--fullscreen", "--windowed"}, OptionsResult::kRun, 0, -1, -1, -1, -1, "", "", ""},
        {{"--scale", "3"}, OptionsResult::kRun, -1, 3, -1, -1, -1, "", "", ""},
        {{"--scale=auto"}, OptionsResult::kRun, -1, 0, -1, -1, -1, "", "", ""},
        {{"--scale=8", "--smooth"}, OptionsResult::kRun, -1, 8, 1, -1, -1, "", "", ""},
        {{"--smooth", "--sharp"}, OptionsResult::kRun, -1, -1, 0, -1, -1, "", "", ""},
        {{"--renderer", "surface"}, OptionsResult::kRun, -1, -1, -1, 2, -1, "", "", ""},
        {{"--renderer=gpu"}, OptionsResult::kRun, -1, -1, -1, 1, -1, "", "", ""},
        {{"--reduce-flashing"}, OptionsResult::kRun, -1, -1, -1, -1, 1, "", "", ""},
        {{"--no-reduce-flashing"}, OptionsResult::kRun, -1, -1, -1, -1, 0, "", "", ""},
        {{"--timedemo", "a.replay"}, OptionsResult::kRun, -1, -1, -1, -1, -1, "a.replay", "", ""},
        {{"--timedemo=b.replay", "--fullscreen"},
         OptionsResult::kRun,
         1,
         -1,
         -1,
         -1,
         -1,
         "b.replay",
         "",
         ""},
        {{"--playdemo", "c.replay"}, OptionsResult::kRun, -1, -1, -1, -1, -1, "", "c.replay", ""},
        {{"--record=d.replay"}, OptionsResult::kRun, -1, -1, -1, -1, -1, "", "", "d.replay"},
        {{"--version"}, OptionsResult::kVersion, -1, -1, -1, -1, -1, "", "", ""},
        {{"--windowed", "--help"}, OptionsResult::kHelp, -1, -1, -1, -1, -1, "", "", ""},
        {{"--timedemo"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--timedemo="}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--record"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--scale", "0"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--scale", "9"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--scale", "2x"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--renderer", "opengl"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--record", "a", "--playdemo", "b"},
         OptionsResult::kError,
         -1,
         -1,
         -1,
         -1,
         -1,
         "",
         "",
         ""},
        {{"--full"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"--scalefast"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
        {{"game.replay"}, OptionsResult::kError, -1, -1, -1, -1, -1, "", "", ""},
    };
    auto given = [](const auto& opt) { return opt ? int(*opt) : -1; };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"fluffernauts"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options o;
        std::string error;
        OptionsResult r = ParseOptions(int(argv.size()), argv.data(), o, error);
        std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r, c.result) << what;
        if (r == OptionsResult::kRun) {
            EXPECT_EQ(given(o.fullscreen), c.fullscreen) << what;
            EXPECT_EQ(given(o.scale), c.scale) << what;
            EXPECT_EQ(given(o.smooth), c.smooth) << what;
            EXPECT_EQ(given(o.renderer), c.renderer) << what;
            EXPECT_EQ(given(o.reduceFlashing), c.reduceFlashing) << what;
            EXPECT_EQ(o.timedemo, c.timedemo) << what;
            EXPECT_EQ(o.playdemo, c.playdemo) << what;
            EXPECT_EQ(o.record, c.record) << what;
        }
        EXPECT_EQ(r == OptionsResult::kError, !error.empty()) << what;
    }
}

TEST(Settings, TheCommandLineGoesOverTheKeptSettings) {
    Settings s;
    s.fullscreen = true;
    s.windowW = 1600, s.windowH = 1200;
    s.reduceFlashing = true;
    Options o;
    o.scale = 2;
    o.smooth = true;
    ApplyOptions(o, s);
    EXPECT_TRUE(s.fullscreen) << "not given: kept";
    EXPECT_TRUE(s.reduceFlashing);
    EXPECT_EQ(s.scale, 2);
    EXPECT_TRUE(s.smooth);
    EXPECT_EQ(s.windowW, 0) << "a chosen multiple opens the window at its size";
    EXPECT_EQ(s.windowH, 0);
}

TEST(Settings, KeptInATextFileThatSurvivesAPersonsEdits) {
    Settings s;
    s.fullscreen = true;
    s.scale = 3;
    s.smooth = true;
    s.renderer = Renderer::kSurface;
    s.windowW = 1000, s.windowH = 700;
    s.reduceFlashing = true;
    Settings back;
    std::string why;
    ASSERT_TRUE(ParseSettings(FormatSettings(s), back, why)) << why;
    EXPECT_TRUE(back == s);

    // Spaces, comments, blank lines and keys of a newer version are fine.
    Settings edited;
    ASSERT_TRUE(
        ParseSettings("# mine\n\n  fullscreen=yes  \nscale = auto\nshader = crt\n", edited, why))
        << why;
    EXPECT_TRUE(edited.fullscreen);
    EXPECT_EQ(edited.scale, 0);

    // Anything else leaves every setting as it was and names the line.
    for (const char* bad : {"fullscreen = maybe", "scale = 9", "scale = 0", "scale = -1",
                            "window = 800", "window = 0x600", "window = 20000x600",
                            "renderer = vulkan", "scaling = blurry", "just words", "= yes"}) {
        Settings untouched = s;
        why.clear();
        EXPECT_FALSE(ParseSettings(std::string("fullscreen = no\n") + bad + "\n", untouched, why))
            << bad;
        EXPECT_TRUE(untouched == s) << bad;
        EXPECT_NE(why.find("line 2"), std::string::npos) << why;
    }
}

TEST(Settings, AFolderOfThePlayersOwnAndADamagedFileIgnored) {
    EXPECT_EQ(SettingsFile("/x/cfg", "/home/zoe"), "/x/cfg/fluffernauts/settings.conf");
    EXPECT_EQ(SettingsFile("rel/cfg", "/home/zoe"), "/home/zoe/.config/fluffernauts/settings.conf");
    EXPECT_EQ(SettingsFile(nullptr, "/home/zoe"), "/home/zoe/.config/fluffernauts/settings.conf");
    EXPECT_EQ(SettingsFile("", ""), "");
    EXPECT_EQ(SettingsFile(nullptr, nullptr), "");

    TempFolder tmp;
    const std::string path = tmp.path() + "/cfg/fluffernauts/settings.conf";
    Settings s;
    std::string warning, error;
    LoadSettings(path, s, warning);
    EXPECT_EQ(warning, "") << "no file yet is no fault";

    s.scale = 2;
    ASSERT_TRUE(SaveSettings(path, s, error)) << error;
    struct stat st;
    ASSERT_EQ(stat((tmp.path() + "/cfg/fluffernauts").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the folder it made is the player's";
    Settings back;
    LoadSettings(path, back, warning);
    EXPECT_EQ(warning, "");
    EXPECT_EQ(back.scale, 2);

    // Damaged: the game starts with its defaults and says so in one line.
    std::ofstream(path) << "scale = 2\n\x7f\x45LF\x02\x01\n";
    Settings fresh;
    LoadSettings(path, fresh, warning);
    EXPECT_TRUE(fresh == Settings{});
    EXPECT_NE(warning.find(path), std::string::npos) << warning;
    EXPECT_EQ(warning.find('\n'), std::string::npos) << warning;

    // A folder where the file should be cannot be read, nor replaced.
    fs::remove(path);
    fs::create_directory(path);
    LoadSettings(path, fresh, warning);
    EXPECT_NE(warning, "");
    EXPECT_FALSE(SaveSettings(path, s, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path() + "/cfg/fluffernauts"),
                            fs::directory_iterator{}),
              1)
        << "no temporary file left behind";
}

TEST(Layout, DataBesideTheProgramFirstThenTheInstalledFolder) {
    TempFolder tmp;
    const std::string root = tmp.path();
    Layout l;
    std::vector<std::string> tried;
    fs::create_directories(root + "/usr/bin");
    EXPECT_FALSE(FindLayout(root + "/usr/bin", nullptr, "/home/p", l, tried));
    EXPECT_EQ(tried,
              (std::vector<std::string>{root + "/usr/bin/data", root + "/usr/share/fluffernauts"}));

    fs::create_directories(root + "/usr/share/fluffernauts");
    std::ofstream(root + "/usr/share/fluffernauts/gfx.dat") << "x";
    struct Case {
        const char* xdg;
        const char* home;
        std::string scores;
    } cases[] = {
        {nullptr, "/home/p", "/home/p/.local/share/fluffernauts"},
        {"", "/home/p", "/home/p/.local/share/fluffernauts"},
        {"/xdg", "/home/p", "/xdg/fluffernauts"},
        {"relative/xdg", "/home/p", "/home/p/.local/share/fluffernauts"},
        // Nowhere of the player's: kept in memory, never in the installation.
        {nullptr, nullptr, ""},
        {"relative/xdg", "", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(FindLayout(root + "/usr/bin", c.xdg, c.home, l, tried));
        EXPECT_TRUE(l.installed);
        EXPECT_EQ(l.dataFolder, root + "/usr/share/fluffernauts");
        EXPECT_EQ(l.scoreFolder, c.scores) << (c.xdg ? c.xdg : "(unset)");
    }

    // A build folder keeps data and scores together, whatever the variables say.
    fs::create_directories(root + "/usr/bin/data");
    std::ofstream(root + "/usr/bin/data/gfx.dat") << "x";
    ASSERT_TRUE(FindLayout(root + "/usr/bin", "/xdg", "/home/p", l, tried));
    EXPECT_FALSE(l.installed);
    EXPECT_EQ(l.dataFolder, root + "/usr/bin/data");
    EXPECT_EQ(l.scoreFolder, root + "/usr/bin/data");
}

TEST(Layout, AnInstalledCopySavesItsFirstTableIntoAFolderItMakes) {
    TempFolder tmp;
    scoreFolder = tmp.path() + "/home/.local/share/fluffernauts";
    for (int k = 0; k < kHighScoreRows; ++k) {
        highScores[k] = {1000 - k, "Ann"};
    }
    SaveHighScores();
    std::ifstream in(scoreFolder + "/hiscore.dat", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size(), 130u);
    struct stat st;
    ASSERT_EQ(stat(scoreFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the player's own folder";

    // Nowhere writable: the save fails quietly and the table stays.
    scoreFolder = "/proc/no-such-folder";
    SaveHighScores();
    EXPECT_EQ(highScores[0].score, 1000);
    scoreFolder = "data";
}

// Whole games and screens with the real data.
class DesktopTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ASSERT_TRUE(HaveRealData());
        if (!backdrop)
            backdrop = LoadImage("tlebg.bmp");
        hp->seedTime = 4242;
        hp->MouseAt(0, 400, 3);
    }
};

TEST_F(DesktopTest, PHoldsTheClockAndTheSoundsAndAClickPlaysOnWithoutAShot) {
    std::vector<int> timeSeen;
    int pausedAt = 0;
    hp->onFrame = [&](int f) {
        if (f == 20)
            hp->HoldKey(f, KEY_P, true);
        if (f == 22)
            hp->HoldKey(f, KEY_P, false);
        if (hp->soundsPaused() && !pausedAt)
            pausedAt = f;
        if (f >= 30 && f < 60)
            timeSeen.push_back(timeLeft);
        if (f == 60)
            hp->MouseAt(f, 400, 300, 1);  // resumes: must not fire
        if (f == 64)
            hp->MouseAt(f, 400, 300, 0);
        if (f == 90)
            hp->HoldKey(f, KEY_ESC, true);
    };
    EXPECT_EQ(RunGame(), 0);
    key[KEY_ESC] = 0;
    EXPECT_GT(pausedAt, 20);
    ASSERT_EQ(timeSeen.size(), 30u);
    EXPECT_EQ(timeSeen.front(), timeSeen.back()) << "the clock ran while paused";
    EXPECT_FALSE(hp->soundsPaused());
    EXPECT_EQ(gameStats.shotsFired, 0);
    EXPECT_EQ(ammo, 10);
    EXPECT_LT(timeLeft, timeSeen.back()) << "the clock runs again after the click";
}

TEST_F(DesktopTest, LosingTheWindowPausesUntilAKeyAfterItComesBack) {
    int clockAtLoss = 0, clockAtReturn = 0;
    hp->onFrame = [&](int f) {
        if (f == 15) {
            windowFocused = 0;
            clockAtLoss = timeLeft;
        }
        if (f == 40)
            hp->PressKey(f, KEY_A, 'a');  // in the background: ignored
        if (f == 50)
            windowFocused = 1;
        if (f == 52)
            clockAtReturn = timeLeft;
        if (f == 70)
            hp->PressKey(f, KEY_B, 'b');
        if (f == 100)
            hp->HoldKey(f, KEY_ESC, true);
    };
    RunGame();
    key[KEY_ESC] = 0;
    // At most the frame in which the window went away still counts.
    EXPECT_LE(clockAtLoss - clockAtReturn, 4);
    EXPECT_LT(timeLeft, clockAtReturn - 50);
}

TEST_F(DesktopTest, ClosingTheWindowInAGameEndsItAndTheProgramWithoutAnEntry) {
    TempFolder tmp;
    fs::create_symlink(tmp.home() + "/data/gfx.dat", "data/gfx.dat");
    fs::create_symlink(tmp.home() + "/data/snd.dat", "data/snd.dat");
    fs::create_symlink(tmp.home() + "/data/font.dat", "data/font.dat");
    gameFont = nullptr;
    // In a game: no entry afterwards, status 0.
    hp->PressKey(300, KEY_SPACE, ' ');
    hp->PressKey(310, KEY_ENTER, '\r');
    hp->onFrame = [&](int f) {
        if (f == 400)
            quitRequest = kQuitByClose;
    };
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_FALSE(fs::exists("data/hiscore.dat")) << "no entry after a closed game";
    EXPECT_LT(hp->frame(), 420);
}

TEST_F(DesktopTest, ASignalDuringTheEntryKeepsTheNameTypedSoFar) {
    LoadHighScoreImages();
    TempFolder tmp;
    score = 5000;
    hp->PressKey(2, KEY_Z, 'Z');
    hp->PressKey(3, KEY_O, 'o');
    hp->onFrame = [&](int f) {
        if (f == 10)
            quitRequest = SIGTERM;
    };
    EnterHighScore();
    EXPECT_EQ(QuitStatus(), 128 + SIGTERM);
    LoadHighScores();
    EXPECT_STREQ(highScores[0].name, "Zo");
    EXPECT_EQ(highScores[0].score, 5000);
    quitRequest = 0;
}

TEST_F(DesktopTest, TheMenuShowsAtMostOneFramePerTickEvenWithNoWorkToDo) {
    hp->workMsPerFrame = 0;
    hp->onFrame = [&](int f) {
        if (f == 200)
            quitRequest = kQuitByClose;
    };
    EXPECT_EQ(TitleMenu(0), kMenuQuit);
    // The menu stood still: its frames are known to be the same, and the
    // display is not sent them again.
    EXPECT_GE(hp->framesShownAgain, 195);
    // 200 frames: at least 190 ticks of 10 ms.
    EXPECT_GE(hp->nowMs(), 1900u) << "frames came faster than the tick";
    quitRequest = 0;
}
