#include "scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/squadheights.h"

namespace art::landscape {

namespace {

// Width of the squad saucer's frame the hill line allows for (the flying
// saucer is 88 wide).
constexpr int kSquadUfoWidth = 88;
// The crest lies this many rows below the top of a squad saucer at its
// start: its dome peeks over the hills while rim and underside are hidden,
// and it rises from there. Hiding it whole would lift the crest so high that
// the tower strips behind the hills (rows 272 to 297) would stay out of
// sight most of the time.
constexpr int kCrestBelowSquadTop = 16;

const std::array<int, kSquadPeriod>& SquadRows() {
    return kSquadStartHeights;
}

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

int SquadStartRow(int x) {
    return SquadRows()[size_t(Mod(x, kHillPeriod))];
}

int HillRow(int x) {
    // A UFO whose left edge is at u covers u .. u + width - 1 and starts with
    // its top at SquadStartRow(u): the ground must cover its underside over
    // all of those columns, so follow the highest start row of every UFO
    // that can cover this column.
    int best = 1 << 30;
    for (int d = 0; d < kSquadUfoWidth; ++d)
        best = std::min(best, SquadStartRow(x - d));
    return std::max(kGroundTop, best + kCrestBelowSquadTop);
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
