// The pictures of the title menu: pointer, backdrop, title and menu panel.
#include <algorithm>
#include <cmath>
#include <string>

#include "kit.h"
#include "registry.h"

namespace pal = art::pal;
using art::Canvas;
using art::Colour;

namespace {

// The pointer's hot spot; the game sets the same focus on the sprite.
constexpr int kHotX = 40;
constexpr int kHotY = 36;
constexpr int kCursorW = 2 * kHotX + 1;  // symmetric around the hot spot
constexpr int kCursorH = 2 * kHotY + 1;

// Menu panel geometry the title menu relies on.
constexpr int kPanelW = 620;  // so that the panel starts at screen x 90,
                              // where the menu's pointer zone starts too
constexpr int kPanelH = 460;
constexpr int kRowX = 90;
constexpr int kRowY = 90;
constexpr int kRowW = 120;
constexpr int kRowH = 40;
constexpr const char* kRowLabels[7] = {
    "Play",         // 0: a game
    "Story",        // 1..3: the story page
    "Mission",      //
    "Briefing",     //
    "Credits",      // 4
    "High Scores",  // 5
    "Quit",         // 6
};

}  // namespace

ART_MEMBER(cursor, "cursor.bmp") {
    Canvas c(kCursorW, kCursorH);
    const double cx = kHotX + 0.5, cy = kHotY + 0.5;
    const Colour core = pal::kYellow1;
    // Ring: bright core two pixels wide between dark rims.
    for (int y = 0; y < kCursorH; ++y)
        for (int x = 0; x < kCursorW; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d >= 19.0 && d < 21.5)
                c.Set(x, y, core);
        }
    // Arms: three pixels wide, with a gap around the aim point.
    for (int t = 6; t <= 38; ++t) {
        for (int k = -1; k <= 1; ++k) {
            Colour col = k == 0 ? pal::kWhite : core;
            if (t <= 40) {
                c.Set(kHotX - t, kHotY + k, col);
                c.Set(kHotX + t, kHotY + k, col);
            }
            if (t <= 34) {
                c.Set(kHotX + k, kHotY - t, col);
                c.Set(kHotX + k, kHotY + t, col);
            }
        }
    }
    // Aim dot exactly on the hot spot.
    c.Rect(kHotX - 1, kHotY - 1, kHotX + 1, kHotY + 1, pal::kRed1);
    c.Set(kHotX, kHotY, pal::kYellow2);
    c.Outline();
    return c;
}

ART_MEMBER(tlebg, "tlebg.bmp") {
    Canvas c(800, 600);
    fe::StarSky(c, 0, 0, 799, 599, art::Mix(pal::kOutline, pal::kBlack, 0.4),
                art::Mix(pal::kViolet0, pal::kOutline, 0.35), 41, 18);
    // A pale moon at the upper left.
    Canvas moon(70, 70);
    moon.ShadedEllipse(35, 35, 30, 30, pal::kGrey1, pal::kGrey2, pal::kGrey3);
    moon.Circle(24, 40, 6, pal::kGrey1);
    moon.Circle(42, 22, 4, pal::kGrey1);
    moon.Circle(44, 48, 3, pal::kGrey1);
    moon.Outline();
    fe::Tint(moon, 0, 0, 69, 69, pal::kViolet0, 0.35);
    c.Blit(moon, 60, 50);
    fe::EarthHorizon(c, 470, 1500.0, 17, 0.72);
    // Saucers keeping watch over the earth, at the right.
    Canvas big = fe::MakeSaucer(150, true, 5);
    fe::Tint(big, 0, 0, big.w() - 1, big.h() - 1, pal::kViolet0, 0.25);
    c.Blit(big, 628, 70);
    Canvas small = fe::MakeSaucer(70, true, 9);
    fe::Tint(small, 0, 0, small.w() - 1, small.h() - 1, pal::kViolet0, 0.4);
    c.Blit(small, 560, 200);
    Canvas tiny = fe::MakeSaucer(44, false, 2);
    fe::Tint(tiny, 0, 0, tiny.w() - 1, tiny.h() - 1, pal::kViolet0, 0.5);
    c.Blit(tiny, 190, 250);
    return c;
}

ART_MEMBER(titel, "titel.bmp") {
    Canvas c(800, 600);
    fe::StarSky(c, 0, 0, 799, 599, art::Mix(pal::kOutline, pal::kBlack, 0.5), pal::kViolet0, 7, 22);
    fe::EarthHorizon(c, 430, 1400.0, 23, 1.0);
    // Saucers swooping towards the earth.
    c.Blit(fe::MakeSaucer(110, true, 4), 60, 60);
    c.Blit(fe::MakeSaucer(64, true, 8), 650, 40);
    c.Blit(fe::MakeSaucer(40, false, 6), 560, 330);

    fe::ChunkyStyle style;
    style.top = pal::kPink2;
    style.bottom = pal::kPink1;
    style.extrude = pal::kViolet0;
    style.rimWidth = 4;
    style.depth = 8;
    style.wave = 7;
    Canvas logo = fe::ChunkyText(art::kFontSansBold, 92, "Fluffernauts", style);
    c.Blit(logo, (800 - logo.w()) / 2, 150);

    // Two invaders in front: one waving, one peeking up at the letters.
    fe::FluffLook wave;
    wave.waving = true;
    wave.lookX = -0.5;
    wave.lookY = -0.4;
    wave.seed = 3;
    Canvas a = fe::MakeFluffernaut(48, wave);
    c.Blit(a, 520, 330);
    fe::FluffLook peek;
    peek.dark = pal::kViolet0;
    peek.mid = pal::kViolet1;
    peek.light = pal::kViolet2;
    peek.lookX = 0.6;
    peek.lookY = -0.6;
    peek.smile = false;
    peek.seed = 9;
    Canvas b = fe::MakeFluffernaut(34, peek);
    c.Blit(b, 170, 378);
    return c;
}

namespace {

// Panel body shared by the plain and the highlighted look; the buttons
// are drawn afterwards in the look asked for.
Canvas MenuPanel() {
    Canvas c(kPanelW, kPanelH);
    fe::BevelPanel(c, 0, 0, kPanelW - 1, kPanelH - 1, 22, 14, pal::kViolet0, pal::kViolet1,
                   pal::kViolet2, art::Mix(pal::kViolet0, pal::kOutline, 0.55));
    // Heading plate.
    fe::ChunkyStyle st;
    st.rimWidth = 2;
    st.depth = 3;
    st.wave = 3;
    st.extrude = pal::kPink0;
    Canvas head = fe::ChunkyText(art::kFontSansBold, 40, "Fluffernauts", st);
    c.Blit(head, (kPanelW - head.w()) / 2, 18);
    // Button well behind the seven rows.
    fe::RoundRect(c, kRowX - 8, kRowY - 8, kRowX + kRowW + 7, kRowY + 7 * kRowH + 7, 10,
                  pal::kOutline);
    fe::RoundRect(c, kRowX - 7, kRowY - 7, kRowX + kRowW + 6, kRowY + 7 * kRowH + 6, 9,
                  art::Mix(pal::kViolet0, pal::kOutline, 0.25));
    // Illustration at the right: a saucer and a crew member.
    Canvas ship = fe::MakeSaucer(200, true, 11);
    c.Blit(ship, 330, 110);
    fe::FluffLook look;
    look.waving = true;
    look.lookX = -0.7;
    look.seed = 5;
    Canvas crew = fe::MakeFluffernaut(40, look);
    c.Blit(crew, 400, 280);
    return c;
}

void Button(Canvas& c, int row, bool lit) {
    int x0 = kRowX, y0 = kRowY + row * kRowH;
    int bx0 = x0 + 3, by0 = y0 + 4, bx1 = x0 + kRowW - 4, by1 = y0 + kRowH - 5;
    Colour top = lit ? pal::kYellow1 : pal::kViolet1;
    Colour bottom = lit ? pal::kOrange : pal::kViolet0;
    Colour edge = lit ? pal::kYellow2 : pal::kViolet2;
    fe::RoundRect(c, bx0, by0, bx1, by1, 7, pal::kOutline);
    fe::RoundRect(c, bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, 6, bottom);
    // Upper half in the lighter tone, with a shine line at the top.
    Canvas upper(c.w(), c.h());
    fe::RoundRect(upper, bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, 6, top);
    int mid = (by0 + by1) / 2;
    for (int y = by0 + 1; y <= mid; ++y)
        for (int x = bx0 + 1; x <= bx1 - 1; ++x)
            if (!upper.IsMask(x, y))
                c.Set(x, y, y <= by0 + 2 ? edge : top);
    const char* font = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
    std::string label = kRowLabels[row];
    int px = 17;
    while (px > 12 && Canvas::TextWidth(font, px, label) > 96)
        --px;
    Canvas text = fe::OutlinedText(font, px, label, lit ? pal::kOutline : pal::kWhite,
                                   lit ? pal::kYellow2 : pal::kOutline);
    int tw = Canvas::TextWidth(font, px, label);
    c.Blit(text, x0 + (kRowW - tw) / 2 - 2 + (lit ? 3 : 0), y0 + 7 + (17 - px) / 2);
    if (lit) {
        // A small marker at the left of the lit button.
        c.Polygon({{double(bx0 + 4), double(by0 + 10)},
                   {double(bx0 + 10), double(by0 + 15.5)},
                   {double(bx0 + 4), double(by0 + 21)}},
                  pal::kRed1);
    }
}

}  // namespace

ART_MEMBER(panel00, "panel00.bmp") {
    Canvas c = MenuPanel();
    for (int r = 0; r < 7; ++r)
        Button(c, r, false);
    return c;
}

ART_MEMBER(panel00_sel, "panel00_sel.bmp") {
    Canvas c = MenuPanel();
    for (int r = 0; r < 7; ++r)
        Button(c, r, true);
    return c;
}
