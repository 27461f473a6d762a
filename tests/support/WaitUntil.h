#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

namespace testmedia {

// Upper bound for anything a test waits for, far beyond any honest run on a busy machine:
// reaching it means the awaited thing never happens (a guard against a hang, not a measure
// of speed).
inline constexpr std::uint32_t kPatienceMs = 30000;

// Asks done() every pollMs until it holds (true) or patienceMs have passed (false, after a
// last ask). The thing awaited happens on another thread or in another process.
inline bool WaitUntil(const std::function<bool()>& done, std::uint32_t patienceMs = kPatienceMs,
                      std::uint32_t pollMs = 2)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    for (;;) {
        const bool late = std::chrono::steady_clock::now() >= deadline;
        if (done())
            return true;
        if (late)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
    }
}

}  // namespace testmedia
