#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// A few threads that share the bands of one picture operation with the calling thread, so
// that a frame's smoothing or quantisation is spread over the cores while the caller's
// contract stays that of a plain call: Run returns once every band is done.
//
// Threads: Run is called from one thread at a time (the owner's); the work it is given runs
// on the caller and on the workers at once and must only write what its band owns. The
// workers start with the object and stop with it; after a job they look out for the next
// one for a moment (the jobs of a frame come close together), then sleep.
class RowWorkers {
public:
    // threads: how many threads work on a job, the caller included; below 1 counts as 1
    // (then Run works alone, on the caller).
    explicit RowWorkers(int threads);
    ~RowWorkers();
    RowWorkers(const RowWorkers&) = delete;
    RowWorkers& operator=(const RowWorkers&) = delete;

    // A thread count for picture work on this machine: the cores, at most kMostThreads.
    static int DefaultThreadCount();
    static constexpr int kMostThreads = 4;

    int threadCount() const { return static_cast<int>(threads_.size()) + 1; }

    // Calls work(band) once for every band 0 .. bands - 1, on the caller and the workers,
    // and returns when all calls have returned. Bands are handed out in order, one at a
    // time, so that a thread that is held up delays only the band it holds.
    void Run(int bands, const std::function<void(int band)>& work);

    // Run over rows 0 .. rows - 1 cut into bands of bandRows rows (the last one shorter):
    // work(first, end) for each.
    void RunRows(int rows, int bandRows, const std::function<void(int first, int end)>& work);

    // As Run, and besides, on the caller, consume(band) for band 0, 1, ... in that order,
    // each once work(band) has returned: a step that needs the bands one after another
    // starts on the first while the workers do the later ones. When the next band to
    // consume has not been taken yet, the caller does it itself.
    void RunInOrder(int bands, const std::function<void(int band)>& work,
                    const std::function<void(int band)>& consume);

private:
    // One Run's bands, on the caller's stack.
    struct Job {
        const std::function<void(int)>* work = nullptr;
        int bands = 0;
        std::atomic<int> next{0};
        std::atomic<int> done{0};
        std::atomic<bool>* finished = nullptr;  // per band, for RunInOrder
    };

    void WorkerLoop();
    // Waits until a job newer than seen is posted; false when the object is going.
    bool AwaitJob(long long seen);
    void Post(Job& job);
    // Takes the job down and waits until no worker can still touch it.
    void Retire(Job& job);
    static void RunBand(Job& job, int band);
    static void TakeBands(Job& job);

    std::vector<std::thread> threads_;

    // A worker counts itself in entering_ before it looks at job_ and out once it is done
    // with the job it found, so that Run, having taken its job down, knows when no worker
    // can still touch it.
    std::atomic<Job*> job_{nullptr};
    std::atomic<long long> jobNumber_{0};
    std::atomic<int> entering_{0};

    // Guarded by mutex_: the sleeping workers and the end.
    std::mutex mutex_;
    std::condition_variable wake_;  // a job was posted, or the object is going
    int sleepers_ = 0;
    bool stopping_ = false;
};
