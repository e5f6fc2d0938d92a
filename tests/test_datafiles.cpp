// Damaged data files end the game in order (the message naming the file,
// exit status 1) before Allegro reads them, never in a crash later.
#include <allegro.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/data/datacheck.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "screens/intro.h"
#include "support/datafiles.h"
#include "support/harness.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;

// The largest single allocation while `watchNew` is set: the check must not
// allocate from a size in a file before it knows the size is sane.
// (The sanitizers' own operator new stays in their builds.)
static bool watchNew = false;
static size_t largestNew = 0;
#ifndef FLUFF_SANITIZED
void* operator new(size_t n) {
    if (watchNew && n > largestNew)
        largestNew = n;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
#endif

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

// --- datafiles made here, member by member ---

static void Be32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char(v >> shift);
}

static void Le(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * i));
}

// Allegro's LZSS with every byte a literal: a flag byte of ones before
// each eight.
static std::string PackLiterally(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 8 == 0)
            out += '\xFF';
        out += bytes[i];
    }
    return out;
}

struct Member {
    std::string name;
    const char* type;  // four characters
    std::string bytes;
    bool packed = false;
    int64_t unpacked = -1;  // the size stated when packed; -1: the true one
};

static std::string PackedDatafile(const std::vector<Member>& members) {
    std::string out = "slh.ALL.";
    Be32(out, uint32_t(members.size()));
    for (const Member& m : members) {
        out += "propNAME";
        Be32(out, uint32_t(m.name.size()));
        out += m.name + m.type;
        std::string body = m.packed ? PackLiterally(m.bytes) : m.bytes;
        Be32(out, uint32_t(body.size()));
        int64_t size = m.unpacked >= 0 ? m.unpacked : int64_t(m.bytes.size());
        Be32(out, uint32_t(m.packed ? -size : size));
        out += body;
    }
    return out;
}

// A picture of the game's form: 16-bit 5-6-5 bitfields, bottom up.
struct PictureForm {
    int32_t w = 5, h = 3;
    int bpp = 16;
    uint32_t compression = 3, masks[3] = {0xF800, 0x07E0, 0x001F};
};
static std::string Bmp(const PictureForm& b, int64_t pixelBytes = -1) {
    std::string out = "BM";
    int64_t rows = int64_t((b.w * 2 + 3) / 4 * 4) * b.h;
    Le(out, uint32_t(66 + rows), 4);
    Le(out, 0, 4);
    Le(out, 66, 4);
    Le(out, 40, 4);
    Le(out, uint32_t(b.w), 4);
    Le(out, uint32_t(b.h), 4);
    Le(out, 1, 2);
    Le(out, uint32_t(b.bpp), 2);
    Le(out, b.compression, 4);
    out += std::string(20, '\0');
    for (uint32_t m : b.masks)
        Le(out, m, 4);
    return out + std::string(size_t(pixelBytes >= 0 ? pixelBytes : rows), '\x5A');
}

// One font range of 1-bit 8x8 glyphs, characters 32 to 33.
static std::string TinyFont(char mono = 1) {
    std::string out = std::string("\0\0\0\1", 4) + mono;
    Be32(out, 32);
    Be32(out, 33);
    for (int c = 0; c < 2; ++c)
        out += std::string("\0\x08\0\x08", 4) + std::string(8, '\x3C');
    return out;
}

static std::string CheckBytes(const std::string& bytes) {
    fs::remove("data/made.dat");
    std::ofstream("data/made.dat", std::ios::binary) << bytes;
    watchNew = true;
    std::string why = CheckDatafile("data/made.dat");
    watchNew = false;
    return why;
}

TEST(Datafile, PackedMembersAreUnpackedAndCheckedAsTheyComeOut) {
    TempFolder folder;
    largestNew = 0;
    EXPECT_EQ(CheckBytes(PackedDatafile({{"a.bmp", "DATA", Bmp({}), true},
                                         {"b.bmp", "DATA", Bmp({}), false},
                                         {"font", "FONT", TinyFont(), true}})),
              "");
    PictureForm rle;
    rle.bpp = 8, rle.compression = 1;
    PictureForm rgb;
    rgb.compression = 0;
    PictureForm masks;
    masks.masks[1] = 0x03E0;  // 5-5-5
    PictureForm huge;
    huge.w = huge.h = 65536;
    PictureForm wide;
    wide.w = 8193;
    PictureForm big;  // 1024 rows of 2049 pixels: 4 MiB and 4 KiB
    big.w = 2049, big.h = 1024;
    PictureForm topDown;
    topDown.h = -3;
    std::string cut = PackLiterally(Bmp({}));
    cut.resize(cut.size() - 3);
    const std::pair<Member, const char*> cases[] = {
        {{"p.bmp", "DATA", Bmp(rle), true}, "run-length coded"},
        {{"p.bmp", "DATA", Bmp(rle), false}, "run-length coded"},
        {{"p.bmp", "DATA", Bmp(rgb), true}, "not 16-bit 5-6-5"},
        {{"p.bmp", "DATA", Bmp(masks), true}, "not 16-bit 5-6-5"},
        {{"p.bmp", "DATA", Bmp(topDown, 30), true}, "width or height is not sane"},
        {{"p.bmp", "DATA", Bmp(huge, 30), true}, "larger than any of the game's"},
        {{"p.bmp", "DATA", Bmp(wide, 30), true}, "larger than any of the game's"},
        {{"p.bmp", "DATA", Bmp(big, 30), false}, "larger than any of the game's"},
        {{"p.bmp", "DATA", Bmp({}, 29), true}, "pixels run past the member"},
        {{"p.bmp", "DATA", Bmp({}, 37), false}, "stray bytes follow its pixels"},
        {{"p.bmp", "DATA", Bmp({}).substr(0, 40), true}, "BMP header is cut off"},
        {{"p.bmp", "DATA", "PK" + Bmp({}), true}, "not a BMP picture"},
        // Stated sizes: 4 GiB less a byte, 4 MiB and a byte, more than 28
        // bytes can unpack to, one less than the picture.
        {{"p.bmp", "DATA", Bmp({}), true, 0x7FFFFFFF}, "more than any member of the game's"},
        {{"p.bmp", "DATA", Bmp({}), true, (4 << 20) + 1}, "more than any member of the game's"},
        {{"x", "DATA", std::string(10, 'x'), true, 1000}, "more than its packed bytes can"},
        {{"p.bmp", "DATA", Bmp({}), true, 101}, "more than its size says"},
        {{"p.bmp", "DATA", Bmp({}), true, 103}, "less than its size says"},
        {{"font", "FONT", TinyFont(2), true}, "a character range is not sane"},
        {{"font", "FONT", TinyFont().substr(0, 15), true}, "a glyph is cut off"},
        {{"font", "FONT", TinyFont(), true, 30}, "more than its size says"},
        {{"hit.wav", "SAMP", std::string("\0\x08\x2B\x11\0\0\0\x09xxxxxxxx", 16), true},
         "length disagrees with its size"},
        {{"inner", "FILE", PackedDatafile({}).substr(4), true}, "datafile inside it is packed"},
    };
    for (const auto& [member, why] : cases) {
        std::string got = CheckBytes(PackedDatafile({member}));
        EXPECT_NE(got.find(why), std::string::npos) << why << ": " << got;
        EXPECT_EQ(got.rfind("\"" + member.name + "\": ", 0), 0u) << got;
    }
    // A run may refer back only to what was unpacked, or to the zeros
    // before the place the first byte goes (4078): 18 bytes from 4095 and
    // 18 from 4077, in either order.
    auto runs = [](const char* two) {
        std::string file = PackedDatafile({});
        file[11] = 1;
        file += "propNAME";
        Be32(file, 3);
        file += "rawDATA";
        Be32(file, 5);
        Be32(file, uint32_t(-36));
        return file + std::string(two, 5);
    };
    EXPECT_EQ(CheckBytes(runs("\0\xFF\xFF\xED\xFF")),
              "\"raw\": its packed bytes refer to bytes never unpacked");
    EXPECT_EQ(CheckBytes(runs("\0\xEE\xFF\xFF\xFF")),
              "\"raw\": its packed bytes refer to bytes never unpacked")
        << "from 4078, where the first byte goes";
    EXPECT_EQ(CheckBytes(runs("\0\xED\xFF\xFF\xFF")), "");
#ifndef FLUFF_SANITIZED
    EXPECT_LE(largestNew, size_t(4 << 20)) << "no allocation above the largest member";
#endif
}

// What the game does with a picture of another form: the check's message,
// the member named, status 1; Allegro's reader never sees it.
TEST_F(DatafileTest, APackedRunLengthPictureEndsTheGameInOrder) {
    TempFolder folder;
    PictureForm rle;
    rle.bpp = 8, rle.compression = 1;
    std::ofstream("data/gfx.dat", std::ios::binary) << PackedDatafile(
        {{"cursor.bmp", "DATA", Bmp(rle), true}, {"tlebg.bmp", "DATA", Bmp({}), true}});
    EXPECT_EXIT(LoadImage("tlebg.bmp"), ::testing::ExitedWithCode(1),
                "member \"tlebg.bmp\" of \"data/gfx.dat\".*\"cursor.bmp\": its picture is "
                "run-length coded");
}

TEST_F(DatafileTest, EveryScribbleOfAPackedFontIsRefusedOrDrawsSafely) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    // font.dat's font, packed as a grabber would have: its bytes from
    // after its header (name property, type and two sizes) to the end.
    const std::string plain = Slurp("data/font.dat");
    const size_t at = 12 + 12 + 8 + 4 + 8;
    const std::string font = PackedDatafile({{"font.bmp", "FONT", plain.substr(at), true}});
    TempFolder folder;
    ASSERT_TRUE(UsableFont(font));
    uint32_t seed = RandomState();
    SeedRandom(23);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string scribbled = font;
        for (int k = Random() % 4; k >= 0; --k)
            scribbled[44 + size_t(Random()) % (font.size() - 44)] = char(Random());
        refused += !UsableFont(scribbled);  // refused or drawn, never a crash
    }
    EXPECT_GT(refused, 0) << "the check saw none of the damage";
    SeedRandom(seed);
}
