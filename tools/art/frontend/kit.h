// Drawing helpers shared by the front-end pictures: the invaders and their
// saucers as small stand-alone sprites, lettering with outlines, starry
// skies and the bevelled panels that carry the menus and tables.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace fe {

using art::Canvas;
using art::Colour;

// How a Fluffernaut looks; the defaults give the plain pink walker.
struct FluffLook {
    Colour dark = art::pal::kPink0;
    Colour mid = art::pal::kPink1;
    Colour light = art::pal::kPink2;
    double lookX = 0.0;  // pupils: -1 looks left, +1 right
    double lookY = 0.0;  // -1 up, +1 down
    bool smile = true;   // open grin instead of a small mouth
    bool feet = true;
    bool waving = false;  // one arm up
    int seed = 1;         // fur jag pattern
};

// A round fluffy invader of radius r (body only), on its own mask canvas
// with an outline; the canvas is big enough for antennae and feet.
Canvas MakeFluffernaut(int r, const FluffLook& look = FluffLook());

// A silver saucer w pixels wide with violet dome and a ring of lights; a
// Fluffernaut sits in the dome when pilot is true.
Canvas MakeSaucer(int w, bool pilot = true, int seed = 3);

// Lettering uses only the fonts of Debian's fonts-dejavu-core; the painter
// stops with an error when one is missing rather than leave pictures blank.
constexpr const char* kSerif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

// Text slanted to the right like an italic, for a font that has none.
// x is the left edge and y the baseline, as for Canvas::Text.
void SlantedText(Canvas& c, const char* font, int px, int x, int y, const std::string& s,
                 Colour col);

// Text on its own canvas with a one-pixel dark outline.
Canvas OutlinedText(const char* font, int px, const std::string& s, Colour fill,
                    Colour outline = art::pal::kOutline);

// Big cartoon lettering: gradient-filled glyphs, a thick outline, an
// extruded shadow towards the lower right and letters that bob along a
// wave. Returns a mask canvas fitted to the lettering.
struct ChunkyStyle {
    Colour top = art::pal::kYellow1;
    Colour bottom = art::pal::kOrange;
    Colour rim = art::pal::kOutline;    // thick outer edge
    Colour extrude = art::pal::kPink0;  // 3D side
    int rimWidth = 3;
    int depth = 6;
    double wave = 6.0;         // vertical bob in pixels
    double tilt = 0.0;         // radians of alternate letter tilt (shear)
    int spacing = -2;          // extra pixels between letters
    Colour halo = art::kMask;  // optional ring outside the rim (kMask: none)
    int haloWidth = 0;
    bool fuzzyHalo = false;  // tufted like fur instead of smooth
};
Canvas ChunkyText(const char* font, int px, const std::string& s, const ChunkyStyle& style);

// Night sky: gradient from top to bottom colour with deterministic stars.
void StarSky(Canvas& c, int x0, int y0, int x1, int y1, Colour top, Colour bottom, int seed,
             int density);

// The earth seen from above the clouds: a huge disc whose rim crosses the
// picture at horizonY in the middle, with sea, land and a thin atmosphere.
void EarthHorizon(Canvas& c, int horizonY, double radius, int seed, double dim = 1.0);

// Rounded rectangle helpers: a filled shape and a bevelled frame (light rim
// at the upper left, dark at the lower right) around an inner area.
void RoundRect(Canvas& c, int x0, int y0, int x1, int y1, int r, Colour col);
void BevelPanel(Canvas& c, int x0, int y0, int x1, int y1, int r, int border, Colour dark,
                Colour mid, Colour light, Colour inner);

// Copies src opaque into dst at (x, y), clipped to a rounded rectangle of
// src's size, with a dark one-pixel frame: a window into another scene.
void BlitRounded(Canvas& dst, const Canvas& src, int x, int y, int r);

// Splits text into lines no wider than width in the given font; an empty
// line marks each break between paragraphs ('\n' in the text).
std::vector<std::string> Wrap(const char* font, int px, const std::string& text, int width);

// Centre of a text run at a given pixel size, for layout.
inline int CentreX(const char* font, int px, const std::string& s, int centre) {
    return centre - Canvas::TextWidth(font, px, s) / 2;
}

// Darken every pixel of a region towards c by t (for calm backdrops).
void Tint(Canvas& c, int x0, int y0, int x1, int y1, Colour col, double t);

}  // namespace fe
