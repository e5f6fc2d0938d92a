// Trees, the big foreground flowers and the small shootable flower.
#include <algorithm>
#include <cmath>
#include <vector>

#include "registry.h"
#include "scenery.h"

namespace art::landscape {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Leaf(Canvas& c, double x, double y, double len, double angle, double width) {
    double ex = x + len * std::cos(angle), ey = y + len * std::sin(angle);
    double mx = (x + ex) / 2, my = (y + ey) / 2;
    double nx = -std::sin(angle) * width, ny = std::cos(angle) * width;
    c.Polygon({{x, y}, {mx + nx, my + ny}, {ex, ey}, {mx - nx, my - ny}}, pal::kGreen1);
    c.Polygon({{x, y}, {mx - nx, my - ny}, {ex, ey}}, pal::kGreen2);
    c.Line(x, y, ex, ey, 1, pal::kGreen0);
}

// A big flower standing on the bottom edge of the picture.
enum class Bloom { kCornflower, kTulip, kDaisy, kBells };

Canvas BigFlower(Bloom kind, int w, int h, double r, int seed) {
    Canvas c(w, h);
    double cx = w / 2.0, top = r + 3;
    double baseX = cx + (Noise(seed, 0, 70) - 0.5) * w * 0.3;
    // Curved stem from the bottom edge to the bloom.
    const int steps = 40;
    for (int i = 0; i < steps; ++i) {
        double t0 = double(i) / steps, t1 = double(i + 1) / steps;
        auto px = [&](double t) { return baseX + (cx - baseX) * t + 6 * std::sin(t * kPi); };
        auto py = [&](double t) { return h - 1 - (h - 1 - top) * t; };
        c.Line(px(t0), py(t0), px(t1), py(t1), std::max(3.0, r / 6), pal::kGreen1);
        c.Line(px(t0) - 1, py(t0), px(t1) - 1, py(t1), 1, pal::kGreen2);
    }
    // Leaves on the stem, alternating sides, shorter towards the top.
    int leaves = h > 150 ? 4 : 2;
    for (int i = 0; i < leaves; ++i) {
        double t = 0.12 + 0.55 * i / std::max(1, leaves - 1);
        double y = h - 1 - (h - 1 - top) * t;
        double x = baseX + (cx - baseX) * t + 6 * std::sin(t * kPi);
        double side = i % 2 == 0 ? -1 : 1;
        double tilt = 0.55 + 0.25 * (Noise(seed, i, 71) - 0.5);
        double len = r * (1.6 - 0.6 * t) * (0.85 + 0.3 * Noise(seed, i, 72));
        Leaf(c, x, y, len, side < 0 ? kPi + tilt : -tilt, r * 0.3);
    }
    // The bloom.
    switch (kind) {
        case Bloom::kCornflower:
            for (int i = 0; i < 9; ++i) {
                double a = 2 * kPi * i / 9;
                c.ShadedEllipse(cx + r * 0.62 * std::cos(a), top + r * 0.62 * std::sin(a), r * 0.4,
                                r * 0.4, pal::kSky0, pal::kSky1, pal::kSky2);
            }
            c.ShadedEllipse(cx, top, r * 0.42, r * 0.42, pal::kViolet0, pal::kViolet1,
                            pal::kViolet2);
            for (int i = 0; i < 6; ++i) {
                double a = 2 * kPi * i / 6 + 0.3;
                c.Circle(cx + r * 0.22 * std::cos(a), top + r * 0.22 * std::sin(a), 1.2,
                         pal::kYellow1);
            }
            break;
        case Bloom::kTulip: {
            // Lilac tulip: two outer petals behind a lighter middle one.
            const Colour dark = pal::kViolet1, mid = Mix(pal::kViolet2, pal::kPink2, 0.35),
                         light = Mix(pal::kViolet2, pal::kWhite, 0.45);
            double by = top + r * 0.15;
            c.ShadedEllipse(cx - r * 0.45, by, r * 0.5, r * 0.85, pal::kViolet0, dark, mid);
            c.ShadedEllipse(cx + r * 0.45, by, r * 0.5, r * 0.85, pal::kViolet0, dark, mid);
            for (int s = -1; s <= 1; s += 2)  // outer petal tips
                c.Polygon({{cx + s * r * 0.45 - r * 0.32, by - r * 0.5},
                           {cx + s * r * 0.62, by - r * 1.0},
                           {cx + s * r * 0.45 + r * 0.32, by - r * 0.5}},
                          s < 0 ? mid : dark);
            c.ShadedEllipse(cx, by + r * 0.05, r * 0.55, r * 0.9, dark, mid, light);
            c.Polygon({{cx - r * 0.42, by - r * 0.45},
                       {cx, by - r * 1.08},
                       {cx + r * 0.42, by - r * 0.45}},
                      mid);
            c.Line(cx - r * 0.2, by - r * 0.6, cx - r * 0.25, by + r * 0.3, 2, light);
            break;
        }
        case Bloom::kDaisy:
            for (int i = 0; i < 14; ++i) {
                double a = 2 * kPi * i / 14;
                double px = cx + r * 0.6 * std::cos(a), py = top + r * 0.6 * std::sin(a);
                c.Line(cx, top, px, py, r * 0.38, pal::kPink1);
                c.Line(cx, top, cx + r * 0.56 * std::cos(a - 0.05),
                       top + r * 0.56 * std::sin(a - 0.05), r * 0.22,
                       std::cos(a) + std::sin(a) < 0 ? pal::kPink3 : pal::kPink2);
            }
            c.ShadedEllipse(cx, top, r * 0.33, r * 0.33, pal::kYellow0, pal::kYellow1,
                            pal::kYellow2);
            break;
        case Bloom::kBells: {
            // A spike of bells hanging left and right of the stalk, small
            // buds at the tip and open bells lower down.
            c.Line(cx, top - r * 1.05, cx, top + r * 1.6, std::max(2.0, r / 8), pal::kGreen1);
            for (int i = 0; i < 7; ++i) {
                double t = i / 6.0;
                double by = top - r * 0.85 + t * r * 2.25;
                double br = r * (0.17 + 0.2 * t);
                double side = i % 2 == 0 ? -1 : 1;
                double bx = cx + side * (br * 0.8 + r * 0.12);
                c.Line(cx, by - br * 0.9, bx, by - br * 0.6, 1.5, pal::kGreen1);
                c.ShadedEllipse(bx, by, br, br * 1.15, pal::kViolet0, pal::kViolet1, pal::kViolet2);
                if (i >= 2) {  // open mouth with a pale lip
                    c.Ellipse(bx, by + br * 0.9, br * 0.85, br * 0.38,
                              Mix(pal::kViolet2, pal::kWhite, 0.4));
                    c.Ellipse(bx, by + br * 0.85, br * 0.55, br * 0.22, pal::kPink0);
                }
            }
            c.ShadedEllipse(cx, top - r * 1.0, r * 0.14, r * 0.2, pal::kViolet0, pal::kViolet1,
                            pal::kViolet2);
            break;
        }
    }
    c.Outline();
    return c;
}

struct FlowerSize {
    const char* suffix;
    int w, h;
    double r;
};
// Heights fixed by where the layer puts them (standing on its bottom edge).
constexpr FlowerSize kE2 = {"e2", 72, 108, 19};
constexpr FlowerSize kE3 = {"e3", 92, 185, 24};
constexpr FlowerSize kE4 = {"e4", 108, 228, 28};

Canvas Flower(Bloom kind, const FlowerSize& s, int seed) {
    return BigFlower(kind, s.w, s.h, s.r, seed);
}

}  // namespace

ART_MEMBER(blu_blau_e2, "Blu_blau_e2.bmp") {
    return Flower(Bloom::kCornflower, kE2, 1);
}
ART_MEMBER(blu_blau_e3, "Blu_blau_e3.bmp") {
    return Flower(Bloom::kCornflower, kE3, 2);
}
ART_MEMBER(blu_blau_e4, "Blu_blau_e4.bmp") {
    return Flower(Bloom::kCornflower, kE4, 3);
}
ART_MEMBER(blu_lil1_e2, "Blu_lil1_e2.bmp") {
    return Flower(Bloom::kTulip, kE2, 4);
}
ART_MEMBER(blu_lil1_e3, "Blu_lil1_e3.bmp") {
    return Flower(Bloom::kTulip, kE3, 5);
}
ART_MEMBER(blu_lil1_e4, "Blu_lil1_e4.bmp") {
    return Flower(Bloom::kTulip, kE4, 6);
}
ART_MEMBER(blu_lil2_e2, "Blu_lil2_e2.bmp") {
    return Flower(Bloom::kDaisy, kE2, 7);
}
ART_MEMBER(blu_lil2_e3, "Blu_lil2_e3.bmp") {
    return Flower(Bloom::kDaisy, kE3, 8);
}
ART_MEMBER(blu_lil2_e4, "Blu_lil2_e4.bmp") {
    return Flower(Bloom::kDaisy, kE4, 9);
}
ART_MEMBER(blu_lila_e2, "Blu_lila_e2.bmp") {
    return Flower(Bloom::kBells, kE2, 10);
}
ART_MEMBER(blu_lila_e3, "Blu_lila_e3.bmp") {
    return Flower(Bloom::kBells, kE3, 11);
}
ART_MEMBER(blu_lila_e4, "Blu_lila_e4.bmp") {
    return Flower(Bloom::kBells, kE4, 12);
}

ART_MEMBER(blume, "blume.bmp") {
    // Hit-tested by a box as tall as the picture is wide (less 8 rows), so
    // the bloom fills the top of a nearly square picture.
    Canvas c(32, 36);
    c.Line(16, 35, 16, 18, 3, pal::kGreen1);
    c.Line(15, 35, 15, 20, 1, pal::kGreen2);
    Leaf(c, 16, 31, 10, kPi + 0.5, 3);
    Leaf(c, 16, 28, 9, -0.5, 3);
    for (int i = 0; i < 5; ++i) {
        double a = 2 * kPi * i / 5 - kPi / 2;
        c.ShadedEllipse(16 + 7 * std::cos(a), 12 + 7 * std::sin(a), 6, 6, pal::kRed0, pal::kRed1,
                        Mix(pal::kRed1, pal::kPink3, 0.5));
    }
    c.ShadedEllipse(16, 12, 4.5, 4.5, pal::kOrange, pal::kYellow1, pal::kYellow2);
    c.Outline();
    return c;
}

namespace {

Canvas RoundTree() {
    // Stands with its foot at layer row 170 (screen 330), on the slope
    // below the lowest point of the near crest. Drawn at 150 rows and
    // scaled up to that height.
    const double k = 170.0 / 150;
    auto p = [k](double v) { return v * k; };
    Canvas c(int(p(132)), 170);
    c.Ellipse(p(66), p(145), p(36), p(5), pal::kGreen1);  // shadow on the grass
    c.Polygon({{p(56), p(146)}, {p(60), p(80)}, {p(72), p(80)}, {p(78), p(146)}}, pal::kBrown1);
    c.Polygon({{p(56), p(146)}, {p(60), p(80)}, {p(64), p(80)}, {p(62), p(146)}}, pal::kBrown2);
    c.Line(p(66), p(100), p(44), p(76), p(5), pal::kBrown1);
    c.Line(p(68), p(96), p(92), p(74), p(5), pal::kBrown1);
    Puff crown[] = {
        {66, 44, 34}, {36, 64, 26}, {96, 64, 26}, {48, 30, 24},
        {86, 32, 24}, {66, 76, 24}, {22, 80, 16}, {110, 80, 16},
    };
    for (Puff& f : crown)
        f = {p(f.x), p(f.y), p(f.r)};
    PaintPuffs(c, crown, 8, pal::kGreen0, pal::kGreen1, pal::kGreen2);
    for (int i = 0; i < 40; ++i) {  // leaf highlights on the lit side
        double x = p(20 + Noise(i, 0, 80) * 80), y = p(12 + Noise(i, 1, 80) * 60);
        if (c.Get(int(x), int(y)) == pal::kGreen2 || Noise(i, 2, 80) < 0.3)
            if (!c.IsMask(int(x), int(y)))
                c.Ellipse(x, y, p(2.5), p(1.6), pal::kGreen3);
    }
    for (int i = 0; i < 7; ++i)  // a few red apples
        c.Circle(p(30 + Noise(i, 3, 81) * 72), p(40 + Noise(i, 4, 81) * 40), p(2.5), pal::kRed1);
    c.Outline();
    return c;
}

Canvas FirTree() {
    // Stands with its foot at layer row 50 + 120 (screen 330).
    Canvas c(84, 120);
    c.Ellipse(42, 116, 26, 4, pal::kGreen1);
    c.Rect(37, 96, 46, 117, pal::kBrown1);
    c.Rect(37, 96, 39, 117, pal::kBrown2);
    for (int tier = 0; tier < 4; ++tier) {
        double top = 2 + tier * 22, bottom = 38 + tier * 20, half = 16 + tier * 8;
        c.Polygon({{42, top}, {42 + half, bottom}, {42 - half, bottom}}, pal::kGreen0);
        c.Polygon({{42, top + 2}, {42 + half * 0.55, bottom - 3}, {42 - half + 3, bottom - 2}},
                  pal::kGreen1);
        c.Polygon({{42, top + 4}, {42 - half * 0.2, bottom - 5}, {42 - half + 5, bottom - 3}},
                  pal::kGreen2);
    }
    c.Outline();
    return c;
}

}  // namespace

ART_MEMBER(tree0, "tree0.bmp") {
    return FirTree();
}
ART_MEMBER(tree1, "tree1.bmp") {
    return RoundTree();
}

}  // namespace art::landscape
