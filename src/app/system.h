// The spine: start-up, shutdown, showing a frame, the 10 ms tick, frame
// pacing and the wait for a key or a click.
#pragma once

#include <allegro.h>

#include <csignal>
#include <string>

// Screen and shared assets.
extern BITMAP* backBuffer;     // every screen draws its frame here
extern BITMAP* scratchBuffer;  // a prepared picture kept between frames
extern BITMAP* cursorImage;
extern DATAFILE* fontData;
extern FONT* gameFont;
extern BITMAP* backdrop;
extern SAMPLE* hitSound;

extern volatile int tickCount;  // 10 ms ticks since a loop last reset it

// Set when the player closes the window (kQuitByClose), a signal asks the
// program to end (the signal's number) or the display is lost
// (kQuitByError). Every screen then ends as its own way out would, and the
// program shuts down in order.
extern volatile std::sig_atomic_t quitRequest;
constexpr int kQuitByClose = -1;
constexpr int kQuitByError = -2;
inline bool QuitRequested() {
    return quitRequest != 0;
}
// main's exit status for the request: 0 for the close button, 128 + n after
// signal n, 1 when the display was lost.
int QuitStatus();

// Cleared while the window is in the background; a game pauses then.
extern volatile int windowFocused;
// Set by a game while it is played, clear while it is paused and in the
// menus and pages: the platform keeps the pointer inside the window then,
// so that scrolling by the screen's edges works in a window too.
extern volatile int pointerConfined;
extern int shakeFrames;  // presented frames still to be shaken
extern int musicVolume;

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;

void InitSystem();
void ShutdownSystem();
void PresentFrame();
// PresentFrame for a backBuffer that holds just what the last frame showed:
// a screen that waits on the player calls it while nothing changes, so that
// waiting costs next to nothing.
void PresentSameFrame();

// Where the pointer stood when a waiting screen last drew its frame: while
// it stays there (and nothing else changed), the screen presents the same
// frame. Allegro draws the pointer into backBuffer as it moves.
struct PointerMark {
    int x = -1, y = -1;
    // Whether the pointer stands elsewhere now; remembers where it stands.
    bool Moved() {
        bool moved = mouse_x != x || mouse_y != y;
        x = mouse_x;
        y = mouse_y;
        return moved;
    }
};
// The machine's 10 ms timer. Its ticks go to tickCount, unless they are
// held: a recorder hands them to the game at the end of its platform calls,
// so that it knows exactly what the game's clock read; a playback drops
// them and hands over the recorded ones instead.
void TimerTick();
void HoldMachineTicks(bool held);
int TakeMachineTicks();  // the ticks held since the last call
void WaitForClickOrKey();

// Frame pacing for the paced loops: reset at the top of a frame, then wait
// out the rest of 3 ticks (30 ms) before presenting.
void BeginPacedFrame();
void PaceFrame();
// For the screens that wait on the player: returns at the first tick after
// the previous call, so such a screen presents at most one frame per tick
// instead of spinning a core.
void WaitForTick();

// The game's font (data/font.dat), loaded once.
void LoadGameFont();
// A font, the backdrop and the hit sound, each loaded once.
void LoadSharedAssets();
void UnloadSharedAssets();

// The whole program after the platform is chosen: start-up, shared assets,
// the loop over the menu's choices, shutdown. Returns main's status.
int RunProgram();

class Platform;
// main's body for --timedemo and --playdemo: reads the recording (a damaged one:
// one line on stderr and status 2), plays it, and returns main's status
// (also 2, with a line, when the game went otherwise than recorded).
// --timedemo then prints frames, seconds, frames per second and the end
// statistics on stdout.
int RunTimedemo(const std::string& path, Platform* real);
int RunPlaydemo(const std::string& path, Platform* real);
