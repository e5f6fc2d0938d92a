// Geometry of the counters, pop-ups, ammunition and mole-hole pictures, as
// the game loads them from data/gfx.dat.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/assets.h"

namespace {

// The pictures a test loaded, freed after it.
class HudAssets : public ::testing::Test {
  protected:
    BITMAP* Load(const std::string& name) {
        loaded_.push_back(::Load(name));
        return loaded_.back().get();
    }
    static bool Solid(BITMAP* b, int x, int y) { return HasInk(b, x, y, 1, 1); }

  private:
    std::vector<Bitmap> loaded_;
};

TEST_F(HudAssets, DigitsFitTheCountersAndTheLifePanel) {
    BITMAP* d = Load("digit.bmp");
    BITMAP* panel = Load("life.bmp");
    ASSERT_TRUE(d && panel);
    ASSERT_EQ(d->w % 10, 0);
    const int w = d->w / 10;
    // Five score digits end at x 87 + w and must start on screen.
    EXPECT_GE(87 - 4 * w, 0);
    // The seconds (row 75) sit right under the score (row 50).
    EXPECT_LE(d->h, 75 - 50);
    // Each glyph stays in its cell so neighbours do not overwrite it.
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(HasInk(d, k * w, 0, w, d->h)) << "digit " << k;
        EXPECT_FALSE(HasInk(d, k * w, 0, 1, d->h)) << "digit " << k << " touches its left edge";
    }
    // Panel at (20, 520); digits at row 535, a life of 100 spans x 56 - 2w
    // .. 56 + w: all of it lies on the panel, which is solid behind it.
    EXPECT_LE(20, 56 - 2 * w);
    EXPECT_GE(20 + panel->w, 56 + w);
    EXPECT_GE(520 + panel->h, 535 + d->h);
    EXPECT_LE(520 + panel->h, 600);
    for (int x = 52 - w; x < 52 + w; ++x)
        EXPECT_TRUE(Solid(panel, x - 20, 535 - 520 + d->h / 2));
}

TEST_F(HudAssets, PopupStripsHaveOneFramePerEntry) {
    struct Strip {
        const char* name;
        int frameH, frames;
    } strips[] = {{"score.bmp", 35, 9}, {"bonus.bmp", 36, 7}};
    for (const Strip& s : strips) {
        BITMAP* b = Load(s.name);
        ASSERT_NE(b, nullptr) << s.name;
        ASSERT_EQ(b->h, s.frameH * s.frames) << s.name;
        EXPECT_LE(b->w, 800) << s.name;
        for (int k = 0; k < s.frames; ++k) {
            int y0 = k * s.frameH;
            EXPECT_TRUE(HasInk(b, 0, y0, b->w, s.frameH)) << s.name << " frame " << k;
            // Nothing bleeds across frame borders or the picture's sides.
            EXPECT_FALSE(HasInk(b, 0, y0, b->w, 1)) << s.name << " frame " << k;
            EXPECT_FALSE(HasInk(b, 0, y0 + s.frameH - 1, b->w, 1)) << s.name << " frame " << k;
            EXPECT_FALSE(HasInk(b, 0, y0, 1, s.frameH)) << s.name << " frame " << k;
            EXPECT_FALSE(HasInk(b, b->w - 1, y0, 1, s.frameH)) << s.name << " frame " << k;
        }
    }
}

TEST_F(HudAssets, ShellsStackIntoAColumn) {
    BITMAP* s = Load("shells.bmp");
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w % 106, 0);
    EXPECT_GE(s->w / 106, 10);
    // Slots are 16 rows apart; a taller frame would cover the shell below.
    EXPECT_LE(s->h, 16);
    // The resting shell is drawn at x 700 and must show on the 800 screen.
    EXPECT_TRUE(HasInk(s, 0, 0, 100, s->h));
    EXPECT_FALSE(HasInk(s, 100, 0, 6, s->h));
    // The game shows the odd frames of the flight.
    for (int f = 1; f < 10; f += 2)
        EXPECT_TRUE(HasInk(s, f * 106, 0, 106, s->h)) << f;
}

TEST_F(HudAssets, RackFramesLineUpWithTheBazooka) {
    BITMAP* baz = Load("bazooka.bmp");
    ASSERT_NE(baz, nullptr);
    // The game places the frames at bazooka x + width / 2 - 172, the intro at
    // bazooka x - 142: one picture serves both only at this width.
    EXPECT_EQ(baz->w / 2 - 172, -142);
    EXPECT_LT(baz->h, 441);  // the countdown above it stays on screen
    int w = -1, h = -1;
    for (int k = 0; k < 15; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "rack%04i.bmp", k);
        BITMAP* r = Load(name);
        ASSERT_NE(r, nullptr) << name;
        if (k == 0) {
            w = r->w;
            h = r->h;
        }
        EXPECT_EQ(r->w, w) << name;
        EXPECT_EQ(r->h, h) << name;
        EXPECT_TRUE(HasInk(r, 0, 0, r->w, r->h)) << name;
        // Hard edges at the picture's border would show as straight cuts.
        EXPECT_FALSE(HasInk(r, 0, 0, r->w, 1)) << name;
        EXPECT_FALSE(HasInk(r, 0, 0, 1, r->h)) << name;
        EXPECT_FALSE(HasInk(r, r->w - 1, 0, 1, r->h)) << name;
    }
    // The frames cover the bazooka, which they are drawn over.
    EXPECT_GE(w, 142 + baz->w);
    EXPECT_GE(h, 82 + baz->h / 2);
}

struct Figure {
    const char* name;
    int frames;
    int offset;  // added to the hole's x, minus half the rascal's width
    int base;    // the row under the figure's lowest shown row
};
const Figure kFigures[] = {
    {"luemmel256.bmp", 9, 46, 466},
    {"peace.bmp", 17, 26, 460},
    {"bazooka.bmp", 1, 41, 461},
    {"mole_exp.bmp", 15, 36, 461},
};

// A rising figure is cut at its base row; the grown mound, drawn over it,
// must hide that cut wherever the figure has ink, in every frame and at
// every height of the rise (the puff: at the full heights of the figures
// that turn into it). Every frame of a figure shows something.
TEST_F(HudAssets, MoundHidesTheCutOfEveryRisingFigure) {
    BITMAP* mound = Load("haufen256.bmp");
    BITMAP* lout = Load("luemmel256.bmp");
    BITMAP* baz = Load("bazooka.bmp");
    ASSERT_TRUE(mound && lout && baz);
    EXPECT_LE(450 + mound->h, 600);
    EXPECT_EQ(mound->w % 7, 0);
    const int mw = mound->w / 7;
    const int hw = lout->w / 9 / 2;
    for (const Figure& f : kFigures) {
        BITMAP* b = Load(f.name);
        ASSERT_NE(b, nullptr) << f.name;
        EXPECT_EQ(b->w % f.frames, 0) << f.name;
        const int fw = b->w / f.frames;
        for (int k = 0; k < f.frames; ++k)
            EXPECT_TRUE(HasInk(b, k * fw, 0, fw, b->h)) << f.name << " frame " << k;
        const int cutRow = f.base - 1 - 450;  // in the mound picture
        std::vector<int> rises;
        if (std::string(f.name) == "mole_exp.bmp") {
            rises = {lout->h, baz->h};
        } else {
            for (int r = 1; r <= b->h; ++r)
                rises.push_back(r);
        }
        int misses = 0;
        for (int k = 0; k < f.frames; ++k)
            for (int r : rises) {
                int srcRow = std::min(r, b->h) - 1;
                for (int x = 0; x < fw; ++x) {
                    if (!Solid(b, k * fw + x, srcRow))
                        continue;
                    int mx = f.offset - hw + x;  // column in the mound frame
                    if (mx < 0 || mx >= mw || !Solid(mound, 6 * mw + mx, cutRow))
                        ++misses;
                }
            }
        EXPECT_EQ(misses, 0) << f.name << ": cut pixels not hidden by the mound";
    }
}

}  // namespace
