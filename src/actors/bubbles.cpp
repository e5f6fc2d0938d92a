#include "actors/bubbles.h"

#include "actors/flyers.h"
#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "world/score.h"

List<Bubble> bubbleList;
BITMAP* bubbleImages[4] = {};

namespace {

constexpr const char* kBubbleMembers[4] = {
    "bubble0.bmp",  // drifting
    "bubble1.bmp",  // drifting
    "bubble2.bmp",  // drifting
    "bubble3.bmp",  // bursting
};
constexpr int kBurstImage = 3;
constexpr int kBubblePoints = 500;

// Where the eight bubbles of a burst start relative to the flyer, and the
// least of their fall speeds (each adds rand mod 4).
struct BurstSpot {
    int dx;       // from the flyer's x
    int dy;       // from the flyer's y
    int minFall;  // slowest fall speed
};
constexpr BurstSpot kBurst[8] = {
    {0, 0, 3}, {5, 0, 3}, {15, -10, 3}, {15, 4, 5}, {15, 0, 3}, {20, 0, 4}, {25, 0, 5}, {30, 0, 3},
};

}  // namespace

void LoadBubbleImages() {
    for (int i = 0; i < 4; ++i)
        if (!bubbleImages[i])
            bubbleImages[i] = LoadImage(kBubbleMembers[i]);
}

Bubble* CreateBubble(int x, int y, int dx, int dy) {
    LoadBubbleImages();
    Bubble* b = new Bubble();
    b->x = x;
    b->y = y;
    b->dx = dx;
    b->dy = dy;
    b->frame = 0;
    b->state = kBubbleDrifting;
    b->images[kBubbleDrifting] = bubbleImages[Random() % 3];
    b->images[kBubbleBursting] = bubbleImages[kBurstImage];
    b->frameCounts[kBubbleDrifting] = kBubbleDriftFrames;
    b->frameCounts[kBubbleBursting] = kBubbleBurstFrames;
    for (int s = 0; s < 2; ++s)
        b->frameWidths[s] = b->images[s]->w / b->frameCounts[s];
    bubbleList.Append(b);
    return b;
}

void BurstBubbles(const Flyer* flyer) {
    if (!flyer)
        return;
    for (const BurstSpot& spot : kBurst) {
        // Draw order matters for replays: fall, drift, then the strip.
        int dy = Random() % 4 + spot.minFall;
        int dx = Random() % 6 - 3;
        CreateBubble(flyer->x + spot.dx, flyer->y + spot.dy, dx, dy);
    }
}

void DrawBubble(const Bubble* b, BITMAP* target) {
    BITMAP* image = b->images[b->state];
    int w = b->frameWidths[b->state];
    MaskedBlit(image, target, b->frame * w, 0, b->x - cameraX, b->y, w, image->h);
}

void UpdateBubbles(BITMAP* target, int firing, int* hitFlag) {
    bubbleList.Walk([&](Bubble* b) {
        int sx = b->x - cameraX;
        if (b->frameWidths[b->state] + sx <= 0 || sx >= kScreenW)
            return;
        DrawBubble(b, target);

        if (firing && hitFlag && !*hitFlag && b->state == kBubbleDrifting) {
            BITMAP* image = b->images[kBubbleDrifting];
            int w = b->frameWidths[kBubbleDrifting];
            int mx = mouse_x - sx;
            int my = mouse_y - b->y;
            if (0 <= mx && mx < w && 0 <= my && my < image->h &&
                getpixel(image, b->frame * w + mx, my) != bitmap_mask_color(image)) {
                // The frame index carries on into the burst strip, so a late
                // hit shows only the end of the burst.
                b->state = kBubbleBursting;
                *hitFlag = 1;
                AddScore(kBubblePoints, b->x, b->y);
                gameStats.bubblesShot++;
            }
        }

        b->x += b->dx;
        b->y += b->dy;
        b->frame++;
        if (b->y > kBubbleGroundY ||
            (b->state == kBubbleBursting && b->frame >= kBubbleBurstFrames)) {
            FreeBubble(b);
            return;
        }
        b->frame %= b->frameCounts[b->state];
    });
}

void FreeBubble(Bubble* bubble) {
    bubbleList.Unlink(bubble);
    delete bubble;
}

void FreeAllBubbles() {
    bubbleList.FreeAll(FreeBubble);
}
