// The front-end pictures as the game loads them: sizes and transparency
// that the menu, the pages and the end of a game depend on.
#include <string>

#include "support/assets.h"
#include "support/harness.h"

namespace {

class FrontendAssets : public HeadlessTest {
  protected:
    BITMAP* Load(const std::string& name) {
        BITMAP* b = ::Load(name).release();
        EXPECT_NE(b, nullptr) << name << " does not load";
        return b ? Own(b) : nullptr;
    }
    static bool Opaque(BITMAP* b, int x, int y) { return !Masked(b, x, y); }
    // Pixels in [x0, x1] x [y0, y1] that are the mask colour.
    static int Holes(BITMAP* b, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += !Opaque(b, x, y);
        return n;
    }
    static int Luma(int c) { return (getr16(c) * 3 + getg16(c) * 6 + getb16(c)) / 10; }
};

}  // namespace

// Every picture of data/gfx.dat: a colour just next to magenta shows as a
// pink seam where the mask was meant.
TEST_F(FrontendAssets, NoPictureHasAPinkFringe) {
    DATAFILE* all = load_datafile("data/gfx.dat");
    ASSERT_NE(all, nullptr);
    int pictures = 0;
    for (DATAFILE* d = all; d->type != DAT_END; ++d) {
        std::string name = get_datafile_property(d, DAT_ID('N', 'A', 'M', 'E'));
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bmp") != 0)
            continue;
        SCOPED_TRACE(name);
        BITMAP* b = Load(name);
        ASSERT_NE(b, nullptr);
        ++pictures;
        int nearMask = 0;
        for (int y = 0; y < b->h; ++y)
            for (int x = 0; x < b->w; ++x) {
                int c = getpixel(b, x, y);
                nearMask +=
                    c != kMaskColour && c >> 11 >= 28 && (c >> 5 & 63) <= 8 && (c & 31) >= 28;
            }
        EXPECT_EQ(nearMask, 0);
    }
    unload_datafile(all);
    EXPECT_GE(pictures, 100);
}

TEST_F(FrontendAssets, CursorIsACrosshairCentredOnItsHotSpot) {
    BITMAP* b = Load("cursor.bmp");
    ASSERT_NE(b, nullptr);
    // The hot spot (40, 36) is the middle of an 81 x 73 picture.
    ASSERT_EQ(b->w, 81);
    ASSERT_EQ(b->h, 73);
    EXPECT_TRUE(Opaque(b, 40, 36)) << "the aim point itself must be visible";
    int dark = 0, bright = 0, mismatched = 0;
    for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) {
            if (Opaque(b, x, y) != Opaque(b, 80 - x, y) || Opaque(b, x, y) != Opaque(b, x, 72 - y))
                ++mismatched;
            if (!Opaque(b, x, y))
                continue;
            int l = Luma(getpixel(b, x, y));
            dark += l < 64;
            bright += l > 180;
        }
    EXPECT_EQ(mismatched, 0) << "the shape is mirror-symmetric around the hot spot";
    EXPECT_GT(dark, 100) << "a dark outline keeps it readable over the sky";
    EXPECT_GT(bright, 100) << "a bright core keeps it readable over dark grass";
    EXPECT_FALSE(Opaque(b, 0, 0));
    EXPECT_FALSE(Opaque(b, 80, 72));
    EXPECT_FALSE(Opaque(b, 30, 26)) << "the sprite is masked between its strokes";
}

TEST_F(FrontendAssets, PicturesBlittedOpaqueHaveNoMaskPixels) {
    // The backdrop and the title are copied with blit, so any mask pixel
    // would show as magenta on screen.
    BITMAP* bg = Load("tlebg.bmp");
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->w, 800);
    EXPECT_EQ(bg->h, 600);
    EXPECT_EQ(Holes(bg, 0, 0, bg->w - 1, bg->h - 1), 0);
    BITMAP* title = Load("titel.bmp");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(Holes(title, 0, 0, title->w - 1, title->h - 1), 0);
}

TEST_F(FrontendAssets, MenuPanelRowsFitAndTheHighlightTilesMatchTheirSurroundings) {
    BITMAP* plain = Load("panel00.bmp");
    BITMAP* lit = Load("panel00_sel.bmp");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(lit, nullptr);
    ASSERT_EQ(plain->w, lit->w);
    ASSERT_EQ(plain->h, lit->h);
    ASSERT_GE(plain->w, 210);
    ASSERT_GE(plain->h, 370);
    // The pointer zone of the menu starts at screen x 90 whatever the
    // panel's size; a panel that starts there is fully covered by it.
    EXPECT_EQ((800 - plain->w) / 2, 90);
    for (int r = 0; r < 7; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        int x0 = 90, y0 = 90 + 40 * r, x1 = 209, y1 = 129 + 40 * r;
        // The tile is drawn opaque: a hole would show magenta.
        EXPECT_EQ(Holes(lit, x0, y0, x1, y1), 0);
        EXPECT_EQ(Holes(plain, x0, y0, x1, y1), 0);
        int differ = 0, seam = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                bool edge = x == x0 || x == x1 || y == y0 || y == y1;
                bool same = getpixel(plain, x, y) == getpixel(lit, x, y);
                differ += !same;
                seam += edge && !same;
            }
        EXPECT_GT(differ, 120 * 40 / 4) << "the highlight must be plain to see";
        EXPECT_EQ(seam, 0) << "the tile's border must match the panel around it";
    }
    // Drawn masked: the rounded corners let the backdrop through.
    EXPECT_FALSE(Opaque(plain, 0, 0));
    EXPECT_FALSE(Opaque(plain, plain->w - 1, plain->h - 1));
}

TEST_F(FrontendAssets, BoardsLeaveOpaqueRoomForTheTextTheGamePrints) {
    // High score table: rank ending at 73, name from 98, score ending at
    // 253, rows at 125 + 18 k for k = 0..9 about 16 high, and the "Your
    // Score" line at 315 centred on the screen.
    BITMAP* hs = Load("highscre.bmp");
    ASSERT_NE(hs, nullptr);
    ASSERT_GE(hs->w, 280);
    ASSERT_GE(hs->h, 340);
    EXPECT_EQ(Holes(hs, 30, 125, 270, 125 + 18 * 9 + 16), 0);
    int centre = hs->w / 2;
    EXPECT_EQ(Holes(hs, centre - 90, 315, centre + 90, 332), 0);
    // The "Your Score" line is centred on the screen; the table's columns
    // (about 45..253) should be centred in the picture as well.
    EXPECT_NEAR((800 - hs->w) / 2 + (45 + 253) / 2, 400, 12);

    // Statistics panel: heading centred at row 66, eleven rows of 16
    // below it, labels from x 50, values from x 210.
    BITMAP* st = Load("panel.bmp");
    ASSERT_NE(st, nullptr);
    ASSERT_GE(st->w, 320);
    ASSERT_GE(st->h, 66 + 16 * 12 + 8);
    EXPECT_EQ(Holes(st, 45, 66, 300, 66 + 16 * 12), 0);
    EXPECT_EQ((800 - st->w) / 2 + st->w / 2, 400) << "the heading is centred on the screen";
}

TEST_F(FrontendAssets, OverlaysAreMaskedAroundTheirShapes) {
    // Drawn with masked_blit over other pictures: the corners stay clear.
    for (const char* name : {"gameover.bmp", "credits.bmp", "panel.bmp", "highscre.bmp"}) {
        SCOPED_TRACE(name);
        BITMAP* b = Load(name);
        ASSERT_NE(b, nullptr);
        EXPECT_FALSE(Opaque(b, 0, 0));
        EXPECT_FALSE(Opaque(b, b->w - 1, b->h - 1));
        EXPECT_GT(b->w * b->h - Holes(b, 0, 0, b->w - 1, b->h - 1), b->w * b->h / 4);
    }
}
