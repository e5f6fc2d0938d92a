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

class Platform {
  public:
    virtual ~Platform() = default;

    // allegro_init and the keyboard, mouse, timer and sound drivers. The
    // timer calls TimerTick every 10 ms from here on.
    virtual void Startup() = 0;
    // set_color_depth + set_gfx_mode for 800x600; negative on failure.
    virtual int SetGfxMode(int depth) = 0;
    virtual void Message(const char* text) = 0;
    virtual void SetVolume(int digi, int midi) = 0;

    virtual void SetMouseSprite(BITMAP* sprite, int focusX, int focusY) = 0;
    virtual void ShowMouse(BITMAP* target) = 0;
    virtual void PollMouse() = 0;     // refreshes mouse_x, mouse_y, mouse_b
    virtual void PollKeyboard() = 0;  // refreshes key[]
    virtual int KeyPressed() = 0;
    virtual int ReadKey() = 0;  // blocks until a key is there, like readkey
    virtual void ClearKeybuf() = 0;

    virtual void Rest(unsigned ms) = 0;
    // Shows backBuffer shifted by (dx, dy); the uncovered strip keeps what
    // the screen showed before.
    virtual void Present(BITMAP* frame, int dx, int dy) = 0;

    virtual void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) = 0;
    virtual void StopSample(SAMPLE* s) = 0;
    virtual int PlayMidi(MIDI* m, int loop) = 0;
    virtual void MidiSeek(int beat) = 0;
    virtual int MidiPos() = 0;  // beat position; negative when nothing plays
    virtual void StopMidi() = 0;

    virtual long SeedTime() = 0;  // time(NULL) on a real machine
};

// The one platform in use. Set before InitSystem runs.
extern Platform* platform;

// The real machine: Allegro's drivers, a window or full screen.
Platform* CreateAllegroPlatform();
