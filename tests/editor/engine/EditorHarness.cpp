#include "EditorHarness.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace editortest {

using testmedia::TestPicture;

std::vector<TestPicture> ColourFrames(int count, int width, int height)
{
    std::vector<TestPicture> frames;
    for (int i = 0; i < count; ++i) {
        const auto top = static_cast<std::uint32_t>(0x102030 + 0x0B1723 * i) & 0xFFFFFF;
        const auto bottom = static_cast<std::uint32_t>(0xF0E0D0 - 0x130917 * i) & 0xFFFFFF;
        frames.push_back(testmedia::SplitPicture(width, height, i % height + 1, top, bottom));
    }
    return frames;
}

TestPicture FlatPicture(int width, int height, std::uint32_t colour)
{
    return testmedia::SplitPicture(width, height, 0, 0, colour);
}

std::string BitmapName(const char* prefix, int number)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%05d.bmp", prefix, number);
    return name;
}

bool WriteBitmap(const std::string& path, const TestPicture& picture, bool grey)
{
    cv::Mat bgr(picture.height, picture.width, CV_8UC3,
                const_cast<std::uint8_t*>(picture.bgr.data()));
    cv::Mat stored = bgr;
    if (grey)
        cv::cvtColor(bgr, stored, cv::COLOR_BGR2GRAY);
    return cv::imwrite(path, stored);
}

TestPicture ReadPicture(const std::string& path)
{
    cv::Mat stored = cv::imread(path, cv::IMREAD_COLOR);
    TestPicture picture;
    if (stored.empty())
        return picture;
    picture.width = stored.cols;
    picture.height = stored.rows;
    for (int y = 0; y < stored.rows; ++y)
        picture.bgr.insert(picture.bgr.end(), stored.ptr<std::uint8_t>(y),
                           stored.ptr<std::uint8_t>(y) + stored.cols * 3);
    return picture;
}

av::StreamInfo ProbeVideo(const std::string& path)
{
    std::vector<av::StreamInfo> streams;
    std::string error;
    if (!av::ProbeMediaFile(path, streams, &error) || streams.size() != 1) {
        av::StreamInfo none;
        none.frameCount = -1;
        return none;
    }
    return streams[0];
}

bool SamePicture(const TestPicture& a, const TestPicture& b, int tolerance)
{
    if (a.width != b.width || a.height != b.height || a.bgr.size() != b.bgr.size())
        return false;
    for (std::size_t i = 0; i < a.bgr.size(); ++i) {
        if (std::abs(int(a.bgr[i]) - int(b.bgr[i])) > tolerance)
            return false;
    }
    return true;
}

EditorHarness::EditorHarness()
{
    frames.Create("Video Frame", 5);
    aviToFiles.CreateGraph(nullptr, &frames);
    aviToFiles.SetNotifyWindow(pump.window(), kGraphNotify);
    filesToAvi.CreateGraph(nullptr, &frames);
    filesToAvi.SetNotifyWindow(pump.window(), kGraphNotify);
    pump.SetHandler([this](const testmedia::MessagePump::Message& m) {
        const void* sender = reinterpret_cast<const void*>(m.lParam);
        if (m.message == kGraphNotify && sender == &aviToFiles)
            aviToFiles.HandleGraphEvents();
        if (m.message == kGraphNotify && sender == &filesToAvi)
            filesToAvi.HandleGraphEvents();
        if ((m.message == kConvertDone || m.message == kCountDone) && sender == &aviToFiles) {
            aviToFiles.Stop();
            aviToFiles.Close();
        }
        if (m.message == kConvertDone && sender == &filesToAvi)
            filesToAvi.Close();
        if (m.message == kFrameDone && sender == &filesToAvi && onFilesFrame)
            onFilesFrame();
    });
}

EditorHarness::~EditorHarness()
{
    aviToFiles.ReleaseGraph();
    filesToAvi.Shutdown();
    frames.Close();
}

std::vector<testmedia::MessagePump::Message> EditorHarness::From(const void* sender,
                                                                 UINT message) const
{
    std::vector<testmedia::MessagePump::Message> found;
    const auto& all = pump.messages();
    for (std::size_t i = seen_; i < all.size(); ++i) {
        if (all[i].message == message && reinterpret_cast<const void*>(all[i].lParam) == sender)
            found.push_back(all[i]);
    }
    return found;
}

bool EditorHarness::AviToFiles(const std::string& avi, const std::string& pattern, int first,
                               int step)
{
    Forget();
    std::string path = avi;
    if (!aviToFiles.Convert(path.data(), pattern.c_str(), first, step))
        return false;
    return pump.RunUntil(
        [&] { return !From(&aviToFiles, kConvertDone).empty() && aviToFiles.GetState() == 0; });
}

int EditorHarness::CountFrames(const std::string& avi, int stopFrame, int limit)
{
    Forget();
    std::string path = avi;
    if (!aviToFiles.CountFrames(path.data(), stopFrame, limit))
        return -1;
    if (!pump.RunUntil([&] { return !From(&aviToFiles, kCountDone).empty(); }))
        return -1;
    return static_cast<int>(From(&aviToFiles, kCountDone).front().wParam);
}

bool EditorHarness::FilesToAvi(const std::string& avi, const std::string& pattern,
                               const char* compressor, float rate, int first, int last, int step)
{
    Forget();
    filesToAvi.SetSettings(avi.c_str(), pattern.c_str(), compressor, rate, first, last, step);
    if (!filesToAvi.BuildAndRun())
        return false;
    return pump.RunUntil([&] { return From(&filesToAvi, kConvertDone).size() >= 2; });
}

}  // namespace editortest
