// The high score file, the table screen and the entry of a new score. Every
// test runs in a folder of its own, so the build's data/hiscore.dat is never
// touched. The score board is a synthetic 400x400 picture, so it sits at
// (200, 100) and row k's text starts at y = 225 + 18k.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/random.h"
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

// True when `text`, drawn by Allegro at (x, y) with the alignment, is there
// in `colour` pixel for pixel: the place and the wording of a text.
bool ShowsText(BITMAP* shown, const std::string& text, TextAlign align, int x, int y, int colour) {
    int w = text_length(font, text.c_str());
    x -= align == kAlignLeft ? 0 : align == kAlignRight ? w : w / 2;
    BITMAP* ref = create_bitmap(w, text_height(font));
    clear_to_color(ref, 0);
    textout_ex(ref, font, text.c_str(), 0, 0, 1, -1);
    int wrong = 0;
    for (int py = 0; py < ref->h; ++py)
        for (int px = 0; px < w; ++px)
            wrong += getpixel(ref, px, py) == 1 && getpixel(shown, x + px, y + py) != colour;
    destroy_bitmap(ref);
    return w > 0 && wrong == 0;
}

bool ColourInBand(BITMAP* bmp, int colour, int y0, int y1) {
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < kScreenW; ++x)
            if (getpixel(bmp, x, y) == colour)
                return true;
    return false;
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
    SetRow(0, 0x01020304, "ABCDEFGHI");  // nine letters, no terminator in the file
    SetRow(1, -1, "neg");
    SetRow(2, INT32_MIN, "");
    for (int k = 3; k < kHighScoreRows; ++k)
        SetRow(k, INT32_MAX - k, "x");
    SaveHighScores();

    Bytes expected;
    PutRecord(expected, 0x01020304, "ABCDEFGHI");
    PutRecord(expected, -1, "neg");
    PutRecord(expected, INT32_MIN, "");
    for (int k = 3; k < kHighScoreRows; ++k)
        PutRecord(expected, INT32_MAX - k, "x");
    Bytes file = ReadFile(HighScorePath());
    ASSERT_EQ(file.size(), 130u);
    EXPECT_EQ(file, expected);
    EXPECT_FALSE(fs::exists((HighScorePath() + ".tmp")));

    Bytes saved = TableBytes();
    ReloadFromFile();
    EXPECT_EQ(TableBytes(), saved);
    EXPECT_STREQ(highScores[0].name, "ABCDEFGHI");
}

TEST_F(HighScoreTest, NoFileOrAnUnreadableOneGivesTheDefaultsAndCreatesNothing) {
    std::memset(highScores[4].name, 'z', 9);
    LoadHighScores();
    EXPECT_TRUE(IsDefaultTable());
    EXPECT_EQ(highScores[4].name[5], 'z') << "only \"Foo\" and its terminator are written";
    EXPECT_FALSE(fs::exists(HighScorePath()));

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

    // The disk fills up while writing (a limit on file sizes stands in).
    rlimit was, full;
    getrlimit(RLIMIT_FSIZE, &was);
    full = {64, was.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    SaveHighScores();
    setrlimit(RLIMIT_FSIZE, &was);
    EXPECT_EQ(ReadFile(HighScorePath()), old);
    EXPECT_EQ(highScores[0].score, 99999);
    EXPECT_EQ(std::distance(fs::directory_iterator("data"), {}), 2) << "table and lock only";

    // And with room again, the new table replaces the old one.
    SaveHighScores();
    ReloadFromFile();
    EXPECT_EQ(highScores[0].score, 99999);
    EXPECT_STREQ(highScores[0].name, "New");
}

TEST_F(HighScoreTest, RandomAndTruncatedFilesLoadSafely) {
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

    // Random bytes of random length: nothing reads past a record and the
    // names stay drawable.
    SeedRandom(6);
    for (int round = 0; round < 300; ++round) {
        Bytes junk(size_t(Random() % 160));
        for (unsigned char& b : junk)
            b = (unsigned char)(Random() & 0xFF);
        WriteFile(HighScorePath(), junk);
        LoadHighScores();
        for (int k = 0; k < kHighScoreRows; ++k) {
            ASSERT_EQ(highScores[k].name[9] | highScores[k].name[10] | highScores[k].name[11], 0);
            char shown[16];
            std::memset(shown, 'X', sizeof shown);
            DisplayName(highScores[k], shown);
            size_t len = std::strlen(shown);
            ASSERT_LE(len, 9u);
            for (size_t i = 0; i < len; ++i)
                ASSERT_TRUE(shown[i] >= ' ' && shown[i] <= '~');
        }
        DrawHighScoreRows(round % 11 - 1);
    }
}

// --- the table screen ---

TEST_F(HighScoreTest, EmbossedTextHasADarkEdgeAboveAndALightEdgeBelow) {
    BITMAP* bmp = Own(Solid(64, 32, 0));
    int dark = makecol(15, 15, 15), light = makecol(175, 175, 175);
    DrawEmbossed(bmp, font, kAlignLeft, 10, 10, dark, light, white, "%c", '#');
    int top = 99, left = 99, bottom = -1;
    bool hasTop = false;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            if (int c = getpixel(bmp, x, y)) {
                top = std::min(top, y), left = std::min(left, x);
                bottom = std::max(bottom, y);
                hasTop = hasTop || c == white;
            }
    EXPECT_TRUE(hasTop);
    EXPECT_EQ(top, 10);
    EXPECT_EQ(left, 10);
    // The first row is only dark, the last only light.
    for (int x = 0; x < 64; ++x) {
        int c = getpixel(bmp, x, top);
        EXPECT_TRUE(c == 0 || c == dark);
        c = getpixel(bmp, x, bottom);
        EXPECT_TRUE(c == 0 || c == light);
    }
}

TEST_F(HighScoreTest, TableScreenShowsTheDefaultsUntilAClickAndWritesNothing) {
    hp->MouseAt(0, 400, 300, 1);  // still held from the menu: does not count
    hp->MouseAt(3, 400, 300, 0);
    hp->MouseAt(10, 400, 300, 1);
    hp->MouseAt(12, 400, 300, 0);
    bool rowsShown = false;
    hp->onFrame = [&](int f) {
        if (f == 8) {
            rowsShown =
                ShowsText(hp->display(), "1)", kAlignRight, kRankX + 1, RowY(0) + 1, white) &&
                ShowsText(hp->display(), "Foo", kAlignLeft, kRankX + 26, RowY(0) + 1, white) &&
                ShowsText(hp->display(), "200", kAlignRight, kRankX + 181, RowY(0) + 1, white) &&
                ShowsText(hp->display(), "10)", kAlignRight, kRankX + 1, RowY(9) + 1, white) &&
                ShowsText(hp->display(), "110", kAlignRight, kRankX + 181, RowY(9) + 1, white);
        }
    };
    ShowHighScores();
    EXPECT_TRUE(rowsShown);
    EXPECT_EQ(hp->frame(), 13);  // the release is seen at the poll after frame 12
    EXPECT_FALSE(fs::exists(HighScorePath()));
}

TEST_F(HighScoreTest, TableScreenShowsSignsFullNamesAndStrangeBytesSafely) {
    Bytes file;
    PutRecord(file, 300, "ABCDEFGHI");
    PutRecord(file, 250, "a\x01\xff");
    for (int k = 2; k < kHighScoreRows; ++k)
        PutRecord(file, -120 - k, "Low");
    WriteFile(HighScorePath(), file);
    hp->PressKey(2, KEY_SPACE, ' ');
    ShowHighScores();
    BITMAP* d = hp->display();
    EXPECT_TRUE(ShowsText(d, "ABCDEFGHI", kAlignLeft, kRankX + 26, RowY(0) + 1, white));
    EXPECT_TRUE(ShowsText(d, "a??", kAlignLeft, kRankX + 26, RowY(1) + 1, white));
    EXPECT_TRUE(ShowsText(d, "-122", kAlignRight, kRankX + 181, RowY(2) + 1, white));
    EXPECT_EQ(hp->frame(), 2);
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
            if (f == 2) {
                goldRow = c.row >= 0 &&
                          ColourInBand(hp->display(), gold, RowY(c.row), RowY(c.row) + 10) &&
                          !ColourInBand(hp->display(), gold, 0, RowY(c.row) - 1);
                yourScore = ShowsText(hp->display(), "Your Score: " + std::to_string(c.finalScore),
                                      kAlignCentre, 400, kYourScoreY + 1, gold);
            }
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
    EXPECT_EQ(highScores[5].score, 0);
    EXPECT_EQ(highScores[6].score, -5);
    EXPECT_STREQ(highScores[6].name, "Neg");
    EXPECT_EQ(highScores[7].score, -10);
    EXPECT_EQ(highScores[9].score, -30);
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
