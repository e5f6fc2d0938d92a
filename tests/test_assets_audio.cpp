// Checks the built sound, font and music files the way the game reads them:
// through Allegro, from the build folder (the tests' working directory).
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/assets.h"

namespace {

class AudioAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { StartAllegro16(); }
};

TEST_F(AudioAssets, FontIsFirstObjectMonochromeAndLineSized) {
    DATAFILE* data = load_datafile("data/font.dat");
    ASSERT_NE(data, nullptr) << "data/font.dat missing or unreadable";
    ASSERT_EQ(data[0].type, DAT_FONT) << "the game takes the first object as its font";
    FONT* font = static_cast<FONT*>(data[0].dat);
    const int h = text_height(font);
    EXPECT_TRUE(h >= 14 && h <= 18) << h << ": the high score rows are 18 pixels apart";

    // Monochrome means the text colour decides: draw a sample in two colours
    // and find nothing but that colour and the untouched background.
    BITMAP* bmp = create_bitmap(text_length(font, "Wg%9") + 4, h + 4);
    const int back = makecol(0, 0, 0);
    for (int colour : {makecol(255, 255, 255), makecol(248, 211, 67)}) {
        clear_to_color(bmp, back);
        textout_ex(bmp, font, "Wg%9", 2, 2, colour, -1);
        int ink = 0, other = 0;
        for (int y = 0; y < bmp->h; ++y)
            for (int x = 0; x < bmp->w; ++x) {
                const int p = getpixel(bmp, x, y);
                ink += p == colour;
                other += p != colour && p != back;
            }
        EXPECT_GT(ink, 20);
        EXPECT_EQ(other, 0) << "a colour font ignores the text colour";
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

// Short and loud; and a sound that starts or stops away from the centre
// line clicks, so a loop must in addition run from its last sample into its
// first without a step, across a zero crossing.
TEST_F(AudioAssets, SamplesAreShortLoudAndStartAndEndOnZero) {
    for (const ExpectedSound& want : kSounds) {
        SCOPED_TRACE(want.name);
        DATAFILE* obj = load_datafile_object("data/snd.dat", want.name);
        ASSERT_NE(obj, nullptr) << "not in data/snd.dat";
        ASSERT_EQ(obj->type, DAT_SAMPLE);
        const SAMPLE* s = static_cast<SAMPLE*>(obj->dat);
        EXPECT_EQ(s->bits, 16);
        EXPECT_EQ(s->stereo, 0);
        EXPECT_TRUE(s->freq >= 11025 && s->freq <= 44100) << s->freq;
        const double seconds = static_cast<double>(s->len) / s->freq;
        EXPECT_GE(seconds, 0.1);
        EXPECT_LE(seconds, 1.5) << "keep the effects short";
        int peak = 0;
        long steps = 0;
        for (unsigned long i = 0; i < s->len; ++i) {
            peak = std::max(peak, std::abs(Level(s, i)));
            steps += i ? std::abs(Level(s, i) - Level(s, i - 1)) : 0;
        }
        EXPECT_GT(peak, 16000) << "too quiet next to the other effects";
        EXPECT_LT(peak, 32767) << "clipped";
        // The game loops the whole sample.
        EXPECT_EQ(s->loop_start, 0u);
        EXPECT_EQ(s->loop_end, s->len);
        const int first = Level(s, 0);
        const int last = Level(s, s->len - 1);
        if (want.loop) {
            EXPECT_TRUE(last < 0 && first >= 0)
                << "seam not at an upward zero crossing: " << last << " -> " << first;
            const double meanStep = static_cast<double>(steps) / (s->len - 1);
            EXPECT_LE(std::abs(first - last), meanStep) << "the loop jumps at its seam";
            EXPECT_LE(std::abs(first), 400);
            EXPECT_LE(std::abs(last), 400);
        } else {
            EXPECT_EQ(first, 0);
            EXPECT_EQ(last, 0);
        }
        unload_datafile_object(obj);
    }
}

// What the tests need to know about the tune, read from the text score that
// the build compiles into data/cm.m (Allegro's own length query needs a
// running timer).
struct TuneFacts {
    bool ok = false;
    int division = 0;        // ticks per beat
    long endTick = 0;        // the latest end of track
    long lastNoteTick = 0;   // the latest note start
    long tempo = 500000;     // microseconds per beat (the first tempo event)
    std::set<int> programs;  // General MIDI programs, 0-based
    std::set<int> drumKeys;  // keys played on channel 10
};

TuneFacts ReadTune() {
    TuneFacts facts;
    std::ifstream in(std::string(FLUFF_SOURCE_DIR) + "/assets/music/cm.csv");
    bool tempoSeen = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream f(line);
        long track, tick, a = 0, b = 0, c = 0;
        std::string event;
        f >> track >> tick >> event >> a >> b >> c;
        if (event == "Header")
            facts.division = int(c);
        else if (event == "Tempo" && !tempoSeen)
            facts.tempo = a, tempoSeen = true;
        else if (event == "End_track")
            facts.endTick = std::max(facts.endTick, tick);
        else if (event == "Program_c")
            facts.programs.insert(int(b));
        else if (event == "Note_on_c" && c > 0) {
            if (a == 9)
                facts.drumKeys.insert(int(b));
            facts.lastNoteTick = std::max(facts.lastNoteTick, tick);
        }
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

    const TuneFacts tune = ReadTune();
    ASSERT_TRUE(tune.ok);
    const double beats = static_cast<double>(tune.endTick) / tune.division;
    EXPECT_GE(beats, 72.0);
    EXPECT_LE(beats, 84.0) << "the intro would drag on after its finale";
    EXPECT_GT(static_cast<double>(tune.lastNoteTick) / tune.division, 70.0)
        << "silence under the finale";
    const double seconds = beats * tune.tempo / 1e6;
    EXPECT_TRUE(seconds >= 35.0 && seconds <= 55.0) << seconds;
}

// Without a synthesizer the tune plays from patches.dat; a program or drum it
// uses that the set lacks is simply silent. The set's list numbers programs
// from 1 and drums by key inside the multipatch block.
TEST_F(AudioAssets, PatchSetCoversEveryInstrumentOfTheTune) {
    const TuneFacts tune = ReadTune();
    ASSERT_TRUE(tune.ok);
    ASSERT_FALSE(tune.programs.empty());
    DATAFILE* list = load_datafile_object("data/patches.dat", "default_cfg");
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
