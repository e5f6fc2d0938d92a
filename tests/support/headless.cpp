#include "support/headless.h"

#include <algorithm>
#include <cstdio>

#include "app/data/paths.h"
#include "app/platform/allegro_lib.h"
#include "app/settings.h"
#include "app/system.h"
#include "support/assets.h"

HeadlessPlatform::HeadlessPlatform() = default;

HeadlessPlatform::~HeadlessPlatform() {
    if (screen == display_)
        screen = nullptr;
    if (display_)
        destroy_bitmap(display_);
}

void HeadlessPlatform::Add(const Event& e) {
    events_.push_back(e);
    eventsSorted_ = false;
    ApplyScript();  // what is due now is seen at once, as on a real machine
}

void HeadlessPlatform::MouseAt(int frame, int x, int y, int buttons) {
    Add({frame, Event::kMouse, x, y, buttons});
}

void HeadlessPlatform::PressKey(int frame, int scancode, int ascii) {
    Add({frame, Event::kPress, scancode, ascii, 0});
}

void HeadlessPlatform::HoldKey(int frame, int scancode, bool down) {
    Add({frame, Event::kHold, scancode, down ? 1 : 0, 0});
}

void HeadlessPlatform::ApplyScript() {
    if (!eventsSorted_) {
        // Only the events not yet applied may be reordered.
        std::stable_sort(events_.begin() + long(nextEvent_), events_.end(),
                         [](const Event& a, const Event& b) { return a.frame < b.frame; });
        eventsSorted_ = true;
    }
    while (nextEvent_ < events_.size() && events_[nextEvent_].frame <= clock_.frame()) {
        const Event& e = events_[nextEvent_++];
        switch (e.kind) {
            case Event::kMouse:
                mouse_x = e.a;
                mouse_y = e.b;
                mouse_b = e.c;
                break;
            case Event::kPress:
                keybuf_.push_back((e.a << 8) | (e.b & 0xFF));
                break;
            case Event::kHold:
                key[e.a] = char(e.b);
                break;
        }
    }
}

void HeadlessPlatform::AdvanceTime(unsigned ms) {
    clock_.Rest(ms);
}

void HeadlessPlatform::NextFrameWithoutPresent() {
    clock_.NextFrame(workMsPerFrame);
    if (onFrame) {
        onFrame(clock_.frame());
    }
    ApplyScript();
    if (clock_.frame() > maxFrames) {
        throw HeadlessTimeout("script ran out while the game waited for input");
    }
}

// The game's own bring-up of Allegro, without the clock and the sound: the
// same drivers, pixels and configuration as a real run.
void StartAllegro16() {
    std::string error;
    if (!StartAllegroLibrary(DataFile("patches.dat"), error)) {
        throw std::runtime_error(error);
    }
}

bool HeadlessPlatform::Startup(std::string&) {
    StartAllegro16();
    return true;
}

int HeadlessPlatform::SetGfxMode(int depth) {
    if ((depth == 16 && failDepth16) || (depth == 15 && failDepth15) ||
        (depth != 16 && depth != 15)) {
        return -1;
    }
    set_color_depth(depth);
    // Without a display Allegro leaves red and blue swapped; a real screen
    // is 5-6-5 (or 5-5-5), and the pictures must match it.
    _rgb_r_shift_16 = 11, _rgb_g_shift_16 = 5, _rgb_b_shift_16 = 0;
    _rgb_r_shift_15 = 10, _rgb_g_shift_15 = 5, _rgb_b_shift_15 = 0;
    if (display_)
        destroy_bitmap(display_);
    display_ = create_bitmap_ex(depth, kScreenW, kScreenH);
    clear_to_color(display_, 0);
    screen = display_;
    return 0;
}

void HeadlessPlatform::Message(const char* text) {
    std::fprintf(stderr, "%s\n", text);
}

void HeadlessPlatform::SetMouseSprite(BITMAP* sprite, int focusX, int focusY) {
    pointer_.SetSprite(sprite, focusX, focusY);
}

// Like Allegro: the pointer is drawn into the target bitmap, and what it
// covered comes back when the pointer is hidden again.
void HeadlessPlatform::ShowMouse(BITMAP* target) {
    pointer_.Show(target);
}

void HeadlessPlatform::PollMouse() {
    ApplyScript();
    if (clock_.PolledWithoutFrame()) {
        NextFrameWithoutPresent();
    }
}

void HeadlessPlatform::PollKeyboard() {
    PollMouse();
}

int HeadlessPlatform::KeyPressed() {
    PollMouse();
    return keybuf_.empty() ? 0 : 1;
}

int HeadlessPlatform::ReadKey() {
    ApplyScript();
    // Like the real machine: a request to end the program stops the wait.
    while (keybuf_.empty()) {
        if (QuitRequested())
            return 0;
        NextFrameWithoutPresent();
    }
    int k = keybuf_.front();
    keybuf_.pop_front();
    return k;
}

void HeadlessPlatform::ClearKeybuf() {
    ApplyScript();
    keybuf_.clear();
}

void HeadlessPlatform::Rest(unsigned ms) {
    AdvanceTime(ms);
}

// The display keeps what it shows, as a real window does.
void HeadlessPlatform::PresentAgain(BITMAP*) {
    ++framesShownAgain;
    FramePresented(0, 0);
}

void HeadlessPlatform::Present(BITMAP* frame, int dx, int dy) {
    blit(frame, display_, 0, 0, dx, dy, kScreenW, kScreenH);
    FramePresented(dx, dy);
}

void HeadlessPlatform::FramePresented(int dx, int dy) {
    presentOffsets.emplace_back(dx, dy);
    clock_.NextFrame(workMsPerFrame);
    // The script's input for the new frame shows at the next poll, as a real
    // poll_mouse would bring it, not in the middle of the frame just shown.
    if (onFrame) {
        onFrame(clock_.frame());
    }
    if (clock_.frame() > maxFrames) {
        throw HeadlessTimeout("screen still running after the frame limit");
    }
}

void HeadlessPlatform::PlaySample(SAMPLE* s, int, int, int, int loop) {
    sounds.push_back({true, s, loop, clock_.frame()});
}

void HeadlessPlatform::StopSample(SAMPLE* s) {
    sounds.push_back({false, s, 0, clock_.frame()});
}

int HeadlessPlatform::PlayMidi(MIDI* m, int) {
    midiPlaying_ = m != nullptr;
    midiSeekBeat_ = 0;
    midiStartMs_ = clock_.nowMs();
    return m ? 0 : -1;
}

void HeadlessPlatform::MidiSeek(int beat) {
    midiSeekBeat_ = beat;
    midiStartMs_ = clock_.nowMs();
}

int HeadlessPlatform::MidiPos() {
    if (midiPosOverride) {
        return midiPosOverride();
    }
    if (!midiPlaying_) {
        return -1;
    }
    long beat = midiSeekBeat_ + long(clock_.nowMs() - midiStartMs_) * midiBpm / 60000;
    if (beat >= midiLengthBeats) {
        midiPlaying_ = false;
        return -1;
    }
    return int(beat);
}

void HeadlessPlatform::StopMidi() {
    midiPlaying_ = false;
}

void HeadlessPlatform::PauseSounds(bool paused) {
    soundsPaused_ = paused;
}

// As the real machine does at F11: the kept setting follows the display.
void HeadlessPlatform::SwitchDisplay() {
    displaySwitches.push_back(clock_.frame());
    settings.fullscreen = !settings.fullscreen;
}

void MakeSpineBuffers() {
    if (!backBuffer)
        backBuffer = create_bitmap(kScreenW, kScreenH);
    if (!scratchBuffer)
        scratchBuffer = create_bitmap(kScreenW, kScreenH);
    clear_to_color(backBuffer, 0);
}

HeadlessPlatform* StartHeadless() {
    // Never destroyed at exit: Allegro's own clean-up runs first, and the
    // platform's bitmaps must not outlive it.
    static HeadlessPlatform* current = nullptr;
    delete current;
    current = new HeadlessPlatform();
    platform = current;
    std::string ignored;
    current->Startup(ignored);
    current->SetGfxMode(16);
    // Every run starts from a clean input state.
    mouse_x = mouse_y = mouse_b = 0;
    for (int i = 0; i < KEY_MAX; ++i)
        key[i] = 0;
    tickCount = 0;
    shakeFrames = 0;
    quitRequest = 0;
    windowFocused = 1;
    return current;
}
