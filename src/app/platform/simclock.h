// Time as the tests' recordings knew it: it passes only when a frame is
// shown (a fixed time of work) or the game rests, and a tick fires at every
// 10 ms of it. The tests' machine and the playback of those recordings both
// keep it, so such a recording plays the same game in either.
#pragma once

class SimulatedClock {
  public:
    // `tick` fires at each 10 ms: by default the machine's TimerTick (the
    // tests' machine), or a playback's own count.
    explicit SimulatedClock(void (*tick)() = nullptr) : tick_(tick) {}

    unsigned nowMs() const { return nowMs_; }
    int frame() const { return frame_; }

    // Lets `ms` pass, firing the tick at each 10 ms boundary.
    void Rest(unsigned ms);
    // A frame went by after `workMs` of work.
    void NextFrame(unsigned workMs);
    // One poll of the input. True when a loop has polled so long without
    // showing anything that a frame must be taken as gone by: a wait that
    // presents nothing still lets the recording go on.
    bool PolledWithoutFrame() { return ++polls_ > kPollsPerFrame; }

  private:
    static constexpr int kPollsPerFrame = 10000;
    void (*tick_)();
    unsigned nowMs_ = 0;
    int frame_ = 0;
    int polls_ = 0;
};
