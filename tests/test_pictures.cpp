// The game's faster ways of loading and drawing pictures must give exactly
// the pixels that Allegro's own reader and blitters give.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/data/bmpreader.h"
#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/draw/scale.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/screens.h"
#include "support/datafiles.h"
#include "support/harness.h"
#include "support/replay.h"
#include "support/tempfolder.h"

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

// The game's own form, 5-6-5 rows of an odd width (2 bytes of padding
// each), reads as Allegro reads it; every other form is refused, never
// handed on: stored top down, 5-5-5 (no colour masks) with the masks' bytes
// still in the gap before the rows, and 24-bit.
TEST_F(PicturesTest, MembersOfTheGamesFormReadAsAllegroReadsThemOthersNot) {
    const std::string masks = Le(0xF800, 4) + Le(0x07E0, 4) + Le(0x001F, 4);
    auto member = [&](const char* name, int h, int bpp, uint32_t compression) {
        std::string bytes = BmpHeader(66, 3, h, bpp, compression).replace(54, 12, masks);
        for (int i = 0; i < 2 * (bpp == 16 ? 8 : 12); ++i)  // two whole rows, padding included
            bytes += char(0x35 * i + 0x11);
        return Object(uint32_t(DAT_ID('D', 'A', 'T', 'A')), name, bytes);
    };
    TempFolder folder;
    const std::pair<const char*, std::string> members[] = {
        {"odd.bmp", member("odd.bmp", 2, 16, 3)},
        {"down.bmp", member("down.bmp", -2, 16, 3)},
        {"rgb.bmp", member("rgb.bmp", 2, 16, 0)},
        {"deep.bmp", member("deep.bmp", 2, 24, 0)},
    };
    for (const auto& [name, bytes] : members) {
        // A file of its own each: a file holding a refused member is refused whole.
        std::string file = std::string("data/") + name + ".dat";
        std::ofstream(file, std::ios::binary) << Datafile(bytes);
        std::string path = file + "#" + name;
        BITMAP* ours = LoadBmpMember(path.c_str());
        if (std::string(name) == "odd.bmp") {
            BITMAP* allegros = load_bitmap(path.c_str(), nullptr);
            ASSERT_NE(ours, nullptr);
            ASSERT_NE(allegros, nullptr);
            EXPECT_TRUE(Same(allegros, ours));
        } else {
            EXPECT_EQ(ours, nullptr) << name;
        }
    }
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

// Packed pictures 3 to 17 pixels wide (a piece is widened to a block of 16
// where the picture allows), in two groups of columns, drawn across each
// edge of a clip rectangle at each width of instructions: only the pixels
// Allegro draws change.
TEST_F(PicturesTest, NarrowPackedPicturesStayInsideTheClipRectangle) {
    BITMAP* expected = Own(create_bitmap(48, 32));
    BITMAP* actual = Own(create_bitmap(48, 32));
    int mismatches = 0;
    for (int w = 3; w <= 17; ++w) {
        BITMAP* sprite = create_bitmap(w, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < w; ++x)
                putpixel(sprite, x, y,
                         x != 1 && (x + 2 * y) % 5 ? makecol(15 * x, 40 * y, 200)
                                                   : bitmap_mask_color(sprite));
        NoteFixedPicture(sprite);
        for (Widest widest : {Widest::Sse2, Widest::Avx2, Widest::Avx512})
            for (int dx : {1 - w, 3, 12, 42 - w, 39})
                for (int dy : {-3, 3, 14, 22}) {
                    for (BITMAP* b : {expected, actual}) {
                        set_clip_rect(b, 0, 0, 47, 31);
                        clear_to_color(b, makecol(0, 200, 0));
                        set_clip_rect(b, 5, 6, 40, 25);
                    }
                    widestMerge = widest;
                    masked_blit(sprite, expected, 0, 0, dx, dy, w, 6);
                    MaskedBlit(sprite, actual, 0, 0, dx, dy, w, 6);
                    for (int y = 0; y < 32; ++y)
                        mismatches += memcmp(expected->line[y], actual->line[y], 96) != 0;
                }
        destroy_bitmap(sprite);
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

// The picture on a window of any size: as large as fits, 4:3 kept, centred.
TEST(WindowPicture, FitsWithItsShapeKeptAndThePointerLandsOnIt) {
    struct Case {
        int winW, winH;
        PictureRect want;
    } cases[] = {
        {800, 600, {0, 0, 800, 600}},
        {1600, 1200, {0, 0, 1600, 1200}},
        {1920, 1080, {240, 0, 1440, 1080}},
        {1366, 768, {171, 0, 1024, 768}},
        {3840, 2160, {480, 0, 2880, 2160}},
        {1600, 1300, {0, 50, 1600, 1200}},
        {799, 600, {0, 0, 799, 599}},
        {0, 600, {0, 0, 0, 0}},
        {1, 1, {0, 0, 1, 1}},
        {799, 1, {399, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        PictureRect r = FitPicture(c.winW, c.winH, 800, 600);
        EXPECT_EQ(std::vector<int>({r.x, r.y, r.w, r.h}),
                  std::vector<int>({c.want.x, c.want.y, c.want.w, c.want.h}))
            << c.winW << "x" << c.winH;
    }
    // Window pixel -> picture pixel, and the bars clamp to the picture's edge.
    struct Point {
        int winW, winH, wx, wy, px, py;
    } points[] = {
        {1600, 1200, 1598, 1198, 799, 599}, {1600, 1200, 1599, 1199, 799, 599},
        {1600, 1200, 0, 0, 0, 0},           {1600, 1200, 801, 3, 400, 1},
        {1920, 1080, 100, 500, 0, 277},     {1920, 1080, 1900, -5, 799, 0},
        {1920, 1080, 1679, 1079, 799, 599}, {1920, 1080, 1680, 540, 799, 300},
        {800, 600, 400, 300, 400, 300},
    };
    for (const Point& p : points) {
        int px, py;
        WindowToPicture(FitPicture(p.winW, p.winH, 800, 600), 800, 600, p.wx, p.wy, px, py);
        EXPECT_EQ(std::make_pair(px, py), std::make_pair(p.px, p.py))
            << p.winW << "x" << p.winH << " at " << p.wx << "," << p.wy;
    }
}

// Every window pixel shows the picture's pixel under it, in the window's own
// pixel format, and the bars are black.
TEST(WindowPicture, ScaledByTheNearestPixelIntoEveryLayout) {
    StartHeadless();
    BITMAP* pic = create_bitmap_ex(16, 800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            reinterpret_cast<uint16_t*>(pic->line[y])[x] = uint16_t(x * 7 + y * 13 * 64);
    auto at = [&](int x, int y) { return reinterpret_cast<uint16_t*>(pic->line[y])[x]; };
    // 5 and 6 bits widened with their top bits repeated: full stays full.
    struct Colour {
        uint16_t p;
        uint32_t xrgb;
    } colours[] = {{0xFFFF, 0xFFFFFF}, {0xF800, 0xFF0000}, {0x07E0, 0x00FF00},
                   {0x001F, 0x0000FF}, {0x0861, 0x080C08}, {0x0000, 0x000000}};
    for (int i = 0; i < 6; ++i)
        reinterpret_cast<uint16_t*>(pic->line[0])[i] = colours[i].p;

    struct Size {
        int w, h;
    } sizes[] = {{800, 600}, {1600, 1200}, {1920, 1080}, {1366, 768}, {803, 611}, {640, 480}};
    for (PixelLayout layout :
         {PixelLayout::kXrgb8888, PixelLayout::kXbgr8888, PixelLayout::kRgb565})
        for (const Size& s : sizes) {
            const int bpp = layout == PixelLayout::kRgb565 ? 2 : 4;
            const int pitch = s.w * bpp + 12;  // rows need not be packed
            std::vector<uint8_t> fb(size_t(pitch) * s.h, 0x5A);
            PixelTarget t{fb.data(), pitch, s.w, s.h, layout};
            PictureRect r = FitPicture(s.w, s.h, 800, 600);
            ScalePicture(pic, t, r, true);
            auto shown = [&](int x, int y) -> uint32_t {
                const uint8_t* p = fb.data() + size_t(y) * pitch + size_t(x) * bpp;
                return bpp == 2 ? *reinterpret_cast<const uint16_t*>(p)
                                : *reinterpret_cast<const uint32_t*>(p);
            };
            auto widen = [&](uint16_t p) -> uint32_t {
                if (layout == PixelLayout::kRgb565)
                    return p;
                uint32_t r8 = ((p >> 11) << 3) | ((p >> 11) >> 2);
                uint32_t g8 = (((p >> 5) & 63) << 2) | (((p >> 5) & 63) >> 4);
                uint32_t b8 = ((p & 31) << 3) | ((p & 31) >> 2);
                return layout == PixelLayout::kXrgb8888 ? r8 << 16 | g8 << 8 | b8
                                                        : b8 << 16 | g8 << 8 | r8;
            };
            int wrong = 0, bars = 0;
            for (int y = 0; y < s.h; ++y)
                for (int x = 0; x < s.w; ++x) {
                    bool inside = x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
                    if (!inside) {
                        bars += shown(x, y) != 0;
                        continue;
                    }
                    int px, py;
                    WindowToPicture(r, 800, 600, x, y, px, py);
                    wrong += shown(x, y) != widen(at(px, py));
                }
            EXPECT_EQ(wrong, 0) << s.w << "x" << s.h << " layout " << int(layout);
            EXPECT_EQ(bars, 0) << s.w << "x" << s.h << " layout " << int(layout);
            if (layout == PixelLayout::kXrgb8888 && s.w == 1600) {
                for (int i = 0; i < 6; ++i)
                    EXPECT_EQ(shown(2 * i + 1, 1), colours[i].xrgb) << std::hex << colours[i].p;
            }
            // The padding after each row is never written.
            int padding = 0;
            for (int y = 0; y < s.h; ++y)
                for (int k = s.w * bpp; k < pitch; ++k)
                    padding += fb[size_t(y) * pitch + k] != 0x5A;
            EXPECT_EQ(padding, 0) << s.w << "x" << s.h;
        }

    // Bars left alone when asked, and a rectangle for a larger window never
    // writes past this one.
    std::vector<uint32_t> fb(1000 * 600, 0x123456);
    PixelTarget t{fb.data(), 1000 * 4, 1000, 600, PixelLayout::kXrgb8888};
    ScalePicture(pic, t, FitPicture(1000, 600, 800, 600), false);
    EXPECT_EQ(fb[0], 0x123456u);
    EXPECT_EQ(fb[999], 0x123456u);
    std::vector<uint32_t> small(400 * 300 + 1, 0x777777);
    PixelTarget tiny{small.data(), 400 * 4, 400, 300, PixelLayout::kXrgb8888};
    ScalePicture(pic, tiny, FitPicture(1600, 1200, 800, 600), true);
    EXPECT_EQ(small.back(), 0x777777u);
    EXPECT_EQ(small[0], colours[0].xrgb) << "the top-left pixel, fitted to the window";
    destroy_bitmap(pic);
}
