// Allegro started without a system driver of its own: the drivers it is
// given here do nothing by themselves. Time comes from one SDL timer that
// pumps Allegro's timer queue, keys from the platform's events.
#include "app/platform/allegro_lib.h"

#include <SDL.h>
#include <allegro/internal/aintern.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "app/platform/soundlock.h"
#include "app/system.h"

namespace {

// Allegro's mutexes must be recursive; SDL's are, on every system.
void* CreateMutex() {
    return SDL_CreateMutex();
}
void DestroyMutex(void* m) {
    SDL_DestroyMutex(static_cast<SDL_mutex*>(m));
}
void LockMutex(void* m) {
    SDL_LockMutex(static_cast<SDL_mutex*>(m));
}
void UnlockMutex(void* m) {
    SDL_UnlockMutex(static_cast<SDL_mutex*>(m));
}

// --- the clock ---

SDL_TimerID clockTimer = 0;
bool ticking = false;   // under SoundLock: a late callback after StopTicks does nothing
Uint64 clockLast = 0;   // performance counter at the last pump
Uint64 clockCarry = 0;  // counter units times the timer rate, not yet a whole timer tick
constexpr Uint32 kTickMs = 10;

// A wake later than this (a suspended machine, a debugger) does not make the
// tune and the game's clock race to catch up.
constexpr Uint64 kMostCatchUpSeconds = 1;

// Hands Allegro's timer queue the real time that passed since the last pump,
// in its own 1193181 Hz ticks, so a late wake catches up.
void PumpClock() {
    Uint64 now = SDL_GetPerformanceCounter();
    Uint64 freq = SDL_GetPerformanceFrequency();
    Uint64 elapsed = now - clockLast;
    clockLast = now;
    if (elapsed > kMostCatchUpSeconds * freq) {
        elapsed = kMostCatchUpSeconds * freq;
        clockCarry = 0;
    }
    Uint64 units = elapsed * Uint64(TIMERS_PER_SECOND) + clockCarry;
    clockCarry = units % freq;
    if (units / freq > 0) {
        _handle_timer_tick(int(units / freq));
    }
}

// Set while the program waits only for its player: nothing but the tune
// needs the clock then, and a wake every 10 ms would cost more than the
// whole wait.
SDL_atomic_t clockIdle;
constexpr Uint32 kIdleTickMs = 50;

Uint32 OnClock(Uint32, void*) {
    SoundLock lock;
    if (!ticking) {
        return 0;
    }
    PumpClock();
    return SDL_AtomicGet(&clockIdle) && midi_pos < 0 ? kIdleTickMs : kTickMs;
}

int TimerInit() {
    return 0;
}

void TimerExit() {
    StopTicks();
}

// Only Allegro itself rests through this (ureadkey's wait); the game's
// waits are the platform's.
void TimerRest(unsigned ms, void (*callback)()) {
    if (!callback) {
        SDL_Delay(ms);
        return;
    }
    Uint64 end = SDL_GetTicks64() + ms;
    while (SDL_GetTicks64() < end) {
        callback();
    }
}

// install_int left empty: Allegro keeps its own queue, which PumpClock runs.
TIMER_DRIVER pumpedTimer = {
    AL_ID('P', 'U', 'M', 'P'),  // id
    "",                         // name
    "",                         // desc
    "Pumped timer",             // ascii_name
    TimerInit,                  // init
    TimerExit,                  // exit
    nullptr,                    // install_int
    nullptr,                    // remove_int
    nullptr,                    // install_param_int
    nullptr,                    // remove_param_int
    nullptr,                    // can_simulate_retrace
    nullptr,                    // simulate_retrace
    TimerRest,                  // rest
};

// --- the keyboard ---

int KeyboardInit() {
    return 0;
}
void KeyboardExit() {}

// No poll hook: keys fed in are handled at once, and SDL repeats a held key
// itself, so Allegro's repeat timer stays off.
KEYBOARD_DRIVER fedKeyboard = {
    AL_ID('F', 'E', 'D', 'K'),  // id
    "",                         // name
    "",                         // desc
    "Fed keyboard",             // ascii_name
    FALSE,                      // autorepeat
    KeyboardInit,               // init
    KeyboardExit,               // exit
    nullptr,                    // poll
    nullptr,                    // set_leds
    nullptr,                    // set_rate
    nullptr,                    // wait_for_input
    nullptr,                    // stop_waiting_for_input
    nullptr,                    // scancode_to_ascii
    nullptr,                    // scancode_to_name
};

// Modifier keys and the flag each holds in key_shifts.
struct ShiftKey {
    int scancode;  // KEY_ code
    int flag;      // KB_*_FLAG
};
constexpr ShiftKey kShiftKeys[] = {{KEY_LSHIFT, KB_SHIFT_FLAG},  {KEY_RSHIFT, KB_SHIFT_FLAG},
                                   {KEY_LCONTROL, KB_CTRL_FLAG}, {KEY_RCONTROL, KB_CTRL_FLAG},
                                   {KEY_ALT, KB_ALT_FLAG},       {KEY_ALTGR, KB_ALT_FLAG},
                                   {KEY_LWIN, KB_LWIN_FLAG},     {KEY_RWIN, KB_RWIN_FLAG},
                                   {KEY_MENU, KB_MENU_FLAG},     {KEY_COMMAND, KB_COMMAND_FLAG}};

// key_shifts as the modifiers stand once `scancode` is `down`.
void UpdateShifts(int scancode, bool down) {
    int all = 0, held = 0;
    for (const ShiftKey& s : kShiftKeys) {
        all |= s.flag;
        if (s.scancode == scancode ? down : key[s.scancode] != 0) {
            held |= s.flag;
        }
    }
    _key_shifts = (_key_shifts & ~all) | held;
}

// --- the driver lists Allegro asks the system driver for ---

_DRIVER_INFO timerDrivers[] = {{pumpedTimer.id, &pumpedTimer, TRUE}, {0, nullptr, 0}};
_DRIVER_INFO keyboardDrivers[] = {{fedKeyboard.id, &fedKeyboard, TRUE}, {0, nullptr, 0}};
_DRIVER_INFO midiDrivers[] = {{MIDI_DIGMID, &midi_digmid, TRUE}, {0, nullptr, 0}};

_DRIVER_INFO* TimerDrivers() {
    return timerDrivers;
}
_DRIVER_INFO* KeyboardDrivers() {
    return keyboardDrivers;
}
_DRIVER_INFO* MidiDrivers() {
    return midiDrivers;
}

// Allegro's configuration, in memory only: a file it read its settings
// from would be written back at exit once anything changed them.
void SetConfiguration(const std::string& patchesPath) {
    std::string text = "[sound]\n";
    if (patchesPath.find_first_of("\r\n") == std::string::npos) {
        text += "patches = " + patchesPath + "\n";
    }
    set_config_data(text.data(), int(text.size()));
}

}  // namespace

// The sound driver's list (sound_sdl.cpp).
_DRIVER_INFO* DigiDrivers();

bool StartAllegroLibrary(const std::string& patchesPath, std::string& error) {
    static bool started = false;
    if (!started) {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
            error = std::string("Allegro cannot start: ") + allegro_error;
            return false;
        }
        started = true;
        system_none.create_mutex = CreateMutex;
        system_none.destroy_mutex = DestroyMutex;
        system_none.lock_mutex = LockMutex;
        system_none.unlock_mutex = UnlockMutex;
        system_none.timer_drivers = TimerDrivers;
        system_none.keyboard_drivers = KeyboardDrivers;
        system_none.digi_drivers = DigiDrivers;
        system_none.midi_drivers = MidiDrivers;
        MakeSoundLock();
        if (install_timer() != 0 || install_keyboard() != 0) {
            error = std::string("Allegro cannot start its timer or keyboard: ") + allegro_error;
            return false;
        }
    }
    SetConfiguration(patchesPath);
    set_color_depth(16);
    // Without a display Allegro leaves red and blue swapped; the window's
    // pictures are 5-6-5.
    _rgb_r_shift_16 = 11, _rgb_g_shift_16 = 5, _rgb_b_shift_16 = 0;
    return true;
}

bool StartTicks() {
    SoundLock lock;
    if (ticking) {
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_TIMER) != 0) {
        return false;
    }
    clockLast = SDL_GetPerformanceCounter();
    clockCarry = 0;
    LOCK_FUNCTION(TimerTick);
    LOCK_VARIABLE(tickCount);
    install_int(TimerTick, kTickMs);
    clockTimer = SDL_AddTimer(kTickMs, OnClock, nullptr);
    if (!clockTimer) {
        remove_int(TimerTick);
        SDL_QuitSubSystem(SDL_INIT_TIMER);
        return false;
    }
    ticking = true;
    return true;
}

void TicksIdle(bool idle) {
    SDL_AtomicSet(&clockIdle, idle ? 1 : 0);
    if (!idle) {
        CatchUpTicks();
    }
}

void CatchUpTicks() {
    SoundLock lock;
    if (ticking) {
        PumpClock();
    }
}

void StopTicks() {
    {
        SoundLock lock;
        if (!ticking) {
            return;
        }
        ticking = false;
        SDL_RemoveTimer(clockTimer);
        clockTimer = 0;
        remove_int(TimerTick);
    }
    // Outside the lock: the last user of SDL's timer waits for its thread,
    // which may be waiting for the lock in OnClock.
    SDL_QuitSubSystem(SDL_INIT_TIMER);
}

void FeedKeyDown(int scancode, int character) {
    if (!keyboard_driver || scancode < 0 || scancode >= KEY_MAX) {
        return;
    }
    // As Allegro's X11 keyboard: a modifier puts nothing in the buffer, and
    // with Alt held only the scan code counts.
    int code = character;
    if (scancode >= KEY_MODIFIERS) {
        code = -1;
    } else if (_key_shifts & KB_ALT_FLAG) {
        code = 0;
    }
    if (scancode >= KEY_MODIFIERS) {
        UpdateShifts(scancode, true);
    }
    _handle_key_press(code, scancode);
}

void FeedKeyUp(int scancode) {
    if (!keyboard_driver || scancode <= 0 || scancode >= KEY_MAX) {
        return;
    }
    if (scancode >= KEY_MODIFIERS) {
        UpdateShifts(scancode, false);
    }
    _handle_key_release(scancode);
}
