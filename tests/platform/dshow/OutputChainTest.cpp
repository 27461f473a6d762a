#include "platform/dshow/AviMux.h"

#include "platform/av/EncoderEntry.h"
#include "platform/com/Com.h"
#include "platform/dshow/FileSink.h"
#include "platform/dshow/Uuids.h"
#include "platform/dshow/VideoEncoderFilter.h"
#include "platform/text/Utf16.h"
#include "tests/platform/av/AviProbe.h"
#include "tests/platform/dshow/OutputGraph.h"
#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int kFrames = 10;
constexpr int kFps = 10;

struct Inputs {
    testmedia::TempFolder folder;
    std::string video = folder.path("template.avi");
    std::string audio = folder.path("song.wav");
};

bool Render(IGraphBuilder* graph, const std::string& path)
{
    return SUCCEEDED(graph->RenderFile(Utf8ToWide(path).c_str(), nullptr));
}

// Renders the inputs, builds the output chain and runs it to its end; the probed file.
std::vector<ProbedStream> MakeVideo(const std::vector<std::string>& inputs,
                                    const std::string& output, const std::string& audio,
                                    const std::string& video)
{
    std::vector<ProbedStream> streams;
    ComPtr<IGraphBuilder> graph = NewGraph();
    for (const std::string& input : inputs)
        EXPECT_TRUE(Render(graph.get(), input)) << input;
    EXPECT_EQ(BuildOutput(graph.get(), output, audio, video), S_OK) << video;
    EXPECT_TRUE(RunToCompletion(graph.get())) << video << " / " << audio;
    std::string error;
    EXPECT_TRUE(ProbeFile(output, streams, &error)) << error;
    return streams;
}

// The fccType of each stream header, in file order.
std::vector<std::string> StreamTypes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    std::vector<std::string> types;
    for (std::size_t i = 0; i + 12 <= file.size(); ++i) {
        if (std::memcmp(&file[i], "strh", 4) == 0)
            types.emplace_back(&file[i + 8], 4);
    }
    return types;
}

// A format-0 Standard MIDI File: a note on at 0, its note off after `seconds`.
bool WriteMidi(const std::string& path, int seconds)
{
    const int ticks = 96 * 2 * seconds;  // 96 per quarter at the default 120 per minute
    std::vector<unsigned char> track = {0x00, 0x90, 0x3C, 0x40};
    std::vector<unsigned char> delta;
    for (int value = ticks;; value >>= 7) {
        delta.insert(delta.begin(),
                     static_cast<unsigned char>((value & 0x7F) | (delta.empty() ? 0 : 0x80)));
        if (value < 0x80)
            break;
    }
    track.insert(track.end(), delta.begin(), delta.end());
    for (unsigned char c : {0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00})
        track.push_back(c);
    std::vector<unsigned char> file = {
        'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 0, 0,
        1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, static_cast<unsigned char>(track.size())};
    file.insert(file.end(), track.begin(), track.end());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

}  // namespace

TEST(OutputChain, EveryVideoCompressorWritesTheFramesBesideTheAudio)
{
    Inputs in;
    ASSERT_TRUE(testmedia::MakeTestVideo(in.video, "rawvideo", 64, 48, kFps, kFrames, false));
    ASSERT_TRUE(testmedia::MakeTestAudio(in.audio, "pcm_s16le", 1.0, 22050, 1));
    const std::vector<av::EncoderEntry> audio = av::AvailableEncoders(av::EncoderCategory::Audio);
    const std::vector<av::EncoderEntry> video = av::AvailableEncoders(av::EncoderCategory::Video);
    for (std::size_t i = 0; i < video.size(); ++i) {
        const av::EncoderEntry& sound = audio[i % audio.size()];
        const std::string output = in.folder.path("out" + std::to_string(i) + ".avi");
        const std::vector<ProbedStream> streams =
            MakeVideo({in.video, in.audio}, output, sound.friendlyName, video[i].friendlyName);
        ASSERT_EQ(streams.size(), 2u) << video[i].friendlyName;
        EXPECT_EQ(streams[0].type, "video");
        EXPECT_EQ(streams[0].width, 64);
        EXPECT_EQ(streams[0].height, 48);
        EXPECT_EQ(streams[0].packets, kFrames) << video[i].friendlyName;
        EXPECT_EQ(streams[1].type, "audio");
        EXPECT_EQ(streams[1].channels, 1) << sound.friendlyName;
        EXPECT_NEAR(streams[1].durationSeconds, 1.0, 0.2) << sound.friendlyName;
    }
}

TEST(OutputChain, NoCompressionStoresBottomUpBitmapsAndPcm)
{
    Inputs in;
    ASSERT_TRUE(testmedia::MakeTestVideo(in.video, "rawvideo", 30, 20, kFps, kFrames, false));
    ASSERT_TRUE(testmedia::MakeTestAudio(in.audio, "pcm_s16le", 1.0, 8000, 2));
    const std::string output = in.folder.path("raw.avi");
    const std::vector<ProbedStream> streams =
        MakeVideo({in.video, in.audio}, output, "(No Compression)", "(No Compression)");
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].codec, "rawvideo");
    EXPECT_EQ(streams[0].width, 30);
    EXPECT_EQ(streams[0].packets, kFrames);
    EXPECT_EQ(streams[1].codec, "pcm_s16le");
    EXPECT_EQ(streams[1].channels, 2);
    EXPECT_EQ(StreamTypes(output), (std::vector<std::string>{"vids", "auds"}));
}

TEST(OutputChain, MidiGoesIntoTheMultiplexerAsAMidsStream)
{
    Inputs in;
    const std::string song = in.folder.path("song.mid");
    ASSERT_TRUE(testmedia::MakeTestVideo(in.video, "rawvideo", 32, 16, kFps, kFrames, false));
    ASSERT_TRUE(WriteMidi(song, 1));
    const std::string output = in.folder.path("midi.avi");
    const std::vector<ProbedStream> streams =
        MakeVideo({in.video, song}, output, "PCM", "MJPEG Compressor");
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].packets, kFrames);
    EXPECT_EQ(StreamTypes(output), (std::vector<std::string>{"vids", "mids"}));
}

TEST(OutputChain, CompressorThatCannotTakeTheSizeFailsTheConnection)
{
    Inputs in;
    // The Video 1 codec works on 4 x 4 blocks only.
    ASSERT_TRUE(testmedia::MakeTestVideo(in.video, "rawvideo", 62, 46, kFps, 2, false));
    ComPtr<IGraphBuilder> graph = NewGraph();
    ASSERT_TRUE(Render(graph.get(), in.video));
    ComPtr<IBaseFilter> sink = SinkOf(graph.get(), MEDIATYPE_Video);
    ASSERT_TRUE(sink);
    ComPtr<IPin> sinkInput = PinOf(sink.get(), PINDIR_INPUT, 0);
    ComPtr<IPin> upstream;
    ASSERT_EQ(sinkInput->ConnectedTo(upstream.Out()), S_OK);
    graph->Disconnect(upstream.get());
    graph->Disconnect(sinkInput.get());

    for (const char* name : {"Microsoft Video 1", "No such compressor"}) {
        testing::internal::CaptureStderr();
        auto* encoder = new CVideoEncoderFilter(name);
        ComPtr<IBaseFilter> filter;
        ASSERT_EQ(encoder->NonDelegatingQueryInterface(IID_IBaseFilter, filter.OutVoid()), S_OK);
        ASSERT_TRUE(SUCCEEDED(graph->AddFilter(filter.get(), u"Video Encoder")));
        ComPtr<IPin> input = PinOf(filter.get(), PINDIR_INPUT, 0);
        EXPECT_TRUE(FAILED(graph->Connect(upstream.get(), input.get()))) << name;
        ComPtr<IPin> peer;
        EXPECT_EQ(input->ConnectedTo(peer.Out()), VFW_E_NOT_CONNECTED);
        ComPtr<IEnumMediaTypes> types;
        ASSERT_EQ(PinOf(filter.get(), PINDIR_OUTPUT, 0)->EnumMediaTypes(types.Out()), S_OK);
        AM_MEDIA_TYPE* type = nullptr;
        EXPECT_EQ(types->Next(1, &type, nullptr), S_FALSE);
        EXPECT_EQ(graph->RemoveFilter(filter.get()), S_OK);
        // Why the codec refused reaches the program's standard error.
        const std::string reported = testing::internal::GetCapturedStderr();
        EXPECT_NE(reported.find("video encoder: "), std::string::npos) << name << ": " << reported;
    }
}

TEST(OutputChain, OutputThatCannotBeCreatedFailsTheRunWithItsReason)
{
    Inputs in;
    ASSERT_TRUE(testmedia::MakeTestVideo(in.video, "rawvideo", 32, 16, kFps, 2, false));
    ComPtr<IGraphBuilder> graph = NewGraph();
    ASSERT_TRUE(Render(graph.get(), in.video));
    const std::string output = in.folder.path("missing/out.avi");
    ASSERT_EQ(BuildOutput(graph.get(), output, "(No Compression)", "(No Compression)"), S_OK);
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, control.OutVoid()), S_OK);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(FAILED(control->Run()));
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("avi mux: "), std::string::npos) << reported;
    EXPECT_NE(reported.find(output), std::string::npos) << reported;
    control->Stop();
}

TEST(OutputChain, MultiplexerGrowsAFreeInputAfterEachConnection)
{
    Inputs in;
    ASSERT_TRUE(testmedia::MakeTestVideo(in.video, "rawvideo", 32, 16, kFps, 2, true));
    ComPtr<IGraphBuilder> graph = NewGraph();
    ASSERT_TRUE(Render(graph.get(), in.video));
    ComPtr<IBaseFilter> mux;
    ASSERT_EQ(CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               mux.OutVoid()),
              S_OK);
    ASSERT_TRUE(SUCCEEDED(graph->AddFilter(mux.get(), u"AVI MUX")));
    EXPECT_TRUE(PinOf(mux.get(), PINDIR_INPUT, 0));
    EXPECT_FALSE(PinOf(mux.get(), PINDIR_INPUT, 1));
    for (const GUID* major : {&MEDIATYPE_Video, &MEDIATYPE_Audio}) {
        ComPtr<IBaseFilter> sink = SinkOf(graph.get(), *major);
        ASSERT_TRUE(sink);
        ComPtr<IPin> sinkInput = PinOf(sink.get(), PINDIR_INPUT, 0);
        ComPtr<IPin> upstream;
        ASSERT_EQ(sinkInput->ConnectedTo(upstream.Out()), S_OK);
        graph->RemoveFilter(sink.get());
        const int free = major == &MEDIATYPE_Video ? 0 : 1;
        EXPECT_EQ(graph->Connect(upstream.get(), PinOf(mux.get(), PINDIR_INPUT, free).get()), S_OK);
        EXPECT_TRUE(PinOf(mux.get(), PINDIR_INPUT, free + 1));
    }
    // The mux takes no compressed stream from a filter that cannot describe it.
    AM_MEDIA_TYPE foreign{};
    foreign.majortype = MEDIATYPE_Video;
    foreign.subtype = MediaSubtypeFromFourcc(0x47504A4D);
    foreign.formattype = FORMAT_None;
    EXPECT_EQ(PinOf(mux.get(), PINDIR_INPUT, 2)->QueryAccept(&foreign), S_FALSE);
}

TEST(FileWriter, KeepsTheNameItWasGivenAndItsMode)
{
    ComPtr<IFileSinkFilter2> sink;
    ASSERT_EQ(CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IFileSinkFilter2, sink.OutVoid()),
              S_OK);
    LPOLESTR name = nullptr;
    EXPECT_EQ(sink->GetCurFile(&name, nullptr), E_FAIL);
    EXPECT_EQ(sink->SetFileName(u"", nullptr), E_INVALIDARG);
    EXPECT_EQ(sink->SetFileName(u"C:\\videos\\out.avi", nullptr), S_OK);
    AM_MEDIA_TYPE type{};
    ASSERT_EQ(sink->GetCurFile(&name, &type), S_OK);
    EXPECT_EQ(std::u16string(name), u"C:\\videos\\out.avi");
    EXPECT_EQ(type.majortype, GUID_NULL);
    CoTaskMemFree(name);
    FreeMediaType(type);
    DWORD mode = 7;
    EXPECT_EQ(sink->GetMode(&mode), S_OK);
    EXPECT_EQ(mode, 0u);
    EXPECT_EQ(sink->SetMode(AM_FILE_OVERWRITE), S_OK);
    EXPECT_EQ(sink->GetMode(&mode), S_OK);
    EXPECT_EQ(mode, AM_FILE_OVERWRITE);
}

TEST(MidiPlayback, MidiFileRendersThroughTheMidiRendererToItsEnd)
{
    testmedia::TempFolder folder;
    const std::string song = folder.path("song.mid");
    const std::string broken = folder.path("broken.mid");
    ASSERT_TRUE(WriteMidi(song, 1));
    ASSERT_TRUE(testmedia::CopyTruncated(song, broken, 20));
    ComPtr<IGraphBuilder> graph = NewGraph();
    EXPECT_TRUE(FAILED(graph->RenderFile(Utf8ToWide(broken).c_str(), nullptr)));
    ASSERT_EQ(graph->RenderFile(Utf8ToWide(song).c_str(), nullptr), S_OK);
    ComPtr<IBaseFilter> renderer = SinkOf(graph.get(), MEDIATYPE_Midi);
    ASSERT_TRUE(renderer);
    CLSID clsid{};
    renderer->GetClassID(&clsid);
    EXPECT_EQ(clsid, CLSID_AVIMIDIRender);
    EXPECT_TRUE(RunToCompletion(graph.get()));
}
