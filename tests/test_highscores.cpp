// The high score file, the table screen and the entry of a new score. Every
// test runs in a folder of its own, so the build's data/hiscore.dat is never
// touched. The score board is a synthetic 400x400 picture, so it sits at
// (200, 100) and row k's text starts at y = 225 + 18k.
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/data/paths.h"
#include "app/platform/os.h"
#include "app/system.h"
#include "screens/highscores.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/tempfolder.h"
#include "world/score.h"

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

namespace {

constexpr int kBoardX = 200;
constexpr int kBoardY = 100;
int RowY(int k) {
    return kBoardY + 125 + 18 * k;
}
constexpr int kRankX = kBoardX + 73;
constexpr int kYourScoreY = kBoardY + 315;

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One record as the file lays it out: 4 score bytes, little-endian, then
// 9 name bytes.
void PutRecord(Bytes& file, int32_t value, const char* name) {
    uint32_t u = uint32_t(value);
    for (int b = 0; b < 4; ++b)
        file.push_back((unsigned char)(u >> (8 * b)));
    char bytes[9] = {};
    std::memcpy(bytes, name, strnlen(name, 9));
    file.insert(file.end(), bytes, bytes + 9);
}

void SetRow(int k, int32_t value, const char* name) {
    highScores[k].score = value;
    std::memset(highScores[k].name, 0, sizeof highScores[k].name);
    std::memcpy(highScores[k].name, name, strnlen(name, 9));
}

// The table in memory in the file's layout, name bytes as they are.
Bytes TableBytes() {
    Bytes out;
    for (const HighScore& row : highScores) {
        PutRecord(out, row.score, "");
        std::memcpy(&out[out.size() - 9], row.name, 9);
    }
    return out;
}

bool IsDefaultTable() {
    for (int k = 0; k < kHighScoreRows; ++k)
        if (highScores[k].score != 200 - 10 * k || std::strcmp(highScores[k].name, "Foo") != 0)
            return false;
    return true;
}

}  // namespace

class HighScoreTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        folder_ = std::make_unique<TempFolder>();
        // As at program start.
        std::memset(highScores, 0, sizeof highScores);
        backdrop = Own(Solid(kScreenW, kScreenH, makecol(40, 40, 90)));
        highScoreImage = Own(Solid(400, 400, makecol(90, 60, 30)));
        white = makecol(255, 255, 255);
        gold = makecol(248, 211, 67);
    }
    void TearDown() override {
        folder_.reset();
        highScoreImage = nullptr;
        backdrop = nullptr;
        HeadlessTest::TearDown();
    }
    // Types `text` one key a frame from `frame` on, then Enter: letters and
    // digits as themselves, '\b' Backspace, '\x7f' Delete, '<' the Left
    // arrow, ' ', '.' and Esc as typed.
    void TypeName(int frame, const std::string& text) {
        for (char c : text) {
            int scancode = c >= '0' && c <= '9' ? KEY_0 + (c - '0')
                           : c == '\b'          ? KEY_BACKSPACE
                           : c == '\x7f'        ? KEY_DEL
                           : c == '<'           ? KEY_LEFT
                           : c == ' '           ? KEY_SPACE
                           : c == '.'           ? KEY_STOP
                           : c == 27            ? KEY_ESC
                                                : KEY_A + (c | 0x20) - 'a';
            hp->PressKey(frame++, scancode, c == '<' || c == '\x7f' ? 0 : c);
        }
        hp->PressKey(frame, KEY_ENTER, '\r');
    }
    // The table as the file holds it now.
    void ReloadFromFile() {
        std::memset(highScores, 0, sizeof highScores);
        LoadHighScores();
    }

    std::unique_ptr<TempFolder> folder_;
    int white = 0;
    int gold = 0;
};

// --- the file ---

TEST_F(HighScoreTest, SavedFileHasTheExactLayoutAndLoadsBackTheSame) {
    Bytes expected;  // nine letters have no terminator in the file
    const char* names[] = {"ABCDEFGHI", "neg", "", "x", "x", "x", "x", "x", "x", "x"};
    const int32_t scores[] = {0x01020304, -1, INT32_MIN, 7, 6, 5, 4, 3, 2, INT32_MAX};
    for (int k = 0; k < kHighScoreRows; ++k)
        SetRow(k, scores[k], names[k]), PutRecord(expected, scores[k], names[k]);
    SaveHighScores();
    EXPECT_EQ(ReadFile(HighScorePath()), expected);
    EXPECT_EQ(expected.size(), 130u);
    EXPECT_FALSE(fs::exists((HighScorePath() + ".tmp")));
    ReloadFromFile();
    EXPECT_EQ(TableBytes(), expected);
    EXPECT_STREQ(highScores[0].name, "ABCDEFGHI");
}

TEST_F(HighScoreTest, NoFileOrAnUnreadableOneGivesTheDefaultsAndCreatesNothing) {
    std::memset(highScores[4].name, 'z', 9);  // only "Foo" and its terminator are written
    LoadHighScores();
    EXPECT_TRUE(IsDefaultTable() && !fs::exists(HighScorePath()) && highScores[4].name[5] == 'z');
    std::memset(highScores, 0, sizeof highScores);
    fs::create_directory(HighScorePath());
    LoadHighScores();
    EXPECT_TRUE(IsDefaultTable());
}

TEST_F(HighScoreTest, FailedSaveLeavesTheOldFileAndTheTableAsTheyWere) {
    Bytes old;
    for (int k = 0; k < kHighScoreRows; ++k)
        PutRecord(old, 900 - k, "Old");
    WriteFile(HighScorePath(), old);
    LoadHighScores();
    SetRow(0, 99999, "New");

#ifdef _WIN32
    GTEST_SKIP() << "Windows has no limit on file sizes to stand in for a full disk";
#else
    // The disk fills up while writing (a limit on file sizes stands in).
    rlimit was, full;
    getrlimit(RLIMIT_FSIZE, &was);
    full = {64, was.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    SaveHighScores();
    setrlimit(RLIMIT_FSIZE, &was);
    EXPECT_TRUE(ReadFile(HighScorePath()) == old && highScores[0].score == 99999);
    EXPECT_EQ(std::distance(fs::directory_iterator("data"), {}), 2) << "table and lock only";

    // And with room again, the new table replaces the old one.
    SaveHighScores();
    ReloadFromFile();
    EXPECT_TRUE(highScores[0].score == 99999 && std::string(highScores[0].name) == "New");
#endif
}

// A table that is there but cannot be read (reading it fails with an I/O
// error) is never replaced: its scores could not be kept. Left-overs of a
// save that died go; a file that only looks like one stays.
TEST_F(HighScoreTest, ASaveNeverReplacesATableItCannotRead) {
#ifdef _WIN32
    GTEST_SKIP() << "a table whose read fails is a link to /proc/self/mem, which only Linux has";
#endif
    fs::create_symlink("/proc/self/mem", HighScorePath());
    WriteFile(HighScorePath() + ".new-a1b2c3", {1});
    WriteFile(HighScorePath() + ".new-a1b2c3d", {1});
    EXPECT_EQ(SaveHighScoreEntry(500, "Ann"), -1);
    EXPECT_TRUE(fs::is_symlink(HighScorePath()));
    EXPECT_FALSE(fs::exists(HighScorePath() + ".new-a1b2c3"));
    EXPECT_TRUE(fs::exists(HighScorePath() + ".new-a1b2c3d"));
}

TEST_F(HighScoreTest, TruncatedFilesChangeOnlyTheBytesTheyCover) {
    // Every truncation of a valid file (the 13-byte one among them) and one
    // with bytes past the tenth record: the covered bytes come from the
    // file, the rest keeps the table held before, byte for byte.
    Bytes valid;
    for (int k = 0; k < kHighScoreRows; ++k)
        PutRecord(valid, 31337 * (k + 1) - 170000, "Trunc");
    Bytes before;
    for (int k = 0; k < kHighScoreRows; ++k)
        PutRecord(before, -7 * k, "Prev");
    valid.insert(valid.end(), 40, 0xEE);
    for (size_t n = 0; n <= valid.size(); n += n < 130 ? 1 : 40) {
        WriteFile(HighScorePath(), before);
        LoadHighScores();
        WriteFile(HighScorePath(), Bytes(valid.begin(), valid.begin() + long(n)));
        LoadHighScores();
        size_t covered = std::min<size_t>(n, 130);
        Bytes want(valid.begin(), valid.begin() + long(covered));
        want.insert(want.end(), before.begin() + long(covered), before.end());
        ASSERT_EQ(TableBytes(), want) << "file of " << n << " bytes";
    }
}

// --- the table screen ---

// Each text five times: dark at (x, y) and (x + 1, y), light at (x + 2,
// y + 1) and (x + 2, y + 2), the top colour at (x + 1, y + 1).
TEST_F(HighScoreTest, EmbossedTextHasADarkEdgeAboveAndALightEdgeBelow) {
    BITMAP* bmp = Own(Solid(64, 32, 0));
    const int dark = makecol(15, 15, 15), light = makecol(175, 175, 175);
    DrawEmbossed(bmp, font, kAlignLeft, 10, 10, dark, light, white, "%c", '#');
    BITMAP* want = Own(Solid(64, 32, 0));
    const int passes[][3] = {
        {0, 0, dark}, {1, 0, dark}, {2, 1, light}, {2, 2, light}, {1, 1, white}};
    for (const auto& p : passes)
        textout_ex(want, font, "#", 10 + p[0], 10 + p[1], p[2], -1);
    EXPECT_TRUE(Shows(bmp, want, 0, 0, 64, 32, 0, 0) && Shows(want, bmp, 0, 0, 64, 32, 0, 0));
}

// The rows from the board's corner: rank "n)" ending at 73, the name from
// 98, the score ending at 253, row k at 125 + 18 k; names of nine bytes in
// full, bytes the font lacks as '?', scores with their sign. A click held
// from the menu must be let go first; nothing is written.
TEST_F(HighScoreTest, TableScreenShowsEveryRowInItsPlaceUntilAClick) {
    Bytes file;
    PutRecord(file, 300, "ABCDEFGHI");
    PutRecord(file, 250, "a\x01\xff");
    for (int k = 2; k < kHighScoreRows; ++k)
        PutRecord(file, -120 - k, "Low");
    for (bool withFile : {false, true}) {
        if (withFile)
            WriteFile(HighScorePath(), file);
        hp = StartHeadless();
        hp->MouseAt(0, 400, 300, 1);  // still held from the menu: does not count
        hp->MouseAt(3, 400, 300, 0);
        hp->MouseAt(10, 400, 300, 1);
        hp->MouseAt(12, 400, 300, 0);
        std::vector<bool> shown;
        hp->onFrame = [&](int f) {
            auto text = [&](const char* t, TextAlign a, int x, int k) {
                shown.push_back(
                    ShowsText(hp->display(), font, t, a, kRankX + x, RowY(k) + 1, white));
            };
            if (f != 8)
                return;
            text("1)", kAlignRight, 1, 0);
            text("10)", kAlignRight, 1, 9);
            text(withFile ? "ABCDEFGHI" : "Foo", kAlignLeft, 26, 0);
            text(withFile ? "a??" : "Foo", kAlignLeft, 26, 1);
            text(withFile ? "300" : "200", kAlignRight, 181, 0);
            text(withFile ? "-129" : "110", kAlignRight, 181, 9);
        };
        ShowHighScores();
        EXPECT_EQ(shown, std::vector<bool>(6, true)) << withFile;
        EXPECT_EQ(hp->frame(), 13);  // the release is seen at the poll after frame 12
        EXPECT_EQ(fs::exists(HighScorePath()), withFile);
    }
}

// --- the entry ---

TEST_F(HighScoreTest, EntryInsertsAgainstTheDefaultTableAtTheRightRow) {
    struct Case {
        int finalScore;
        int row;  // -1: does not qualify
    };
    const Case cases[] = {{201, 0}, {200, 1}, {111, 9}, {110, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.finalScore);
        fs::remove(HighScorePath());
        std::memset(highScores, 0, sizeof highScores);
        hp = StartHeadless();
        score = c.finalScore;
        bool goldRow = false, yourScore = false;
        hp->onFrame = [&](int f) {
            auto rank = [&](int k, int colour) {  // "k + 1)" in the colour
                return ShowsText(hp->display(), font, std::to_string(k + 1) + ")", kAlignRight,
                                 kRankX + 1, RowY(k) + 1, colour);
            };
            if (f != 2)
                return;
            goldRow = c.row >= 0 && rank(c.row, gold) && (c.row == 0 || rank(c.row - 1, white));
            yourScore =
                ShowsText(hp->display(), font, "Your Score: " + std::to_string(c.finalScore),
                          kAlignCentre, 400, kYourScoreY + 1, gold);
        };
        if (c.row >= 0)
            TypeName(1, "New");
        else
            hp->PressKey(4, KEY_SPACE, ' ');
        EnterHighScore();
        ASSERT_TRUE(fs::exists(HighScorePath())) << "the table is saved after every game";

        // The default rows with the new one in its place, the last one out.
        Bytes want;
        for (int k = 0, old = 0; k < kHighScoreRows; ++k)
            k == c.row ? PutRecord(want, c.finalScore, "New")
                       : PutRecord(want, 200 - 10 * old++, "Foo");
        ReloadFromFile();
        EXPECT_EQ(TableBytes(), want);
        EXPECT_EQ(goldRow, c.row >= 0);
        EXPECT_EQ(yourScore, c.row < 0);
    }
}

TEST_F(HighScoreTest, NegativeScoresCompareWithTheirSign) {
    score = -5;
    hp->PressKey(3, KEY_ENTER, '\r');
    EnterHighScore();
    ReloadFromFile();
    EXPECT_TRUE(IsDefaultTable()) << "a negative score never beats a table of positive ones";

    Bytes file;
    for (int k = 0; k < kHighScoreRows; ++k)
        PutRecord(file, 50 - 10 * k, "Sgn");  // 50 down to -40
    WriteFile(HighScorePath(), file);
    hp = StartHeadless();
    TypeName(1, "Neg");
    EnterHighScore();
    ReloadFromFile();
    EXPECT_EQ(std::vector<int>({highScores[5].score, highScores[6].score, highScores[7].score,
                                highScores[9].score}),
              std::vector<int>({0, -5, -10, -30}));
    EXPECT_STREQ(highScores[6].name, "Neg");
}

TEST_F(HighScoreTest, NameTakesEightLettersAndDigitsOneKeyAFrame) {
    struct Case {
        const char* typed;
        const char* name;
    } cases[] = {
        {"abCDef12ij", "abCDef12"},       // ten: the last two are dropped
        {"\b\bx\x7fy \x1b.<zw\b", "yz"},  // Backspace on empty, Delete; others do nothing
        {"abcdefghi\b", "abcdefg"},       // ninth dropped, Backspace takes the eighth
        {"", ""},                         // an empty name can be confirmed
    };
    int finalScore = 500;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hp = StartHeadless();
        score = finalScore += 100;
        TypeName(1, c.typed);
        EnterHighScore();
        EXPECT_EQ(hp->frame(), int(std::strlen(c.typed)) + 1) << "one key per frame";
        ReloadFromFile();
        EXPECT_EQ(highScores[0].score, finalScore);
        EXPECT_STREQ(highScores[0].name, c.name);
    }
}

// --- copies of the game sharing one table: two finish their entries at
// once while a third saves over and over until it is killed (SIGKILL) ---
#ifndef _WIN32

// A copy of the game in a process of its own: with `again` it saves entries
// over and over (`base` up to `base` + 4) until it is killed, else it types
// a name into the entry screen for `base` and presses Enter.
static pid_t Copy(HeadlessPlatform* hp, int32_t base, bool again = false) {
    pid_t pid = fork();
    for (int n = 0; pid == 0 && again; ++n)
        SaveHighScoreEntry(base + n % 5, "Killed");
    if (pid == 0) {
        score = base;
        hp->PressKey(0, KEY_E, 'e');
        hp->PressKey(1, KEY_ENTER, '\r');
        EnterHighScore();
        _exit(0);
    }
    return pid;
}

class ScoreTableTest : public HeadlessTest {};  // Allegro started

TEST_F(ScoreTableTest, TwoCopiesKeepBothScoresAndAKilledOneLeavesAWholeTable) {
    TempFolder folder;
    highScoreImage = Own(Solid(400, 400, 0));
    backdrop = Own(Solid(800, 600, 0));
    scoreFolder = "data/scores";  // as when installed: not there before the first save
    const std::string table = scoreFolder + "/hiscore.dat";
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        // The killed copy's scores beat every earlier round's, so it keeps
        // writing the table until it dies, but not this round's two.
        const int32_t base = 1000 + 20 * round;
        pid_t killed = Copy(hp, base, true);
        usleep(useconds_t(700 * (round % 5)));
        pid_t a = Copy(hp, base + 10), b = Copy(hp, base + 15);
        usleep(useconds_t(300 * (round % 7)));
        kill(killed, SIGKILL);
        int statusA = 1, statusB = 1;
        waitpid(killed, nullptr, 0), waitpid(a, &statusA, 0), waitpid(b, &statusB, 0);
        EXPECT_TRUE(statusA == 0 && statusB == 0) << "both copies finish their entries";
        EXPECT_EQ(fs::exists(table) ? fs::file_size(table) : 0, 130u) << "the table is whole";
        LoadHighScores();
        EXPECT_EQ(highScores[0].score, base + 15);
        EXPECT_EQ(highScores[1].score, base + 10);
    }
    // A score that no longer qualifies leaves the table as it is, and the
    // save clears what a killed one left.
    std::ofstream(scoreFolder + "/hiscore.dat.new-Ab12Cd") << "half a table";
    auto before = fs::last_write_time(table);
    EXPECT_EQ(SaveHighScoreEntry(1000, "Late"), -1);
    EXPECT_EQ(fs::last_write_time(table), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(scoreFolder), {}), 2) << "table and lock";
    scoreFolder = "data";
    highScoreImage = backdrop = nullptr;
}
#else
TEST(ScoreTableTest, TwoCopiesKeepBothScoresAndAKilledOneLeavesAWholeTable) {
    GTEST_SKIP() << "copies of the game are forked processes; the Windows lock is tested by "
                    "FileLockTest";
}
#endif

// A score the table cannot keep: said on stderr and over the table as it is
// on disk, with the folder named, and nothing written. For root too: no
// folder can be made under a file, and a file-size limit stops any writer
// (which, but for the game's care, ends it with SIGXFSZ).
TEST_F(HighScoreTest, AScoreThatCannotBeSavedIsSaidOverTheTableOnDisk) {
    Bytes low;
    for (int k = 0; k < kHighScoreRows; ++k)
        PutRecord(low, -100 - k, "Low");
    auto enter = [&](const char* line, const char* rowZero) {
        hp = StartHeadless();
        score = 5000;
        TypeName(1, "Ann");
        hp->PressKey(12, KEY_SPACE, ' ');
        bool said = false, onDisk = false;
        hp->onFrame = [&](int) {
            said = said || ShowsText(hp->display(), gameFont, line, kAlignCentre, 401,
                                     kYourScoreY + 1, white);
            onDisk = onDisk || (said && ShowsText(hp->display(), gameFont, rowZero, kAlignLeft,
                                                  kRankX + 26, RowY(0) + 1, white));
        };
        EnterHighScore();
        EXPECT_TRUE(said) << line;
        EXPECT_TRUE(onDisk) << "the table shown is the one on disk";
        EXPECT_EQ(hp->frame(), 12) << "the line stays until a key";
        EXPECT_NE(std::string(highScores[0].name), "Ann");
    };

    WriteFile("data/file", {});
    scoreFolder = "data/file/scores";
    testing::internal::CaptureStderr();
    enter("Score not saved in data/file/scores", "Foo");
#ifndef _WIN32
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "Fluffernauts: the score is not saved: cannot make the folder data/file/scores: Not a "
        "directory\n");
#else
    EXPECT_EQ(
        testing::internal::GetCapturedStderr().rfind(
            "Fluffernauts: the score is not saved: cannot make the folder data/file/scores: ", 0),
        0u);
#endif
    scoreFolder = "data";
#ifndef _WIN32  // no file-size limit there

    WriteFile(HighScorePath(), low);
    auto limited = [&] {
        // Room for what the test captures of stderr, not for a table.
        rlimit small = {100, 100};
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_DFL);  // as a process starts, whatever ran before here
        CatchQuitSignals();
        enter("Score not saved in data", "Low");
        // _exit: a leak checker at exit would count the earlier tests' memory.
        _exit(ReadFile(HighScorePath()) == low && !HasFailure() ? 0 : 1);
    };
    EXPECT_EXIT(
        limited(), testing::ExitedWithCode(0),
        "^Fluffernauts: the score is not saved: cannot write data/hiscore.dat: File too large\n$");
    EXPECT_EQ(std::distance(fs::directory_iterator("data"), {}), 3) << "table, lock and file";
#endif
}

// With no folder for it, the table lives as long as the visit and no file
// is written anywhere.
TEST_F(HighScoreTest, WithNoScoreFolderTheTableIsKeptInMemory) {
    scoreFolder = "";
    for (int32_t s : {300, 400}) {
        score = s;
        hp = StartHeadless();
        TypeName(1, "Mem");
        EnterHighScore();
    }
    std::memset(highScores, 0, sizeof highScores);
    LoadHighScores();
    EXPECT_EQ(highScores[0].score, 400);
    EXPECT_EQ(highScores[1].score, 300);
    EXPECT_STREQ(highScores[1].name, "Mem");
    EXPECT_EQ(highScores[2].score, 200);
    scoreFolder = "data";
    EXPECT_TRUE(fs::is_empty("data"));
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 1);
}
