// Things in the sky: UFOs, the plane and its falling wreck, and the care
// package a plane drops. One record and one per-frame operation for all;
// the caller says which kind it drives.
#pragma once

#include <allegro.h>

#include "actors/anim.h"

// A flyer is an Anim with a position: the Anim fields come first, so a
// Flyer* is an Anim* and draws with DrawAnimFrame (the intro does exactly
// that with its own UFO from CreateUfo(nullptr)).
struct Flyer : Anim {
    int x;      // left edge, landscape coordinates; may be far outside it
    int y;      // top edge, screen coordinates; below 344 it is gone
    int dx;     // pixels per update
    int dy;     // pixels per update, positive falls
    int aux;    // plane: drop position (-800 once dropped); package: frame delay
    int alive;  // 0: neither drawn, moved nor hit
};

enum FlyerKind {
    kFlyerUfo = 0,
    kFlyerPlane = 1,
    kFlyerCarePackage = 2,
};

constexpr int kFlyerGroundY = 344;   // a top edge below this has fallen out of the sky
constexpr int kCrateTopRow = 77;     // care.bmp: parachute above, crate from here down
constexpr int kPlaneDropped = -800;  // a plane's aux once its package is out: never passed again

// Images; each constructor loads its own on first use and keeps it.
extern BITMAP* ufoImage;    // "ufodreh.bmp", 4 frames
extern BITMAP* planeImage;  // "flieger.bmp", 4 frames
extern BITMAP* wreckImage;  // "flieger_.bmp", 4 frames
extern BITMAP* careImage;   // "care.bmp", 9 frames
void LoadFlyerImages();

// Each takes a record to reinitialise in place, or nullptr for a new
// zero-filled one (delete it when done), and returns it. Fields not named
// keep their values.
Flyer* CreateUfo(Flyer* flyer);    // one random draw: side of entry
Flyer* CreatePlane(Flyer* flyer);  // one random draw: drop position
Flyer* CrashPlane(Flyer* flyer);   // nullptr stays nullptr
Flyer* CreateCarePackage(Flyer* flyer, int x, int y);

// Draws, animates, tests the shot (firing, *hitFlag), applies a hit, moves
// and keeps the respawn countdown: +1 for every update spent overlapping the
// landscape, -10 when a UFO is shot or the flyer falls out of the sky. The
// caller counts it down once per frame and recreates the record below 1.
// respawnCount may be nullptr for flyers that are never recreated.
void UpdateFlyer(Flyer* flyer, int firing, int* hitFlag, int* respawnCount, int kind);
// Only the picture UpdateFlyer is about to draw, onto another bitmap.
void DrawFlyer(const Flyer* flyer, BITMAP* target);
