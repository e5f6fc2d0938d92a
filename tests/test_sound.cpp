// Allegro run as a library: what a player hears (the mix captured with
// SDL's disk audio driver, which writes what it plays to a file at about
// real time), the 10 ms clock, the keys fed in by a platform, and a run
// that leaves nothing behind but its own files.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "app/data/loader.h"
#include "app/platform/allegro_lib.h"
#include "app/system.h"
#include "support/harness.h"
#include "support/portable.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;                // frames a second the device plays
constexpr int kWindow = 1024;               // frames looked at together: 23 ms
constexpr int kQuiet = 64;                  // a window under this level is silent
constexpr double kTuneBpm = 108;            // the intro tune's tempo
constexpr double kPanRatio = 191.0 / 64.0;  // pan 64: (255 - 64) to 64
constexpr int kFullScale = 32767;

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}
int WindowsOf(double seconds) {
    return int(seconds * kRate / kWindow);
}
std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the device played, as the left and right channels.
struct Capture {
    std::vector<int16_t> side[2];
    int Peak(int s) const {
        auto [low, high] = std::minmax_element(side[s].begin(), side[s].end());
        return std::max(-int(*low), int(*high));
    }
    double Energy(int s) const {
        return std::inner_product(side[s].begin(), side[s].end(), side[s].begin(), 0.0);
    }
    // Runs of windows in which something sounds (true) or nothing does.
    std::vector<std::pair<bool, int>> Runs() const {
        std::vector<std::pair<bool, int>> runs;
        for (size_t i = 0; i + kWindow <= side[0].size(); i += kWindow) {
            bool sounds = false;
            for (size_t k = i; k < i + kWindow; ++k)
                sounds |=
                    std::abs(int(side[0][k])) >= kQuiet || std::abs(int(side[1][k])) >= kQuiet;
            if (runs.empty() || runs.back().first != sounds)
                runs.emplace_back(sounds, 0);
            ++runs.back().second;
        }
        return runs;
    }
};

// Runs `play` with the clock ticking and the sound on SDL's disk driver,
// and gives what the device played meanwhile.
Capture Record(const std::function<void()>& play) {
    const std::string folder = MakeTempFolder("sound");
    const std::string path = folder + "/played.raw";
    SetEnv("SDL_AUDIODRIVER", "disk");
    SetEnv("SDL_DISKAUDIOFILE", path.c_str());
    EXPECT_TRUE(StartTicks());
    EXPECT_TRUE(StartSound()) << "SDL's disk driver plays";
    play();
    StopSound();
    StopTicks();
    SetEnv("SDL_AUDIODRIVER", nullptr);
    std::string bytes = Read(path);
    fs::remove_all(folder);
    Capture c;
    for (size_t i = 0; i + 2 <= bytes.size(); i += 2) {
        int16_t v;
        std::memcpy(&v, &bytes[i], 2);
        c.side[i / 2 % 2].push_back(v);
    }
    return c;
}

class SoundTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        if (!HaveRealData())
            GTEST_SKIP() << "no built data";
    }
};

}  // namespace

TEST_F(SoundTest, TheGunSoundsOnceAfterItIsPlayedAndNotBefore) {
    SAMPLE* gun = LoadSample("playergun.wav");
    Capture c = Record([&] {
        SDL_Delay(200);
        SoundPlaySample(gun, 255, 64, 1000, 0);
        SDL_Delay(800);
    });
    auto runs = c.Runs();
    ASSERT_EQ(runs.size(), 3u) << "silence, the gun, silence";
    EXPECT_GE(runs[0].second, WindowsOf(0.1));
    const int length = WindowsOf(double(gun->len) / gun->freq);
    EXPECT_NEAR(runs[1].second, length, length / 4) << "the whole sample";
}

// Every sample plays at pan 64, which leans left; with both loops going,
// shots that hit must still stay under full scale there.
TEST_F(SoundTest, GunHitsAndBothLoopsTogetherNeverClipAndKeepTheirPan) {
    SAMPLE* gun = LoadSample("playergun.wav");
    SAMPLE* hit = LoadSample("hit.wav");
    SAMPLE* loops[] = {LoadSample("schmusen.wav"), LoadSample("shootings.wav")};
    Capture c = Record([&] {
        for (SAMPLE* loop : loops)
            SoundPlaySample(loop, 255, 64, 1000, 1);
        for (int shot = 0; shot < 5; ++shot, SDL_Delay(240)) {
            SoundPlaySample(gun, 255, 64, 1000, 0);
            SoundPlaySample(hit, 255, 64, 1000, 0);
        }
        for (SAMPLE* loop : loops)
            SoundStopSample(loop);
    });
    ASSERT_GT(c.side[0].size(), size_t(kRate)) << "a second of sound";
    EXPECT_LT(c.Peak(0), kFullScale);
    EXPECT_LT(c.Peak(1), kFullScale);
    EXPECT_GT(c.Peak(0), kFullScale / 4) << "still loud";
    EXPECT_NEAR(std::sqrt(c.Energy(0) / c.Energy(1)), kPanRatio, 0.3);
}

// The tune alone, then with a loop, through a pause.
TEST_F(SoundTest, TheTuneKeepsTheClocksBeatAndAPauseHoldsItAndTheSamplesInSilence) {
    SAMPLE* cuddle = LoadSample("schmusen.wav");
    MIDI* tune = LoadTune("cm.m");
    int beat = -1, beatPaused = -1, beatAfter = -2;
    double elapsed = 0;
    Capture c = Record([&] {
        auto start = Clock::now();
        EXPECT_EQ(SoundPlayMidi(tune, 0), 0);
        SDL_Delay(1200);
        beat = SoundMidiPos();
        elapsed = Since(start);
        SoundPlaySample(cuddle, 255, 64, 1000, 1);
        SDL_Delay(300);
        SoundPause(true);
        beatPaused = SoundMidiPos();
        SDL_Delay(600);
        beatAfter = SoundMidiPos();
        SoundStopMidi();  // what sounds after the pause is the loop
        SoundPause(false);
        SDL_Delay(600);
        SoundStopSample(cuddle);
    });
    EXPECT_NEAR(beat, elapsed * kTuneBpm / 60, 1.0);
    EXPECT_EQ(beatAfter, beatPaused) << "the tune stands still";
    // The tune without a gap, the pause, then sound again (a stop's
    // silence may follow).
    auto runs = c.Runs();
    size_t first = runs.empty() || runs[0].first ? 0 : 1;
    ASSERT_LT(first + 2, runs.size());
    EXPECT_GE(runs[first].second, WindowsOf(1.3)) << "the tune sounds, then the loop";
    EXPECT_GE(runs[first + 1].second, WindowsOf(0.4)) << "silence while paused";
    EXPECT_GE(runs[first + 2].second, WindowsOf(0.4)) << "the loop goes on after the pause";
}

// The clock's thread can wake late (a busy machine): the ticks and the
// tune's timers catch up with the real time that passed.
TEST_F(SoundTest, TicksFollowRealTimeThroughALateWake) {
    ASSERT_TRUE(StartTicks());
    tickCount = 0;
    auto start = Clock::now();
    // SDL runs its timers one after another: this one holds the clock's up.
    SDL_AddTimer(
        30, [](Uint32, void*) -> Uint32 { return SDL_Delay(300), 0; }, nullptr);
    SDL_Delay(700);
    int ticks = tickCount;
    double elapsed = Since(start);
    StopTicks();
    EXPECT_NEAR(ticks, elapsed * 100, 5) << "one tick every 10 ms";
}

TEST_F(SoundTest, KeysFedInReachKeyAndTheBufferAsWithAllegrosOwnDrivers) {
    clear_keybuf();
    struct Case {
        int scancode, character;
        int readkey;   // scan code and character as readkey gives them
        int ureadkey;  // the character
    } cases[] = {
        {KEY_F1, 0, KEY_F1 << 8, 0},
        {KEY_E, 233, KEY_E << 8 | 233, 233},        // "é"
        {KEY_E, 0x20AC, KEY_E << 8 | '^', 0x20AC},  // "€": only ureadkey has it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.character);
        FeedKeyDown(c.scancode, c.character);
        EXPECT_TRUE(key[c.scancode]);
        FeedKeyDown(c.scancode, c.character);  // held: the platform repeats it
        FeedKeyUp(c.scancode);
        EXPECT_FALSE(key[c.scancode]);
        EXPECT_EQ(readkey(), c.readkey);
        int scancode = 0;
        EXPECT_EQ(ureadkey(&scancode), c.ureadkey);
        EXPECT_EQ(scancode, c.scancode);
        EXPECT_FALSE(keypressed());
    }
    // A modifier types nothing; with Alt held a key gives its scan code only.
    FeedKeyDown(KEY_LSHIFT, 0);
    EXPECT_TRUE((key_shifts & KB_SHIFT_FLAG) && !keypressed());
    FeedKeyUp(KEY_LSHIFT);
    FeedKeyDown(KEY_ALT, 0);
    FeedKeyDown(KEY_X, 'x');
    FeedKeyUp(KEY_X);
    FeedKeyUp(KEY_ALT);
    EXPECT_EQ(readkey(), KEY_X << 8);
    EXPECT_EQ(key_shifts & (KB_SHIFT_FLAG | KB_ALT_FLAG), 0);
}

// Whole runs in processes of their own, each from a copy of the program in
// a folder of its own, with a home that holds a player's ~/.allegrorc.
TEST_F(SoundTest, ARunWritesNoFileOfAllegrosAndIsSilentWithoutADevice) {
    const char* devices[] = {
        "SDL_AUDIODRIVER=dummy",
        // ALSA with nothing to open, which it tells the terminal.
        "SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH=/dev/null",
    };
#ifdef _WIN32
    GTEST_SKIP() << "the child runs through a POSIX shell, with timeout, HOME and ALSA";
#endif
    const std::string rc = "[sound]\ndigi_card = ALSA\n# the player's own\n";
    for (const char* device : devices) {
        SCOPED_TRACE(device);
        const std::string folder = MakeTempFolder("run");
        fs::create_directory(folder + "/home");
        std::ofstream(folder + "/home/.allegrorc") << rc;
        fs::copy_file(FLUFF_SOUND_CHILD, folder + "/fluffernauts");
        // The child plays the tune and exits 0 once its beat has moved on.
        const std::string run = "cd " + folder + " && HOME=" + folder + "/home " + device +
                                " timeout 20 ./fluffernauts " + fs::absolute("data").string() +
                                " >out.txt 2>&1";
        EXPECT_EQ(std::system(run.c_str()), 0);
        EXPECT_EQ(Read(folder + "/out.txt"), "") << "nothing on the terminal";
        EXPECT_EQ(Read(folder + "/home/.allegrorc"), rc);
        EXPECT_FALSE(fs::exists(folder + "/allegro.cfg"));
        EXPECT_FALSE(fs::exists(folder + "/home/allegro.cfg"));
        fs::remove_all(folder);
    }
}
