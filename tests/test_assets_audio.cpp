// Checks the built sound, font and music files the way the game reads them:
// through Allegro, from the build folder (the tests' working directory).
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

class AudioAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Another suite of the same test program may already have set up
        // Allegro; a second install would be refused anyway.
        if (!system_driver)
            install_allegro(SYSTEM_NONE, &errno, atexit);
        set_color_depth(16);
    }
};

TEST_F(AudioAssets, FontIsFirstObjectMonochromeAndLineSized) {
    DATAFILE* data = load_datafile("data/font.dat");
    ASSERT_NE(data, nullptr) << "data/font.dat missing or unreadable";
    ASSERT_EQ(data[0].type, DAT_FONT) << "the game takes the first object as its font";
    FONT* font = static_cast<FONT*>(data[0].dat);
    const int h = text_height(font);
    EXPECT_GE(h, 14);
    EXPECT_LE(h, 18) << "the high score rows are 18 pixels apart";

    // Monochrome means the text colour decides: draw a sample in two colours
    // and find nothing but that colour and the untouched background.
    BITMAP* bmp = create_bitmap(text_length(font, "Wg%9") + 4, h + 4);
    ASSERT_NE(bmp, nullptr);
    const int back = makecol(0, 0, 0);
    for (int colour : {makecol(255, 255, 255), makecol(248, 211, 67)}) {
        clear_to_color(bmp, back);
        textout_ex(bmp, font, "Wg%9", 2, 2, colour, -1);
        int ink = 0;
        for (int y = 0; y < bmp->h; ++y) {
            for (int x = 0; x < bmp->w; ++x) {
                const int p = getpixel(bmp, x, y);
                if (p == colour) {
                    ++ink;
                } else {
                    ASSERT_EQ(p, back) << "a colour font ignores the text colour";
                }
            }
        }
        EXPECT_GT(ink, 20);
    }
    destroy_bitmap(bmp);

    // Printable ASCII, no more and no less: a grid the importer misread
    // shifts or loses characters.
    EXPECT_EQ(get_font_ranges(font), 1);
    EXPECT_EQ(get_font_range_begin(font, -1), ' ');
    EXPECT_EQ(get_font_range_end(font, -1), '~');
    EXPECT_GT(text_length(font, "W"), text_length(font, "i")) << "not proportional";
    unload_datafile(data);
}

struct ExpectedSound {
    const char* name;
    bool loop;  // played looped by the game
};

const ExpectedSound kSounds[] = {
    {"hit.wav", false},      {"playergun.wav", false}, {"schmusen.wav", true},
    {"schmusen_.wav", true}, {"shootings.wav", true},
};

// Allegro keeps 16-bit samples unsigned, silence at 0x8000.
int Level(const SAMPLE* s, unsigned long i) {
    return static_cast<const uint16_t*>(s->data)[i] - 0x8000;
}

TEST_F(AudioAssets, SamplesLoadByNameShortAndLoud) {
    for (const ExpectedSound& want : kSounds) {
        SCOPED_TRACE(want.name);
        DATAFILE* obj = load_datafile_object("data/snd.dat", want.name);
        ASSERT_NE(obj, nullptr) << "not in data/snd.dat";
        ASSERT_EQ(obj->type, DAT_SAMPLE);
        const SAMPLE* s = static_cast<SAMPLE*>(obj->dat);
        EXPECT_EQ(s->bits, 16);
        EXPECT_EQ(s->stereo, 0);
        EXPECT_GE(s->freq, 11025);
        EXPECT_LE(s->freq, 44100);
        const double seconds = static_cast<double>(s->len) / s->freq;
        EXPECT_GE(seconds, 0.1);
        EXPECT_LE(seconds, 1.5) << "keep the effects short";
        int peak = 0;
        for (unsigned long i = 0; i < s->len; ++i)
            peak = std::max(peak, std::abs(Level(s, i)));
        EXPECT_GT(peak, 16000) << "too quiet next to the other effects";
        EXPECT_LT(peak, 32767) << "clipped";
        unload_datafile_object(obj);
    }
}

// A sound that starts or stops away from the centre line clicks; a loop must
// in addition run from its last sample into its first without a step, across
// a zero crossing.
TEST_F(AudioAssets, SamplesStartAndEndOnZeroLoopsSeamless) {
    for (const ExpectedSound& want : kSounds) {
        SCOPED_TRACE(want.name);
        DATAFILE* obj = load_datafile_object("data/snd.dat", want.name);
        ASSERT_NE(obj, nullptr);
        const SAMPLE* s = static_cast<SAMPLE*>(obj->dat);
        ASSERT_GT(s->len, 2u);
        // The game loops the whole sample.
        EXPECT_EQ(s->loop_start, 0u);
        EXPECT_EQ(s->loop_end, s->len);
        const int first = Level(s, 0);
        const int last = Level(s, s->len - 1);
        EXPECT_LE(std::abs(first), 400);
        EXPECT_LE(std::abs(last), 400);
        if (want.loop) {
            EXPECT_TRUE(last < 0 && first >= 0)
                << "seam not at an upward zero crossing: " << last << " -> " << first;
            long steps = 0;
            for (unsigned long i = 1; i < s->len; ++i) {
                steps += std::abs(Level(s, i) - Level(s, i - 1));
            }
            const double meanStep = static_cast<double>(steps) / (s->len - 1);
            EXPECT_LE(std::abs(first - last), meanStep) << "the loop jumps at its seam";
        } else {
            EXPECT_EQ(first, 0);
            EXPECT_EQ(last, 0);
        }
        unload_datafile_object(obj);
    }
}

// What the tests need to know about a standard MIDI file, read straight from
// its bytes (Allegro's own length query needs a running timer).
struct TuneFacts {
    bool ok = false;
    int division = 0;        // ticks per beat
    long endTick = 0;        // the latest end of track
    long lastNoteTick = 0;   // the latest note start
    long tempo = 500000;     // microseconds per beat (the first tempo event)
    std::set<int> programs;  // General MIDI programs, 0-based
    std::set<int> drumKeys;  // keys played on channel 10
};

TuneFacts ReadTune(const std::string& path) {
    TuneFacts facts;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    size_t pos = 0;
    auto u32 = [&](size_t at) {
        return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 |
               b[at + 3];
    };
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd")
        return facts;
    facts.division = b[12] << 8 | b[13];
    pos = 8 + u32(4);
    bool tempoSeen = false;
    while (pos + 8 <= b.size()) {
        const size_t len = u32(pos + 4);
        const bool track = std::string(b.begin() + pos, b.begin() + pos + 4) == "MTrk";
        size_t p = pos + 8;
        const size_t end = std::min(b.size(), p + len);
        pos = p + len;
        if (!track)
            continue;
        long tick = 0;
        uint8_t status = 0;
        auto vlq = [&]() {
            long v = 0;
            while (p < end) {
                const uint8_t c = b[p++];
                v = v << 7 | (c & 0x7F);
                if (!(c & 0x80))
                    break;
            }
            return v;
        };
        while (p < end) {
            tick += vlq();
            if (p >= end)
                return facts;
            if (b[p] & 0x80)
                status = b[p++];
            if (status == 0xFF) {
                const uint8_t type = b[p++];
                const long n = vlq();
                if (type == 0x51 && n == 3 && !tempoSeen) {
                    facts.tempo = long(b[p]) << 16 | long(b[p + 1]) << 8 | b[p + 2];
                    tempoSeen = true;
                }
                p += n;
                if (type == 0x2F)
                    break;
            } else if (status == 0xF0 || status == 0xF7) {
                p += vlq();
            } else {
                const int kind = status & 0xF0;
                const int channel = status & 0x0F;
                const int d1 = b[p++];
                const int d2 = (kind == 0xC0 || kind == 0xD0) ? 0 : b[p++];
                if (kind == 0xC0)
                    facts.programs.insert(d1);
                if (kind == 0x90 && d2 > 0) {
                    if (channel == 9)
                        facts.drumKeys.insert(d1);
                    facts.lastNoteTick = std::max(facts.lastNoteTick, tick);
                }
            }
        }
        facts.endTick = std::max(facts.endTick, tick);
    }
    facts.ok = facts.division > 0;
    return facts;
}

// The intro seeks to beat 4, starts its finale past beat 65, needs a few more
// frames after that, and ends when the tune stops.
TEST_F(AudioAssets, TuneLoadsAndOutlastsTheIntroFilm) {
    MIDI* midi = load_midi("data/cm.m");
    ASSERT_NE(midi, nullptr) << "data/cm.m missing or not a standard MIDI file";
    destroy_midi(midi);

    const TuneFacts tune = ReadTune("data/cm.m");
    ASSERT_TRUE(tune.ok);
    const double beats = static_cast<double>(tune.endTick) / tune.division;
    EXPECT_GE(beats, 72.0);
    EXPECT_LE(beats, 84.0) << "the intro would drag on after its finale";
    EXPECT_GT(static_cast<double>(tune.lastNoteTick) / tune.division, 70.0)
        << "silence under the finale";
    const double seconds = beats * tune.tempo / 1e6;
    EXPECT_GE(seconds, 35.0);
    EXPECT_LE(seconds, 55.0);
}

// Without a synthesizer the tune plays from patches.dat; a program or drum it
// uses that the set lacks is simply silent. The set's list numbers programs
// from 1 and drums by key inside the multipatch block.
TEST_F(AudioAssets, PatchSetCoversEveryInstrumentOfTheTune) {
    const TuneFacts tune = ReadTune("data/cm.m");
    ASSERT_TRUE(tune.ok);
    ASSERT_FALSE(tune.programs.empty());
    DATAFILE* list = load_datafile_object("patches.dat", "default_cfg");
    ASSERT_NE(list, nullptr) << "patches.dat missing or without its patch list";
    std::istringstream text(
        std::string(static_cast<const char*>(list->dat), static_cast<size_t>(list->size)));
    std::set<int> programs;
    std::set<int> drumKeys;
    bool drums = false;
    for (std::string line; std::getline(text, line);) {
        std::istringstream words(line);
        std::string first, second;
        words >> first >> second;
        if (second == "begin_multipatch") {
            drums = true;
        } else if (first == "end_multipatch") {
            drums = false;
        } else if (!first.empty() && std::isdigit(static_cast<unsigned char>(first[0]))) {
            if (drums) {
                drumKeys.insert(std::stoi(first));
            } else {
                programs.insert(std::stoi(first) - 1);
            }
        }
    }
    unload_datafile_object(list);
    for (int program : tune.programs)
        EXPECT_EQ(programs.count(program), 1u) << "program " << program;
    for (int key : tune.drumKeys)
        EXPECT_EQ(drumKeys.count(key), 1u) << "drum key " << key;
    EXPECT_EQ(programs.size(), tune.programs.size()) << "patches the tune never plays";
}

}  // namespace
