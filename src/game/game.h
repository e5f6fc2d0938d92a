// One game: set-up, the frame loop with the landscape targets, and the end
// with its statistics. `RunGame` (screens.h) runs all three.
#pragma once

#include <allegro.h>

#include <array>
#include <vector>

#include "game/squadheights.h"

struct Anim;
struct Flyer;

constexpr int kShells = 10;
constexpr int kTowerSegments = 6;
constexpr int kFlowers = 10;
constexpr int kSquad = 5;

// Images only the game itself draws (loaded by the first game's set-up).
extern BITMAP* sunImage;         // "sonne.bmp", 8 frames of 220x180
extern BITMAP* skyImage;         // "sky.bmp"
extern BITMAP* flowerTarget;     // "blume.bmp", the shootable flower
extern BITMAP* explosionImage;   // "atomic.bmp", 10 frames of 40x40
extern BITMAP* castleImage;      // "castle.bmp"
extern BITMAP* smokeImages[4];   // "rauch0", "rauch1", "rauch_0", "rauch_1"
extern BITMAP* landedUfoImage;   // "ufo.bmp"
extern BITMAP* gameOverImage;    // "gameover.bmp"
extern BITMAP* shellsImage;      // "shells.bmp", frames 106 wide
extern BITMAP* statsPanelImage;  // "panel.bmp"
extern BITMAP* pauseImage;       // "pause.bmp", the note over a paused game
extern SAMPLE* playerGunSound;   // "playergun.wav"

// What one game keeps between its frames. Values other families share live
// in gamestate.h and score.h.
struct Game {
    // The shot of this frame: fired in this frame, and taken by a target.
    int shotFired;
    int shotUsed;
    int buttonWasDown;
    int combo;
    int scoreAtFrameStart;
    int sunFrame;
    int shellFrames[kShells];

    // Flyers and their respawn countdowns.
    Flyer* flyingUfo;
    int flyingUfoCountdown;
    Flyer* plane;
    int planeCountdown;
    Flyer* carePackage;
    int carePackageCountdown;
    Flyer* castleUfo;
    int castleUfoCountdown;
    Flyer* squad[kSquad];
    int squadCountdown[kSquad];
    int squadActive;

    // Landscape targets.
    Anim* smokeAnims[kTowerSegments];
    int towerStripX[2];
    int castleX;
    int explosionFrame[kTowerSegments];
    int explosionAge[kTowerSegments];
    int towersDestroyed;
    int flowerX[kFlowers];
    int flowerY[kFlowers];
    int flowerShot[kFlowers];
    int flowersLeft;
    int bonusMode;

    // Text colours.
    int dark, light, white, countdownWhite, flashYellow;
};

extern Game game;
extern struct Killer* killer;

// What a game takes over from the games before it in the same run: the
// walkers' and shooters' spawn countdowns, the heart's frame and a shake
// still going, in this order. A recording keeps them, so that a visit's
// second game plays back as it was played.
std::vector<int> CarriedOver();
// `carried`: what the game takes over (by default what is there).
void SetUpGame(const std::vector<int>& carried = CarriedOver());
void RunFrame();
// Whether the loop goes on after this frame.
bool GameGoesOn();
// Returns 1 when the game ended by itself, 0 after Escape.
int EndGame();

// Between two frames: P, or the window going to the background, holds the
// game (its clock, actors, sounds and music) under a "Paused" note until P
// or a click, or once the window is back in front a click or a key. What
// ends the pause never reaches the game: no shot is fired by it.
void HoldWhilePaused();

// Landscape targets, called from the frame loop at their places.
void UpdateTowers();
void UpdateSquad();
void DrawFlowers();
void HitFlowers();
// A segment is intact while its smoke is one of the first two pictures.
bool TowerSegmentIntact(int j);
