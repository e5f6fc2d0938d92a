// A platform without a machine: input comes from a script, time is
// simulated, frames land in a memory "screen" that a test can look at, or a
// picture scene save as a PNG. Everything else in the game runs unchanged.
//
// The script is keyed by presented frames: what a test schedules for frame
// N becomes visible at the first poll after N frames have been presented
// (frame 0 = at once).
#pragma once

#include <allegro.h>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/platform/platform.h"
#include "app/platform/pointer.h"
#include "app/platform/simclock.h"

// Thrown when a script runs out: a screen kept looping past the frame limit
// or waited for a key that the script never sends.
struct HeadlessTimeout : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class HeadlessPlatform : public Platform {
  public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    // --- script ---
    void MouseAt(int frame, int x, int y, int buttons = 0);
    void PressKey(int frame, int scancode, int ascii = 0);
    void HoldKey(int frame, int scancode, bool down = true);
    // Called once for every frame the simulated machine moves on: after each
    // presented frame, and also in waits that show nothing (a blocking key
    // read, a loop that only polls), so a script that reacts per frame
    // cannot stall them.
    std::function<void(int frame)> onFrame;

    int maxFrames = 20000;         // a screen running longer is a failure
    unsigned workMsPerFrame = 10;  // simulated CPU time of one presented frame
    bool failDepth16 = false;      // pretend the display has no 16-bit mode
    bool failDepth15 = false;
    long seedTime = 1000000;
    // The tune: beats per minute and length; MidiPos follows simulated time.
    int midiBpm = 120;
    int midiLengthBeats = 80;
    std::function<int()> midiPosOverride;  // when set, MidiPos returns it

    // --- observation ---
    int frame() const { return clock_.frame(); }
    unsigned nowMs() const { return clock_.nowMs(); }
    BITMAP* display() const { return display_; }
    struct SoundEvent {
        bool play;  // false: stop
        SAMPLE* sample;
        int loop;
        int frame;
    };
    std::vector<SoundEvent> sounds;
    std::vector<std::pair<int, int>> presentOffsets;  // (dx, dy) of each frame
    int framesShownAgain = 0;                         // of them, known unchanged
    std::vector<int> displaySwitches;                 // frames after which F11 was asked
    bool midiPlaying() const { return midiPlaying_; }
    bool soundsPaused() const { return soundsPaused_; }
    BITMAP* pointerTarget() const { return pointer_.target(); }
    int midiStartBeat() const { return midiSeekBeat_; }

    // Advance simulated time without presenting (as if the machine idled).
    void AdvanceTime(unsigned ms);

    // Platform
    bool Startup(std::string& error) override;
    int SetGfxMode(int depth) override;
    void StartTimer() override {}
    void Message(const char* text) override;
    void SetVolume(int, int) override {}
    void SetMouseSprite(BITMAP* sprite, int focusX, int focusY) override;
    void ShowMouse(BITMAP* target) override;
    void PollMouse() override;
    void PollKeyboard() override;
    int KeyPressed() override;
    int ReadKey() override;
    void ClearKeybuf() override;
    void Rest(unsigned ms) override;
    // A machine whose player always stands ready: the wait ends at once,
    // so the script's frames keep their pace. The frames it came at are kept.
    void AwaitInput(unsigned) override { awaitedAt.push_back(frame()); }
    std::vector<int> awaitedAt;
    void Present(BITMAP* frame, int dx, int dy) override;
    void PresentAgain(BITMAP* frame) override;
    void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) override;
    void StopSample(SAMPLE* s) override;
    int PlayMidi(MIDI* m, int loop) override;
    void MidiSeek(int beat) override;
    int MidiPos() override;
    void StopMidi() override;
    void PauseSounds(bool paused) override;
    long SeedTime() override { return seedTime; }
    void SwitchDisplay() override;

  private:
    struct Event {
        int frame;
        enum { kMouse, kPress, kHold } kind;
        int a, b, c;
    };
    void Add(const Event& e);
    void ApplyScript();
    void NextFrameWithoutPresent();
    void FramePresented(int dx, int dy);

    std::vector<Event> events_;
    size_t nextEvent_ = 0;
    bool eventsSorted_ = true;
    std::deque<int> keybuf_;
    SimulatedClock clock_;
    BITMAP* display_ = nullptr;
    DrawnPointer pointer_;
    bool midiPlaying_ = false;
    bool soundsPaused_ = false;
    int midiSeekBeat_ = 0;
    unsigned midiStartMs_ = 0;
};

// Starts Allegro without drivers (once per process), sets 16-bit 5-6-5
// pixels and installs a fresh HeadlessPlatform as `platform`.
HeadlessPlatform* StartHeadless();
// The spine's back and scratch buffers, made once, the back one cleared: a
// screen can then run without InitSystem and the datafiles.
void MakeSpineBuffers();
