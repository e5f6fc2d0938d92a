// The seam between the game and the machine.
//
// Everything that touches real hardware or the wall clock goes through the
// one `platform` object: driver start-up, input polling and the key buffer,
// timer ticks and `rest`, showing a frame, the pointer sprite, sound and
// music, and the time used to seed the random generator. Drawing and game
// logic call Allegro directly on memory bitmaps, so a headless platform can
// run every screen from a test with scripted input and a simulated clock.
#pragma once

#include <allegro.h>

#include <string>
#include <vector>

class Platform {
  public:
    virtual ~Platform() = default;

    // Allegro, the display, the input and the sound. False with a one-line
    // reason when the game cannot run here (no display); a missing sound
    // device only makes the game silent.
    virtual bool Startup(std::string& error) = 0;
    // The 800x600 picture at this colour depth in the window; negative when
    // the display cannot show it.
    virtual int SetGfxMode(int depth) = 0;
    // TimerTick every 10 ms from here on.
    virtual void StartTimer() = 0;
    virtual void Message(const char* text) = 0;
    virtual void SetVolume(int digi, int midi) = 0;

    virtual void SetMouseSprite(BITMAP* sprite, int focusX, int focusY) = 0;
    virtual void ShowMouse(BITMAP* target) = 0;
    virtual void PollMouse() = 0;     // refreshes mouse_x, mouse_y, mouse_b
    virtual void PollKeyboard() = 0;  // refreshes key[]
    virtual int KeyPressed() = 0;
    // Waits for a key, like readkey; gives 0 when the program is asked to
    // end meanwhile (QuitRequested).
    virtual int ReadKey() = 0;
    virtual void ClearKeybuf() = 0;

    virtual void Rest(unsigned ms) = 0;
    // Rests up to `ms`, or less when the player does something meanwhile
    // (or the window changes): the wait of a screen that stands still.
    virtual void AwaitInput(unsigned ms) { Rest(ms); }
    // Shows backBuffer shifted by (dx, dy); the uncovered strip keeps what
    // the screen showed before.
    virtual void Present(BITMAP* frame, int dx, int dy) = 0;
    // A frame the caller knows to be the one the last Present showed at
    // (0, 0): a real display already shows it and need not be sent it again.
    virtual void PresentAgain(BITMAP* frame) { Present(frame, 0, 0); }

    virtual void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) = 0;
    virtual void StopSample(SAMPLE* s) = 0;
    virtual int PlayMidi(MIDI* m, int loop) = 0;
    virtual void MidiSeek(int beat) = 0;
    virtual int MidiPos() = 0;  // beat position; negative when nothing plays
    virtual void StopMidi() = 0;
    // Holds every sound that plays (samples and music) where it is, or lets
    // them go on.
    virtual void PauseSounds(bool paused) = 0;

    virtual long SeedTime() = 0;  // time(NULL) on a real machine

    // From here on the desktop's mouse writes nothing into mouse_x, mouse_y
    // and mouse_b: a recording moves the pointer.
    virtual void DetachMouse() {}

    // What F11 does, as if the player had pressed it: the display switches
    // between the window and the full screen before the next frame shows.
    // A played-back recording switches where its player did.
    virtual void SwitchDisplay() {}

    // Where a game begins, and where its last frame is over (its statistics
    // final, as `summary` gives them): a recording keeps what lies between,
    // and a playback plays it there (app/platform/recorder.h, playback.h).
    // `carried` is what the game takes over from the one before it
    // (CarriedOver); a playback gives the recorded values instead. Neither
    // is a call on the machine.
    virtual void GameBegins(std::vector<int>& carried) { (void)carried; }
    virtual void GameFramesOver(const std::string& summary) { (void)summary; }
};

// The one platform in use. Set before InitSystem runs.
extern Platform* platform;

// The real machine on SDL: a window or the desktop's full screen (F11
// switches between them at any time), shown as `settings` asks.
Platform* CreateSdlPlatform();
