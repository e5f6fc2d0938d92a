// The armed invaders: they beam down, walk, and now and then stand and fire
// at the player (wearing down `life` near the middle of the screen) while a
// gunfire loop plays. Small ones walk in the distance, big ones in front;
// each size has its own list. A hit is worth 200 points.
#pragma once

#include <allegro.h>

#include <cstdint>

#include "actors/list.h"

// Strips of a shooter, in record order.
enum ShooterStrip {
    kShooterWalkLeft,
    kShooterWalkRight,
    kShooterFire,
    kShooterExplode,
    kShooterBeam,
    kShooterStrips,
};

constexpr int kSmallShooterY = 333;   // the row small shooters walk on
constexpr int kBigShooterBase = 590;  // big ones stand on this row
constexpr int kMaxShooters = 8;
constexpr int kShooterPoints = 200;
constexpr int kShooterSpawnEvery = 40;
constexpr int kShooterFirstSpawn = 10;  // first shooter of the program run
// How far a shooter's top moves when it starts firing (negative is up); it
// moves back by as much when it walks on, so it always walks at one height.
// The big one's firing strip is painted 20 rows taller. The small one stays
// put: a shot is always tested against the walking strip at the current y,
// so without a shift the firing picture and the spot that can be hit agree.
constexpr int kBigFireShift = -20;
constexpr int kSmallFireShift = 0;

struct Shooter {
    int x;  // left edge, landscape; 1..3119 while walking
    int y;  // top edge, screen
    uint8_t big;
    uint8_t walking;  // also while beaming down; 0 while firing
    uint8_t dying;
    uint8_t facing;  // 0 left, 1 right
    uint8_t beaming;
    int frame;
    int frameWidths[kShooterStrips];
    int frameCounts[kShooterStrips];
    int timer;  // beam frame delay, walk time or fire time
    BITMAP* walkLeftImage;
    BITMAP* walkRightImage;
    BITMAP* shootImage;
    BITMAP* explodeImage;
    BITMAP* casingImage;
    BITMAP* beamImage;
    int casingFrameCount;
    int casingFrameWidth;
    int casingFrame;
    Shooter* next;  // newer
    Shooter* prev;  // older
};

extern List<Shooter> smallShooters;
extern List<Shooter> bigShooters;
extern int shooterCount;           // both lists
extern int shooterSpawnCountdown;  // 10 at program start; kept between games
// Shooters (and the foreground killer) firing right now.
extern int shootingSoundCount;

// Images per size ([0] small, [1] big) in ShooterStrip order, then the
// shell casings; loaded by LoadShooterImages while null.
constexpr int kShooterImages = kShooterStrips + 1;
constexpr int kCasingSlot = kShooterStrips;
extern BITMAP* shooterImages[2][kShooterImages];
extern SAMPLE* shootingSample;  // "shootings.wav"; null plays nothing

void LoadShooterImages();
void LoadShooterSounds();

void SpawnShooter();
void FreeShooter(Shooter* shooter);
// The end of a game: both lists go, and the gunfire with them.
void FreeAllShooters();
bool ShooterOnScreen(const Shooter* shooter);
bool DrawShooter(Shooter* shooter, BITMAP* target);
bool UpdateShooter(Shooter* shooter);
// One list's pass: draw, test the shot (at most one hit per list, whatever
// other targets did with it), update, free.
void UpdateShooterList(List<Shooter>& list, int firing);
// The shooters' step of a frame: small list, big list, then a spawn while
// fewer than 8 exist.
void UpdateShooters(int firing);

void StartShootingSound();
void StopShootingSound();
// Silences the loop and forgets every holder (end and start of a game).
void ResetShootingSound();
