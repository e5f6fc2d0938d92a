// Values of one game that several families read or change. The game's
// set-up gives them their start values.
#pragma once

#include <allegro.h>

// The five counters of the statistics screen.
struct GameStats {
    int shotsFired;   // every shot
    int shotsHit;     // shots that changed the score
    int bestCombo;    // longest run of hits
    int ufosShot;     // flyers
    int bubblesShot;  // bubbles
};

extern GameStats gameStats;
extern int cameraX;  // landscape x of the view's left edge, 0..2400
extern int ammo;     // shells loaded, 0..10
extern int planesShotThisGame;
extern int gameRunning;  // cleared by Escape or by the bazooka
extern int escaped;

// Where the bazooka fired from, for the end animation.
extern int bazookaFired;
extern int bazookaEndX;
extern int bazookaEndY;

extern int spawnGate;  // mole holes open only below this timeLeft
extern int skyColour;

constexpr int kLandscapeW = 3200;
constexpr int kCameraMax = 2400;
