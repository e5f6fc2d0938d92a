#include "shooter_kit.h"

#include <algorithm>
#include <cmath>

namespace actors {

namespace pal = art::pal;

namespace {
double Frac(double v) {
    return v - std::floor(v);
}

// A bent armour plate: a small quadrilateral in grey metal.
void Plate(Canvas& c, double x, double y, double size, double turn) {
    std::vector<Point> pts;
    for (int k = 0; k < 4; ++k) {
        double a = turn + kPi / 2 * k + (k % 2) * 0.4;
        double r = size * (k % 2 ? 0.7 : 1.0);
        pts.push_back({x + r * std::cos(a), y + r * std::sin(a)});
    }
    Canvas shape(c.w(), c.h());
    shape.Polygon(pts, pal::kWhite);
    ShadeShape(c, shape, x, y, size, size, Metal());
}
}  // namespace

Canvas PaintBoom(const Boom& b, int w, int h, int t) {
    Canvas c(w, h);
    const double age = t / double(b.frames - 1);
    const double r = b.r;
    auto inside = [&](double x, double y, double m) {
        return x - m > 2 && x + m < w - 3 && y - m > 2 && y + m < h - 3;
    };
    if (t <= 1) {
        Star(c, b.cx, b.cy, r * (1.0 + 0.2 * t), r * 0.45, 9, 0.25 * t, pal::kYellow1);
        Star(c, b.cx, b.cy, r * 0.6, r * 0.3, 9, 0.4, pal::kWhite);
    }
    // The puff: hot at first, then smoke that swells, rises and thins out.
    if (t >= 1) {
        const Ramp hot{pal::kRed1, pal::kOrange, pal::kYellow1};
        const Ramp smoke = Smoke();
        double grow = std::min(1.0, 0.45 + 0.15 * t);
        double fade = age > 0.55 ? std::max(0.0, 1.0 - (age - 0.55) / 0.4) : 1.0;
        double pr = r * grow * fade;
        double rise = r * 0.9 * age;
        if (pr > std::max(3.0, r * 0.15)) {
            if (t <= 5) {
                Puff(c, b.cx, b.cy - rise, pr, smoke, b.seed + t);
                Puff(c, b.cx, b.cy - rise + pr * 0.1, pr * 0.6, hot, b.seed + 40 + t);
            } else {
                // The cloud splits into three drifting puffs.
                for (int k = 0; k < 3; ++k) {
                    double a = -kPi / 2 + (k - 1) * 1.1;
                    double d = r * 0.55 * age;
                    Puff(c, b.cx + d * std::cos(a) * 1.2, b.cy - rise + d * std::sin(a), pr * 0.62,
                         smoke, b.seed + 10 * k + t);
                }
            }
        }
    }
    // Debris flies out on arcs: plates of armour, tufts of fur, stars.
    if (t >= 2) {
        for (int k = 0; k < 8; ++k) {
            double a = 2 * kPi * (k + 0.5 * art::Noise(k, 1, b.seed)) / 8;
            double speed = r * (1.1 + 0.8 * art::Noise(k, 2, b.seed));
            double x = b.cx + speed * age * std::cos(a);
            double y = b.cy + speed * age * std::sin(a) * 0.8 - r * 0.9 * age + r * 1.6 * age * age;
            double size = r * (k % 3 == 0 ? 0.16 : 0.12) * (1.0 - 0.4 * age);
            if (!inside(x, y, size + 1))
                continue;
            if (k % 3 == 0)
                Plate(c, x, y, size + 1, 0.7 * t + k);
            else if (k % 3 == 1)
                FurBall(c, x, y, size, size, PinkFur(), k, std::max(1.0, size * 0.4));
            else
                Star(c, x, y, size + 1.5, (size + 1.5) * 0.45, 5, 0.4 * t + k, pal::kYellow1);
        }
    }
    // The helmet spins up and away, antennae and all.
    if (t >= 2 && t < b.frames - 2) {
        double hr = r * (b.glassDome ? 0.4 : 0.32);
        // Up and down again on an arc that stays inside the frame.
        double up = std::min(r, b.cy - r * 0.4 - hr - 6);
        double hx = b.cx - r * 0.8 * age,
               hy = b.cy - r * 0.4 - up * 4 * age * (1 - age) + r * 0.6 * age * age;
        if (inside(hx, hy, hr + 3)) {
            Canvas helmet(w, h);
            helmet.Ellipse(hx, hy, hr, hr * 0.8, pal::kWhite);
            helmet.Rect(0, int(hy + 1), w - 1, h - 1, art::kMask);
            ShadeShape(c, helmet, hx, hy, hr, hr, b.glassDome ? VioletFur() : Metal());
            c.Rect(int(hx - hr), int(hy), int(hx + hr), int(hy + std::max(1.0, hr * 0.2)),
                   pal::kGrey1);
            c.Line(hx + hr * 0.2, hy - hr * 0.7, hx + hr * 0.6, hy - hr * 1.3, 1.5, pal::kOutline);
            RimEllipse(c, hx + hr * 0.6, hy - hr * 1.3, 1.5 + hr * 0.12, 1.5 + hr * 0.12,
                       pal::kYellow1);
        }
    }
    return c;
}

namespace {
// Column width and ring size over the beam's frames.
double ColumnAt(int t, int frames) {
    static const double kWidth[] = {0.12, 0.5, 1.0, 1.0, 0.85, 0.55, 0.2};
    return kWidth[std::min(t, 6) * 7 / std::max(frames, 7)];
}
double RingAt(const Beam& b, int t, int frames) {
    return (0.25 + 0.75 * t / double(frames - 1)) * (b.cx - 3);
}
}  // namespace

void PaintBeamBack(Canvas& c, const Beam& b, int t, int frames) {
    double half = b.half * ColumnAt(t, frames);
    int x0 = int(b.cx - half), x1 = int(b.cx + half);
    bool solid = t <= 3;
    // The column fades in over its top rows instead of starting with a hard
    // edge where the frame begins.
    const int fade = int(12 * b.s);
    DitherRect(c, x0 - int(3 * b.s), fade, x1 + int(3 * b.s), int(b.groundY), pal::kViolet2, t);
    for (int y = 0; y < fade; ++y)
        for (int x = x0 - int(3 * b.s); x <= x1 + int(3 * b.s); ++x)
            if ((x + y + t) % 4 == 0 && (y >= fade / 2 || (x + t) % 2 == 0))
                c.Set(x, y, y < fade / 2 ? pal::kViolet2 : pal::kPink3);
    if (solid) {
        c.Rect(x0, fade, x1, int(b.groundY), pal::kPink3);
        int core = std::max(1, int(half * 0.35));
        c.Rect(int(b.cx) - core, fade / 2, int(b.cx) + core, int(b.groundY), pal::kWhite);
        DitherRect(c, x0, fade / 2, x1, fade - 1, pal::kPink3, t);
    } else {
        DitherRect(c, x0, fade, x1, int(b.groundY), pal::kPink3, t + 1);
    }
    // Back half of the ring on the ground.
    double rx = RingAt(b, t, frames), ry = std::max(3.0, rx * 0.1);
    double th = std::max(1.5, 2 * b.s);
    for (int k = 0; k <= 64; ++k) {
        double a = kPi + kPi * k / 64;
        c.Line(b.cx + rx * std::cos(a), b.groundY + ry * std::sin(a), b.cx + rx * std::cos(a),
               b.groundY + ry * std::sin(a), th, t < 5 ? pal::kViolet2 : pal::kPink3);
    }
}

void PaintBeamFront(Canvas& c, const Beam& b, int t, int frames) {
    double rx = RingAt(b, t, frames), ry = std::max(3.0, rx * 0.1);
    double th = std::max(1.5, 2 * b.s);
    for (int k = 0; k <= 64; ++k) {
        double a = kPi * k / 64;
        Colour col = (k / 8) % 2 ? pal::kPink3 : pal::kWhite;
        if (t >= 5)
            col = (k / 8) % 2 ? pal::kViolet2 : pal::kPink3;
        c.Line(b.cx + rx * std::cos(a), b.groundY + ry * std::sin(a), b.cx + rx * std::cos(a),
               b.groundY + ry * std::sin(a), th, col);
    }
    // Sparkles drifting down the column and out along the ring.
    int n = 10;
    for (int k = 0; k < n; ++k) {
        double u = art::Noise(k, 1, 77), v = art::Noise(k, 2, 77);
        double x =
            b.cx + (u - 0.5) * 2 * std::max(b.half * ColumnAt(t, frames) + 6 * b.s, rx * 0.8);
        double y = Frac(v + t * 0.13) * (b.groundY - 4 * b.s);
        double size = (k + t) % 3 == 0 ? 4.5 * b.s : 3.0 * b.s;
        if (x < 3 || x > c.w() - 4 || y < 3)
            continue;
        Star(c, x, y, size, size * 0.35, 4, 0, (k % 2) ? pal::kYellow2 : pal::kWhite);
    }
}

void Materialise(Canvas& c, const Canvas& figure, int x, int y, int t, int frames) {
    double p = t / double(frames - 1);
    if (p < 0.3)
        return;
    // Colour comes in from the head down over the later frames.
    int colourRows = p < 0.6 ? 0 : int(figure.h() * std::min(1.0, (p - 0.5) / 0.35));
    for (int fy = 0; fy < figure.h(); ++fy)
        for (int fx = 0; fx < figure.w(); ++fx) {
            Colour col = figure.Get(fx, fy);
            if (col == art::kMask)
                continue;
            if (fy >= colourRows) {
                if (p < 0.45 && ((fx + fy) & 1))
                    continue;
                col = col == pal::kOutline ? pal::kViolet2 : pal::kWhite;
            }
            c.Set(x + fx, y + fy, col);
        }
}

Canvas PaintCasings(const Casings& cs, int w, int h, int t) {
    Canvas c(w, h);
    const int shells = 3;
    const double v = 5 * cs.size;
    for (int i = 0; i < shells; ++i) {
        double p = Frac((t + i * cs.frames / double(shells)) / cs.frames);
        double x, y;
        double dir = cs.leftward ? -1 : 1;
        if (p < 0.6) {
            double q = p / 0.6;
            double g = cs.ground - cs.gy + v;
            x = cs.gx + dir * cs.spread * q;
            y = cs.gy - v * q + g * q * q;
        } else {
            double q = (p - 0.6) / 0.4;
            x = cs.gx + dir * cs.spread * (1.0 + 0.35 * q);
            y = cs.ground - 2.5 * cs.size * 4 * q * (1 - q);
        }
        if (y < 1 + cs.size * 2 || y > h - 2 || x < 2 || x > w - 3)
            continue;
        double a = p < 0.6 ? 5.0 * p * kPi : (p < 0.8 ? 0.3 : 0.0);
        double len = cs.size * 1.6;
        double dx = std::cos(a) * len, dy = std::sin(a) * len;
        Canvas shell(w, h);
        shell.Line(x - dx, y - dy, x + dx, y + dy, cs.size * 1.4, pal::kYellow0);
        Canvas rim = shell;
        rim.Outline();
        c.Blit(rim, 0, 0);
        c.Line(x - dx * 0.6, y - dy * 0.6 - cs.size * 0.3, x + dx * 0.2,
               y + dy * 0.2 - cs.size * 0.3, std::max(1.0, cs.size * 0.4), pal::kYellow2);
        c.Line(x + dx * 0.7, y + dy * 0.7, x + dx, y + dy, cs.size * 1.4, pal::kBrown2);
    }
    return c;
}

}  // namespace actors
