// --playdemo FILE and --timedemo FILE: a recorded game played through the
// real display. The game comes out as it was recorded because it sees what
// it saw then: for a player's recording (version 2) the seed, and the
// mouse, keys, focus, close request and clock ticks as they changed at the
// same platform calls, with what KeyPressed and ReadKey gave; for the
// tests' recordings (version 1) the mouse by frame on their simulated
// clock. The machine's own input and ticks do not reach the game until the
// recording's last frame is over; the game's end screens then take the
// player's input (kReal) or none (kFast).
#pragma once

#include <functional>
#include <string>

#include "app/platform/forwarding.h"
#include "app/platform/pointer.h"
#include "app/platform/simclock.h"
#include "game/replay.h"

enum class PlaybackPace {
    kFast,  // as fast as the display takes frames, silent (--timedemo)
    kReal,  // at the recorded speed, with sound; Escape stops it (--playdemo)
};

class PlaybackPlatform : public ForwardingPlatform {
  public:
    // `nowMs` is the wall clock that kReal keeps pace with (default: the
    // steady clock).
    PlaybackPlatform(Platform* real, const Replay& replay, PlaybackPace pace,
                     std::function<double()> nowMs = nullptr);
    ~PlaybackPlatform() override;

    void StartTimer() override;
    void SetVolume(int digi, int midi) override;
    void SetMouseSprite(BITMAP* sprite, int focusX, int focusY) override;
    void ShowMouse(BITMAP* target) override;
    void PollMouse() override;
    void PollKeyboard() override;
    int KeyPressed() override;
    int ReadKey() override;
    void ClearKeybuf() override;
    void Rest(unsigned ms) override;
    void AwaitInput(unsigned ms) override;
    void Present(BITMAP* frame, int dx, int dy) override;
    void PresentAgain(BITMAP* frame) override;
    void PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) override;
    void StopSample(SAMPLE* s) override;
    int PlayMidi(MIDI* m, int loop) override;
    void MidiSeek(int beat) override;
    int MidiPos() override;
    void StopMidi() override;
    void PauseSounds(bool paused) override;
    long SeedTime() override;
    void GameBegins(std::vector<int>& carried) override;
    void GameFramesOver(const std::string& summary) override;

    // After the game. Why it went otherwise than recorded ("": it did not).
    const std::string& divergence() const { return divergence_; }
    // Escape, the close button or a signal ended it early, or a divergence.
    bool stopped() const { return stopped_; }
    // The real machine's quitRequest, which the game did not see as such.
    int machineQuit() const { return machineQuit_; }
    int frames() const { return frames_; }  // presented while it played
    double seconds() const { return (endMs_ - beganMs_) / 1000; }

  private:
    struct View {
        int x = 0, y = 0, buttons = 0;
        int keys = 0;
        int focus = 1;
        int quit = 0;
    };
    bool Playing() const { return playing_; }
    bool Fast() const { return pace_ == PlaybackPace::kFast; }
    void Entering(const Position& after) override;
    void Left(const Position& after) override;
    void Apply(const ReplayEvent& e);
    void ApplyInputs();  // version 1, at each poll
    void WriteView();
    void AfterPresent();
    void KeepPace();
    void Diverge(const std::string& why);

    const Replay& replay_;
    PlaybackPace pace_;
    bool legacy_;
    std::function<double()> nowMs_;
    SimulatedClock clock_;
    DrawnPointer pointer_;

    bool playing_ = false;
    size_t next_ = 0;
    View view_;
    int ticks_ = 0;  // to hand over at the end of this call
    int pressed_ = 0;
    int readKey_ = 0;
    int writtenQuit_ = 0, writtenFocus_ = 1;
    int machineQuit_ = 0, machineFocus_ = 1;
    bool stopped_ = false;
    std::string divergence_;
    double paceFromMs_ = 0;
    double recordedMs_ = 0;
    double beganMs_ = 0, endMs_ = 0;
    int frames_ = 0;
};
