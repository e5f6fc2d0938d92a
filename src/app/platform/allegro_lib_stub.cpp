// A stand-in for Allegro as a library until its real start-up is in the
// tree: Allegro under SYSTEM_NONE with a keyboard driver fed by the
// platform and an SDL timer for the tick. No sound: the game is silent, as
// it is on a machine without an audio device.
#include <SDL.h>
#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>

#include <cerrno>
#include <cstdlib>

#include "app/platform/allegro_lib.h"
#include "app/system.h"

namespace {

// Keys come from the platform, with the desktop's own repeat.
int KeyboardInit() {
    return 0;
}
void KeyboardExit() {}

KEYBOARD_DRIVER fedKeyboard = {
    AL_ID('S', 'D', 'L', 'K'),  // id
    EMPTY_STRING,               // name
    EMPTY_STRING,               // desc
    "SDL keyboard",             // ascii_name
    TRUE,                       // autorepeat: the desktop repeats keys itself
    KeyboardInit,               // init
    KeyboardExit,               // exit
    nullptr,                    // poll: fed, not polled
    nullptr,                    // set_leds
    nullptr,                    // set_rate
    nullptr,                    // wait_for_input
    nullptr,                    // stop_waiting_for_input
    nullptr,                    // scancode_to_ascii
    nullptr,                    // scancode_to_name
};

_DRIVER_INFO keyboardDrivers[] = {
    {AL_ID('S', 'D', 'L', 'K'), &fedKeyboard, TRUE},
    {0, nullptr, 0},
};

_DRIVER_INFO* KeyboardDrivers() {
    return keyboardDrivers;
}

// Allegro's keyboard wants a timer for its own key repeat, which the fed
// keyboard never uses: a timer queue that nothing drives.
int TimerInit() {
    return 0;
}
void TimerExit() {}

TIMER_DRIVER idleTimer = {
    AL_ID('I', 'D', 'L', 'E'),  // id
    EMPTY_STRING,               // name
    EMPTY_STRING,               // desc
    "idle timer",               // ascii_name
    TimerInit,                  // init
    TimerExit,                  // exit
    nullptr,                    // install_int: Allegro's own queue
    nullptr,                    // remove_int
    nullptr,                    // install_param_int
    nullptr,                    // remove_param_int
    nullptr,                    // can_simulate_retrace
    nullptr,                    // simulate_retrace
    nullptr,                    // rest
};

_DRIVER_INFO timerDrivers[] = {
    {AL_ID('I', 'D', 'L', 'E'), &idleTimer, TRUE},
    {0, nullptr, 0},
};

_DRIVER_INFO* TimerDrivers() {
    return timerDrivers;
}

SDL_TimerID tickTimer = 0;

Uint32 OnTick(Uint32 interval, void*) {
    TimerTick();
    return interval;
}

}  // namespace

bool StartAllegroLibrary(const std::string&, std::string& error) {
    static bool started = false;
    if (!started) {
        if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
            error = "Allegro cannot start";
            return false;
        }
        started = true;
        system_none.create_mutex = _unix_create_mutex;
        system_none.destroy_mutex = _unix_destroy_mutex;
        system_none.lock_mutex = _unix_lock_mutex;
        system_none.unlock_mutex = _unix_unlock_mutex;
        system_none.timer_drivers = TimerDrivers;
        system_none.keyboard_drivers = KeyboardDrivers;
        if (install_keyboard() != 0) {
            error = "Allegro has no keyboard";
            return false;
        }
    }
    set_color_depth(16);
    _rgb_r_shift_16 = 11, _rgb_g_shift_16 = 5, _rgb_b_shift_16 = 0;
    return true;
}

bool StartTicks() {
    if (!tickTimer && SDL_InitSubSystem(SDL_INIT_TIMER) == 0) {
        tickTimer = SDL_AddTimer(10, OnTick, nullptr);
    }
    return tickTimer != 0;
}

void StopTicks() {
    if (tickTimer) {
        SDL_RemoveTimer(tickTimer);
        tickTimer = 0;
    }
}

bool StartSound() {
    return false;
}
void StopSound() {}
void SoundSetVolume(int, int) {}
void SoundPlaySample(SAMPLE*, int, int, int, int) {}
void SoundStopSample(SAMPLE*) {}
int SoundPlayMidi(MIDI*, int) {
    return -1;
}
void SoundMidiSeek(int) {}
int SoundMidiPos() {
    return -1;
}
void SoundStopMidi() {}
void SoundPause(bool) {}

void FeedKeyDown(int scancode, int character) {
    _handle_key_press(character, scancode);
}

void FeedKeyUp(int scancode) {
    _handle_key_release(scancode);
}
