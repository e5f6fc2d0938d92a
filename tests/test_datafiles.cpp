// Damaged data files end the game in order (the message naming the file,
// exit status 1) before Allegro reads them, never in a crash later.
#include <allegro.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "app/data/datacheck.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "screens/intro.h"
#include "support/harness.h"
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
    std::string home = fs::current_path().generic_u8string();
    TempFolder folder;
    for (const char* name : {"gfx.dat", "snd.dat", "font.dat", "cm.m"})
        LinkFile(home + "/data/" + name, std::string("data/") + name);
    for (auto [file, keep, at, value] : cases) {
        std::string path = std::string("data/") + file, bytes = Slurp(path).substr(0, keep);
        if (at < bytes.size())
            bytes[at] = value;
        fs::remove(path);
        std::ofstream(path, std::ios::binary) << bytes;
        EXPECT_EXIT(UseEveryFile(hp, gfx.substr(24, nameLength)), ::testing::ExitedWithCode(1),
                    "\"" + path + "\".*missing or damaged");
        fs::remove(path);
        LinkFile(home + "/" + path, path);
    }
}
