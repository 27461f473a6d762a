#pragma once

#include "platform/dshow/MediaTypes.h"

#include <condition_variable>
#include <mutex>
#include <vector>

// Keeps several inputs of a multiplexer close in time. Each input has its own streaming
// thread; an input that is more than `lead` ahead of the slowest input still live waits
// until the others catch up, end, or the gate closes. The slowest live input never waits,
// so the inputs cannot wait for each other in a circle. Any thread.
class CInterleaveGate {
public:
    explicit CInterleaveGate(REFERENCE_TIME lead);

    // A new run with `inputs` inputs, all live at time 0; opens the gate.
    void Reset(int inputs);
    // The input is about to write up to `time`: records it, then waits for its turn.
    // False when the gate closed (the graph stops) before or during the wait.
    bool WaitTurn(int input, REFERENCE_TIME time);
    // The input has ended (or never feeds this run): nobody waits for it any more.
    void End(int input);
    // Wakes every wait for good, until the next Reset.
    void Close();

private:
    bool MayGo(int input) const;

    const REFERENCE_TIME lead_;
    // Guards everything below.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<REFERENCE_TIME> times_;
    std::vector<bool> live_;
    bool closed_ = false;
};
