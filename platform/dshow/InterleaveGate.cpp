#include "platform/dshow/InterleaveGate.h"

CInterleaveGate::CInterleaveGate(REFERENCE_TIME lead) : lead_(lead) {}

void CInterleaveGate::Reset(int inputs)
{
    std::lock_guard<std::mutex> lock(mutex_);
    times_.assign(static_cast<std::size_t>(inputs), 0);
    live_.assign(static_cast<std::size_t>(inputs), true);
    closed_ = false;
}

bool CInterleaveGate::MayGo(int input) const
{
    for (std::size_t other = 0; other < times_.size(); ++other) {
        if (static_cast<int>(other) == input || !live_[other])
            continue;
        if (times_[static_cast<std::size_t>(input)] - times_[other] > lead_)
            return false;
    }
    return true;
}

bool CInterleaveGate::WaitTurn(int input, REFERENCE_TIME time)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (input < 0 || static_cast<std::size_t>(input) >= times_.size())
        return !closed_;
    if (time > times_[static_cast<std::size_t>(input)]) {
        times_[static_cast<std::size_t>(input)] = time;
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return closed_ || MayGo(input); });
    return !closed_;
}

void CInterleaveGate::End(int input)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (input < 0 || static_cast<std::size_t>(input) >= live_.size())
            return;
        live_[static_cast<std::size_t>(input)] = false;
    }
    changed_.notify_all();
}

void CInterleaveGate::Close()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}
