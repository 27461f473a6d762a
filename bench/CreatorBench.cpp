// How much the frame composition costs: creates a video from the sample inputs (and from
// a 640 x 480 copy of the sample template) once with the composition and once with a
// grabber that passes every frame unchanged, and prints both wall times, the frame rates
// and their ratio.
//
// Usage: creator_bench [video compressor [audio compressor]]; the defaults are the
// MPEG-4 video and MP3 audio encoders. Run from the build's bin folder layout:
// the sample inputs are looked for beside the program. The personalised video made from
// the sample inputs is kept, with its audio delayed by the default 5 seconds, as
// Video/Sample.avi beside the program, so that it can be watched.

#include "creator/engine/AviAudioDelay.h"
#include "creator/engine/VideoCreator.h"
#include "creator/engine/VideoFrame.h"
#include "media/BufferFrame.h"
#include "media/PathUtils.h"
#include "platform/win/Sync.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// What a new project starts with.
constexpr int kDefaultAudioDelayMs = 5000;

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

bool Load(CBufferFrame& source, const std::string& path)
{
    source.SetFileName(path.c_str());
    return source.LoadFile();
}

// Reads the template as the main dialog does; its frame count, or 0.
int ReadTemplate(const std::string& path, CBufferFrame& templ)
{
    CVideoFrame reader;
    if (!reader.CreateGraph(nullptr, &templ) ||
        !reader.Open(path.c_str(), 0, CVideoFrame::kMaxFrameLimit, nullptr, 0))
        return 0;
    while (!reader.OnGraphEvent() && reader.GetFrameCount() < reader.GetFrameLimit())
        Sleep(2);
    const int frames = reader.GetFrameCount();
    reader.Stop();
    reader.ReleaseGraph();
    return frames;
}

struct Timing {
    bool ok = false;
    double seconds = 0;
};

// One creation from Run to completion, the events polled the way the dialog's handler
// drains them.
Timing Create(CVideoCreator& creator, Sources& sources, const std::string& templatePath,
              const std::string& audioPath, const std::string& outputPath, int frames,
              const char* videoCompressor, const char* audioCompressor)
{
    Timing timing;
    if (!creator.SetSources(&sources.background, &sources.face, &sources.templ, &sources.video) ||
        !creator.Open(templatePath.c_str(), audioPath.c_str(), outputPath.c_str(), audioCompressor,
                      videoCompressor, frames - 1))
        return timing;
    const auto start = std::chrono::steady_clock::now();
    if (creator.Run()) {
        while (!creator.OnGraphEvent())
            Sleep(1);
        timing.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        timing.ok = true;
    }
    creator.Close();
    creator.ReleaseGraph();
    return timing;
}

bool Bench(const std::string& label, const std::string& templatePath, const std::string& bin,
           const std::string& outFolder, const std::string& keptVideo, const char* videoCompressor,
           const char* audioCompressor)
{
    Sources sources;
    if (!Load(sources.background, bin + "/Background/Garden.jpg") ||
        !Load(sources.face, bin + "/FaceImage/Face.bmp")) {
        std::fprintf(stderr, "bench: the sample pictures cannot be loaded from %s\n", bin.c_str());
        return false;
    }
    const int frames = ReadTemplate(templatePath, sources.templ);
    if (frames < 2) {
        std::fprintf(stderr, "bench: the template %s cannot be read\n", templatePath.c_str());
        return false;
    }
    const std::string audio = bin + "/Audio/Melody.wav";

    CVideoCreator composing;
    const std::string composed = keptVideo.empty() ? outFolder + "/full.avi" : keptVideo;
    const Timing full = Create(composing, sources, templatePath, audio, composed, frames,
                               videoCompressor, audioCompressor);
    PassThroughCreator passing;
    const Timing bare = Create(passing, sources, templatePath, audio, outFolder + "/bare.avi",
                               frames, videoCompressor, audioCompressor);
    if (!full.ok || !bare.ok) {
        std::fprintf(stderr, "bench: %s: the creation did not run\n", label.c_str());
        return false;
    }
    std::printf("%-10s %4d frames | creation %7.3f s %7.1f frames/s | without composition "
                "%7.3f s %7.1f frames/s | ratio %5.2f\n",
                label.c_str(), frames, full.seconds, frames / full.seconds, bare.seconds,
                frames / bare.seconds, full.seconds / bare.seconds);
    if (!keptVideo.empty() && SetAviAudioDelay(keptVideo.c_str(), kDefaultAudioDelayMs))
        std::printf("%-10s video written to %s\n", label.c_str(), keptVideo.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* videoCompressor = argc > 1 ? argv[1] : "MPEG-4 Part 2 Video";
    const char* audioCompressor = argc > 2 ? argv[2] : "MPEG Layer-3";
    char folder[kPathBufferSize] = {};
    GetModuleDirectory(folder, sizeof folder);
    const std::string bin = folder;
    const std::string sample = bin + "/VideoTemplate/Dancer.avi";

    std::string out = (std::filesystem::temp_directory_path() / "creator-bench-XXXXXX").string();
    if (!::mkdtemp(out.data())) {
        std::fprintf(stderr, "bench: no temporary folder\n");
        return 1;
    }
    // The larger variant: every frame of the sample template scaled up without blending,
    // so that its flat areas stay flat.
    const std::string large = out + "/Dancer640.avi";
    const std::string scale =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -i \"" + sample +
        "\" -vf scale=640:480:flags=neighbor -c:v rawvideo -pix_fmt bgr24 \"" + large + "\"";
    std::error_code ignored;
    std::filesystem::create_directories(bin + "/Video", ignored);
    bool ok = Bench("320x240", sample, bin, out, bin + "/Video/Sample.avi", videoCompressor,
                    audioCompressor);
    if (std::system(scale.c_str()) == 0)
        ok = Bench("640x480", large, bin, out, "", videoCompressor, audioCompressor) && ok;
    else
        ok = false;
    std::filesystem::remove_all(out, ignored);
    return ok ? 0 : 1;
}
