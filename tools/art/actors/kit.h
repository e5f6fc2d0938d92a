// Drawing helpers shared by the moving actors: fur, eyes, metal, puffs,
// hearts and a few whole-canvas transforms. All of them draw with hard
// edges and light from the upper left, like the rest of the game's art.
#pragma once

#include <vector>

#include "canvas.h"

namespace actors {

using art::Canvas;
using art::Colour;
using art::Point;

constexpr double kPi = 3.14159265358979323846;

// Three tones of one ramp: shadow, body, lit side.
struct Ramp {
    Colour dark, mid, light;
};

Ramp PinkFur();
Ramp VioletFur();
Ramp Metal();
Ramp DarkMetal();
Ramp Brass();
Ramp Smoke();

// Mirrors x coordinates about the middle of a frame, so that one painter
// can draw both walking directions while the light stays upper left.
struct Mirror {
    double width;
    int dir;  // +1 draws as given (facing right), -1 mirrored (facing left)
    double X(double x) const { return dir > 0 ? x : width - x; }
    double Dx(double dx) const { return dir * dx; }
    Point P(double x, double y) const { return {X(x), y}; }
};

// Shades every pixel that is set in shape (any non-mask colour) as if it
// were a bulging ellipsoid centred at (cx, cy) with radii (rx, ry).
void ShadeShape(Canvas& c, const Canvas& shape, double cx, double cy, double rx, double ry,
                const Ramp& r);

// A round ball of fur with a jagged edge of tufts. seed fixes the tufts so
// that a creature keeps its coat from frame to frame.
void FurBall(Canvas& c, double cx, double cy, double rx, double ry, const Ramp& r, int seed,
             double tuft = 3.0);

// Filled shapes with a one pixel dark rim, for details inside a sprite.
void RimEllipse(Canvas& c, double cx, double cy, double rx, double ry, Colour fill);
void RimShaded(Canvas& c, double cx, double cy, double rx, double ry, const Ramp& r);
void RimPolygon(Canvas& c, const std::vector<Point>& pts, Colour fill);

// A big cartoon eye looking towards (lookX, lookY) in -1..1.
void Eye(Canvas& c, double cx, double cy, double rx, double ry, double lookX, double lookY);
// A closed happy eye (an arc) and an eye drawn as a small heart.
void HappyEye(Canvas& c, double cx, double cy, double r);
void Heart(Canvas& c, double cx, double cy, double size, const Ramp& r, bool rim = true);

// An antenna from (x0, y0) to (x1, y1) with a yellow bobble at its tip.
void Antenna(Canvas& c, double x0, double y0, double x1, double y1, double bobble);

// A five (or n) pointed star.
void Star(Canvas& c, double cx, double cy, double rOut, double rIn, int points, double turn,
          Colour fill);

// A round puff of smoke or fur made of overlapping balls.
void Puff(Canvas& c, double cx, double cy, double r, const Ramp& ramp, int seed);

// Every other pixel of a disc, for light and glow that lets the world show
// through (the mask has no half transparency).
void DitherEllipse(Canvas& c, double cx, double cy, double rx, double ry, Colour col, int parity);
void DitherRect(Canvas& c, int x0, int y0, int x1, int y1, Colour col, int parity);

// Whole-canvas transforms with nearest-neighbour sampling.
// Shear leans rows above baseY sideways by perRow pixels per row.
Canvas Shear(const Canvas& src, double perRow, double baseY);
Canvas Rotate(const Canvas& src, double degrees, double cx, double cy);

// Closes small pockets of mask colour enclosed by a sprite (between a foot
// and the body, inside a bow): the game tests shots pixel by pixel, and a
// shot through such a pocket would miss a target the player clearly hit.
void FillPockets(Canvas& c, int maxArea, Colour fill = art::pal::kOutline);

// Puts a frame into a strip, giving it its outline first and closing its
// small pockets.
void PutOutlined(art::Strip& s, int k, Canvas frame);

}  // namespace actors
