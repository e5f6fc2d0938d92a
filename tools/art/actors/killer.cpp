// The killer: a huge armoured Fluffernaut tank that rises from the bottom
// edge of the screen, fires both cannons at the player and bursts when
// shot.
#include <algorithm>
#include <cmath>

#include "geometry.h"
#include "kit.h"
#include "registry.h"
#include "shooter_kit.h"

namespace pal = art::pal;
using namespace actors;

namespace {

constexpr int kFireFrames = 10;
constexpr int kExplodeFrames = 18;
constexpr int kCasingFrames = 11;

constexpr double kCx = kKillerW / 2.0;
constexpr double kGunY = 168;  // cannon muzzles
constexpr double kGunDx = 92;  // cannons sit this far either side
constexpr double kGunR = 17;   // muzzle radius

// side: -1 left cannon, +1 right; flash 0 none, 1 small, 2 big.
void Cannon(Canvas& c, int side, int flash, double recoil) {
    const double x = kCx + side * kGunDx, y = kGunY + recoil;
    RimShaded(c, x, y - 12, 30, 26, Metal());  // shoulder housing
    RimShaded(c, x, y, kGunR + 5, kGunR + 4, DarkMetal());
    RimEllipse(c, x, y, kGunR, kGunR, pal::kGrey1);
    RimEllipse(c, x, y, kGunR - 5, kGunR - 5, pal::kGrey0);
    c.Circle(x, y, kGunR - 8, pal::kOutline);
    c.Line(x - 10, y - 12, x - 3, y - 15, 2, pal::kGrey3);
    if (flash > 0) {
        double r = flash == 2 ? 34 : 25;
        Star(c, x, y, r, r * 0.42, 9, 0.3 * side + 0.2 * flash, pal::kOrange);
        Star(c, x, y, r * 0.65, r * 0.3, 9, 0.3 * side + 0.5, pal::kYellow1);
        c.Circle(x, y, r * 0.22, pal::kYellow2);
    }
}

// t picks which warning lamps are lit; flash and recoil as for Cannon.
Canvas PaintKiller(int t, int flashLeft, int flashRight) {
    Canvas c(kKillerW, kKillerH);
    const Ramp gold{pal::kYellow0, pal::kYellow1, pal::kYellow2};
    // Antennae above the cockpit.
    Antenna(c, kCx - 20, 60, kCx - 42 - (t % 2) * 2, 10, 7);
    Antenna(c, kCx + 20, 60, kCx + 42 + (t % 2) * 2, 10, 7);
    // Tracks at the bottom, mostly hidden until it has fully risen.
    Canvas track(kKillerW, kKillerH);
    track.Rect(14, 246, kKillerW - 15, kKillerH - 3, pal::kWhite);
    track.Ellipse(22, 272, 10, 26, pal::kWhite);
    track.Ellipse(kKillerW - 23, 272, 10, 26, pal::kWhite);
    Canvas rim = track;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, track, kCx, 262, 130, 40, DarkMetal());
    for (int k = 0; k < 7; ++k)
        RimShaded(c, 40 + k * 30, 276, 11, 11, Metal());
    for (int x = 16 + (t % 2) * 5; x < kKillerW - 16; x += 10)
        c.Rect(x, 248, x + 4, 251, pal::kGrey2);
    // Hull: a wide armoured wedge with a hazard band and a badge.
    Canvas hull(kKillerW, kKillerH);
    hull.Polygon({{26, 252},
                  {kKillerW - 26.0, 252},
                  {kKillerW - 8.0, 200},
                  {kKillerW - 40.0, 142},
                  {40, 142},
                  {8, 200}},
                 pal::kWhite);
    rim = hull;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, hull, kCx - 20, 170, 150, 90, Metal());
    for (int x = 30; x < kKillerW - 30; ++x)
        for (int y = 232; y <= 241; ++y)
            if (!hull.IsMask(x, y))
                c.Set(x, y, ((x + y) / 8) % 2 ? pal::kYellow1 : pal::kOutline);
    for (int k = 0; k < 9; ++k)
        RimEllipse(c, 40 + k * 22.5, 222, 1.8, 1.8, pal::kGrey3);
    RimEllipse(c, kCx, 196, 20, 20, pal::kViolet1);
    Star(c, kCx, 197, 15, 6.5, 5, 0, pal::kYellow1);
    // Warning lamps that blink in turn.
    for (int k = 0; k < 4; ++k) {
        double x = kCx + (k < 2 ? -1 : 1) * (52 + (k % 2) * 26);
        bool on = (k + t) % 2 == 0;
        RimShaded(c, x, 160, 6, 6, on ? gold : Ramp{pal::kBrown0, pal::kBrown1, pal::kBrown2});
    }
    // Cockpit: a violet glass dome with an angry Fluffernaut inside.
    Canvas dome(kKillerW, kKillerH);
    dome.Ellipse(kCx, 140, 66, 90, pal::kWhite);
    dome.Rect(0, 141, kKillerW - 1, kKillerH - 1, art::kMask);
    rim = dome;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, dome, kCx, 110, 66, 70, VioletFur());
    FurBall(c, kCx, 110, 40, 33, PinkFur(), 5, 6);
    Eye(c, kCx - 16, 102, 11, 13, 0, 0.5);
    Eye(c, kCx + 16, 102, 11, 13, 0, 0.5);
    c.Line(kCx - 30, 84, kCx - 6, 92, 4, pal::kOutline);  // angry brows
    c.Line(kCx + 30, 84, kCx + 6, 92, 4, pal::kOutline);
    c.Ellipse(kCx, 128, 10, 4, pal::kOutline);
    c.Rect(int(kCx - 7), 126, int(kCx + 6), 127, pal::kWhite);  // gritted teeth
    // Gloss on the glass over the pilot.
    c.Line(kCx - 50, 110, kCx - 38, 76, 4, pal::kViolet2);
    c.Line(kCx - 34, 68, kCx - 22, 60, 3, art::Mix(pal::kViolet2, pal::kWhite, 0.6));
    // The dome's collar.
    RimPolygon(c, {{kCx - 70, 136}, {kCx + 70, 136}, {kCx + 64, 150}, {kCx - 64, 150}},
               pal::kGrey1);
    c.Rect(int(kCx - 66), 138, int(kCx + 66), 139, pal::kGrey3);
    Cannon(c, -1, flashLeft, flashLeft ? 2 : 0);
    Cannon(c, +1, flashRight, flashRight ? 2 : 0);
    return c;
}

}  // namespace

// Rising: guns quiet, lamps lit.
ART_MEMBER(killer_, "killer_.bmp") {
    Canvas c = PaintKiller(0, 0, 0);
    c.Outline();
    FillPockets(c, 24);
    return c;
}

// Firing: the cannons fire in turn, big and small flashes alternating.
ART_MEMBER(killer, "killer.bmp") {
    art::Strip s(kKillerW, kKillerH, kFireFrames);
    for (int t = 0; t < kFireFrames; ++t) {
        int left = t % 2 == 0 ? (t % 4 == 0 ? 2 : 1) : 0;
        int right = t % 2 == 1 ? (t % 4 == 1 ? 2 : 1) : 0;
        PutOutlined(s, t, PaintKiller(t, left, right));
    }
    return s.canvas;
}

// Drawn 50 pixels left of the killer, so it is 100 wider and the burst is
// centred on the tank.
ART_MEMBER(killerexpl, "killerexpl.bmp") {
    art::Strip s(kKillerExplW, kKillerH, kExplodeFrames);
    Boom boom{kKillerExplW / 2.0, 172, 124, kExplodeFrames, 91, true};
    for (int t = 0; t < kExplodeFrames; ++t)
        PutOutlined(s, t, PaintBoom(boom, kKillerExplW, kKillerH, t));
    return s.canvas;
}

// Casings from both cannons. The game plays this strip backwards, so the
// frames are stored in reverse order of time.
ART_MEMBER(huelsee1, "huelsee1.bmp") {
    art::Strip s(kKillerW, kKillerCasingH, kCasingFrames);
    const double gy = kGunY - kKillerCasingDy - 8;
    const double ground = kKillerCasingH - 4;
    // Each cannon throws its shells inward, so they fall in front of the
    // hull rather than off the sides of the strip.
    Casings left{kCx - kGunDx + 22, gy, ground, 4, 40, kCasingFrames, false};
    Casings right{kCx + kGunDx - 22, gy, ground, 4, 40, kCasingFrames, true};
    for (int t = 0; t < kCasingFrames; ++t) {
        Canvas c = PaintCasings(left, kKillerW, kKillerCasingH, t);
        c.Blit(PaintCasings(right, kKillerW, kKillerCasingH, (t + 5) % kCasingFrames), 0, 0);
        s.Put(kCasingFrames - 1 - t, c);
    }
    return s.canvas;
}
