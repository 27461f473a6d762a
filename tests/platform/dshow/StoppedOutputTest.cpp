#include "platform/com/Com.h"
#include "platform/dshow/SampleGrabber.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "tests/platform/av/AviProbe.h"
#include "tests/platform/dshow/OutputGraph.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// Holds the video's streaming thread at one frame until the test lets it go.
class HoldingCallback : public ISampleGrabberCB {
public:
    explicit HoldingCallback(int holdAt) : holdAt_(holdAt) {}

    HRESULT QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown && iid != IID_ISampleGrabberCB)
            return E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT SampleCB(double, IMediaSample*) override
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (++frames_ == holdAt_) {
            reached_ = true;
            changed_.notify_all();
            changed_.wait(lock, [&] { return released_; });
        }
        return S_OK;
    }
    HRESULT BufferCB(double, BYTE*, long) override { return S_OK; }

    // False when the frame did not come within a minute.
    bool WaitUntilHeld()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::minutes(1), [&] { return reached_; });
    }
    void LetGo()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    const int holdAt_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int frames_ = 0;
    bool reached_ = false;
    bool released_ = false;
};

}  // namespace

TEST(StoppedOutput, StopLeavesAPlayableFileWhoseAudioStaysNearTheVideo)
{
    testmedia::TempFolder folder;
    const std::string video = folder.path("long.avi");
    const std::string audio = folder.path("longer.wav");
    const std::string output = folder.path("stopped.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(video, "rawvideo", 32, 16, 10, 600, false));
    ASSERT_TRUE(testmedia::MakeTestAudio(audio, "pcm_s16le", 120.0, 8000, 1));

    // Outlives the graph, whose grabber holds it.
    HoldingCallback callback(20);
    ComPtr<IGraphBuilder> graph = NewGraph();
    ASSERT_EQ(graph->RenderFile(Utf8ToWide(video).c_str(), nullptr), S_OK);
    // Put a grabber between the video and its renderer, as the graph wrapper does.
    ComPtr<IBaseFilter> renderer = SinkOf(graph.get(), MEDIATYPE_Video);
    ASSERT_TRUE(renderer);
    ComPtr<IPin> upstream;
    ASSERT_EQ(PinOf(renderer.get(), PINDIR_INPUT, 0)->ConnectedTo(upstream.Out()), S_OK);
    graph->RemoveFilter(renderer.get());
    ComPtr<IBaseFilter> grabber;
    ASSERT_EQ(CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               grabber.OutVoid()),
              S_OK);
    ASSERT_TRUE(SUCCEEDED(graph->AddFilter(grabber.get(), u"Sample Grabber")));
    ASSERT_EQ(graph->Connect(upstream.get(), PinOf(grabber.get(), PINDIR_INPUT, 0).get()), S_OK);
    ASSERT_EQ(graph->Render(PinOf(grabber.get(), PINDIR_OUTPUT, 0).get()), S_OK);
    ComPtr<ISampleGrabber> grabbing;
    ASSERT_EQ(grabber->QueryInterface(IID_ISampleGrabber, grabbing.OutVoid()), S_OK);
    grabbing->SetCallback(&callback, 0);

    ASSERT_EQ(graph->RenderFile(Utf8ToWide(audio).c_str(), nullptr), S_OK);
    ASSERT_EQ(BuildOutput(graph.get(), output, "(No Compression)", "(No Compression)"), S_OK);
    ComPtr<IMediaFilter> timing;
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaFilter, timing.OutVoid()), S_OK);
    ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, control.OutVoid()), S_OK);
    timing->SetSyncSource(nullptr);
    ASSERT_EQ(control->Run(), S_OK);
    const bool held = callback.WaitUntilHeld();
    callback.LetGo();
    EXPECT_EQ(control->Stop(), S_OK);
    ASSERT_TRUE(held);

    std::vector<ProbedStream> streams;
    std::string error;
    ASSERT_TRUE(ProbeFile(output, streams, &error)) << error;
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_GE(streams[0].packets, 19);
    EXPECT_LT(streams[0].packets, 600);
    const double videoSeconds = static_cast<double>(streams[0].packets) / 10.0;
    // At most the multiplexer's one second of lead and one decoded buffer beyond the video.
    EXPECT_LE(streams[1].durationSeconds, videoSeconds + 1.5);
    EXPECT_GT(streams[1].durationSeconds, 0.0);
}
