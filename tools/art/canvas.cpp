#include "canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace art {

namespace {
int R(Colour c) {
    return (c >> 16) & 0xFF;
}
int G(Colour c) {
    return (c >> 8) & 0xFF;
}
int B(Colour c) {
    return c & 0xFF;
}
Colour Rgb(int r, int g, int b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    return (Colour(r) << 16) | (Colour(g) << 8) | Colour(b);
}
}  // namespace

Colour Mix(Colour a, Colour b, double t) {
    return Rgb(int(std::lround(R(a) + (R(b) - R(a)) * t)),
               int(std::lround(G(a) + (G(b) - G(a)) * t)),
               int(std::lround(B(a) + (B(b) - B(a)) * t)));
}

Colour Shade(Colour c, double f) {
    if (f <= 1.0) {
        return Rgb(int(R(c) * f), int(G(c) * f), int(B(c) * f));
    }
    return Mix(c, 0xFFFFFF, std::min(1.0, f - 1.0));
}

double Noise(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

Canvas::Canvas(int w, int h, Colour fill) : w_(w), h_(h), px_(size_t(w) * h, fill) {}

Colour Canvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_)
        return kMask;
    return px_[size_t(y) * w_ + x];
}

void Canvas::Set(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_)
        return;
    // A colour that turns into the mask once reduced to 5-6-5 would punch a
    // hole into the sprite; nudge its green up by one 6-bit step.
    if (c != kMask && (R(c) >> 3) == 31 && (G(c) >> 2) == 0 && (B(c) >> 3) == 31)
        c |= 0x000400;
    px_[size_t(y) * w_ + x] = c;
}

void Canvas::Fill(Colour c) {
    std::fill(px_.begin(), px_.end(), c);
}

void Canvas::Rect(int x0, int y0, int x1, int y1, Colour c) {
    for (int y = std::max(0, y0); y <= std::min(h_ - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(w_ - 1, x1); ++x)
            Set(x, y, c);
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry, Colour c) {
    if (rx <= 0 || ry <= 0)
        return;
    int y0 = int(std::floor(cy - ry)), y1 = int(std::ceil(cy + ry));
    int x0 = int(std::floor(cx - rx)), x1 = int(std::ceil(cx + rx));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                Set(x, y, c);
        }
}

void Canvas::Polygon(const std::vector<Point>& pts, Colour c) {
    if (pts.size() < 3)
        return;
    double minY = pts[0].y, maxY = pts[0].y;
    for (const Point& p : pts) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    for (int y = int(std::floor(minY)); y <= int(std::ceil(maxY)); ++y) {
        double sy = y + 0.5;
        std::vector<double> xs;
        for (size_t i = 0; i < pts.size(); ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % pts.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) {
                xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
            }
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            for (int x = int(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x)
                Set(x, y, c);
        }
    }
}

void Canvas::Line(double x0, double y0, double x1, double y1, double thick, Colour c) {
    double r = thick / 2.0;
    int minX = int(std::floor(std::min(x0, x1) - r)), maxX = int(std::ceil(std::max(x0, x1) + r));
    int minY = int(std::floor(std::min(y0, y1) - r)), maxY = int(std::ceil(std::max(y0, y1) + r));
    double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            double px = x + 0.5 - x0, py = y + 0.5 - y0;
            double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
            double dx = px - t * vx, dy = py - t * vy;
            if (dx * dx + dy * dy <= r * r)
                Set(x, y, c);
        }
}

void Canvas::ShadedEllipse(double cx, double cy, double rx, double ry, Colour dark, Colour mid,
                           Colour light) {
    if (rx <= 0 || ry <= 0)
        return;
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            double d = dx * dx + dy * dy;
            if (d > 1.0)
                continue;
            double nz = std::sqrt(1.0 - d);
            // Light from the upper left, slightly towards the viewer.
            double lit = (-dx * 0.55 - dy * 0.6 + nz * 0.58);
            Colour c = lit > 0.55 ? light : (lit > 0.05 ? mid : dark);
            double hx = dx + 0.4, hy = dy + 0.45;
            if (hx * hx + hy * hy < 0.03)
                c = Mix(light, 0xFFFFFF, 0.6);
            Set(x, y, c);
        }
}

void Canvas::VGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom) {
    for (int y = y0; y <= y1; ++y) {
        double t = y1 > y0 ? double(y - y0) / (y1 - y0) : 0.0;
        Rect(x0, y, x1, y, Mix(top, bottom, t));
    }
}

void Canvas::Outline(Colour c) {
    OutlineRect(0, 0, w_ - 1, h_ - 1, c);
}

void Canvas::OutlineRect(int x0, int y0, int x1, int y1, Colour c) {
    std::vector<std::pair<int, int>> marks;
    for (int y = std::max(0, y0); y <= std::min(h_ - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(w_ - 1, x1); ++x) {
            if (!IsMask(x, y))
                continue;
            auto solid = [&](int ax, int ay) {
                return ax >= x0 && ax <= x1 && ay >= y0 && ay <= y1 && ax >= 0 && ay >= 0 &&
                       ax < w_ && ay < h_ && !IsMask(ax, ay);
            };
            if (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1))
                marks.emplace_back(x, y);
        }
    for (auto& m : marks)
        Set(m.first, m.second, c);
}

void Canvas::Blit(const Canvas& src, int x, int y) {
    BlitPart(src, 0, 0, x, y, src.w(), src.h());
}

void Canvas::BlitPart(const Canvas& src, int sx, int sy, int dx, int dy, int w, int h,
                      bool masked) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (sx + x < 0 || sy + y < 0 || sx + x >= src.w() || sy + y >= src.h())
                continue;
            Colour c = src.Get(sx + x, sy + y);
            if (masked && c == kMask)
                continue;
            Set(dx + x, dy + y, c);
        }
}

Canvas Canvas::FlipH() const {
    Canvas out(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            out.Set(w_ - 1 - x, y, Get(x, y));
    return out;
}

namespace {
struct FontCache {
    FT_Library lib = nullptr;
    std::map<std::string, FT_Face> faces;
    FT_Face Get(const std::string& path, int px) {
        if (!lib && FT_Init_FreeType(&lib))
            return nullptr;
        auto it = faces.find(path);
        FT_Face face = nullptr;
        if (it == faces.end()) {
            if (FT_New_Face(lib, path.c_str(), 0, &face)) {
                std::fprintf(stderr, "artgen: cannot open font %s\n", path.c_str());
                return nullptr;
            }
            faces[path] = face;
        } else {
            face = it->second;
        }
        FT_Set_Pixel_Sizes(face, 0, px);
        return face;
    }
};
FontCache& Fonts() {
    static FontCache cache;
    return cache;
}
}  // namespace

int Canvas::Text(const std::string& font, int px, double x, double y, const std::string& s,
                 Colour c) {
    FT_Face face = Fonts().Get(font, px);
    if (!face)
        return 0;
    double pen = x;
    for (unsigned char ch : s) {
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME))
            continue;
        FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        int ox = int(std::lround(pen)) + g->bitmap_left;
        int oy = int(std::lround(y)) - g->bitmap_top;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned col = 0; col < bm.width; ++col) {
                const unsigned char* row = bm.buffer + r * bm.pitch;
                if (row[col >> 3] & (0x80 >> (col & 7)))
                    Set(ox + int(col), oy + int(r), c);
            }
        pen += g->advance.x / 64.0;
    }
    return int(std::lround(pen - x));
}

int Canvas::TextWidth(const std::string& font, int px, const std::string& s) {
    FT_Face face = Fonts().Get(font, px);
    if (!face)
        return 0;
    double pen = 0;
    for (unsigned char ch : s) {
        if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO))
            continue;
        pen += face->glyph->advance.x / 64.0;
    }
    return int(std::lround(pen));
}

bool Canvas::SaveBmp(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    // 5-6-5 pixels, as the game's screen holds them: the game loads them
    // without converting, and the colour masks after the 40-byte header
    // (BI_BITFIELDS) are the form Allegro's BMP reader accepts for 16 bits.
    constexpr int kHeader = 14 + 40 + 12;
    int rowBytes = (w_ * 2 + 3) & ~3;
    uint32_t dataSize = uint32_t(rowBytes) * h_;
    uint8_t hdr[kHeader] = {'B', 'M'};
    auto put32 = [&](int off, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            hdr[off + i] = uint8_t(v >> (8 * i));
    };
    put32(2, kHeader + dataSize);
    put32(10, kHeader);
    put32(14, 40);
    put32(18, uint32_t(w_));
    put32(22, uint32_t(h_));
    hdr[26] = 1;
    hdr[28] = 16;
    put32(30, 3);  // BI_BITFIELDS
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    put32(54, 0xF800);
    put32(58, 0x07E0);
    put32(62, 0x001F);
    bool ok = std::fwrite(hdr, 1, kHeader, f) == kHeader;
    std::vector<uint8_t> row(size_t(rowBytes), 0);
    for (int y = h_ - 1; y >= 0 && ok; --y) {
        for (int x = 0; x < w_; ++x) {
            Colour c = Get(x, y);
            uint16_t p = uint16_t((R(c) >> 3) << 11 | (G(c) >> 2) << 5 | (B(c) >> 3));
            row[size_t(x) * 2 + 0] = uint8_t(p);
            row[size_t(x) * 2 + 1] = uint8_t(p >> 8);
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

}  // namespace art
