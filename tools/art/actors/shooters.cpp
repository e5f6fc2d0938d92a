// The shooters: Fluffernauts in grey armour with a visor and a blaster,
// in a small size for the middle distance and a bulkier one for the
// foreground. Each walks, fires at the player (spitting brass casings),
// beams down in a column of light and bursts when shot.
#include <algorithm>
#include <cmath>

#include "geometry.h"
#include "kit.h"
#include "registry.h"
#include "shooter_kit.h"

namespace pal = art::pal;
using namespace actors;

namespace {

constexpr int kWalkFrames = 12;
constexpr int kFireFrames = 10;
constexpr int kExplodeFrames = 17;
constexpr int kBeamFrames = 7;
constexpr int kCasingFrames = 11;

struct Size {
    int w, h;  // walking frame
    int lift;  // rows the game lifts it while it fires
    bool big;
};

const Size kSmall{kSmallW, kSmallH, kSmallFireLift, false};
const Size kBig{kBigW, kBigH, kBigFireLift, true};

Ramp Visor() {
    return {art::Mix(pal::kSky0, pal::kOutline, 0.6), art::Mix(pal::kSky0, pal::kOutline, 0.3),
            pal::kSky1};
}

// A band of darker metal around the armour ball between rows y0 and y1,
// studded with rivets on the big one.
void ArmourBelt(Canvas& c, double ax, double ay, double ar, double y0, double y1, bool rivets) {
    for (int y = int(y0); y <= int(y1); ++y) {
        double dy = (y + 0.5 - ay) / ar;
        if (dy * dy >= 1)
            continue;
        double half = ar * std::sqrt(1 - dy * dy) - 0.5;
        c.Rect(int(std::ceil(ax - half)), y, int(std::floor(ax + half)) - 1, y, pal::kGrey1);
    }
    if (!rivets)
        return;
    for (int k = -2; k <= 2; ++k)
        c.Ellipse(ax + k * ar * 0.35, (y0 + y1) / 2 + 0.5, 1.3, 1.3, pal::kGrey3);
}

// One painter for both sizes: everything is laid out in the units of the
// small shooter (64 x 77) and scaled by s.
Canvas PaintSide(const Size& z, int dir, int t) {
    const double s = z.h / 77.0;
    Canvas c(z.w, z.h);
    Mirror m{double(z.w), dir};
    const double ph = 2 * kPi * t / kWalkFrames;
    const double bob = -1.5 * s * std::fabs(std::sin(ph));
    const double cx = z.w / 2.0, cy = z.h - 31 * s + bob;
    const double step = 6 * s * std::cos(ph);
    const double liftA = std::max(0.0, std::sin(ph)) * 3 * s;
    const double liftB = std::max(0.0, -std::sin(ph)) * 3 * s;
    const double footY = z.h - 1 - 4.5 * s;

    RimShaded(c, m.X(cx - 7 * s - step), footY - liftA, 8 * s, 4.5 * s, DarkMetal());
    FurBall(c, m.X(cx), cy + 3 * s, 22 * s, 21 * s, PinkFur(), 41, 3 * s);
    RimShaded(c, m.X(cx + 7 * s + step), footY - liftB, 8 * s, 4.5 * s, DarkMetal());
    if (z.big) {
        // The bigger one carries a power pack on its back.
        RimPolygon(c,
                   {m.P(cx - 25 * s, cy - 12 * s), m.P(cx - 12 * s, cy - 14 * s),
                    m.P(cx - 12 * s, cy + 8 * s), m.P(cx - 25 * s, cy + 6 * s)},
                   pal::kGrey1);
        c.Rect(int(std::min(m.X(cx - 23 * s), m.X(cx - 14 * s))), int(cy - 11 * s),
               int(std::max(m.X(cx - 23 * s), m.X(cx - 14 * s))), int(cy - 10 * s), pal::kGrey2);
        RimEllipse(c, m.X(cx - 19 * s), cy - 2 * s, 2 * s, 2 * s, pal::kViolet2);
    }
    // Armour shell with a belt and a chest badge.
    const double ax = m.X(cx), ay = cy - 1 * s, ar = 19 * s;
    RimShaded(c, ax, ay, ar, ar, Metal());
    ArmourBelt(c, ax, ay, ar, cy + 8 * s, cy + 10 * s, z.big);
    Star(c, m.X(cx - 4 * s), cy + 1 * s, 3.5 * s, 1.5 * s, 5, 0, pal::kViolet1);
    // Antennae through the helmet.
    Antenna(c, m.X(cx - 6 * s), cy - 17 * s, m.X(cx - 12 * s), cy - 33 * s, 3 * s);
    Antenna(c, m.X(cx + 4 * s), cy - 18 * s, m.X(cx + 10 * s), cy - 34 * s, 3 * s);
    // Visor across the front of the helmet, with the eyes behind it.
    Canvas visor(z.w, z.h);
    visor.Polygon({m.P(cx - 2 * s, cy - 13 * s), m.P(cx + 16 * s, cy - 11 * s),
                   m.P(cx + 19 * s, cy - 4 * s), m.P(cx - 1 * s, cy - 3 * s)},
                  pal::kWhite);
    Canvas rim = visor;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, visor, m.X(cx + 6 * s), cy - 10 * s, 12 * s, 6 * s, Visor());
    for (double ex : {4.0, 12.0}) {
        c.Ellipse(m.X(cx + ex * s), cy - 7.5 * s, 2.2 * s, 2.0 * s, pal::kYellow1);
        c.Line(m.X(cx + (ex - 3) * s), cy - 11 * s, m.X(cx + (ex + 3) * s), cy - 9.5 * s, 1.2 * s,
               pal::kOutline);
    }
    c.Line(m.X(cx + 1 * s), cy - 12 * s, m.X(cx + 6 * s), cy - 12 * s, 1.0, pal::kSky3);
    // The blaster, carried at the hip, bobbing with the step.
    double gy = cy + 6 * s + std::sin(ph) * 0.8 * s;
    RimPolygon(
        c,
        {m.P(cx + 4 * s, gy - 3 * s), m.P(cx + 24 * s, gy - 3 * s), m.P(cx + 24 * s, gy + 2 * s),
         m.P(cx + 12 * s, gy + 2 * s), m.P(cx + 9 * s, gy + 7 * s), m.P(cx + 5 * s, gy + 7 * s),
         m.P(cx + 4 * s, gy + 2 * s)},
        pal::kGrey1);
    c.Rect(int(std::min(m.X(cx + 5 * s), m.X(cx + 23 * s))), int(gy - 2 * s),
           int(std::max(m.X(cx + 5 * s), m.X(cx + 23 * s))), int(gy - 2 * s), pal::kGrey2);
    RimEllipse(c, m.X(cx + 14 * s), gy - 0.5 * s, 2.5 * s, 2.5 * s, pal::kViolet2);
    RimEllipse(c, m.X(cx + 28 * s), gy - 0.5 * s, 3 * s, 2 * s, pal::kGrey0);
    if (z.big)
        RimEllipse(c, m.X(cx + 27 * s), gy + 3 * s, 2.5 * s, 1.6 * s, pal::kGrey0);
    RimShaded(c, m.X(cx + 7 * s), gy + 3 * s, 4 * s, 3.5 * s, PinkFur());  // the paw on the grip
    return c;
}

// Facing the player to fire: the blaster points out of the screen. The
// frame is as many rows taller than a walking frame as the game lifts the
// shooter while it fires, and the feet stay on the bottom row.
Canvas PaintFront(const Size& z, int t, bool flash) {
    const double s = z.h / 77.0;
    const int h = z.h + z.lift;
    Canvas c(z.w, h);
    const double recoil = (flash && t % 2 == 0) ? 1.0 * s : 0.0;
    const double cx = z.w / 2.0, cy = h - 31 * s + recoil;
    const double footY = h - 1 - 4.5 * s;
    RimShaded(c, cx - 9 * s, footY, 8 * s, 4.5 * s, DarkMetal());
    RimShaded(c, cx + 9 * s, footY, 8 * s, 4.5 * s, DarkMetal());
    FurBall(c, cx, cy + 3 * s, 22 * s, 21 * s, PinkFur(), 41, 3 * s);
    RimShaded(c, cx, cy - 1 * s, 19 * s, 19 * s, Metal());
    ArmourBelt(c, cx, cy - 1 * s, 19 * s, cy + 8 * s, cy + 10 * s, z.big);
    if (z.big) {
        RimShaded(c, cx - 17 * s, cy - 7 * s, 8 * s, 7 * s, Metal());
        RimShaded(c, cx + 17 * s, cy - 7 * s, 8 * s, 7 * s, Metal());
    }
    Antenna(c, cx - 6 * s, cy - 17 * s, cx - 11 * s - (t % 2) * s, cy - 34 * s, 3 * s);
    Antenna(c, cx + 6 * s, cy - 17 * s, cx + 11 * s + (t % 2) * s, cy - 34 * s, 3 * s);
    Canvas visor(z.w, h);
    visor.Polygon({{cx - 14 * s, cy - 13 * s},
                   {cx + 14 * s, cy - 13 * s},
                   {cx + 12 * s, cy - 3 * s},
                   {cx - 12 * s, cy - 3 * s}},
                  pal::kWhite);
    Canvas rim = visor;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, visor, cx - 2 * s, cy - 10 * s, 14 * s, 6 * s, Visor());
    for (double ex : {-5.0, 5.0}) {
        c.Ellipse(cx + ex * s, cy - 7.5 * s, 2.4 * s, 2.0 * s, pal::kYellow1);
        c.Line(cx + (ex - 3 * (ex < 0 ? 1 : -1)) * s, cy - 11.5 * s,
               cx + (ex + 3 * (ex < 0 ? 1 : -1)) * s, cy - 9.5 * s, 1.2 * s, pal::kOutline);
    }
    c.Line(cx - 10 * s, cy - 12 * s, cx - 4 * s, cy - 12 * s, 1.0, pal::kSky3);
    // Blaster held in both paws, its muzzle towards the viewer.
    const double gx = cx + 6 * s, gy = cy + 7 * s;
    RimShaded(c, gx, gy, 9 * s, 6 * s, DarkMetal());
    RimEllipse(c, gx, gy, 5 * s, 4.5 * s, pal::kGrey1);
    c.Ellipse(gx, gy, 3 * s, 2.6 * s, pal::kOutline);
    if (z.big) {
        RimEllipse(c, gx - 9 * s, gy + 1 * s, 3.5 * s, 3.2 * s, pal::kGrey1);
        c.Ellipse(gx - 9 * s, gy + 1 * s, 2 * s, 1.8 * s, pal::kOutline);
    }
    RimShaded(c, gx - 10 * s, gy + 4 * s, 4 * s, 3.5 * s, PinkFur());
    RimShaded(c, gx + 9 * s, gy + 4 * s, 4 * s, 3.5 * s, PinkFur());
    if (flash) {
        double r = (t % 4 == 0 ? 13 : 9) * s;
        Star(c, gx, gy, r, r * 0.45, 7, 0.35 * t, pal::kOrange);
        Star(c, gx, gy, r * 0.65, r * 0.3, 7, 0.35 * t + 0.2, pal::kYellow1);
        c.Circle(gx, gy, r * 0.25, pal::kYellow2);
    }
    return c;
}

art::Strip WalkStrip(const Size& z, int dir) {
    art::Strip st(z.w, z.h, kWalkFrames);
    for (int t = 0; t < kWalkFrames; ++t)
        PutOutlined(st, t, PaintSide(z, dir, t));
    return st;
}

// Rapid fire: a muzzle flash every other frame, big and small in turn.
art::Strip FireStrip(const Size& z) {
    art::Strip st(z.w, z.h + z.lift, kFireFrames);
    for (int t = 0; t < kFireFrames; ++t)
        PutOutlined(st, t, PaintFront(z, t, t % 2 == 0));
    return st;
}

art::Strip ExplodeStrip(const Size& z, int h) {
    art::Strip st(z.w, h, kExplodeFrames);
    const double s = z.h / 77.0;
    // The body's centre, in the explosion frame (drawn 10 rows lower).
    Boom boom{z.w / 2.0, z.h - 33 * s - kExplodeDy, 26 * s, kExplodeFrames, z.big ? 57 : 23};
    for (int t = 0; t < kExplodeFrames; ++t)
        PutOutlined(st, t, PaintBoom(boom, z.w, h, t));
    return st;
}

// The beam frames put the shooter where it will stand: kBeamDx to the
// right of the frame's left edge and kBeamDy rows down.
art::Strip BeamStrip(const Size& z, int w, int h, int dx, int dy) {
    art::Strip st(w, h, kBeamFrames);
    Canvas figure = PaintFront(z, 1, false);
    figure.Outline();
    for (int t = 0; t < kBeamFrames; ++t) {
        Canvas c(w, h);
        Beam beam{w / 2.0, double(dy + z.h - 1), z.w * 0.42, double(h), z.h / 77.0};
        PaintBeamBack(c, beam, t, kBeamFrames);
        // The figure, from the bottom of its firing frame so the feet meet
        // the walking frame's bottom row.
        Materialise(c, figure, dx, dy + z.h - figure.h(), t, kBeamFrames);
        PaintBeamFront(c, beam, t, kBeamFrames);
        st.Put(t, c);
    }
    return st;
}

art::Strip CasingStrip(const Size& z, int h) {
    const double s = z.h / 77.0;
    const int fireH = z.h + z.lift;
    Casings cs{};
    if (z.big) {
        // From the muzzle of the firing pose (in casing-frame rows: the strip
        // is drawn 90 rows below the firing frame's top) down to the ground.
        const double gx = z.w / 2.0 + 6 * s, gy = fireH - 31 * s + 7 * s - kCasingDy;
        cs = {gx + 4 * s, gy, fireH - 1 - kCasingDy - 1.0, 1.6 * s, 13 * s, kCasingFrames, false};
    } else {
        // The strip lies on the ground just in front of the small shooter's
        // feet: shells drop in from the gun and hop sideways there.
        cs = {z.w / 2.0 + 8, 1, h - 3.0, 2, 16, kCasingFrames, false};
    }
    art::Strip st(z.w, h, kCasingFrames);
    for (int t = 0; t < kCasingFrames; ++t)
        st.Put(t, PaintCasings(cs, z.w, h, t));
    return st;
}

}  // namespace

ART_MEMBER(shooterwalkl, "shooterwalkl.bmp") {
    return WalkStrip(kSmall, -1).canvas;
}
ART_MEMBER(shooterwalkr, "shooterwalkr.bmp") {
    return WalkStrip(kSmall, +1).canvas;
}
ART_MEMBER(shootershoot, "shootershoot.bmp") {
    return FireStrip(kSmall).canvas;
}
ART_MEMBER(ballexpl, "ballexpl.bmp") {
    return ExplodeStrip(kSmall, kSmallExplH).canvas;
}
ART_MEMBER(huelsee2, "huelsee2.bmp") {
    return CasingStrip(kSmall, kSmallCasingH).canvas;
}
ART_MEMBER(beam2, "beam2.bmp") {
    return BeamStrip(kSmall, kSmallBeamW, kSmallBeamH, kSmallBeamDx, kSmallBeamDy).canvas;
}
ART_MEMBER(shooterbigwl, "shooterbigwl.bmp") {
    return WalkStrip(kBig, -1).canvas;
}
ART_MEMBER(shooterbigwr, "shooterbigwr.bmp") {
    return WalkStrip(kBig, +1).canvas;
}
ART_MEMBER(shooterbigshoot, "shooterbigshoot.bmp") {
    return FireStrip(kBig).canvas;
}
ART_MEMBER(ballbigexok, "ballbigexok.bmp") {
    return ExplodeStrip(kBig, kBigExplH).canvas;
}
ART_MEMBER(shooterbighuelse, "shooterbighuelse.bmp") {
    return CasingStrip(kBig, kBigCasingH).canvas;
}
ART_MEMBER(beam3, "beam3.bmp") {
    return BeamStrip(kBig, kBigBeamW, kBigBeamH, kBigBeamDx, kBigBeamDy).canvas;
}
