#include "platform/dshow/Graph.h"
#include "platform/dshow/SampleGrabber.h"
#include "platform/dshow/Uuids.h"
#include "tests/platform/dshow/Callback.h"
#include "tests/platform/dshow/CountingSource.h"
#include "tests/platform/dshow/RecordingRenderer.h"
#include "tests/platform/dshow/TestGraph.h"
#include "tests/platform/dshow/TestMediaTypes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

using namespace testfilters;

namespace {

using Graph = TestGraph;

// Holds one reference to a filter made with new.
template <class T>
struct Held {
    template <class... Args>
    explicit Held(Args&&... args) : filter(new T(std::forward<Args>(args)...))
    {
        filter->NonDelegatingAddRef();
    }
    ~Held() { filter->NonDelegatingRelease(); }
    T* operator->() { return filter; }
    T* filter;
};

std::vector<std::u16string> FilterNames(IFilterGraph* graph)
{
    std::vector<std::u16string> names;
    IEnumFilters* filters = nullptr;
    graph->EnumFilters(&filters);
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info{};
        filter->QueryFilterInfo(&info);
        if (info.pGraph)
            info.pGraph->Release();
        names.emplace_back(info.achName);
        filter->Release();
    }
    filters->Release();
    return names;
}

// A Sample Grabber in a graph, released with the object.
struct Grabber {
    explicit Grabber(Graph& graph)
    {
        grabber = Create<ISampleGrabber>(CLSID_SampleGrabber, IID_ISampleGrabber);
        grabber->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter));
        graph.builder->AddFilter(filter, u"Sample Grabber");
    }
    ~Grabber()
    {
        filter->Release();
        grabber->Release();
    }
    Grabber(const Grabber&) = delete;
    Grabber& operator=(const Grabber&) = delete;

    ISampleGrabber* grabber = nullptr;
    IBaseFilter* filter = nullptr;
};

}  // namespace

TEST(FilterGraph, EnumeratesNewestFirstAndNumbersDuplicateNames)
{
    Graph graph;
    Held<RecordingRenderer> first;
    Held<RecordingRenderer> second;
    Held<RecordingRenderer> third;
    EXPECT_EQ(graph.builder->AddFilter(first.filter, u"Sink"), S_OK);
    EXPECT_EQ(graph.builder->AddFilter(second.filter, u"Other"), S_OK);
    EXPECT_EQ(graph.builder->AddFilter(third.filter, u"Sink"), VFW_S_DUPLICATE_NAME);
    const std::vector<std::u16string> expected{u"Sink 0001", u"Other", u"Sink"};
    EXPECT_EQ(FilterNames(graph.builder), expected);
    EXPECT_EQ(graph.builder->AddFilter(first.filter, u"Again"), E_INVALIDARG);
}

TEST(FilterGraph, RemovingAFilterDisconnectsBothEnds)
{
    Graph graph;
    Held<CountingSource> source(Rgb24Type(4, 2), 3);
    Held<RecordingRenderer> sink;
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(sink.filter, u"Sink");
    IPin* out = PinOf(source.filter, PINDIR_OUTPUT);
    IPin* in = PinOf(sink.filter, PINDIR_INPUT);
    ASSERT_EQ(graph.builder->Connect(out, in), S_OK);
    EXPECT_EQ(graph.builder->Connect(out, in), VFW_E_ALREADY_CONNECTED);

    AM_MEDIA_TYPE type{};
    ASSERT_EQ(in->ConnectionMediaType(&type), S_OK);
    EXPECT_EQ(type.subtype, MEDIASUBTYPE_RGB24);
    FreeMediaType(type);

    EXPECT_EQ(graph.builder->RemoveFilter(sink.filter), S_OK);
    IPin* peer = nullptr;
    EXPECT_EQ(out->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(in->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(peer, nullptr);
    EXPECT_EQ(graph.builder->RemoveFilter(sink.filter), VFW_E_NOT_FOUND);
    FILTER_INFO info{};
    sink->QueryFilterInfo(&info);
    EXPECT_EQ(info.pGraph, nullptr);
}

TEST(FilterGraph, PinsThatShareNoTypeDoNotConnect)
{
    Graph graph;
    Held<CountingSource> source(PcmType(8000, 1), 3);
    Held<RecordingRenderer> sink;
    sink->accepted = MEDIATYPE_Video;
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(sink.filter, u"Sink");
    EXPECT_EQ(graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT),
                                     PinOf(sink.filter, PINDIR_INPUT)),
              VFW_E_CANNOT_CONNECT);
    IPin* peer = nullptr;
    EXPECT_EQ(PinOf(source.filter, PINDIR_OUTPUT)->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
}

TEST(FilterGraph, RenderAddsTheDefaultRendererOfTheStreamsType)
{
    Graph graph;
    Held<CountingSource> video(Rgb24Type(4, 2), 1);
    Held<CountingSource> audio(PcmType(8000, 2), 1);
    graph.builder->AddFilter(video.filter, u"Video");
    graph.builder->AddFilter(audio.filter, u"Audio");
    EXPECT_EQ(graph.builder->Render(PinOf(video.filter, PINDIR_OUTPUT)), S_OK);
    EXPECT_EQ(graph.builder->Render(PinOf(audio.filter, PINDIR_OUTPUT)), S_OK);
    const std::vector<std::u16string> expected{u"Audio Renderer", u"Video Renderer", u"Audio",
                                               u"Video"};
    EXPECT_EQ(FilterNames(graph.builder), expected);

    IBasicVideo* basic = nullptr;
    graph.builder->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&basic));
    long width = 0;
    long height = 0;
    EXPECT_EQ(basic->GetVideoSize(&width, &height), S_OK);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    basic->Release();
}

TEST(FilterGraph, BasicVideoAnswersNoInterfaceWithoutAVideoStream)
{
    Graph graph;
    Held<CountingSource> audio(PcmType(8000, 2), 1);
    graph.builder->AddFilter(audio.filter, u"Audio");
    graph.builder->Render(PinOf(audio.filter, PINDIR_OUTPUT));
    IBasicVideo* basic = nullptr;
    ASSERT_EQ(graph.builder->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&basic)),
              S_OK);
    long width = 0;
    long height = 0;
    EXPECT_EQ(basic->GetVideoSize(&width, &height), E_NOINTERFACE);
    basic->Release();
}

TEST(FilterGraph, GrabberCallbackEditsEverySampleInPlaceBeforeItGoesOn)
{
    Callback callback;  // outlives the graph, whose grabber holds it
    Graph graph;
    graph.RemoveClock();
    Held<CountingSource> source(Rgb24Type(4, 2), 5);
    Held<RecordingRenderer> sink;
    graph.builder->AddFilter(source.filter, u"Source");
    Grabber grabbing(graph);
    ISampleGrabber* grabber = grabbing.grabber;
    IBaseFilter* grabberFilter = grabbing.filter;
    graph.builder->AddFilter(sink.filter, u"Sink");

    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_RGB24;
    wanted.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(&wanted);
    ASSERT_EQ(graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT),
                                     PinOf(grabberFilter, PINDIR_INPUT)),
              S_OK);
    ASSERT_EQ(graph.builder->Connect(PinOf(grabberFilter, PINDIR_OUTPUT),
                                     PinOf(sink.filter, PINDIR_INPUT)),
              S_OK);
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(grabber->GetConnectedMediaType(&connected), S_OK);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(connected.pbFormat)->bmiHeader.biWidth, 4);
    FreeMediaType(connected);

    std::vector<double> times;
    callback.onSample = [&](double time, IMediaSample* sample) {
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        data[0] = static_cast<BYTE>(data[0] + 100);
        times.push_back(time);
    };
    grabber->SetCallback(&callback, 0);
    ASSERT_EQ(graph.control->Run(), S_OK);
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 5000), 1);
    graph.control->Stop();

    EXPECT_EQ(callback.calls, 5);
    EXPECT_EQ(sink->firstBytes(), (std::vector<int>{100, 101, 102, 103, 104}));
    EXPECT_EQ(times, (std::vector<double>{0.0, 0.1, 0.2, 0.3, 0.4}));
}

TEST(FilterGraph, ACallbackThatAnswersSFalseMakesItsSampleTheStreamsLast)
{
    Callback callback;
    callback.lastCall = 3;
    Graph graph;
    graph.RemoveClock();
    Held<CountingSource> source(Rgb24Type(4, 2), 10);
    Held<RecordingRenderer> sink;
    graph.builder->AddFilter(source.filter, u"Source");
    Grabber grabbing(graph);
    graph.builder->AddFilter(sink.filter, u"Sink");
    graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT),
                           PinOf(grabbing.filter, PINDIR_INPUT));
    graph.builder->Connect(PinOf(grabbing.filter, PINDIR_OUTPUT), PinOf(sink.filter, PINDIR_INPUT));
    grabbing.grabber->SetCallback(&callback, 0);
    ASSERT_EQ(graph.control->Run(), S_OK);
    // Nobody stops the graph: the stream ends by itself after the third sample.
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 1000), 1);
    EXPECT_EQ(callback.calls, 3);
    EXPECT_EQ(sink->firstBytes(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(source->pin()->delivered(), 3);
    graph.control->Stop();
}

TEST(FilterGraph, GrabberRefusesATypeOtherThanTheOneAskedFor)
{
    Graph graph;
    Held<CountingSource> source(PcmType(8000, 1), 1);
    ISampleGrabber* grabber = Create<ISampleGrabber>(CLSID_SampleGrabber, IID_ISampleGrabber);
    IBaseFilter* grabberFilter = nullptr;
    grabber->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&grabberFilter));
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(grabberFilter, u"Sample Grabber");
    AM_MEDIA_TYPE wanted{};
    wanted.majortype = MEDIATYPE_Video;
    grabber->SetMediaType(&wanted);
    EXPECT_TRUE(FAILED(graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT),
                                              PinOf(grabberFilter, PINDIR_INPUT))));
    AM_MEDIA_TYPE connected{};
    EXPECT_EQ(grabber->GetConnectedMediaType(&connected), VFW_E_NOT_CONNECTED);
    grabberFilter->Release();
    grabber->Release();
}

TEST(FilterGraph, CompleteIsQueuedOnceAfterEveryRendererEnded)
{
    Graph graph;
    graph.RemoveClock();
    Held<CountingSource> shortSource(Rgb24Type(4, 2), 2);
    Held<CountingSource> longSource(PcmType(8000, 1), 50);
    graph.builder->AddFilter(shortSource.filter, u"Short");
    graph.builder->AddFilter(longSource.filter, u"Long");
    graph.builder->Render(PinOf(shortSource.filter, PINDIR_OUTPUT));
    graph.builder->Render(PinOf(longSource.filter, PINDIR_OUTPUT));
    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 1000), 1);
    EXPECT_EQ(longSource->pin()->delivered(), 50);
}

TEST(FilterGraph, StreamingErrorQueuesErrorAbortAndStillEndsTheStream)
{
    Graph graph;
    graph.RemoveClock();
    Held<CountingSource> source(Rgb24Type(4, 2), 10, 1'000'000, 3);
    Held<RecordingRenderer> sink;
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(sink.filter, u"Sink");
    graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT), PinOf(sink.filter, PINDIR_INPUT));
    graph.control->Run();
    std::vector<long> codes;
    long code = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    while (graph.events->GetEvent(&code, &p1, &p2, 1000) == S_OK) {
        codes.push_back(code);
        if (code == EC_ERRORABORT) {
            EXPECT_EQ(p1, E_FAIL);
        }
    }
    EXPECT_EQ(codes, (std::vector<long>{EC_ERRORABORT, EC_COMPLETE}));
    EXPECT_EQ(sink->firstBytes().size(), 3u);
}

TEST(FilterGraph, ARefusedSampleEndsTheStreamAndTheGraphCompletes)
{
    Graph graph;
    graph.RemoveClock();
    Held<CountingSource> source(Rgb24Type(4, 2), 10);
    Held<RecordingRenderer> sink;
    sink->refuseAfter = 3;
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(sink.filter, u"Sink");
    graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT), PinOf(sink.filter, PINDIR_INPUT));
    graph.control->Run();
    // The refusing filter reports its own error; the source adds none and ends the stream.
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 1000), 1);
    EXPECT_EQ(source->pin()->delivered(), 4);
}

TEST(FilterGraph, WithoutAClockNothingWaitsForSampleTimes)
{
    Graph graph;
    graph.RemoveClock();
    // A sample an hour apart: with a clock this would take a day.
    Held<CountingSource> source(Rgb24Type(4, 2), 24, 36'000'000'000LL);
    Held<RecordingRenderer> sink;
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(sink.filter, u"Sink");
    graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT), PinOf(sink.filter, PINDIR_INPUT));
    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 20000), 1);
    EXPECT_EQ(sink->firstBytes().size(), 24u);
}

TEST(FilterGraph, StopWakesARendererWaitingForASampleTime)
{
    Graph graph;  // keeps its clock
    Held<CountingSource> source(Rgb24Type(4, 2), 5, 36'000'000'000LL);
    Held<RecordingRenderer> sink;
    graph.builder->AddFilter(source.filter, u"Source");
    graph.builder->AddFilter(sink.filter, u"Sink");
    graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT), PinOf(sink.filter, PINDIR_INPUT));
    graph.control->Run();
    while (source->pin()->delivered() < 2)
        std::this_thread::yield();
    EXPECT_EQ(graph.control->Stop(), S_OK);
    // The first sample is due at once, the second an hour later: Stop cut the wait short.
    EXPECT_EQ(sink->firstBytes().size(), 1u);
    OAFilterState state = -1;
    EXPECT_EQ(graph.control->GetState(200, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

TEST(FilterGraph, StopWaitsForASleepingCallbackAndThenRunsAgainFromTheStart)
{
    Graph graph;
    graph.RemoveClock();
    Held<CountingSource> source(Rgb24Type(4, 2), 1000);
    graph.builder->AddFilter(source.filter, u"Source");
    Grabber grabbing(graph);
    ISampleGrabber* grabber = grabbing.grabber;
    IBaseFilter* grabberFilter = grabbing.filter;
    graph.builder->Connect(PinOf(source.filter, PINDIR_OUTPUT), PinOf(grabberFilter, PINDIR_INPUT));
    graph.builder->Render(PinOf(grabberFilter, PINDIR_OUTPUT));
    Callback callback;
    std::atomic<bool> inside{false};
    callback.onSample = [&](double, IMediaSample*) {
        inside = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        inside = false;
    };
    grabber->SetCallback(&callback, 0);
    graph.control->Run();
    while (callback.calls < 2)
        std::this_thread::yield();
    graph.control->Stop();
    EXPECT_FALSE(inside);
    const int calls = callback.calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(callback.calls, calls);
    grabber->SetCallback(nullptr, 0);
    graph.control->Run();
    EXPECT_EQ(DrainEvents(graph.events, EC_COMPLETE, 5000), 1);
    EXPECT_EQ(source->pin()->delivered(), 1000);
}

TEST(FilterGraph, EventsWaitUpToTheTimeOutAndReportAbort)
{
    Graph graph;
    long code = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    EXPECT_EQ(graph.events->GetEvent(&code, &p1, &p2, 0), E_ABORT);
}

TEST(FilterGraph, SeekingToTheStartIsAcceptedOtherPositionsAreNot)
{
    Graph graph;
    IMediaSeeking* seeking = nullptr;
    graph.builder->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
    LONGLONG zero = 0;
    LONGLONG later = 5;
    EXPECT_EQ(seeking->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr,
                                    AM_SEEKING_NoPositioning),
              S_OK);
    EXPECT_EQ(seeking->SetPositions(&later, AM_SEEKING_AbsolutePositioning, nullptr,
                                    AM_SEEKING_NoPositioning),
              E_NOTIMPL);
    seeking->Release();
}
