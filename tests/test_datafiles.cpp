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
#include "support/datafiles.h"
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

// --- each check refuses what it names, and the same file intact passes ---

namespace {

// A font of ranges {mono, first, last}, every glyph `w` x 2 (w 0: empty),
// `tail` after the last glyph.
std::string Font(std::initializer_list<std::tuple<int, uint32_t, uint32_t>> ranges, int w = 3,
                 const std::string& tail = "") {
    std::string s = Be(0, 2) + Be(uint32_t(ranges.size()), 2);
    for (auto [mono, first, last] : ranges) {
        s += Be(uint32_t(mono), 1) + Be(first, 4) + Be(last, 4);
        for (uint32_t c = first; c <= last; ++c)
            s += Be(uint32_t(w), 2) + Be(2, 2) +
                 std::string(size_t(mono ? (w + 7) / 8 * 2 : w * 2), 'x');
    }
    return Datafile(Object(uint32_t(DAT_FONT), "f", s + tail));
}

// A sample: bits (negative: stereo), frequency, frames, then `bytes` of sound.
std::string Sample(int bits, uint32_t freq, uint32_t frames, size_t bytes) {
    return Datafile(
        Object(uint32_t(DAT_SAMPLE), "s.wav",
               Be(uint16_t(bits), 2) + Be(freq, 2) + Be(frames, 4) + std::string(bytes, 1)));
}

// A 2 x 3 BMP member: 40-byte header, rows from `offset`, the member `cut`
// bytes short.
std::string Bmp(uint32_t offset, int bpp, uint32_t compression, size_t cut = 0) {
    std::string h = BmpHeader(offset, 2, 3, bpp, compression);
    h += std::string(size_t((2 * bpp + 31) / 32 * 4 * 3), 7);
    return Datafile(
        Object(uint32_t(DAT_ID('D', 'A', 'T', 'A')), "p.bmp", h.substr(0, h.size() - cut)));
}

// A standard MIDI file: format, its tracks' events (each closed here by an
// end-of-track unless told), bytes after them.
std::string Midi(int format, std::initializer_list<std::string> tracks, bool close = true,
                 const std::string& after = "") {
    std::string s =
        "MThd" + Be(6, 4) + Be(uint32_t(format), 2) + Be(uint32_t(tracks.size()), 2) + Be(96, 2);
    for (const std::string& t : tracks) {
        std::string events = t + (close ? std::string("\x00\xFF\x2F\x00", 4) : "");
        s += "MTrk" + Be(uint32_t(events.size()), 4) + events;
    }
    return s + after;
}

}  // namespace

TEST(DataCheck, EachCheckRefusesWhatItNamesAndTheIntactFilePasses) {
    const std::string note = std::string("\x00\x90\x40\x60", 4),
                      noteAgain = std::string("\x00\x40\x00", 3);
    struct Case {
        const char* what;
        std::string bytes;
        const char* why;  // "" passes
    } cases[] = {
        {"font", Font({{0, 32, 34}, {1, 40, 41}}), ""},
        {"1-bit glyph of 9 columns: rows of 2 bytes", Font({{1, 65, 66}}, 9), ""},
        {"ranges overlap", Font({{0, 32, 34}, {0, 34, 35}}), "a character range is not sane"},
        {"range runs backwards", Font({{0, 34, 33}}), "a character range is not sane"},
        {"empty glyph", Font({{0, 65, 65}}, 0), "a glyph's size is not sane"},
        {"byte after the last glyph", Font({{0, 65, 65}}, 3, "x"),
         "stray bytes follow the last glyph"},
        {"stereo sample", Sample(-16, 22050, 3, 12), ""},
        {"mono sample", Sample(8, 11025, 5, 5), ""},
        {"frequency 0", Sample(8, 0, 5, 5), "the sample's header is not sane"},
        {"stereo sample of mono length", Sample(-8, 8000, 4, 4), "disagrees with its size"},
        {"picture", Bmp(54, 24, 0), ""},
        {"rows start inside the header", Bmp(20, 24, 0), "its pixels lie outside the member"},
        {"rows run past the member", Bmp(54, 24, 0, 1), "its pixels run past the member"},
        {"run-length at 8 bits", Bmp(54, 8, 1), ""},
        {"run-length at 4 bits", Bmp(54, 4, 2), ""},
        {"8-bit run-length at 4 bits", Bmp(54, 4, 1), "compression is of no known kind"},
        {"byte after the last object", Sample(8, 11025, 5, 5) + "x",
         "stray bytes follow its last object"},
        {"two sizes differ", Datafile(Object(uint32_t(DAT_ID('R', 'A', 'W', ' ')), "r", "abc", 4)),
         "its two sizes disagree"},
        {"a type of no letters", Datafile(Object(0x01020304, "r", "abc")), "its header is damaged"},
        {"tune", Midi(1, {note, note + noteAgain}), ""},
        {"end-of-track before the last event",
         Midi(0, {std::string("\x00\xFF\x2F\x00", 4) + note}, false),
         "its end-of-track event is not last"},
        {"format 0 of two tracks", Midi(0, {note, note}), "not a MIDI file the game can play"},
        {"data byte with no running status", Midi(0, {noteAgain}), "a data byte stands where"},
        {"byte after the last track", Midi(0, {note}, true, "x"),
         "stray bytes follow its last track"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        bool midi = c.bytes.compare(0, 4, "MThd") == 0;
        const char* path = midi ? "data/t.mid" : "data/t.dat";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        std::string why = midi ? CheckMidiFile(path) : CheckDatafile(path);
        bool asNamed = *c.why ? why.find(c.why) != std::string::npos : why.empty();
        EXPECT_TRUE(asNamed) << c.what << ": " << (why.empty() ? "passes" : why);
    }
}
