#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "support/TestMedia.h"
#include "tests/platform/dshow/Callback.h"
#include "tests/platform/dshow/TestGraph.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace testfilters;

namespace {

struct FileGraph : TestGraph {
    FileGraph() { RemoveClock(); }
    HRESULT Render(const std::string& path)
    {
        return builder->RenderFile(Utf8ToWide(path).c_str(), nullptr);
    }
    // The first filter, newest first, whose connected input carries the major type.
    IBaseFilter* Sink(const GUID& major)
    {
        IEnumFilters* filters = nullptr;
        builder->EnumFilters(&filters);
        IBaseFilter* filter = nullptr;
        IBaseFilter* found = nullptr;
        while (!found && filters->Next(1, &filter, nullptr) == S_OK) {
            IPin* in = PinOf(filter, PINDIR_INPUT);
            AM_MEDIA_TYPE type{};
            if (in && !PinOf(filter, PINDIR_OUTPUT) && SUCCEEDED(in->ConnectionMediaType(&type))) {
                if (type.majortype == major)
                    found = filter;
                FreeMediaType(type);
            }
            filter->Release();
        }
        filters->Release();
        return found;
    }
};

// Puts a grabber for RGB24 between the video stream and its renderer.
ISampleGrabber* SpliceGrabber(FileGraph& graph, Callback* callback)
{
    IBaseFilter* renderer = graph.Sink(MEDIATYPE_Video);
    if (!renderer)
        return nullptr;
    ISampleGrabber* grabber = Create<ISampleGrabber>(CLSID_SampleGrabber, IID_ISampleGrabber);
    IBaseFilter* filter = nullptr;
    grabber->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    graph.builder->AddFilter(filter, u"Sample Grabber");
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_RGB24;
    wanted.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(&wanted);
    IPin* in = PinOf(renderer, PINDIR_INPUT);
    IPin* upstream = nullptr;
    in->ConnectedTo(&upstream);
    graph.builder->Disconnect(upstream);
    graph.builder->Disconnect(in);
    EXPECT_EQ(graph.builder->Connect(upstream, PinOf(filter, PINDIR_INPUT)), S_OK);
    EXPECT_EQ(graph.builder->Connect(PinOf(filter, PINDIR_OUTPUT), in), S_OK);
    upstream->Release();
    grabber->SetCallback(callback, 0);
    filter->Release();
    return grabber;
}

}  // namespace

TEST(RenderFile, VideoFramesReachTheGrabberAsBottomUpRgb24)
{
    testmedia::TempFolder folder;
    const std::string path = folder.path("clip.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(path, "mjpeg", 64, 48, 10, 20, false));
    Callback callback;  // outlives the graph, whose grabber holds it
    FileGraph graph;
    ASSERT_EQ(graph.Render(path), S_OK);
    std::vector<long> sizes;
    callback.onSample = [&](double, IMediaSample* sample) {
        sizes.push_back(sample->GetActualDataLength());
    };
    ISampleGrabber* grabber = SpliceGrabber(graph, &callback);
    ASSERT_NE(grabber, nullptr);
    AM_MEDIA_TYPE type{};
    ASSERT_EQ(grabber->GetConnectedMediaType(&type), S_OK);
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    EXPECT_EQ(info->bmiHeader.biWidth, 64);
    EXPECT_EQ(info->bmiHeader.biHeight, 48);
    EXPECT_EQ(info->bmiHeader.biBitCount, 24);
    FreeMediaType(type);

    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 10000), 1);
    EXPECT_EQ(sizes, std::vector<long>(20, 64 * 3 * 48));
    grabber->Release();
}

TEST(RenderFile, AudioOnlyFileRendersToAnAudioRenderer)
{
    testmedia::TempFolder folder;
    const std::string path = folder.path("tone.wav");
    ASSERT_TRUE(testmedia::MakeTestAudio(path, "pcm_s16le", 0.5, 22050, 2));
    FileGraph graph;
    ASSERT_EQ(graph.Render(path), S_OK);
    EXPECT_NE(graph.Sink(MEDIATYPE_Audio), nullptr);
    EXPECT_EQ(graph.Sink(MEDIATYPE_Video), nullptr);
    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 10000), 1);
}

TEST(RenderFile, AFileNamedInLatin1RendersByItsOwnBytes)
{
    testmedia::TempFolder folder;
    const std::string made = folder.path("tone.wav");
    const std::string latin1 = folder.path("t\xF4ne.wav");  // o-circumflex as the byte F4
    ASSERT_TRUE(testmedia::MakeTestAudio(made, "pcm_s16le", 0.5, 22050, 2));
    ASSERT_EQ(std::rename(made.c_str(), latin1.c_str()), 0);
    FileGraph graph;
    EXPECT_EQ(graph.Render(latin1), S_OK);
    EXPECT_NE(graph.Sink(MEDIATYPE_Audio), nullptr);
}

TEST(RenderFile, SecondFileIsFoundFirstAndBothStreamsMustEnd)
{
    testmedia::TempFolder folder;
    const std::string video = folder.path("template.avi");
    const std::string audio = folder.path("song.wav");
    ASSERT_TRUE(testmedia::MakeTestVideo(video, "mjpeg", 32, 16, 10, 10, true));
    ASSERT_TRUE(testmedia::MakeTestAudio(audio, "pcm_s16le", 1.0, 8000, 1));
    FileGraph graph;
    ASSERT_EQ(graph.Render(video), S_OK);
    IBaseFilter* templateSound = graph.Sink(MEDIATYPE_Audio);
    ASSERT_EQ(graph.Render(audio), S_OK);
    IBaseFilter* songSound = graph.Sink(MEDIATYPE_Audio);
    EXPECT_NE(songSound, templateSound);
    IMediaSeeking* seeking = nullptr;
    graph.builder->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_NEAR(static_cast<double>(duration) / kUnitsPerSecond, 1.0, 0.05);
    seeking->Release();
    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 10000), 1);
}

TEST(RenderFile, MissingBrokenAndMidiFilesFailAndLeaveNoFilter)
{
    testmedia::TempFolder folder;
    const std::string text = folder.path("notes.avi");
    ASSERT_TRUE(testmedia::WriteTextFile(text, "not a video"));
    const std::string midi = folder.path("tune.mid");
    ASSERT_TRUE(testmedia::WriteTextFile(midi, "MThd"));
    FileGraph graph;
    EXPECT_TRUE(FAILED(graph.Render(folder.path("missing.avi"))));
    EXPECT_TRUE(FAILED(graph.Render(text)));
    EXPECT_TRUE(FAILED(graph.Render(midi)));
    IEnumFilters* filters = nullptr;
    graph.builder->EnumFilters(&filters);
    IBaseFilter* filter = nullptr;
    EXPECT_EQ(filters->Next(1, &filter, nullptr), S_FALSE);
    filters->Release();
}
