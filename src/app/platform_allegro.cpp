// The platform of a real machine: every call is Allegro's own.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "app/paths.h"
#include "app/platform.h"
#include "app/system.h"

namespace {

class AllegroPlatform : public Platform {
  public:
    void Startup() override {
        allegro_init();
        // Without a MIDI synthesizer the intro tune plays on the patch set
        // that ships with the data.
        set_config_string("sound", "patches", DataFile("patches.dat").c_str());
        install_keyboard();
        install_mouse();
        install_timer();
        install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
    }
    int SetGfxMode(int depth) override {
        set_color_depth(depth);
        int rc = set_gfx_mode(GFX_AUTODETECT, 800, 600, 0, 0);
        if (rc >= 0) {
            install_int(TimerTick, 10);
        }
        return rc;
    }
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
        set_mouse_sprite(sprite);
        set_mouse_sprite_focus(fx, fy);
        set_mouse_speed(2, 2);
    }
    void ShowMouse(BITMAP* target) override { show_mouse(target); }
    void PollMouse() override { poll_mouse(); }
    void PollKeyboard() override { poll_keyboard(); }
    int KeyPressed() override { return keypressed(); }
    int ReadKey() override { return readkey(); }
    void ClearKeybuf() override { clear_keybuf(); }
    void Rest(unsigned ms) override { rest(ms); }
    void Present(BITMAP* frame, int dx, int dy) override {
        blit(frame, screen, 0, 0, dx, dy, 800, 600);
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
    long SeedTime() override { return long(std::time(nullptr)); }
};

}  // namespace

Platform* CreateAllegroPlatform() {
    static AllegroPlatform real;
    return &real;
}
