// The landed saucer the walkers climb out of.
#include <cmath>

#include "registry.h"
#include "scenery.h"

namespace art::landscape {

ART_MEMBER(ufo, "ufo.bmp") {
    // Its bottom row is the walk line: feet and ramp end there. Walkers step
    // out 60 pixels in from the left edge, onto the ramp in the middle.
    constexpr int kW = 200, kH = 110;
    constexpr double kPi = 3.14159265358979323846;
    Canvas c(kW, kH);
    const double cx = 100, bodyY = 60;
    // Shadow on the path.
    c.Ellipse(cx, kH - 4, 92, 4, Mix(pal::kBrown1, pal::kBrown0, 0.45));
    // Landing legs with pads.
    for (int s = -1; s <= 1; s += 2) {
        double hipX = cx + s * 52, footX = cx + s * 74;
        c.Line(hipX, bodyY + 10, footX, kH - 6, 6, pal::kGrey1);
        c.Line(hipX - 1, bodyY + 10, footX - 1, kH - 6, 2, pal::kGrey2);
        c.Ellipse(footX, kH - 4, 9, 3.5, pal::kGrey1);
        c.Ellipse(footX - 1, kH - 5, 6, 2, pal::kGrey2);
    }
    // Violet glass dome.
    c.ShadedEllipse(cx, bodyY - 14, 44, 38, pal::kViolet0, pal::kViolet1, pal::kViolet2);
    c.Ellipse(cx - 18, bodyY - 34, 7, 12, Mix(pal::kViolet2, pal::kWhite, 0.55));
    c.Ellipse(cx - 6, bodyY - 42, 3, 4, Mix(pal::kViolet2, pal::kWhite, 0.7));
    // The saucer: dark belly, silver top, bright rim.
    c.Ellipse(cx, bodyY + 6, 70, 14, pal::kGrey0);
    c.Ellipse(cx, bodyY + 4, 70, 12, pal::kGrey1);
    c.ShadedEllipse(cx, bodyY, 97, 17, pal::kGrey1, pal::kGrey2, pal::kGrey3);
    c.Ellipse(cx, bodyY - 3, 97, 7, pal::kGrey3);
    c.Ellipse(cx + 6, bodyY - 3, 88, 5, pal::kGrey2);
    for (int x = 6; x < kW - 6; ++x)
        c.Set(x, int(bodyY + 2), pal::kGrey1);  // seam
    // Ring of yellow lights along the rim.
    for (int i = 0; i < 9; ++i) {
        double a = kPi * (0.08 + 0.84 * i / 8.0);
        double lx = cx - 84 * std::cos(a), ly = bodyY + 7 + 5 * std::sin(a);
        c.Circle(lx, ly, 4.5, pal::kOutline);
        c.Circle(lx, ly, 3.5, pal::kYellow0);
        c.Circle(lx - 0.8, ly - 0.8, 2.2, pal::kYellow1);
        c.Set(int(lx - 1), int(ly - 1), pal::kYellow2);
    }
    // Open hatch and its ramp down to the ground.
    c.Ellipse(cx, bodyY + 16, 22, 6, pal::kOutline);
    c.Ellipse(cx, bodyY + 16, 20, 5, pal::kYellow0);
    c.Ellipse(cx, bodyY + 15, 16, 3, pal::kYellow2);
    c.Polygon(
        {{cx - 18, bodyY + 17}, {cx + 18, bodyY + 17}, {cx + 28, kH - 3.0}, {cx - 28, kH - 3.0}},
        pal::kGrey2);
    c.Polygon(
        {{cx - 18, bodyY + 17}, {cx - 9, bodyY + 17}, {cx - 16, kH - 3.0}, {cx - 28, kH - 3.0}},
        pal::kGrey3);
    c.Polygon(
        {{cx + 10, bodyY + 17}, {cx + 18, bodyY + 17}, {cx + 28, kH - 3.0}, {cx + 16, kH - 3.0}},
        pal::kGrey1);
    for (int y = int(bodyY + 22); y < kH - 3; y += 5) {  // tread ridges
        double half = 18 + 10 * (y - bodyY - 17) / (kH - 3 - bodyY - 17);
        c.Line(cx - half + 2, y, cx + half - 2, y, 1, pal::kGrey1);
    }
    c.Outline();
    return c;
}

}  // namespace art::landscape
