// Data files as the game reads them: damaged ones end the game in order
// (the message naming the file, exit status 1) before Allegro reads them,
// never in a crash later; the faster ways of loading and drawing pictures
// give exactly the pixels that Allegro's own reader and blitters give.
#include <allegro.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/blit.h"
#include "app/bmpreader.h"
#include "app/datacheck.h"
#include "app/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

static std::string Slurp(const std::string& path) {
    std::ostringstream out;  // in bulk: the picture file is 37 MB
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

// `bytes` as the game's font file: checked, loaded, the first object taken
// as the font and every character drawn. False: the game stops instead.
static bool UsableFont(const std::string& bytes) {
    fs::remove("data/font.dat");  // a file cut and rewritten is flushed at close on ext4
    std::ofstream("data/font.dat", std::ios::binary) << bytes;
    DATAFILE* data = CheckDatafile("data/font.dat").empty() ? load_datafile("data/font.dat") : 0;
    bool font = data && data[0].type == DAT_FONT;
    for (int c = 1; font && c < 256; ++c) {
        char text[] = {char(c), 'g', 0};
        textout_ex(scratchBuffer, static_cast<FONT*>(data[0].dat), text, 0, 0, 1, -1);
    }
    if (data)
        unload_datafile(data);
    return font;
}

class DatafileTest : public HeadlessTest {};

TEST_F(DatafileTest, EveryCutAndScribbleOfTheFontIsRefusedOrDrawsSafely) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    const std::string font = Slurp("data/font.dat");
    TempFolder folder;
    for (size_t n = font.size() % 3; n <= font.size(); n += 3)  // every third cut, and none
        ASSERT_EQ(UsableFont(font.substr(0, n)), n == font.size()) << "cut to " << n;
    // Before the first glyph (0x39) lie headers, sizes and counts, and the
    // member name's property type (0x10) and text (0x18..0x1f).
    for (size_t i = 0; i < font.size(); i += i < 0x40 ? 1 : 2) {
        std::string scribbled = font;
        scribbled[i] = char(scribbled[i] ^ 0xFF);
        EXPECT_FALSE(UsableFont(scribbled) && i < 0x39 && i / 4 != 4 && i / 8 != 3) << "byte " << i;
    }
    uint32_t seed = RandomState();
    SeedRandom(14);
    for (int round = 0; round < 100; ++round) {
        std::string scribbled = font;
        for (int k = Random() % 8; k >= 0; --k)
            scribbled[size_t(Random()) % font.size()] = char(Random());
        UsableFont(scribbled);  // refused or drawn, never a crash
    }
    SeedRandom(seed);
}

// Each loader of the game on its file; a key waiting ends the film at once.
static void UseEveryFile(HeadlessPlatform* hp, const std::string& picture) {
    LoadDatafile(kFontFile);
    LoadSample("hit.wav");
    LoadImage(picture.c_str());
    hp->PressKey(0, KEY_SPACE, ' ');
    PlayIntro();
    std::exit(0);
}

TEST_F(DatafileTest, DamagedFilesEndInOrderNamingTheFile) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    // gfx.dat's first picture: its name's length at 20, the name at 24.
    std::string gfx = Slurp("data/gfx.dat");
    size_t nameLength = size_t(gfx[23]) & 0xFF;
    // A file, the bytes kept of it, and a byte set to a value unless past the end.
    const std::tuple<const char*, size_t, size_t, char> cases[] = {
        {"font.dat", 8, ~0u, 0},      {"font.dat", 1000, ~0u, 0},
        {"font.dat", ~0u, 0x30, 2},    // the range's mono flag
        {"snd.dat", ~0u, 0x32, 0x7F},  // hit.wav's length
        {"gfx.dat", ~0u, 11, 0x7F},    // more members counted than there are
        {"cm.m", ~0u, 0x4A, '\xFF'},   // a data byte of the second track
    };
    std::string home = fs::current_path().string();
    TempFolder folder;
    for (const char* name : {"gfx.dat", "snd.dat", "font.dat", "cm.m"})
        fs::create_symlink(home + "/data/" + name, std::string("data/") + name);
    for (auto [file, keep, at, value] : cases) {
        std::string path = std::string("data/") + file, bytes = Slurp(path).substr(0, keep);
        if (at < bytes.size())
            bytes[at] = value;
        fs::remove(path);
        std::ofstream(path, std::ios::binary) << bytes;
        EXPECT_EXIT(UseEveryFile(hp, gfx.substr(24, nameLength)), ::testing::ExitedWithCode(1),
                    "\"" + path + "\".*missing or damaged");
        fs::remove(path);
        fs::create_symlink(home + "/" + path, path);
    }
}

// --- faster loading and drawing, pixel for pixel ---
class PicturesTest : public HeadlessTest {
  protected:
    void TearDown() override {
        plainDrawing = false;
        HeadlessTest::TearDown();
    }
    static bool Same(BITMAP* a, BITMAP* b) {
        bool same = a && b && a->w == b->w && a->h == b->h;
        for (int y = 0; same && y < a->h; ++y)
            same = std::memcmp(a->line[y], b->line[y], size_t(a->w) * 2) == 0;
        destroy_bitmap(a);
        destroy_bitmap(b);
        return same;
    }
};

// Every member, found through the index and read row by row, also on a
// screen that keeps red and blue the other way round.
TEST_F(PicturesTest, MembersLoadAsAllegrosReaderLoadsThem) {
    ASSERT_TRUE(HaveRealData());
    DATAFILE* all = load_datafile("data/gfx.dat");
    ASSERT_NE(all, nullptr);
    int same = 0, members = 0;
    for (int swapped = 0; swapped < 2; ++swapped, std::swap(_rgb_r_shift_16, _rgb_b_shift_16))
        for (DATAFILE* d = all; d->type != DAT_END; ++d, ++members) {
            std::string path = std::string("data/gfx.dat#") + get_datafile_property(d, DAT_NAME);
            same += Same(load_bitmap(path.c_str(), nullptr), LoadBmpMember(path.c_str()));
        }
    unload_datafile(all);
    EXPECT_EQ(same, members);
    EXPECT_EQ(members, 200);
    EXPECT_EQ(LoadBmpMember("data/gfx.dat#no such picture.bmp"), nullptr);
}

// Rectangles that cross every edge of the source, of the target and of a
// clip rectangle inside it, or miss them entirely.
TEST_F(PicturesTest, MaskedBlitClipsAndMasksLikeAllegro) {
    BITMAP* sprite = Own(create_bitmap(40, 30));
    for (int y = 0; y < sprite->h; ++y)
        for (int x = 0; x < sprite->w; ++x)
            putpixel(sprite, x, y,
                     (x * 7 + y * 3) % 5 ? makecol(x * 6, y * 8, 90) : bitmap_mask_color(sprite));
    BITMAP* expected = Own(create_bitmap(64, 48));
    BITMAP* actual = Own(create_bitmap(64, 48));
    int mismatches = 0;
    for (int clipped = 0; clipped < 2; ++clipped)
        for (int sx : {-9, 0, 5, 39, 40})
            for (int sy : {-4, 0, 7, 30})
                for (int dx : {-45, -3, 0, 11, 50, 63, 64})
                    for (int dy : {-31, -1, 0, 20, 47, 48})
                        for (int w : {0, 1, 9, 40, 70})
                            for (int h : {1, 17, 50}) {
                                for (BITMAP* b : {expected, actual}) {
                                    set_clip_rect(b, 0, 0, 63, 47);
                                    clear_to_color(b, makecol(0, 200, 0));
                                    if (clipped)
                                        set_clip_rect(b, 6, 5, 50, 40);
                                }
                                masked_blit(sprite, expected, sx, sy, dx, dy, w, h);
                                MaskedBlit(sprite, actual, sx, sy, dx, dy, w, h);
                                for (int y = 0; y < 48; ++y)
                                    mismatches +=
                                        memcmp(expected->line[y], actual->line[y], 128) != 0;
                            }
    EXPECT_EQ(mismatches, 0);
}

// Every presented frame of a recorded game, as a checksum of its pixels,
// drawn once with Allegro's blitters and once with the faster copies.
TEST_F(PicturesTest, RecordedGameLooksTheSameWithFastDrawing) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    std::vector<uLong> frames[2];
    for (int fast = 0; fast < 2; ++fast) {
        hp = StartHeadless();
        clear_to_color(backBuffer, 0);
        plainDrawing = !fast;
        ASSERT_TRUE(LoadRecordedGame("sweep", hp));
        StartOfRun();
        hp->onFrame = [&](int) {
            BITMAP* d = hp->display();
            uLong crc = crc32(0, nullptr, 0);
            for (int y = 0; y < d->h; ++y)
                crc = crc32(crc, d->line[y], uInt(d->w * 2));
            frames[fast].push_back(crc);
        };
        RunGame();
    }
    ASSERT_GT(frames[0].size(), 500u);
    auto diff =
        std::mismatch(frames[0].begin(), frames[0].end(), frames[1].begin(), frames[1].end());
    EXPECT_TRUE(diff.first == frames[0].end() && diff.second == frames[1].end())
        << "first different frame: " << diff.first - frames[0].begin();
}
