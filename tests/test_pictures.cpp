// The game's faster ways of loading and drawing pictures must give exactly
// the pixels that Allegro's own reader and blitters give.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/data/bmpreader.h"
#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"

class PicturesTest : public HeadlessTest {
  protected:
    void TearDown() override {
        plainDrawing = false;
        widestMerge = Widest::Avx512;
        HeadlessTest::TearDown();
    }
    static bool Same(BITMAP* a, BITMAP* b) {
        bool same = a && b && a->w == b->w && a->h == b->h;
        for (int y = 0; same && y < a->h; ++y)
            same = std::memcmp(a->line[y], b->line[y], size_t(a->w) * 2) == 0;
        destroy_bitmap(a);
        destroy_bitmap(b);
        return same;
    }
};

// Every member, found through the index and read row by row, also on a
// screen that keeps red and blue the other way round.
TEST_F(PicturesTest, MembersLoadAsAllegrosReaderLoadsThem) {
    ASSERT_TRUE(HaveRealData());
    DATAFILE* all = load_datafile("data/gfx.dat");
    ASSERT_NE(all, nullptr);
    int same = 0, members = 0;
    for (int swapped = 0; swapped < 2; ++swapped, std::swap(_rgb_r_shift_16, _rgb_b_shift_16))
        for (DATAFILE* d = all; d->type != DAT_END; ++d, ++members) {
            std::string path = std::string("data/gfx.dat#") + get_datafile_property(d, DAT_NAME);
            same += Same(load_bitmap(path.c_str(), nullptr), LoadBmpMember(path.c_str()));
        }
    unload_datafile(all);
    EXPECT_EQ(same, members);
    EXPECT_EQ(members, 2 * 101);  // 101 pictures, each read twice
    EXPECT_EQ(LoadBmpMember("data/gfx.dat#no such picture.bmp"), nullptr);
}

// Rectangles that cross every edge of the source, of the target and of a
// clip rectangle inside it, or miss them entirely; from a sprite as it is
// and once packed (two frames, narrow rows, an empty one), at each width of
// instructions.
TEST_F(PicturesTest, MaskedBlitClipsAndMasksLikeAllegro) {
    BITMAP* sprite = Own(create_bitmap(40, 30));
    for (int y = 0; y < sprite->h; ++y)
        for (int x = 0; x < sprite->w; ++x) {
            bool opaque = (x < 14 || x > 18) && y != 9 && (y < 20 || (x > 3 && x < 7) || x > 32);
            putpixel(sprite, x, y,
                     opaque && (x * 7 + y * 3) % 5 ? makecol(x * 6, y * 8, 90)
                                                   : bitmap_mask_color(sprite));
        }
    BITMAP* expected = Own(create_bitmap(64, 48));
    BITMAP* actual = Own(create_bitmap(64, 48));
    int mismatches = 0;
    for (int packed = 0; packed < 2; ++packed, NoteFixedPicture(sprite))
        for (Widest widest : {Widest::Sse2, Widest::Avx2, Widest::Avx512})
            for (int clipped = 0; clipped < 2; ++clipped)
                for (int sx : {-9, 0, 5, 39, 40})
                    for (int sy : {-4, 0, 7, 30})
                        for (int dx : {-45, -3, 0, 11, 50, 63, 64})
                            for (int dy : {-31, -1, 0, 20, 47, 48})
                                for (int w : {0, 1, 9, 40, 70})
                                    for (int h : {1, 17, 50}) {
                                        for (BITMAP* b : {expected, actual}) {
                                            set_clip_rect(b, 0, 0, 63, 47);
                                            clear_to_color(b, makecol(0, 200, 0));
                                            if (clipped)
                                                set_clip_rect(b, 6, 5, 50, 40);
                                        }
                                        widestMerge = widest;
                                        masked_blit(sprite, expected, sx, sy, dx, dy, w, h);
                                        MaskedBlit(sprite, actual, sx, sy, dx, dy, w, h);
                                        for (int y = 0; y < 48; ++y)
                                            mismatches += memcmp(expected->line[y], actual->line[y],
                                                                 128) != 0;
                                    }
    EXPECT_EQ(mismatches, 0);
}

// Every presented frame of a recorded game, as a checksum of its pixels,
// drawn once with Allegro's blitters and once with the faster copies at each
// width of instructions.
TEST_F(PicturesTest, RecordedGameLooksTheSameWithFastDrawing) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    std::vector<uLong> frames[4];
    for (int pass = 0; pass < 4; ++pass) {
        hp = StartHeadless();
        clear_to_color(backBuffer, 0);
        plainDrawing = pass == 0;
        widestMerge = Widest(pass > 0 ? pass - 1 : 0);
        ASSERT_TRUE(LoadRecordedGame("sweep", hp));
        StartOfRun();
        hp->onFrame = [&](int) {
            BITMAP* d = hp->display();
            uLong crc = crc32(0, nullptr, 0);
            for (int y = 0; y < d->h; ++y)
                crc = crc32(crc, d->line[y], uInt(d->w * 2));
            frames[pass].push_back(crc);
        };
        RunGame();
    }
    ASSERT_GT(frames[0].size(), 500u);
    for (int pass = 1; pass < 4; ++pass) {
        auto diff = std::mismatch(frames[0].begin(), frames[0].end(), frames[pass].begin(),
                                  frames[pass].end());
        EXPECT_TRUE(diff.first == frames[0].end() && diff.second == frames[pass].end())
            << "width " << pass - 1
            << ", first different frame: " << diff.first - frames[0].begin();
    }
}

// A packed picture destroyed behind the copies' back and another of its
// size made in its place (as a rule at the same address, the allocator
// handing back what was just freed): the new one is drawn as it is.
TEST_F(PicturesTest, APictureMadeWhereAPackedOneWasIsDrawnAsItIs) {
    BITMAP* old = Solid(64, 40, bitmap_mask_color(backBuffer));
    rectfill(old, 28, 16, 35, 23, makecol(0, 0, 255));  // wide transparent margins
    NoteFixedPicture(old);
    MaskedBlit(old, backBuffer, 0, 0, 0, 0, 64, 40);
    destroy_bitmap(old);
    BITMAP* now = Own(Solid(64, 40, makecol(200, 40, 40)));
    MaskedBlit(now, backBuffer, 0, 0, 0, 0, 64, 40);
    int drawn = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            drawn += getpixel(backBuffer, x, y) == makecol(200, 40, 40);
    EXPECT_EQ(drawn, 64 * 40);
}
