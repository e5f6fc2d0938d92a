// The flyers: the Fluffernauts' saucer with its turning ring of lights,
// the friendly propeller plane, its smoking wreck and the care package it
// drops on a parachute.
#include <algorithm>
#include <cmath>

#include "geometry.h"
#include "kit.h"
#include "registry.h"

namespace pal = art::pal;
using namespace actors;

namespace {

constexpr int kUfoFrames = 4;
constexpr int kPlaneFrames = 4;
constexpr int kCareFrames = 9;
constexpr int kUfoLights = 10;

// A tiny Fluffernaut as seen through the glass of a dome: at this size its
// eyes are a few pixels each.
void Pilot(Canvas& c, double cx, double cy, double r) {
    FurBall(c, cx, cy, r, r * 0.9, PinkFur(), 3, 1.5);
    int ex = int(std::floor(cx)), ey = int(std::floor(cy - r * 0.2));
    for (int side : {-1, 1}) {
        int x = ex + side * 2 - (side > 0 ? 0 : 1);
        c.Rect(x, ey - 1, x + 1, ey + 1, pal::kWhite);
        c.Set(x + 1, ey, pal::kOutline);
    }
}

// The saucer seen slightly from above. The ring of lights advances by a
// quarter of the spacing per frame, so four frames loop seamlessly. It is
// as flat as the castle's roof and the hill line expect (28 rows).
Canvas PaintUfo(int t) {
    Canvas c(kUfoW, kUfoH);
    const double cx = kUfoW / 2.0;
    // Underside with its glowing hatch.
    RimShaded(c, cx, 21.5, 20, 4, DarkMetal());
    c.Ellipse(cx, 24, 7, 1.6, pal::kYellow1);
    c.Ellipse(cx, 23.6, 3.5, 1.0, pal::kYellow2);
    // The dome: glass over a pilot.
    Canvas dome(kUfoW, kUfoH);
    dome.Ellipse(cx, 12, 14, 11, pal::kWhite);
    dome.Rect(0, 15, kUfoW - 1, kUfoH - 1, art::kMask);
    Canvas rim = dome;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, dome, cx, 10, 14, 10, VioletFur());
    Pilot(c, cx + 1, 9, 5);
    c.Line(cx - 9, 10, cx - 6, 5, 1.6, pal::kViolet2);
    c.Line(cx - 5, 4, cx - 2, 3, 1.2, art::Mix(pal::kViolet2, pal::kWhite, 0.6));
    // The silver disc.
    RimShaded(c, cx, 17, 38, 6, Metal());
    c.Ellipse(cx, 19, 36, 3, pal::kGrey1);
    c.Ellipse(cx, 18.2, 36, 2.6, pal::kGrey2);
    c.Rect(3, 16, kUfoW - 4, 16, art::Mix(pal::kGrey3, pal::kWhite, 0.4));
    // Lights on the rim: the ones at the front are bigger and brighter.
    for (int k = 0; k < kUfoLights; ++k) {
        double a = 2 * kPi * (k + t / double(kUfoFrames)) / kUfoLights;
        double s = std::sin(a);
        if (s < -0.15)
            continue;
        double x = cx + 32 * std::cos(a), y = 19 + 2.2 * s;
        double r = 1.3 + 0.8 * s;
        Colour on = (k % 2 == 0) ? pal::kYellow1 : pal::kOrange;
        RimEllipse(c, x, y, r, r, s > 0.4 ? on : pal::kYellow0);
        if (s > 0.6)
            c.Set(int(x - 0.5), int(y - 0.5), pal::kYellow2);
    }
    return c;
}

// The friendly plane flies to the left; its propeller turns over the four
// frames and the pilot's scarf flutters.
Canvas PaintPlane(int t, bool wreck) {
    Canvas c(kPlaneW, kPlaneH);
    const Ramp red = wreck ? Ramp{pal::kGrey0, pal::kRed0, art::Mix(pal::kRed1, pal::kGrey1, 0.5)}
                           : Ramp{pal::kRed0, pal::kRed1, art::Mix(pal::kRed1, pal::kOrange, 0.6)};
    const Ramp cream = wreck ? Ramp{pal::kGrey0, pal::kGrey1, pal::kGrey2} : Smoke();
    // Scarf behind the pilot.
    double wave = std::sin(t * kPi / 2);
    c.Polygon({{58, 11}, {72, 9 + wave}, {80, 12 - wave}, {74, 13 + wave}, {60, 15}},
              pal::kYellow1);
    // Tail fin and stabiliser.
    Canvas tail(kPlaneW, kPlaneH);
    tail.Polygon({{86, 20}, {95, 5}, {104, 5}, {104, 22}}, pal::kWhite);
    ShadeShape(c, tail, 95, 10, 10, 10, red);
    c.Rect(96, 7, 103, 9, cream.light);
    // Fuselage.
    Canvas body(kPlaneW, kPlaneH);
    body.Polygon({{15, 19},
                  {22, 15},
                  {70, 15},
                  {104, 19},
                  {106, 22},
                  {102, 26},
                  {70, 31},
                  {22, 33},
                  {15, 29}},
                 pal::kWhite);
    Canvas rim = body;
    rim.Outline();
    c.Blit(rim, 0, 0);
    ShadeShape(c, body, 56, 20, 52, 14, red);
    c.Rect(60, 22, 100, 23, cream.light);  // a stripe along the side
    // Stabiliser in front of the tail.
    RimShaded(c, 94, 25, 11, 3, cream);
    // Engine cowling.
    RimShaded(c, 18, 24, 5, 9, DarkMetal());
    // Pilot in the open cockpit, with leather cap and goggles.
    RimShaded(c, 52, 12, 5.5, 5.5, {pal::kSkin0, pal::kSkin1, pal::kSkin2});
    c.Ellipse(52, 9.5, 5.8, 3.5, pal::kBrown1);
    c.Ellipse(51, 9, 4, 2, pal::kBrown2);
    c.Rect(46, 11, 52, 12, pal::kOutline);
    RimEllipse(c, 47.5, 11.5, 2, 1.6, pal::kSky2);
    c.Polygon({{40, 15}, {44, 9}, {46, 15}}, pal::kSky3);  // windscreen
    c.Rect(40, 15, 62, 16, pal::kOutline);                 // cockpit rim
    // Wing, seen from a little below, with a star roundel.
    RimShaded(c, 50, 28, 24, 5, cream);
    RimEllipse(c, 56, 28, 4, 3.5, pal::kSky0);
    Star(c, 56, 28.3, 3.2, 1.3, 5, 0, pal::kYellow1);
    // Undercarriage.
    c.Line(42, 31, 38, 40, 2, pal::kOutline);
    c.Line(48, 31, 42, 40, 2, pal::kOutline);
    RimShaded(c, 40, 41, 4, 4, DarkMetal());
    c.Ellipse(40, 41, 1.5, 1.5, pal::kGrey3);
    c.Line(100, 26, 102, 32, 1.5, pal::kOutline);
    RimEllipse(c, 102, 33, 1.8, 1.8, pal::kGrey0);
    // Propeller: a faint disc of motion and the blade at four angles.
    if (!wreck) {
        for (int y = 7; y <= 41; ++y)
            if ((y + t) % 2 == 0)
                c.Set(10, y, pal::kGrey3);
        static const double kBlade[kPlaneFrames] = {17, 9, 3, 12};
        RimEllipse(c, 10.5, 24, 2, kBlade[t], pal::kBrown2);
        c.Ellipse(10, 24 - kBlade[t] * 0.4, 0.8, kBlade[t] * 0.4, pal::kBrown3);
    } else {
        RimEllipse(c, 10.5, 20, 2, 6, pal::kBrown1);  // a broken stump
    }
    RimShaded(c, 11, 24, 4, 4, Metal());  // spinner
    return c;
}

// The wreck falls nearly straight down, so its smoke rises in a column
// from the burning engine, behind the plane, into the 20 extra rows.
Canvas PaintWreck(int t) {
    static const double kTilt[kPlaneFrames] = {-21, -25, -22, -18};
    Canvas plane(kPlaneW, kWreckH);
    plane.Blit(PaintPlane(t, true), 0, kWreckRise - 5);
    const double px = kPlaneW / 2.0, py = kWreckRise - 5 + kPlaneH / 2.0;
    Canvas body = Rotate(plane, kTilt[t], px, py);
    // Where the engine ended up after the tilt.
    const double a = kTilt[t] * kPi / 180.0;
    const double ex = px + std::cos(a) * (20 - px) - std::sin(a) * (kWreckRise - 5 + 24 - py);
    const double ey = py + std::sin(a) * (20 - px) + std::cos(a) * (kWreckRise - 5 + 24 - py);
    Canvas c(kPlaneW, kWreckH);
    const Ramp soot{pal::kGrey0, pal::kGrey1, pal::kGrey2};
    for (int k = 4; k >= 0; --k) {
        double p = (k + t / 4.0) / 5.0;  // one puff's spacing per four frames
        double x = ex + 6 + 26 * p, y = ey - 8 - (ey - 10) * p;
        double r = 4 + 8 * p;
        if (y - r * 0.9 > 0 && x + r < kPlaneW - 1)
            Puff(c, x, y, r, k % 2 ? soot : Smoke(), 11 + k);
    }
    c.Blit(body, 0, 0);
    // Fire at the engine.
    Star(c, ex + 2, ey - 2, 9 + (t % 2) * 2, 4, 7, 0.4 * t, pal::kOrange);
    Star(c, ex + 2, ey - 2, 5, 2.2, 5, 0.6 * t, pal::kYellow1);
    return c;
}

// The parachute swings over nine frames while the crate hangs still, so
// the part that can be shot stays in one place.
Canvas PaintCare(int t) {
    Canvas c(kCareW, kCareH);
    const double swing = 5.5 * std::sin(2 * kPi * t / kCareFrames);
    const double rx = 28;  // canopy half width: swung fully it still fits the frame
    const double cx = kCareW / 2.0 + swing, top = 4, baseY = 34;
    const int crateX0 = 16, crateX1 = 55, crateY1 = kCareH - 2;
    // Cords from the canopy's edge to the crate's corners.
    for (double f : {-1.0, -0.4, 0.4, 1.0}) {
        double ex = cx + f * (rx - 3), ey = baseY - 2;
        double tx = f < 0 ? crateX0 + 2 : crateX1 - 2;
        c.Line(ex, ey, tx, kCrateTop - 1, 1.0, pal::kOutline);
    }
    // Canopy: orange and white panels, scalloped along its lower edge.
    Canvas canopy(kCareW, kCareH);
    canopy.Ellipse(cx, baseY, rx, baseY - top, pal::kWhite);
    canopy.Rect(0, int(baseY), kCareW - 1, kCareH - 1, art::kMask);
    for (int k = 0; k < 6; ++k)
        canopy.Ellipse(cx - 27.5 + 11 * k, baseY, 5.5, 3, pal::kWhite);
    Canvas rim = canopy;
    rim.Outline();
    c.Blit(rim, 0, 0);
    const Ramp orange{pal::kRed1, pal::kOrange, pal::kYellow1};
    const Ramp white = Smoke();
    for (int y = 0; y < kCareH; ++y)
        for (int x = 0; x < kCareW; ++x) {
            if (canopy.IsMask(x, y))
                continue;
            double nx = (x + 0.5 - cx) / rx;
            // Panels narrow towards the sides, as on a dome.
            int panel = int(std::floor(std::asin(std::clamp(nx, -1.0, 1.0)) / (kPi / 7) + 3.5));
            const Ramp& r = (panel % 2 == 0) ? orange : white;
            double dx = nx, dy = (y + 0.5 - (baseY - 4)) / (baseY - top);
            double lit =
                -dx * 0.55 - dy * 0.6 + std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy)) * 0.58;
            c.Set(x, y, lit > 0.55 ? r.light : (lit > 0.05 ? r.mid : r.dark));
        }
    c.Line(cx - 4, top + 3, cx - 18, top + 9, 1.5, pal::kWhite);  // gloss
    // The crate: planks, braces, metal corners and a heart for the life it
    // brings back.
    c.Rect(crateX0, kCrateTop, crateX1, crateY1, pal::kOutline);
    c.Rect(crateX0 + 1, kCrateTop + 1, crateX1 - 1, crateY1 - 1, pal::kBrown2);
    for (int y = kCrateTop + 1; y < crateY1; ++y) {
        if ((y - kCrateTop) % 9 == 0)
            c.Rect(crateX0 + 1, y, crateX1 - 1, y, pal::kBrown1);
        if ((y - kCrateTop) % 9 == 1)
            c.Rect(crateX0 + 1, y, crateX1 - 1, y, pal::kBrown3);
    }
    c.Rect(crateX0 + 1, kCrateTop + 1, crateX0 + 1, crateY1 - 1, pal::kBrown3);
    c.Rect(crateX1 - 1, kCrateTop + 1, crateX1 - 1, crateY1 - 1, pal::kBrown1);
    c.Line(crateX0 + 3, kCrateTop + 3, crateX1 - 3, crateY1 - 3, 3, pal::kBrown1);
    c.Line(crateX1 - 3, kCrateTop + 3, crateX0 + 3, crateY1 - 3, 3, pal::kBrown1);
    for (int cxn : {crateX0 + 1, crateX1 - 4})
        for (int cyn : {kCrateTop + 1, crateY1 - 4})
            c.Rect(cxn, cyn, cxn + 3, cyn + 3, pal::kGrey2);
    RimEllipse(c, (crateX0 + crateX1) / 2.0 + 0.5, (kCrateTop + crateY1) / 2.0 + 0.5, 10, 10,
               pal::kWhite);
    Heart(c, (crateX0 + crateX1) / 2.0 + 0.5, (kCrateTop + crateY1) / 2.0 + 0.5, 15,
          {pal::kRed0, pal::kRed1, pal::kPink2}, false);
    return c;
}

}  // namespace

ART_MEMBER(ufodreh, "ufodreh.bmp") {
    art::Strip s(kUfoW, kUfoH, kUfoFrames);
    for (int t = 0; t < kUfoFrames; ++t)
        PutOutlined(s, t, PaintUfo(t));
    return s.canvas;
}

ART_MEMBER(flieger, "flieger.bmp") {
    art::Strip s(kPlaneW, kPlaneH, kPlaneFrames);
    for (int t = 0; t < kPlaneFrames; ++t)
        PutOutlined(s, t, PaintPlane(t, false));
    return s.canvas;
}

ART_MEMBER(flieger_, "flieger_.bmp") {
    art::Strip s(kPlaneW, kWreckH, kPlaneFrames);
    for (int t = 0; t < kPlaneFrames; ++t)
        PutOutlined(s, t, PaintWreck(t));
    return s.canvas;
}

ART_MEMBER(care, "care.bmp") {
    art::Strip s(kCareW, kCareH, kCareFrames);
    for (int t = 0; t < kCareFrames; ++t)
        PutOutlined(s, t, PaintCare(t));
    return s.canvas;
}
