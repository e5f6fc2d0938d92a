// Checks the built sound, font and music files the way the game reads them:
// through Allegro, from the build folder (the tests' working directory).
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
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

}  // namespace
