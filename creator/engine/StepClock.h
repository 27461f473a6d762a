#pragma once

#include "creator/engine/CompositionTimes.h"

#include <chrono>

// Charges the time since the last lap (or construction) to one step per Lap.
class StepClock {
public:
    explicit StepClock(CompositionTimes& times) : times_(times), last_(Clock::now()) {}
    void Lap(CompositionTimes::Step step)
    {
        const Clock::time_point now = Clock::now();
        times_.Add(step, std::chrono::duration<double>(now - last_).count());
        last_ = now;
    }

private:
    using Clock = std::chrono::steady_clock;
    CompositionTimes& times_;
    Clock::time_point last_;
};
