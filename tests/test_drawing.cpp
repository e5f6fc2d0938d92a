// The faster copies must draw exactly what Allegro's blitters draw: clipped
// the same at every edge, and over a whole recorded game.
#include <zlib.h>

#include <cstring>
#include <vector>

#include "app/blit.h"
#include "app/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"

class DrawingTest : public HeadlessTest {
  protected:
    void TearDown() override {
        plainDrawing = false;
        HeadlessTest::TearDown();
    }
};

// Rectangles that cross every edge of the source, of the target and of a
// clip rectangle inside it, or miss them entirely.
TEST_F(DrawingTest, MaskedBlitClipsAndMasksLikeAllegro) {
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
TEST_F(DrawingTest, RecordedGameLooksTheSameWithFastDrawing) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    std::vector<uint64_t> frames[2];
    for (int fast = 0; fast < 2; ++fast) {
        hp = StartHeadless();
        clear_to_color(backBuffer, 0);
        plainDrawing = !fast;
        ASSERT_TRUE(LoadRecordedGame("sweep", hp));
        hp->onFrame = [&](int) {
            BITMAP* d = hp->display();
            uLong crc = crc32(0, nullptr, 0), adler = adler32(0, nullptr, 0);
            for (int y = 0; y < d->h; ++y) {
                crc = crc32(crc, d->line[y], uInt(d->w * 2));
                adler = adler32(adler, d->line[y], uInt(d->w * 2));
            }
            frames[fast].push_back(uint64_t(crc) << 32 | adler);
        };
        RunGame();
    }
    ASSERT_GT(frames[0].size(), 500u);
    ASSERT_EQ(frames[0].size(), frames[1].size());
    for (size_t i = 0; i < frames[0].size(); ++i)
        ASSERT_EQ(frames[0][i], frames[1][i]) << "presented frame " << i << " differs";
}
