// Prints how fast the template editor's converters run on a 640 x 480 template of 127
// frames (the most either converter handles): the AVI-to-files converter writing every
// frame as a numbered bitmap, and the files-to-AVI converter making an AVI of those
// bitmaps uncompressed and with the MJPEG compressor, in frames per second from start to
// end message. Beside each, the ffmpeg command-line tool doing the same conversion with
// its image2 muxer or demuxer, measured in the same run (its own "rtime", without the
// process start), and the ratio of the two.

#include "bench/BenchFolder.h"
#include "bench/FfmpegTool.h"
#include "editor/engine/AVIToFiles.h"
#include "editor/engine/FilesToAVI.h"
#include "media/BufferFrame.h"
#include "platform/win/Application.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/Sync.h"
#include "platform/win/Window.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr int kFrames = 127;
constexpr UINT kGraphNotify = 0xBEE5;
constexpr UINT kConvertDone = 0xBEE9;
constexpr double kPatienceSeconds = 120;

// The editor's main dialog, as far as the converters need it: a window for their
// messages, one shared frame source, and the stop and close on each end message.
class Editor {
public:
    Editor()
    {
        EnsureApplication();
        window_ = CreateMessageWindow();
        frames_.Create("Video Frame", 5);
        aviToFiles_.CreateGraph(nullptr, &frames_);
        aviToFiles_.SetNotifyWindow(window_, kGraphNotify);
        filesToAvi_.CreateGraph(nullptr, &frames_);
        filesToAvi_.SetNotifyWindow(window_, kGraphNotify);
        SetMessageHandler(window_, [this](HWND, UINT message, WPARAM, LPARAM lParam) {
            const void* sender = reinterpret_cast<const void*>(lParam);
            if (message == kGraphNotify && sender == &aviToFiles_)
                aviToFiles_.HandleGraphEvents();
            // The completion ends a files-to-AVI run; the 0xBEE9 of the close after it
            // comes later, when the next run may have started.
            if (message == kGraphNotify && sender == &filesToAvi_ &&
                filesToAvi_.HandleGraphEvents()) {
                filesToAvi_.Close();
                done_ = true;
            }
            if (message == kConvertDone && sender == &aviToFiles_) {
                aviToFiles_.Stop();
                aviToFiles_.Close();
                done_ = true;
            }
            return LRESULT{0};
        });
    }
    ~Editor()
    {
        aviToFiles_.ReleaseGraph();
        filesToAvi_.Shutdown();
        frames_.Close();
        DestroyMessageWindow(window_);
    }

    // Seconds from the start to the end message, or -1.
    double AviToFiles(const std::string& avi, const std::string& pattern)
    {
        std::string path = avi;
        return Timed([&] { return aviToFiles_.Convert(path.data(), pattern.c_str(), 0, 1); },
                     [&] { return aviToFiles_.GetFrameCount() == kFrames; });
    }
    double FilesToAvi(const std::string& avi, const std::string& pattern, const char* compressor)
    {
        filesToAvi_.SetSettings(avi.c_str(), pattern.c_str(), compressor, 2.0f, 0, 99999, 1);
        return Timed(
            [&] { return filesToAvi_.BuildAndRun(); },
            [&] { return filesToAvi_.GetFrameCount() == kFrames && !filesToAvi_.Failed(); });
    }

private:
    double Timed(const std::function<bool()>& start, const std::function<bool()>& succeeded)
    {
        done_ = false;
        const auto begin = std::chrono::steady_clock::now();
        if (!start())
            return -1;
        std::chrono::duration<double> taken{};
        while (!done_ && taken.count() < kPatienceSeconds) {
            ProcessPostedMessages();
            Sleep(1);
            taken = std::chrono::steady_clock::now() - begin;
        }
        return done_ && succeeded() ? taken.count() : -1;
    }

    HWND window_ = nullptr;
    CBufferFrame frames_;
    CAVIToFiles aviToFiles_;
    CFilesToAVI filesToAvi_;
    bool done_ = false;
};

void Report(const char* what, double ours, double ffmpeg)
{
    std::printf("%-28s 640x480 %d frames: editor %7.1f fps, ffmpeg CLI %7.1f fps, ratio %.2f\n",
                what, kFrames, kFrames / ours, kFrames / ffmpeg, ffmpeg / ours);
}

int Measure(const std::string& folder)
{
    const std::string avi = folder + "/template.avi";
    if (!MakeTestPattern(avi, kFrames, "-c:v rawvideo -pix_fmt bgr24")) {
        std::fprintf(stderr, "editor bench: making the template failed\n");
        return 1;
    }
    Editor editor;
    const std::string bitmaps = folder + "/shot%05d.bmp";
    const double toFiles = editor.AviToFiles(avi, bitmaps);
    const double ffmpegToFiles =
        FfmpegSeconds("-i '" + avi + "' -f image2 '" + folder + "/ffmpeg%05d.bmp'");
    if (toFiles <= 0 || ffmpegToFiles <= 0) {
        std::fprintf(stderr, "editor bench: AVI to bitmaps failed\n");
        return 1;
    }
    Report("AVI to bitmaps", toFiles, ffmpegToFiles);

    struct Output {
        const char* name;
        const char* compressor;
        const char* ffmpegCodec;
    };
    int failures = 0;
    for (const Output& output : {Output{"bitmaps to AVI (uncompressed)", "(No Compression)",
                                        "-c:v rawvideo -pix_fmt bgr24"},
                                 Output{"bitmaps to AVI (MJPEG)", "MJPEG Compressor",
                                        "-c:v mjpeg -q:v 3 -pix_fmt yuvj420p"}}) {
        const double toAvi = editor.FilesToAvi(folder + "/made.avi", bitmaps, output.compressor);
        const double ffmpegToAvi =
            FfmpegSeconds("-framerate 2 -f image2 -i '" + bitmaps + "' " + output.ffmpegCodec +
                          " '" + folder + "/ffmpeg.avi'");
        if (toAvi <= 0 || ffmpegToAvi <= 0) {
            std::fprintf(stderr, "editor bench: %s failed\n", output.name);
            ++failures;
            continue;
        }
        Report(output.name, toAvi, ffmpegToAvi);
    }
    return failures;
}

}  // namespace

int main()
{
    const BenchFolder folder("editor-bench");
    if (folder.path().empty()) {
        std::fprintf(stderr, "editor bench: no temporary folder\n");
        return 1;
    }
    return Measure(folder.path()) == 0 ? 0 : 1;
}
