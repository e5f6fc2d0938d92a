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

TEST(LandscapeAssets, SkyBandIsOpaqueAndStartsInTheFillColour) {
    Bitmap sky = Load("sky.bmp");
    ASSERT_TRUE(sky);
    EXPECT_EQ(sky->w, 800);
    EXPECT_EQ(sky->h, 168);
    const int fill = makecol(0, 202, 255);
    for (int x = 0; x < sky->w; ++x)
        EXPECT_EQ(getpixel(sky.get(), x, 0), fill) << "x " << x;
    // The band is blitted opaque: a mask pixel would show as magenta.
    for (int y = 0; y < sky->h; ++y)
        for (int x = 0; x < sky->w; ++x)
            ASSERT_FALSE(Masked(sky.get(), x, y)) << x << "," << y;
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

TEST(LandscapeAssets, BackgroundTileCoversItsLayerBehindTheHills) {
    Bitmap bg = Load("bg.bmp");
    Bitmap fg = Load("fg.bmp");
    ASSERT_TRUE(bg && fg);
    EXPECT_GE(6 * bg->w, 2000);  // six tiles fill the 2000-wide layer
    // Opaque from its own hill line down past the lowest point of the near
    // hills, and its hill line inside the sky band (which ends at row 267).
    EXPECT_GT(244 + bg->h, LowestHill(fg.get()));
    for (int x = 0; x < bg->w; ++x) {
        int t = TopRow(bg.get(), x);
        EXPECT_LT(244 + t, 268) << "x " << x;
        for (int y = t; y < bg->h; ++y)
            ASSERT_FALSE(Masked(bg.get(), x, y)) << x << "," << y;
    }
}

TEST(LandscapeAssets, CastleSeatsItsSaucerAndHidesItsFoot) {
    Bitmap castle = Load("castle.bmp");
    Bitmap fg = Load("fg.bmp");
    ASSERT_TRUE(castle && fg);
    // The castle's saucer sits from 28 to 38 pixels in, on row 186.
    for (int x = 24; x < 110; ++x)
        EXPECT_FALSE(Masked(castle.get(), x, 0)) << "x " << x;
    EXPECT_GT(186 + castle->h, LowestHill(fg.get()) + 2);
    EXPECT_LT(castle->w, 400);
}

// Strips drawn at fixed places: frame size where the game depends on it (0:
// free, but the same for the whole group), every frame showing something
// and its top-left corner clear. Tower segments fill the 78-wide click band
// in threes, rows 272..297; the four smoke strips stand on them alike.
TEST(LandscapeAssets, StripsHaveTheirFrameSizesAndEveryFrameShows) {
    struct Group {
        std::vector<const char*> names;
        int frames, fw, fh;
        bool clearCorner;
    } groups[] = {{{"sonne.bmp"}, 8, 220, 180, true},
                  {{"atomic.bmp"}, 10, 40, 40, false},
                  {{"turm0.bmp", "turm1.bmp", "turm_0.bmp", "turm_1.bmp"}, 1, 26, 26, false},
                  {{"rauch0.bmp", "rauch1.bmp", "rauch_0.bmp", "rauch_1.bmp"}, 16, 0, 0, true}};
    for (const Group& g : groups) {
        int fw = g.fw, fh = g.fh;
        for (const char* n : g.names) {
            Bitmap b = Load(n);
            ASSERT_TRUE(b) << n;
            fw = fw ? fw : b->w / g.frames;
            fh = fh ? fh : b->h;
            EXPECT_EQ(b->w, g.frames * fw) << n;
            EXPECT_EQ(b->h, fh) << n;
            for (int k = 0; k < g.frames; ++k) {
                EXPECT_TRUE(HasInk(b.get(), k * fw, 0, fw, fh)) << n << " frame " << k;
                EXPECT_TRUE(!g.clearCorner || Masked(b.get(), k * fw, 0)) << n << " frame " << k;
            }
        }
    }
}

TEST(LandscapeAssets, FlowersAndTreesFitTheirPlacement) {
    const char* kinds[] = {"blau", "lil1", "lil2", "lila"};
    const int heights[] = {108, 185, 228};
    for (const char* k : kinds)
        for (int e = 0; e < 3; ++e) {
            std::string n = std::string("Blu_") + k + "_e" + std::to_string(e + 2) + ".bmp";
            Bitmap b = Load(n);
            ASSERT_TRUE(b) << n;
            EXPECT_LT(b->w, 400) << n;
            EXPECT_EQ(b->h, heights[e]) << n;
            EXPECT_TRUE(HasInk(b.get(), 0, b->h - 1, b->w, 1)) << n << ": the stem floats";
        }
    // Trees stand on the slope below the crest: tree1 from layer row 0,
    // tree0 from row 50; both end above the walkers' path at row 400.
    Bitmap fg = Load("fg.bmp");
    ASSERT_TRUE(fg);
    const int treeTop[] = {50, 0};
    for (int i = 0; i < 2; ++i) {
        Bitmap t = Load("tree" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(t);
        EXPECT_LT(t->w, 3200);
        int foot = 160 + treeTop[i] + t->h;
        EXPECT_GT(foot, LowestHill(fg.get())) << "tree" << i;
        EXPECT_LT(foot, 400) << "tree" << i;
    }
}

TEST(LandscapeAssets, ShootableFlowerIsNearlySquare) {
    Bitmap b = Load("blume.bmp");
    ASSERT_TRUE(b);
    // Its hit box is w - 8 wide and w - 8 high from the top.
    EXPECT_LE(std::abs(b->w - b->h), 8);
    EXPECT_FALSE(Masked(b.get(), b->w / 2, (b->w - 8) / 2));
}

TEST(LandscapeAssets, LandedSaucerStandsOnTheWalkLine) {
    Bitmap b = Load("ufo.bmp");
    ASSERT_TRUE(b);
    // Drawn with its bottom 190 rows above the layer's bottom: screen row 410.
    EXPECT_TRUE(HasInk(b.get(), 0, b->h - 1, b->w, 1));
    EXPECT_LE(410 - b->h, 313);  // taller than a walker, which tops out at row 313
    EXPECT_GT(b->w, 60 + 40);    // walkers step out 60 pixels in
}

}  // namespace
