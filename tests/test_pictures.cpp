// The game's faster ways of loading and drawing pictures must give exactly
// the pixels that Allegro's own reader and blitters give.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/blit.h"
#include "app/bmpreader.h"
#include "app/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"

class PicturesTest : public HeadlessTest {
  protected:
    void TearDown() override {
        plainDrawing = false;
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
    EXPECT_EQ(members, 200);
    EXPECT_EQ(LoadBmpMember("data/gfx.dat#no such picture.bmp"), nullptr);
}

// Rectangles that cross every edge of the source, of the target and of a
// clip rectangle inside it, or miss them entirely.
TEST_F(PicturesTest, MaskedBlitClipsAndMasksLikeAllegro) {
    BITMAP* sprite = Own(create_bitmap(40, 30));
    for (int y = 0; y < sprite->h; ++y)
        for (int x = 0; x < sprite->w; ++x)
            putpixel(sprite, x, y,
                     (x * 7 + y * 3) % 5 ? makecol(x * 6, y * 8, 90) : bitmap_mask_color(sprite));
    BITMAP* expected = Own(create_bitmap(64, 48));
    BITMAP* actual = Own(create_bitmap(64, 48));
    int mismatches = 0;
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
                                masked_blit(sprite, expected, sx, sy, dx, dy, w, h);
                                MaskedBlit(sprite, actual, sx, sy, dx, dy, w, h);
                                for (int y = 0; y < 48; ++y)
                                    mismatches +=
                                        memcmp(expected->line[y], actual->line[y], 128) != 0;
                            }
    EXPECT_EQ(mismatches, 0);
}

// Every presented frame of a recorded game, as a checksum of its pixels,
// drawn once with Allegro's blitters and once with the faster copies.
TEST_F(PicturesTest, RecordedGameLooksTheSameWithFastDrawing) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    std::vector<uLong> frames[2];
    for (int fast = 0; fast < 2; ++fast) {
        hp = StartHeadless();
        clear_to_color(backBuffer, 0);
        plainDrawing = !fast;
        ASSERT_TRUE(LoadRecordedGame("sweep", hp));
        StartOfRun();
        hp->onFrame = [&](int) {
            BITMAP* d = hp->display();
            uLong crc = crc32(0, nullptr, 0);
            for (int y = 0; y < d->h; ++y)
                crc = crc32(crc, d->line[y], uInt(d->w * 2));
            frames[fast].push_back(crc);
        };
        RunGame();
    }
    ASSERT_GT(frames[0].size(), 500u);
    auto diff =
        std::mismatch(frames[0].begin(), frames[0].end(), frames[1].begin(), frames[1].end());
    EXPECT_TRUE(diff.first == frames[0].end() && diff.second == frames[1].end())
        << "first different frame: " << diff.first - frames[0].begin();
}
