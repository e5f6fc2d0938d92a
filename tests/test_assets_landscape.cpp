// Geometry of the landscape pictures as the game composes them: layer rows,
// strip layouts and the crest of the near hills under the tower strips.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/assets.h"

namespace {

constexpr int kGroundTop = 237;  // screen row of "fg.bmp" row 0 (layer 160 + 77)

// First opaque row of a column, or the height when the column is empty.
int TopRow(BITMAP* b, int x) {
    for (int y = 0; y < b->h; ++y)
        if (!Masked(b, x, y))
            return y;
    return b->h;
}

// The lowest screen row of the hill line of "fg.bmp".
int LowestHill(BITMAP* fg) {
    int lowest = 0;
    for (int x = 0; x < fg->w; ++x)
        lowest = std::max(lowest, kGroundTop + TopRow(fg, x));
    return lowest;
}

// The tower strips (row 272, as high as "turm0.bmp") stand in plain view
// above the near crest at every column, and the crest stays above row 327,
// where the background layer ends, so no sky shows between the layers.
TEST(LandscapeAssets, GroundCrestLiesBelowTheTowersAndAboveTheBackgroundsEnd) {
    Bitmap fg = Load("fg.bmp");
    Bitmap tower = Load("turm0.bmp");
    ASSERT_TRUE(fg && tower);
    EXPECT_GE(3 * fg->w, 3200);  // three copies cover the layer
    ASSERT_EQ(fg->h, 363);       // from layer row 77 down to the bottom edge
    for (int x = 0; x < fg->w; ++x) {
        int top = TopRow(fg.get(), x);
        EXPECT_GE(kGroundTop + top, 272 + tower->h) << "x " << x;
        EXPECT_LT(kGroundTop + top, 327) << "x " << x;
        // Below the crest the ground is solid down to the bottom edge.
        for (int y = top; y < fg->h; ++y)
            ASSERT_FALSE(Masked(fg.get(), x, y)) << x << "," << y;
    }
}

// The sky band goes on from the fill colour above it, opaque; the castle seats its
// saucer (28 to 38 pixels in, row 186) and hides its foot behind the hills;
// every flower stands on the layer's bottom (108, 185 or 228 rows high) and
// fits a 400-pixel section; trees end above the walkers' path at row 400;
// the shootable flower is about as high as its hit box (w - 8); the landed
// saucer stands on the walk line at row 410, wide enough to step out of.
TEST(LandscapeAssets, PicturesStandWhereTheLayersPutThem) {
    Bitmap sky = Load("sky.bmp"), castle = Load("castle.bmp"), fg = Load("fg.bmp");
    Bitmap blume = Load("blume.bmp"), ufo = Load("ufo.bmp");
    ASSERT_TRUE(sky && castle && fg && blume && ufo);
    for (int x = 0; x < sky->w; ++x)
        ASSERT_EQ(getpixel(sky.get(), x, 0), makecol(0, 202, 255)) << "x " << x;
    for (int y = 0; y < sky->h; ++y)  // blitted opaque: a mask pixel shows magenta
        for (int x = 0; x < sky->w; ++x)
            ASSERT_FALSE(Masked(sky.get(), x, y)) << x << "," << y;
    for (int x = 24; x < 110; ++x)
        EXPECT_FALSE(Masked(castle.get(), x, 0)) << "x " << x;
    EXPECT_TRUE(186 + castle->h > LowestHill(fg.get()) + 2 && castle->w < 400);
    const char* kinds[] = {"blau", "lil1", "lil2", "lila"};
    for (const char* k : kinds)
        for (int e = 0; e < 3; ++e) {
            std::string n = std::string("Blu_") + k + "_e" + std::to_string(e + 2) + ".bmp";
            Bitmap b = Load(n);
            ASSERT_TRUE(b) << n;
            EXPECT_TRUE(b->w < 400 && b->h == (e ? e == 1 ? 185 : 228 : 108)) << n;
            EXPECT_TRUE(HasInk(b.get(), 0, b->h - 1, b->w, 1)) << n << ": the stem floats";
        }
    for (int i = 0; i < 2; ++i) {  // tree1 from layer row 0, tree0 from row 50
        Bitmap t = Load("tree" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(t);
        const int foot = 160 + (i ? 0 : 50) + t->h;
        EXPECT_TRUE(t->w < 3200 && foot > LowestHill(fg.get()) && foot < 400) << "tree" << i;
    }
    EXPECT_TRUE(std::abs(blume->w - blume->h) <= 8 &&
                !Masked(blume.get(), blume->w / 2, (blume->w - 8) / 2));
    EXPECT_TRUE(HasInk(ufo.get(), 0, ufo->h - 1, ufo->w, 1) && 410 - ufo->h <= 313 &&
                ufo->w > 60 + 40);
}

}  // namespace
