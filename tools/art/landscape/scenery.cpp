#include "scenery.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art::landscape {

namespace {

// The rows the squad UFOs start at, as (row, run length) pairs in landscape
// order over one period of 578 columns.
struct Run {
    int row;    // screen row of the UFO's top edge
    int count;  // columns that share it
};
constexpr Run kSquadRuns[] = {
    {271, 2},  {272, 4},  {273, 5},  {274, 5},  {275, 4}, {276, 4},  {277, 6},  {278, 4},
    {279, 5},  {280, 4},  {281, 6},  {282, 4},  {283, 2}, {284, 4},  {285, 5},  {286, 6},
    {287, 5},  {288, 3},  {289, 4},  {290, 5},  {291, 7}, {292, 6},  {293, 10}, {292, 11},
    {293, 62}, {294, 10}, {293, 5},  {292, 6},  {291, 5}, {290, 5},  {289, 4},  {288, 3},
    {287, 2},  {286, 5},  {285, 4},  {284, 2},  {283, 3}, {282, 2},  {281, 5},  {280, 5},
    {279, 4},  {278, 2},  {277, 2},  {276, 1},  {275, 6}, {274, 3},  {273, 4},  {272, 3},
    {271, 2},  {270, 5},  {269, 4},  {268, 2},  {267, 3}, {266, 4},  {265, 2},  {264, 5},
    {263, 3},  {262, 6},  {261, 3},  {260, 2},  {259, 5}, {258, 3},  {257, 2},  {256, 6},
    {255, 2},  {254, 3},  {253, 4},  {252, 3},  {251, 2}, {250, 5},  {249, 4},  {248, 7},
    {247, 5},  {246, 4},  {245, 1},  {244, 4},  {243, 5}, {242, 13}, {241, 5},  {240, 6},
    {239, 13}, {238, 14}, {237, 13}, {238, 10}, {239, 9}, {240, 5},  {241, 7},  {242, 7},
    {243, 5},  {244, 6},  {245, 3},  {246, 2},  {247, 4}, {248, 5},  {249, 3},  {250, 4},
    {251, 2},  {252, 3},  {253, 6},  {254, 3},  {255, 2}, {256, 3},  {257, 3},  {258, 2},
    {259, 4},  {260, 3},  {261, 2},  {262, 4},  {263, 3}, {264, 2},  {265, 2},  {266, 4},
    {267, 5},  {268, 3},  {269, 2},  {270, 4},  {271, 2},
};

// Width of the squad saucer's frame the hill line allows for (the flying
// saucer is 88 wide).
constexpr int kSquadUfoWidth = 88;
// The crest lies this many rows below the top of a squad saucer at its
// start: its dome peeks over the hills while rim and underside are hidden,
// and it rises from there. Hiding it whole would lift the crest so high that
// the tower strips behind the hills (rows 272 to 297) would stay out of
// sight most of the time.
constexpr int kCrestBelowSquadTop = 16;

const std::vector<int>& SquadRows() {
    static const std::vector<int> rows = [] {
        std::vector<int> r;
        for (const Run& run : kSquadRuns)
            r.insert(r.end(), run.count, run.row);
        return r;
    }();
    return rows;
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
