// The ammunition column at the right edge: ten cartridges stacked 16 rows
// apart. A fired cartridge's empty case spins out to the right; the game
// moves each frame 8 pixels further right and shows the odd frames only.
#include <cmath>

#include "hud_draw.h"
#include "registry.h"

using namespace art;

namespace {

constexpr int kFrameW = 106;  // the game steps through the strip by 106
constexpr int kFrames = 10;   // frames 0..9 are drawn; 10 and up end the flight
constexpr int kH = 16;        // one slot of the column

// The cartridge at rest lies in columns 8..92 (screen 708..792) and rows
// 1..14, leaving a one-row gap to its neighbours.
constexpr int kCaseX0 = 34, kCaseX1 = 92;
constexpr int kBulletX0 = 8;
constexpr int kTop = 1, kBottom = 14;

// Cylinder shading by row: highlight, light, mid, dark.
Colour Band(int y, Colour light, Colour mid, Colour dark) {
    int t = y - kTop;
    if (t <= 1)
        return Mix(light, pal::kWhite, t == 1 ? 0.45 : 0.0);
    if (t <= 4)
        return light;
    if (t <= 9)
        return mid;
    return dark;
}

constexpr Colour kBrassL = pal::kYellow2, kBrassM = pal::kYellow0, kBrassD = pal::kBrown2;
constexpr Colour kCopperL = pal::kOrange, kCopperM = pal::kBrown2, kCopperD = pal::kBrown1;

// The brass case from x0 to x1 (base rim at x1), open or closed.
void Case(Canvas& c, int x0, int x1) {
    for (int y = kTop + 1; y <= kBottom - 1; ++y)
        for (int x = x0; x <= x1 - 5; ++x)
            c.Set(x, y, Band(y, kBrassL, kBrassM, kBrassD));
    // Extraction groove and rim.
    for (int y = kTop + 2; y <= kBottom - 2; ++y)
        c.Set(x1 - 4, y, Band(y, kBrassM, kBrassD, pal::kBrown1));
    for (int y = kTop; y <= kBottom; ++y)
        for (int x = x1 - 3; x <= x1; ++x)
            c.Set(x, y, Band(y, kBrassL, kBrassM, kBrassD));
    // A lengthwise glint.
    for (int x = x0 + 3; x <= x1 - 8; ++x)
        c.Set(x, kTop + 3, Mix(kBrassL, pal::kWhite, 0.3));
}

Canvas Cartridge() {
    Canvas c(kFrameW, kH);
    Case(c, kCaseX0, kCaseX1);
    // Copper bullet: an ogive pointing left.
    for (int y = kTop + 2; y <= kBottom - 2; ++y) {
        double dy = (y + 0.5 - (kTop + kBottom + 1) / 2.0) / ((kBottom - kTop - 3) / 2.0 + 0.5);
        double reach = 1.0 - std::sqrt(std::max(0.0, 1.0 - dy * dy));
        int x0 = kBulletX0 + int(std::lround(reach * 20));
        for (int x = x0; x < kCaseX0; ++x)
            c.Set(x, y, Band(y, kCopperL, kCopperM, kCopperD));
    }
    c.Set(kBulletX0 + 6, kTop + 4, Mix(kCopperL, pal::kWhite, 0.6));
    c.Outline();
    // The case mouth crimp between bullet and case.
    for (int y = kTop + 2; y <= kBottom - 2; ++y)
        c.Set(kCaseX0, y, kBrassD);
    return c;
}

// The empty case alone, as seen lengthwise: open mouth on the left.
Canvas EmptyCase() {
    Canvas c(kFrameW, kH);
    Case(c, kCaseX0, kCaseX1);
    for (int y = kTop + 3; y <= kBottom - 3; ++y)
        c.Set(kCaseX0, y, pal::kBrown0);
    c.Outline();
    return c;
}

// The case seen end on: the base with its primer.
void CaseEndOn(Canvas& c, double cx, double halfW) {
    double cy = (kTop + kBottom + 1) / 2.0;
    c.Ellipse(cx, cy, halfW + 1, 7.5, pal::kOutline);
    c.ShadedEllipse(cx, cy, halfW, 6.5, kBrassD, kBrassM, kBrassL);
    if (halfW > 3)
        c.Ellipse(cx, cy, halfW * 0.4, 2.2, pal::kGrey2);
}

// Frame f of the flight: the case turns 40 degrees per frame while its
// screen position accelerates from x 750 to past the right edge.
Canvas Flight(int f) {
    Canvas c(kFrameW, kH);
    double angle = f * 40.0 * M_PI / 180.0;
    double cosA = std::cos(angle);
    double centre = 50.0 - 4.0 * f + 0.45 * f * f;  // within this frame
    const int len = kCaseX1 - kCaseX0 + 1;
    double shown = std::fabs(cosA) * len;
    if (shown < 12) {
        CaseEndOn(c, centre, 6.0);
    } else {
        Canvas flat = EmptyCase();
        if (cosA < 0)
            flat = flat.FlipH();
        int srcX0 = cosA < 0 ? kFrameW - 1 - kCaseX1 - 1 : kCaseX0 - 1;
        // Foreshorten by sampling the lengthwise picture.
        int w = int(std::lround(shown)) + 2;
        int dx0 = int(std::lround(centre - w / 2.0));
        for (int x = 0; x < w; ++x) {
            int sx = srcX0 + int(std::lround(x * double(len + 1) / (w - 1)));
            for (int y = 0; y < kH; ++y) {
                Colour col = flat.Get(sx, y);
                if (col != kMask)
                    c.Set(dx0 + x, y, col);
            }
        }
    }
    // Speed lines trailing to the left.
    int tail = int(centre - std::max(6.0, shown / 2.0)) - 3;
    for (int k = 0; k < 2; ++k) {
        int y = k == 0 ? 4 : 11;
        int len2 = 6 + 3 * f - 4 * k;
        for (int x = tail - len2; x <= tail - 2 * k; ++x)
            if (c.IsMask(x, y))
                c.Set(x, y, pal::kWhite);
    }
    return c;
}

}  // namespace

ART_MEMBER(shells, "shells.bmp") {
    Strip s(kFrameW, kH, kFrames);
    s.Put(0, Cartridge());
    for (int f = 1; f < kFrames; ++f)
        s.Put(f, Flight(f));
    return s.canvas;
}
