// Tiny software canvas for generating the game's pixel art at build time.
//
// Everything is drawn with hard edges (a pixel is in a shape when its centre
// is), because the game masks sprites with one exact colour: anti-aliased
// edges would leave pink fringes. Shapes are usually filled first and then
// given a dark outline with Outline(), which keeps every sprite readable at
// game size. The light comes from the upper left everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// 24-bit colour, 0xRRGGBB.
using Colour = uint32_t;

// Magenta: the game's mask colour (0xF81F once converted to 5-6-5).
constexpr Colour kMask = 0xFF00FF;

// The shared palette. Every picture picks its colours from these ramps
// (dark, mid, light) so that the whole game looks like one world.
namespace pal {
constexpr Colour kOutline = 0x1E1428;  // near-black violet, all outlines
constexpr Colour kWhite = 0xF8F4E8;
constexpr Colour kBlack = 0x101010;
// Greys (metal, stone)
constexpr Colour kGrey0 = 0x3C3C4C;
constexpr Colour kGrey1 = 0x6C6C80;
constexpr Colour kGrey2 = 0xA0A0B4;
constexpr Colour kGrey3 = 0xD4D4E0;
// Sky and water
constexpr Colour kSky0 = 0x2C5CB4;
constexpr Colour kSky1 = 0x4C8CE0;
constexpr Colour kSky2 = 0x8CC4F4;
constexpr Colour kSky3 = 0xC8E8FC;
// Grass and leaves
constexpr Colour kGreen0 = 0x1C5A2C;
constexpr Colour kGreen1 = 0x2E8A3A;
constexpr Colour kGreen2 = 0x5CBC4A;
constexpr Colour kGreen3 = 0x9CDC6A;
// Earth and wood
constexpr Colour kBrown0 = 0x4A2C1C;
constexpr Colour kBrown1 = 0x7A4A2A;
constexpr Colour kBrown2 = 0xAA7440;
constexpr Colour kBrown3 = 0xD8A868;
// Fluffernaut pink/violet (the invaders' colour)
constexpr Colour kPink0 = 0x8A2C6A;
constexpr Colour kPink1 = 0xC84C9C;
constexpr Colour kPink2 = 0xF07CC4;
constexpr Colour kPink3 = 0xFCB8E4;
constexpr Colour kViolet0 = 0x4A2A7A;
constexpr Colour kViolet1 = 0x7448B4;
constexpr Colour kViolet2 = 0xA47CE4;
// Warm accents (fire, sun, gold)
constexpr Colour kRed0 = 0x8A1C1C;
constexpr Colour kRed1 = 0xD43A2A;
constexpr Colour kOrange = 0xF48A2A;
constexpr Colour kYellow0 = 0xE4B422;
constexpr Colour kYellow1 = 0xFCE44A;
constexpr Colour kYellow2 = 0xFCF4A4;
// Skin
constexpr Colour kSkin0 = 0xB46A4A;
constexpr Colour kSkin1 = 0xE8A47A;
constexpr Colour kSkin2 = 0xFCD0A8;
}  // namespace pal

// Blend two colours; t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, double t);
// Scale brightness (f < 1 darker, f > 1 lighter), clamped.
Colour Shade(Colour c, double f);
// Deterministic hash noise in [0, 1) for texture; same inputs, same bytes.
double Noise(int x, int y, int seed);

struct Point {
    double x, y;
};

class Canvas {
  public:
    Canvas(int w, int h, Colour fill = kMask);

    int w() const { return w_; }
    int h() const { return h_; }
    Colour Get(int x, int y) const;
    void Set(int x, int y, Colour c);
    bool IsMask(int x, int y) const { return Get(x, y) == kMask; }
    void Fill(Colour c);

    // Filled shapes. Coordinates are pixel units; a pixel is inside a shape
    // when its centre (x + 0.5, y + 0.5) is.
    void Rect(int x0, int y0, int x1, int y1, Colour c);  // inclusive corners
    void Ellipse(double cx, double cy, double rx, double ry, Colour c);
    void Circle(double cx, double cy, double r, Colour c) { Ellipse(cx, cy, r, r, c); }
    void Polygon(const std::vector<Point>& pts, Colour c);
    // A thick line with round ends (a capsule).
    void Line(double x0, double y0, double x1, double y1, double thick, Colour c);
    // Ellipse lit from the upper left: dark, mid and light tones by the
    // surface normal, plus a small highlight.
    void ShadedEllipse(double cx, double cy, double rx, double ry, Colour dark, Colour mid,
                       Colour light);
    // Vertical gradient over a rectangle (for skies and panels).
    void VGradient(int x0, int y0, int x1, int y1, Colour top, Colour bottom);

    // Outer outline: every mask pixel that touches (4-neighbour) a
    // non-mask pixel inside the rectangle becomes c. Call after filling.
    void Outline(Colour c = pal::kOutline);
    void OutlineRect(int x0, int y0, int x1, int y1, Colour c = pal::kOutline);

    // Copy src onto this canvas at (x, y), skipping mask pixels.
    void Blit(const Canvas& src, int x, int y);
    // Copy a part of src (opaque when masked is false).
    void BlitPart(const Canvas& src, int sx, int sy, int dx, int dy, int w, int h,
                  bool masked = true);
    // Mirror left-right (for walking in the other direction).
    Canvas FlipH() const;

    // Text rendered with FreeType in monochrome (hard edges). font is a path
    // to a TrueType file; x is the left edge, y the baseline. Returns the
    // advance width. Centre() helps with layout.
    int Text(const std::string& font, int px, double x, double y, const std::string& s, Colour c);
    static int TextWidth(const std::string& font, int px, const std::string& s);

    // Write an uncompressed 16-bit (5-6-5) BMP. Returns false on failure.
    bool SaveBmp(const std::string& path) const;

  private:
    int w_, h_;
    std::vector<Colour> px_;
};

// Fonts of Debian's fonts-dejavu-core, used for lettering inside pictures.
constexpr const char* kFontSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kFontSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kFontSerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

// A horizontal strip of equally wide frames, as the game's animations use.
struct Strip {
    Canvas canvas;
    int frameWidth;
    int frames;
    Strip(int fw, int fh, int n) : canvas(fw * n, fh), frameWidth(fw), frames(n) {}
    // Draw frame k from a separately drawn canvas (must be fw x fh).
    void Put(int k, const Canvas& frame) {
        canvas.BlitPart(frame, 0, 0, k * frameWidth, 0, frameWidth, canvas.h(), false);
    }
};

}  // namespace art
