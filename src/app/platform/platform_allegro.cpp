// The platform of a real machine: Allegro's drivers in a window or on the
// full screen.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/data/paths.h"
#include "app/platform/platform.h"
#include "app/settings.h"
#include "app/system.h"

// The X11 part of Allegro; it needs allegro.h (from platform.h) first.
#include <xalleg.h>

namespace {

constexpr const char* kWindowTitle = "Fluffernauts";

volatile int toggleRequested = 0;

void OnCloseButton() {
    quitRequest = kQuitByClose;
}
END_OF_FUNCTION(OnCloseButton)

void OnSwitchOut() {
    windowFocused = 0;
}
END_OF_FUNCTION(OnSwitchOut)

void OnSwitchIn() {
    windowFocused = 1;
}
END_OF_FUNCTION(OnSwitchIn)

// F11 belongs to the window, not to the screens: it never reaches the key
// buffer, so it cannot end a page or the intro.
int OnKey(int k) {
    if ((k >> 8) == KEY_F11) {
        toggleRequested = 1;
        return 0;
    }
    return k;
}
END_OF_FUNCTION(OnKey)

void OnSignal(int sig) {
    quitRequest = sig;
}

// Allegro's own handlers take the display down from inside the signal and
// crash now and then; the screens end in order instead. A second signal of
// the same kind ends the program at once (SA_RESETHAND).
void CatchSignals() {
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sa.sa_flags = SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
    }
}

// The sound libraries talk to the terminal while they look for a device
// that a machine may well not have; the game is simply silent then.
int InstallSoundQuietly() {
    std::fflush(stderr);
    int saved = dup(STDERR_FILENO);
    int null = open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0) {
        dup2(null, STDERR_FILENO);
    }
    int rc = install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
    if (saved >= 0 && null >= 0) {
        dup2(saved, STDERR_FILENO);
    }
    if (null >= 0) {
        close(null);
    }
    if (saved >= 0) {
        close(saved);
    }
    return rc;
}

class AllegroPlatform : public Platform {
  public:
    explicit AllegroPlatform(bool fullscreen) : fullscreen_(fullscreen) {}

    bool Startup(std::string& error) override {
        // Named before its window exists: the title bar, the task bar and
        // the desktop's menu entry (by the window's class) all agree.
        xwin_set_window_name(kWindowTitle, kWindowTitle);
        if (allegro_init() != 0) {
            const char* display = std::getenv("DISPLAY");
            error = std::string("Fluffernauts needs a graphical display (X11): ") +
                    (display && display[0] ? "cannot open display \"" + std::string(display) + "\""
                                           : std::string("DISPLAY is not set"));
            return false;
        }
        set_window_title(kWindowTitle);
        CatchSignals();
        if (install_keyboard() != 0) {
            error = std::string("Fluffernauts needs a keyboard: ") + allegro_error;
            return false;
        }
        if (install_mouse() < 0) {
            error = std::string("Fluffernauts needs a mouse: ") + allegro_error;
            return false;
        }
        if (install_timer() != 0) {
            error = std::string("Fluffernauts needs a system timer: ") + allegro_error;
            return false;
        }
        LOCK_VARIABLE(toggleRequested);
        LOCK_FUNCTION(OnKey);
        keyboard_callback = OnKey;
        // Without a MIDI synthesizer the intro tune plays on the patch set
        // that ships with the data.
        set_config_string("sound", "patches", DataFile("patches.dat").c_str());
        InstallSoundQuietly();
        return true;
    }

    int SetGfxMode(int depth) override {
        depth_ = depth;
        set_color_depth(depth);
        int rc = -1;
        if (fullscreen_) {
            rc = set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, 800, 600, 0, 0);
            if (rc < 0) {
                std::fprintf(stderr,
                             "Fluffernauts: no full screen here (%s); playing in a window\n",
                             allegro_error);
                fullscreen_ = false;
            }
        }
        if (rc < 0) {
            rc = set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0);
        }
        if (rc >= 0) {
            AfterModeSet();
        }
        return rc;
    }

    void StartTimer() override { install_int(TimerTick, 10); }
    void Message(const char* text) override {
        // The dialog has its own window, which gets no key or click while
        // the game's screen holds the input, and is cut off at a width that
        // suits the screen: the screen goes first, and the lines are wrapped.
        constexpr size_t kColumns = 60;
        std::string wrapped;
        size_t column = 0;
        for (const char* p = text; *p;) {
            size_t word = std::strcspn(p, " \n");
            if (column > 0 && column + 1 + word > kColumns) {
                wrapped += '\n';
                column = 0;
            } else if (column > 0) {
                wrapped += ' ';
                ++column;
            }
            wrapped.append(p, word);
            column += word;
            p += word;
            if (*p == '\n') {
                wrapped += '\n';
                column = 0;
            }
            p += *p ? 1 : 0;
        }
        // Also where no dialog can be shown, and for the player who started
        // the game from a terminal.
        std::fprintf(stderr, "%s\n", text);
        if (screen) {
            show_mouse(nullptr);
            set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        }
        allegro_message("%s\n", wrapped.c_str());
    }
    void SetVolume(int digi, int midi) override { set_volume(digi, midi); }
    void SetMouseSprite(BITMAP* sprite, int fx, int fy) override {
        sprite_ = sprite;
        focusX_ = fx;
        focusY_ = fy;
        set_mouse_sprite(sprite);
        set_mouse_sprite_focus(fx, fy);
        set_mouse_speed(2, 2);
    }
    void ShowMouse(BITMAP* target) override { show_mouse(target); }
    void PollMouse() override { poll_mouse(); }
    void PollKeyboard() override { poll_keyboard(); }
    int KeyPressed() override { return keypressed(); }
    int ReadKey() override {
        while (!keypressed()) {
            if (QuitRequested()) {
                return 0;
            }
            rest(5);
        }
        return readkey();
    }
    void ClearKeybuf() override { clear_keybuf(); }
    void Rest(unsigned ms) override { rest(ms); }
    void Present(BITMAP* frame, int dx, int dy) override {
        if (toggleRequested) {
            toggleRequested = 0;
            ToggleFullscreen();
        }
        if (screen) {
            blit(frame, screen, 0, 0, dx, dy, 800, 600);
        }
        // The window keeps its picture; Allegro redraws it when uncovered.
        showsLastFrame_ = screen && dx == 0 && dy == 0;
    }
    void PresentAgain(BITMAP* frame) override {
        if (toggleRequested || !showsLastFrame_) {
            Present(frame, 0, 0);
        }
    }
    void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) override {
        if (s)
            play_sample(s, vol, pan, freq, loop);
    }
    void StopSample(SAMPLE* s) override {
        if (s)
            stop_sample(s);
    }
    int PlayMidi(MIDI* m, int loop) override { return play_midi(m, loop); }
    void MidiSeek(int beat) override { midi_seek(beat); }
    int MidiPos() override { return midi_pos; }
    void StopMidi() override { stop_midi(); }
    void PauseSounds(bool paused) override {
        if (paused) {
            held_.clear();
            for (int v = 0; v < 256; ++v) {
                if (voice_check(v) && voice_get_position(v) >= 0) {
                    voice_stop(v);
                    held_.push_back(v);
                }
            }
            midi_pause();
        } else {
            for (int v : held_) {
                voice_start(v);
            }
            held_.clear();
            midi_resume();
        }
    }
    long SeedTime() override { return long(std::time(nullptr)); }
    // As F11 itself: the switch happens at the next frame.
    void SwitchDisplay() override { toggleRequested = 1; }

  private:
    void AfterModeSet() {
        showsLastFrame_ = false;  // a new mode starts with an empty screen
        set_window_title(kWindowTitle);
        LOCK_FUNCTION(OnCloseButton);
        set_close_button_callback(OnCloseButton);
        // Keep running in the background, but hear about it: a game pauses.
        LOCK_VARIABLE(windowFocused);
        LOCK_FUNCTION(OnSwitchOut);
        LOCK_FUNCTION(OnSwitchIn);
        set_display_switch_mode(SWITCH_BACKGROUND);
        set_display_switch_callback(SWITCH_OUT, OnSwitchOut);
        set_display_switch_callback(SWITCH_IN, OnSwitchIn);
    }

    // The game's pictures all live in memory bitmaps, so a new mode loses
    // nothing but the screen itself, which the next frame fills.
    void ToggleFullscreen() {
        bool wanted = !fullscreen_;
        show_mouse(nullptr);
        set_color_depth(depth_);
        int card = wanted ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
        if (set_gfx_mode(card, 800, 600, 0, 0) == 0) {
            fullscreen_ = wanted;
            settings.fullscreen = wanted;
        } else {
            std::fprintf(stderr, "Fluffernauts: no %s here (%s); staying as it was\n",
                         wanted ? "full screen" : "window", allegro_error);
            if (set_gfx_mode(fullscreen_ ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED, 800,
                             600, 0, 0) != 0 &&
                set_gfx_mode(GFX_AUTODETECT_WINDOWED, 800, 600, 0, 0) != 0) {
                std::fprintf(stderr, "Fluffernauts: the display is gone (%s)\n", allegro_error);
                quitRequest = kQuitByError;
                return;
            }
        }
        AfterModeSet();
        if (sprite_) {
            set_mouse_sprite(sprite_);
            set_mouse_sprite_focus(focusX_, focusY_);
        }
    }

    bool fullscreen_;
    int depth_ = 16;
    BITMAP* sprite_ = nullptr;
    int focusX_ = 0, focusY_ = 0;
    std::vector<int> held_;
    bool showsLastFrame_ = false;
};

}  // namespace

Platform* CreateAllegroPlatform(bool fullscreen) {
    static AllegroPlatform real(fullscreen);
    return &real;
}
