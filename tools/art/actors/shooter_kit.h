// Effects shared by the shooters and the killer: the bursting of an
// armoured Fluffernaut, the teleport beam and the brass casings.
#pragma once

#include "kit.h"

namespace actors {

// A cartoon burst: a flash, a puff of smoke, armour plates, tufts of fur
// and stars, centred on (cx, cy), played over frames frames.
struct Boom {
    double cx, cy;  // centre of the burst in the frame
    double r;       // largest puff radius
    int frames;
    int seed;
    bool glassDome = false;  // the killer loses its cockpit, not a helmet
};
Canvas PaintBoom(const Boom& b, int w, int h, int t);

// A column of light down to groundY with a ring on the ground.
struct Beam {
    double cx;       // middle of the column
    double groundY;  // row of the ring (the figure's feet)
    double half;     // half width of the column at its widest
    double height;   // frame height
    double s;        // scale of sparkles and ring thickness
};
void PaintBeamBack(Canvas& c, const Beam& b, int t, int frames);
void PaintBeamFront(Canvas& c, const Beam& b, int t, int frames);
// Blits figure at (x, y) as it appears in the beam: first a flicker of
// white, then solid white, then colour from the head down.
void Materialise(Canvas& c, const Canvas& figure, int x, int y, int t, int frames);

// Spent shells jumping out of a gun at (gx, gy) and bouncing on the
// ground row.
struct Casings {
    double gx, gy;  // where they leave the gun (may lie above the frame)
    double ground;  // row they land on
    double size;    // thickness of a shell
    double spread;  // how far sideways they fly
    int frames;
    bool leftward;  // thrown to the left instead of the right
};
Canvas PaintCasings(const Casings& cs, int w, int h, int t);

}  // namespace actors
