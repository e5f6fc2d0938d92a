// The little invaders that climb out of the landed UFOs and stroll along the
// ground. A male and a female that meet stop and cuddle under a beating
// heart, with a looping cuddle sound while any pair cuddles, until one of
// them is shot (500 points).
#pragma once

#include <allegro.h>

#include <cstdint>

#include "actors/anim.h"
#include "actors/list.h"

enum WalkerState : uint8_t {
    kWalkerWalking = 0,
    kWalkerCuddling = 1,
    kWalkerExploding = 2,
};
enum WalkerGender : uint8_t {
    kWalkerMale = 0,
    kWalkerFemale = 1,
};

constexpr int kWalkerStates = 3;
constexpr int kWalkerY = 313;     // every walker walks on this row
constexpr int kWalkerStep = 5;    // pixels per frame
constexpr int kWalkerReach = 50;  // a partner must be closer than this
constexpr int kWalkerPoints = 500;
constexpr int kWalkerSpawnEvery = 40;  // frames between two walkers
constexpr int kMaxWalkerSites = 3;
constexpr int kHeartFrames = 13;

struct Walker {
    int x;  // left edge, landscape; 1..3119 while walking
    int y;  // top edge, screen
    uint8_t state;
    uint8_t facing;  // 0 left, 1 right
    uint8_t gender;
    int frame;  // in the strip of the current state
    int frameWidths[kWalkerStates];
    int frameCounts[kWalkerStates];
    BITMAP* leftImages[kWalkerStates];
    BITMAP* rightImages[kWalkerStates];
    Walker* next;  // newer
    Walker* prev;  // older
    Walker* partner;
};

extern List<Walker> walkerList;  // oldest first
extern int walkerCount;
extern int maleWalkerCount;
extern int femaleWalkerCount;
extern int walkerSpawnCountdown;  // 40 at program start; kept between games

// Pairs whose cuddle has started and not yet ended. The foreground killer
// only counts down while this is above 0.
extern int cuddleSoundCount;

// The landed UFOs the walkers come out of. The game's set-up fills these
// (count, landscape x, usage 0) and paints the UFOs into the landscape.
extern int walkerSiteCount;
extern int walkerSiteX[kMaxWalkerSites];
extern int walkerSiteUsage[kMaxWalkerSites];

// Images per gender, in strip order walk left, walk right, cuddle left,
// cuddle right, explode; loaded by LoadWalkerImages while null.
enum WalkerStrip {
    kWalkLeftStrip,
    kWalkRightStrip,
    kCuddleLeftStrip,
    kCuddleRightStrip,
    kExplodeStrip,
    kWalkerStrips,
};
extern BITMAP* walkerImages[2][kWalkerStrips];  // [gender][strip]
extern BITMAP* heartImage;                      // "herz.bmp"
extern Anim* heartAnim;                         // shared by all pairs, kept for the run
// Samples; a null slot plays nothing but keeps the counting right.
extern SAMPLE* cuddleSample;     // "schmusen.wav"
extern SAMPLE* cuddleSampleAlt;  // "schmusen_.wav"; falls back to the first
extern SAMPLE* currentCuddleSample;

// Loads the walker and heart images and makes the heart animation once.
void LoadWalkerImages();
void LoadWalkerSounds();

Walker* CreateMaleWalker(int x);
Walker* CreateFemaleWalker(int x);
bool DrawWalker(Walker* walker, BITMAP* target);
bool UpdateWalker(Walker* walker);
void SpawnWalker();
void FreeWalker(Walker* walker);
// The end of a game: every walker goes, ending its cuddle.
void FreeAllWalkers();

void StartCuddleSound();
void StopCuddleSound();
// The start of a game: no pair cuddles and the first cuddle sample is back.
void ResetCuddleSound();
// The V key: from now on the second sample loops, at once if a pair cuddles.
void SwitchCuddleSample();

// The walker pass of a frame: draw, test the shot (only while *hitFlag is
// 0, setting it on a hit), update and free; then the hearts and the spawn.
void UpdateWalkers(BITMAP* target, int firing, int* hitFlag);
