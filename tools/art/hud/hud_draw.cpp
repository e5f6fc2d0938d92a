#include "hud_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace hud {

using namespace art;

namespace {
// Lettering is rendered this many times larger and then reduced.
constexpr int kOversample = 4;
constexpr Colour kInk = 0x000001;
}  // namespace

Ink TextInk(const char* font, int px, const std::string& s, double squeeze) {
    const int big = px * kOversample;
    int width = Canvas::TextWidth(font, big, s) + big;
    Canvas hi(width, big * 2);
    hi.Text(font, big, big / 4, big * 1.4, s, kInk);
    int x0 = hi.w(), y0 = hi.h(), x1 = -1, y1 = -1;
    for (int y = 0; y < hi.h(); ++y)
        for (int x = 0; x < hi.w(); ++x)
            if (!hi.IsMask(x, y)) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    Ink ink;
    if (x1 < 0)
        return ink;
    const double stepX = kOversample / squeeze;
    const double stepY = kOversample;
    ink.w = int(std::ceil((x1 - x0 + 1) / stepX));
    ink.h = int(std::ceil((y1 - y0 + 1) / stepY));
    ink.on.assign(size_t(ink.w) * ink.h, 0);
    for (int y = 0; y < ink.h; ++y)
        for (int x = 0; x < ink.w; ++x) {
            int sx0 = x0 + int(std::floor(x * stepX)), sx1 = x0 + int(std::floor((x + 1) * stepX));
            int sy0 = y0 + int(std::floor(y * stepY)), sy1 = y0 + int(std::floor((y + 1) * stepY));
            int n = 0, on = 0;
            for (int yy = sy0; yy < sy1; ++yy)
                for (int xx = sx0; xx < sx1; ++xx, ++n)
                    if (!hi.IsMask(xx, yy))
                        ++on;
            // Slightly below half: thin strokes survive the reduction.
            ink.on[size_t(y) * ink.w + x] = n > 0 && on * 5 >= n * 2;
        }
    return ink;
}

void StampInk(Canvas& c, const Ink& ink, int x, int y, Colour fill, Colour outline) {
    for (int iy = 0; iy < ink.h; ++iy)
        for (int ix = 0; ix < ink.w; ++ix)
            if (ink.At(ix, iy)) {
                c.Set(x + ix - 1, y + iy, outline);
                c.Set(x + ix + 1, y + iy, outline);
                c.Set(x + ix, y + iy - 1, outline);
                c.Set(x + ix, y + iy + 1, outline);
            }
    for (int iy = 0; iy < ink.h; ++iy)
        for (int ix = 0; ix < ink.w; ++ix)
            if (ink.At(ix, iy))
                c.Set(x + ix, y + iy, fill);
}

void OutlineWithShadow(Canvas& c, int x0, int y0, int x1, int y1) {
    c.OutlineRect(x0, y0, x1, y1);
    std::vector<std::pair<int, int>> shadow;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (c.IsMask(x, y) && !c.IsMask(x - 1, y - 1) && x - 1 >= x0 && y - 1 >= y0)
                shadow.emplace_back(x, y);
    for (auto& p : shadow)
        c.Set(p.first, p.second, pal::kOutline);
}

void PaintLettering(Canvas& c, const Ink& ink, int x, int y, const Ramp& ramp) {
    for (int iy = 0; iy < ink.h; ++iy) {
        double t = (iy + 0.5) / ink.h;
        Colour col = t < 0.36 ? ramp.light : (t < 0.74 ? ramp.mid : ramp.dark);
        for (int ix = 0; ix < ink.w; ++ix) {
            if (!ink.At(ix, iy))
                continue;
            // A glint on the upper-left edge of each stroke.
            bool edge = !ink.At(ix - 1, iy) || !ink.At(ix, iy - 1);
            Colour px = col;
            if (edge && t < 0.5)
                px = Mix(ramp.light, pal::kWhite, 0.6);
            c.Set(x + ix, y + iy, px);
        }
    }
    OutlineWithShadow(c, x - 1, y - 1, x + ink.w + 1, y + ink.h + 1);
}

void Star(Canvas& c, double cx, double cy, double rOut, double rIn, double turn, Colour col) {
    std::vector<Point> pts;
    for (int i = 0; i < 10; ++i) {
        double a = turn - M_PI / 2 + i * M_PI / 5;
        double r = (i % 2) ? rIn : rOut;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    c.Polygon(pts, col);
}

namespace {
// ShadedEllipse without its glint: on fur the white spot reads as a patch.
void Fur(Canvas& c, double cx, double cy, double rx, double ry) {
    c.ShadedEllipse(cx, cy, rx, ry, pal::kBrown0, pal::kBrown1, pal::kBrown2);
    const Colour glint = Mix(pal::kBrown2, 0xFFFFFF, 0.6);
    for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y)
        for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x)
            if (c.Get(x, y) == glint)
                c.Set(x, y, pal::kBrown2);
}
}  // namespace

void MoleBody(Canvas& c, double cx, double top, double bottom, double halfWidth) {
    double ry = (bottom - top);
    // The body is the upper half of a tall ellipse; its lower half is always
    // hidden (by the mound in the game, by the screen edge in the intro).
    c.Ellipse(cx, bottom, halfWidth + 1, ry + 1, pal::kOutline);
    Fur(c, cx, bottom, halfWidth, ry);
    c.Ellipse(cx + 1, bottom + ry * 0.15, halfWidth * 0.58, ry * 0.82,
              Mix(pal::kBrown2, pal::kBrown3, 0.5));
    c.Ellipse(cx, bottom + ry * 0.12, halfWidth * 0.5, ry * 0.75, pal::kBrown3);
}

void MolePaw(Canvas& c, double cx, double cy, double r, bool fingersUp) {
    c.Circle(cx, cy, r + 1, pal::kOutline);
    c.ShadedEllipse(cx, cy, r, r, pal::kSkin0, pal::kSkin1, pal::kSkin2);
    // Two short creases make a mitten of it.
    double dir = fingersUp ? -1 : 1;
    for (int i = -1; i <= 1; i += 2) {
        double x = cx + i * r * 0.35;
        c.Line(x, cy + dir * r * 0.95, x, cy + dir * r * 0.45, 1.0, pal::kSkin0);
    }
}

void MoleArm(Canvas& c, double x0, double y0, double x1, double y1, double thick) {
    c.Line(x0, y0, x1, y1, thick + 2, pal::kOutline);
    c.Line(x0, y0, x1, y1, thick, pal::kBrown1);
    c.Line(x0 - thick * 0.2, y0 - thick * 0.15, x1 - thick * 0.2, y1 - thick * 0.15, thick * 0.35,
           pal::kBrown2);
}

void MoleHead(Canvas& c, double cx, double cy, double r, const MoleFace& f) {
    // Head with three tufts of fur on top.
    for (int i = -1; i <= 1; ++i) {
        double tx = cx + i * r * 0.3, ty = cy - r * 0.78;
        std::vector<Point> tuft = {
            {tx - r * 0.16, ty}, {tx + i * r * 0.12, ty - r * 0.38}, {tx + r * 0.16, ty}};
        std::vector<Point> rim = {{tx - r * 0.16 - 1.2, ty + 1},
                                  {tx + i * r * 0.12, ty - r * 0.38 - 1.4},
                                  {tx + r * 0.16 + 1.2, ty + 1}};
        c.Polygon(rim, pal::kOutline);
        c.Polygon(tuft, i < 0 ? pal::kBrown2 : pal::kBrown1);
    }
    c.Ellipse(cx, cy, r + 1, r * 0.9 + 1, pal::kOutline);
    Fur(c, cx, cy, r, r * 0.9);

    // Pale snout.
    double my = cy + r * 0.38;
    c.Ellipse(cx, my, r * 0.62 + 1, r * 0.42 + 1, pal::kOutline);
    c.ShadedEllipse(cx, my, r * 0.62, r * 0.42, pal::kBrown2, pal::kBrown3,
                    Mix(pal::kBrown3, pal::kSkin2, 0.6));

    // Eyes: small, as a mole's are, but white enough to read.
    double ey = cy - r * 0.22, ex = r * 0.36, er = std::max(2.2, r * 0.2);
    auto eye = [&](double x, bool shut) {
        if (shut || f.eyeOpen < 0.25) {
            // A shut eye is a happy arc.
            c.Line(x - er - 0.5, ey + 1, x, ey - 1.5, 2.0, pal::kOutline);
            c.Line(x, ey - 1.5, x + er + 0.5, ey + 1, 2.0, pal::kOutline);
            return;
        }
        double ry = er * std::max(0.5, f.eyeOpen);
        c.Ellipse(x, ey, er + 1, ry + 1, pal::kOutline);
        c.Ellipse(x, ey, er, ry, pal::kWhite);
        double px = x + f.lookX * er * 0.4;
        c.Ellipse(px, ey + 0.5, er * 0.55, ry * 0.7, pal::kBlack);
        c.Set(int(px - er * 0.3), int(ey - ry * 0.35), pal::kWhite);
    };
    eye(cx - ex, false);
    eye(cx + ex, f.wink);
    if (f.angry) {
        c.Line(cx - ex - er, ey - er - 3, cx - ex + er + 1, ey - er, 2.0, pal::kOutline);
        c.Line(cx + ex + er, ey - er - 3, cx + ex - er - 1, ey - er, 2.0, pal::kOutline);
    }

    // Pink nose on top of the snout.
    double ny = my - r * 0.2;
    c.Ellipse(cx, ny, r * 0.26 + 1, r * 0.18 + 1, pal::kOutline);
    c.ShadedEllipse(cx, ny, r * 0.26, r * 0.18, pal::kPink1, pal::kPink2, pal::kPink3);

    // Mouth line, teeth and tongue.
    double mouthY = my + r * 0.12;
    c.Line(cx - r * 0.3, mouthY - 1, cx, mouthY, 1.2, pal::kOutline);
    c.Line(cx, mouthY, cx + r * 0.3, mouthY - 1, 1.2, pal::kOutline);
    if (f.tongue) {
        c.Ellipse(cx + 1, mouthY + r * 0.28, r * 0.2 + 1, r * 0.26 + 1, pal::kOutline);
        c.ShadedEllipse(cx + 1, mouthY + r * 0.28, r * 0.2, r * 0.26, pal::kRed1, pal::kPink1,
                        pal::kPink2);
        c.Line(cx + 1, mouthY + 1, cx + 1, mouthY + r * 0.3, 1.0, pal::kPink0);
    }
    if (f.grin) {
        int tx = int(std::lround(cx)), ty = int(std::lround(mouthY));
        c.Rect(tx - 3, ty, tx + 2, ty + 4, pal::kOutline);
        c.Rect(tx - 2, ty + 1, tx - 1, ty + 3, pal::kWhite);
        c.Rect(tx + 0, ty + 1, tx + 1, ty + 3, pal::kWhite);
    }
}

}  // namespace hud
