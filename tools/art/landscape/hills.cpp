// The ground strip of the foreground layer and the background hills tile.
#include <algorithm>
#include <cmath>

#include "registry.h"
#include "scenery.h"

namespace art::landscape {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Rows of "fg.bmp" (its row 0 is screen row kGroundTop).
constexpr int kPathTop = kWalkLine - 9 - kGroundTop;  // dirt path the walkers use
constexpr int kPathBottom = kWalkLine + 8 - kGroundTop;

int Wrap(int x, int w) {
    return ((x % w) + w) % w;
}

// A periodic wobble over the ground strip's width.
double Wave(int x, double cycles, double phase) {
    return std::sin(2 * kPi * cycles * x / kGroundWidth + phase);
}

// Grass colour by depth: hazy and light near the crest, rich and darker
// towards the viewer.
Colour GrassAt(int row) {
    double t = std::clamp(double(row) / kGroundHeight, 0.0, 1.0);
    Colour far = Mix(pal::kGreen2, pal::kGreen3, 0.35);
    Colour mid = pal::kGreen2;
    Colour near = Mix(pal::kGreen1, pal::kGreen2, 0.35);
    return t < 0.45 ? Mix(far, mid, t / 0.45) : Mix(mid, near, (t - 0.45) / 0.55);
}

// Inner ridges: lines where a nearer hill overlaps a farther one.
struct Ridge {
    double base;    // mean row in "fg.bmp"
    double amp;     // wobble height
    double cycles;  // wobbles over the strip (integer keeps it seamless)
    double phase;
};
constexpr Ridge kRidges[] = {
    {106, 6, 4, 2.6},
    {138, 4, 5, 0.2},
};

double RidgeRow(const Ridge& r, int x) {
    return r.base + r.amp * Wave(x, r.cycles, r.phase) +
           r.amp * 0.35 * Wave(x, r.cycles * 2 + 1, 1.3);
}

// Smooth value noise in [0, 1), periodic over the strip's width, for soft
// light and dark patches in the grass.
double Patches(int x, int y, int seed) {
    constexpr int kCellW = 34, kCellH = 14;  // 34 cells span the strip exactly
    constexpr int kCells = kGroundWidth / kCellW;
    int cx = x / kCellW, cy = y / kCellH;
    double fx = double(x % kCellW) / kCellW, fy = double(y % kCellH) / kCellH;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) { return Noise(Wrap(i, kCells), j, seed); };
    double top = at(cx, cy) + (at(cx + 1, cy) - at(cx, cy)) * fx;
    double bottom = at(cx, cy + 1) + (at(cx + 1, cy + 1) - at(cx, cy + 1)) * fx;
    return top + (bottom - top) * fy;
}

// A grass tuft of a few blades; h scales with nearness.
void Tuft(Canvas& c, int x, int y, double h, Colour dark, Colour light) {
    for (int dx : {-kGroundWidth, 0, kGroundWidth}) {
        double bx = x + dx;
        c.Line(bx, y, bx - h * 0.45, y - h * 0.8, std::max(1.0, h / 6), dark);
        c.Line(bx + 1, y, bx + 1 + h * 0.1, y - h, std::max(1.0, h / 6), dark);
        c.Line(bx + 2, y, bx + 2 + h * 0.5, y - h * 0.7, std::max(1.0, h / 6), light);
    }
}

void Dot(Canvas& c, int x, int y, double r, Colour col) {
    for (int dx : {-kGroundWidth, 0, kGroundWidth})
        c.Circle(x + dx + 0.5, y + 0.5, r, col);
}

// Stamp a small outlined sprite onto the strip, wrapping at its ends so the
// copies side by side join without a seam.
void Stamp(Canvas& c, const Canvas& s, int x, int y) {
    for (int dx : {-kGroundWidth, 0, kGroundWidth})
        c.Blit(s, x + dx, y);
}

// A bush on the meadow, sized by nearness; its foot is at the bottom row.
Canvas Bush(double size, int seed) {
    int w = int(size * 2.6) + 4, h = int(size * 1.6) + 4;
    Canvas b(w, h);
    const Puff puffs[] = {
        {w * 0.32, h - size * 0.55 - 2, size * 0.6},
        {w * 0.5, h - size * 0.85 - 2, size * 0.75},
        {w * 0.7, h - size * 0.5 - 2, size * 0.55},
    };
    PaintPuffs(b, puffs, 3, pal::kGreen0, pal::kGreen1, pal::kGreen2);
    for (int i = 0; i < 3; ++i)  // berries or blossoms
        if (Noise(seed, i, 90) < 0.5)
            b.Circle(w * (0.3 + 0.4 * Noise(seed, i, 91)),
                     h - size * (0.4 + 0.6 * Noise(seed, i, 92)), 1.2,
                     seed % 2 ? pal::kPink3 : pal::kWhite);
    for (int x = 0; x < w; ++x)
        b.Set(x, h - 1, kMask);
    b.Outline();
    return b;
}

Canvas Rock(double size) {
    int w = int(size * 2) + 4, h = int(size * 1.3) + 3;
    Canvas r(w, h);
    r.ShadedEllipse(w / 2.0, h - size * 0.55 - 1, size, size * 0.7, pal::kGrey1, pal::kGrey2,
                    pal::kGrey3);
    for (int x = 0; x < w; ++x)
        for (int y = int(h - 2); y < h; ++y)
            r.Set(x, y, kMask);  // flat foot in the grass
    r.Outline();
    return r;
}

}  // namespace

ART_MEMBER(fg, "fg.bmp") {
    Canvas c(kGroundWidth, kGroundHeight);
    std::vector<int> top(kGroundWidth);
    for (int x = 0; x < kGroundWidth; ++x)
        top[x] = HillRow(x) - kGroundTop;

    // Grass body with ridge shading.
    for (int x = 0; x < kGroundWidth; ++x) {
        for (int y = top[x]; y < c.h(); ++y) {
            Colour g = GrassAt(y);
            for (const Ridge& r : kRidges) {
                double d = y - RidgeRow(r, x);
                // The farther hill darkens towards the ridge that hides its foot.
                if (d < 0 && d > -10)
                    g = Mix(g, pal::kGreen1, 0.35 * (1 + d / 10));
                // The nearer hill's top catches the light.
                if (d >= 1 && d < 4)
                    g = Mix(g, pal::kGreen3, 0.45);
            }
            // Soft patches keep large areas from looking flat.
            double n = Patches(x, y, 11);
            if (n < 0.35)
                g = Mix(g, pal::kGreen1, (0.35 - n) * 0.5);
            if (n > 0.65)
                g = Mix(g, pal::kGreen3, (n - 0.65) * 0.6);
            c.Set(x, y, Dither(g, x, y));
        }
        // Lit crest and the outline on top.
        for (int y = top[x] + 1; y < top[x] + 4 && y < c.h(); ++y)
            c.Set(x, y, pal::kGreen3);
        c.Set(x, top[x], pal::kOutline);
        // Steps in the hill line get a vertical outline too.
        int prev = top[Wrap(x - 1, kGroundWidth)], next = top[Wrap(x + 1, kGroundWidth)];
        for (int y = top[x]; y < std::max(prev, next) && y < c.h(); ++y)
            c.Set(x, y, pal::kOutline);
    }
    for (const Ridge& r : kRidges)
        for (int x = 0; x < kGroundWidth; ++x) {
            int y = int(std::lround(RidgeRow(r, x)));
            if (y > top[x] + 4)
                c.Set(x, y, Mix(pal::kGreen0, pal::kGreen1, 0.4));
        }

    // Bushes and rocks on the slope between the crest and the path, each
    // wholly below the crest so that it never sticks out over the towers.
    for (int i = 0; i < 14; ++i) {
        int x = int((i + Noise(i, 0, 95) * 0.7) * kGroundWidth / 14);
        int foot = top[x] + 16 + int(Noise(i, 1, 95) * (kPathTop - 22 - top[x] - 16));
        double near = double(foot) / kPathTop;
        Canvas s = i % 3 == 2 ? Rock(3 + 3 * near) : Bush(6 + 7 * near, i);
        int left = x - s.w() / 2;
        for (int dx = 0; dx < s.w(); ++dx)
            foot = std::max(foot, top[Wrap(left + dx, kGroundWidth)] + s.h() + 2);
        Stamp(c, s, left, foot - s.h() + 2);
    }

    // Far grass: tiny tufts and flower dots.
    for (int i = 0; i < 900; ++i) {
        int x = int(Noise(i, 1, 21) * kGroundWidth);
        int y = int(18 + Noise(i, 2, 21) * (kPathTop - 22));
        if (y < top[x] + 5)
            continue;
        double h = 2 + 3 * double(y) / kPathTop;
        Tuft(c, x, y, h, Mix(pal::kGreen1, GrassAt(y), 0.3), pal::kGreen3);
    }
    for (int i = 0; i < 220; ++i) {
        int x = int(Noise(i, 3, 22) * kGroundWidth);
        int y = int(10 + Noise(i, 4, 22) * (kPathTop - 12));
        if (y < top[x] + 5)
            continue;
        Colour col = (i % 3 == 0) ? pal::kYellow1 : (i % 3 == 1 ? pal::kWhite : pal::kPink3);
        c.Set(x, y, col);
    }

    // The dirt path the walkers and the landed saucers stand on.
    for (int x = 0; x < kGroundWidth; ++x) {
        int t = kPathTop + int(std::lround(1.5 * Wave(x, 7, 0.4) + Noise(x / 3, 0, 31) * 1.5));
        int b = kPathBottom + int(std::lround(1.5 * Wave(x, 5, 2.0) + Noise(x / 3, 1, 31) * 1.5));
        for (int y = t; y <= b; ++y) {
            Colour col = pal::kBrown2;
            if (y <= t + 2)
                col = pal::kBrown3;
            if (y >= b - 2)
                col = pal::kBrown1;
            if (std::abs(y - (t + b) / 2) <= 1 && Noise(x / 9, 7, 32) < 0.5)
                col = Mix(pal::kBrown2, pal::kBrown1, 0.4);  // faint rut
            c.Set(x, y, Dither(col, x, y));
        }
        c.Set(x, t - 1, Mix(pal::kGreen0, pal::kBrown0, 0.5));
        c.Set(x, b + 1, pal::kOutline);
        c.Set(x, b + 2, Mix(pal::kGreen0, pal::kGreen1, 0.5));
    }
    for (int i = 0; i < 160; ++i) {  // pebbles
        int x = int(Noise(i, 5, 33) * kGroundWidth);
        int y = kPathTop + 4 + int(Noise(i, 6, 33) * (kPathBottom - kPathTop - 7));
        Dot(c, x, y, 1.3, pal::kBrown1);
        c.Set(x, y - 1, pal::kBrown3);
    }
    // Grass overhanging the path's lower edge.
    for (int i = 0; i < 260; ++i) {
        int x = int(Noise(i, 8, 34) * kGroundWidth);
        Tuft(c, x, kPathBottom + 3, 4 + 3 * Noise(i, 9, 34), pal::kGreen1, pal::kGreen2);
    }

    // Near meadow: bigger tufts, clover and flowers growing with nearness.
    for (int i = 0; i < 1500; ++i) {
        int x = int(Noise(i, 10, 41) * kGroundWidth);
        int y = int(kPathBottom + 10 + Noise(i, 11, 41) * (c.h() - kPathBottom - 8));
        double near = double(y - kPathBottom) / (c.h() - kPathBottom);
        double h = 5 + 9 * near + 4 * Noise(i, 12, 41);
        Colour dark = Mix(pal::kGreen0, pal::kGreen1, 0.5 - 0.4 * near);
        Tuft(c, x, y, h, dark, Mix(pal::kGreen2, pal::kGreen3, 0.5));
    }
    for (int i = 0; i < 120; ++i) {
        int x = int(Noise(i, 13, 42) * kGroundWidth);
        int y = int(kPathBottom + 14 + Noise(i, 14, 42) * (c.h() - kPathBottom - 20));
        double near = double(y - kPathBottom) / (c.h() - kPathBottom);
        double r = 1.5 + 2 * near;
        Colour petal = (i % 4 == 0)
                           ? pal::kWhite
                           : (i % 4 == 1 ? pal::kYellow1 : (i % 4 == 2 ? pal::kPink3 : pal::kSky3));
        Dot(c, x - int(r), y, r, petal);
        Dot(c, x + int(r), y, r, petal);
        Dot(c, x, y - int(r), r, petal);
        Dot(c, x, y + int(r), r, petal);
        Dot(c, x, y, r * 0.8, pal::kYellow0);
    }
    return c;
}

ART_MEMBER(bg, "bg.bmp") {
    // 400 wide: six tiles cover the 2000-pixel background layer. Its lower
    // half is in plain view between the tower strips and the near crest, so
    // the fields there follow the hills and the light changes gradually.
    constexpr int kW = 400, kH = 84;
    Canvas c(kW, kH);
    auto wave = [&](double x, double cycles, double phase) {
        return std::sin(2 * kPi * cycles * x / kW + phase);
    };
    auto nearTopAt = [&](double x) { return 21 + 5 * wave(x, 3, 2.0) + 2 * wave(x, 7, 0.2); };
    const Colour farHill = Mix(pal::kGreen2, pal::kSky2, 0.55);
    const Colour nearHill = Mix(pal::kGreen2, pal::kSky1, 0.3);
    const Colour nearLit = Mix(nearHill, pal::kGreen3, 0.3);
    const Colour nearDark = Mix(pal::kGreen1, pal::kSky1, 0.3);
    const Colour crop = Mix(Mix(pal::kYellow0, pal::kGreen2, 0.55), pal::kSky1, 0.25);
    const Colour hedge = Mix(pal::kGreen0, pal::kSky1, 0.2);
    // Field boundaries: rows under the near hill line whose waves flatten
    // with distance from it, as the ground levels out towards the viewer.
    constexpr int kBands = 6;
    auto boundary = [&](double x, int k) {
        double fall = std::pow(0.72, k + 1);
        return 21 + 9 + 9.5 * k + (nearTopAt(x) - 21) * fall;
    };
    for (int x = 0; x < kW; ++x) {
        int farTop = int(std::lround(9 + 5 * wave(x, 2, 0.5) + 2.5 * wave(x, 5, 1.0)));
        int nearTop = int(std::lround(nearTopAt(x)));
        for (int y = farTop; y < kH; ++y)
            c.Set(x, y, Dither(farHill, x, y));
        c.Set(x, farTop, Mix(farHill, pal::kSky0, 0.35));
        // Slopes facing the light (rising to the right) are lighter; the
        // effect fades lower down, where the ground is flatter.
        double rise = nearTopAt(x - 1.5) - nearTopAt(x + 1.5);
        double lit = std::clamp(0.5 + rise * 0.45, 0.0, 1.0);
        for (int y = nearTop; y < kH; ++y) {
            double t = double(y - nearTop) / (kH - nearTop);
            double l = 0.5 + (lit - 0.5) * (1 - t);
            Colour col = Mix(Mix(nearHill, nearLit, l), nearDark, t * 0.8);
            int band = 0;
            while (band < kBands && y > boundary(x, band))
                ++band;
            // Every other field is a crop field, its tint drifting along it.
            double ripe = 0.5 + 0.5 * wave(x, 2, band * 2.3);
            if (band % 2 == 1)
                col = Mix(col, crop, 0.25 + 0.35 * ripe);
            c.Set(x, y, Dither(col, x, y));
        }
        c.Set(x, nearTop, Mix(nearDark, pal::kOutline, 0.45));
        // Hedgerows along the field boundaries, with a gap now and then.
        for (int k = 0; k < kBands; ++k) {
            int y = int(std::lround(boundary(x, k)));
            if (y < kH && Noise(((x + 7 * k) / 19) % 21, k, 3) < 0.8) {
                c.Set(x, y, hedge);
                if (y + 1 < kH && k >= 2)
                    c.Set(x, y + 1, Mix(hedge, nearDark, 0.5));
            }
        }
    }
    // Little far trees dotted along the near hills and the hedgerows.
    for (int i = 0; i < 34; ++i) {
        int x = int(Noise(i, 0, 51) * (kW - 8)) + 4;
        int y = i < 20 ? int(std::lround(nearTopAt(x))) + 3 + int(Noise(i, 1, 51) * 10)
                       : int(std::lround(boundary(x, i % 4))) - 1;
        double r = 2.5 + double(y) / kH * 1.5;
        c.Rect(x, y, x, y + 3, Mix(pal::kBrown1, nearDark, 0.3));
        c.Circle(x + 0.5, y - 1, r, Mix(pal::kGreen1, pal::kSky1, 0.25));
        c.Set(x - 1, y - 3, Mix(pal::kGreen2, pal::kSky2, 0.3));
    }
    return c;
}

}  // namespace art::landscape
