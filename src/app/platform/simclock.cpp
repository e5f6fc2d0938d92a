#include "app/platform/simclock.h"

#include "app/system.h"

void SimulatedClock::Rest(unsigned ms) {
    unsigned ticks = (nowMs_ + ms) / 10 - nowMs_ / 10;
    nowMs_ += ms;
    for (unsigned i = 0; i < ticks; ++i) {
        tick_ ? tick_() : TimerTick();
    }
}

void SimulatedClock::NextFrame(unsigned workMs) {
    ++frame_;
    polls_ = 0;
    Rest(workMs);
}
