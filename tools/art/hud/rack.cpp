// The bazooka firing: fifteen pictures drawn over the bazooka mole, each a
// member of its own ("rack0000.bmp" .. "rack0014.bmp"). A flash at the
// muzzle, then the rocket coming straight at the player and growing until
// it fills the view; the game follows with yellow flashes.
#include <cmath>
#include <cstdio>
#include <vector>

#include "hud_draw.h"
#include "registry.h"

using namespace art;

namespace {

constexpr int kFrames = 15;
// Wide and tall enough for the rocket to grow around the muzzle; the
// picture is centred on the bazooka's centre column (142 + 30 = 172).
constexpr int kW = 2 * (hud::kRackDX + hud::kBazookaW / 2);  // 344
constexpr int kH = 264;
constexpr double kMx = hud::kRackDX + hud::kMuzzleX;  // 161
constexpr double kMy = hud::kRackDY + hud::kMuzzleY;  // 132

void Burst(Canvas& c, double cx, double cy, double r, double turn) {
    hud::Star(c, cx, cy, r + 2, r * 0.45 + 1.5, turn, pal::kOutline);
    hud::Star(c, cx, cy, r, r * 0.45, turn, pal::kOrange);
    hud::Star(c, cx, cy, r * 0.75, r * 0.35, turn + 0.3, pal::kYellow1);
    c.Circle(cx, cy, r * 0.25, pal::kWhite);
}

// The rocket seen nose first: fins in an X, the body's rim, a red nose cone
// with angry painted eyes, and the exhaust glowing around it.
void Rocket(Canvas& c, double cx, double cy, double r, int k) {
    // Exhaust fire flickering out behind the rim.
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6 + k * 0.4;
        double d = r * (0.92 + 0.1 * Noise(i, k, 9));
        c.Circle(cx + d * std::cos(a), cy + d * std::sin(a), r * 0.15 + 1, pal::kOrange);
        c.Circle(cx + d * 0.95 * std::cos(a), cy + d * 0.95 * std::sin(a), r * 0.09, pal::kYellow1);
    }
    // Fins.
    for (int i = 0; i < 4; ++i) {
        double a = M_PI / 4 + i * M_PI / 2;
        double ca = std::cos(a), sa = std::sin(a);
        double w = r * 0.2, len = r * 1.3;
        std::vector<Point> fin = {{cx - sa * w, cy + ca * w},
                                  {cx + ca * len - sa * w * 0.5, cy + sa * len + ca * w * 0.5},
                                  {cx + ca * len + sa * w * 0.5, cy + sa * len - ca * w * 0.5},
                                  {cx + sa * w, cy - ca * w}};
        std::vector<Point> rim = fin;
        for (Point& p : rim) {
            p.x += (p.x > cx ? 1 : -1);
            p.y += (p.y > cy ? 1 : -1);
        }
        c.Polygon(rim, pal::kOutline);
        c.Polygon(fin, i == 0 ? pal::kGreen2 : pal::kGreen1);
    }
    c.Circle(cx, cy, r + 1, pal::kOutline);
    c.ShadedEllipse(cx, cy, r, r, pal::kGreen0, pal::kGreen1, pal::kGreen2);
    c.Circle(cx, cy, r * 0.8 + 1, pal::kOutline);
    c.ShadedEllipse(cx, cy, r * 0.8, r * 0.8, pal::kRed0, pal::kRed1, 0xF47A6A);
    if (r >= 14) {
        // Painted eyes, frowning at the player.
        double ex = r * 0.3, ey = cy - r * 0.05, er = r * 0.17;
        for (int s = -1; s <= 1; s += 2) {
            double x = cx + s * ex;
            c.Circle(x, ey, er + std::max(1.0, r * 0.03), pal::kOutline);
            c.Circle(x, ey, er, pal::kWhite);
            c.Circle(x - s * er * 0.25, ey + er * 0.2, er * 0.5, pal::kBlack);
            c.Polygon({{x - er * 1.3, ey - er * (s < 0 ? 1.6 : 0.8)},
                       {x + er * 1.3, ey - er * (s < 0 ? 0.8 : 1.6)},
                       {x + er * 1.3, ey - er * (s < 0 ? 1.3 : 2.1)},
                       {x - er * 1.3, ey - er * (s < 0 ? 2.1 : 1.3)}},
                      pal::kOutline);
        }
    }
    // Highlight on the nose.
    c.Ellipse(cx - r * 0.35, cy - r * 0.45, r * 0.14 + 0.5, r * 0.09 + 0.5, pal::kWhite);
}

// Lines rushing outward: the rocket is coming closer. Lines that would
// leave the picture are left out rather than cut.
void SpeedLines(Canvas& c, double cx, double cy, double r, int k) {
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6 + 0.26 + 0.1 * Noise(i, k, 2);
        double d0 = r * 1.45 + 6 + 10 * Noise(i, k, 3), d1 = d0 + 14 + r * 0.3;
        // Keep the mole's face (up and right of the muzzle) clear while the
        // rocket is still small.
        if (r < 45 && std::cos(a) > -0.2 && std::sin(a) < 0.2)
            continue;
        double x0 = cx + d0 * std::cos(a), y0 = cy + d0 * std::sin(a);
        double x1 = cx + d1 * std::cos(a), y1 = cy + d1 * std::sin(a);
        if (std::min(x1, x0) < 4 || std::max(x1, x0) > kW - 5 || std::min(y0, y1) < 4 ||
            std::max(y0, y1) > kH - 5)
            continue;
        c.Line(x0, y0, x1, y1, 3.0, pal::kOutline);
        c.Line(x0, y0, x1, y1, 1.2, pal::kWhite);
    }
}

// The launch smoke: merged puffs spreading from the muzzle.
void LaunchSmoke(Canvas& c, double spread, double pr, int k) {
    // It billows out to the left and down, away from the mole's face (up
    // and right of the muzzle), which stays in view.
    const int n = 9;
    std::vector<Point> at;
    std::vector<double> rad;
    for (int i = 0; i < n; ++i) {
        double a = (70 + i * 170.0 / (n - 1)) * M_PI / 180 + 0.15 * Noise(i, 0, 4);
        double d = spread * (0.85 + 0.3 * Noise(i, 1, 4));
        double rr = pr * (0.75 + 0.5 * Noise(i, 2, 4));
        double x = kMx + d * std::cos(a) - k, y = kMy + d * 0.8 * std::sin(a) - k * 0.5;
        if (x - rr < 3 || x + rr > kW - 4 || y - rr < 3 || y + rr > kH - 4)
            continue;
        at.push_back({x, y});
        rad.push_back(rr);
    }
    for (size_t i = 0; i < at.size(); ++i)
        c.Circle(at[i].x, at[i].y, rad[i] + 1, pal::kOutline);
    for (size_t i = 0; i < at.size(); ++i)
        c.ShadedEllipse(at[i].x, at[i].y, rad[i], rad[i], pal::kGrey1, pal::kGrey2, pal::kGrey3);
}

Canvas Rack(int k) {
    Canvas c(kW, kH);
    if (k == 0) {
        Burst(c, kMx, kMy, 15, 0);
    } else if (k == 1) {
        LaunchSmoke(c, 20, 8, k);
        Burst(c, kMx, kMy, 26, 0.3);
    } else {
        // The rocket grows geometrically to 96 (its fins then reach the
        // picture's top edge, which is fixed 132 rows above the muzzle).
        double r = 7.0 * std::pow(96.0 / 7.0, (k - 2) / double(kFrames - 3));
        // Speed lines behind the smoke, the smoke behind the rocket.
        if (k >= 4)
            SpeedLines(c, kMx, kMy, r, k);
        // The smoke stays back at the muzzle while the rocket comes closer.
        double settle = 1.0 - std::exp(-(k - 1) / 4.0);
        LaunchSmoke(c, 18 + 26 * settle, 9 + 8 * settle, k);
        // A little wobble on the way.
        double wob = 1.0 - (k - 2) / double(kFrames - 3);
        double cx = kMx + 3 * std::sin(k * 1.3) * wob, cy = kMy + 2 * std::cos(k * 1.7) * wob;
        if (k == 2)
            Burst(c, kMx, kMy, 18, 0.6);
        Rocket(c, cx, cy, r, k);
    }
    c.Outline();
    return c;
}

// Registers the fifteen members under the names the game formats with
// "rack%04i.bmp".
const bool kRegistered = [] {
    for (int k = 0; k < kFrames; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "rack%04i.bmp", k);
        art::Register(name, [k] { return Rack(k); });
    }
    return true;
}();

}  // namespace
