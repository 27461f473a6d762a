// Prints how long each analysis step of a composed frame takes on a synthetic template
// frame: a flat background, a figure, and a dark face spot with two eyes and a mouth,
// with noise. The smoothing and the clustering are timed on the noisy frame, as the
// composition runs them, on one thread and shared with the composition's number of
// threads; the searches are timed on the raw noisy frame too, so that light
// noise keeps the regions whole while heavy noise breaks the frame into many small
// regions, the case in which a search that costs (regions x frame area) would show.

#include "creator/engine/ColourClustering.h"
#include "creator/engine/RegionSearch.h"
#include "media/image/BilateralSmooth.h"
#include "media/image/Image.h"
#include "media/image/RowWorkers.h"

#include <opencv2/imgproc.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

ImagePtr TemplateFrame(int width, int height, int noiseLevel)
{
    auto frame = Image::Create(width, height, 3, ImageOrigin::BottomLeft);
    cv::Mat pixels = frame->fullMat();
    pixels.setTo(cv::Scalar(60, 180, 40));
    // Figure: body from the bottom (stored row 0) up, head on top.
    const int s = width / 32;
    cv::rectangle(pixels, cv::Rect(width / 2 - 5 * s, 0, 10 * s, height / 2),
                  cv::Scalar(140, 80, 30), cv::FILLED);
    const cv::Point head(width / 2, height / 2 + 4 * s);
    cv::circle(pixels, head, 4 * s, cv::Scalar(25, 25, 25), cv::FILLED);
    // Eyes above the mouth in the bottom-up frame.
    cv::circle(pixels, head + cv::Point(-3 * s / 2, 3 * s / 2), s / 2 + 1,
               cv::Scalar(230, 230, 230), cv::FILLED);
    cv::circle(pixels, head + cv::Point(3 * s / 2, 3 * s / 2), s / 2 + 1, cv::Scalar(230, 230, 230),
               cv::FILLED);
    cv::ellipse(pixels, head + cv::Point(0, -3 * s / 2), cv::Size(3 * s / 2, s / 2), 0, 0, 360,
                cv::Scalar(210, 210, 240), cv::FILLED);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> noise(-noiseLevel, noiseLevel);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = frame->pixel(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = cv::saturate_cast<std::uint8_t>(p[c] + noise(random));
        }
    }
    return frame;
}

template <typename Work>
double MillisecondsPerRun(int runs, Work work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        work();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

// On the calling thread alone (workers null) or shared with the workers.
void MeasureSmoothingAndClustering(int width, int height, int noiseLevel, RowWorkers* workers)
{
    auto frame = TemplateFrame(width, height, noiseLevel);
    auto smoothed = Image::Create(width, height, 3, ImageOrigin::BottomLeft);
    const double smoothing =
        MillisecondsPerRun(20, [&] { SmoothBilateral(*frame, *smoothed, 50, 5, workers); });
    ColourCluster table[256];
    int clusters = 0;
    auto work = smoothed->Clone();
    const double clustering = MillisecondsPerRun(20, [&] {
        std::memcpy(work->data(), smoothed->data(), work->imageSize());
        clusters = 256;
        ClusterColours(*work, work.get(), table, &clusters, workers);
    });
    const int threads = workers ? workers->threadCount() : 1;
    std::printf("%4d x %-4d noise %-2d SmoothBilateral  %7.3f ms (%d threads)\n", width, height,
                noiseLevel, smoothing, threads);
    std::printf("%4d x %-4d noise %-2d ClusterColours   %7.3f ms (%d clusters, %d threads)\n",
                width, height, noiseLevel, clustering, clusters, threads);
}

void Measure(int width, int height, int noiseLevel, RowWorkers& workers)
{
    MeasureSmoothingAndClustering(width, height, noiseLevel, nullptr);
    MeasureSmoothingAndClustering(width, height, noiseLevel, &workers);
    auto frame = TemplateFrame(width, height, noiseLevel);
    auto subject = Image::Create(width, height, 1);
    auto face = Image::Create(width, height, 1);
    auto scratchA = Image::Create(width + 2, height + 2, 1);
    auto scratchB = Image::Create(width + 2, height + 2, 1);
    cv::Rect subjectRect;
    int area = 0;
    bool background = false;
    const double marked = MillisecondsPerRun(50, [&] {
        background = FindMarkedRegion(frame.get(), subject.get(), scratchA.get(), scratchB.get(),
                                      nullptr, nullptr, &subjectRect, nullptr, &area);
    });
    if (!background) {
        // Heavy noise leaves no background: search the whole frame, seeding everywhere.
        subject->fullMat().setTo(1);
        subjectRect = cv::Rect(0, 0, width, height);
    }
    cv::Rect faceRect;
    float angle = 0.0f;
    bool found = false;
    const double best = MillisecondsPerRun(50, [&] {
        found = FindBestRegion(frame.get(), subject.get(), face.get(), scratchA.get(),
                               scratchB.get(), &subjectRect, &faceRect, &angle, 64, 0);
    });
    std::printf("%4d x %-4d noise %-2d FindMarkedRegion %7.3f ms (background %s, area %d)\n", width,
                height, noiseLevel, marked, background ? "found" : "missing", area);
    std::printf(
        "%4d x %-4d noise %-2d FindBestRegion   %7.3f ms (face %s at %d,%d %dx%d, angle %.1f)\n",
        width, height, noiseLevel, best, found ? "found" : "missing", faceRect.x, faceRect.y,
        faceRect.width, faceRect.height, angle);
}

}  // namespace

int main()
{
    RowWorkers workers(RowWorkers::DefaultThreadCount());
    for (const int noiseLevel : {4, 12}) {
        Measure(320, 240, noiseLevel, workers);
        Measure(640, 480, noiseLevel, workers);
    }
    return 0;
}
