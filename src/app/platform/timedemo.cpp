#include "app/platform/timedemo.h"

#include <chrono>
#include <cstdio>

#include "app/platform/platform.h"
#include "app/platform/simclock.h"
#include "app/system.h"
#include "game/game.h"
#include "game/replay.h"
#include "screens/titlemenu.h"

namespace {

// The work a frame took when the games were recorded.
constexpr unsigned kWorkMsPerFrame = 10;

// The recording's input and clock, the real machine's display. Time runs
// as it did when the game was recorded (app/simclock.h), so the game comes
// out exactly as recorded however fast the frames are really drawn.
class TimedemoPlatform : public Platform {
  public:
    TimedemoPlatform(Platform* real, const Replay& replay) : real_(real), replay_(replay) {}

    bool Startup(std::string& error) override {
        if (!real_->Startup(error)) {
            return false;
        }
        // The recording moves the pointer; the real mouse must not.
        real_->DetachMouse();
        return true;
    }
    int SetGfxMode(int depth) override { return real_->SetGfxMode(depth); }
    void StartTimer() override {}
    void Message(const char* text) override { real_->Message(text); }
    void SetVolume(int, int) override {}
    void SetMouseSprite(BITMAP* sprite, int fx, int fy) override {
        real_->SetMouseSprite(sprite, fx, fy);
    }
    void ShowMouse(BITMAP* target) override { real_->ShowMouse(target); }
    void PollMouse() override {
        Apply();
        if (clock_.PolledWithoutFrame()) {
            clock_.NextFrame(kWorkMsPerFrame);
        }
    }
    void PollKeyboard() override {
        real_->PollKeyboard();
        PollMouse();
    }
    int KeyPressed() override {
        PollMouse();
        return real_->KeyPressed();
    }
    int ReadKey() override { return real_->ReadKey(); }
    void ClearKeybuf() override { real_->ClearKeybuf(); }
    void Rest(unsigned ms) override { clock_.Rest(ms); }
    void Present(BITMAP* frame, int dx, int dy) override {
        real_->Present(frame, dx, dy);
        clock_.NextFrame(kWorkMsPerFrame);
    }
    void PresentAgain(BITMAP* frame) override {
        real_->PresentAgain(frame);
        clock_.NextFrame(kWorkMsPerFrame);
    }
    void PlaySample(SAMPLE*, int, int, int, int) override {}
    void StopSample(SAMPLE*) override {}
    int PlayMidi(MIDI*, int) override { return -1; }
    void MidiSeek(int) override {}
    int MidiPos() override { return -1; }
    void StopMidi() override {}
    void PauseSounds(bool) override {}
    long SeedTime() override { return replay_.seed; }

  private:
    void Apply() {
        while (next_ < replay_.inputs.size() && replay_.inputs[next_].frame <= clock_.frame()) {
            const ReplayInput& e = replay_.inputs[next_++];
            mouse_x = e.x;
            mouse_y = e.y;
            mouse_b = e.buttons;
        }
    }

    Platform* real_;
    const Replay& replay_;
    size_t next_ = 0;
    SimulatedClock clock_;
};

}  // namespace

int RunTimedemo(const std::string& path, Platform* real) {
    Replay replay;
    std::string error;
    if (!ReadReplay(path, replay, error)) {
        std::fprintf(stderr, "Fluffernauts: cannot play the timedemo \"%s\": %s\n", path.c_str(),
                     error.c_str());
        return 2;
    }
    TimedemoPlatform demo(real, replay);
    platform = &demo;
    InitSystem();
    LoadGameFont();
    LoadSharedAssets();

    SetUpGame();
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    do {
        RunFrame();
        ++frames;
    } while (GameGoesOn());
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int result = EndGame();

    std::printf("Timedemo: %d frames in %.2f s, %.1f frames per second\n%s", frames, seconds,
                seconds > 0 ? frames / seconds : 0.0, GameSummary(result).c_str());
    std::fflush(stdout);
    UnloadSharedAssets();
    ShutdownSystem();
    return QuitStatus();
}
