// Mole holes: now and then a mound grows in the middle of the view and a
// figure rises out of it. A `Lout` is worth 1000 points; a `Peace` figure
// costs 1000 and may come back as a `Bazooka`; a `Bazooka` counts down over
// its head and ends the game unless it is shot first. At most three holes a
// game, none in half of all games; a mound, once there, stays.
#pragma once

#include <allegro.h>

#include "actors/anim.h"

enum MoleKind {
    kMoleLout = 0,
    kMolePeace = 1,
    kMoleBazooka = 2,
    kMoleExploding = 3,
    kMoleEmpty = 4,
};
constexpr int kMoleFigures = 4;  // kinds with a picture
constexpr int kMaxMoleHoles = 3;
constexpr int kMoundY = 450;  // top row of every mound
constexpr int kMolePoints = 1000;
constexpr int kBazookaTimeBonus = 500;  // ticks for shooting a bazooka

// The hole table, slots 0 .. moleHoleCount - 1.
extern int moleHoleCount;  // only grows during a game
extern int moleHoleMax;    // rolled once per game
extern int moleKind[kMaxMoleHoles];
extern int moleRise[kMaxMoleHoles];       // rows of the figure above its base row
extern int moleCountdown[kMaxMoleHoles];  // bazooka frames left; shown / 5
extern int moleX[kMaxMoleHoles];          // mound's left edge, landscape
extern int moleWait[kMaxMoleHoles];       // frames before the figure rises
extern Anim* moleMound[kMaxMoleHoles];    // each hole's own mound (owned)

// One shared animation per figure kind, made for each game.
extern Anim* moleAnims[kMoleFigures];

// Images, loaded by LoadMoleHoleImages while null.
extern BITMAP* moundImage;                // "haufen256.bmp", 7 frames
extern BITMAP* moleImages[kMoleFigures];  // by kind: Lout, Peace, Bazooka, explosion
void LoadMoleHoleImages();

// The game's set-up, in its order: the kind animations (after the images
// are loaded), later the roll of the hole maximum (one random draw).
void CreateMoleHoleAnims();
void ChooseMoleHoleMax();
// The end of a game: the kind animations and every mound.
void FreeMoleHoles();

// Adds one hole at the middle of the view while fewer than the maximum exist.
void SpawnMoleHole();
// The holes' step of a frame: mounds, waits, figures, the bazooka countdown,
// the shot (only while *shotUsed is 0; a hit sets it), then the spawn check.
// A bazooka that fires clears `gameRunning` and marks where it stood.
void UpdateMoleHoles(BITMAP* target, int shotFired, int* shotUsed);
