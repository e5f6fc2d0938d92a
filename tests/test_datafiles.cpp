// Damaged data files end the game in order (the message naming the file,
// exit status 1) before Allegro reads them, never in a crash later: a sweep
// of cuts and scribbles over the real font, and one damage of each kind of
// file through the game's own loaders.
#include <allegro.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "app/datacheck.h"
#include "app/loader.h"
#include "app/random.h"
#include "screens/intro.h"
#include "support/harness.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// What the game does with its font file: the check, Allegro's load, the
// first object taken as the font, and text drawn with every character.
// False when the game would stop with the message instead.
bool UsableFont(const std::string& path, BITMAP* canvas) {
    if (!CheckDatafile(path).empty())
        return false;
    DATAFILE* data = load_datafile(path.c_str());
    bool font = data && data[0].type == DAT_FONT;
    for (int c = 1; font && c < 256; ++c) {
        char text[] = {char(c), 'g', 0};
        textout_ex(canvas, static_cast<FONT*>(data[0].dat), text, 0, 0, 1, -1);
    }
    if (data)
        unload_datafile(data);
    return font;
}

}  // namespace

class DatafileTest : public HeadlessTest {};

TEST_F(DatafileTest, EveryCutAndScribbleOfTheFontIsRefusedOrDrawsSafely) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    const std::string font = Slurp("data/font.dat");
    TempFolder folder;
    BITMAP* canvas = Own(create_bitmap(64, 64));
    int cuts = 0, changes = 0, refused = 0;
    for (size_t n = 0; n < font.size(); n += 3, ++cuts) {
        Spit("data/font.dat", font.substr(0, n));
        ASSERT_FALSE(UsableFont("data/font.dat", canvas)) << "cut to " << n << " bytes";
    }
    // The bytes before the first glyph (0x39) are headers, sizes and counts,
    // except the member name's property type and text.
    for (size_t i = 0; i < font.size(); i += i < 0x40 ? 1 : 2, ++changes) {
        std::string scribbled = font;
        scribbled[i] = char(scribbled[i] ^ 0xFF);
        Spit("data/font.dat", scribbled);
        bool usable = UsableFont("data/font.dat", canvas);
        refused += !usable;
        bool name = (i >= 0x10 && i < 0x14) || (i >= 0x18 && i < 0x20);
        EXPECT_FALSE(usable && i < 0x39 && !name) << "byte " << i;
    }
    uint32_t seed = RandomState();
    SeedRandom(14);
    for (int round = 0; round < 100; ++round) {
        std::string scribbled = font;
        for (int k = Random() % 8; k >= 0; --k)
            scribbled[size_t(Random()) % font.size()] = char(Random());
        Spit("data/font.dat", scribbled);
        refused += !UsableFont("data/font.dat", canvas);
    }
    SeedRandom(seed);
    std::printf("%d cuts refused; %d of %d byte changes and random scribbles refused\n", cuts,
                refused, changes + 100);
}

TEST_F(DatafileTest, DamagedFilesEndInOrderNamingTheFile) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    struct Case {
        const char* file;
        size_t keep;  // bytes kept of the real file
        size_t at;    // a byte set to `value` (past the end: none)
        char value;   //
        const char* named;
        std::function<void()> use;
    };
    auto drawWithFont = [] {
        DATAFILE* data = LoadDatafile(kFontFile);
        if (data[0].type != DAT_FONT)
            FatalLoad(kFontFile, "the font");
        BITMAP* canvas = create_bitmap(800, 40);
        textout_ex(canvas, static_cast<FONT*>(data[0].dat), "Episode I", 0, 0, 1, -1);
        std::exit(0);
    };
    // The first picture of gfx.dat: its name's length, its name, then the
    // member's type and two sizes before its BMP bytes.
    std::string gfx = Slurp("data/gfx.dat");
    size_t nameLength = size_t(gfx[23]) & 0xFF;
    std::string picture = gfx.substr(24, nameLength);
    size_t bmpHeight = 24 + nameLength + 12 + 22;
    const Case cases[] = {
        {"font.dat", 8, ~0u, 0, "\"data/font.dat\"", drawWithFont},
        {"font.dat", 1000, ~0u, 0, "\"data/font.dat\"", drawWithFont},
        {"font.dat", ~0u, 0x30, 2, "\"data/font.dat\"", drawWithFont},   // the range's mono flag
        {"snd.dat", ~0u, 0x32, 0x7F, "\"hit.wav\" of \"data/snd.dat\"",  // the sample's length
         [] {
             LoadSample("hit.wav");
             std::exit(0);
         }},
        {"gfx.dat", ~0u, bmpHeight + 1, 0x70, "\"data/gfx.dat\"",
         [&] {
             LoadImage(picture.c_str());
             std::exit(0);
         }},
        {"cm.m", 2000, ~0u, 0, "\"data/cm.m\"",
         [] {
             PlayIntro();
             std::exit(0);
         }},
    };
    std::string home = fs::current_path().string();
    TempFolder folder;
    for (const char* name : {"gfx.dat", "snd.dat", "font.dat", "cm.m"})
        fs::create_symlink(home + "/data/" + name, std::string("data/") + name);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string bytes = Slurp("data/" + std::string(c.file)).substr(0, c.keep);
        if (c.at < bytes.size())
            bytes[c.at] = c.value;
        fs::remove(std::string("data/") + c.file);
        Spit(std::string("data/") + c.file, bytes);
        EXPECT_EXIT(c.use(), ::testing::ExitedWithCode(1),
                    std::string(c.named) + ".*missing or damaged");
        fs::remove(std::string("data/") + c.file);
        fs::create_symlink(home + "/data/" + c.file, std::string("data/") + c.file);
    }
}
