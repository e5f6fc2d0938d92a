// The counters in the corners of the game screen: the digit strip used for
// score, seconds and life, and the panel that the life digits sit on.
#include <algorithm>
#include <string>

#include "hud_draw.h"
#include "registry.h"

using namespace art;

namespace {

// One digit cell. The score's five digits end at x 87 + 18 = 105 and start
// at 87 - 4 * 18 = 15; a life of 100 spans x 20..74, the panel's width.
constexpr int kDigitW = 18;
constexpr int kDigitH = 24;
constexpr int kDigitInkW = 13;  // leaves room for the two-pixel rim and shadow
constexpr int kDigitPx = 28;    // DejaVu Sans Bold at this size: digits ~20 rows

// Gold lettering: bright on the blue sky at the top and on the grass below.
constexpr hud::Ramp kGold = {pal::kYellow2, pal::kYellow1, pal::kOrange};

// The life panel is drawn at screen (20, 520); the life digits at y 535 with
// their right edge at x 52 + 18 (two digits) or 56 + 18 (three).
constexpr int kPanelW = 112;
constexpr int kPanelH = 46;
constexpr int kDigitTop = 535 - 520;  // 15
constexpr int kWellX0 = 2, kWellX1 = 56;
constexpr int kWellY0 = kDigitTop - 2, kWellY1 = kDigitTop + kDigitH;

hud::Ink DigitInk(int d, double squeeze) {
    return hud::TextInk(kFontSansBold, kDigitPx, std::string(1, char('0' + d)), squeeze);
}

void RoundRect(Canvas& c, int x0, int y0, int x1, int y1, int r, Colour col) {
    c.Rect(x0 + r, y0, x1 - r, y1, col);
    c.Rect(x0, y0 + r, x1, y1 - r, col);
    c.Circle(x0 + r + 0.5, y0 + r + 0.5, r + 0.5, col);
    c.Circle(x1 - r + 0.5, y0 + r + 0.5, r + 0.5, col);
    c.Circle(x0 + r + 0.5, y1 - r + 0.5, r + 0.5, col);
    c.Circle(x1 - r + 0.5, y1 - r + 0.5, r + 0.5, col);
}

void Heart(Canvas& c, double cx, double cy, double s, Colour dark, Colour mid, Colour light) {
    auto shape = [&](double grow, Colour col) {
        c.Circle(cx - s * 0.5, cy - s * 0.25, s * 0.55 + grow, col);
        c.Circle(cx + s * 0.5, cy - s * 0.25, s * 0.55 + grow, col);
        c.Polygon({{cx - s * 1.02 - grow, cy - s * 0.1},
                   {cx + s * 1.02 + grow, cy - s * 0.1},
                   {cx, cy + s * 1.05 + grow * 1.4}},
                  col);
    };
    shape(1, pal::kOutline);
    shape(0, mid);
    // Darker lower right, light lobe upper left.
    for (int y = 0; y < c.h(); ++y)
        for (int x = 0; x < c.w(); ++x)
            if (c.Get(x, y) == mid && (x - cx) * 0.6 + (y - cy) * 0.8 > s * 0.35)
                c.Set(x, y, dark);
    c.Ellipse(cx - s * 0.55, cy - s * 0.4, s * 0.22, s * 0.3, light);
    c.Circle(cx - s * 0.2, cy - s * 0.65, s * 0.08 + 0.4, pal::kWhite);
}

}  // namespace

ART_MEMBER(digit, "digit.bmp") {
    // One common squeeze so that all ten digits share a stroke weight.
    int widest = 0;
    for (int d = 0; d < 10; ++d)
        widest = std::max(widest, DigitInk(d, 1.0).w);
    double squeeze = std::min(1.0, double(kDigitInkW) / widest);
    Canvas c(kDigitW * 10, kDigitH);
    for (int d = 0; d < 10; ++d) {
        hud::Ink ink = DigitInk(d, squeeze);
        Canvas cell(kDigitW, kDigitH);
        int x = 2 + (kDigitInkW - ink.w) / 2;
        hud::PaintLettering(cell, ink, x, 2, kGold);
        // A second ring of the dark rim: the seconds stand on the sun's
        // face, whose yellow and orange the gold alone does not stand out
        // from. Neighbouring digits' rims meet in one dark band.
        cell.OutlineRect(0, 0, kDigitW - 1, kDigitH - 1, pal::kOutline);
        c.BlitPart(cell, 0, 0, d * kDigitW, 0, kDigitW, kDigitH, false);
    }
    return c;
}

ART_MEMBER(life, "life.bmp") {
    Canvas c(kPanelW, kPanelH);
    // Metal plaque, lit from the upper left.
    RoundRect(c, 0, 4, kPanelW - 1, kPanelH - 1, 6, pal::kOutline);
    RoundRect(c, 1, 5, kPanelW - 2, kPanelH - 2, 5, pal::kGrey0);
    RoundRect(c, 1, 5, kPanelW - 3, kPanelH - 3, 5, pal::kGrey2);
    RoundRect(c, 2, 6, kPanelW - 3, kPanelH - 3, 4, pal::kGrey1);
    for (int y = 7; y < kPanelH - 3; y += 3)
        for (int x = 4 + (y % 2); x < kPanelW - 4; x += 6)
            if (c.Get(x, y) == pal::kGrey1)
                c.Set(x, y, Mix(pal::kGrey1, pal::kGrey2, 0.35));
    // Rivets.
    for (int x : {7, kPanelW - 8})
        for (int y : {10, kPanelH - 8}) {
            if (x < kWellX1 && y > kWellY0 - 3)
                continue;
            c.Circle(x + 0.5, y + 0.5, 2.0, pal::kGrey0);
            c.Set(x, y, pal::kGrey3);
        }
    // The well that the digits sit in: shadowed at its upper left edge.
    RoundRect(c, kWellX0, kWellY0, kWellX1, kWellY1, 4, pal::kGrey3);
    RoundRect(c, kWellX0, kWellY0, kWellX1 - 1, kWellY1 - 1, 4, pal::kOutline);
    RoundRect(c, kWellX0 + 1, kWellY0 + 1, kWellX1 - 1, kWellY1 - 1, 3,
              Mix(pal::kOutline, pal::kViolet0, 0.35));
    c.Rect(kWellX0 + 4, kWellY1 - 3, kWellX1 - 5, kWellY1 - 2,
           Mix(pal::kOutline, pal::kViolet0, 0.6));
    // "LIFE" above the well.
    hud::Ink label = hud::TextInk(kFontSansBold, 10, "LIFE");
    int lx = (kWellX0 + kWellX1 - label.w) / 2;
    hud::StampInk(c, label, lx, 6, pal::kWhite, pal::kOutline);
    // The heart to the right of the digits.
    Heart(c, 84, 24, 13, pal::kRed0, pal::kRed1, Mix(pal::kRed1, pal::kPink3, 0.55));
    return c;
}
