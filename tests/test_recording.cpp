// Recordings: the file (a player's kind and the tests' old one), the names
// of a visit's recordings, and whole games recorded on the tests' machine
// and played back, which must come out as they were played.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/data/loader.h"
#include "app/platform/playback.h"
#include "app/platform/recorder.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "game/replay.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/portable.h"
#include "support/replay.h"
#include "world/score.h"

namespace fs = std::filesystem;

namespace {

// A version 2 text with `body` between its seed and its end line, sealed
// with the checksum of everything before the end line.
std::string Sealed(const std::string& body, const std::string& end = "end 9 40") {
    std::string s = "fluffernauts recording 2\nseed 77\ncarry 40 -3\n" + body;
    char sum[17];
    std::snprintf(sum, sizeof sum, "%016llx", static_cast<unsigned long long>(ReplayChecksum(s)));
    return s + end + " " + sum + "\n";
}

const std::string kBody =
    "mouse 0 0 400 3 0\n"
    "ticks 0 2 3\n"
    "mouse 1 0 -20 599 5\n"
    "keys 1 0 left esc v\n"
    "focus 1 0 0\n"
    "quit 1 0 -1\n"
    "switch 1 0\n"
    "pressed 1 0\n"
    "readkey 1 0 7745\n"
    "keys 9 3\n"
    "summary Result: 1\n"
    "summary Accuracy: 98%\n";

bool Parses(const std::string& text, std::string& error) {
    Replay r;
    bool ok = ParseReplay(text, r, error);
    EXPECT_EQ(ok, error.empty());
    return ok;
}

}  // namespace

TEST(ReplayFile, ReadsAPlayersRecordingAsWrittenAndTheTestsOldOnes) {
    Replay r;
    std::string error;
    ASSERT_TRUE(ParseReplay(Sealed(kBody), r, error)) << error;
    EXPECT_EQ(FormatReplay(r), Sealed(kBody)) << "written as read";
    EXPECT_EQ(std::vector<long>({r.version, r.seed, long(r.events.size()), r.frames, r.calls}),
              std::vector<long>({2, 77, 10, 9, 40}));
    const ReplayEvent& m = r.events[2];
    EXPECT_EQ(std::vector<int>({m.frame, m.call, int(m.kind), m.a, m.b, m.c}),
              std::vector<int>({1, 0, int(ReplayKind::kMouse), -20, 599, 5}));
    EXPECT_EQ(r.events[3].a, 1 | 4 | 32) << "left, esc and v of the six keys";
    EXPECT_EQ(r.summary, "Result: 1\nAccuracy: 98%\n");
    EXPECT_EQ(r.carried, std::vector<int>({40, -3}));

    ASSERT_TRUE(ParseReplay("# a game\nseed 77\nmouse 3 10 20 1\n\nmouse 3 11 20 0\n", r, error));
    EXPECT_EQ(std::vector<long>({r.version, r.seed, long(r.inputs.size()), r.inputs[1].x}),
              std::vector<long>({1, 77, 2, 11}));
}

TEST(ReplayFile, RefusesWhatIsDamagedCutShortOrNewer) {
    std::string error;
    const std::string good = Sealed(kBody);
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Parses(good.substr(0, n), error)) << "cut to " << n << " bytes";
    for (size_t i = good.find("mouse"); i < good.find("end"); ++i)
        if (std::isdigit(static_cast<unsigned char>(good[i]))) {
            std::string changed = good;
            changed[i] = good[i] == '9' ? '8' : char(good[i] + 1);
            EXPECT_FALSE(Parses(changed, error)) << "digit at " << i;
        }
    std::string moved = good;
    moved.replace(moved.find("400 3 0"), 7, "401 3 0");  // a line as good as before
    EXPECT_FALSE(Parses(moved, error));
    EXPECT_EQ(error, "it is damaged (its checksum does not match)");
    // Sealed, so that only the line itself is wrong: the fourth line, or the
    // fifth after a good fourth (the last: past the end line's last frame).
    const char* const alone[] = {"mouse 0 0 1 2 8",
                                 "mouse 0 0 32768 2 0",
                                 "mouse 0 0 1 -32769 0",
                                 "keys 0 0 esc left",
                                 "keys 0 0 left left",
                                 "keys 0 0 x",
                                 "ticks 0 0 0",
                                 "ticks 0 0 2147483648",
                                 "focus 0 0 2",
                                 "quit 0 0 65",
                                 "quit 0 0 -3",
                                 "readkey 0 0 0",
                                 "pressed 0 0 1",
                                 "switch 0",
                                 "mouse 01 0 1 2 0",
                                 "mouse 0 0 1  2 0",
                                 "mouse 0 0 1 2 0 ",
                                 "mouse 0 0 +1 2 0",
                                 "mouse 0 0 -0 2 0",
                                 "mouse 0 0 1 2 0\r",
                                 "seed 5",
                                 "jump 0 0",
                                 "summary \tx",
                                 "summary"};
    const char* const afterGood[] = {"ticks 2 0 3\nticks 1 5 3", "ticks 1 0 3\nticks 1 0 3",
                                     "mouse 1 0 1 1 0\nticks 1 0 3", "summary x\nticks 1 0 3",
                                     "ticks 10 0 3"};
    auto refused = [&](const char* body, int line) {
        EXPECT_FALSE(Parses(Sealed(body + std::string("\n")), error)) << body;
        EXPECT_EQ(error, "line " + std::to_string(line) + " is damaged") << body;
    };
    for (const char* body : alone)
        refused(body, 4);
    for (const char* body : afterGood)
        refused(body, 5);
    std::string statistics = "summary x";  // 32 lines of them at most
    for (int k = 1; k < 32; ++k)
        statistics += "\nsummary x";
    EXPECT_TRUE(Parses(Sealed(statistics + "\n"), error)) << error;
    refused((statistics + "\nsummary x").c_str(), 4 + 32);
    const std::pair<std::string, const char*> files[] = {
        {good + "x", "it goes on after its end line"},
        {"fluffernauts recording 3\nseed 1\n",
         "it was made by a newer version of the game (format 3)"},
        {"fluffernauts recording 1\nseed 1\n", "line 1 is damaged"},
        {"fluffernauts recording 2\nmouse 0 0 1 1 0\n", "line 2 is damaged"},
        {"fluffernauts recording 2\nseed 1\nmouse 0 0 1 1 0\n", "line 3 is damaged"},
        {"fluffernauts recording 2\nseed 1\ncarry 1 x\n", "line 3 is damaged"},
        {"fluffernauts recording 2\nseed -9999999999999999999\n", "line 2 is damaged"},
        {"fluffernauts recording 2\nseed 1\ncarry 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n",
         "it is cut short (it has no end line)"},
        {"fluffernauts recording 2\nseed 1\ncarry 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17\n",
         "line 3 is damaged"},
        {std::string(kMaxReplayBytes + 1, '#'), "it is larger than any recording"},
        {"", "it holds no seed line"},
    };
    for (const auto& [text, why] : files) {
        EXPECT_FALSE(Parses(text, error)) << text.substr(0, 40);
        EXPECT_EQ(error, why);
    }
    for (const char* bad : {"mouse 1 2 3 0\n", "seed x\n", "seed 1\nmouse 1 2 3\n",
                            "seed 1\nmouse 5 1 1 0\nmouse 4 1 1 0\n", "seed 1\nmouse 1 800 0 0\n",
                            "seed 1\nmouse 1 0 0 9\n", "seed 1\nkey 1 2\n", "seed 1\nseed 2\n",
                            "seed 1\nmouse 1 2 3 0 junk\n", "\x89PNG\r\n\x1a\n"})
        EXPECT_FALSE(Parses(bad, error)) << "the tests' kind: " << bad;
    Replay r;
    EXPECT_FALSE(ReadReplay("no-such.replay", r, error));
    EXPECT_EQ(error, "there is no such file");
}

TEST(ReplayFile, AVisitsGamesAreNumberedBeforeTheExtension) {
    const std::pair<std::pair<const char*, int>, const char*> names[] = {
        {{"best.rec", 1}, "best.rec"},     {{"best.rec", 2}, "best-2.rec"},
        {{"a/b.c/run", 3}, "a/b.c/run-3"}, {{"x.tar.gz", 12}, "x.tar-12.gz"},
        {{"dir/.rec", 2}, "dir/.rec-2"},   {{"run", 2}, "run-2"},
    };
    for (const auto& [in, out] : names)
        EXPECT_EQ(NumberedRecording(in.first, in.second), out);
}

// --- games recorded on the tests' machine and played back ---

class RecordingTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        if (!fontData)
            fontData = LoadDatafile(kFontFile);
        gameFont = static_cast<FONT*>(fontData[0].dat);
        folder_ = MakeTempFolder("rec");
    }
    void TearDown() override {
        for (const ReplayKey& k : kReplayKeys)
            key[k.scancode] = 0;
        quitRequest = 0;
        windowFocused = 1;
        settings.fullscreen = false;
        gameFont = font;
        fs::remove_all(folder_);
        HeadlessTest::TearDown();
    }

    // How a game came out: its statistics, its clock, its frames, and the
    // generator, which every draw of the game moved.
    struct Outcome {
        std::string summary;
        int timeLeft;
        int frames;
        uint32_t draws;
        bool operator==(const Outcome& o) const {
            return summary == o.summary && timeLeft == o.timeLeft && frames == o.frames &&
                   draws == o.draws;
        }
    };
    Outcome Ended(int result) const {
        return {GameSummary(result), timeLeft, hp->frame(), RandomState()};
    }

    // Plays a game with the player's input `play` (scheduled from frame to
    // frame), recorded into `file`; it takes over what the test's games
    // before it left, as a visit's next game does. `poke` changes the game
    // at the same frames here and in the playback. Frames take from 4 to 6
    // ticks, as on a busy machine.
    Outcome Record(const std::string& file, std::function<void(int)> play,
                   std::function<void(int)> poke) {
        if (hp->frame() > 0)
            hp = StartHeadless();
        hp->seedTime = 4242;
        hp->MouseAt(0, 400, 3);
        RecordingPlatform rec(hp, folder_ + "/" + file);
        platform = &rec;
        hp->onFrame = [&](int f) {
            hp->workMsPerFrame = 10 + 13 * (f % 3);
            poke(f);
            play(f);
        };
        Outcome o = Ended(RunGame());
        hp->onFrame = nullptr;
        platform = hp;
        EXPECT_EQ(rec.gamesWritten(), 1);
        quitRequest = 0;
        windowFocused = 1;
        return o;
    }
    // Plays `replay` back on a fresh machine in a fresh run, which brings a
    // seed of its own and no input.
    Outcome Play(const Replay& replay, std::function<void(int)> poke,
                 PlaybackPace pace = PlaybackPace::kFast,
                 std::function<void(int)> viewer = nullptr) {
        hp = StartHeadless();
        StartOfRun();
        hp->seedTime = 1;
        PlaybackPlatform pb(hp, replay, pace, [this] { return double(hp->nowMs()); });
        platform = &pb;
        hp->onFrame = [&](int f) {
            poke(f);
            if (viewer)
                viewer(f);
        };
        Outcome o = Ended(RunGame());
        hp->onFrame = nullptr;
        platform = hp;
        divergence = pb.divergence();
        stopped = pb.stopped();
        quitAfter = quitRequest;
        quitRequest = 0;
        return o;
    }
    Replay Read(const std::string& file) {
        Replay r;
        std::string error;
        EXPECT_TRUE(ReadReplay(folder_ + "/" + file, r, error)) << error;
        return r;
    }
    // A click on flower i as it stands now, a frame from now.
    void ClickFlower(int f, int i) {
        int x = game.flowerX[i] - cameraX + flowerTarget->w / 2;
        int y = game.flowerY[i] + (flowerTarget->w - 8) / 2;
        hp->MouseAt(f + 1, x, y, 1);
        hp->MouseAt(f + 3, 400, 3, 0);
    }

    std::string folder_;
    std::string divergence;
    bool stopped = false;
    int quitAfter = 0;  // quitRequest as the playback left it
};

namespace {

// Flowers in a row at the middle of the view the game begins with.
void PlantFlowers() {
    for (int i = 0; i < kFlowers; ++i) {
        game.flowerShot[i] = 0;
        game.flowerX[i] = cameraX + 100 + 60 * i;
        game.flowerY[i] = 420;
    }
}

}  // namespace

TEST_F(RecordingTest, GamesPlayBackAsTheyWerePlayedHowEverTheyEndAndWhateverCameBetween) {
    // Each game: clicks on flowers after scrolling with a key or the pointer,
    // pauses, focus loss, the display switched, Q's shake and its draws.
    auto scrolled = [this](int f, int from, int key, int first) {
        if (f == from)
            hp->HoldKey(f + 1, key);
        if (f == from + 6)
            hp->HoldKey(f + 1, key, false);
        for (int i = 0; i < 3; ++i)
            if (f == from + 10 + 6 * i)
                ClickFlower(f, first + i);
    };
    std::vector<int> switchedAt;
    const struct {
        const char* name;
        const char* endedBy;
        std::function<void(int)> play, poke;
    } games[] = {
        {"time", "time",
         [&](int f) {
             scrolled(f, 5, KEY_RIGHT, 2);
             if (f == 40)
                 hp->HoldKey(f + 1, KEY_Q);
             if (f == 42)
                 hp->HoldKey(f + 1, KEY_Q, false);
         },
         [](int f) {
             if (f == 2)
                 PlantFlowers(), timeLeft = 500;
         }},
        {"life", "life",
         [&](int f) {
             if (f == 8)
                 hp->HoldKey(f + 1, KEY_P);
             if (f == 10)
                 hp->HoldKey(f + 1, KEY_P, false);
             if (f == 30)  // the click that plays on fires nothing
                 hp->MouseAt(f + 1, 400, 3, 1), hp->MouseAt(f + 3, 400, 3, 0);
             scrolled(f, 40, KEY_LEFT, 0);
         },
         [](int f) {
             if (f == 2)
                 PlantFlowers();
             if (f == 90)
                 life = 0;
         }},
        {"bazooka", "bazooka",
         [&](int f) {
             if (f == 5 || f == 60)
                 settings.fullscreen = !settings.fullscreen, switchedAt.push_back(f);
             if (f == 10)
                 windowFocused = 0;
             if (f == 20)
                 hp->PressKey(f, KEY_A, 'a');  // in the background: ignored
             if (f == 25)
                 windowFocused = 1;
             if (f == 28)
                 hp->PressKey(f + 1, KEY_B, 'b');
             scrolled(f, 35, KEY_RIGHT, 3);
         },
         [](int f) {
             if (f == 2)
                 PlantFlowers();
             if (f == 80)
                 ArmBazooka();
         }},
        {"escape", "escape",
         [&](int f) {
             if (f == 5)
                 hp->MouseAt(f + 1, 790, 300);  // the pointer at the right edge
             if (f == 9)
                 hp->MouseAt(f + 1, 400, 3);
             for (int i = 0; i < 3; ++i)
                 if (f == 14 + 6 * i)
                     ClickFlower(f, 4 + i);
             if (f == 50)
                 hp->HoldKey(f + 1, KEY_ESC);
         },
         [](int f) {
             if (f == 2)
                 PlantFlowers();
         }},
        {"close", "escape",
         [&](int f) {
             scrolled(f, 5, KEY_RIGHT, 2);
             if (f == 45)
                 quitRequest = kQuitByClose;
         },
         [](int f) {
             if (f == 2)
                 PlantFlowers();
         }},
    };
    for (const auto& g : games) {
        SCOPED_TRACE(g.name);
        switchedAt.clear();
        const Outcome played = Record(std::string(g.name) + ".rec", g.play, g.poke);
        EXPECT_NE(played.summary.find(std::string("Ended by: ") + g.endedBy + "\n"),
                  std::string::npos)
            << played.summary;
        EXPECT_EQ(played.summary.find("Shots hit: 0\n"), std::string::npos) << "flowers were hit";
        const Replay r = Read(std::string(g.name) + ".rec");
        EXPECT_EQ(r.summary, played.summary);
        const Outcome back = Play(r, g.poke);
        EXPECT_EQ(back.summary, played.summary);
        EXPECT_EQ(std::vector<int64_t>({back.timeLeft, back.frames, back.draws}),
                  std::vector<int64_t>({played.timeLeft, played.frames, played.draws}));
        EXPECT_EQ(divergence, "");
        EXPECT_EQ(quitAfter, 0) << "a recorded close leaves the watching program open";
        std::vector<int> asked;
        for (int f : switchedAt)
            asked.push_back(f - 1);  // asked before the frame it was seen after
        EXPECT_EQ(hp->displaySwitches, asked);
    }
}

// A recording that does not fit the game it plays (an edited file, another
// version of the game) is found out, and the playback ends.
TEST_F(RecordingTest, AGameThatGoesOtherwiseThanRecordedIsFoundOut) {
    auto poke = [](int f) {
        if (f == 2)
            PlantFlowers(), timeLeft = 300;
    };
    Record(
        "game.rec",
        [this](int f) {
            if (f == 10 || f == 20)
                ClickFlower(f, f / 10);
        },
        poke);
    const Replay good = Read("game.rec");
    Replay moved = good, cut = good;
    for (ReplayEvent& e : moved.events)
        if (e.kind == ReplayKind::kMouse && e.c == 1) {
            e.b = 3;  // the first shot goes into the sky
            break;
        }
    cut.events.resize(cut.events.size() / 2);
    for (const Replay* r : {&moved, &cut}) {
        Play(*r, poke);
        EXPECT_NE(divergence, "");
        EXPECT_TRUE(stopped);
    }
}

// At its own speed the playback takes as long as the game did, with its
// sounds; the player's Escape stops it, as a game of theirs would end.
TEST_F(RecordingTest, WatchedAtItsOwnSpeedWithSoundAndEscapeStopsIt) {
    auto poke = [](int f) {
        if (f == 2)
            PlantFlowers(), timeLeft = 300;
    };
    Record(
        "game.rec",
        [this](int f) {
            if (f == 10)
                ClickFlower(f, 1);
        },
        poke);
    const Replay r = Read("game.rec");
    long recordedMs = 0;
    for (const ReplayEvent& e : r.events)
        recordedMs += e.kind == ReplayKind::kTicks ? 10 * e.a : 0;
    auto played = [this] {
        int n = 0;
        for (const auto& e : hp->sounds)
            n += e.play;
        return n;
    };
    const Outcome fast = Play(r, poke);
    EXPECT_EQ(played(), 0) << "the timedemo is silent";
    unsigned lastFrameMs = 0;
    EXPECT_EQ(Play(r, poke, PlaybackPace::kReal,
                   [&](int f) { lastFrameMs = f == r.frames ? hp->nowMs() : lastFrameMs; }),
              fast);
    EXPECT_GE(long(lastFrameMs), recordedMs);
    EXPECT_GT(played(), 0);
    const Outcome stopped = Play(r, poke, PlaybackPace::kReal, [this](int f) {
        if (f == 20)
            hp->PressKey(f, KEY_ESC, 27);
    });
    EXPECT_EQ(stopped.frames, 21) << "the frame seen after Escape is the last";
    EXPECT_NE(stopped.summary.find("Ended by: escape"), std::string::npos);
    EXPECT_EQ(divergence, "");
}

// The tests' recordings still play through the playback, as --timedemo
// plays them, to the statistics they keep.
TEST_F(RecordingTest, TheTestsRecordingsPlayBackToTheirStatistics) {
    gameFont = font;  // as they were recorded
    Replay r;
    std::string error;
    const std::string base = std::string(FLUFF_SOURCE_DIR) + "/tests/replays/duel";
    ASSERT_TRUE(ReadReplay(base + ".replay", r, error)) << error;
    std::stringstream expected;
    expected << std::ifstream(base + ".expected").rdbuf();
    EXPECT_EQ(Play(r, [](int) {}).summary, expected.str());
}
