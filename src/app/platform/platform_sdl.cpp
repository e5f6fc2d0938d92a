// The platform of a real machine: SDL's window, input, clock and audio,
// with Allegro as a library for the pictures and the sound.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/data/paths.h"
#include "app/data/safefile.h"
#include "app/platform/allegro_lib.h"
#include "app/platform/os.h"
#include "app/platform/platform.h"
#include "app/platform/sdl_input.h"
#include "app/platform/sdl_window.h"
#include "app/settings.h"
#include "app/system.h"

#ifndef FLUFF_APP_ID
#define FLUFF_APP_ID "fluffernauts"
#endif

namespace {

constexpr const char* kWindowTitle = "Fluffernauts";
// The window's class on X11, as the menu entry's StartupWMClass names it.
constexpr const char* kWindowClass = "Fluffernauts";
// The painted icon, as the window wants it: 64x64 pixels, 8-bit RGBA.
constexpr int kIconSide = 64;

// Mouse buttons as Allegro's mouse_b bits, and as codes of the latch.
struct Button {
    int sdl;  // SDL's button number
    int bit;  // its bit in mouse_b
};
constexpr Button kButtons[] = {
    {SDL_BUTTON_LEFT, 1},
    {SDL_BUTTON_RIGHT, 2},
    {SDL_BUTTON_MIDDLE, 4},
};

// The message box is as wide as its longest line: long lines are wrapped.
std::string Wrapped(const char* text, size_t columns) {
    std::string out;
    size_t column = 0;
    for (const char* p = text; *p;) {
        size_t word = std::strcspn(p, " \n");
        if (column > 0 && column + 1 + word > columns) {
            out += '\n';
            column = 0;
        } else if (column > 0) {
            out += ' ';
            ++column;
        }
        out.append(p, word);
        column += word;
        p += word;
        if (*p == '\n') {
            out += '\n';
            column = 0;
        }
        p += *p ? 1 : 0;
    }
    return out;
}

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// The display server the player's session offers, Wayland first; SDL's own
// choice when the player named one in SDL_VIDEODRIVER.
bool OpenVideo(std::string& error) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x11 = std::getenv("DISPLAY");
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    std::vector<const char*> drivers;
    if (chosen && chosen[0]) {
        drivers.push_back(nullptr);
    } else if (kWindows) {
        drivers.push_back("windows");
    } else {
        if (wayland && wayland[0]) {
            drivers.push_back("wayland");
        }
        if (x11 && x11[0]) {
            drivers.push_back("x11");
        }
    }
    for (const char* driver : drivers) {
        if (driver) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        }
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            return true;
        }
    }
    error = "Fluffernauts needs a graphical display (X11 or Wayland): ";
    if (kWindows) {
        error = std::string("Fluffernauts cannot open a window: ") + SDL_GetError();
    } else if (drivers.empty()) {
        error += "neither DISPLAY nor WAYLAND_DISPLAY is set";
    } else if (x11 && x11[0]) {
        error += "cannot open display \"" + std::string(x11) + "\"";
    } else {
        error += SDL_GetError();
    }
    return false;
}

class SdlPlatform : public Platform {
  public:
    bool Startup(std::string& error) override {
        // Before anything starts that may write a file (the display's
        // libraries keep caches) under a file-size limit.
        CatchQuitSignals();
        // SDL reads these at start only, from the environment.
        SetEnvironmentDefault("SDL_VIDEO_X11_WMCLASS", kWindowClass);
        SetEnvironmentDefault("SDL_VIDEO_WAYLAND_WMCLASS", FLUFF_APP_ID);
        // The game ends in order on a signal; SDL would only post a quit.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // A game pauses when the window loses the focus; it stays in view.
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        SDL_SetHint(SDL_HINT_APP_NAME, kWindowTitle);
        if (!OpenVideo(error)) {
            return false;
        }
        std::atexit(SDL_Quit);
        if (!StartAllegroLibrary(DataFile("patches.dat"), error)) {
            error = "Fluffernauts cannot start: " + error;
            return false;
        }
        StartSound();
        return true;
    }

    int SetGfxMode(int depth) override {
        // The pictures are 5-6-5; the window takes them as they are.
        if (depth != 16) {
            return -1;
        }
        if (!window_.window()) {
            std::string error;
            if (!window_.Open(settings, kWindowTitle, error)) {
                std::fprintf(stderr, "Fluffernauts: %s\n", error.c_str());
                return -1;
            }
            SetIcon();
        }
        set_color_depth(16);
        _rgb_r_shift_16 = 11, _rgb_g_shift_16 = 5, _rgb_b_shift_16 = 0;
        if (!kept_) {
            kept_ = create_bitmap(kScreenW, kScreenH);
            clear_to_color(kept_, 0);
        }
        screen = kept_;
        return 0;
    }

    void StartTimer() override { StartTicks(); }

    void Message(const char* text) override {
        // Also for the player who started the game from a terminal, and
        // where no box can be shown.
        std::fprintf(stderr, "%s\n", text);
        if (!SDL_WasInit(SDL_INIT_VIDEO) || QuitRequested()) {
            return;
        }
        if (window_.window()) {
            SDL_SetWindowGrab(window_.window(), SDL_FALSE);
            SDL_HideWindow(window_.window());
        }
        // The box lives in this process and goes with it.
        MessageBoxShowing(true);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, kWindowTitle, Wrapped(text, 60).c_str(),
                                 nullptr);
        MessageBoxShowing(false);
    }

    void SetVolume(int digi, int midi) override { SoundSetVolume(digi, midi); }

    void SetMouseSprite(BITMAP* sprite, int fx, int fy) override {
        sprite_ = sprite;
        focusX_ = fx;
        focusY_ = fy;
    }

    // As Allegro draws its pointer: into the target, and what it covered
    // comes back when the pointer leaves or is hidden.
    void ShowMouse(BITMAP* target) override {
        HidePointer();
        target_ = target;
        DrawPointer();
    }

    void PollMouse() override {
        Pump(0);
        LookAtPointer(true);
    }
    void PollKeyboard() override {
        Pump(0);
        LookAtKeys();
        LookAtPointer(false);
    }
    int KeyPressed() override {
        Pump(0);
        LookAtKeys();
        LookAtPointer(false);
        return keypressed();
    }
    int ReadKey() override {
        while (!keypressed()) {
            if (QuitRequested()) {
                return 0;
            }
            Wait(10);
        }
        return readkey();
    }
    void ClearKeybuf() override { clear_keybuf(); }
    // A rest paces a frame or a step of a screen, which reads the input
    // once when it is over: waking for every event meanwhile (a moving
    // pointer sends a hundred or more a second) only cost time. The press
    // latches keep what a short press or click did until then.
    void Rest(unsigned ms) override {
        Uint64 end = SDL_GetTicks64() + ms;
        for (Uint64 now = SDL_GetTicks64(); now < end; now = SDL_GetTicks64()) {
            SDL_Delay(Uint32(end - now));
        }
        lastLook_ = 0;
        Pump(0);
        CatchUpTicks();
    }
    void AwaitInput(unsigned ms) override {
        TicksIdle(true);
        unsigned handled = eventsHandled_;
        int source = window_.EventSource();
        if (source < 0) {
            Pump(int(ms));
        } else {
            Pump(0);
            if (handled == eventsHandled_ && WaitReadable(source, int(ms))) {
                lastLook_ = 0;
                Pump(0);
            }
        }
        TicksIdle(false);
    }

    void Present(BITMAP* frame, int dx, int dy) override {
        // Some screens present the same picture every pass; the window
        // already shows it.
        if (dx == 0 && dy == 0 && keptIsFrame_ && SameAsKept(frame)) {
            return;
        }
        // A game in play presents a new frame every pass and another within
        // a frame's time: the window's own pixels are scaled straight from
        // it, and an uncovered or resized window shows the game's picture
        // as it stands until that next frame. The copy kept for still
        // screens (to see that nothing changed, and to show them again)
        // cost a tenth of a game's time.
        if (dx == 0 && dy == 0 && pointerConfined && !window_.usesGpu()) {
            window_.Show(frame);
            keptIsFrame_ = false;
            keptStale_ = true;
            return;
        }
        // A shaken frame leaves a strip uncovered: of the frame before when
        // the copy holds it, else of this one.
        if (keptStale_ && (dx != 0 || dy != 0)) {
            blit(frame, kept_, 0, 0, 0, 0, kScreenW, kScreenH);
        }
        blit(frame, kept_, 0, 0, dx, dy, kScreenW, kScreenH);
        window_.Show(kept_);
        keptIsFrame_ = dx == 0 && dy == 0;
        keptStale_ = false;
    }
    void PresentAgain(BITMAP* frame) override {
        // The window shows it already, and shows it again by itself when
        // uncovered or resized.
        if (!keptIsFrame_) {
            Present(frame, 0, 0);
        }
    }

    void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) override {
        if (s) {
            SoundPlaySample(s, vol, pan, freq, loop);
        }
    }
    void StopSample(SAMPLE* s) override {
        if (s) {
            SoundStopSample(s);
        }
    }
    int PlayMidi(MIDI* m, int loop) override { return SoundPlayMidi(m, loop); }
    void MidiSeek(int beat) override { SoundMidiSeek(beat); }
    int MidiPos() override { return SoundMidiPos(); }
    void StopMidi() override { SoundStopMidi(); }
    void PauseSounds(bool paused) override { SoundPause(paused); }
    long SeedTime() override { return long(std::time(nullptr)); }
    void DetachMouse() override { detached_ = true; }
    void SwitchDisplay() override {
        if (window_.window() && window_.ToggleFullscreen()) {
            settings.fullscreen = window_.fullscreen();
        }
    }

  private:
    bool SameAsKept(BITMAP* frame) const {
        for (int y = 0; y < kScreenH; ++y) {
            if (std::memcmp(frame->line[y], kept_->line[y], kScreenW * 2) != 0) {
                return false;
            }
        }
        return true;
    }

    void SetIcon() {
        const size_t iconBytes = size_t(kIconSide) * kIconSide * 4;
        std::string rgba, error;
        bool missing = false;
        // Exactly one icon's bytes, or no icon.
        if (!ReadWholeFile(DataFile("icon.rgba"), iconBytes, rgba, missing, error) ||
            rgba.size() != iconBytes) {
            return;
        }
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
            &rgba[0], kIconSide, kIconSide, 32, kIconSide * 4, SDL_PIXELFORMAT_RGBA32);
        if (icon) {
            SDL_SetWindowIcon(window_.window(), icon);
            SDL_FreeSurface(icon);
        }
    }

    // A wait for a key takes the desktop's events as they come, and sleeps
    // between them.
    void Wait(unsigned ms) {
        Uint64 end = SDL_GetTicks64() + ms;
        int source = window_.EventSource();
        if (source < 0) {
            do {
                Uint64 now = SDL_GetTicks64();
                Pump(now < end ? int(end - now) : 0);
            } while (SDL_GetTicks64() < end);
            CatchUpTicks();
            return;
        }
        // Where the display server's connection can be watched, a wait
        // that nothing interrupts is one sleep: SDL's own wait looks at the
        // connection a dozen times each time it wakes, which in the menu,
        // a hundred times a second, was most of what waiting cost. Once
        // pumped, nothing of the server's waits in SDL's or Xlib's queues.
        Pump(0);
        for (Uint64 now = SDL_GetTicks64(); now < end; now = SDL_GetTicks64()) {
            if (WaitReadable(source, int(end - now))) {
                lastLook_ = 0;
                Pump(0);
            }
        }
        // The clock's thread may sleep longer after an idle wait; what
        // follows a rest sees the time that passed.
        CatchUpTicks();
    }

    // Each look at the display server costs a few system calls: one look a
    // pump, however many events it brings, and none for the polls that
    // follow a look within the same millisecond (a wait that just ended).
    void Pump(int waitMs) {
        SDL_Event e;
        if (waitMs > 0) {
            if (SDL_WaitEventTimeout(&e, waitMs)) {
                Handle(e);
            }
            lastLook_ = SDL_GetTicks64();
        } else if (SDL_GetTicks64() != lastLook_) {
            SDL_PumpEvents();
            lastLook_ = SDL_GetTicks64();
        }
        while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            Handle(e);
        }
        FeedPendingKey();
        bool confine = pointerConfined && windowFocused && window_.window();
        if (confine != confined_) {
            confined_ = confine;
            SDL_SetWindowGrab(window_.window(), confine ? SDL_TRUE : SDL_FALSE);
        }
    }

    void Handle(const SDL_Event& e) {
        ++eventsHandled_;
        // The character of a key arrives as text right after the key.
        if (e.type != SDL_TEXTINPUT) {
            FeedPendingKey();
        }
        switch (e.type) {
            case SDL_QUIT:
                RequestClose();
                break;
            case SDL_WINDOWEVENT:
                HandleWindow(e.window);
                break;
            case SDL_KEYDOWN:
                KeyDown(e.key);
                break;
            case SDL_TEXTINPUT:
                if (pending_) {
                    FeedKeyDown(pending_, FirstCodePoint(e.text.text));
                    pending_ = 0;
                }
                break;
            case SDL_KEYUP: {
                int code = AllegroKey(e.key.keysym.scancode, e.key.keysym.sym);
                if (code && code < KEY_MODIFIERS && keys_.Up(code)) {
                    FeedKeyUp(code);
                }
                break;
            }
            case SDL_MOUSEMOTION:
                pointerX_ = e.motion.x;
                pointerY_ = e.motion.y;
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                pointerX_ = e.button.x;
                pointerY_ = e.button.y;
                for (int i = 0; i < 3; ++i) {
                    if (kButtons[i].sdl != e.button.button) {
                        continue;
                    }
                    if (e.type == SDL_MOUSEBUTTONDOWN) {
                        buttons_.Down(i + 1);
                    } else {
                        buttons_.Up(i + 1);
                    }
                }
                break;
            default:
                break;
        }
    }

    void HandleWindow(const SDL_WindowEvent& w) {
        switch (w.event) {
            case SDL_WINDOWEVENT_CLOSE:
                RequestClose();
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                windowFocused = 1;
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                windowFocused = 0;
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                window_.ShowAgain();
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                window_.Resized();
                KeepWindowSize();
                break;
            default:
                break;
        }
    }

    void RequestClose() {
        if (!quitRequest) {
            quitRequest = kQuitByClose;
        }
    }

    void KeyDown(const SDL_KeyboardEvent& k) {
        // F11 belongs to the window, not to the screens: it never reaches
        // the key buffer, so it cannot end a page or the intro.
        if (k.keysym.scancode == SDL_SCANCODE_F11) {
            if (!k.repeat && window_.ToggleFullscreen()) {
                settings.fullscreen = window_.fullscreen();
            }
            return;
        }
        int code = AllegroKey(k.keysym.scancode, k.keysym.sym);
        // Shift, Control and the like type nothing and the game reads none;
        // in the key buffer they would end a page that waits for a key.
        if (!code || code >= KEY_MODIFIERS) {
            return;
        }
        keys_.Down(code);
        pending_ = code;
        pendingCharacter_ = ControlCharacter(k.keysym.scancode);
    }

    void FeedPendingKey() {
        if (pending_) {
            FeedKeyDown(pending_, pendingCharacter_);
            pending_ = 0;
        }
    }

    // The size the player left the window at is kept; the size the game
    // chose by itself is not, so that another desktop gets its own.
    void KeepWindowSize() {
        if (window_.fullscreen()) {
            return;
        }
        PixelSize now = window_.PixelsNow();
        Settings chosen = settings;
        chosen.windowW = chosen.windowH = 0;
        SDL_Rect area = {0, 0, now.w, now.h};
        SDL_GetDisplayUsableBounds(0, &area);
        PixelSize ruled = StartWindowSize(chosen, area.w, area.h);
        bool ownChoice = now.w != ruled.w || now.h != ruled.h;
        settings.windowW = ownChoice ? now.w : 0;
        settings.windowH = ownChoice ? now.h : 0;
    }

    void LookAtKeys() {
        for (int code : keys_.Look()) {
            FeedKeyUp(code);
        }
    }

    // Where the game sees the pointer: the picture's pixel under it.
    void LookAtPointer(bool buttonsToo) {
        if (detached_ || !window_.window()) {
            return;
        }
        if (buttonsToo) {
            buttons_.Look();
            int b = 0;
            for (int i = 0; i < 3; ++i) {
                b |= buttons_.Shown(i + 1) ? kButtons[i].bit : 0;
            }
            mouse_b = b;
        }
        if (pointerX_ < 0) {
            return;
        }
        int px = 0, py = 0;
        bool over = window_.ToPicture(pointerX_, pointerY_, px, py);
        // The game's crosshair stands for the pointer over the picture.
        if (over != systemPointerHidden_) {
            systemPointerHidden_ = over;
            SDL_ShowCursor(over ? SDL_DISABLE : SDL_ENABLE);
        }
        if (px != mouse_x || py != mouse_y) {
            HidePointer();
            mouse_x = px;
            mouse_y = py;
            DrawPointer();
        }
    }

    void HidePointer() {
        if (target_ && under_) {
            blit(under_, target_, 0, 0, underX_, underY_, under_->w, under_->h);
        }
    }

    void DrawPointer() {
        if (!target_ || !sprite_) {
            return;
        }
        if (!under_ || under_->w != sprite_->w || under_->h != sprite_->h) {
            if (under_) {
                destroy_bitmap(under_);
            }
            under_ = create_bitmap(sprite_->w, sprite_->h);
        }
        underX_ = mouse_x - focusX_;
        underY_ = mouse_y - focusY_;
        blit(target_, under_, underX_, underY_, 0, 0, sprite_->w, sprite_->h);
        draw_sprite(target_, sprite_, underX_, underY_);
    }

    GameWindow window_;
    BITMAP* kept_ = nullptr;  // what the window shows, for uncovering
    bool keptIsFrame_ = false;
    bool keptStale_ = false;  // the window was last shown a frame not copied
    PressLatch keys_, buttons_;
    int pending_ = 0;  // a key whose character may follow as text
    int pendingCharacter_ = 0;
    int pointerX_ = -1, pointerY_ = -1;  // in the window's coordinates
    Uint64 lastLook_ = 0;                // when the display server was last asked
    bool systemPointerHidden_ = false;
    bool confined_ = false;
    bool detached_ = false;
    unsigned eventsHandled_ = 0;  // an event came while a wait looked away
    BITMAP* sprite_ = nullptr;
    int focusX_ = 0, focusY_ = 0;
    BITMAP* target_ = nullptr;
    BITMAP* under_ = nullptr;
    int underX_ = 0, underY_ = 0;
};

}  // namespace

Platform* CreateSdlPlatform() {
    static SdlPlatform real;
    return &real;
}
