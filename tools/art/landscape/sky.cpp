// The sky band and the sun.
#include <cmath>

#include "registry.h"
#include "scenery.h"

namespace art::landscape {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Far mountains painted into the band: they never scroll, which is what
// makes them read as very far away behind the scrolling hills.
double FarMountain(int x) {
    double v = 34 + 10 * std::sin(x * 0.011 + 0.7) + 6 * std::sin(x * 0.029 + 2.1) +
               3 * std::sin(x * 0.071 + 0.3);
    // A few sharper peaks.
    for (double peak : {120.0, 330.0, 545.0, 700.0}) {
        double d = std::abs(x - peak) / 55.0;
        if (d < 1)
            v += 16 * (1 - d) * (1 - d);
    }
    return v;  // height above the band's bottom row
}

void PaintCloud(Canvas& c, double cx, double cy, double s) {
    const Puff puffs[] = {
        {cx - 34 * s, cy + 4 * s, 15 * s},  {cx - 14 * s, cy - 8 * s, 20 * s},
        {cx + 12 * s, cy - 12 * s, 23 * s}, {cx + 36 * s, cy - 2 * s, 16 * s},
        {cx + 52 * s, cy + 6 * s, 11 * s},  {cx + 2 * s, cy + 6 * s, 18 * s},
        {cx - 48 * s, cy + 10 * s, 9 * s},
    };
    Canvas cloud(c.w(), c.h());
    const Colour lit = Mix(pal::kSky3, pal::kWhite, 0.7);
    PaintPuffs(cloud, puffs, 7, pal::kSky3, lit, lit);
    // Flat bottom: cartoon clouds sit on an invisible shelf.
    for (int y = int(cy + 14 * s); y < c.h(); ++y)
        for (int x = 0; x < c.w(); ++x)
            cloud.Set(x, y, kMask);
    cloud.Outline(Mix(pal::kSky1, pal::kOutline, 0.35));
    c.Blit(cloud, 0, 0);
}

}  // namespace

ART_MEMBER(sky, "sky.bmp") {
    Canvas c(800, kSkyBandHeight);
    // The band starts exactly in the fill colour above it and brightens into
    // a hazy horizon where the hills begin.
    const Colour horizon = Mix(kSkyFill, pal::kSky3, 0.78);
    for (int y = 0; y < c.h(); ++y) {
        double t = std::pow(double(y) / (c.h() - 1), 1.7);
        Colour row = Mix(kSkyFill, horizon, t);
        for (int x = 0; x < c.w(); ++x)
            c.Set(x, y, y < 4 ? kSkyFill : Dither(row, x, y));
    }
    PaintCloud(c, 300, 40, 0.9);
    PaintCloud(c, 560, 68, 0.7);
    PaintCloud(c, 730, 28, 0.55);
    PaintCloud(c, 110, 92, 0.45);
    // Two ranges of far mountains, paler with distance.
    const Colour farRange = Mix(pal::kSky2, horizon, 0.45);
    const Colour nearRange = Mix(pal::kSky1, pal::kSky2, 0.55);
    for (int x = 0; x < c.w(); ++x) {
        int top0 = c.h() - int(FarMountain(x + 400) * 0.8 + 6);
        int top1 = c.h() - int(FarMountain(x));
        for (int y = top0; y < c.h(); ++y)
            c.Set(x, y, Dither(farRange, x, y));
        // A light rim along the slopes that face the sun.
        double slope = FarMountain(x + 5) - FarMountain(x - 5);
        for (int y = top1; y < c.h(); ++y) {
            int depth = y - top1;
            Colour m = nearRange;
            if (slope > 0.5 && depth < 2)
                m = Mix(nearRange, pal::kSky3, 0.45);
            if (depth < 4 && FarMountain(x) > 48)
                m = slope > 0 ? pal::kWhite : pal::kSky3;
            c.Set(x, y, Dither(m, x, y));
        }
    }
    return c;
}

ART_MEMBER(sonne, "sonne.bmp") {
    constexpr int kFrames = 8, kW = 220, kH = 180;
    Strip s(kW, kH, kFrames);
    const double cx = 118, cy = 98, r = 40;
    for (int k = 0; k < kFrames; ++k) {
        Canvas f(kW, kH);
        // Twelve rays, long and short in turn; one step of the loop turns
        // them by 1/8 of a long-short pair, so frame 7 leads back into 0.
        double spin = k * (2 * kPi / 6) / kFrames;
        double pulse = std::sin(k * 2 * kPi / kFrames);
        Canvas rays(kW, kH);
        for (int i = 0; i < 12; ++i) {
            double a = spin + i * 2 * kPi / 12;
            bool longRay = i % 2 == 0;
            double len = longRay ? 74 + 4 * pulse : 60 - 3 * pulse;
            double half = longRay ? 0.16 : 0.13;
            double base = r + 2;
            rays.Polygon(
                {{cx + base * std::cos(a - half * 1.8), cy + base * std::sin(a - half * 1.8)},
                 {cx + len * std::cos(a), cy + len * std::sin(a)},
                 {cx + base * std::cos(a + half * 1.8), cy + base * std::sin(a + half * 1.8)}},
                longRay ? pal::kYellow1 : pal::kOrange);
            // Lit edge on each ray.
            rays.Line(cx + (base + 3) * std::cos(a - 0.05), cy + (base + 3) * std::sin(a - 0.05),
                      cx + (len - 10) * std::cos(a - 0.02), cy + (len - 10) * std::sin(a - 0.02), 2,
                      longRay ? pal::kYellow2 : pal::kYellow1);
        }
        rays.Outline();
        f.Blit(rays, 0, 0);
        // Glow ring, then the face disc.
        f.Circle(cx, cy, r + 5, pal::kYellow0);
        f.ShadedEllipse(cx, cy, r, r, pal::kOrange, pal::kYellow1, pal::kYellow2);
        // Friendly face: happy closed eyes, rosy cheeks, a wide smile.
        for (int side = -1; side <= 1; side += 2) {
            double ex = cx + side * 14, ey = cy - 6;
            bool blink = (k == 5) && side == 1;  // a wink now and then
            if (blink) {
                f.Line(ex - 6, ey + 1, ex + 6, ey + 1, 3, pal::kBrown0);
            } else {
                f.Ellipse(ex, ey, 5.5, 7.5, pal::kOutline);
                f.Circle(ex - 1.8, ey - 2.8, 2.2, pal::kWhite);
            }
            f.Ellipse(cx + side * 24, cy + 8, 6, 4, Mix(pal::kPink2, pal::kOrange, 0.3));
        }
        for (int i = 0; i <= 20; ++i) {
            double a = kPi * (0.18 + 0.64 * i / 20.0);
            f.Circle(cx + 17 * std::cos(a), cy + 6 + 12 * std::sin(a), 1.6, pal::kOutline);
        }
        f.Ellipse(cx, cy + 16, 6, 2.5, pal::kRed1);
        f.Outline();
        s.Put(k, f);
    }
    return s.canvas;
}

}  // namespace art::landscape
