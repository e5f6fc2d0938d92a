#include "scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art::landscape {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A few rows of the far hills show under the towers everywhere, so they
// stand on those hills rather than on the near crest; at the other end the
// castle's foot (row 326) and the trees' feet stay behind the ground.
constexpr int kCrestHighest = kTowerRow + kTowerHeight + 3;
constexpr int kCrestLowest = kBackgroundEnd - 9;

int Mod(int a, int m) {
    return ((a % m) + m) % m;
}

// 4x4 Bayer thresholds in (0, 1).
double Bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[Mod(y, 4)][Mod(x, 4)] + 0.5) / 16.0;
}

int DitherChannel(int v, int bits, double t) {
    int levels = (1 << bits) - 1;
    double f = v * levels / 255.0;
    int q = int(std::floor(f));
    if (f - q > t)
        ++q;
    q = std::clamp(q, 0, levels);
    // Expand back the way a 5-6-5 pixel reads as 8 bits per channel.
    return bits == 5 ? (q << 3) | (q >> 2) : (q << 2) | (q >> 4);
}

}  // namespace

int HillRow(int x) {
    // Rolling swells with whole numbers of cycles over the strip, so the
    // copies side by side join without a seam.
    auto wave = [x](double cycles, double phase) {
        return std::sin(2 * kPi * cycles * x / kGroundWidth + phase);
    };
    double mid = (kCrestHighest + kCrestLowest) / 2.0;
    double row = mid + 6 * wave(3, 0.9) + 2.5 * wave(7, 2.1) + 0.8 * wave(13, 0.4);
    return std::clamp(int(std::lround(row)), kCrestHighest, kCrestLowest);
}

Colour Dither(Colour c, int x, int y) {
    double t = Bayer(x, y);
    int r = DitherChannel(int((c >> 16) & 0xFF), 5, t);
    int g = DitherChannel(int((c >> 8) & 0xFF), 6, t);
    int b = DitherChannel(int(c & 0xFF), 5, t);
    return (Colour(r) << 16) | (Colour(g) << 8) | Colour(b);
}

void PaintPuffs(Canvas& c, const Puff* puffs, int n, Colour dark, Colour mid, Colour light) {
    // Shadow discs first, offset down-right, so every puff keeps a dark rim
    // on the side away from the light; then the lit bodies on top.
    for (int i = 0; i < n; ++i)
        c.Circle(puffs[i].x, puffs[i].y, puffs[i].r, dark);
    for (int i = 0; i < n; ++i)
        c.Circle(puffs[i].x - puffs[i].r * 0.18, puffs[i].y - puffs[i].r * 0.2, puffs[i].r * 0.8,
                 mid);
    for (int i = 0; i < n; ++i)
        c.Circle(puffs[i].x - puffs[i].r * 0.38, puffs[i].y - puffs[i].r * 0.4, puffs[i].r * 0.38,
                 light);
}

}  // namespace art::landscape
