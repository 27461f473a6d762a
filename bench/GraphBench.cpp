// Prints how fast a 640 x 480 AVI runs through the graph wrapper with the Sample Grabber
// and no reference clock (frames per second, as the template reader and the creator run
// it), beside the ffmpeg command-line tool's own decode of the same file to null output,
// measured in the same run, and the ratio of the two. The grabber's callback publishes
// every frame into an image source, so the one copy per frame is counted as well.

#include "bench/BenchFolder.h"
#include "bench/FfmpegTool.h"
#include "media/BufferFrame.h"
#include "media/VideoGraph.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr int kFrames = 300;

class CountingGraph : public CVideoGraph {
public:
    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override
    {
        ++frames;
        return CVideoGraph::SampleCB(sampleTime, sample);
    }

    // Runs the rendered file to its end without a clock; seconds taken, or -1.
    double Play()
    {
        RemoveReferenceClock();
        const auto start = std::chrono::steady_clock::now();
        if (!Run())
            return -1;
        for (;;) {
            long code = 0;
            LONG_PTR first = 0;
            LONG_PTR second = 0;
            if (mediaEvent_->GetEvent(&code, &first, &second, 60000) != S_OK)
                return -1;
            mediaEvent_->FreeEventParams(code, first, second);
            if (code == EC_COMPLETE)
                break;
            if (code == EC_ERRORABORT)
                return -1;
        }
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        Stop();
        return taken.count();
    }

    std::atomic<int> frames = 0;
};

int Measure(const std::string& folder, const char* codec)
{
    const std::string path = folder + "/" + codec + ".avi";
    const std::string pixelFormat = std::string(codec) == "mjpeg" ? "yuvj420p" : "yuv420p";
    if (!MakeTestPattern(path, kFrames,
                         std::string("-c:v ") + codec + " -q:v 4 -pix_fmt " + pixelFormat)) {
        std::fprintf(stderr, "graph bench: making the %s file failed\n", codec);
        return 1;
    }
    CBufferFrame source;
    CountingGraph graph;
    if (!graph.CreateGraph(nullptr, &source) || !graph.RenderFile(path.c_str())) {
        std::fprintf(stderr, "graph bench: rendering %s failed\n", path.c_str());
        return 1;
    }
    const double graphSeconds = graph.Play();
    const int frames = graph.frames;
    graph.ReleaseGraph();
    source.Close();
    const double ffmpegSeconds = FfmpegSeconds("-i '" + path + "' -f null -");
    if (graphSeconds <= 0 || ffmpegSeconds <= 0) {
        std::fprintf(stderr, "graph bench: a %s run failed\n", codec);
        return 1;
    }
    const double graphFps = frames / graphSeconds;
    const double ffmpegFps = kFrames / ffmpegSeconds;
    std::printf("%-6s 640x480 %d frames: graph %7.1f fps (%d frames), ffmpeg CLI %7.1f fps, "
                "ratio %.2f\n",
                codec, kFrames, graphFps, frames, ffmpegFps, graphFps / ffmpegFps);
    return 0;
}

}  // namespace

int main()
{
    const BenchFolder folder("graph-bench");
    if (folder.path().empty()) {
        std::fprintf(stderr, "graph bench: no temporary folder\n");
        return 1;
    }
    int failures = 0;
    for (const char* codec : {"mpeg4", "mjpeg"})
        failures += Measure(folder.path(), codec);
    return failures == 0 ? 0 : 1;
}
