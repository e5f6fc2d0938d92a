// Checks the built sound, font and music files the way the game reads them:
// through Allegro, from the build folder (the tests' working directory).
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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

struct SoundSpec {
    const char* name;
    bool loop;  // played looped by the game
};

const SoundSpec kSounds[] = {
    {"hit.wav", false},      {"playergun.wav", false}, {"schmusen.wav", true},
    {"schmusen_.wav", true}, {"shootings.wav", true},
};

// Allegro keeps 16-bit samples unsigned, silence at 0x8000.
int Level(const SAMPLE* s, unsigned long i) {
    return static_cast<const uint16_t*>(s->data)[i] - 0x8000;
}

TEST_F(AudioAssets, SamplesLoadByNameShortAndLoud) {
    for (const SoundSpec& spec : kSounds) {
        SCOPED_TRACE(spec.name);
        DATAFILE* obj = load_datafile_object("data/snd.dat", spec.name);
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
    for (const SoundSpec& spec : kSounds) {
        SCOPED_TRACE(spec.name);
        DATAFILE* obj = load_datafile_object("data/snd.dat", spec.name);
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
        if (spec.loop) {
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

}  // namespace
