// The spine: start-up, shutdown, showing a frame, the 10 ms tick, frame
// pacing and the wait for a key or a click.
#pragma once

#include <allegro.h>

// Screen and shared assets.
extern BITMAP* backBuffer;     // every screen draws its frame here
extern BITMAP* scratchBuffer;  // a prepared picture kept between frames
extern BITMAP* cursorImage;
extern DATAFILE* fontData;
extern FONT* gameFont;
extern BITMAP* backdrop;
extern SAMPLE* hitSound;

extern volatile int tickCount;  // 10 ms ticks since a loop last reset it
extern int shakeFrames;         // presented frames still to be shaken
extern int musicVolume;

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;

void InitSystem();
void ShutdownSystem();
void PresentFrame();
void TimerTick();
void WaitForClickOrKey();

// Frame pacing for the paced loops: reset at the top of a frame, then wait
// out the rest of 3 ticks (30 ms) before presenting.
void BeginPacedFrame();
void PaceFrame();

// The whole program after the platform is chosen: start-up, shared assets,
// the loop over the menu's choices, shutdown. Returns main's status.
int RunProgram();
