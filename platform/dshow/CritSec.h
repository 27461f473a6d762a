#pragma once

#include <mutex>

// A re-entrant lock with the names the filter code uses.
class CCritSec {
public:
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    std::recursive_mutex& mutex() { return mutex_; }

private:
    std::recursive_mutex mutex_;
};
