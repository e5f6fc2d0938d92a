#include "kit.h"

#include <algorithm>
#include <cmath>

namespace actors {

namespace pal = art::pal;

Ramp PinkFur() {
    return {pal::kPink0, pal::kPink1, pal::kPink2};
}
Ramp VioletFur() {
    return {pal::kViolet0, pal::kViolet1, pal::kViolet2};
}
Ramp Metal() {
    return {pal::kGrey1, pal::kGrey2, pal::kGrey3};
}
Ramp DarkMetal() {
    return {pal::kGrey0, pal::kGrey1, pal::kGrey2};
}
Ramp Brass() {
    return {pal::kBrown2, pal::kYellow0, pal::kYellow2};
}
Ramp Smoke() {
    return {pal::kGrey2, pal::kGrey3, pal::kWhite};
}

namespace {
// The same light as Canvas::ShadedEllipse: upper left, a little frontal.
Colour Lit(double dx, double dy, const Ramp& r) {
    double d = dx * dx + dy * dy;
    if (d > 1.0) {
        double n = std::sqrt(d);
        dx /= n;
        dy /= n;
        d = 1.0;
    }
    double nz = std::sqrt(1.0 - d);
    double lit = -dx * 0.55 - dy * 0.6 + nz * 0.58;
    return lit > 0.55 ? r.light : (lit > 0.05 ? r.mid : r.dark);
}
}  // namespace

void ShadeShape(Canvas& c, const Canvas& shape, double cx, double cy, double rx, double ry,
                const Ramp& r) {
    for (int y = 0; y < shape.h(); ++y)
        for (int x = 0; x < shape.w(); ++x) {
            if (shape.IsMask(x, y))
                continue;
            c.Set(x, y, Lit((x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry, r));
        }
}

void FurBall(Canvas& c, double cx, double cy, double rx, double ry, const Ramp& r, int seed,
             double tuft) {
    Canvas shape(c.w(), c.h());
    double around = 2 * kPi * std::sqrt((rx * rx + ry * ry) / 2);
    int n = std::max(8, int(around / 6.5));
    std::vector<Point> pts;
    for (int i = 0; i < n; ++i) {
        double a0 = 2 * kPi * i / n;
        double a1 = 2 * kPi * (i + 0.5 + 0.25 * (art::Noise(i, 1, seed) - 0.5)) / n;
        double len = tuft * (0.55 + 0.7 * art::Noise(i, 2, seed));
        pts.push_back({cx + rx * std::cos(a0), cy + ry * std::sin(a0)});
        pts.push_back({cx + (rx + len) * std::cos(a1), cy + (ry + len) * std::sin(a1)});
    }
    shape.Polygon(pts, pal::kWhite);
    shape.Ellipse(cx, cy, rx, ry, pal::kWhite);
    ShadeShape(c, shape, cx, cy, rx + tuft * 0.5, ry + tuft * 0.5, r);
    // Short strokes of fur inside the coat, fixed to the body so that they
    // move with it rather than flicker.
    for (int gy = -int(ry); gy <= int(ry); gy += 5)
        for (int gx = -int(rx); gx <= int(rx); gx += 5) {
            double jx = gx + 3 * art::Noise(gx, gy, seed + 7);
            double jy = gy + 3 * art::Noise(gx, gy, seed + 8);
            double nx = jx / rx, ny = jy / ry;
            double d = nx * nx + ny * ny;
            if (d > 0.8 || d < 0.05)
                continue;
            double len = std::sqrt(d);
            double ux = nx / len, uy = ny / len;
            int px = int(std::floor(cx + jx)), py = int(std::floor(cy + jy));
            Colour under = c.Get(px, py);
            Colour stroke = under == r.light ? r.mid : r.dark;
            if (under == r.dark)
                stroke = art::Mix(r.dark, pal::kOutline, 0.4);
            for (int k = 0; k < 3; ++k) {
                int sx = int(std::floor(cx + jx + ux * k)), sy = int(std::floor(cy + jy + uy * k));
                if (!shape.IsMask(sx, sy))
                    c.Set(sx, sy, stroke);
            }
        }
}

void RimEllipse(Canvas& c, double cx, double cy, double rx, double ry, Colour fill) {
    c.Ellipse(cx, cy, rx + 1, ry + 1, pal::kOutline);
    c.Ellipse(cx, cy, rx, ry, fill);
}

void RimShaded(Canvas& c, double cx, double cy, double rx, double ry, const Ramp& r) {
    c.Ellipse(cx, cy, rx + 1, ry + 1, pal::kOutline);
    c.ShadedEllipse(cx, cy, rx, ry, r.dark, r.mid, r.light);
}

void RimPolygon(Canvas& c, const std::vector<Point>& pts, Colour fill) {
    Canvas shape(c.w(), c.h());
    shape.Polygon(pts, fill);
    Canvas rim = shape;
    rim.Outline(pal::kOutline);
    c.Blit(rim, 0, 0);
}

void Eye(Canvas& c, double cx, double cy, double rx, double ry, double lookX, double lookY) {
    RimEllipse(c, cx, cy, rx, ry, pal::kWhite);
    double pr = std::max(1.5, rx * 0.5);
    double px = cx + lookX * (rx - pr) * 0.9, py = cy + lookY * (ry - pr) * 0.8;
    c.Ellipse(px, py, pr, pr * ry / rx, pal::kOutline);
    if (pr >= 2.0)
        c.Rect(int(px - pr * 0.45), int(py - pr * 0.55), int(px - pr * 0.45), int(py - pr * 0.55),
               pal::kWhite);
}

void HappyEye(Canvas& c, double cx, double cy, double r) {
    // An upturned arc: the eye squeezed shut with joy.
    double px = cx - r, py = cy + r * 0.4;
    for (int i = 1; i <= 8; ++i) {
        double a = kPi + kPi * i / 8;
        double x = cx + r * std::cos(a), y = cy + 0.9 * r * std::sin(a) + r * 0.4;
        c.Line(px, py, x, y, 2.2, pal::kOutline);
        px = x;
        py = y;
    }
}

void Heart(Canvas& c, double cx, double cy, double size, const Ramp& r, bool rim) {
    std::vector<Point> pts;
    double s = size / 34.0;
    for (int i = 0; i < 64; ++i) {
        double t = 2 * kPi * i / 64;
        double x = 16 * std::pow(std::sin(t), 3);
        double y =
            -(13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t));
        pts.push_back({cx + x * s, cy + (y + 2) * s});
    }
    Canvas shape(c.w(), c.h());
    shape.Polygon(pts, pal::kWhite);
    if (rim) {
        Canvas ring = shape;
        ring.Outline(pal::kOutline);
        c.Blit(ring, 0, 0);
    }
    ShadeShape(c, shape, cx, cy - size * 0.05, size * 0.5, size * 0.45, r);
}

void Antenna(Canvas& c, double x0, double y0, double x1, double y1, double bobble) {
    c.Line(x0, y0, x1, y1, 2.0, pal::kOutline);
    RimShaded(c, x1, y1, bobble, bobble, {pal::kOrange, pal::kYellow1, pal::kYellow2});
}

void Star(Canvas& c, double cx, double cy, double rOut, double rIn, int points, double turn,
          Colour fill) {
    std::vector<Point> pts;
    for (int i = 0; i < points * 2; ++i) {
        double a = turn + kPi * i / points - kPi / 2;
        double rr = (i % 2 == 0) ? rOut : rIn;
        pts.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
    }
    c.Polygon(pts, fill);
}

void Puff(Canvas& c, double cx, double cy, double r, const Ramp& ramp, int seed) {
    Canvas shape(c.w(), c.h());
    shape.Circle(cx, cy, r * 0.62, pal::kWhite);
    int n = 6;
    for (int i = 0; i < n; ++i) {
        double a = 2 * kPi * (i + 0.4 * art::Noise(i, 3, seed)) / n;
        double d = r * (0.4 + 0.15 * art::Noise(i, 4, seed));
        shape.Circle(cx + d * std::cos(a), cy + d * std::sin(a),
                     r * (0.42 + 0.16 * art::Noise(i, 5, seed)), pal::kWhite);
    }
    ShadeShape(c, shape, cx, cy, r, r, ramp);
}

void DitherEllipse(Canvas& c, double cx, double cy, double rx, double ry, Colour col, int parity) {
    for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y)
        for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x) {
            if (((x + y) & 1) != (parity & 1))
                continue;
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                c.Set(x, y, col);
        }
}

void DitherRect(Canvas& c, int x0, int y0, int x1, int y1, Colour col, int parity) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (((x + y) & 1) == (parity & 1))
                c.Set(x, y, col);
}

Canvas Shear(const Canvas& src, double perRow, double baseY) {
    Canvas out(src.w(), src.h());
    for (int y = 0; y < src.h(); ++y) {
        int shift = int(std::lround(perRow * (baseY - y)));
        for (int x = 0; x < src.w(); ++x) {
            Colour col = src.Get(x - shift, y);
            if (col != art::kMask)
                out.Set(x, y, col);
        }
    }
    return out;
}

Canvas Rotate(const Canvas& src, double degrees, double cx, double cy) {
    Canvas out(src.w(), src.h());
    double a = degrees * kPi / 180.0, ca = std::cos(a), sa = std::sin(a);
    for (int y = 0; y < src.h(); ++y)
        for (int x = 0; x < src.w(); ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double sx = ca * dx + sa * dy + cx, sy = -sa * dx + ca * dy + cy;
            Colour col = src.Get(int(std::floor(sx)), int(std::floor(sy)));
            if (col != art::kMask)
                out.Set(x, y, col);
        }
    return out;
}

void FillPockets(Canvas& c, int maxArea, Colour fill) {
    const int w = c.w(), h = c.h();
    // 0 unvisited, 1 open to the frame's edge, 2 looked at as a pocket.
    std::vector<char> state(size_t(w) * h, 0);
    std::vector<std::pair<int, int>> todo;
    auto open = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        char& v = state[size_t(y) * w + x];
        if (v || !c.IsMask(x, y))
            return;
        v = 1;
        todo.emplace_back(x, y);
    };
    for (int x = 0; x < w; ++x)
        open(x, 0), open(x, h - 1);
    for (int y = 0; y < h; ++y)
        open(0, y), open(w - 1, y);
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        open(x + 1, y), open(x - 1, y), open(x, y + 1), open(x, y - 1);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (state[size_t(y) * w + x] || !c.IsMask(x, y))
                continue;
            std::vector<std::pair<int, int>> pocket{{x, y}};
            state[size_t(y) * w + x] = 2;
            for (size_t i = 0; i < pocket.size(); ++i) {
                auto [px, py] = pocket[i];
                const int nx[4] = {px + 1, px - 1, px, px};
                const int ny[4] = {py, py, py + 1, py - 1};
                for (int d = 0; d < 4; ++d) {
                    if (nx[d] < 0 || ny[d] < 0 || nx[d] >= w || ny[d] >= h)
                        continue;
                    char& v = state[size_t(ny[d]) * w + nx[d]];
                    if (v || !c.IsMask(nx[d], ny[d]))
                        continue;
                    v = 2;
                    pocket.emplace_back(nx[d], ny[d]);
                }
            }
            if (int(pocket.size()) <= maxArea)
                for (auto [px, py] : pocket)
                    c.Set(px, py, fill);
        }
}

void PutOutlined(art::Strip& s, int k, Canvas frame) {
    frame.Outline();
    FillPockets(frame, 24);
    s.Put(k, frame);
}

}  // namespace actors
