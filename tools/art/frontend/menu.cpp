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
    c.Blit(moon, 10, 4);
    fe::EarthHorizon(c, 470, 1500.0, 17, 0.72);
    // Saucers keeping watch over the earth, at the right.
    Canvas big = fe::MakeSaucer(150, true, 5);
    fe::Tint(big, 0, 0, big.w() - 1, big.h() - 1, pal::kViolet0, 0.25);
    c.Blit(big, 640, -18);
    Canvas small = fe::MakeSaucer(70, true, 9);
    fe::Tint(small, 0, 0, small.w() - 1, small.h() - 1, pal::kViolet0, 0.4);
    c.Blit(small, 724, 250);
    Canvas tiny = fe::MakeSaucer(44, false, 2);
    fe::Tint(tiny, 0, 0, tiny.w() - 1, tiny.h() - 1, pal::kViolet0, 0.5);
    c.Blit(tiny, 30, 300);
    return c;
}

ART_MEMBER(titel, "titel.bmp") {
    Canvas c(800, 600);
    fe::StarSky(c, 0, 0, 799, 599, art::Mix(pal::kOutline, pal::kBlack, 0.5), pal::kViolet0, 7, 22);
    fe::EarthHorizon(c, 430, 1400.0, 23, 1.0);
    // Saucers swooping towards the earth; one beams down on it.
    Canvas beamer = fe::MakeSaucer(84, true, 8);
    const int bx = 640, by = 44;
    for (int y = by + beamer.h() - 6; y < 470; ++y) {
        double half = 12 + (y - by - beamer.h()) * 0.22;
        double mid = bx + beamer.w() / 2.0;
        for (int x = int(mid - half); x <= int(mid + half); ++x) {
            double edge = std::fabs(x + 0.5 - mid) / half;
            c.Set(x, y, art::Mix(c.Get(x, y), pal::kYellow2, edge > 0.8 ? 0.25 : 0.4));
        }
    }
    c.Blit(beamer, bx, by);
    c.Blit(fe::MakeSaucer(120, true, 4), 46, 52);
    c.Blit(fe::MakeSaucer(40, false, 6), 560, 330);
    c.Blit(fe::MakeSaucer(30, false, 14), 250, 60);

    fe::ChunkyStyle style;
    style.top = pal::kPink2;
    style.bottom = pal::kPink1;
    style.extrude = pal::kViolet0;
    style.rimWidth = 3;
    style.depth = 7;
    style.wave = 7;
    style.halo = pal::kYellow1;
    style.haloWidth = 5;
    style.fuzzyHalo = true;
    Canvas logo = fe::ChunkyText(art::kFontSansBold, 88, "Fluffernauts", style);
    c.Blit(logo, (800 - logo.w()) / 2, 140);
    std::string tag = "The fluffy invasion has begun!";
    Canvas tagline = fe::OutlinedText(art::kFontSansBold, 20, tag, pal::kWhite);
    c.Blit(tagline, (800 - tagline.w()) / 2, 140 + logo.h() + 4);

    // Two invaders in front: one waving, one peeking up at the letters.
    fe::FluffLook wave;
    wave.waving = true;
    wave.lookX = -0.5;
    wave.lookY = -0.4;
    wave.seed = 3;
    Canvas a = fe::MakeFluffernaut(60, wave);
    c.Blit(a, 520, 370);
    fe::FluffLook peek;
    peek.dark = pal::kViolet0;
    peek.mid = pal::kViolet1;
    peek.light = pal::kViolet2;
    peek.lookX = 0.6;
    peek.lookY = -0.6;
    peek.smile = false;
    peek.seed = 9;
    Canvas b = fe::MakeFluffernaut(44, peek);
    c.Blit(b, 120, 400);
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
    // A window at the right: a saucer over the earth's rim, and a crew
    // member standing in front of the frame.
    const int winX = 250, winY = kRowY - 8, winW = 344, winH = 7 * kRowH + 16;
    Canvas view(winW, winH);
    fe::StarSky(view, 0, 0, winW - 1, winH - 1, art::Mix(pal::kOutline, pal::kBlack, 0.4),
                pal::kViolet0, 77, 25);
    fe::EarthHorizon(view, winH - 70, 700.0, 29, 0.95);
    Canvas ship = fe::MakeSaucer(170, true, 11);
    view.Blit(ship, 40, 30);
    Canvas far = fe::MakeSaucer(46, false, 12);
    fe::Tint(far, 0, 0, far.w() - 1, far.h() - 1, pal::kViolet0, 0.3);
    view.Blit(far, 250, 140);
    fe::RoundRect(c, winX - 2, winY - 2, winX + winW + 1, winY + winH + 1, 12, pal::kViolet2);
    fe::BlitRounded(c, view, winX, winY, 10);
    fe::FluffLook look;
    look.waving = true;
    look.lookX = -0.7;
    look.lookY = -0.3;
    look.seed = 5;
    Canvas crew = fe::MakeFluffernaut(38, look);
    c.Blit(crew, winX + winW - crew.w() + 6, winY + winH - crew.h() + 22);
    std::string hint = "Point and click, or use the arrow keys and Enter";
    c.Text(art::kFontSans, 13, fe::CentreX(art::kFontSans, 13, hint, kPanelW / 2), kPanelH - 34,
           hint, pal::kViolet2);
    return c;
}

// Every row's label in one lettering: the largest size, up to 17 pixels,
// at which the longest label fits beside a lit button's marker.
const char* const kLabelFont = art::kFontSansBold;
constexpr int kMarkerRoom = 12;  // the marker and a gap, from the button's left edge
constexpr int kLabelRoom = (kRowW - 8) - kMarkerRoom - 3;

int LabelSize() {
    int px = 17;
    for (bool fits = false; !fits && px > 10; px -= fits ? 0 : 1) {
        fits = true;
        for (const char* label : kRowLabels)
            fits &= Canvas::TextWidth(kLabelFont, px, label) <= kLabelRoom;
    }
    return px;
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
    std::string label = kRowLabels[row];
    const int px = LabelSize();
    Canvas text = fe::OutlinedText(kLabelFont, px, label, lit ? pal::kOutline : pal::kWhite,
                                   lit ? pal::kYellow2 : pal::kOutline);
    int tw = Canvas::TextWidth(kLabelFont, px, label);
    // Centred on the button; on a lit one, in the room right of its marker.
    int left = lit ? bx0 + kMarkerRoom : bx0 + 3, right = bx1 - 3;
    // The text's picture has 2 pixels of margin left of its letters.
    c.Blit(text, (left + right + 1 - tw) / 2 - 2, y0 + 7 + (17 - px) / 2);
    if (lit) {
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
