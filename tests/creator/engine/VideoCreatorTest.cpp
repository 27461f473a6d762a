#include "creator/engine/VideoCreator.h"

#include "creator/engine/CompositionPictures.h"
#include "media/FileUtils.h"
#include "platform/av/MediaFile.h"
#include "support/FakeMediaSample.h"
#include "support/MessagePump.h"
#include "support/TestMedia.h"
#include "tools/SampleSet.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace composition_pictures;

constexpr int kW = kFrameWidth;
constexpr int kH = kFrameHeight;
constexpr int kFrames = 12;
constexpr UINT kSentinel = 0x8100;
const char kNoCompression[] = "(No Compression)";

// The creator with a way into its graph, to raise events the way a failing filter does.
class TestCreator : public CVideoCreator {
public:
    HRESULT Notify(long code)
    {
        IMediaEventSink* sink = nullptr;
        if (!graph_ ||
            FAILED(graph_->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))))
            return E_NOINTERFACE;
        const HRESULT hr = sink->Notify(code, E_FAIL, 0);
        sink->Release();
        return hr;
    }
};

std::vector<BYTE> BytesOf(const Image& picture)
{
    return std::vector<BYTE>(picture.data(), picture.data() + picture.imageSize());
}

struct VideoCreatorTest : ::testing::Test {
    VideoCreatorTest()
    {
        for (CBufferFrame* source : {&background, &face, &templ, &video})
            source->Create("source", 2);
        templ.SetImage(TemplateFrame().release());
        face.SetImage(FacePicture().release());
        templatePath = folder.path("template.avi");
        outputPath = folder.path("out.avi");
        made = testmedia::MakeTestVideo(templatePath, "rawvideo", kW, kH, 10, kFrames, false);
        creatorReady = creator.SetSources(&background, &face, &templ, &video);
        pump.SetHandler([this](const testmedia::MessagePump::Message& m) {
            if (m.message == kSentinel)
                drained = true;
            else if (m.message == WM_GRAPH_NOTIFY && m.lParam == reinterpret_cast<LPARAM>(&creator))
                completions += creator.OnGraphEvent();
        });
    }
    ~VideoCreatorTest() override
    {
        creator.Stop();
        creator.ReleaseGraph();
        for (CBufferFrame* source : {&background, &face, &templ, &video})
            source->Close();
    }

    int Open(const char* path, const char* audio, int total = kFrames - 1)
    {
        return creator.Open(path, audio, outputPath.c_str(), "", kNoCompression, total);
    }

    // A 24 frames-per-second template longer than the 127 frames a template read counts,
    // and a song to go with it; false when either cannot be made.
    bool MakeLongInputs()
    {
        longTemplate = folder.path("long.avi");
        song = folder.path("song.wav");
        return testmedia::MakeTestVideo(longTemplate, "rawvideo", kW, kH, 24, 300, false) &&
               testmedia::MakeTestAudio(song, "pcm_s16le", 15.0, 22050, 1);
    }
    // Opens a creation of the long template and the song through the video compressor.
    int OpenLong(const char* videoCompressor)
    {
        return creator.Open(longTemplate.c_str(), song.c_str(), outputPath.c_str(), "PCM",
                            videoCompressor, 126);
    }

    // Runs the open creation to its end and closes it; false when it did not complete.
    bool RunToCompletion()
    {
        creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
        if (creator.Run() != 1)
            return false;
        const bool done = pump.RunUntil([&] { return pump.Count(WM_CREATION_DONE) > 0; });
        creator.Close();
        return done;
    }

    // Delivers everything posted so far.
    void Drain()
    {
        drained = false;
        PostMessageA(pump.window(), kSentinel, 0, 0);
        ASSERT_TRUE(pump.RunUntil([this] { return drained; }));
    }

    testmedia::MessagePump pump;
    testmedia::TempFolder folder;
    CBufferFrame background, face, templ, video;
    TestCreator creator;
    std::string templatePath, outputPath;
    std::string longTemplate, song;
    bool made = false;
    bool creatorReady = false;
    bool drained = false;
    int completions = 0;
};

std::vector<av::StreamInfo> StreamsOf(const std::string& path)
{
    std::vector<av::StreamInfo> streams;
    std::string error;
    EXPECT_TRUE(av::ProbeMediaFile(path, streams, &error)) << error;
    return streams;
}

// The path with every slash turned into a backslash, as the dialogs' "%s\%s" forms them.
std::string WithBackslashes(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

TEST_F(VideoCreatorTest, SecondOpenWithoutCloseFailsAndKeepsTheFirstCreation)
{
    ASSERT_TRUE(made && creatorReady);
    ASSERT_EQ(Open(templatePath.c_str(), nullptr), 1);
    EXPECT_EQ(creator.composition().total(), kFrames - 1);
    EXPECT_EQ(Open(templatePath.c_str(), nullptr, 3), 0);
    EXPECT_EQ(creator.composition().total(), kFrames - 1);
    EXPECT_EQ(creator.composition().endFrame(), kFrames - 1);
    EXPECT_NE(creator.composition().faces().GetImage(0), nullptr);
    EXPECT_EQ(creator.Close(), 1);
    EXPECT_EQ(creator.composition().faces().GetImage(0), nullptr);
    EXPECT_EQ(Open(templatePath.c_str(), nullptr), 1);
}

TEST_F(VideoCreatorTest, TemplateWithoutVideoFailsAndLeavesTheGraphClosed)
{
    ASSERT_TRUE(made && creatorReady);
    const std::string tone = folder.path("tone.wav");
    ASSERT_TRUE(testmedia::MakeTestAudio(tone, "pcm_s16le", 1.0, 44100, 2));
    EXPECT_EQ(Open(tone.c_str(), nullptr), 0);
    EXPECT_EQ(Open(nullptr, tone.c_str()), 0);
    EXPECT_EQ(creator.composition().faces().GetImage(0), nullptr);
    EXPECT_EQ(Open(templatePath.c_str(), nullptr), 1);
}

TEST_F(VideoCreatorTest, FacePictureWithoutBackdropStillOpens)
{
    ASSERT_TRUE(made && creatorReady);
    ImagePtr noise = Image::Create(50, 50, 3);
    cv::randu(noise->fullMat(), 0, 256);
    face.SetImage(noise.release());
    ASSERT_EQ(Open(templatePath.c_str(), nullptr), 1);
    EXPECT_EQ(creator.composition().faces().GetImage(0), nullptr);
}

TEST_F(VideoCreatorTest, SampleCallbackComposesMatchingSamplesAndPostsTheirIndex)
{
    ASSERT_TRUE(made && creatorReady);
    ASSERT_EQ(Open(templatePath.c_str(), nullptr), 1);
    creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
    const ImagePtr frame = TemplateFrame();

    EXPECT_EQ(creator.SampleCB(0.0, nullptr), S_OK);
    std::vector<BYTE> bytes = BytesOf(*frame);
    testmedia::FakeMediaSample sample(bytes, static_cast<long>(bytes.size()));
    EXPECT_EQ(creator.SampleCB(0.0, &sample), S_OK);
    // The face went into the face spot, in the sample and in the output preview.
    const BYTE* spot = bytes.data() + 85 * frame->step() + 80 * 3;
    EXPECT_GT(spot[2], 200);
    EXPECT_LT(spot[0], 60);
    void* held = nullptr;
    ASSERT_TRUE(video.GetData(&held, nullptr));
    EXPECT_EQ(std::memcmp(static_cast<Image*>(held)->data(), bytes.data(), bytes.size()), 0);

    std::vector<BYTE> shorter = BytesOf(*frame);
    shorter.resize(shorter.size() - frame->step());
    std::vector<BYTE> wrongBytes = shorter;
    testmedia::FakeMediaSample wrong(wrongBytes, static_cast<long>(wrongBytes.size()));
    EXPECT_EQ(creator.SampleCB(0.5, &wrong), S_OK);
    EXPECT_EQ(wrongBytes, shorter);
    EXPECT_EQ(creator.composition().framesDone(), 1);

    Drain();
    ASSERT_EQ(pump.Count(WM_FRAME_PROGRESS), 1);
    for (const testmedia::MessagePump::Message& m : pump.messages()) {
        if (m.message == WM_FRAME_PROGRESS) {
            EXPECT_EQ(m.wParam, 0u);
        }
    }
}

TEST_F(VideoCreatorTest, SampleBeforeTheGrabberConnectedPassesUnchanged)
{
    ASSERT_TRUE(made && creatorReady);
    // Not opened: the sources' pictures are there, but the graph has no frame image yet.
    creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
    const std::vector<BYTE> original = BytesOf(*TemplateFrame());
    std::vector<BYTE> bytes = original;
    testmedia::FakeMediaSample sample(bytes, static_cast<long>(bytes.size()));
    EXPECT_EQ(creator.SampleCB(0.0, &sample), S_OK);
    EXPECT_EQ(bytes, original);
    EXPECT_EQ(creator.composition().framesDone(), 0);
    Drain();
    EXPECT_EQ(pump.Count(WM_FRAME_PROGRESS), 0);
}

TEST_F(VideoCreatorTest, StreamBrokenOffEndsTheCreationLikeCompletion)
{
    ASSERT_TRUE(made && creatorReady);
    ASSERT_EQ(Open(templatePath.c_str(), nullptr), 1);
    creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
    ASSERT_EQ(creator.Notify(EC_ERRORABORT), S_OK);
    ASSERT_TRUE(pump.RunUntil([this] { return pump.Count(WM_CREATION_DONE) > 0; }));
    Drain();
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(pump.Count(WM_CREATION_DONE), 1);
    EXPECT_TRUE(creator.Failed());
    creator.Close();
    EXPECT_TRUE(creator.Failed());
    ASSERT_EQ(Open(templatePath.c_str(), nullptr), 1);
    EXPECT_FALSE(creator.Failed());
    EXPECT_TRUE(RunToCompletion());
    EXPECT_FALSE(creator.Failed());
}

TEST_F(VideoCreatorTest, CompletedRunWritesEveryFrameWithoutAudioAndKeepsTheFaceSize)
{
    ASSERT_TRUE(made && creatorReady);
    ASSERT_EQ(Open(templatePath.c_str(), ""), 1);
    creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
    creator.SetFaceSizePercent(150);
    ASSERT_EQ(creator.Run(), 1);
    EXPECT_EQ(creator.isRunning(), 1);
    ASSERT_TRUE(pump.RunUntil([&] { return pump.Count(WM_CREATION_DONE) > 0; }));
    EXPECT_EQ(creator.isRunning(), 0);
    EXPECT_EQ(creator.Close(), 1);
    EXPECT_EQ(creator.faceSizePercent(), 150);
    Drain();
    EXPECT_EQ(pump.Count(WM_FRAME_PROGRESS), kFrames);

    std::vector<av::StreamInfo> streams;
    ASSERT_TRUE(av::ProbeMediaFile(outputPath, streams, nullptr));
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0].kind, av::StreamKind::Video);
    EXPECT_EQ(streams[0].frameCount, kFrames);
    EXPECT_EQ(streams[0].width, kW);
    EXPECT_EQ(streams[0].height, kH);
}

TEST_F(VideoCreatorTest, PathsWithBackslashesAreReadAndWritten)
{
    ASSERT_TRUE(made && creatorReady);
    std::string error;
    ASSERT_TRUE(WriteSampleSet(folder.root(), &error)) << error;
    const std::string root = folder.root() + "\\";
    for (const std::string_view name : {kSampleFace, kSampleBackground}) {
        SCOPED_TRACE(name);
        const std::string path = root + WithBackslashes(std::string(name));
        EXPECT_TRUE(FileExists(path.c_str()));
        CBufferFrame picture;
        picture.SetFileName(path.c_str());
        ASSERT_TRUE(picture.LoadFile());
        EXPECT_TRUE(picture.GetData(nullptr, nullptr));
        picture.Close();
    }

    const std::string output = root + "Created.avi";
    EXPECT_TRUE(IsWritableFilePath(output.c_str()));
    ASSERT_EQ(creator.Open(WithBackslashes(templatePath).c_str(),
                           (root + WithBackslashes(std::string(kSampleMidi))).c_str(),
                           output.c_str(), "", kNoCompression, kFrames - 1),
              1);
    ASSERT_TRUE(RunToCompletion());
    const std::vector<av::StreamInfo> streams = StreamsOf(folder.path("Created.avi"));
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].kind, av::StreamKind::Video);
    EXPECT_EQ(streams[0].frameCount, kFrames);
    EXPECT_EQ(streams[1].kind, av::StreamKind::Other);  // the MIDI stream
}

TEST_F(VideoCreatorTest, OutputThatIsAnyInputIsRefusedBeforeAnythingIsWritten)
{
    ASSERT_TRUE(made && creatorReady);
    const std::string audio = folder.path("tone.wav");
    ASSERT_TRUE(testmedia::MakeTestAudio(audio, "pcm_s16le", 1.0, 44100, 2));
    const std::string backgroundPicture = folder.Write("garden.jpg", "the background picture");
    const std::string facePicture = folder.Write("face.bmp", "the face picture");
    // The pictures reach the creator through its sources, which keep the files' names.
    background.SetFileName(backgroundPicture.c_str());
    face.SetFileName(facePicture.c_str());
    const std::vector<std::string> inputs = {templatePath, audio, backgroundPicture, facePicture};
    std::vector<std::string> bytes;
    for (const std::string& input : inputs)
        bytes.push_back(testmedia::ReadWholeFile(input));
    std::filesystem::create_symlink(templatePath, folder.path("link.avi"));
    std::filesystem::create_hard_link(audio, folder.path("hard.wav"));
    std::filesystem::create_symlink(backgroundPicture, folder.path("link.avi.jpg"));
    std::filesystem::create_hard_link(facePicture, folder.path("hard.avi"));

    for (const std::string& output :
         {templatePath, WithBackslashes(templatePath), folder.root() + "/./template.avi",
          folder.root() + "//template.avi", folder.path("link.avi"), audio, WithBackslashes(audio),
          folder.path("hard.wav"), backgroundPicture, WithBackslashes(backgroundPicture),
          folder.path("link.avi.jpg"), facePicture,
          folder.root() + "/../" + std::filesystem::path(folder.root()).filename().string() +
              "/face.bmp",
          folder.path("hard.avi")}) {
        SCOPED_TRACE(output);
        const int opened = creator.Open(templatePath.c_str(), audio.c_str(), output.c_str(), "",
                                        kNoCompression, kFrames - 1);
        EXPECT_EQ(opened, 0);
        if (opened)
            RunToCompletion();
        EXPECT_EQ(creator.composition().faces().GetImage(0), nullptr);
    }
    for (std::size_t i = 0; i < inputs.size(); ++i)
        EXPECT_TRUE(testmedia::ReadWholeFile(inputs[i]) == bytes[i]) << inputs[i];
    EXPECT_EQ(creator.Open(templatePath.c_str(), audio.c_str(), outputPath.c_str(), "",
                           kNoCompression, kFrames - 1),
              1);
}

TEST_F(VideoCreatorTest, OutputVideoIsTheTemplatesWhateverTheAudioFileHolds)
{
    ASSERT_TRUE(made && creatorReady);
    const std::string song = folder.path("song.mp3");
    const std::string film = folder.path("film.avi");
    ASSERT_TRUE(testmedia::MakeMp3WithCover(song, 2.0));
    ASSERT_TRUE(testmedia::MakeTestVideo(film, "mjpeg", 48, 32, 10, 30, true));
    for (const std::string& audio : {song, film}) {
        SCOPED_TRACE(audio);
        pump.Clear();
        ASSERT_EQ(Open(templatePath.c_str(), audio.c_str()), 1);
        ASSERT_TRUE(RunToCompletion());
        Drain();
        EXPECT_EQ(pump.Count(WM_FRAME_PROGRESS), kFrames);
        const std::vector<av::StreamInfo> streams = StreamsOf(outputPath);
        ASSERT_EQ(streams.size(), 2u);
        EXPECT_EQ(streams[0].kind, av::StreamKind::Video);
        EXPECT_EQ(streams[0].width, kW);
        EXPECT_EQ(streams[0].height, kH);
        EXPECT_EQ(streams[0].frameCount, kFrames);
        EXPECT_EQ(streams[1].kind, av::StreamKind::Audio);
    }
}

TEST_F(VideoCreatorTest, OutputThatCannotBeWrittenEndsTheCreationWithAFailure)
{
    ASSERT_TRUE(made && creatorReady);
    std::filesystem::create_directory(folder.path("taken.avi"));
    // Creating a file is refused there even to the system's administrator.
    std::vector<std::string> outputs = {folder.path("missing/out.avi"), folder.path("taken.avi"),
                                        "/sys/out.avi", ""};
    if (geteuid() != 0) {
        std::filesystem::create_directory(folder.path("locked"));
        std::filesystem::permissions(folder.path("locked"), std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_exec);
        outputs.push_back(folder.path("locked/out.avi"));
    }
    for (const std::string& output : outputs) {
        SCOPED_TRACE(output);
        testing::internal::CaptureStderr();
        const bool failed = creator.Open(templatePath.c_str(), nullptr, output.c_str(), "",
                                         kNoCompression, kFrames - 1) == 0 ||
                            creator.Run() == 0;
        const std::string reported = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(failed);
        EXPECT_EQ(creator.isRunning(), 0);
        EXPECT_NE(reported.find("avi mux: "), std::string::npos) << reported;
        creator.Close();
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path("locked/out.avi")));
    ASSERT_EQ(Open(templatePath.c_str(), nullptr), 1);
    EXPECT_TRUE(RunToCompletion());
}

TEST_F(VideoCreatorTest, StopKeepsEveryComposedFrameInTheFile)
{
    ASSERT_TRUE(made && creatorReady);
    ASSERT_TRUE(MakeLongInputs());
    // The user's stop after a second, and the stop once the counted frames are done.
    for (const int stopAt : {24, 127}) {
        for (const char* codec : {"H.264 Video", "MJPEG Compressor", kNoCompression}) {
            SCOPED_TRACE(std::string(codec) + " stopped at " + std::to_string(stopAt));
            pump.Clear();
            ASSERT_EQ(OpenLong(codec), 1);
            creator.SetNotifyWindow(pump.window(), WM_GRAPH_NOTIFY);
            ASSERT_EQ(creator.Run(), 1);
            ASSERT_TRUE(pump.RunUntil([&] { return pump.Count(WM_FRAME_PROGRESS) >= stopAt; }));
            EXPECT_EQ(creator.Stop(), 1);
            creator.Close();
            Drain();
            const int composed = pump.Count(WM_FRAME_PROGRESS);
            EXPECT_LT(composed, 300);
            const std::vector<av::StreamInfo> streams = StreamsOf(outputPath);
            ASSERT_EQ(streams.size(), 2u);
            EXPECT_EQ(streams[0].frameCount, composed);
            EXPECT_GT(streams[1].durationSeconds, 0.0);
        }
    }
}

TEST_F(VideoCreatorTest, TheFrameThatReachesTheCapIsTheLastTheFileGetsWhenNobodyStops)
{
    ASSERT_TRUE(made && creatorReady);
    ASSERT_TRUE(MakeLongInputs());
    ASSERT_EQ(OpenLong("MJPEG Compressor"), 1);
    creator.SetFrameCap(30);
    // The owner would stop the creation on the 30th frame's message, but however late that
    // comes, the template's video has ended and the graph completes by itself.
    ASSERT_TRUE(RunToCompletion());
    Drain();
    EXPECT_EQ(pump.Count(WM_FRAME_PROGRESS), 30);
    const std::vector<av::StreamInfo> streams = StreamsOf(outputPath);
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].frameCount, 30);
    EXPECT_GT(streams[1].durationSeconds, 0.0);
}
