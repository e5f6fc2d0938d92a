// Shared geometry and helpers of the landscape pictures: the screen rows the
// game draws each layer at, the crest of the near hills, and a few painting
// helpers that several members use.
#pragma once

#include "canvas.h"

namespace art::landscape {

// Screen rows and sizes the game composes the view with.
constexpr int kSkyBandRow = 100;     // "sky.bmp" is blitted here, opaque
constexpr int kSkyBandHeight = 168;  // rows of the band the game copies
constexpr int kSkyFillBottom = 300;  // the flat sky colour ends here
constexpr int kBackgroundRow = 244;  // background layer
constexpr int kCastleRow = 186;      // "castle.bmp"
constexpr int kCastleUfoRow = 158;   // the UFO parked on the castle
constexpr int kTowerRow = 272;       // tower strips; smoke stands on it
constexpr int kTowerHeight = 26;     // "turm0.bmp": the click band is 272..297
constexpr int kForegroundRow = 160;  // foreground layer (440 rows)
constexpr int kGroundTop = 237;      // first row of "fg.bmp" on screen
constexpr int kGroundWidth = 1156;   // three copies cover the 3200-wide layer
constexpr int kGroundHeight = 363;   // "fg.bmp" reaches the bottom edge
constexpr int kBackgroundEnd = 328;  // first row below the background layer
constexpr int kWalkLine = 410;       // walkers and landed UFOs stand here

// The flat sky colour the game fills with: blue 31/31, green 50/63, no red,
// as a 24-bit colour that converts back to exactly that 5-6-5 value.
constexpr Colour kSkyFill = 0x00CAFF;

// Screen row of the ground's top edge (the crest of the near hills) at
// column x of "fg.bmp": always below the tower band, so the towers stand in
// plain view on the far hills, and above the end of the background layer,
// so no sky shows between the two.
int HillRow(int x);

// Ordered dithering to 5-6-5: returns a 24-bit colour that survives the
// game's reduction exactly, chosen so that neighbouring pixels average to c.
Colour Dither(Colour c, int x, int y);

// A soft round cloud or smoke puff made of overlapping shaded circles.
struct Puff {
    double x, y, r;
};
void PaintPuffs(Canvas& c, const Puff* puffs, int n, Colour dark, Colour mid, Colour light);

}  // namespace art::landscape
