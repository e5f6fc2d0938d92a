// The bubbles a shot saucer releases: three colours of wobbling bubble and
// the pop they all share.
#include <cmath>

#include "geometry.h"
#include "kit.h"
#include "registry.h"

namespace pal = art::pal;
using namespace actors;

namespace {

constexpr int kDriftFrames = 14;
constexpr int kBurstFrames = 8;

// A bubble is a solid disc (so that every pixel of it can be hit) shaded
// like a glossy sphere; it wobbles and its sheen runs round over 14
// frames.
Canvas PaintBubble(const Ramp& r, int t) {
    Canvas c(kBubbleW, kBubbleH);
    const double ph = 2 * kPi * t / kDriftFrames;
    const double cx = kBubbleW / 2.0, cy = kBubbleH / 2.0;
    const double rx = 12 + 1.3 * std::sin(ph), ry = 12 - 1.3 * std::sin(ph);
    c.ShadedEllipse(cx, cy, rx, ry, r.mid, r.light, art::Mix(r.light, pal::kWhite, 0.5));
    // A darker rim inside the outline gives the film its edge.
    for (int y = 0; y < kBubbleH; ++y)
        for (int x = 0; x < kBubbleW; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            double d = dx * dx + dy * dy;
            if (d <= 1.0 && d > 0.72)
                c.Set(x, y, d > 0.86 ? r.dark : r.mid);
        }
    // Fixed window highlight and a glint that runs round the film.
    c.Ellipse(cx - rx * 0.4, cy - ry * 0.42, rx * 0.28, ry * 0.18, pal::kWhite);
    double a = ph + kPi * 0.25;
    c.Circle(cx + rx * 0.55 * std::cos(a), cy + ry * 0.55 * std::sin(a), 1.6, pal::kWhite);
    return c;
}

Canvas PaintBurst(int t) {
    Canvas c(kBubbleW, kBubbleH);
    const double cx = kBubbleW / 2.0, cy = kBubbleH / 2.0;
    if (t == 0) {
        // The film tears: the bubble stretched with a bright crack.
        c.ShadedEllipse(cx, cy, 13, 11, pal::kSky2, pal::kSky3, pal::kWhite);
        c.Line(cx - 6, cy - 3, cx + 1, cy + 1, 1.5, pal::kWhite);
        c.Line(cx + 1, cy + 1, cx + 7, cy - 4, 1.5, pal::kWhite);
        return c;
    }
    // A pop star, then droplets flying out and shrinking.
    if (t <= 2)
        Star(c, cx, cy, 9 - t, 3, 8, 0.2 * t, pal::kYellow2);
    int drops = 8;
    for (int k = 0; k < drops; ++k) {
        double a = 2 * kPi * (k + 0.5 * (t % 2)) / drops;
        double d = 6 + 1.4 * t + (k % 2) * 1.5;
        double size = std::max(0.9, 2.8 - 0.3 * t);
        double x = cx + d * std::cos(a), y = cy + d * std::sin(a) + 0.25 * t * t;
        if (x < 2 || x > kBubbleW - 3 || y < 2 || y > kBubbleH - 3)
            continue;
        c.Circle(x, y, size, (k % 2) ? pal::kSky3 : pal::kWhite);
    }
    return c;
}

art::Strip DriftStrip(const Ramp& r) {
    art::Strip s(kBubbleW, kBubbleH, kDriftFrames);
    for (int t = 0; t < kDriftFrames; ++t)
        PutOutlined(s, t, PaintBubble(r, t));
    return s;
}

}  // namespace

ART_MEMBER(bubble0, "bubble0.bmp") {
    return DriftStrip({pal::kPink1, pal::kPink2, pal::kPink3}).canvas;
}
ART_MEMBER(bubble1, "bubble1.bmp") {
    return DriftStrip({pal::kViolet1, pal::kViolet2, art::Mix(pal::kViolet2, pal::kWhite, 0.45)})
        .canvas;
}
ART_MEMBER(bubble2, "bubble2.bmp") {
    return DriftStrip({pal::kSky1, pal::kSky2, pal::kSky3}).canvas;
}

// Shared by all three colours. A bubble hit at drifting frame f shows
// burst frames f + 1 to 7, so every frame is a later stage of the pop.
ART_MEMBER(bubble3, "bubble3.bmp") {
    art::Strip s(kBubbleW, kBubbleH, kBurstFrames);
    for (int t = 0; t < kBurstFrames; ++t)
        PutOutlined(s, t, PaintBurst(t));
    return s.canvas;
}
