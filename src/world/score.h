// The running score, the clock and life of a game, the rising pop-ups that
// show points won, and the counters drawn over the scene every frame.
#pragma once

#include <allegro.h>

#include "actors/list.h"

// Values of one game; ResetScoreState gives their start values.
extern int score;             // any sign, no bounds
extern int timeLeft;          // 10 ms ticks left, 9000 at the start
extern int life;              // 0..100
extern int lifeAtFrameStart;  // the frame loop stores `life` here before any update
extern int hudFlashed;        // the previous frame flashed yellow
extern int warningShown;      // the calm warning's frame is up
extern int warningHeld;       // frames since it came or went
extern int quietFrames;       // frames since life last changed

constexpr int kStartTimeLeft = 9000;
constexpr int kStartLife = 100;
constexpr int kMaxLife = 100;
constexpr int kScorePopupFrameH = 35;
constexpr int kBonusPopupFrameH = 36;
constexpr int kPopupRise = 75;  // pixels a pop-up climbs before it goes

// Images, loaded by LoadScoreImages (null until then; nothing is drawn from
// an empty slot).
extern BITMAP* digitImage;  // "digit.bmp": glyphs 0..9 side by side
extern BITMAP* scoreImage;  // "score.bmp": vertical strip, 35-pixel frames
extern BITMAP* bonusImage;  // "bonus.bmp": vertical strip, 36-pixel frames, level 0..6
extern BITMAP* lifeImage;   // "life.bmp": the life panel
void LoadScoreImages();
// Widths of the pop-up pictures, 0 while not loaded; callers centre on them.
int ScorePopupWidth();
int BonusPopupWidth();

struct Popup {
    int x;            // left edge, landscape coordinates
    int y;            // top edge, screen coordinates
    int step;         // -2: it rises
    int endY;         // start y - 75; gone once y drops below
    int frame;        // frame in the vertical strip
    int frameHeight;  // 35 score, 36 bonus
    BITMAP* image;    // scoreImage or bonusImage, shared
    Popup* next;
    Popup* prev;
};

extern List<Popup> popupList;  // oldest first

// Start values of one game: score 0, 90 seconds, full life, no flash.
void ResetScoreState();

// The one way a hit changes the score: adds points and shows them at
// (x landscape, y screen).
void AddScore(int points, int x, int y);
Popup* SpawnScorePopup(int x, int y, int points);
Popup* SpawnBonusPopup(int x, int y, int level);
// The picture of the score strip that shows these points (0 for any other).
int ScorePopupFrame(int points);

void DrawPopup(const Popup* popup, BITMAP* target);
// Draws, raises and retires every pop-up; once per frame, last in the scene.
void UpdatePopups(BITMAP* target);
// Only the pictures UpdatePopups is about to draw, onto another bitmap.
void DrawPopups(BITMAP* target);
void FreePopup(Popup* popup);
void FreeAllPopups();

// Right to left from the rightmost digit whose left edge is at x; values of
// 0 or below show only the minDigits padding zeros.
void DrawNumber(BITMAP* target, int x, int y, int minDigits, int value);
// Score, seconds and the life panel.
void DrawHud(BITMAP* target);

// The warning that life changed since lifeAtFrameStart, decided once a frame.
// As designed, a one-frame yellow flash over the whole picture, never in two
// frames running. For a player who asked for fewer flashes, a red frame
// round the picture, up while life keeps changing, that comes or goes at
// most once in kWarningHoldFrames: no more than 3 changes a second.
enum LifeWarning { kWarningNone, kWarningFlash, kWarningFrame };
constexpr int kWarningHoldFrames = 12;
constexpr int kWarningFrameWidth = 8;  // pixels of the frame at each edge
LifeWarning NextLifeWarning(bool reduceFlashing);
void DrawFlash(BITMAP* target);
void DrawWarningFrame(BITMAP* target);
