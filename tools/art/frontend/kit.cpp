#include "kit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace fe {

namespace pal = art::pal;

namespace {

constexpr double kPi = 3.14159265358979323846;

// 0 at the valleys of the fur, 1 at the tips of the tufts.
double Tuft(double angle, int tufts, int seed) {
    double t = angle / (2 * kPi) * tufts + 0.3 * art::Noise(int(angle * 3), 0, seed);
    double f = t - std::floor(t);
    return 1.0 - std::fabs(2.0 * f - 1.0);
}

// Smooth value noise in [0, 1) built from the shared hash noise.
double Smooth(double x, double y, int seed) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    double fx = x - ix, fy = y - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = art::Noise(ix, iy, seed), b = art::Noise(ix + 1, iy, seed);
    double c = art::Noise(ix, iy + 1, seed), d = art::Noise(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

double Fbm(double x, double y, int seed) {
    return 0.62 * Smooth(x, y, seed) + 0.28 * Smooth(x * 2.1, y * 2.1, seed + 1) +
           0.1 * Smooth(x * 4.3, y * 4.3, seed + 2);
}

bool InRoundRect(int x, int y, int x0, int y0, int x1, int y1, int r) {
    if (x < x0 || x > x1 || y < y0 || y > y1)
        return false;
    double cx = std::clamp(double(x) + 0.5, x0 + r + 0.0, x1 + 1.0 - r);
    double cy = std::clamp(double(y) + 0.5, y0 + r + 0.0, y1 + 1.0 - r);
    double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= double(r) * r;
}

// A filled ellipse with a dark rim one pixel wide, for details inside an
// already outlined sprite (eyes, feet).
void RimmedEllipse(Canvas& c, double cx, double cy, double rx, double ry, Colour fill) {
    c.Ellipse(cx, cy, rx + 1, ry + 1, pal::kOutline);
    c.Ellipse(cx, cy, rx, ry, fill);
}

// Runs before any picture is painted.
const bool kFontsPresent = [] {
    for (const char* f : {art::kFontSans, art::kFontSansBold, art::kFontSerifBold, kSerif}) {
        std::FILE* fp = std::fopen(f, "rb");
        if (!fp) {
            std::fprintf(stderr, "artgen_frontend: missing font %s (fonts-dejavu-core)\n", f);
            std::exit(1);
        }
        std::fclose(fp);
    }
    return true;
}();

}  // namespace

Canvas MakeFluffernaut(int r, const FluffLook& look) {
    int w = int(r * 3.0) + 8, h = int(r * 3.3) + 8;
    Canvas c(w, h);
    double cx = w / 2.0, cy = r * 1.75 + 4;
    double thick = std::max(2.0, r / 9.0);

    // Antennae behind the body, bobbles on top.
    for (int side = -1; side <= 1; side += 2) {
        double bx = cx + side * 0.55 * r, by = cy - 1.55 * r;
        c.Line(cx + side * 0.25 * r, cy - 0.7 * r, bx, by, thick + 2, pal::kOutline);
        c.Line(cx + side * 0.25 * r, cy - 0.7 * r, bx, by, thick, pal::kViolet0);
        double br = std::max(2.5, 0.17 * r);
        c.Ellipse(bx, by, br + 1, br + 1, pal::kOutline);
        c.ShadedEllipse(bx, by, br, br, pal::kYellow0, pal::kYellow1, pal::kYellow2);
    }
    // Stubby feet, partly hidden by the fur.
    if (look.feet) {
        for (int side = -1; side <= 1; side += 2) {
            double fx = cx + side * 0.42 * r, fy = cy + 0.95 * r;
            c.Ellipse(fx, fy, 0.3 * r + 1, 0.17 * r + 1, pal::kOutline);
            c.ShadedEllipse(fx, fy, 0.3 * r, 0.17 * r, pal::kViolet0, pal::kViolet1, pal::kViolet2);
        }
    }
    if (look.waving) {
        double ax = cx + 1.12 * r, ay = cy - 0.85 * r;
        c.Line(cx + 0.6 * r, cy - 0.1 * r, ax, ay, 0.28 * r + 2, pal::kOutline);
        c.Line(cx + 0.6 * r, cy - 0.1 * r, ax, ay, 0.28 * r, look.mid);
        c.Ellipse(ax, ay, 0.2 * r + 1, 0.2 * r + 1, pal::kOutline);
        c.ShadedEllipse(ax, ay, 0.2 * r, 0.2 * r, look.dark, look.mid, look.light);
    }

    // Fur body: a ball with jagged tufts at the rim and jagged tone borders,
    // lit from the upper left like everything else.
    int tufts = std::max(10, int(r / 2.2));
    for (int y = int(cy - 1.2 * r); y <= int(cy + 1.2 * r); ++y)
        for (int x = int(cx - 1.2 * r); x <= int(cx + 1.2 * r); ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double a = std::atan2(dy, dx);
            double rr = r * (0.9 + 0.14 * Tuft(a, tufts, look.seed));
            double dist = std::sqrt(dx * dx + dy * dy);
            if (dist > rr)
                continue;
            double nx = dx / r, ny = dy / r;
            double d = std::min(1.0, nx * nx + ny * ny);
            double nz = std::sqrt(1.0 - d);
            double lit = -nx * 0.55 - ny * 0.6 + nz * 0.58;
            lit += 0.12 * (Tuft(a, tufts * 2, look.seed + 7) - 0.5);
            Colour col = lit > 0.55 ? look.light : (lit > 0.05 ? look.mid : look.dark);
            c.Set(x, y, col);
        }
    // A soft highlight tuft at the upper left.
    c.Ellipse(cx - 0.38 * r, cy - 0.5 * r, 0.14 * r, 0.08 * r,
              art::Mix(look.light, pal::kWhite, 0.5));

    // Big eyes.
    for (int side = -1; side <= 1; side += 2) {
        double ex = cx + side * 0.34 * r, ey = cy - 0.2 * r;
        double erx = 0.27 * r, ery = 0.33 * r;
        RimmedEllipse(c, ex, ey, erx, ery, pal::kWhite);
        c.Ellipse(ex + 0.07 * r, ey + 0.1 * r, erx * 0.8, ery * 0.75, pal::kWhite);
        c.Ellipse(ex - erx * 0.25, ey + ery * 0.45, erx * 0.55, ery * 0.35,
                  art::Mix(pal::kWhite, pal::kGrey2, 0.5));
        c.Ellipse(ex, ey, erx * 0.85, ery * 0.8, pal::kWhite);
        double px = ex + look.lookX * erx * 0.4, py = ey + look.lookY * ery * 0.35 + 0.04 * r;
        double pr = std::max(1.5, 0.13 * r);
        c.Ellipse(px, py, pr, pr * 1.2, pal::kOutline);
        c.Circle(px - pr * 0.35, py - pr * 0.45, std::max(0.8, pr * 0.35), pal::kWhite);
    }
    // Mouth.
    double my = cy + 0.33 * r;
    if (look.smile) {
        double mrx = 0.3 * r, mry = 0.2 * r;
        for (int y = int(my); y <= int(my + mry + 1); ++y)
            for (int x = int(cx - mrx - 1); x <= int(cx + mrx + 1); ++x) {
                double dx = (x + 0.5 - cx) / mrx, dy = (y + 0.5 - my) / mry;
                if (dx * dx + dy * dy <= 1.0 && y + 0.5 >= my)
                    c.Set(x, y, pal::kOutline);
            }
        c.Ellipse(cx, my + mry * 0.7, mrx * 0.45, mry * 0.3, pal::kPink3);
    } else {
        c.Ellipse(cx, my + 0.05 * r, 0.1 * r, 0.07 * r, pal::kOutline);
    }
    c.Outline();
    return c;
}

Canvas MakeSaucer(int w, bool pilot, int seed) {
    int h = int(w * 0.62);
    Canvas c(w, h);
    double cx = w / 2.0, hy = h * 0.66;
    double rx = w / 2.0 - 2, ry = w * 0.13;

    // Dome first (its lower part is hidden by the hull), with the pilot.
    double dcx = cx, dcy = hy - ry * 0.3, drx = w * 0.23, dry = w * 0.27;
    c.Ellipse(dcx, dcy, drx + 1, dry + 1, pal::kOutline);
    c.Ellipse(dcx, dcy, drx, dry, pal::kViolet0);
    if (pilot) {
        FluffLook look;
        look.seed = seed;
        look.lookX = 0.6;
        look.feet = false;
        int pr = std::max(4, int(drx * 0.68));
        Canvas f = MakeFluffernaut(pr, look);
        // Body centre a little above the hull line, so the eyes show.
        int ox = int(dcx - f.w() / 2.0), oy = int(dcy - dry * 0.35 - (pr * 1.75 + 4));
        for (int y = 0; y < f.h(); ++y)
            for (int x = 0; x < f.w(); ++x) {
                double dx = (ox + x + 0.5 - dcx) / drx, dy = (oy + y + 0.5 - dcy) / dry;
                if (!f.IsMask(x, y) && dx * dx + dy * dy < 0.9)
                    c.Set(ox + x, oy + y, art::Mix(f.Get(x, y), pal::kViolet1, 0.2));
            }
    }
    // Glass highlights.
    for (double t = 0.25; t < 0.95; t += 0.02) {
        double a = kPi + 0.5 + t * 1.2;
        c.Set(int(dcx + std::cos(a) * drx * 0.78), int(dcy + std::sin(a) * dry * 0.8),
              pal::kViolet2);
        c.Set(int(dcx + std::cos(a) * drx * 0.72), int(dcy + std::sin(a) * dry * 0.74),
              art::Mix(pal::kViolet2, pal::kWhite, 0.5));
    }
    // The dome sits in the hull: nothing of it shows below the rim.
    for (int y = int(hy); y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.Set(x, y, art::kMask);
    // Hull: dark underside, lit upper shell, then the rim line.
    c.Ellipse(cx, hy, rx + 1, ry + 1, pal::kOutline);
    c.Ellipse(cx, hy, rx, ry, pal::kGrey0);
    c.ShadedEllipse(cx, hy - ry * 0.28, rx * 0.99, ry * 0.74, pal::kGrey1, pal::kGrey2,
                    pal::kGrey3);
    for (int x = int(cx - rx * 0.96); x <= int(cx + rx * 0.96); ++x) {
        double t = (x + 0.5 - cx) / rx;
        double y = hy + ry * 0.42 * std::sqrt(std::max(0.0, 1 - t * t));
        c.Set(x, int(y), pal::kGrey1);
    }
    // Under-dome bottom light.
    c.Ellipse(cx, hy + ry * 0.85, rx * 0.3, ry * 0.3, pal::kOutline);
    c.Ellipse(cx, hy + ry * 0.8, rx * 0.26, ry * 0.22, pal::kYellow0);
    // Ring of lights along the front of the rim.
    int lights = 7;
    double lr = std::max(1.6, w * 0.022);
    for (int k = 0; k < lights; ++k) {
        double a = kPi * (k + 0.5) / lights;
        double lx = cx - std::cos(a) * rx * 0.82, ly = hy + std::sin(a) * ry * 0.28;
        c.Circle(lx, ly, lr + 1, pal::kOutline);
        c.Circle(lx, ly, lr, k % 2 ? pal::kYellow1 : pal::kYellow2);
    }
    c.Outline();
    return c;
}

void SlantedText(Canvas& c, const char* font, int px, int x, int y, const std::string& s,
                 Colour col) {
    int w = Canvas::TextWidth(font, px, s) + px;
    int h = int(px * 1.5) + 2;
    int base = int(px * 1.1);
    Canvas t(w, h);
    t.Text(font, px, 0, base, s, col);
    for (int yy = 0; yy < h; ++yy) {
        int shift = int(std::floor((base - yy) * 0.2 + 0.5));
        for (int xx = 0; xx < w; ++xx)
            if (!t.IsMask(xx, yy))
                c.Set(x + xx + shift, y - base + yy, t.Get(xx, yy));
    }
}

Canvas OutlinedText(const char* font, int px, const std::string& s, Colour fill, Colour outline) {
    int w = Canvas::TextWidth(font, px, s) + 6;
    Canvas c(w, int(px * 1.45) + 4);
    c.Text(font, px, 2, px * 1.05 + 1, s, fill);
    c.Outline(outline);
    return c;
}

Canvas ChunkyText(const char* font, int px, const std::string& s, const ChunkyStyle& st) {
    int pad = st.rimWidth + st.haloWidth + 2;
    int totalW = pad * 2 + st.depth + 4;
    std::vector<int> xs;
    for (char ch : s) {
        xs.push_back(totalW - pad * 2 - st.depth - 4);
        totalW += Canvas::TextWidth(font, px, std::string(1, ch)) + st.spacing;
    }
    int h = int(px * 1.3 + st.wave * 2) + pad * 2 + st.depth + 2;
    Canvas glyphs(totalW, h);
    double base = pad + st.wave + px * 1.0;
    for (size_t i = 0; i < s.size(); ++i) {
        double bob = st.wave * std::sin(i * 1.3 + 0.4);
        glyphs.Text(font, px, pad + xs[i], base + bob, std::string(1, s[i]), pal::kWhite);
    }
    // Letter bounds for the gradient.
    int top = h, bottom = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < totalW; ++x)
            if (!glyphs.IsMask(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    auto in = [&](int x, int y) { return !glyphs.IsMask(x, y); };
    // Thick rim: every pixel within rimWidth of a letter; the halo grows
    // around the rim, in tufts of varying size when it is fuzzy.
    auto grow = [&](const std::vector<char>& src, int radius, bool fuzzy) {
        std::vector<char> out(src.size(), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < totalW; ++x) {
                if (!src[size_t(y) * totalW + x])
                    continue;
                int r = radius;
                if (fuzzy)
                    r = int(radius * (0.65 + 0.7 * art::Noise(x / 3, y / 3, 97)));
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx)
                        if (dx * dx + dy * dy <= r * r + 1) {
                            int ax = x + dx, ay = y + dy;
                            if (ax >= 0 && ay >= 0 && ax < totalW && ay < h)
                                out[size_t(ay) * totalW + ax] = 1;
                        }
            }
        return out;
    };
    std::vector<char> letters(size_t(totalW) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < totalW; ++x)
            letters[size_t(y) * totalW + x] = in(x, y);
    std::vector<char> rim = grow(letters, st.rimWidth, false);
    std::vector<char> halo;
    if (st.haloWidth > 0 && st.halo != art::kMask) {
        halo = grow(rim, st.haloWidth, st.fuzzyHalo);
        // Close the pinholes that tufts leave between letters.
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<char> closed = halo;
            for (int y = 1; y + 1 < h; ++y)
                for (int x = 1; x + 1 < totalW; ++x) {
                    int n = 0;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            n += halo[size_t(y + dy) * totalW + x + dx];
                    if (n >= 5)
                        closed[size_t(y) * totalW + x] = 1;
                }
            halo.swap(closed);
        }
    }
    const std::vector<char>& outer = halo.empty() ? rim : halo;
    Canvas c(totalW, h);
    // Extruded side, darkest at the back.
    for (int d = st.depth; d >= 1; --d) {
        Colour col = art::Shade(st.extrude, 0.75 + 0.25 * (st.depth - d) / double(st.depth));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < totalW; ++x)
                if (outer[size_t(y) * totalW + x])
                    c.Set(x + d, y + d, col);
    }
    if (!halo.empty()) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < totalW; ++x)
                if (halo[size_t(y) * totalW + x])
                    c.Set(x, y, st.halo);
        // Shade the halo's lower right like every lit shape.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < totalW; ++x)
                if (halo[size_t(y) * totalW + x] && !rim[size_t(y) * totalW + x] &&
                    (y + 1 >= h || x + 1 >= totalW || !halo[size_t(y + 1) * totalW + x + 1]))
                    c.Set(x, y, art::Shade(st.halo, 0.75));
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < totalW; ++x)
            if (rim[size_t(y) * totalW + x])
                c.Set(x, y, st.rim);
    // Letters: three bands from top to bottom, a light bevel at the upper
    // left edge of each stroke and a darker one at the lower right.
    Colour hi = art::Mix(st.top, pal::kWhite, 0.45);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < totalW; ++x) {
            if (!in(x, y))
                continue;
            double t = bottom > top ? double(y - top) / (bottom - top) : 0.0;
            Colour col = t < 0.28 ? hi : (t < 0.62 ? st.top : st.bottom);
            if (!in(x - 1, y - 1) || !in(x - 1, y))
                col = art::Mix(col, pal::kWhite, 0.5);
            if (!in(x + 1, y + 1) || !in(x + 1, y))
                col = art::Shade(col, 0.72);
            c.Set(x, y, col);
        }
    c.Outline();
    return c;
}

void StarSky(Canvas& c, int x0, int y0, int x1, int y1, Colour top, Colour bottom, int seed,
             int density) {
    c.VGradient(x0, y0, x1, y1, top, bottom);
    double cut = 1.0 - density * 1e-4;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double n = art::Noise(x, y, seed);
            if (n < cut)
                continue;
            double b = art::Noise(x, y, seed + 1);
            Colour base = c.Get(x, y);
            Colour star = b > 0.8 ? pal::kYellow2 : (b > 0.5 ? pal::kSky3 : pal::kWhite);
            c.Set(x, y, art::Mix(base, star, 0.35 + 0.65 * b));
            if (b > 0.93) {
                Colour arm = art::Mix(base, star, 0.45);
                c.Set(x - 1, y, arm);
                c.Set(x + 1, y, arm);
                c.Set(x, y - 1, arm);
                c.Set(x, y + 1, arm);
            }
        }
}

void EarthHorizon(Canvas& c, int horizonY, double radius, int seed, double dim) {
    double cx = c.w() / 2.0, cy = horizonY + radius;
    Colour glow = pal::kSky2;
    for (int y = std::max(0, horizonY - 14); y < c.h(); ++y)
        for (int x = 0; x < c.w(); ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double dist = std::sqrt(dx * dx + dy * dy);
            if (dist > radius + 12)
                continue;
            Colour col;
            if (dist > radius) {
                // Thin atmosphere in three hard steps.
                double t = (dist - radius) / 12.0;
                Colour under = c.Get(x, y);
                col = art::Mix(under, glow, t < 0.25 ? 0.7 : (t < 0.6 ? 0.4 : 0.18));
            } else {
                double depth = (radius - dist);  // pixels in from the rim
                // Spread the surface out towards the rim (foreshortening).
                double u = dx / 90.0, v = std::sqrt(depth) * 1.6;
                double land = Fbm(u, v, seed);
                double cloud = Fbm(u * 1.7 + 5, v * 1.2, seed + 11);
                double haze = std::clamp(1.0 - depth / 140.0, 0.0, 1.0);
                if (land > 0.56)
                    col = land > 0.66 ? pal::kGreen2 : (land > 0.6 ? pal::kGreen1 : pal::kBrown2);
                else
                    col = land > 0.5 ? pal::kSky1 : pal::kSky0;
                if (land > 0.56 && land < 0.585)
                    col = pal::kBrown3;
                if (cloud > 0.62)
                    col = cloud > 0.68 ? pal::kWhite : pal::kSky3;
                col = art::Mix(col, pal::kSky2, haze * 0.55);
                if (depth < 3)
                    col = art::Mix(col, pal::kSky3, 0.5);
                // Night falls towards the right-hand side of the disc.
                double night = std::clamp((dx / radius) * 3.0 + 0.1, 0.0, 0.6);
                col = art::Mix(col, pal::kOutline, night * 0.6);
            }
            if (dim < 1.0)
                col = art::Mix(col, pal::kOutline, 1.0 - dim);
            c.Set(x, y, col);
        }
}

void RoundRect(Canvas& c, int x0, int y0, int x1, int y1, int r, Colour col) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (InRoundRect(x, y, x0, y0, x1, y1, r))
                c.Set(x, y, col);
}

void BevelPanel(Canvas& c, int x0, int y0, int x1, int y1, int r, int border, Colour dark,
                Colour mid, Colour light, Colour inner) {
    RoundRect(c, x0, y0, x1, y1, r, pal::kOutline);
    RoundRect(c, x0 + 1, y0 + 1, x1 - 2, y1 - 2, r - 1, light);
    RoundRect(c, x0 + 3, y0 + 3, x1 - 1, y1 - 1, r - 1, dark);
    RoundRect(c, x0 + 3, y0 + 3, x1 - 3, y1 - 3, r - 2, mid);
    int ir = std::max(2, r - border);
    int ix0 = x0 + border, iy0 = y0 + border, ix1 = x1 - border, iy1 = y1 - border;
    // Sunken inner area: dark edge at the upper left, light at the lower right.
    RoundRect(c, ix0 - 1, iy0 - 1, ix1 + 1, iy1 + 1, ir + 1, art::Shade(light, 1.0));
    RoundRect(c, ix0 - 1, iy0 - 1, ix1, iy1, ir + 1, pal::kOutline);
    RoundRect(c, ix0, iy0, ix1, iy1, ir, inner);
}

void BlitRounded(Canvas& dst, const Canvas& src, int x, int y, int r) {
    int w = src.w(), h = src.h();
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            if (!InRoundRect(xx, yy, 0, 0, w - 1, h - 1, r))
                continue;
            bool rim = !InRoundRect(xx - 1, yy, 0, 0, w - 1, h - 1, r) ||
                       !InRoundRect(xx + 1, yy, 0, 0, w - 1, h - 1, r) ||
                       !InRoundRect(xx, yy - 1, 0, 0, w - 1, h - 1, r) ||
                       !InRoundRect(xx, yy + 1, 0, 0, w - 1, h - 1, r);
            dst.Set(x + xx, y + yy, rim ? pal::kOutline : src.Get(xx, yy));
        }
}

std::vector<std::string> Wrap(const char* font, int px, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::istringstream paragraphs(text);
    std::string para;
    while (std::getline(paragraphs, para)) {
        if (!lines.empty())
            lines.push_back("");  // paragraph break
        std::istringstream words(para);
        std::string word, line;
        while (words >> word) {
            std::string tryLine = line.empty() ? word : line + " " + word;
            if (!line.empty() && Canvas::TextWidth(font, px, tryLine) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = tryLine;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

void Tint(Canvas& c, int x0, int y0, int x1, int y1, Colour col, double t) {
    for (int y = std::max(0, y0); y <= std::min(c.h() - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(c.w() - 1, x1); ++x)
            if (!c.IsMask(x, y))
                c.Set(x, y, art::Mix(c.Get(x, y), col, t));
}

}  // namespace fe
