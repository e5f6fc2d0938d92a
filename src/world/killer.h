// The foreground killer: while walkers cuddle, a big gunner now and then
// rises from the bottom edge in the middle of the view, fires (draining
// `life` while it stands near the middle of the screen) and sinks back. One
// per game; between appearances it is parked below the screen. A hit is
// worth 100 points.
#pragma once

#include <allegro.h>

enum KillerState {
    kKillerRising = 0,
    kKillerFiring = 1,
    kKillerExploding = 2,
    kKillerLeaving = 3,
};
constexpr int kKillerStates = 4;
constexpr int kKillerParkedY = 600;  // at or below: parked
constexpr int kKillerPoints = 100;
constexpr int kKillerFirstDelay = 40;  // set by the game's set-up

struct Killer {
    int x;  // left edge, landscape
    int y;  // top edge, screen; parked at 600 or more
    int state;
    int frameCounts[kKillerStates];
    int frameWidths[kKillerStates];
    int frame;
    int fireTimer;  // frames of firing left
    BITMAP* images[kKillerStates];
    BITMAP* casingImage;
    int casingFrameCount;
    int casingFrameWidth;
    int casingFrame;  // plays backwards
};

// Frames a pair must cuddle before the killer shows again.
extern int killerDelay;

// Images, loaded by LoadKillerImages while null.
extern BITMAP* killerImage;         // "killer.bmp": firing and leaving, 10 frames
extern BITMAP* killerRiseImage;     // "killer_.bmp": rising, one frame
extern BITMAP* killerExplodeImage;  // "killerexpl.bmp": 18 frames
extern BITMAP* killerCasingImage;   // "huelsee1.bmp": 11 frames
void LoadKillerImages();

Killer* CreateKiller();
void ShowKiller(Killer* killer);
void ParkKiller(Killer* killer);
void UpdateKiller(Killer* killer);
bool DrawKiller(Killer* killer, BITMAP* target);
// The shot against the killer; run only when DrawKiller returned true.
// Takes the shot (setting *shotUsed) and returns true on a hit.
bool HitKiller(Killer* killer, int shotFired, int* shotUsed);
void FreeKiller(Killer* killer);
