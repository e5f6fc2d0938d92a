#include "support/harness.h"

#include <filesystem>

#include "app/random.h"
#include "app/system.h"

void HeadlessTest::SetUp() {
    hp = StartHeadless();
    MakeSpineBuffers();
    if (!gameFont)
        gameFont = font;
}

void HeadlessTest::TearDown() {
    for (BITMAP* b : owned_)
        destroy_bitmap(b);
    owned_.clear();
}

BITMAP* HeadlessTest::Solid(int w, int h, int colour) {
    BITMAP* b = create_bitmap(w, h);
    clear_to_color(b, colour);
    return b;
}

bool HaveRealData() {
    return std::filesystem::exists("data/gfx.dat") && std::filesystem::exists("data/font.dat");
}

std::string OutPath(const std::string& name) {
    std::error_code ignored;
    std::filesystem::create_directory("test-output", ignored);
    return "test-output/" + name;
}

bool ShowsText(BITMAP* shown, FONT* f, const std::string& text, TextAlign align, int x, int y,
               int colour) {
    int w = text_length(f, text.c_str());
    x -= align == kAlignLeft ? 0 : align == kAlignRight ? w : w / 2;
    BITMAP* ref = create_bitmap(w + 1, text_height(f));
    clear_to_color(ref, 0);
    textout_ex(ref, f, text.c_str(), 0, 0, 1, -1);
    int lit = 0, wrong = 0;
    for (int py = 0; py < ref->h; ++py)
        for (int px = 0; px < w; ++px) {
            const bool ink = getpixel(ref, px, py) == 1;
            lit += ink, wrong += ink && getpixel(shown, x + px, y + py) != colour;
        }
    destroy_bitmap(ref);
    return lit > 0 && wrong == 0;
}

bool Shows(BITMAP* shown, BITMAP* pic, int sx, int sy, int w, int h, int x, int y) {
    int seen = 0;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            int c = getpixel(pic, sx + px, sy + py);
            int dx = x + px, dy = y + py;
            if (c == bitmap_mask_color(pic) || dx < 0 || dy < 0 || dx >= shown->w || dy >= shown->h)
                continue;
            if (getpixel(shown, dx, dy) != c)
                return false;
            ++seen;
        }
    return seen > 0;
}

int FrameColour(int tag, int k) {
    return makecol(16 + 12 * k, 20 + 28 * tag, 200);
}

BITMAP* Strip(int tag, int frames, int frameW, int h) {
    BITMAP* b = create_bitmap(frames * frameW, h);
    for (int k = 0; k < frames; ++k)
        rectfill(b, k * frameW, 0, (k + 1) * frameW - 1, h - 1, FrameColour(tag, k));
    return b;
}

int FrameAt(BITMAP* bmp, int tag, int x, int y) {
    int c = getpixel(bmp, x, y);
    for (int k = 0; k < 20; ++k)
        if (c == FrameColour(tag, k))
            return k;
    return -1;
}

std::vector<bool> SoundsOf(const HeadlessPlatform* hp, SAMPLE* s) {
    std::vector<bool> plays;
    for (const auto& e : hp->sounds)
        if (e.sample == s)
            plays.push_back(e.play);
    return plays;
}

std::vector<int> Draws(uint32_t seed, int n) {
    SeedRandom(seed);
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
        v.push_back(Random());
    SeedRandom(seed);
    return v;
}
