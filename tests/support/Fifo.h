#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testmedia {

// Makes a FIFO (a named pipe) at path; false when it cannot be made.
inline bool MakeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0600) == 0;
}

// Runs work on the calling thread (so it may be user-interface work) and answers whether
// it finished without waiting on the FIFO at fifo. Work that waits there fails the test
// instead of hanging the suite: once a deadline far beyond any honest run has passed, a
// watchdog opens and closes both ends of the FIFO until work is done, which releases an
// open that waits for the other end and ends a read with the end of the file.
inline bool FinishesWithoutWaitingOn(const std::string& fifo, const std::function<void()>& work)
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool released = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (finished.wait_for(lock, std::chrono::seconds(20), [&] { return done; }))
            return;
        released = true;
        while (!done) {
            lock.unlock();
            const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            for (const int end : {writer, reader}) {
                if (end >= 0)
                    ::close(end);
            }
            lock.lock();
            finished.wait_for(lock, std::chrono::milliseconds(10), [&] { return done; });
        }
    });
    work();
    {
        const std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_all();
    watchdog.join();
    return !released;
}

}  // namespace testmedia
