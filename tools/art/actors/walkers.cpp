// The walkers: male Fluffernauts with a violet cap and females with a
// yellow bow, walking, cuddling and bursting into a puff of fur, and the
// heart that beats over a cuddling pair.
#include <algorithm>
#include <cmath>

#include "geometry.h"
#include "kit.h"
#include "registry.h"

namespace pal = art::pal;
using namespace actors;

namespace {

constexpr int kWalkFrames = 12;
constexpr int kCuddleFrames = 12;
constexpr int kExplodeFrames = 15;
constexpr int kHeartFrames = 13;

enum class Eyes { kOpen, kHearts, kHappy };

struct Pose {
    bool female;
    int dir;           // +1 facing right, -1 facing left
    double bob;        // body lift in pixels (negative is up)
    double backFootX;  // feet positions relative to the body centre
    double backLift;
    double frontFootX;
    double frontLift;
    double sway;        // antenna sway
    double armX, armY;  // front arm nub, relative to the body centre
    double lean;        // pixels the top of the figure leans forward
    Eyes eyes;
    double heartBeat;  // size change of heart eyes
    double face;       // face turned this far back toward the viewer
};

Ramp FurOf(bool female) {
    if (female)
        return PinkFur();
    return {art::Mix(pal::kPink0, pal::kViolet0, 0.45), art::Mix(pal::kPink1, pal::kViolet1, 0.4),
            art::Mix(pal::kPink2, pal::kViolet2, 0.35)};
}

Ramp FeetOf(bool female) {
    Ramp f = FurOf(female);
    return {art::Shade(f.dark, 0.8), f.dark, f.mid};
}

Canvas PaintWalker(const Pose& p) {
    Canvas c(kWalkerW, kWalkerH);
    Mirror m{double(kWalkerW), p.dir};
    // Leaning moves the body half as far as the head; the feet stay put.
    const double cx = 40 + p.lean * 0.5, cy = 61 + p.bob, r = 24;
    const double hx = p.lean * 0.5;  // extra shift of the face and headgear
    const Ramp fur = FurOf(p.female);
    const Ramp feet = FeetOf(p.female);
    const int seed = p.female ? 31 : 17;

    // Feet first, so the fur of the body hangs over them.
    RimShaded(c, m.X(40 + p.backFootX), 90.5 - p.backLift, 8, 5,
              {art::Shade(feet.dark, 0.8), feet.dark, feet.mid});
    FurBall(c, m.X(cx), cy, r, r - 1, fur, seed, 4.0);
    RimShaded(c, m.X(40 + p.frontFootX), 90.5 - p.frontLift, 8, 5, feet);

    // Antennae, then the headgear over their roots.
    Antenna(c, m.X(cx - 5 + hx), cy - 18, m.X(cx - 12 + p.sway + 2 * hx), cy - 38, 3.5);
    Antenna(c, m.X(cx + 7 + hx), cy - 18, m.X(cx + 13 + p.sway + 2 * hx), cy - 36, 3.5);
    if (!p.female) {
        // A small violet cap with its peak forward.
        Canvas cap(kWalkerW, kWalkerH);
        double kx = cx + hx;
        cap.Ellipse(m.X(kx + 1), cy - 17, 14, 9, pal::kWhite);
        cap.Rect(0, int(cy - 15), kWalkerW - 1, kWalkerH - 1, art::kMask);
        cap.Polygon({m.P(kx + 8, cy - 18), m.P(kx + 25, cy - 16), m.P(kx + 25, cy - 13),
                     m.P(kx + 8, cy - 14)},
                    pal::kWhite);
        Canvas rim = cap;
        rim.Outline();
        c.Blit(rim, 0, 0);
        ShadeShape(c, cap, m.X(kx + 1), cy - 20, 16, 9, VioletFur());
        c.Rect(int(m.X(kx + 1)) - 1, int(cy - 27), int(m.X(kx + 1)), int(cy - 26), pal::kYellow1);
    } else {
        // A yellow bow on the back of the head.
        double bx = cx + hx - 12, by = cy - 20;
        Ramp gold{pal::kYellow0, pal::kYellow1, pal::kYellow2};
        Canvas bow(kWalkerW, kWalkerH);
        // Two rounded loops tilted up and out, and two short ribbon ends.
        bow.Polygon({m.P(bx, by), m.P(bx - 5, by - 9), m.P(bx - 11, by - 8), m.P(bx - 12, by - 3),
                     m.P(bx - 8, by + 1)},
                    pal::kWhite);
        bow.Polygon({m.P(bx, by), m.P(bx + 4, by - 10), m.P(bx + 10, by - 10), m.P(bx + 12, by - 5),
                     m.P(bx + 8, by)},
                    pal::kWhite);
        bow.Polygon({m.P(bx - 1, by), m.P(bx - 6, by + 8), m.P(bx - 3, by + 8)}, pal::kWhite);
        bow.Polygon({m.P(bx + 1, by), m.P(bx + 5, by + 8), m.P(bx + 2, by + 8)}, pal::kWhite);
        Canvas rim = bow;
        rim.Outline();
        c.Blit(rim, 0, 0);
        ShadeShape(c, bow, m.X(bx), by - 4, 12, 8, gold);
        c.Line(m.X(bx - 4), by - 5, m.X(bx - 2), by - 2, 1.0, pal::kYellow0);
        c.Line(m.X(bx + 4), by - 6, m.X(bx + 2), by - 2, 1.0, pal::kYellow0);
        RimShaded(c, m.X(bx), by - 1, 2.5, 2.5, gold);
    }

    // Face: big eyes looking ahead, a smile, rosy cheeks.
    const double ey = cy - 4;
    const double nearX = cx + hx + 14 - p.face, farX = cx + hx + 1 - p.face;
    if (p.eyes == Eyes::kOpen) {
        Eye(c, m.X(farX), ey, 6, 8, m.Dx(0.7), 0.1);
        Eye(c, m.X(nearX), ey, 7, 9, m.Dx(0.7), 0.1);
    } else if (p.eyes == Eyes::kHearts) {
        Ramp love{pal::kRed0, pal::kRed1, pal::kPink2};
        Heart(c, m.X(farX), ey, 12 + p.heartBeat, love);
        Heart(c, m.X(nearX), ey, 14 + p.heartBeat, love);
    } else {
        HappyEye(c, m.X(farX), ey, 5);
        HappyEye(c, m.X(nearX), ey, 6);
    }
    if (p.female && p.eyes == Eyes::kOpen) {
        for (double ex : {farX, nearX}) {
            double top = ey - 9;
            c.Line(m.X(ex + 3), top, m.X(ex + 6), top - 3, 1.2, pal::kOutline);
            c.Line(m.X(ex + 5), top + 2, m.X(ex + 9), top, 1.2, pal::kOutline);
        }
    }
    if (p.female || p.eyes != Eyes::kOpen) {
        c.Ellipse(m.X(nearX + 5), ey + 9, 3.5, 2, pal::kPink3);
        c.Ellipse(m.X(farX - 6), ey + 9, 3, 2, pal::kPink3);
    }
    // Mouth: a small open smile.
    c.Ellipse(m.X(cx + hx + 9 - p.face), ey + 13, 4, 2.5, pal::kOutline);
    c.Ellipse(m.X(cx + hx + 9 - p.face), ey + 14, 2.5, 1.2, pal::kRed1);

    // The front arm, a stubby nub of fur.
    RimShaded(c, m.X(cx + p.armX), cy + p.armY, 5, 4, fur);

    return c;
}

Pose WalkPose(bool female, int dir, int t) {
    double ph = 2 * kPi * t / kWalkFrames;
    Pose p{};
    p.female = female;
    p.dir = dir;
    p.bob = -2.0 * std::fabs(std::sin(ph));
    p.backFootX = -8 - 6 * std::cos(ph);
    p.backLift = std::max(0.0, std::sin(ph)) * 4;
    p.frontFootX = 8 + 6 * std::cos(ph);
    p.frontLift = std::max(0.0, -std::sin(ph)) * 4;
    p.sway = -2.5 * std::sin(ph + 1.0);
    p.armX = 2 - 6 * std::cos(ph);
    p.armY = 15;
    p.eyes = Eyes::kOpen;
    return p;
}

Pose CuddlePose(bool female, int dir, int t) {
    double ph = 2 * kPi * t / kCuddleFrames;
    Pose p{};
    p.female = female;
    p.dir = dir;
    p.bob = -1.0 * std::fabs(std::sin(ph));
    p.backFootX = -9;
    p.frontFootX = 9;
    p.backLift = (t % 6 < 2) ? 2 : 0;
    p.sway = 2.0 * std::sin(ph);
    p.armX = 23;
    p.armY = 9 + 2 * std::sin(ph * 2);
    // The pair stand cheek to cheek: a slight lean, and the faces turned
    // half toward the viewer so that neither hides the other's.
    p.lean = 5 + 2 * std::sin(ph);
    p.face = 7;
    p.eyes = (t % 4 == 3) ? Eyes::kHappy : Eyes::kHearts;
    p.heartBeat = (t % 2 == 0) ? 2 : 0;
    return p;
}

art::Strip WalkStrip(bool female, int dir, bool reversed) {
    art::Strip s(kWalkerW, kWalkerH, kWalkFrames);
    for (int i = 0; i < kWalkFrames; ++i) {
        int t = reversed ? kWalkFrames - 1 - i : i;
        PutOutlined(s, i, PaintWalker(WalkPose(female, dir, t)));
    }
    return s;
}

art::Strip CuddleStrip(bool female, int dir) {
    art::Strip s(kWalkerW, kWalkerH, kCuddleFrames);
    for (int i = 0; i < kCuddleFrames; ++i)
        PutOutlined(s, i, PaintWalker(CuddlePose(female, dir, i)));
    return s;
}

// Frame 0 is never on screen (the hit that starts it also advances it),
// so frame 1 is already the flash.
art::Strip ExplodeStrip(bool female) {
    art::Strip s(kWalkerW, kWalkerH, kExplodeFrames);
    const Ramp fur = FurOf(female);
    const Ramp puff{fur.mid, pal::kPink3, pal::kWhite};
    const double cx = 40, cy = 60;
    for (int t = 0; t < kExplodeFrames; ++t) {
        Canvas c(kWalkerW, kWalkerH);
        double age = t / double(kExplodeFrames - 1);
        if (t <= 1) {
            Star(c, cx, cy, 30, 12, 8, 0.2 * t, pal::kYellow1);
            Star(c, cx, cy, 18, 8, 8, 0.4, pal::kWhite);
        }
        if (t >= 1 && t <= 9) {
            double r = std::min(30.0, 10.0 + 5.0 * t) * (t > 6 ? 1.0 - 0.18 * (t - 6) : 1.0);
            Puff(c, cx, cy - t * 1.5, r, puff, 5 + t);
        }
        // Tufts of fur flying out and falling.
        for (int k = 0; k < 7; ++k) {
            double a = 2 * kPi * (k + 0.3) / 7;
            double d = 6 + 46 * age;
            double x = cx + d * std::cos(a);
            double y = cy + d * 0.8 * std::sin(a) - 20 * age + 70 * age * age;
            double rr = 4.5 - 2.5 * age;
            if (t >= 2 && y < kWalkerH - 4 && x > 3 && x < kWalkerW - 4)
                FurBall(c, x, y, rr, rr, fur, k, 2);
        }
        // Stars that twinkle out.
        if (t >= 3) {
            for (int k = 0; k < 4; ++k) {
                double a = 2 * kPi * k / 4 + 0.6;
                double d = 14 + 22 * age;
                double sr = (t % 2 == k % 2) ? 5 : 3.5;
                if (t > 12)
                    sr = 2.5;
                Star(c, cx + d * std::cos(a), cy - 8 + d * 0.9 * std::sin(a), sr, sr * 0.4, 5,
                     0.3 * t, pal::kYellow1);
            }
        }
        // The cap or the bow spins up and away.
        if (t >= 2 && t <= 12) {
            double hx = cx + 2 * t, hy = cy - 24 - 18 * age * 3 + 20 * age * age * 3;
            Canvas hat(kWalkerW, kWalkerH);
            if (female) {
                hat.Polygon({{hx, hy}, {hx - 9, hy - 6}, {hx - 9, hy + 5}}, pal::kYellow1);
                hat.Polygon({{hx, hy}, {hx + 9, hy - 6}, {hx + 9, hy + 5}}, pal::kYellow0);
                RimShaded(hat, hx, hy, 3, 3, {pal::kYellow0, pal::kYellow1, pal::kYellow2});
            } else {
                // The cap: a half dome with its peak.
                Canvas cap(kWalkerW, kWalkerH);
                cap.Ellipse(hx, hy + 2, 10, 7, pal::kWhite);
                cap.Rect(0, int(hy + 2), kWalkerW - 1, kWalkerH - 1, art::kMask);
                cap.Polygon(
                    {{hx + 4, hy + 1}, {hx + 15, hy + 2}, {hx + 15, hy + 4}, {hx + 4, hy + 4}},
                    pal::kWhite);
                ShadeShape(hat, cap, hx, hy, 11, 7, VioletFur());
            }
            hat = Rotate(hat, 15.0 * t, hx, hy);
            c.Blit(hat, 0, 0);
        }
        PutOutlined(s, t, c);
    }
    return s;
}

}  // namespace

ART_MEMBER(mpwalkl, "mpwalkl.bmp") {
    return WalkStrip(false, -1, false).canvas;
}
ART_MEMBER(mpwalkr, "mpwalkr.bmp") {
    return WalkStrip(false, +1, false).canvas;
}
// The game plays the female's leftward strip from its last frame to its
// first, so its frames are stored in reverse order of time.
ART_MEMBER(fpwalkl, "fpwalkl.bmp") {
    return WalkStrip(true, -1, true).canvas;
}
ART_MEMBER(fpwalkr, "fpwalkr.bmp") {
    return WalkStrip(true, +1, false).canvas;
}
ART_MEMBER(mpschml, "mpschml.bmp") {
    return CuddleStrip(false, -1).canvas;
}
ART_MEMBER(mpschmr, "mpschmr.bmp") {
    return CuddleStrip(false, +1).canvas;
}
ART_MEMBER(fpschml, "fpschml.bmp") {
    return CuddleStrip(true, -1).canvas;
}
ART_MEMBER(fpschmr, "fpschmr.bmp") {
    return CuddleStrip(true, +1).canvas;
}
ART_MEMBER(mpexp, "mpexp.bmp") {
    return ExplodeStrip(false).canvas;
}
ART_MEMBER(fpexp, "fpexp.bmp") {
    return ExplodeStrip(true).canvas;
}

// A heart that beats twice and rests, with small hearts rising from it.
ART_MEMBER(herz, "herz.bmp") {
    static const double kBeat[kHeartFrames] = {0, 5, 8, 3, 0, 4, 7, 2, 0, -1, -1, -1, 0};
    art::Strip s(kHeartW, kHeartH, kHeartFrames);
    const Ramp love{pal::kRed0, pal::kRed1, pal::kPink2};
    const Ramp small{pal::kPink0, pal::kPink1, pal::kPink3};
    for (int t = 0; t < kHeartFrames; ++t) {
        Canvas c(kHeartW, kHeartH);
        double rise = t / double(kHeartFrames);
        // Two little hearts float up on either side, one half a cycle later.
        for (int k = 0; k < 2; ++k) {
            double ph = std::fmod(rise + 0.5 * k, 1.0);
            double x = kHeartW / 2.0 + (k == 0 ? -30 : 30) + 4 * std::sin(ph * 2 * kPi);
            double y = kHeartH - 12 - 40 * ph;
            double size = 12 - 5 * ph;
            Heart(c, x, y, size, small);
        }
        Heart(c, kHeartW / 2.0, kHeartH / 2.0 + 2, 38 + kBeat[t], love);
        if (kBeat[t] >= 7) {
            Star(c, kHeartW / 2.0 + 24, 10, 5, 2, 4, 0, pal::kWhite);
            Star(c, kHeartW / 2.0 - 25, 16, 4, 1.5, 4, 0, pal::kWhite);
        }
        PutOutlined(s, t, c);
    }
    return s.canvas;
}
