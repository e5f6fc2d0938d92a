// Renders ASCII 32..126 of a TrueType face into the glyph grid that Allegro's
// `dat -t FONT` imports: an 8-bit paletted BMP where index 255 frames every
// glyph cell, glyph pixels are 1 and the background 0. Two colours only, so
// the imported font is monochrome and takes whatever colour the text is drawn
// in.
//
// usage: fontgen FACE.ttf PIXEL_SIZE OUT.bmp
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFirstChar = 32;
constexpr int kLastChar = 126;
constexpr int kGlyphsPerRow = 16;
constexpr uint8_t kBorder = 255;
constexpr uint8_t kInk = 1;
constexpr uint8_t kPaper = 0;
// One blank column after every glyph: the embossed text draws each string
// several times shifted to the right, and glyphs set flush would run together.
constexpr int kLetterGap = 1;

struct Glyph {
    int width = 0;                // cell width in pixels, at least 1
    std::vector<uint8_t> pixels;  // width x cell height, kInk or kPaper
};

struct Grid {
    int w = 0;
    int h = 0;
    std::vector<uint8_t> pixels;
    uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Uncompressed 8-bit BMP, bottom-up rows padded to four bytes.
bool WriteBmp8(const char* path, Grid& grid) {
    const int stride = (grid.w + 3) & ~3;
    const uint32_t header = 14 + 40 + 256 * 4;
    const uint32_t size = header + static_cast<uint32_t>(stride * grid.h);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, size);
    Put32(out, 0);  // reserved
    Put32(out, header);
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, static_cast<uint32_t>(grid.w));
    Put32(out, static_cast<uint32_t>(grid.h));
    Put16(out, 1);  // planes
    Put16(out, 8);  // bits per pixel
    Put32(out, 0);  // no compression
    Put32(out, static_cast<uint32_t>(stride * grid.h));
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 256);  // colours used
    Put32(out, 0);    // all important
    for (int i = 0; i < 256; ++i) {
        // Paper black, ink white, border magenta; the rest unused grey.
        uint8_t r = 128, g = 128, b = 128;
        if (i == kPaper)
            r = g = b = 0;
        if (i == kInk)
            r = g = b = 255;
        if (i == kBorder)
            r = 255, g = 0, b = 255;
        out.push_back(b);
        out.push_back(g);
        out.push_back(r);
        out.push_back(0);
    }
    for (int y = grid.h - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x)
            out.push_back(x < grid.w ? grid.At(x, y) : 0);
    }
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

// Renders one character into a cell of the given height with the baseline at
// `ascent` rows from the top. FreeType's hinted monochrome mode snaps the stems
// to whole pixels; thresholded grey rendering came out blotchy once the
// embossed shadows were added around it.
bool RenderGlyph(FT_Face face, int ch, int cellHeight, int ascent, Glyph& glyph) {
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME)) {
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    const int advance = static_cast<int>((slot->advance.x + 32) >> 6);
    // A negative left bearing would put ink outside the cell: move the glyph
    // right instead of cutting it.
    const int left = slot->bitmap_left < 0 ? 0 : slot->bitmap_left;
    int width = advance;
    if (left + static_cast<int>(bm.width) > width)
        width = left + static_cast<int>(bm.width);
    width += kLetterGap;
    if (width < 1)
        width = 1;
    glyph.width = width;
    glyph.pixels.assign(static_cast<size_t>(width) * cellHeight, kPaper);
    const int top = ascent - slot->bitmap_top;
    for (unsigned row = 0; row < bm.rows; ++row) {
        const int y = top + static_cast<int>(row);
        if (y < 0 || y >= cellHeight)
            continue;
        const uint8_t* src = bm.buffer + static_cast<long>(row) * bm.pitch;
        for (unsigned col = 0; col < bm.width; ++col) {
            if (src[col >> 3] & (0x80 >> (col & 7))) {
                glyph.pixels[static_cast<size_t>(y) * width + left + col] = kInk;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FACE.ttf PIXEL_SIZE OUT.bmp\n", argv[0]);
        return 2;
    }
    const int pixelSize = std::atoi(argv[2]);
    FT_Library lib;
    FT_Face face;
    if (FT_Init_FreeType(&lib) || FT_New_Face(lib, argv[1], 0, &face)) {
        std::fprintf(stderr, "fontgen: cannot open %s\n", argv[1]);
        return 1;
    }
    if (pixelSize < 6 || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize))) {
        std::fprintf(stderr, "fontgen: bad pixel size %s\n", argv[2]);
        return 1;
    }
    const int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    const int descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    const int cellHeight = ascent + descent;

    std::vector<Glyph> glyphs;
    for (int ch = kFirstChar; ch <= kLastChar; ++ch) {
        Glyph g;
        if (!RenderGlyph(face, ch, cellHeight, ascent, g)) {
            std::fprintf(stderr, "fontgen: no glyph for %d\n", ch);
            return 1;
        }
        glyphs.push_back(std::move(g));
    }

    // Rows of cells, each cell framed by one border pixel shared with its
    // neighbours, the whole grid framed too.
    const int rows = (static_cast<int>(glyphs.size()) + kGlyphsPerRow - 1) / kGlyphsPerRow;
    Grid grid;
    for (int r = 0; r < rows; ++r) {
        int w = 1;
        for (int i = r * kGlyphsPerRow; i < (r + 1) * kGlyphsPerRow && i < (int)glyphs.size();
             ++i) {
            w += glyphs[i].width + 1;
        }
        if (w > grid.w)
            grid.w = w;
    }
    grid.h = 1 + rows * (cellHeight + 1);
    grid.pixels.assign(static_cast<size_t>(grid.w) * grid.h, kBorder);
    for (int r = 0; r < rows; ++r) {
        int x = 1;
        const int y = 1 + r * (cellHeight + 1);
        for (int i = r * kGlyphsPerRow; i < (r + 1) * kGlyphsPerRow && i < (int)glyphs.size();
             ++i) {
            const Glyph& g = glyphs[i];
            for (int gy = 0; gy < cellHeight; ++gy) {
                for (int gx = 0; gx < g.width; ++gx) {
                    grid.At(x + gx, y + gy) = g.pixels[static_cast<size_t>(gy) * g.width + gx];
                }
            }
            x += g.width + 1;
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (!WriteBmp8(argv[3], grid)) {
        std::fprintf(stderr, "fontgen: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
