// How much the frame composition costs: creates a video from the sample inputs (and from
// a 640 x 480 copy of the sample template) with the composition and with a grabber that
// passes every frame unchanged, three times each, and prints the best wall times, the
// frame rates, their ratio and where the composing creation spent its time per step.
// Then it times Open at 640 x 480 with face pictures of phone-photo sizes.
//
// Usage: creator_bench [video compressor [audio compressor]]; the defaults are the
// MPEG-4 video and MP3 audio encoders. Run from the build's bin folder layout:
// the sample inputs are looked for beside the program. The personalised video made from
// the sample inputs is kept, with its audio delayed by the default 5 seconds, as
// Video/Sample.avi beside the program, so that it can be watched.

#include "bench/BenchFolder.h"
#include "bench/FfmpegTool.h"
#include "creator/engine/AviAudioDelay.h"
#include "creator/engine/VideoCreator.h"
#include "creator/engine/VideoFrame.h"
#include "media/BufferFrame.h"
#include "media/PathUtils.h"
#include "platform/win/Sync.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// What a new project starts with.
constexpr int kDefaultAudioDelayMs = 5000;
// Creations per variant; the best one counts, the machine being shared.
constexpr int kRuns = 3;

// The same graph with the composition switched off: decode, grabber, encode, write.
class PassThroughCreator : public CVideoCreator {
public:
    HRESULT SampleCB(double, IMediaSample*) override { return S_OK; }
};

struct Sources {
    Sources()
    {
        for (CBufferFrame* source : {&background, &face, &templ, &video})
            source->Create("bench", 2);
    }
    ~Sources()
    {
        for (CBufferFrame* source : {&background, &face, &templ, &video})
            source->Close();
    }
    CBufferFrame background, face, templ, video;
};

struct Inputs {
    std::string bin;
    std::string templatePath;
    std::string audioPath;
    const char* videoCompressor;
    const char* audioCompressor;
};

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool Load(CBufferFrame& source, const std::string& path)
{
    source.SetFileName(path.c_str());
    return source.LoadFile();
}

// Loads the sample pictures and reads the template as the main dialog does; false, with a
// message, when one of them is missing.
bool LoadInputs(Sources& sources, const Inputs& inputs, int& frames)
{
    if (!Load(sources.background, inputs.bin + "/Background/Garden.jpg") ||
        !Load(sources.face, inputs.bin + "/FaceImage/Face.bmp")) {
        std::fprintf(stderr, "bench: the sample pictures cannot be loaded from %s\n",
                     inputs.bin.c_str());
        return false;
    }
    CVideoFrame reader;
    frames = 0;
    if (reader.CreateGraph(nullptr, &sources.templ) &&
        reader.Open(inputs.templatePath.c_str(), 0, CVideoFrame::kMaxFrameLimit, nullptr, 0)) {
        while (!reader.OnGraphEvent() && reader.GetFrameCount() < reader.GetFrameLimit())
            Sleep(2);
        frames = reader.GetFrameCount();
        reader.Stop();
    }
    reader.ReleaseGraph();
    if (frames < 2) {
        std::fprintf(stderr, "bench: the template %s cannot be read\n",
                     inputs.templatePath.c_str());
        return false;
    }
    return true;
}

struct Timing {
    bool ok = false;
    double openSeconds = 0;
    double seconds = 0;
    CompositionTimes times;
    int threads = 1;
};

// One creation from Open to completion, the events polled the way the dialog's handler
// drains them. Without runToEnd only Open is timed.
Timing Create(CVideoCreator& creator, Sources& sources, const Inputs& inputs,
              const std::string& outputPath, int frames, bool runToEnd = true)
{
    Timing timing;
    if (!creator.SetSources(&sources.background, &sources.face, &sources.templ, &sources.video))
        return timing;
    const auto opening = std::chrono::steady_clock::now();
    if (!creator.Open(inputs.templatePath.c_str(), inputs.audioPath.c_str(), outputPath.c_str(),
                      inputs.audioCompressor, inputs.videoCompressor, frames - 1))
        return timing;
    timing.openSeconds = SecondsSince(opening);
    const auto start = std::chrono::steady_clock::now();
    if (!runToEnd) {
        timing.ok = true;
    } else if (creator.Run()) {
        while (!creator.OnGraphEvent())
            Sleep(1);
        timing.seconds = SecondsSince(start);
        timing.ok = true;
    }
    timing.times = creator.composition().times();
    timing.threads = creator.composition().threadCount();
    creator.Close();
    creator.ReleaseGraph();
    return timing;
}

// The best of kRuns creations.
template <typename Creator>
Timing BestCreation(Sources& sources, const Inputs& inputs, const std::string& outputPath,
                    int frames)
{
    Timing best;
    for (int run = 0; run < kRuns; ++run) {
        Creator creator;
        const Timing timing = Create(creator, sources, inputs, outputPath, frames);
        if (!timing.ok)
            return timing;
        if (!best.ok || timing.seconds < best.seconds)
            best = timing;
    }
    return best;
}

void PrintSteps(const std::string& label, const Timing& full)
{
    const CompositionTimes& t = full.times;
    const int composed = std::max(t.composedFrames, 1);
    std::printf("%-10s per composed frame (%d composed, %d cards):\n", label.c_str(),
                t.composedFrames, t.cardFrames);
    for (int step = CompositionTimes::Copies; step <= CompositionTimes::Caption; ++step) {
        const auto s = static_cast<CompositionTimes::Step>(step);
        std::printf("%-10s   %-22s %8.3f ms\n", "", CompositionTimes::Name(s),
                    1000 * t.Seconds(s) / composed);
    }
    const int cards = std::max(t.cardFrames, 1);
    std::printf("%-10s   %-22s %8.3f ms per card\n", "",
                CompositionTimes::Name(CompositionTimes::Cards),
                1000 * t.Seconds(CompositionTimes::Cards) / cards);
    const double callback = t.Seconds(CompositionTimes::Callback);
    std::printf("%-10s   whole callback %.3f s, outside it %.3f s of %.3f s\n", "", callback,
                full.seconds - callback, full.seconds);
}

bool BenchCreation(const std::string& label, const Inputs& inputs, const std::string& outFolder,
                   const std::string& keptVideo)
{
    Sources sources;
    int frames = 0;
    if (!LoadInputs(sources, inputs, frames))
        return false;
    const std::string composed = keptVideo.empty() ? outFolder + "/full.avi" : keptVideo;
    const Timing full = BestCreation<CVideoCreator>(sources, inputs, composed, frames);
    const Timing bare =
        BestCreation<PassThroughCreator>(sources, inputs, outFolder + "/bare.avi", frames);
    if (!full.ok || !bare.ok) {
        std::fprintf(stderr, "bench: %s: the creation did not run\n", label.c_str());
        return false;
    }
    std::printf("%-10s %4d frames | creation %7.3f s %7.1f frames/s | without composition "
                "%7.3f s %7.1f frames/s | ratio %5.2f (best of %d, %d threads)\n",
                label.c_str(), frames, full.seconds, frames / full.seconds, bare.seconds,
                frames / bare.seconds, full.seconds / bare.seconds, kRuns, full.threads);
    PrintSteps(label, full);
    if (!keptVideo.empty() && SetAviAudioDelay(keptVideo.c_str(), kDefaultAudioDelayMs))
        std::printf("%-10s video written to %s\n", label.c_str(), keptVideo.c_str());
    return true;
}

// Open with the sample face stretched to width x height (without blending, so that its
// backdrop stays flat), as a photo of that size from a phone would be opened.
bool BenchOpen(const Inputs& inputs, const std::string& outFolder, int width, int height)
{
    Sources sources;
    int frames = 0;
    if (!LoadInputs(sources, inputs, frames))
        return false;
    FrameRecord record{};
    if (!sources.face.GetFrame(&record) || !record.image)
        return false;
    const ImagePtr sample(record.image);
    cv::Mat stretched;
    cv::resize(sample->mat(), stretched, cv::Size(width, height), 0, 0, cv::INTER_NEAREST);
    sources.face.SetImage(Image::FromMat(stretched).release());

    CVideoCreator creator;
    const Timing timing = Create(creator, sources, inputs, outFolder + "/open.avi", frames, false);
    if (!timing.ok)
        return false;
    const CompositionTimes& t = timing.times;
    std::printf("Open with a %4d x %-4d face %7.3f s | work images %.3f s, face cut-out %.3f s, "
                "face scaling %.3f s, face turning %.3f s (%d threads)\n",
                width, height, timing.openSeconds, t.Seconds(CompositionTimes::WorkImages),
                t.Seconds(CompositionTimes::FaceCutOut), t.Seconds(CompositionTimes::FaceScaling),
                t.Seconds(CompositionTimes::FaceTurning), timing.threads);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    char folder[kPathBufferSize] = {};
    GetModuleDirectory(folder, sizeof folder);
    Inputs inputs;
    inputs.bin = folder;
    inputs.templatePath = inputs.bin + "/VideoTemplate/Dancer.avi";
    inputs.audioPath = inputs.bin + "/Audio/Melody.wav";
    inputs.videoCompressor = argc > 1 ? argv[1] : "MPEG-4 Part 2 Video";
    inputs.audioCompressor = argc > 2 ? argv[2] : "MPEG Layer-3";

    const BenchFolder work("creator-bench");
    if (work.path().empty()) {
        std::fprintf(stderr, "bench: no temporary folder\n");
        return 1;
    }
    const std::string& out = work.path();
    // The larger variant: every frame of the sample template scaled up without blending,
    // so that its flat areas stay flat.
    const std::string large = out + "/Dancer640.avi";
    const std::string scale =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -i \"" + inputs.templatePath +
        "\" -vf scale=640:480:flags=neighbor -c:v rawvideo -pix_fmt bgr24 \"" + large + "\"";
    std::error_code ignored;
    std::filesystem::create_directories(inputs.bin + "/Video", ignored);
    bool ok = BenchCreation("320x240", inputs, out, inputs.bin + "/Video/Sample.avi");
    if (RunCommand(scale)) {
        Inputs larger = inputs;
        larger.templatePath = large;
        ok = BenchCreation("640x480", larger, out, "") && ok;
        const cv::Size faces[] = {
            {640, 800}, {1280, 1600}, {2400, 3000}, {4000, 3000}, {8000, 8000}};
        for (const cv::Size& face : faces)
            ok = BenchOpen(larger, out, face.width, face.height) && ok;
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}
