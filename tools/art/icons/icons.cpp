// The desktop icon: a fluffy invader at the controls of its saucer.
//
// The desktop draws an icon over any background and at several sizes, so
// unlike the game's sprites it is painted four times larger and reduced,
// which gives soft edges and a real alpha channel. Shapes are laid out in
// units of the icon's side; the dark rim keeps a width in icon pixels, so
// the smallest icon still has a solid outline.
//
// usage: artgen_icons OUTDIR SIZE...   writes OUTDIR/SIZE.png for each size
//        artgen_icons --rgba FILE SIZE  writes the window's icon: SIZE x SIZE
//                                       pixels of 8-bit R, G, B, A, row by row
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "canvas.h"
#include "png.h"

namespace {

using art::Canvas;
using art::Colour;
namespace pal = art::pal;

constexpr int kOversample = 4;
constexpr double kPi = 3.14159265358979323846;

// Where the parts sit, in units of the icon's side.
constexpr double kBodyX = 0.5, kBodyY = 0.4, kBodyR = 0.25;
constexpr double kHullY = 0.7, kHullRx = 0.46, kHullRy = 0.14;
constexpr double kPitY = kHullY - kHullRy * 0.62, kPitRx = 0.29, kPitRy = 0.055;

class Painter {
  public:
    explicit Painter(int size)
        : c_(size * kOversample, size * kOversample),
          unit_(size * kOversample),
          rim_(std::max(1.5, size / 40.0) * kOversample) {}

    Canvas& canvas() { return c_; }
    double U(double u) const { return u * unit_; }
    double rim() const { return rim_; }

    // A filled ellipse behind its dark rim; shaded when light is given.
    void RimmedEllipse(double cx, double cy, double rx, double ry, Colour dark, Colour mid,
                       Colour light) {
        c_.Ellipse(U(cx), U(cy), U(rx) + rim_, U(ry) + rim_, pal::kOutline);
        c_.ShadedEllipse(U(cx), U(cy), U(rx), U(ry), dark, mid, light);
    }
    void RimmedEllipse(double cx, double cy, double rx, double ry, Colour fill) {
        c_.Ellipse(U(cx), U(cy), U(rx) + rim_, U(ry) + rim_, pal::kOutline);
        c_.Ellipse(U(cx), U(cy), U(rx), U(ry), fill);
    }
    void RimmedLine(double x0, double y0, double x1, double y1, double thick, Colour fill) {
        c_.Line(U(x0), U(y0), U(x1), U(y1), U(thick) + 2 * rim_, pal::kOutline);
        c_.Line(U(x0), U(y0), U(x1), U(y1), U(thick), fill);
    }
    // A thick line through points, rimmed as one stroke.
    void RimmedPath(const std::vector<art::Point>& pts, double thick, Colour fill) {
        for (Colour col : {pal::kOutline, fill}) {
            double w = col == fill ? U(thick) : U(thick) + 2 * rim_;
            for (size_t i = 0; i + 1 < pts.size(); ++i)
                c_.Line(U(pts[i].x), U(pts[i].y), U(pts[i + 1].x), U(pts[i + 1].y), w, col);
        }
    }

  private:
    Canvas c_;
    double unit_;
    double rim_;
};

// Points along the front edge of the cockpit's rim, left to right.
std::vector<art::Point> PitFront(int steps) {
    std::vector<art::Point> pts;
    for (int k = 0; k <= steps; ++k) {
        double t = -1 + 2.0 * k / steps;
        pts.push_back({kBodyX + t * kPitRx, kPitY + kPitRy * std::sqrt(1 - t * t)});
    }
    return pts;
}

// 0 at the valleys of the fur, 1 at the tips of the tufts.
double Tuft(double angle, int tufts) {
    double t = angle / (2 * kPi) * tufts;
    return 1.0 - std::fabs(2.0 * (t - std::floor(t)) - 1.0);
}

void Antennae(Painter& p) {
    for (int side = -1; side <= 1; side += 2) {
        double bx = kBodyX + side * 0.2, by = 0.075;
        p.RimmedLine(kBodyX + side * 0.07, kBodyY - 0.15, bx, by, 0.035, pal::kViolet0);
        p.RimmedEllipse(bx, by, 0.045, 0.045, pal::kYellow0, pal::kYellow1, pal::kYellow2);
    }
}

// A ball of pink fur with tufted edges, lit from the upper left in the
// game's three tones; its lower half stays down in the cockpit.
void Body(Painter& p) {
    Canvas& c = p.canvas();
    double cx = p.U(kBodyX), cy = p.U(kBodyY), r = p.U(kBodyR);
    const int tufts = 13;
    for (int y = int(cy - 1.1 * r - p.rim()); y <= int(cy + 1.1 * r + p.rim()); ++y)
        for (int x = int(cx - 1.1 * r - p.rim()); x <= int(cx + 1.1 * r + p.rim()); ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double t = dx / p.U(kPitRx);
            double front = p.U(kPitY) + (std::fabs(t) < 1 ? p.U(kPitRy) * std::sqrt(1 - t * t) : 0);
            if (y + 0.5 > front)
                continue;
            double a = std::atan2(dy, dx) + kPi;
            double edge = r * (0.92 + 0.12 * Tuft(a, tufts));
            double dist = std::sqrt(dx * dx + dy * dy);
            if (dist > edge + p.rim())
                continue;
            if (dist > edge) {
                c.Set(x, y, pal::kOutline);
                continue;
            }
            double nx = dx / r, ny = dy / r;
            double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
            double lit = -nx * 0.55 - ny * 0.6 + nz * 0.58 + 0.1 * (Tuft(a, tufts * 2) - 0.5);
            c.Set(x, y, lit > 0.6 ? pal::kPink2 : (lit > 0.1 ? pal::kPink1 : pal::kPink0));
        }
    // A glossy tuft at the upper left.
    c.Ellipse(cx - 0.45 * r, cy - 0.55 * r, 0.16 * r, 0.09 * r, pal::kPink3);
}

void Face(Painter& p) {
    Canvas& c = p.canvas();
    for (int side = -1; side <= 1; side += 2) {
        double ex = kBodyX + side * 0.095, ey = kBodyY - 0.035;
        p.RimmedEllipse(ex, ey, 0.075, 0.09, pal::kWhite);
        // Pupils look up at the player, a little to the right.
        double px = p.U(ex + 0.018), py = p.U(ey - 0.012), pr = p.U(0.037);
        c.Ellipse(px, py, pr, pr * 1.15, pal::kOutline);
        c.Circle(px - pr * 0.35, py - pr * 0.45, pr * 0.38, pal::kWhite);
    }
    // An open grin with a tongue.
    double mx = p.U(kBodyX), my = p.U(kBodyY + 0.08), mrx = p.U(0.075), mry = p.U(0.055);
    for (int y = int(my); y <= int(my + mry + 1); ++y)
        for (int x = int(mx - mrx - 1); x <= int(mx + mrx + 1); ++x) {
            double dx = (x + 0.5 - mx) / mrx, dy = (y + 0.5 - my) / mry;
            if (dx * dx + dy * dy <= 1.0)
                c.Set(x, y, pal::kOutline);
        }
    c.Ellipse(mx, my + mry * 0.65, mrx * 0.5, mry * 0.3, pal::kPink3);
}

// The silver saucer: dark underside, lit upper shell, a seam, a ring of
// lights, the landing light below and the dark cockpit on top.
void Saucer(Painter& p) {
    Canvas& c = p.canvas();
    p.RimmedEllipse(kBodyX, kHullY + kHullRy * 0.95, 0.12, 0.045, pal::kYellow1);
    p.RimmedEllipse(kBodyX, kHullY, kHullRx, kHullRy, pal::kGrey0);
    c.ShadedEllipse(p.U(kBodyX), p.U(kHullY - kHullRy * 0.3), p.U(kHullRx * 0.985),
                    p.U(kHullRy * 0.7), pal::kGrey1, pal::kGrey2, pal::kGrey3);
    const int steps = 48;
    for (int k = 0; k < steps; ++k) {
        double t0 = -1 + 2.0 * k / steps, t1 = -1 + 2.0 * (k + 1) / steps;
        auto seam = [](double t) { return kHullY + kHullRy * 0.4 * std::sqrt(1 - t * t); };
        c.Line(p.U(kBodyX + t0 * kHullRx * 0.97), p.U(seam(t0)), p.U(kBodyX + t1 * kHullRx * 0.97),
               p.U(seam(t1)), p.rim() * 0.8, pal::kGrey1);
    }
    const int lights = 5;
    for (int k = 0; k < lights; ++k) {
        double a = kPi * (k + 0.5) / lights;
        double lx = kBodyX - std::cos(a) * kHullRx * 0.78;
        double ly = kHullY - kHullRy * 0.05 + std::sin(a) * kHullRy * 0.3;
        p.RimmedEllipse(lx, ly, 0.036, 0.036, k % 2 ? pal::kYellow1 : pal::kYellow2);
    }
    p.RimmedEllipse(kBodyX, kPitY, kPitRx, kPitRy, pal::kViolet0);
}

// The cockpit's front lip, in front of the pilot.
void Lip(Painter& p) {
    p.RimmedPath(PitFront(32), 0.03, pal::kViolet1);
}

// Averages each square of the large canvas into one icon pixel; the share
// of painted samples becomes its opacity.
Canvas Reduce(const Canvas& big, int size, std::vector<uint8_t>& alpha) {
    Canvas out(size, size, 0);
    alpha.assign(size_t(size) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int n = 0, r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kOversample; ++sy)
                for (int sx = 0; sx < kOversample; ++sx) {
                    Colour s = big.Get(x * kOversample + sx, y * kOversample + sy);
                    if (s == art::kMask)
                        continue;
                    ++n;
                    r += (s >> 16) & 0xFF;
                    g += (s >> 8) & 0xFF;
                    b += s & 0xFF;
                }
            if (n == 0)
                continue;
            out.Set(x, y, (Colour(r / n) << 16) | (Colour(g / n) << 8) | Colour(b / n));
            alpha[size_t(y) * size + x] =
                uint8_t((255 * n + kOversample * kOversample / 2) / (kOversample * kOversample));
        }
    return out;
}

Canvas Paint(int size, std::vector<uint8_t>& alpha) {
    Painter p(size);
    Antennae(p);
    Saucer(p);
    Body(p);
    Face(p);
    Lip(p);
    return Reduce(p.canvas(), size, alpha);
}

// The game reads no PNG: its window gets the icon's bare pixels.
bool WriteRgba(const Canvas& c, const std::vector<uint8_t>& alpha, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    bool ok = true;
    for (int y = 0; y < c.h(); ++y)
        for (int x = 0; x < c.w(); ++x) {
            Colour s = c.Get(x, y);
            uint8_t px[4] = {uint8_t(s >> 16), uint8_t(s >> 8), uint8_t(s),
                             alpha[size_t(y) * c.w() + x]};
            ok = ok && std::fwrite(px, 1, 4, f) == 4;
        }
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTDIR SIZE... | --rgba FILE SIZE\n", argv[0]);
        return 2;
    }
    if (std::string(argv[1]) == "--rgba") {
        int size = argc == 4 ? std::atoi(argv[3]) : 0;
        std::vector<uint8_t> alpha;
        if (size < 16 || size > 1024 || !WriteRgba(Paint(size, alpha), alpha, argv[2])) {
            std::fprintf(stderr, "artgen_icons: cannot write the icon %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    for (int i = 2; i < argc; ++i) {
        int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "artgen_icons: bad size %s\n", argv[i]);
            return 2;
        }
        std::vector<uint8_t> alpha;
        Canvas icon = Paint(size, alpha);
        std::string path = std::string(argv[1]) + "/" + std::to_string(size) + ".png";
        if (!art::WritePng(icon, path, &alpha)) {
            std::fprintf(stderr, "artgen_icons: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
