// The mole hole: the growing mound and the figures that rise out of it.
//
// The game draws every figure so that its frame is centred on the mound's
// column 46 (the rascal's half width, 25, enters every kind's x offset):
// the rascal is 50 wide, the bazooka 60, the puff 70, the peace mole 90 and
// the mound 92. Each figure is cut off at its base row (466, 460, 461, 461)
// and the mound, drawn afterwards with its top at row 450, must cover that
// cut: its front is solid from its row 8 down across the middle 60 columns.
#include <algorithm>
#include <cmath>
#include <vector>

#include "hud_draw.h"
#include "registry.h"

using namespace art;

namespace {

constexpr int kMoundW = 92, kMoundH = 44, kMoundFrames = 7;
constexpr int kLoutW = 50, kLoutH = 84, kLoutFrames = 9;
constexpr int kPeaceW = 90, kPeaceH = 88, kPeaceFrames = 17;
using hud::kBazookaH;
using hud::kBazookaW;
constexpr int kPuffW = 70, kPuffH = 100, kPuffFrames = 15;

// ---------------------------------------------------------------- mound

// Top edge of the full mound at column x (fractional rows from the top).
double MoundTop(double x, double scale) {
    double u = (x + 0.5 - kMoundW / 2.0) / (kMoundW / 2.0 * (0.45 + 0.55 * scale));
    if (std::fabs(u) >= 1)
        return 1e9;
    const double p = 2.6;
    double h = 40.0 * scale * std::pow(1.0 - std::pow(std::fabs(u), p), 1.0 / p);
    // A shallow dip where the figures come out.
    h -= 2.5 * scale * std::exp(-(u / 0.3) * (u / 0.3));
    return kMoundH - 1 - h;
}

Canvas Mound(int k) {
    Canvas c(kMoundW, kMoundH);
    double scale = (k + 1) / double(kMoundFrames);
    // Lighting as on a dome lit from the upper left: the dome's centre is
    // the middle of the mound's foot.
    const double domeX = kMoundW / 2.0, domeY = kMoundH;
    const double domeRx = kMoundW / 2.0 * (0.45 + 0.55 * scale) + 2, domeRy = 44.0 * scale + 2;
    for (int x = 0; x < kMoundW; ++x) {
        double top = MoundTop(x, scale);
        // Lumps of earth along the rim.
        top -= 1.5 * scale * Noise(x / 5, 0, 11 + k);
        for (int y = int(std::ceil(top)); y < kMoundH; ++y) {
            double dx = (x + 0.5 - domeX) / domeRx, dy = (y + 0.5 - domeY) / domeRy;
            double nz = std::sqrt(std::max(0.0, 1.0 - dx * dx - dy * dy));
            double lit = -dx * 0.55 - dy * 0.6 + nz * 0.58;
            Colour col = lit > 0.86 ? pal::kBrown2 : (lit > 0.42 ? pal::kBrown1 : pal::kBrown0);
            // Pebbles and crumbs in pairs of pixels, sparse.
            double n = Noise(x / 2, y, 7);
            if (n < 0.035 && col != pal::kBrown2)
                col = Mix(col, pal::kBrown3, 0.6);
            else if (n > 0.965)
                col = col == pal::kBrown0 ? Mix(pal::kBrown0, pal::kOutline, 0.5) : pal::kBrown0;
            c.Set(x, y, col);
        }
        // Highlight along the crest.
        int crest = int(std::ceil(top));
        if (x < kMoundW * 0.62 && crest < kMoundH - 2)
            c.Set(x, crest, Mix(pal::kBrown2, pal::kBrown3, 0.5));
    }
    // Clods lying on the surface.
    for (int i = 0; i < 5; ++i) {
        double x = 18 + i * 14 + Noise(i, k, 3) * 6;
        double y = MoundTop(x, scale) + 6 + Noise(i, k, 4) * 10;
        if (y > kMoundH - 5 || scale < 0.4)
            continue;
        double r = 1.5 + 1.5 * scale;
        c.Circle(x + 0.7, y + 0.7, r + 0.6, pal::kOutline);
        c.ShadedEllipse(x, y, r, r, pal::kBrown0, pal::kBrown1, pal::kBrown2);
    }
    // Earth thrown up while the mound grows.
    if (k < kMoundFrames - 1) {
        for (int i = 0; i < 3; ++i) {
            double x = 30 + Noise(i, k, 5) * 32;
            double y = MoundTop(x, scale) - 4 - Noise(i, k, 6) * 8;
            if (y > 1)
                c.Circle(x, y, 1.5, pal::kBrown1);
        }
    }
    c.Outline();
    // Grass tufts at the foot on both sides.
    for (int side = 0; side < 2; ++side) {
        int x0 = side == 0 ? 1 : kMoundW - 7;
        for (int b = 0; b < 3; ++b) {
            int bx = x0 + b * 2 + side;
            int hgt = 3 + (b + side) % 3;
            for (int y = kMoundH - hgt; y < kMoundH; ++y)
                c.Set(bx, y, y == kMoundH - hgt ? pal::kGreen3 : pal::kGreen2);
        }
    }
    return c;
}

// -------------------------------------------------------------- rascal

// The rascal pulls faces: thumbs at its ears, wiggling, tongue out.
Canvas Lout(int k) {
    Canvas c(kLoutW, kLoutH);
    double p = k * 2.0 * M_PI / kLoutFrames;
    double sway = 1.0 * std::sin(p);
    double cx = kLoutW / 2.0 + sway;
    double headY = 30 + 1.2 * std::sin(2 * p);
    hud::MoleBody(c, kLoutW / 2.0 + sway * 0.4, 42, kLoutH + 4, 18);
    double paw[2][2];
    for (int side = -1; side <= 1; side += 2) {
        double wag = 2.5 * std::sin(p * 2 + (side > 0 ? M_PI : 0));
        double px = cx + side * 17.5, py = headY - 3 + wag;
        paw[side > 0][0] = px;
        paw[side > 0][1] = py;
        hud::MoleArm(c, kLoutW / 2.0 + side * 12, 52, px, py + 3, 6);
    }
    hud::MoleFace face;
    face.wink = true;
    face.tongue = true;
    face.grin = false;
    face.lookX = std::sin(p);
    hud::MoleHead(c, cx, headY, 16, face);
    // Paws waggling at the ears, out of step with each other.
    for (int side = 0; side < 2; ++side)
        hud::MolePaw(c, paw[side][0], paw[side][1], 5, true);
    c.Outline();
    return c;
}

// --------------------------------------------------------------- peace

void PeaceSign(Canvas& c, double cx, double cy, double r, Colour col) {
    for (int a = 0; a < 360; a += 3) {
        double t = a * M_PI / 180.0;
        c.Line(cx + r * std::cos(t), cy + r * std::sin(t), cx + r * std::cos(t + 0.06),
               cy + r * std::sin(t + 0.06), 1.6, col);
    }
    c.Line(cx, cy - r, cx, cy + r, 1.6, col);
    c.Line(cx, cy, cx - r * 0.7, cy + r * 0.7, 1.6, col);
    c.Line(cx, cy, cx + r * 0.7, cy + r * 0.7, 1.6, col);
}

// A friendly mole with a flower on its head, waving a white flag over its
// head: the one figure that the player must not shoot. Everything stays in
// columns 11..78, the part of the frame that the mound covers at the cut.
Canvas Peace(int k) {
    Canvas c(kPeaceW, kPeaceH);
    double p = k * 2.0 * M_PI / kPeaceFrames;
    const double cx = kPeaceW / 2.0;
    const double headY = 46;
    // The pole, held up on the right, sways with the wave.
    double lean = 1.5 * std::sin(p);
    double poleX0 = 66, poleY0 = 74, poleX1 = 67 + lean, poleY1 = 4;
    c.Line(poleX0, poleY0, poleX1, poleY1, 4.0, pal::kOutline);
    c.Line(poleX0, poleY0, poleX1, poleY1, 2.0, pal::kBrown2);
    c.Circle(poleX1, poleY1 - 1, 2.5, pal::kOutline);
    c.Circle(poleX1, poleY1 - 1, 1.5, pal::kYellow1);
    // The flag flies to the left over the head; its free edge ripples.
    const double flagW = 27, flagH = 18;
    auto wave = [&](double t) { return 2.5 * t * std::sin(p * 2 + t * 4.5); };
    std::vector<Point> flag;
    for (int i = 0; i <= 10; ++i) {
        double t = i / 10.0;
        flag.push_back({poleX1 - 1.5 - t * flagW, poleY1 + 1 + wave(t)});
    }
    for (int i = 10; i >= 0; --i) {
        double t = i / 10.0;
        flag.push_back({poleX1 - 1.5 - t * flagW * 0.96, poleY1 + 1 + flagH + wave(t)});
    }
    Canvas cloth(kPeaceW, kPeaceH);
    cloth.Polygon(flag, pal::kWhite);
    // Folds turning away from the light are grey.
    for (int y = 0; y < kPeaceH; ++y)
        for (int x = 0; x < kPeaceW; ++x)
            if (!cloth.IsMask(x, y)) {
                double t = (poleX1 - x) / flagW;
                if (std::cos(p * 2 + t * 4.5) < -0.5)
                    cloth.Set(x, y, pal::kGrey3);
            }
    PeaceSign(cloth, poleX1 - 1.5 - flagW * 0.5, poleY1 + 1 + flagH * 0.5 + wave(0.5), 6.0,
              pal::kSky1);
    cloth.Outline();
    c.Blit(cloth, 0, 0);

    hud::MoleBody(c, cx, 58, kPeaceH + 4, 20);
    hud::MoleArm(c, cx + 13, 64, poleX0 - 1, 62, 6);
    double waveUp = 3 * std::max(0.0, std::sin(p * 2));
    hud::MoleArm(c, cx - 13, 66, cx - 21, 57 - waveUp, 6);
    hud::MoleFace face;
    face.eyeOpen = 0;  // blissfully shut
    face.grin = false;
    hud::MoleHead(c, cx, headY, 16.5, face);
    // A flower behind one ear.
    double fx = cx - 12, fy = headY - 13;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 5; ++i) {
            double a = i * 2 * M_PI / 5 + 0.3;
            c.Circle(fx + 3.6 * std::cos(a), fy + 3.6 * std::sin(a), pass ? 2.3 : 3.3,
                     pass ? pal::kPink2 : pal::kOutline);
        }
    c.Circle(fx, fy, 2.2, pal::kYellow1);
    // Paws: one on the pole, one giving a little wave.
    hud::MolePaw(c, poleX0 - 1, 62, 5, false);
    hud::MolePaw(c, cx - 21, 57 - waveUp, 5, true);
    c.Outline();
    return c;
}

// ------------------------------------------------------------- bazooka

// Mole in a helmet, the bazooka on its shoulder aimed straight at the
// player: we look into the barrel.
Canvas Bazooka() {
    Canvas c(kBazookaW, kBazookaH);
    const double cx = 36, headY = 34;
    hud::MoleBody(c, 32, 54, kBazookaH + 6, 24);
    hud::MoleFace face;
    face.angry = true;
    face.lookX = -0.6;
    hud::MoleHead(c, cx, headY, 17, face);
    // Helmet: olive dome with a brim.
    Canvas helmet(kBazookaW, kBazookaH);
    helmet.ShadedEllipse(cx, headY - 10, 18, 15, pal::kGreen0, pal::kGreen1, pal::kGreen2);
    for (int y = int(headY - 10); y < kBazookaH; ++y)
        helmet.Rect(0, y, kBazookaW, y, kMask);
    helmet.Rect(int(cx - 20), int(headY - 11), int(cx + 20), int(headY - 9), pal::kGreen0);
    helmet.Outline();
    c.Blit(helmet, 0, 0);
    hud::Star(c, cx + 3, headY - 18, 4, 1.8, 0, pal::kYellow1);
    // The barrel seen end on: rim, dark bore, the rocket's red tip inside.
    const double mx = hud::kMuzzleX, my = hud::kMuzzleY, r = hud::kMuzzleR;
    c.Circle(mx, my, r + 1, pal::kOutline);
    c.ShadedEllipse(mx, my, r, r, pal::kGreen0, pal::kGreen1, pal::kGreen3);
    c.Circle(mx, my, r - 2, pal::kOutline);
    c.Circle(mx, my, r - 3.5, pal::kYellow0);  // warning band
    c.Circle(mx, my, r - 5, pal::kOutline);
    c.Circle(mx, my, r - 6, pal::kBlack);
    c.ShadedEllipse(mx + 0.5, my + 0.5, r - 8.5, r - 8.5, pal::kRed0, pal::kRed1, 0xF47A6A);
    // Paws gripping the tube.
    hud::MolePaw(c, mx + 10, my + 12, 5, true);
    hud::MolePaw(c, mx - 10, my + 13, 4.5, true);
    c.Outline();
    return c;
}

// ---------------------------------------------------------------- puff

void Cloud(Canvas& c, double cx, double cy, double rx, double ry, int seed, Colour dark, Colour mid,
           Colour light) {
    // A cluster of round puffs inside the ellipse (rx, ry), lit as one body
    // from the upper left, with a crease along the lower right of each puff.
    const int n = 8;
    std::vector<Point> at;
    std::vector<double> rad;
    for (int i = 0; i < n; ++i) {
        double a = i * 2 * M_PI / n + Noise(i, seed, 1);
        double pr = std::min(rx, ry) * (0.42 + 0.18 * Noise(i, seed, 2));
        at.push_back({cx + (rx - pr) * 0.9 * std::cos(a), cy + (ry - pr) * 0.9 * std::sin(a)});
        rad.push_back(pr);
    }
    at.push_back({cx, cy});
    rad.push_back(std::min(rx, ry) * 0.7);
    int x0 = int(cx - rx) - 2, x1 = int(cx + rx) + 2, y0 = int(cy - ry) - 2, y1 = int(cy + ry) + 2;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double px = x + 0.5, py = y + 0.5;
            bool inside = false, crease = false;
            for (size_t i = 0; i < at.size(); ++i) {
                double dx = px - at[i].x, dy = py - at[i].y;
                double d = std::sqrt(dx * dx + dy * dy);
                if (d <= rad[i]) {
                    inside = true;
                    crease = crease || (d > rad[i] - 1.2 && dx + dy > rad[i] * 0.5 && i < n);
                }
            }
            if (!inside)
                continue;
            double nx = (px - cx) / rx, ny = (py - cy) / ry;
            double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
            double lit = -nx * 0.55 - ny * 0.6 + nz * 0.58;
            Colour col = lit > 0.5 ? light : (lit > 0.0 ? mid : dark);
            c.Set(x, y, crease && col != dark ? (col == light ? mid : dark) : col);
        }
}

// A cartoon "poof": a flash, a cloud with stars and clods flying out, then
// the cloud drifting up and thinning out. The cloud sits where the head of
// the figure was (the game shows as many top rows as the figure showed).
Canvas Puff(int k) {
    Canvas c(kPuffW, kPuffH);
    const double cx = kPuffW / 2.0, cy = 40;
    if (k <= 1) {
        double r = k == 0 ? 20 : 30;
        hud::Star(c, cx, cy, r + 1.5, r * 0.45 + 1, 0.3 * k, pal::kOutline);
        hud::Star(c, cx, cy, r, r * 0.45, 0.3 * k, pal::kYellow1);
        hud::Star(c, cx, cy, r * 0.55, r * 0.25, 0.3 * k + 0.6, pal::kWhite);
        if (k == 1)
            Cloud(c, cx, cy + 2, 12, 12, 1, pal::kGrey2, pal::kGrey3, pal::kWhite);
        c.Outline();
        return c;
    }
    double t = (k - 2) / double(kPuffFrames - 3);  // 0..1
    double r = t < 0.2 ? 20 + t * 50 : 30 - (t - 0.2) * 18;
    double rise = t * 14;
    if (t < 0.7) {
        Colour dark = t < 0.15 ? pal::kOrange : pal::kGrey2;
        Cloud(c, cx, cy - rise, std::min(r, 31.0), r * 1.15, k, dark, pal::kGrey3, pal::kWhite);
        if (t < 0.1)
            c.Circle(cx - 2, cy - 3, r * 0.3, pal::kYellow2);
    } else {
        // Three little wisps left over.
        for (int i = -1; i <= 1; ++i) {
            double wr = r * 0.35;
            Cloud(c, cx + i * 17, cy - rise - std::abs(i) * 5, wr, wr, k * 3 + i, pal::kGrey2,
                  pal::kGrey3, pal::kWhite);
        }
    }
    // Stars and clods thrown out, in front of the cloud.
    // They fly out of the cloud in arcs and fall past its lower edge.
    for (int i = 0; i < 6; ++i) {
        double side = (i % 2) ? 1.0 : -1.0;
        double a = (15 + 25 * (i / 2)) * M_PI / 180;  // from the vertical
        double vx = side * 40 * std::sin(a), vy = -40 * std::cos(a);
        double tt = 0.25 + t;
        double x = cx + vx * tt, y = cy + vy * tt + 55 * tt * tt;
        if (x < 4 || x > kPuffW - 5 || y < 4 || y > kPuffH - 5)
            continue;
        if (i % 2 == 0) {
            c.Circle(x, y, 3.0, pal::kOutline);
            c.Circle(x - 0.3, y - 0.3, 2.0, pal::kBrown1);
        } else if (t < 0.85) {
            double sr = 5.0 - 2.5 * t;
            hud::Star(c, x, y, sr + 1.3, sr * 0.45 + 1, t * 4, pal::kOutline);
            hud::Star(c, x, y, sr, sr * 0.45, t * 4, pal::kYellow1);
        }
    }
    c.Outline();
    return c;
}

}  // namespace

ART_MEMBER(haufen, "haufen256.bmp") {
    Strip s(kMoundW, kMoundH, kMoundFrames);
    for (int k = 0; k < kMoundFrames; ++k)
        s.Put(k, Mound(k));
    return s.canvas;
}

ART_MEMBER(luemmel, "luemmel256.bmp") {
    Strip s(kLoutW, kLoutH, kLoutFrames);
    for (int k = 0; k < kLoutFrames; ++k)
        s.Put(k, Lout(k));
    return s.canvas;
}

ART_MEMBER(peace, "peace.bmp") {
    Strip s(kPeaceW, kPeaceH, kPeaceFrames);
    for (int k = 0; k < kPeaceFrames; ++k)
        s.Put(k, Peace(k));
    return s.canvas;
}

ART_MEMBER(bazooka, "bazooka.bmp") {
    return Bazooka();
}

ART_MEMBER(mole_exp, "mole_exp.bmp") {
    Strip s(kPuffW, kPuffH, kPuffFrames);
    for (int k = 0; k < kPuffFrames; ++k)
        s.Put(k, Puff(k));
    return s.canvas;
}
