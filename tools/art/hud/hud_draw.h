// Shared helpers of the counters, pop-ups and mole figures: lettering that
// stays crisp at small sizes, and the mole's body parts.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace hud {

// Hard-edged ink of a piece of text: rendered large and reduced, so that
// small lettering keeps round shapes without anti-aliasing.
struct Ink {
    int w = 0, h = 0;
    std::vector<unsigned char> on;
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < w && y < h && on[size_t(y) * w + x];
    }
};

// px is the font size at game scale; squeeze < 1 narrows the letters.
// The ink box is tight around the glyphs.
Ink TextInk(const char* font, int px, const std::string& s, double squeeze = 1.0);

// The bazooka picture is 60 wide: the game places the firing frames at the
// bazooka's centre column minus 172, which is its left edge minus 142 only
// for this width (the intro uses the left edge minus 142).
constexpr int kBazookaW = 60;
constexpr int kBazookaH = 100;
// Where the barrel's mouth is inside the bazooka picture; the firing frames
// are drawn around this point.
constexpr double kMuzzleX = 19, kMuzzleY = 50, kMuzzleR = 13;
// The firing frames sit 142 left of and 82 above the bazooka picture.
constexpr int kRackDX = 142, kRackDY = 82;

// Three colours of lettering from top to bottom (light, mid, dark).
struct Ramp {
    art::Colour light, mid, dark;
};

// Draws ink at (x, y) in bands of the ramp (light upper third, dark lower
// quarter), then adds the dark outline and a drop shadow to the lower
// right so that the text reads over sky, grass and sprites alike.
void PaintLettering(art::Canvas& c, const Ink& ink, int x, int y, const Ramp& ramp);

// Ink in one colour with its own outline, for lettering on top of a
// picture (where Outline() would find no mask to turn dark).
void StampInk(art::Canvas& c, const Ink& ink, int x, int y, art::Colour fill, art::Colour outline);

// Outline plus a one-pixel shadow down-right of everything drawn so far
// inside the rectangle.
void OutlineWithShadow(art::Canvas& c, int x0, int y0, int x1, int y1);

// A five-pointed star (for sparkles and the generic pop-up).
void Star(art::Canvas& c, double cx, double cy, double rOut, double rIn, double turn,
          art::Colour col);

// Mole parts, shared by the rascal, the peace mole and the bazooka mole so
// that they read as one family. (cx, cy) is the head centre.
struct MoleFace {
    double eyeOpen = 1.0;  // 1 open, 0 shut (a line)
    bool wink = false;     // right eye shut
    bool grin = true;      // teeth showing
    bool tongue = false;   // tongue stuck out
    bool angry = false;    // frown brows
    double lookX = 0.0;    // pupils left (-1) .. right (+1)
};
void MoleBody(art::Canvas& c, double cx, double top, double bottom, double halfWidth);
void MoleHead(art::Canvas& c, double cx, double cy, double r, const MoleFace& face);
void MolePaw(art::Canvas& c, double cx, double cy, double r, bool fingersUp);
// A furry arm from shoulder to paw (drawn before the paw).
void MoleArm(art::Canvas& c, double x0, double y0, double x1, double y1, double thick);

}  // namespace hud
