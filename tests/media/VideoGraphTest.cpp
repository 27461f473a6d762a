#include "media/VideoGraph.h"

#include "media/BufferFrame.h"
#include "media/FilterLookup.h"
#include "platform/av/MediaFile.h"
#include "platform/com/ComPtr.h"
#include "platform/text/Utf16.h"
#include "support/FakeMediaSample.h"
#include "support/GraphRun.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kGraphNotify = 0xBEE5;

// Opens the wrapper's protected state to the tests and checks every sample that
// reaches the callback before publishing it as the wrapper does.
class ProbeGraph : public CVideoGraph {
public:
    using CVideoGraph::consumer_;
    using CVideoGraph::frame_;
    using CVideoGraph::graph_;
    using CVideoGraph::mediaEvent_;
    using CVideoGraph::RemoveReferenceClock;
    using CVideoGraph::WidePath;

    HRESULT SampleCB(double sampleTime, IMediaSample* sample) override
    {
        const Image* image = frame_.image;
        const bool wellFormed =
            image && sample && image->channels() == 3 &&
            image->origin() == ImageOrigin::BottomLeft && !image->hasData() &&
            static_cast<std::size_t>(sample->GetActualDataLength()) >= image->imageSize();
        if (!wellFormed)
            ++malformed;
        ++frames;
        return CVideoGraph::SampleCB(sampleTime, sample);
    }

    // Runs the rendered file to its end and stops the graph.
    bool Play()
    {
        if (!Run())
            return false;
        const bool completed = testmedia::WaitForCompletion(mediaEvent_);
        Stop();
        return completed;
    }

    std::atomic<int> frames = 0;
    std::atomic<int> malformed = 0;
};

class VideoGraphFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new testmedia::TempFolder();
        for (const char* codec : {"mjpeg", "mpeg4", "msvideo1"}) {
            ASSERT_TRUE(testmedia::MakeTestVideo(Path(codec, true), codec, 64, 48, 10, 12, true));
        }
        ASSERT_TRUE(testmedia::MakeTestVideo(Path("mpeg4", false), "mpeg4", 64, 48, 10, 12, false));
        ASSERT_TRUE(
            testmedia::MakeTestVideo(folder_->path("small.avi"), "mjpeg", 32, 16, 10, 5, false));
        ASSERT_TRUE(
            testmedia::MakeTestAudio(folder_->path("tone.wav"), "pcm_s16le", 0.5, 44100, 2));
        ASSERT_TRUE(testmedia::MakeMp3WithCover(folder_->path("cover.mp3"), 0.5));
        // Top half red, bottom half blue, stored both ways round.
        const std::vector<testmedia::TestPicture> split(
            3, testmedia::SplitPicture(20, 10, 5, 0xFF0000, 0x0000FF));
        ASSERT_TRUE(testmedia::WriteDibAvi(folder_->path("bottomup.avi"), split, 10,
                                           testmedia::DibLayout::Rgb24BottomUp));
        ASSERT_TRUE(testmedia::WriteDibAvi(folder_->path("topdown.avi"), split, 10,
                                           testmedia::DibLayout::Rgb24TopDown));
    }
    static void TearDownTestSuite()
    {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string Path(const std::string& codec, bool withAudio)
    {
        return folder_->path(codec + (withAudio ? "-audio.avi" : ".avi"));
    }
    static std::string File(const char* name) { return folder_->path(name); }

    void SetUp() override { ASSERT_TRUE(graph_.CreateGraph(nullptr, &source_)); }
    void TearDown() override
    {
        graph_.ReleaseGraph();
        source_.Close();
    }

    // The consumer's current picture, or null.
    ImagePtr Published()
    {
        FrameRecord record{};
        if (!source_.GetFrame(&record))
            return nullptr;
        return ImagePtr(record.image);
    }

    static testmedia::TempFolder* folder_;
    ProbeGraph graph_;
    CBufferFrame source_;
};

testmedia::TempFolder* VideoGraphFiles::folder_ = nullptr;

TEST_F(VideoGraphFiles, EveryDecodedFrameReachesTheCallbackAsBottomUpRgb24)
{
    for (const char* codec : {"mjpeg", "mpeg4", "msvideo1"}) {
        SCOPED_TRACE(codec);
        ASSERT_TRUE(graph_.RenderFile(Path(codec, true).c_str()));
        ASSERT_NE(graph_.frame_.image, nullptr);
        EXPECT_EQ(graph_.frame_.image->width(), 64);
        EXPECT_EQ(graph_.frame_.image->height(), 48);
        graph_.frames = 0;
        ASSERT_TRUE(graph_.Play());
        EXPECT_EQ(graph_.frames, 12);
        EXPECT_EQ(graph_.malformed, 0);
        ImagePtr published = Published();
        ASSERT_NE(published, nullptr);
        EXPECT_EQ(published->width(), 64);
        EXPECT_EQ(published->height(), 48);
        EXPECT_EQ(published->channels(), 3);
        ASSERT_TRUE(graph_.Close());
    }
}

TEST_F(VideoGraphFiles, FirstStoredRowIsTheBottomLineWhateverTheFileStores)
{
    for (const char* name : {"bottomup.avi", "topdown.avi"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(graph_.RenderFile(File(name).c_str()));
        ASSERT_TRUE(graph_.Play());
        EXPECT_EQ(graph_.frames, 3);
        ImagePtr published = Published();
        ASSERT_NE(published, nullptr);
        const std::uint8_t* bottom = published->pixel(3, 0);
        const std::uint8_t* top = published->pixel(3, 9);
        EXPECT_EQ(bottom[0], 0xFF);  // blue
        EXPECT_EQ(bottom[2], 0x00);
        EXPECT_EQ(top[0], 0x00);
        EXPECT_EQ(top[2], 0xFF);  // red
        graph_.frames = 0;
        ASSERT_TRUE(graph_.Close());
    }
}

TEST_F(VideoGraphFiles, AudioOnlyFileRendersWithTheGrabberLeftUnconnected)
{
    // An MP3's cover picture is no video stream either.
    for (const char* name : {"tone.wav", "cover.mp3"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(graph_.RenderFile(File(name).c_str()));
        ComPtr<IBaseFilter> grabber;
        ASSERT_EQ(graph_.graph_->FindFilterByName(u"Sample Grabber", grabber.Out()), S_OK);
        ComPtr<IPin> peer;
        EXPECT_NE(GetPin(grabber.get(), PINDIR_INPUT, 0)->ConnectedTo(peer.Out()), S_OK);
        EXPECT_EQ(FindSinkFilterByMajorType(graph_.graph_, MEDIATYPE_Video), nullptr);
        EXPECT_EQ(graph_.frame_.image, nullptr);
        ASSERT_TRUE(graph_.Play());
        EXPECT_EQ(graph_.frames, 0);
        EXPECT_EQ(Published(), nullptr);
        graph_.Close();
    }
}

TEST_F(VideoGraphFiles, SecondRenderWithoutCloseFailsAndKeepsTheFirstGraph)
{
    ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", false).c_str()));
    EXPECT_FALSE(graph_.RenderFile(File("small.avi").c_str()));
    ASSERT_NE(graph_.frame_.image, nullptr);
    EXPECT_EQ(graph_.frame_.image->width(), 64);
    ASSERT_TRUE(graph_.Play());
    EXPECT_EQ(graph_.frames, 12);
}

TEST_F(VideoGraphFiles, CloseLetsTheSameGraphRenderTheNextFile)
{
    ASSERT_TRUE(graph_.RenderFile(Path("mjpeg", true).c_str()));
    ASSERT_TRUE(graph_.Play());
    ASSERT_TRUE(graph_.Close());
    EXPECT_EQ(graph_.frame_.image, nullptr);
    graph_.frames = 0;
    ASSERT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
    ASSERT_TRUE(graph_.Play());
    EXPECT_EQ(graph_.frames, 5);
    ImagePtr published = Published();
    ASSERT_NE(published, nullptr);
    EXPECT_EQ(published->width(), 32);
    EXPECT_EQ(published->height(), 16);
}

TEST_F(VideoGraphFiles, EventsOfAClosedFileNeverReachTheNextOne)
{
    testmedia::MessageCounter window(kGraphNotify);
    ASSERT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
    graph_.SetNotifyWindow(window.window(), kGraphNotify);
    graph_.RemoveReferenceClock();
    ASSERT_TRUE(graph_.Run());
    // The run ends, and its completion, announced to the window, waits in the queue
    // untaken.
    ASSERT_TRUE(testmedia::PumpUntil([&] { return window.count > 0; }));
    EXPECT_EQ(graph_.frames, 5);
    ASSERT_TRUE(graph_.Close());
    graph_.SetNotifyWindow(nullptr, 0);
    ASSERT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
    long code = 0;
    LONG_PTR first = 0;
    LONG_PTR second = 0;
    EXPECT_NE(graph_.mediaEvent_->GetEvent(&code, &first, &second, 0), S_OK) << code;
}

TEST_F(VideoGraphFiles, UnreadableFileFailsAndLeavesTheGraphReady)
{
    ASSERT_TRUE(testmedia::WriteTextFile(File("not-media.avi"), "RIFF? no."));
    EXPECT_FALSE(graph_.RenderFile(File("not-media.avi").c_str()));
    EXPECT_FALSE(graph_.RenderFile(File("missing.avi").c_str()));
    EXPECT_FALSE(graph_.Run());
    ASSERT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
    ASSERT_TRUE(graph_.Play());
    EXPECT_EQ(graph_.frames, 5);
}

TEST_F(VideoGraphFiles, OverlongPathFailsCleanly)
{
    const std::string path = File(std::string(700, 'a').c_str());
    EXPECT_FALSE(graph_.RenderFile(path.c_str()));
    EXPECT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
}

TEST_F(VideoGraphFiles, SecondGrabberOfTheSameSizeKeepsTheFrameHeader)
{
    ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", false).c_str()));
    const Image* header = graph_.frame_.image;
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(graph_.InsertSampleGrabber());
    EXPECT_EQ(graph_.frame_.image, header);
}

TEST_F(VideoGraphFiles, NotificationSetBeforeOrAfterRenderingReachesTheWindow)
{
    for (bool beforeRendering : {true, false}) {
        SCOPED_TRACE(beforeRendering ? "before" : "after");
        testmedia::MessageCounter window(kGraphNotify);
        if (beforeRendering)
            graph_.SetNotifyWindow(window.window(), kGraphNotify);
        ASSERT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
        if (!beforeRendering)
            graph_.SetNotifyWindow(window.window(), kGraphNotify);
        ASSERT_TRUE(graph_.Run());
        EXPECT_TRUE(testmedia::PumpUntil([&] { return window.count > 0; }));
        EXPECT_EQ(window.lastParam, reinterpret_cast<LPARAM>(&graph_));
        graph_.Stop();
        graph_.Close();
        graph_.SetNotifyWindow(nullptr, 0);
    }
}

TEST_F(VideoGraphFiles, ReleasedGraphRefusesEverything)
{
    ASSERT_TRUE(graph_.RenderFile(File("small.avi").c_str()));
    ASSERT_TRUE(graph_.ReleaseGraph());
    EXPECT_EQ(graph_.consumer_, nullptr);
    EXPECT_FALSE(graph_.RenderFile(File("small.avi").c_str()));
    EXPECT_FALSE(graph_.Run());
    EXPECT_FALSE(graph_.Stop());
    EXPECT_FALSE(graph_.QueryControls());
    EXPECT_EQ(graph_.RemoveFilters(nullptr, false), E_FAIL);
}

// The wrapper's graph, but one filter in it refuses to be removed (at most `patience`
// times; then it goes, so that a wrapper that keeps trying still ends).
class GraphWithAFilterThatStays : public IFilterGraph {
public:
    GraphWithAFilterThatStays(IFilterGraph* graph, IBaseFilter* stays, int patience)
        : graph_(graph), stays_(stays), patience_(patience)
    {}

    HRESULT QueryInterface(REFIID iid, void** out) override
    {
        return graph_->QueryInterface(iid, out);
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) override
    {
        return graph_->AddFilter(filter, name);
    }
    HRESULT RemoveFilter(IBaseFilter* filter) override
    {
        if (filter == stays_ && refusals < patience_) {
            ++refusals;
            return E_FAIL;
        }
        return graph_->RemoveFilter(filter);
    }
    HRESULT EnumFilters(IEnumFilters** filters) override { return graph_->EnumFilters(filters); }
    HRESULT FindFilterByName(LPCWSTR name, IBaseFilter** filter) override
    {
        return graph_->FindFilterByName(name, filter);
    }
    HRESULT ConnectDirect(IPin* output, IPin* input, const AM_MEDIA_TYPE* type) override
    {
        return graph_->ConnectDirect(output, input, type);
    }
    HRESULT Disconnect(IPin* pin) override { return graph_->Disconnect(pin); }

    int refusals = 0;

private:
    IFilterGraph* graph_;
    IBaseFilter* stays_;
    int patience_;
};

int FilterCount(IFilterGraph* graph)
{
    ComPtr<IEnumFilters> filters;
    if (graph->EnumFilters(filters.Out()) != S_OK)
        return -1;
    int count = 0;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.Out(), nullptr) == S_OK)
        ++count;
    return count;
}

TEST_F(VideoGraphFiles, RemovingFiltersStepsPastOneThatCannotBeRemoved)
{
    ASSERT_TRUE(graph_.RenderFile(Path("mjpeg", true).c_str()));
    const int before = FilterCount(graph_.graph_);
    ASSERT_GT(before, 3);
    IBaseFilter* stays = FindSinkFilterByMajorType(graph_.graph_, MEDIATYPE_Audio);
    ASSERT_NE(stays, nullptr);
    GraphWithAFilterThatStays graph(graph_.graph_, stays, 1000);
    EXPECT_EQ(graph_.RemoveFilters(&graph, false), S_OK);
    // Asked at most once per pass over the filters, and every other filter went.
    EXPECT_LE(graph.refusals, before);
    EXPECT_EQ(FilterCount(graph_.graph_), 1);
    graph_.Close();
    EXPECT_EQ(FilterCount(graph_.graph_), 0);
}

// A Standard MIDI File of one track: a few notes, a quarter second each.
bool WriteMidiFile(const std::string& path)
{
    std::string track;
    for (unsigned char note : {60, 64, 67}) {
        track += std::string("\x00\x90", 2) + static_cast<char>(note) + '\x40';
        track += std::string("\x81\x70\x80", 3) + static_cast<char>(note) + '\x00';
    }
    track += std::string("\x00\xFF\x2F\x00", 4);
    std::string file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    file += "MTrk";
    for (int shift : {24, 16, 8, 0})
        file += static_cast<char>((track.size() >> shift) & 0xFF);
    file += track;
    return testmedia::WriteTextFile(path, file);
}

class VideoGraphOutput : public VideoGraphFiles {
protected:
    // Builds the output behind the rendered file, runs it without a clock to its end and
    // closes the graph, so that the output file is complete. The BuildOutput result.
    bool Write(const char* audioEncoder, const char* videoEncoder)
    {
        const bool built = graph_.BuildOutput(Out().c_str(), audioEncoder, videoEncoder);
        ComPtr<IMediaFilter> clock;
        if (graph_.graph_->QueryInterface(IID_IMediaFilter, clock.OutVoid()) == S_OK)
            clock->SetSyncSource(nullptr);
        EXPECT_TRUE(graph_.Play());
        graph_.Close();
        return built;
    }
    static std::string Out() { return File("out.avi"); }
    static std::vector<av::StreamInfo> Streams()
    {
        std::vector<av::StreamInfo> streams;
        std::string error;
        EXPECT_TRUE(av::ProbeMediaFile(Out(), streams, &error)) << error;
        return streams;
    }
    // Whether the graph holds a filter under that name.
    bool Holds(const char16_t* name)
    {
        ComPtr<IBaseFilter> filter;
        return graph_.graph_->FindFilterByName(name, filter.Out()) == S_OK;
    }
};

TEST_F(VideoGraphOutput, TemplateWithAudioGoesThroughBothEncoders)
{
    ASSERT_TRUE(graph_.RenderFile(Path("mjpeg", true).c_str()));
    ASSERT_TRUE(graph_.BuildOutput(Out().c_str(), "ima adpcm", "microsoft video 1"));
    EXPECT_TRUE(Holds(u"AVI MUX"));
    EXPECT_TRUE(Holds(u"File Writer"));
    EXPECT_TRUE(Holds(u"Audio Encoder"));
    EXPECT_TRUE(Holds(u"Video Encoder"));
    EXPECT_FALSE(Holds(u"Null Renderer"));
    graph_.Close();
    ASSERT_TRUE(graph_.RenderFile(Path("mjpeg", true).c_str()));
    ASSERT_TRUE(Write("IMA ADPCM", "Microsoft Video 1"));
    EXPECT_EQ(graph_.frames, 12);
    const std::vector<av::StreamInfo> streams = Streams();
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].kind, av::StreamKind::Video);
    EXPECT_EQ(streams[0].codec, "msvideo1");
    EXPECT_EQ(streams[0].width, 64);
    EXPECT_EQ(streams[0].frameCount, 12);
    EXPECT_EQ(streams[1].kind, av::StreamKind::Audio);
    EXPECT_EQ(streams[1].codec, "adpcm_ima_wav");
}

TEST_F(VideoGraphOutput, VideoOnlyTemplateWritesOneStream)
{
    ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", false).c_str()));
    ASSERT_TRUE(Write("PCM", "MJPEG Compressor"));
    const std::vector<av::StreamInfo> streams = Streams();
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].codec, "mjpeg");
    EXPECT_EQ(streams[0].frameCount, 12);
}

TEST_F(VideoGraphOutput, UnknownOrNoCompressionSendsTheFramesStraightToTheMultiplexer)
{
    for (const char* name : {"(No Compression)", "Not An Installed Codec"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", true).c_str()));
        ASSERT_TRUE(graph_.BuildOutput(Out().c_str(), name, name));
        EXPECT_FALSE(Holds(u"Video Encoder"));
        EXPECT_FALSE(Holds(u"Audio Encoder"));
        graph_.Close();
        ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", true).c_str()));
        ASSERT_TRUE(Write(name, name));
        const std::vector<av::StreamInfo> streams = Streams();
        ASSERT_EQ(streams.size(), 2u);
        EXPECT_EQ(streams[0].codec, "rawvideo");
        EXPECT_EQ(streams[0].frameCount, 12);
        EXPECT_EQ(streams[1].codec, "pcm_s16le");
    }
}

TEST_F(VideoGraphOutput, MidiAudioGoesToTheMultiplexerWithoutAnEncoder)
{
    ASSERT_TRUE(WriteMidiFile(File("song.mid")));
    ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", false).c_str()));
    ASSERT_EQ(graph_.graph_->RenderFile(Utf8ToWide(File("song.mid")).c_str(), nullptr), S_OK);
    ASSERT_TRUE(graph_.BuildOutput(Out().c_str(), "PCM", "MJPEG Compressor"));
    EXPECT_FALSE(Holds(u"Audio Encoder"));
    EXPECT_TRUE(Holds(u"Video Encoder"));
    EXPECT_EQ(FindSinkFilterByMajorType(graph_.graph_, MEDIATYPE_Midi), nullptr);
    graph_.Close();

    ASSERT_TRUE(graph_.RenderFile(Path("mpeg4", false).c_str()));
    ASSERT_EQ(graph_.graph_->RenderFile(Utf8ToWide(File("song.mid")).c_str(), nullptr), S_OK);
    ASSERT_TRUE(Write("PCM", "MJPEG Compressor"));
    const std::vector<av::StreamInfo> streams = Streams();
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codec, "mjpeg");
    EXPECT_NE(streams[1].kind, av::StreamKind::Video);
    EXPECT_NE(streams[1].kind, av::StreamKind::Audio);
}

TEST_F(VideoGraphOutput, NoVideoStreamIsAFailure)
{
    ASSERT_TRUE(graph_.RenderFile(File("tone.wav").c_str()));
    EXPECT_FALSE(graph_.BuildOutput(Out().c_str(), "PCM", "MJPEG Compressor"));
    EXPECT_TRUE(Holds(u"AVI MUX"));
    EXPECT_FALSE(graph_.BuildOutput(nullptr, "PCM", "MJPEG Compressor"));
}

// Samples handed to the callback directly, without a graph.
class VideoGraphCallback : public ::testing::Test {
protected:
    void SetUp() override
    {
        graph_.frame_.image = Image::CreateHeader(4, 2, 3, ImageOrigin::BottomLeft).release();
        graph_.consumer_ = &source_;
    }
    void TearDown() override
    {
        graph_.ReleaseGraph();
        source_.Close();
    }

    ProbeGraph graph_;
    CBufferFrame source_;
};

TEST_F(VideoGraphCallback, PublishesOnlySamplesHoldingAWholeFrame)
{
    const std::size_t frameBytes = graph_.frame_.image->imageSize();
    std::vector<std::uint8_t> pixels(frameBytes, 0x5A);

    testmedia::FakeMediaSample shortSample(pixels, static_cast<long>(frameBytes - 1));
    EXPECT_EQ(graph_.SampleCB(0.0, &shortSample), S_OK);
    FrameRecord record{};
    EXPECT_FALSE(source_.GetFrame(&record));

    testmedia::FakeMediaSample sample(pixels, static_cast<long>(frameBytes));
    EXPECT_EQ(graph_.SampleCB(0.1, &sample), S_OK);
    ASSERT_TRUE(source_.GetFrame(&record));
    ImagePtr published(record.image);
    ASSERT_NE(published, nullptr);
    EXPECT_EQ(published->pixel(3, 1)[2], 0x5A);
    EXPECT_NE(record.timeStamp.wYear, 0);
    EXPECT_FALSE(graph_.frame_.image->hasData());
}

TEST_F(VideoGraphCallback, NullSampleAndEmptyBufferPublishNothing)
{
    EXPECT_EQ(graph_.SampleCB(0.0, nullptr), S_OK);
    std::vector<std::uint8_t> pixels(graph_.frame_.image->imageSize(), 1);
    EXPECT_EQ(graph_.BufferCB(0.0, pixels.data(), 0), S_OK);
    EXPECT_EQ(graph_.BufferCB(0.0, nullptr, static_cast<long>(pixels.size())), S_OK);
    FrameRecord record{};
    EXPECT_FALSE(source_.GetFrame(&record));
    EXPECT_EQ(graph_.BufferCB(0.0, pixels.data(), static_cast<long>(pixels.size())), S_OK);
    ASSERT_TRUE(source_.GetFrame(&record));
    delete record.image;
}

TEST_F(VideoGraphCallback, SampleBeforeAnyFrameImagePublishesNothing)
{
    std::vector<std::uint8_t> pixels(graph_.frame_.image->imageSize(), 1);
    delete graph_.frame_.image;
    graph_.frame_.image = nullptr;
    testmedia::FakeMediaSample sample(pixels, static_cast<long>(pixels.size()));
    EXPECT_EQ(graph_.SampleCB(0.0, &sample), S_OK);
    EXPECT_EQ(graph_.BufferCB(0.0, pixels.data(), static_cast<long>(pixels.size())), S_OK);
    FrameRecord record{};
    EXPECT_FALSE(source_.GetFrame(&record));
}

TEST(VideoGraphPaths, PathsForTheGraphStopAt519UnitsWithoutSplittingACharacter)
{
    EXPECT_EQ(ProbeGraph::WidePath(("/" + std::string(600, 'a')).c_str()).size(), 519u);
    // A note sign takes two units; cut after the first it would be no character at all.
    const std::string edge = std::string(518, 'b') + "\xF0\x9F\x8E\xB5" + "c";
    EXPECT_EQ(ProbeGraph::WidePath(edge.c_str()), std::u16string(518, u'b'));
    const std::string fits = std::string(517, 'b') + "\xF0\x9F\x8E\xB5" + "c";
    EXPECT_EQ(ProbeGraph::WidePath(fits.c_str()), std::u16string(517, u'b') + u"\U0001F3B5");
    EXPECT_EQ(ProbeGraph::WidePath(nullptr), u"");
}

TEST(VideoGraphIdentity, AnswersAsItsOwnCallbackWithoutCounting)
{
    ProbeGraph graph;
    void* object = nullptr;
    EXPECT_EQ(graph.QueryInterface(IID_ISampleGrabberCB, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(&graph));
    EXPECT_EQ(graph.QueryInterface(IID_IBaseFilter, &object), E_NOINTERFACE);
    EXPECT_EQ(graph.AddRef(), 2u);
    EXPECT_EQ(graph.Release(), 1u);
    EXPECT_EQ(graph.GetFrameCount(), -1);
    EXPECT_FALSE(graph.HasFrames());
    // A graph user can go through its second base.
    std::unique_ptr<CVideoSource> owner = std::make_unique<ProbeGraph>();
    owner.reset();
}

}  // namespace
