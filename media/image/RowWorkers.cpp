#include "media/image/RowWorkers.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

// Waking a sleeping thread costs tens of microseconds, so a worker keeps looking for the
// next job this long before it sleeps: the jobs of one frame come close together.
constexpr std::chrono::microseconds kLookBeforeSleep(300);

}  // namespace

RowWorkers::RowWorkers(int threads)
{
    for (int i = 1; i < threads; ++i)
        threads_.emplace_back([this] { WorkerLoop(); });
}

RowWorkers::~RowWorkers()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

int RowWorkers::DefaultThreadCount()
{
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, kMostThreads);
}

void RowWorkers::RunBand(Job& job, int band)
{
    (*job.work)(band);
    if (job.finished)
        job.finished[band].store(true);
    job.done.fetch_add(1);
}

void RowWorkers::TakeBands(Job& job)
{
    for (int band = job.next.fetch_add(1); band < job.bands; band = job.next.fetch_add(1))
        RunBand(job, band);
}

bool RowWorkers::AwaitJob(long long seen)
{
    const auto until = std::chrono::steady_clock::now() + kLookBeforeSleep;
    while (jobNumber_.load() == seen && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    std::unique_lock<std::mutex> lock(mutex_);
    ++sleepers_;
    wake_.wait(lock, [&] { return stopping_ || jobNumber_.load() != seen; });
    --sleepers_;
    return !stopping_;
}

void RowWorkers::WorkerLoop()
{
    long long seen = 0;
    while (AwaitJob(seen)) {
        seen = jobNumber_.load();
        entering_.fetch_add(1);
        if (Job* job = job_.load())
            TakeBands(*job);
        entering_.fetch_sub(1);
    }
}

void RowWorkers::Run(int bands, const std::function<void(int band)>& work)
{
    if (bands <= 0)
        return;
    if (threads_.empty() || bands == 1) {
        for (int band = 0; band < bands; ++band)
            work(band);
        return;
    }
    Job job;
    job.work = &work;
    job.bands = bands;
    Post(job);
    TakeBands(job);
    Retire(job);
}

void RowWorkers::Post(Job& job)
{
    job_.store(&job);
    jobNumber_.fetch_add(1);
    std::lock_guard<std::mutex> lock(mutex_);
    if (sleepers_ > 0)
        wake_.notify_all();
}

void RowWorkers::Retire(Job& job)
{
    // From here on a worker that looks finds no job; those that found it finish their
    // bands and leave.
    job_.store(nullptr);
    while (job.done.load() < job.bands || entering_.load() > 0)
        std::this_thread::yield();
}

void RowWorkers::RunInOrder(int bands, const std::function<void(int band)>& work,
                            const std::function<void(int band)>& consume)
{
    if (bands <= 0)
        return;
    if (threads_.empty()) {
        for (int band = 0; band < bands; ++band) {
            work(band);
            consume(band);
        }
        return;
    }
    const std::unique_ptr<std::atomic<bool>[]> finished(new std::atomic<bool>[bands]);
    for (int band = 0; band < bands; ++band)
        finished[band].store(false);
    Job job;
    job.work = &work;
    job.bands = bands;
    job.finished = finished.get();
    Post(job);
    for (int band = 0; band < bands; ++band) {
        while (!finished[band].load()) {
            if (job.next.load() > band) {
                std::this_thread::yield();
                continue;
            }
            const int taken = job.next.fetch_add(1);
            if (taken < bands)
                RunBand(job, taken);
        }
        consume(band);
    }
    Retire(job);
}

void RowWorkers::RunRows(int rows, int bandRows,
                         const std::function<void(int first, int end)>& work)
{
    if (rows <= 0)
        return;
    bandRows = std::max(bandRows, 1);
    const int bands = (rows + bandRows - 1) / bandRows;
    Run(bands, [&](int band) {
        const int first = band * bandRows;
        work(first, std::min(first + bandRows, rows));
    });
}
