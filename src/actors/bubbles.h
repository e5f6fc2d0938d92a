// The bubbles a shot UFO releases: they drift down, burst when shot and
// vanish on the ground.
#pragma once

#include <allegro.h>

#include "actors/list.h"

struct Flyer;

constexpr int kBubbleDrifting = 0;
constexpr int kBubbleBursting = 1;
constexpr int kBubbleDriftFrames = 14;
constexpr int kBubbleBurstFrames = 8;
constexpr int kBubbleGroundY = 344;  // a top edge below this is on the ground

struct Bubble {
    int x;               // left edge, landscape coordinates
    int dx;              // pixels per update
    int y;               // top edge, screen coordinates
    int dy;              // pixels per update, positive falls
    int frame;           // in the strip of the current state
    int state;           // kBubbleDrifting or kBubbleBursting
    int frameWidths[2];  // by state
    int frameCounts[2];  // by state
    BITMAP* images[2];   // by state, shared
    Bubble* next;
    Bubble* prev;
};

extern List<Bubble> bubbleList;

// "bubble0.bmp".."bubble2.bmp" drifting (one per bubble at random),
// "bubble3.bmp" bursting. CreateBubble loads them if the set-up has not.
extern BITMAP* bubbleImages[4];
void LoadBubbleImages();

// A drifting bubble appended to the list; one random draw picks its strip.
Bubble* CreateBubble(int x, int y, int dx, int dy);
// Eight bubbles around the flyer's x and y.
void BurstBubbles(const Flyer* flyer);
void DrawBubble(const Bubble* bubble, BITMAP* target);
// The per-frame pass: draw, shot test, move, animate and retire. Bubbles
// outside the view wait, untouched, until the view comes back.
void UpdateBubbles(BITMAP* target, int firing, int* hitFlag);
void FreeBubble(Bubble* bubble);
void FreeAllBubbles();
