#include "app/platform/playback.h"

#include <chrono>
#include <cstdio>

#include "app/system.h"

namespace {

// The work a frame took when the tests' recordings were made.
constexpr unsigned kWorkMsPerFrame = 10;
// Further behind the recording than this (the machine stalled), the pace
// starts again from now instead of racing to catch up.
constexpr double kMaxLagMs = 100;
// Keys taken from the player's buffer at one frame, at most.
constexpr int kMaxKeysAFrame = 64;

// The playback's own clock, which the machine's held ticks do not touch.
void PlaybackTick() {
    tickCount = tickCount + 1;
}

double SteadyMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool At(const ReplayEvent& e, int frame, int call) {
    return e.frame == frame && e.call == call;
}

bool Before(const ReplayEvent& e, int frame, int call) {
    return e.frame < frame || (e.frame == frame && e.call < call);
}

}  // namespace

PlaybackPlatform::PlaybackPlatform(Platform* real, const Replay& replay, PlaybackPace pace,
                                   std::function<double()> nowMs)
    : ForwardingPlatform(real),
      replay_(replay),
      pace_(pace),
      legacy_(replay.version == 1),
      nowMs_(nowMs ? nowMs : SteadyMs),
      clock_(PlaybackTick) {
    // Fast, the machine's timer is never started; the tests' machine ticks
    // as it presents, and those ticks must not count.
    HoldMachineTicks(Fast());
}

PlaybackPlatform::~PlaybackPlatform() {
    HoldMachineTicks(false);
}

void PlaybackPlatform::StartTimer() {
    Call c(this);
    if (!Fast()) {
        real_->StartTimer();
    }
}

void PlaybackPlatform::SetVolume(int digi, int midi) {
    Call c(this);
    if (!Fast()) {
        real_->SetVolume(digi, midi);
    }
}

// The recorded pointer is drawn, wherever the player's own is.
void PlaybackPlatform::SetMouseSprite(BITMAP* sprite, int focusX, int focusY) {
    Call c(this);
    pointer_.SetSprite(sprite, focusX, focusY);
}

void PlaybackPlatform::ShowMouse(BITMAP* target) {
    Call c(this);
    pointer_.Show(target);
}

// The machine is still polled, so that its window keeps answering.
void PlaybackPlatform::PollMouse() {
    Call c(this);
    real_->PollMouse();
    ApplyInputs();
}

void PlaybackPlatform::PollKeyboard() {
    Call c(this);
    real_->PollKeyboard();
    ApplyInputs();
}

int PlaybackPlatform::KeyPressed() {
    Call c(this);
    if (Playing()) {
        ApplyInputs();
        return pressed_;
    }
    return Fast() ? 0 : real_->KeyPressed();
}

int PlaybackPlatform::ReadKey() {
    Call c(this);
    if (Playing()) {
        return readKey_;
    }
    return Fast() ? 0 : real_->ReadKey();
}

// While it plays, the player's keys stay in the buffer for Escape.
void PlaybackPlatform::ClearKeybuf() {
    Call c(this);
    if (!Playing()) {
        real_->ClearKeybuf();
    }
}

// A player's recording brings its own ticks at the end of the call.
void PlaybackPlatform::Rest(unsigned ms) {
    Call c(this);
    if (Playing() ? legacy_ : Fast()) {
        clock_.Rest(ms);
    } else if (!Playing()) {
        real_->Rest(ms);
    }
}

// A player's recording brings the ticks its waits took, however they
// ended; the tests' machine, which made the older recordings, never waits
// here, and neither does a timedemo.
void PlaybackPlatform::AwaitInput(unsigned ms) {
    Call c(this);
    if (!Playing() && !Fast()) {
        real_->AwaitInput(ms);
    }
}

void PlaybackPlatform::Present(BITMAP* frame, int dx, int dy) {
    Call c(this, true);
    real_->Present(frame, dx, dy);
    AfterPresent();
}

void PlaybackPlatform::PresentAgain(BITMAP* frame) {
    Call c(this, true);
    real_->PresentAgain(frame);
    AfterPresent();
}

void PlaybackPlatform::PlaySample(SAMPLE* s, int vol, int pan, int freq, int loop) {
    Call c(this);
    if (!Fast()) {
        real_->PlaySample(s, vol, pan, freq, loop);
    }
}

void PlaybackPlatform::StopSample(SAMPLE* s) {
    Call c(this);
    if (!Fast()) {
        real_->StopSample(s);
    }
}

int PlaybackPlatform::PlayMidi(MIDI* m, int loop) {
    Call c(this);
    return Fast() ? -1 : real_->PlayMidi(m, loop);
}

void PlaybackPlatform::MidiSeek(int beat) {
    Call c(this);
    if (!Fast()) {
        real_->MidiSeek(beat);
    }
}

int PlaybackPlatform::MidiPos() {
    Call c(this);
    return Fast() ? -1 : real_->MidiPos();
}

void PlaybackPlatform::StopMidi() {
    Call c(this);
    if (!Fast()) {
        real_->StopMidi();
    }
}

void PlaybackPlatform::PauseSounds(bool paused) {
    Call c(this);
    if (!Fast()) {
        real_->PauseSounds(paused);
    }
}

long PlaybackPlatform::SeedTime() {
    Call c(this);
    return replay_.seed;
}

void PlaybackPlatform::GameBegins(std::vector<int>& carried) {
    playing_ = true;
    ResetPosition();
    clock_ = SimulatedClock(PlaybackTick);
    next_ = 0;
    view_ = View{};
    writtenQuit_ = machineQuit_ = quitRequest;
    writtenFocus_ = machineFocus_ = windowFocused;
    HoldMachineTicks(true);
    beganMs_ = SteadyMs();
    paceFromMs_ = nowMs_();
    recordedMs_ = 0;
    if (!legacy_) {
        if (replay_.carried.size() != carried.size()) {
            Diverge("it was made by another version of the game");
        }
        carried = replay_.carried;
    }
    Entering(at());
    Left(at());
}

void PlaybackPlatform::GameFramesOver(const std::string& summary) {
    if (!Playing()) {
        return;
    }
    playing_ = false;
    endMs_ = SteadyMs();
    frames_ = at().frame;
    if (!legacy_ && !stopped_ &&
        (frames_ != replay_.frames || at().total != replay_.calls || summary != replay_.summary)) {
        Diverge("the game ended otherwise than recorded");
    }
    for (const ReplayKey& k : kReplayKeys) {
        key[k.scancode] = 0;
    }
    windowFocused = machineFocus_;
    // A stopped game is over; nothing may keep its end screens waiting.
    quitRequest = machineQuit_ ? machineQuit_ : stopped_ ? kQuitByClose : 0;
    if (Fast()) {
        mouse_b = 0;
    }
    HoldMachineTicks(Fast());
}

// The notes of the position this call leaves the game at, before it runs:
// a switch of the display goes with the frame it was seen after, and the
// call's own results are known.
void PlaybackPlatform::Entering(const Position& after) {
    // A watched game never holds the viewer's pointer in the window.
    if (Playing()) {
        pointerConfined = 0;
    }
    if (!Playing() || legacy_) {
        return;
    }
    const std::vector<ReplayEvent>& events = replay_.events;
    if (after.total > replay_.calls || after.frame > replay_.frames) {
        Diverge("the game went on past the end of its recording");
    }
    while (next_ < events.size() && At(events[next_], after.frame, after.call)) {
        Apply(events[next_++]);
    }
    if (next_ < events.size() && Before(events[next_], after.frame, after.call)) {
        Diverge("the game went otherwise than recorded at frame " +
                std::to_string(events[next_].frame));
        next_ = events.size();
    }
}

void PlaybackPlatform::Apply(const ReplayEvent& e) {
    switch (e.kind) {
        case ReplayKind::kTicks:
            ticks_ += e.a;
            break;
        case ReplayKind::kMouse:
            view_.x = e.a;
            view_.y = e.b;
            view_.buttons = e.c;
            break;
        case ReplayKind::kKeys:
            view_.keys = e.a;
            break;
        case ReplayKind::kFocus:
            view_.focus = e.a;
            break;
        case ReplayKind::kQuit:
            view_.quit = e.a;
            break;
        case ReplayKind::kSwitch:
            real_->SwitchDisplay();
            break;
        case ReplayKind::kPressed:
            pressed_ = 1;
            break;
        case ReplayKind::kReadKey:
            readKey_ = e.a;
            break;
    }
}

void PlaybackPlatform::ApplyInputs() {
    if (!Playing() || !legacy_) {
        return;
    }
    const std::vector<ReplayInput>& inputs = replay_.inputs;
    while (next_ < inputs.size() && inputs[next_].frame <= clock_.frame()) {
        const ReplayInput& e = inputs[next_++];
        view_.x = e.x;
        view_.y = e.y;
        view_.buttons = e.buttons;
    }
    if (clock_.PolledWithoutFrame()) {
        clock_.NextFrame(kWorkMsPerFrame);
    }
}

void PlaybackPlatform::Left(const Position&) {
    if (!Playing()) {
        return;
    }
    TakeMachineTicks();
    tickCount = tickCount + ticks_;
    recordedMs_ += 10.0 * ticks_;
    ticks_ = 0;
    pressed_ = 0;
    readKey_ = 0;
    WriteView();
    if (!Fast()) {
        KeepPace();
    }
}

// What the game sees until its next call. A close request or a signal that
// came meanwhile is the machine's own: the playback stops for it.
void PlaybackPlatform::WriteView() {
    if (quitRequest != writtenQuit_) {
        machineQuit_ = quitRequest;
        stopped_ = true;
    }
    if (windowFocused != writtenFocus_) {
        machineFocus_ = windowFocused;
    }
    mouse_x = view_.x;
    mouse_y = view_.y;
    mouse_b = view_.buttons;
    for (int k = 0; k < kReplayKeyCount; ++k) {
        key[kReplayKeys[k].scancode] = view_.keys & (1 << k) ? 1 : 0;
    }
    windowFocused = view_.focus;
    // A stopped game ends as Escape ends it.
    quitRequest = machineQuit_ ? machineQuit_ : stopped_ ? kQuitByClose : view_.quit;
    writtenQuit_ = quitRequest;
    writtenFocus_ = windowFocused;
}

void PlaybackPlatform::AfterPresent() {
    if (!Playing()) {
        return;
    }
    if (legacy_) {
        clock_.NextFrame(kWorkMsPerFrame);
    }
    for (int n = 0; !Fast() && n < kMaxKeysAFrame && real_->KeyPressed(); ++n) {
        if ((real_->ReadKey() >> 8) == KEY_ESC) {
            stopped_ = true;
        }
    }
}

// Waits until the recording's time has gone by on the wall clock too.
void PlaybackPlatform::KeepPace() {
    double recorded = legacy_ ? clock_.nowMs() : recordedMs_;
    double ahead = recorded - (nowMs_() - paceFromMs_);
    if (ahead >= 1) {
        real_->Rest(unsigned(ahead));
    } else if (ahead < -kMaxLagMs) {
        paceFromMs_ = nowMs_() - recorded;
    }
}

void PlaybackPlatform::Diverge(const std::string& why) {
    if (divergence_.empty()) {
        divergence_ = why;
    }
    stopped_ = true;
}
