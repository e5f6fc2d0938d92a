// The castle on its hill, the tower segments with their smoke, and the
// explosion cloud over a ruined segment.
#include <algorithm>
#include <cmath>
#include <vector>

#include "registry.h"
#include "scenery.h"

namespace art::landscape {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Castle geometry in "castle.bmp" coordinates.
constexpr int kCastleW = 250, kCastleH = 140;
constexpr int kKnollTop = 109;                   // the knoll's level top, just under the gate
constexpr int kKeepLeft = 20, kKeepRight = 132;  // flat roof the castle UFO lands on

// Stone wall with brick courses, lit from the left: the left quarter is
// light, the right quarter dark.
void Stone(Canvas& c, int x0, int y0, int x1, int y1, int seed) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double u = double(x - x0) / std::max(1, x1 - x0);
            Colour col = u < 0.18 ? pal::kGrey3 : (u > 0.8 ? pal::kGrey1 : pal::kGrey2);
            int course = (y - y0) / 6;
            bool joint = (y - y0) % 6 == 5 || ((x - x0 + (course % 2) * 6) % 12 == 0);
            if (joint)
                col = Mix(col, pal::kGrey0, 0.35);
            if (Noise(x / 2, y / 2, seed) < 0.06)
                col = Mix(col, pal::kGrey0, 0.2);
            c.Set(x, y, col);
        }
}

void Window(Canvas& c, int x, int y, int w, int h) {
    c.Rect(x, y + w / 2, x + w - 1, y + h - 1, pal::kOutline);
    c.Circle(x + w / 2.0, y + w / 2.0, w / 2.0, pal::kOutline);
    c.Rect(x + 1, y + h - 3, x + w - 2, y + h - 2, Mix(pal::kYellow0, pal::kOutline, 0.4));
}

void ConeRoof(Canvas& c, double cx, int base, double halfW, int apex) {
    c.Polygon({{cx - halfW, double(base)}, {cx, double(apex)}, {cx + halfW, double(base)}},
              pal::kRed1);
    c.Polygon({{cx - halfW, double(base)}, {cx, double(apex)}, {cx - halfW * 0.35, double(base)}},
              Mix(pal::kRed1, pal::kOrange, 0.45));
    c.Polygon({{cx + halfW * 0.45, double(base)}, {cx, double(apex)}, {cx + halfW, double(base)}},
              pal::kRed0);
    c.Rect(int(cx), apex - 8, int(cx), apex, pal::kBrown0);  // flagpole
    c.Polygon({{cx + 1, apex - 8.0}, {cx + 9, apex - 6.0}, {cx + 1, apex - 4.0}}, pal::kPink2);
}

void Battlements(Canvas& c, int x0, int x1, int y, int seed) {
    for (int x = x0; x + 4 <= x1; x += 8)
        Stone(c, x, y, x + 4, y + 5, seed);
}

}  // namespace

ART_MEMBER(castle, "castle.bmp") {
    Canvas c(kCastleW, kCastleH);
    // Left turret hanging from the keep's corner (the knoll falls away under
    // it), curtain wall, right tower, then the keep in front.
    Stone(c, 2, 40, 22, 72, 1);
    c.Polygon({{2, 72}, {24, 72}, {24, 90}}, pal::kGrey2);  // corbelling
    c.Polygon({{2, 72}, {8, 72}, {24, 90}}, pal::kGrey3);
    for (int y = 76; y < 88; y += 4)
        c.Rect(int(2 + (y - 72) * 22 / 18.0) + 1, y, 23, y, Mix(pal::kGrey2, pal::kGrey0, 0.35));
    Battlements(c, 2, 22, 34, 1);
    ConeRoof(c, 12, 36, 13, 14);
    Stone(c, kKeepRight, 52, 186, kCastleH - 1, 2);
    Battlements(c, kKeepRight + 2, 186, 46, 2);
    Window(c, 150, 66, 6, 12);
    Window(c, 168, 66, 6, 12);
    Stone(c, 182, 24, 212, kCastleH - 1, 3);
    Battlements(c, 182, 212, 18, 3);
    ConeRoof(c, 197, 20, 19, 6);
    Window(c, 194, 40, 7, 14);
    Window(c, 194, 70, 7, 14);
    // The keep: a flat roof deck seen slightly from above, from its back
    // edge on row 0 to its front edge on row 11. The castle saucer is drawn
    // from row 158 (castle row -28) and stands on the deck.
    Stone(c, kKeepLeft + 4, 12, kKeepRight - 4, kCastleH - 1, 4);
    for (int y = 1; y <= 10; ++y)
        for (int x = kKeepLeft + 1; x < kKeepRight; ++x) {
            Colour deck = Mix(pal::kGrey2, pal::kGrey3, 0.25 + 0.05 * (y % 2));
            if ((x - kKeepLeft) % 16 == 0 || y == 5)
                deck = Mix(deck, pal::kGrey1, 0.35);  // slabs
            c.Set(x, y, deck);
        }
    // Landing ring painted on the deck under the saucer's middle.
    const double padX = kKeepLeft + 62, padY = 5.5;
    c.Ellipse(padX, padY, 30, 4.5, pal::kYellow0);
    c.Ellipse(padX, padY, 26, 3, Mix(pal::kGrey2, pal::kGrey3, 0.25));
    c.Rect(kKeepLeft, 0, kKeepRight, 0, pal::kOutline);  // no mask above row 0 to outline it
    c.Rect(kKeepLeft, 11, kKeepRight, 11, pal::kOutline);
    c.Rect(kKeepLeft, 12, kKeepRight, 15, pal::kGrey2);
    c.Rect(kKeepLeft, 12, kKeepLeft + 16, 15, pal::kGrey3);
    c.Rect(kKeepRight - 14, 12, kKeepRight, 15, pal::kGrey1);
    for (int x = kKeepLeft + 6; x < kKeepRight - 4; x += 9)  // corbels under the parapet
        c.Rect(x, 16, x + 4, 18, pal::kGrey1);
    Window(c, 44, 26, 8, 16);
    Window(c, 72, 26, 8, 16);
    Window(c, 100, 26, 8, 16);
    Window(c, 58, 56, 8, 16);
    Window(c, 88, 56, 8, 16);
    // Gate with a wooden door.
    c.Rect(62, 82, 90, 108, pal::kOutline);
    c.Circle(76, 82, 14, pal::kOutline);
    c.Rect(65, 84, 87, 108, pal::kBrown1);
    c.Circle(76, 83, 11, pal::kBrown1);
    for (int x = 69; x <= 84; x += 5)
        c.Rect(x, 74, x, 108, pal::kBrown0);
    c.Rect(65, 84, 67, 108, pal::kBrown2);
    // Banner on the keep.
    c.Polygon({{112, 14}, {124, 14}, {124, 40}, {118, 35}, {112, 40}}, pal::kViolet1);
    c.Rect(112, 14, 114, 38, pal::kViolet2);
    // The castle's own knoll over the walls' feet: level under the buildings
    // and falling to the bottom row at both edges, so wherever the near
    // crest lies the castle stands on a hill and no cut edge shows. Hazed
    // like the far hills it belongs to.
    for (int x = 0; x < kCastleW; ++x) {
        double d = x < kKeepLeft + 4 ? 1 - x / double(kKeepLeft + 4)
                                     : std::max(0.0, (x - 214) / double(kCastleW - 1 - 214));
        int top = int(std::lround(kKnollTop + (kCastleH - 1 - kKnollTop) * std::pow(d, 1.6)));
        for (int y = top; y < kCastleH; ++y) {
            Colour g =
                y < top + 2 ? pal::kGreen3 : Mix(pal::kGreen2, pal::kGreen1, double(y - top) / 30);
            c.Set(x, y, Dither(Mix(g, pal::kSky1, 0.25), x, y));
        }
    }
    // A track from the gate down the knoll, widening towards the viewer.
    for (int y = kKnollTop; y < kCastleH; ++y) {
        double d = y - kKnollTop, mid = 76 + d * 0.5, half = 10 + d * 0.35;
        for (int x = int(mid - half); x <= int(mid + half); ++x) {
            bool edge = x == int(mid - half) || x == int(mid + half);
            Colour track = edge ? pal::kBrown1 : (d < 2 ? pal::kBrown3 : pal::kBrown2);
            c.Set(x, y, Dither(Mix(track, pal::kSky1, 0.25), x, y));
        }
    }
    c.Outline();
    return c;
}

namespace {

constexpr int kSeg = 26;  // tower segment size; the click band is 3 x 26 wide

// One tower segment: a tower in the middle and a low wall to both edges, so
// that three side by side read as one fortified wall.
Canvas Segment(bool round, bool ruined) {
    Canvas c(kSeg, kSeg);
    Stone(c, 0, 17, kSeg - 1, kSeg - 1, round ? 7 : 8);
    for (int x = 0; x < kSeg; x += 6)
        Stone(c, x, 14, x + 2, 16, 9);
    int x0 = round ? 6 : 5, x1 = round ? 19 : 20;
    // Both towers reach the segment's top row with their outline, where
    // their smoke starts: the round one with its battlements, the square
    // one with its chimney.
    int roofTop = round ? 1 : 4;
    if (!ruined) {
        Stone(c, x0, roofTop + 3, x1, kSeg - 1, round ? 10 : 11);
        if (round) {
            for (int x = x0; x <= x1; x += 4)
                Stone(c, x, roofTop, x + 1, roofTop + 2, 12);
        } else {
            // Square tower with a chimney that the smoke comes out of.
            c.Rect(x0 - 1, roofTop + 2, x1 + 1, roofTop + 3, pal::kGrey1);
            Stone(c, 11, 1, 15, roofTop + 2, 13);
        }
        c.Rect(12, 11, 13, 16, pal::kOutline);  // arrow slit
        c.Set(12, 15, Mix(pal::kYellow0, pal::kOutline, 0.3));
    } else {
        // Broken top, scorched stones and a glowing window.
        for (int x = x0; x <= x1; ++x) {
            // Jagged stumps reach up close to the flames that sit on row 0.
            int t = 2 + int(Noise(x / 2, 0, round ? 14 : 15) * 5) + (x % 4 == 1 ? 2 : 0);
            Stone(c, x, t, x, kSeg - 1, 16);
            for (int y = t; y < t + 3; ++y)
                c.Set(x, y, Mix(c.Get(x, y), pal::kGrey0, 0.55));
        }
        c.Rect(11, 17, 14, 21, pal::kOutline);
        c.Rect(12, 18, 13, 21, pal::kOrange);
        c.Set(12, 18, pal::kYellow1);
        for (int x = 0; x < kSeg; ++x)  // soot around the window and streaks on the wall
            for (int y = 6; y < kSeg; ++y) {
                double d = std::hypot((x - 12.5) / 5.0, (y - 15.0) / 8.0);
                bool streak = (x + (round ? 0 : 3)) % 7 == 2 && y > 16;
                if (!c.IsMask(x, y) && (d < 1.0 || streak))
                    c.Set(x, y, Mix(c.Get(x, y), pal::kGrey0, 0.5));
            }
        // Rubble at the foot.
        c.Circle(4, 24, 2.5, pal::kGrey1);
        c.Circle(21, 24, 2, pal::kGrey2);
    }
    c.Outline();
    return c;
}

// One frame of a smoke column: puffs leave the chimney at the bottom,
// drift up, grow and fade; the phase loops over the 16 frames. The strip's
// bottom row lies on the tower's top, so every frame's smoke reaches it.
constexpr int kSmokeW = 48, kSmokeH = 80, kSmokeFrames = 16;

Canvas SmokeFrame(int k, int variant, bool fire) {
    Canvas c(kSmokeW, kSmokeH);
    const int n = fire ? 8 : 7;
    std::vector<Puff> puffs;
    if (!fire) {
        // The puff still in the chimney's mouth, swelling before it leaves.
        double swell = 0.5 + 0.5 * std::sin(2 * kPi * (double(k) / kSmokeFrames * n));
        puffs.push_back({kSmokeW / 2.0, kSmokeH - 2.5, 2.6 + 0.6 * swell});
    }
    for (int i = 0; i < n; ++i) {
        double t = std::fmod(double(k) / kSmokeFrames + double(i) / n, 1.0);
        double lean = (variant == 0 ? 1 : -1) * 6 * t * t;
        // Close to the chimney the column sways less.
        double sway = 2.5 * std::min(1.0, 4 * t);
        double x = kSmokeW / 2.0 + lean + sway * std::sin(2 * kPi * (t * 1.5 + i * 0.37));
        double r = fire ? 5 + 8 * t : 2.8 + 5 * t;
        double bottom = fire ? kSmokeH - 12 : kSmokeH - 2;
        // Slow out of the chimney, then rising steadily: no gap opens
        // between the mouth and the puff that just left it.
        double rise = fire ? t : t * t * (1.6 - 0.6 * t);
        double y = bottom - r * 0.6 - rise * (bottom - 17);
        if (t > 0.9)
            r *= (1 - t) / 0.1;  // the last puff thins away at the top
        puffs.push_back({x, y, r});
    }
    if (fire) {
        PaintPuffs(c, puffs.data(), int(puffs.size()), pal::kGrey0, pal::kGrey1,
                   Mix(pal::kGrey1, pal::kGrey2, 0.5));
        // Flames licking out of the ruin, flickering frame by frame.
        for (int j = 0; j < 4; ++j) {
            double fx = kSmokeW / 2.0 - 7 + j * 4.5;
            double h = 10 + 6 * Noise(k, j, 60 + variant);
            double sway = 2 * std::sin(2 * kPi * (k / 8.0 + j * 0.3));
            c.Polygon(
                {{fx - 4, double(kSmokeH)}, {fx + sway, kSmokeH - h}, {fx + 4, double(kSmokeH)}},
                pal::kRed1);
            c.Polygon({{fx - 2.5, double(kSmokeH)},
                       {fx + sway * 0.7, kSmokeH - h * 0.7},
                       {fx + 2.5, double(kSmokeH)}},
                      pal::kOrange);
            c.Polygon({{fx - 1.2, double(kSmokeH)},
                       {fx + sway * 0.4, kSmokeH - h * 0.4},
                       {fx + 1.2, double(kSmokeH)}},
                      pal::kYellow1);
        }
    } else {
        PaintPuffs(c, puffs.data(), int(puffs.size()), pal::kGrey2, pal::kGrey3, pal::kWhite);
    }
    c.Outline();
    return c;
}

Canvas SmokeStrip(int variant, bool fire) {
    Strip s(kSmokeW, kSmokeH, kSmokeFrames);
    for (int k = 0; k < kSmokeFrames; ++k)
        s.Put(k, SmokeFrame(k, variant, fire));
    return s.canvas;
}

}  // namespace

ART_MEMBER(turm0, "turm0.bmp") {
    return Segment(true, false);
}
ART_MEMBER(turm1, "turm1.bmp") {
    return Segment(false, false);
}
ART_MEMBER(turm_0, "turm_0.bmp") {
    return Segment(true, true);
}
ART_MEMBER(turm_1, "turm_1.bmp") {
    return Segment(false, true);
}
ART_MEMBER(rauch0, "rauch0.bmp") {
    return SmokeStrip(0, false);
}
ART_MEMBER(rauch1, "rauch1.bmp") {
    return SmokeStrip(1, false);
}
ART_MEMBER(rauch_0, "rauch_0.bmp") {
    return SmokeStrip(0, true);
}
ART_MEMBER(rauch_1, "rauch_1.bmp") {
    return SmokeStrip(1, true);
}

ART_MEMBER(atomic, "atomic.bmp") {
    // A churning fireball: a ring of smoke puffs turns around a hot core
    // whose flames turn the other way, looping every ten frames.
    constexpr int kFrames = 10, kS = 40;
    Strip s(kS, kS, kFrames);
    for (int k = 0; k < kFrames; ++k) {
        Canvas f(kS, kS);
        std::vector<Puff> smoke;
        for (int i = 0; i < 7; ++i) {
            // Over one loop every puff moves on to the next one's place and
            // size, so frame 9 leads back into frame 0.
            double p = i + k / double(kFrames);
            double a = 2 * kPi * p / 7;
            double r = 6.5 + 1.5 * std::sin(2 * kPi * p * 3 / 7);
            smoke.push_back({20 + 11 * std::cos(a), 19 + 9 * std::sin(a), r});
        }
        PaintPuffs(f, smoke.data(), int(smoke.size()), pal::kGrey0, pal::kGrey1, pal::kGrey2);
        std::vector<Puff> fire;
        for (int i = 0; i < 4; ++i) {
            double a = 2 * kPi * (i / 4.0 - k / double(kFrames) / 4.0);
            fire.push_back({20 + 5 * std::cos(a), 19 + 4 * std::sin(a), 6.5});
        }
        PaintPuffs(f, fire.data(), int(fire.size()), pal::kRed1, pal::kOrange, pal::kYellow1);
        f.Circle(18 + (k % 2), 17, 3, pal::kYellow2);
        f.Outline();
        s.Put(k, f);
    }
    return s.canvas;
}

}  // namespace art::landscape
