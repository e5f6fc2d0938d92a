// The program as a desktop program: its command line, where it finds its
// data and keeps its scores, pausing, and ending in order when the window
// is closed or a signal arrives.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "app/data/datacheck.h"
#include "app/data/loader.h"
#include "app/data/paths.h"
#include "app/data/safefile.h"
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
        {{"-h"}, OptionsResult::kHelp, -1, -1, -1, -1, -1, "", "", ""},
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
    for (const char* bad :
         {"fullscreen = maybe", "scale = 9", "scale = 0", "scale = -1", "window = 800",
          "window = 0x600", "window = 20000x600", "window = 4294968096x600", "renderer = vulkan",
          "scaling = blurry", "just words", "= yes"}) {
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
#ifndef _WIN32  // folders there have no POSIX modes
    struct stat st;
    ASSERT_EQ(stat((tmp.path() + "/cfg/fluffernauts").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the folder it made is the player's";
#endif
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
#ifndef _WIN32
    struct stat st;
    ASSERT_EQ(stat(scoreFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the player's own folder";
#endif

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

// What ends a pause is what its hint says: after P, P or a new click (a
// button held since before the pause does not count, nor does any other
// key); after the window went away, also any key. Each script pauses by
// frame 26 and ends the pause at frame 60: the clock stands from 28 to 58
// and runs again after 70.
TEST_F(DesktopTest, APauseEndsOnlyAsItsHintSays) {
    auto pressP = [&](int f) {
        if (f == 20 || f == 22)
            hp->HoldKey(f, KEY_P, f == 20);
    };
    auto click = [&](int f, int at) {
        if (f == at || f == at + 4)
            hp->MouseAt(f, 400, 300, f == at ? 1 : 0);
    };
    const std::pair<const char*, std::function<void(int)>> scripts[] = {
        {"P with a button held, let go, a new click",
         [&](int f) {
             if (f == 18 || f == 40)
                 hp->MouseAt(f, 400, 300, f == 18 ? 1 : 0);
             pressP(f);
             click(f, 60);
         }},
        {"P, another key, a click",
         [&](int f) {
             pressP(f);
             if (f == 35)
                 hp->PressKey(f, KEY_A, 'a');
             click(f, 60);
         }},
        {"P, the window lost and back, a key",
         [&](int f) {
             pressP(f);
             if (f == 30 || f == 40)
                 windowFocused = f == 40;
             if (f == 60)
                 hp->PressKey(f, KEY_B, 'b');
         }},
    };
    for (const auto& [what, script] : scripts) {
        hp = StartHeadless();
        hp->MouseAt(0, 400, 3);
        std::vector<int> clock(101, 0);
        hp->onFrame = [&, &script = script](int f) {
            script(f);
            if (f <= 100)
                clock[size_t(f)] = timeLeft;
            if (f == 100)
                hp->HoldKey(f, KEY_ESC, true);
        };
        RunGame();
        key[KEY_ESC] = 0;
        EXPECT_EQ(clock[28], clock[58]) << what << ": the clock ran while paused";
        EXPECT_LT(clock[90], clock[70]) << what << ": still paused";
    }
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
    LinkFile(tmp.home() + "/data/gfx.dat", "data/gfx.dat");
    LinkFile(tmp.home() + "/data/snd.dat", "data/snd.dat");
    LinkFile(tmp.home() + "/data/font.dat", "data/font.dat");
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

// Windows: a portable copy keeps its scores beside it; an installed one, or
// one in a folder it cannot write, in the player's application data.
TEST(Layout, WindowsScoresBesideAWritablePortableCopyElseInTheAppData) {
    TempFolder tmp;
    const std::string exe = tmp.path() + "/Games/Fluffernauts";
    const std::string appData = "C:/Users/Zo\u00EB/AppData/Roaming";
    Layout l;
    std::vector<std::string> tried;
    EXPECT_FALSE(FindWindowsLayout(exe, false, true, appData, l, tried));
    EXPECT_EQ(tried, std::vector<std::string>{exe + "/data"});
    fs::create_directories(fs::u8path(exe + "/data"));
    std::ofstream(fs::u8path(exe + "/data/gfx.dat")) << "x";
    struct Case {
        bool installed, writable;
        const char* appData;
        bool beside;
    } cases[] = {
        {false, true, appData.c_str(), true},    // unzipped on the desktop
        {false, false, appData.c_str(), false},  // a read-only medium
        {true, true, appData.c_str(), false},    // Program Files, run as an administrator
        {true, false, appData.c_str(), false},   // Program Files
        {true, false, "", true},                 // no application data known: nowhere better
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.installed) + std::to_string(c.writable) + c.appData);
        ASSERT_TRUE(FindWindowsLayout(exe, c.installed, c.writable, c.appData, l, tried));
        EXPECT_EQ(l.dataFolder, exe + "/data");
        EXPECT_EQ(l.scoreFolder, c.beside ? exe + "/data" : appData + "/Fluffernauts");
    }
}

// Paths that are not plain ASCII (a player named Zoë) work wherever the game
// opens a file: the table's save and load, its lock and stale temporary
// files, the safe replace, and Allegro reading a datafile.
TEST_F(DesktopTest, AFolderNamedWithAnAccentHoldsTheTableTheSettingsAndTheData) {
    TempFolder tmp("Zo\u00EB");
    const std::string folder = tmp.path() + "/Zo\u00EB's scores";
    scoreFolder = folder;
    std::string error;
    ASSERT_TRUE(ReplaceFileSafely(folder + "/hiscore.dat.new-Ab12Cd", "half a table", error))
        << error;  // as a save killed before its rename leaves it
    EXPECT_EQ(SaveHighScoreEntry(5000, "Zo\u00EB"), 0);
    std::memset(highScores, 0, sizeof highScores);
    LoadHighScores();
    EXPECT_EQ(highScores[0].score, 5000);
    EXPECT_STREQ(highScores[0].name, "Zo\u00EB");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(fs::u8path(folder))) {
        names.push_back(e.path().filename().u8string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"hiscore.dat", "hiscore.lock"}));

    std::string bytes, read;
    bool missing = false;
    ASSERT_TRUE(ReadWholeFile(tmp.home() + "/data/font.dat", 1 << 24, bytes, missing, error));
    ASSERT_TRUE(ReplaceFileSafely(folder + "/font.dat", bytes, error)) << error;
    ASSERT_TRUE(ReadWholeFile(folder + "/font.dat", 1 << 24, read, missing, error)) << error;
    EXPECT_TRUE(read == bytes);
    EXPECT_EQ(CheckDatafile(folder + "/font.dat"), "");
    DATAFILE* d = load_datafile((folder + "/font.dat").c_str());
    EXPECT_NE(d, nullptr) << "Allegro opens the path it is given in UTF-8";
    if (d) {
        unload_datafile(d);
    }
    scoreFolder = "data";
}

// One holder of the table's lock at a time: a second one waits until the
// first lets go (flock, LockFileEx).
TEST(FileLockTest, ASecondHolderWaitsUntilTheFirstLetsGo) {
    TempFolder tmp;
    const std::string path = tmp.path() + "/hiscore.lock";
    std::atomic<bool> released{false}, secondHeld{false}, heldTooSoon{false};
    std::thread second;
    {
        FileLock first(path);
        second = std::thread([&] {
            FileLock again(path);
            heldTooSoon = !released;
            secondHeld = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(secondHeld) << "the second holder waits";
        released = true;
    }
    second.join();
    EXPECT_TRUE(secondHeld);
    EXPECT_FALSE(heldTooSoon);
}
