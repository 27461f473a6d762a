#include "MainDialogTest.h"

#include "platform/av/MediaFile.h"
#include "platform/ui/WindowServices.h"
#include "platform/win/Files.h"
#include "support/AudioStart.h"
#include "support/MessagePump.h"
#include "support/TestMedia.h"
#include "support/TmpfsMount.h"
#include "support/WaitUntil.h"
#include "support/WidgetOf.h"
#include "tools/SampleSet.h"

#include <QAction>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace tavrino_test;

namespace {

struct VideoFile {
    int frames = -1;
    int width = 0;
    bool audio = false;
};

VideoFile Probe(const std::string& path)
{
    std::vector<av::StreamInfo> streams;
    VideoFile file;
    if (!av::ProbeMediaFile(path, streams, nullptr))
        return file;
    for (const av::StreamInfo& stream : streams) {
        if (stream.kind == av::StreamKind::Video) {
            file.frames = static_cast<int>(stream.frameCount);
            file.width = stream.width;
        } else if (stream.kind == av::StreamKind::Audio) {
            file.audio = true;
        }
    }
    return file;
}

// The first audio stream's start as the header states it, in milliseconds; -1 without one.
double AudioStartMs(const std::string& path)
{
    const auto header = testmedia::FirstAudioStreamHeader(path);
    if (!header || header->rate == 0)
        return -1;
    return 1000.0 * header->start * header->scale / header->rate;
}

// The number N of a status line "Frame N of ..."; -1 for any other text.
int FrameShown(const std::string& status)
{
    return status.rfind("Frame ", 0) == 0 ? std::atoi(status.c_str() + 6) : -1;
}

// Tavrino started in a program folder of its own that holds the sample inputs and the
// sample project the build ships, as a person who starts the program finds it.
class TavrinoEndToEnd : public MainDialogTest {
protected:
    void SetUp() override
    {
        MainDialogTest::SetUp();
        std::string error;
        ASSERT_TRUE(WriteSampleSet(dir_.string(), &error)) << error;
        // The sample project as the build ships it beside the programs (this test
        // program's own folder, whatever folder the test pretends the program is in).
        ASSERT_TRUE(std::filesystem::copy_file(
            testmedia::BuiltFolder() / testmedia::kShippedSampleProject, DefaultProject()));
    }

    // Starts the dialog and waits until the sample template has been read.
    void StartOnTheSampleProject()
    {
        Start();
        ASSERT_TRUE(testmedia::PumpUntil([&] { return Text(kStatusLine) == "48 frames"; }))
            << Text(kStatusLine);
    }
    // A template longer than a read counts, typed into the template field and read. Its
    // frames are large enough that composing them takes longer than showing the progress,
    // so that a stop comes well before the template's end.
    void UseLongTemplate(int framesPerSecond, int frames)
    {
        UseTemplate("Long.avi", framesPerSecond, frames, 160, 120);
    }
    // A template of the given frames, typed into the template field by its name in the
    // template folder and read (to the read's 127 frames at most).
    void UseTemplate(const std::string& name, int framesPerSecond, int frames, int width,
                     int height)
    {
        const std::string path = (dir_ / "VideoTemplate" / name).string();
        ASSERT_TRUE(
            testmedia::MakeTestVideo(path, "mjpeg", width, height, framesPerSecond, frames, false));
        ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, ("VideoTemplate\\" + name).c_str());
        const std::string counted = std::to_string(std::min(frames, 127)) + " frames";
        ASSERT_TRUE(testmedia::PumpUntil([&] { return Text(kStatusLine) == counted; }))
            << Text(kStatusLine);
    }

    void Click(HWND control) { QTest::mouseClick(WidgetOf(control), Qt::LeftButton); }
    void Click(int id) { Click(Item(id)); }
    bool Idle() const
    {
        return !IsWindowEnabled(Item(kStopVideo)) && IsWindowEnabled(Item(kTemplatePath));
    }
    bool OpenProjectEnabled() const
    {
        for (QAction* action : WidgetOf(dialog_->m_hWnd)->findChildren<QAction*>()) {
            if (action->text() == QStringLiteral("&Open Project"))
                return action->isEnabled();
        }
        return false;
    }

    // Where the sample project's "Video\Sample.avi" lies.
    std::string SampleVideo() const { return (dir_ / "Video" / "Sample.avi").string(); }

    // Once the progress of its last frames has arrived, which comes after the end, the
    // status line of an ended creation tells the frames its file holds (no more than the
    // template's 127 counted), or still "Start creating video ..." for a file without
    // frames.
    void ExpectTheStatusToTellTheFramesOf(const std::string& video) const
    {
        const int frames = Probe(video).frames;
        const auto told = [&] {
            return frames > 0 ? FrameShown(Text(kStatusLine)) == std::min(frames, 127)
                              : Text(kStatusLine) == "Start creating video ...";
        };
        EXPECT_TRUE(testmedia::PumpUntil(told))
            << Text(kStatusLine) << " for a file of " << frames << " frames";
    }
};

}  // namespace

TEST_F(TavrinoEndToEnd, TheSampleProjectBecomesItsVideoWithProgressAndTheAudioStartApplied)
{
    StartOnTheSampleProject();
    EXPECT_EQ(Text(kBackgroundPath), (dir_ / "Background" / "Garden.jpg").string());
    EXPECT_EQ(Text(kOutputPath), (dir_ / "Video" / "Sample.avi").string());
    for (const int preview : {kViewBackground, kViewFaceImage, kTemplatePreview})
        EXPECT_NE(::SendMessageA(Item(preview), BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << preview;
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));
    EXPECT_FALSE(IsWindowEnabled(Item(kStopVideo)));

    dialog_->OptionsPage().SetAudioDelay(2500);
    dialog_->OptionsPage().SetFaceSize(150);
    Click(kCreateVideo);
    EXPECT_EQ(Text(kStatusLine), "Start creating video ...");
    EXPECT_TRUE(IsWindowEnabled(Item(kStopVideo)));
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
    EXPECT_FALSE(IsWindowEnabled(Item(kOutputPath)));
    EXPECT_FALSE(IsWindowEnabled(Options()));
    EXPECT_FALSE(OpenProjectEnabled());
    int lastShown = 0;
    bool inOrder = true;
    ASSERT_TRUE(testmedia::PumpUntil([&] {
        if (const int shown = FrameShown(Text(kStatusLine)); shown >= 0) {
            inOrder = inOrder && shown >= lastShown;
            lastShown = shown;
        }
        return !IsWindowEnabled(Item(kStopVideo));
    }));
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(Text(kStatusLine), "Frame 48 of 48 (100%)");
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(OpenProjectEnabled());
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));

    const VideoFile video = Probe(SampleVideo());
    EXPECT_EQ(video.frames, 48);
    EXPECT_EQ(video.width, 320);
    EXPECT_TRUE(video.audio);
    const auto header = testmedia::FirstAudioStreamHeader(SampleVideo());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->start,
              static_cast<std::uint32_t>(static_cast<float>(header->rate) / header->scale * 2500) /
                  1000);
    EXPECT_NEAR(testmedia::FirstAudioSampleSeconds(SampleVideo()), 2.5, 0.05);

    // "&Apply" rewrites the audio start of the video just made.
    HWND apply = ::GetDlgItem(Options(), kApplyDelay);
    EXPECT_TRUE(IsWindowEnabled(apply));
    Click(kShowOptions);
    dialog_->OptionsPage().SetAudioDelay(1000);
    Click(apply);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return AudioStartMs(SampleVideo()) < 2000; }));
    EXPECT_NEAR(AudioStartMs(SampleVideo()), 1000.0, 0.1);
    EXPECT_EQ(Probe(SampleVideo()).frames, 48);
}

TEST_F(TavrinoEndToEnd, AStopRightAfterTheStartOrHalfWayLeavesAFinishedFileThatTheStatusTells)
{
    StartOnTheSampleProject();
    UseLongTemplate(24, 300);

    Click(kCreateVideo);
    Click(kStopVideo);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Text(kStatusLine), "Start creating video ...");
    ExpectTheStatusToTellTheFramesOf(SampleVideo());
    EXPECT_NEAR(AudioStartMs(SampleVideo()), 5000.0, 0.1);

    Click(kCreateVideo);
    ASSERT_TRUE(
        testmedia::PumpUntil([&] { return FrameShown(Text(kStatusLine)) >= 24 || Idle(); }));
    // The dialog is busy while the graph composes frames it has not shown yet, then the
    // user stops.
    const int shown = FrameShown(Text(kStatusLine));
    ASSERT_TRUE(testmedia::WaitUntil([&] { return Probe(SampleVideo()).frames > shown; }));
    Click(kStopVideo);
    EXPECT_GE(FrameShown(Text(kStatusLine)), 24);
    EXPECT_TRUE(Idle());
    const VideoFile stopped = Probe(SampleVideo());
    EXPECT_GE(stopped.frames, 24);
    EXPECT_LT(stopped.frames, 300);
    ExpectTheStatusToTellTheFramesOf(SampleVideo());
    EXPECT_TRUE(stopped.audio);
    EXPECT_NEAR(AudioStartMs(SampleVideo()), 5000.0, 0.1);
}

TEST_F(TavrinoEndToEnd, ProgressArrivingAfterTheEndShowsUntilANewTemplateOrCreation)
{
    StartOnTheSampleProject();
    UseLongTemplate(24, 300);
    Click(kCreateVideo);
    Click(kStopVideo);
    ExpectTheStatusToTellTheFramesOf(SampleVideo());
    // A message of the stopped creation that the queue held until now.
    ::PostMessageA(dialog_->m_hWnd, WM_FRAME_PROGRESS, 40, 0);
    ProcessPostedMessages();
    EXPECT_EQ(Text(kStatusLine), "Frame 41 of 127 (32%)");

    // Once another template is named, the stopped creation has nothing to tell.
    ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, "VideoTemplate\\Dancer.avi");
    ASSERT_TRUE(testmedia::PumpUntil([&] { return Text(kStatusLine) == "48 frames"; }));
    ::PostMessageA(dialog_->m_hWnd, WM_FRAME_PROGRESS, 41, 0);
    ProcessPostedMessages();
    EXPECT_EQ(Text(kStatusLine), "48 frames");

    // Nor does a creation that could not write its file: the count stays.
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "/dev/full");
    Click(kCreateVideo);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return Idle(); }));
    ::PostMessageA(dialog_->m_hWnd, WM_FRAME_PROGRESS, 10, 0);
    ProcessPostedMessages();
    EXPECT_EQ(Text(kStatusLine), "48 frames");
}

TEST_F(TavrinoEndToEnd, ClosingTheProgramDuringACreationFinishesItAsAStopAndKeepsTheProject)
{
    StartOnTheSampleProject();
    UseLongTemplate(24, 300);
    dialog_->OptionsPage().SetAudioDelay(2500);
    Click(kCreateVideo);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return FrameShown(Text(kStatusLine)) >= 1; }));
    End();
    EXPECT_FALSE(dialog_->IsWindowVisible());
    EXPECT_FALSE(IsWindow(Options()));
    // What the graphs posted before the way out stopped them, all in the queue now,
    // changes nothing.
    ProcessPostedMessages();
    EXPECT_EQ(ProjectValues(RecentProject()).at("VideoTemplate"), "VideoTemplate\\Long.avi");
    const VideoFile stopped = Probe(SampleVideo());
    EXPECT_GE(stopped.frames, 1);
    EXPECT_LT(stopped.frames, 300);
    EXPECT_TRUE(stopped.audio);
    EXPECT_NEAR(AudioStartMs(SampleVideo()), 2500.0, 0.1);
}

TEST_F(TavrinoEndToEnd, ACreationPastTheTemplatesLimitStopsFiveSecondsOfFramesLater)
{
    StartOnTheSampleProject();
    // 127 frames counted at 8 a second (a spacing that sample times in seconds hold
    // exactly): the frame that exceeds 127 + 40 ends the creation and is the file's last.
    UseLongTemplate(8, 400);
    Click(kCreateVideo);
    // The dialog gets its turn late, as on a busy machine: the graph runs on meanwhile,
    // past the frame that makes the creation over-long, before any progress is shown.
    ASSERT_TRUE(testmedia::WaitUntil([&] { return Probe(SampleVideo()).frames >= 168; }));
    ASSERT_TRUE(testmedia::PumpUntil([&] { return Idle(); }));
    EXPECT_EQ(Text(kStatusLine), "Frame 127 of 127 (100%)");
    const VideoFile stopped = Probe(SampleVideo());
    EXPECT_EQ(stopped.frames, 168);
    EXPECT_NEAR(AudioStartMs(SampleVideo()), 5000.0, 0.1);
}

TEST_F(TavrinoEndToEnd, TheOverLengthStopKeepsFiveSecondsOfFramesAtTenAndFifteenASecond)
{
    StartOnTheSampleProject();
    // Frame times are held in 100-ns units, which round 1/15 s; 1/10 s arrives as a
    // difference of two times in seconds. Either way five seconds are 75 or 50 frames past
    // the 127 counted, and the frame after them is the file's last.
    for (const auto& [framesPerSecond, kept] : {std::pair{10, 178}, std::pair{15, 203}}) {
        SCOPED_TRACE(framesPerSecond);
        UseTemplate("Rate" + std::to_string(framesPerSecond) + ".avi", framesPerSecond, 300, 64,
                    48);
        Click(kCreateVideo);
        ASSERT_TRUE(testmedia::PumpUntil([&] { return Idle(); }));
        EXPECT_EQ(Probe(SampleVideo()).frames, kept);
        EXPECT_EQ(Text(kStatusLine), "Frame 127 of 127 (100%)");
    }
}

TEST_F(TavrinoEndToEnd, AnOutputThatIsAnInputUnderAnyNameIsNeitherCreatedNorRewritten)
{
    StartOnTheSampleProject();
    const std::vector<std::string> inputs = {Text(kBackgroundPath), Text(kFaceImagePath),
                                             Text(kTemplatePath), Text(kAudioPath)};
    std::vector<std::string> bytes;
    for (const std::string& input : inputs)
        bytes.push_back(testmedia::ReadWholeFile(input));
    std::filesystem::create_symlink(Text(kFaceImagePath), dir_ / "Video" / "Face.avi");
    std::filesystem::create_hard_link(Text(kBackgroundPath), dir_ / "Video" / "Garden.avi");
    HWND apply = ::GetDlgItem(Options(), kApplyDelay);
    const std::vector<std::string> outputs = {inputs[0],
                                              "Background/../Background/Garden.jpg",
                                              "Video\\Garden.avi",
                                              inputs[1],
                                              "FaceImage\\Face.bmp",
                                              "Video/Face.avi",
                                              inputs[2],
                                              inputs[3]};
    for (const std::string& output : outputs) {
        SCOPED_TRACE(output);
        ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, output.c_str());
        EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
        EXPECT_FALSE(IsWindowEnabled(apply));
        EXPECT_EQ(dialog_->SendMessage(WM_APPLY_AUDIO_DELAY), 0);
        // Pressed all the same, it tells why and starts nothing.
        dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(kCreateVideo, BN_CLICKED));
        EXPECT_TRUE(Idle());
    }
    EXPECT_EQ(desktop_.boxes.size(), outputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i)
        EXPECT_TRUE(testmedia::ReadWholeFile(inputs[i]) == bytes[i]) << inputs[i];

    // A picture named after the output makes the output an input too.
    const std::string copy = (dir_ / "Video" / "Copy.bmp").string();
    std::filesystem::copy_file(inputs[1], copy);
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, copy.c_str());
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));
    ::SetDlgItemTextA(dialog_->m_hWnd, kFaceImagePath, "Video/Copy.bmp");
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
    ::SetDlgItemTextA(dialog_->m_hWnd, kFaceImagePath, inputs[1].c_str());
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));
}

TEST_F(TavrinoEndToEnd, AnOutputOnAReadOnlyFileSystemLeavesCreateVideoDisabled)
{
    const std::filesystem::path locked = dir_ / "Locked";
    std::filesystem::create_directory(locked);
    testmedia::TmpfsMount mount(locked.string());
    if (!mount.mounted())
        GTEST_SKIP() << mount.failure();
    ASSERT_TRUE(mount.MakeReadOnly());
    StartOnTheSampleProject();
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "Locked/Sample.avi");
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
    dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(kCreateVideo, BN_CLICKED));
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].caption, "Creation Fail");
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Text(kStatusLine), "48 frames");
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "Video/Sample.avi");
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));
}

TEST_F(TavrinoEndToEnd, AnOutputHeldByAPlayerStartsNothing)
{
    StartOnTheSampleProject();
    const FileHandle player = CreateFileA(SampleVideo().c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(player, INVALID_HANDLE_VALUE);
    Click(kCreateVideo);
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text, "Creation Fail\r\n\r\nPlease close the output file first");
    EXPECT_EQ(desktop_.boxes[0].caption, "Creation Fail");
    EXPECT_EQ(Text(kStatusLine), "48 frames");
    EXPECT_TRUE(Idle());
    CloseHandle(player);
    EXPECT_EQ(std::filesystem::file_size(SampleVideo()), 0u);
}

TEST_F(TavrinoEndToEnd, AVideoThatCannotBeWrittenCompletelyIsReportedNotFinished)
{
    StartOnTheSampleProject();
    // Every write to this device fails as on a full disk.
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "/dev/full");
    Click(kCreateVideo);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return Idle(); }));
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].text,
              "Creation Fail\r\n\r\nThe video could not be written completely");
    EXPECT_EQ(desktop_.boxes[0].caption, "Creation Fail");
    EXPECT_EQ(Text(kStatusLine), "48 frames");
    EXPECT_TRUE(IsWindowEnabled(Item(kCreateVideo)));
}

TEST_F(TavrinoEndToEnd, AFailedStartFallsBackToTheFrameCountAndTheNextStartWorks)
{
    StartOnTheSampleProject();
    // A file the system refuses to create, even to its administrator: the creation opens
    // but does not run.
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "/sys/Sample.avi");
    testing::internal::CaptureStderr();
    Click(kCreateVideo);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Text(kStatusLine), "48 frames");
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(desktop_.boxes.empty());

    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "Video\\Typed.avi");
    Click(kCreateVideo);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return Idle(); }));
    EXPECT_EQ(Text(kStatusLine), "Frame 48 of 48 (100%)");
    // A typed relative output lies in the program's folder, where "Play Video" looks.
    const std::string typed = (dir_ / "Video" / "Typed.avi").string();
    EXPECT_EQ(Probe(typed).frames, 48);
    EXPECT_EQ(Text(kOutputPath), "Video\\Typed.avi");
    Click(kPlayVideo);
    ASSERT_FALSE(desktop_.opened.empty());
    EXPECT_EQ(desktop_.opened.back(), typed);
    // And so does "&Apply".
    HWND apply = ::GetDlgItem(Options(), kApplyDelay);
    EXPECT_TRUE(IsWindowEnabled(apply));
    Click(kShowOptions);
    dialog_->OptionsPage().SetAudioDelay(700);
    Click(apply);
    ASSERT_TRUE(testmedia::PumpUntil([&] { return AudioStartMs(typed) < 1000; }));
    EXPECT_NEAR(AudioStartMs(typed), 700.0, 0.1);
}

TEST_F(TavrinoEndToEnd, ARelativeOutputWithSlashesLiesInTheProgramsFolderWhateverTheWorkingOne)
{
    StartOnTheSampleProject();
    // Started from the home folder or a launcher: the working folder is another one.
    const std::filesystem::path working = std::filesystem::current_path();
    std::filesystem::create_directory(dir_ / "Home");
    std::filesystem::current_path(dir_ / "Home");
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, "Video/Typed.avi");
    const bool enabled = IsWindowEnabled(Item(kCreateVideo));
    Click(kCreateVideo);
    const bool finished = testmedia::PumpUntil([&] { return Idle(); });
    std::filesystem::current_path(working);
    EXPECT_TRUE(enabled);
    ASSERT_TRUE(finished);
    EXPECT_EQ(Probe((dir_ / "Video" / "Typed.avi").string()).frames, 48);
    EXPECT_EQ(Text(kOutputPath), "Video/Typed.avi");
}

TEST_F(TavrinoEndToEnd, AnOutputTooLongForAPathIsNoWritablePath)
{
    StartOnTheSampleProject();
    // Cut to a path buffer, this would name a new file in the existing "Video" folder.
    const std::string tooLong = (dir_ / "Video" / std::string(600, 'v')).string() + ".avi";
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, tooLong.c_str());
    EXPECT_FALSE(IsWindowEnabled(Item(kCreateVideo)));
    dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(kCreateVideo, BN_CLICKED));
    ASSERT_EQ(desktop_.boxes.size(), 1u);
    EXPECT_EQ(desktop_.boxes[0].caption, "Creation Fail");
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Text(kOutputPath), tooLong);
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "Video"));
}

TEST_F(TavrinoEndToEnd, ApplyLeavesAnOutputThatIsTheTemplateOrTheAudioFileAlone)
{
    StartOnTheSampleProject();
    const std::string templ = (dir_ / "VideoTemplate" / "Talking.avi").string();
    const std::string audio = (dir_ / "Audio" / "Film.avi").string();
    const std::string copy = (dir_ / "Video" / "Copy.avi").string();
    for (const std::string& path : {templ, audio, copy})
        ASSERT_TRUE(testmedia::MakeTestVideo(path, "mjpeg", 32, 16, 10, 5, true));
    ::SetDlgItemTextA(dialog_->m_hWnd, kTemplatePath, templ.c_str());
    ::SetDlgItemTextA(dialog_->m_hWnd, kAudioPath, audio.c_str());
    dialog_->OptionsPage().SetAudioDelay(1500);
    HWND apply = ::GetDlgItem(Options(), kApplyDelay);
    // Under any spelling, an input is no output to rewrite, and Apply offers nothing.
    for (const char* output : {"VideoTemplate/../VideoTemplate/Talking.avi", "Audio\\Film.avi"}) {
        ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, output);
        EXPECT_FALSE(::IsWindowEnabled(apply)) << output;
        EXPECT_EQ(dialog_->SendMessage(WM_APPLY_AUDIO_DELAY), 0) << output;
    }
    EXPECT_EQ(AudioStartMs(templ), 0.0);
    EXPECT_EQ(AudioStartMs(audio), 0.0);
    // An input that changes makes the output an output again.
    ::SetDlgItemTextA(dialog_->m_hWnd, kAudioPath, copy.c_str());
    EXPECT_TRUE(::IsWindowEnabled(apply));
    ::SetDlgItemTextA(dialog_->m_hWnd, kAudioPath, audio.c_str());
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, copy.c_str());
    EXPECT_TRUE(::IsWindowEnabled(apply));
    EXPECT_EQ(dialog_->SendMessage(WM_APPLY_AUDIO_DELAY), 1);
    EXPECT_NEAR(AudioStartMs(copy), 1500.0, 0.1);
}

TEST_F(TavrinoEndToEnd, TheEndOfACreationSetsTheAudioStartOfTheFileItWrote)
{
    StartOnTheSampleProject();
    const std::string other = (dir_ / "Video" / "Other.avi").string();
    ASSERT_TRUE(testmedia::MakeTestVideo(other, "mjpeg", 32, 16, 10, 5, true));
    Click(kCreateVideo);
    // Whatever the field names by the end, the video made is the one completed.
    ::SetDlgItemTextA(dialog_->m_hWnd, kOutputPath, other.c_str());
    ASSERT_TRUE(testmedia::PumpUntil([&] { return Idle(); }));
    EXPECT_NEAR(AudioStartMs(SampleVideo()), 5000.0, 0.1);
    EXPECT_EQ(AudioStartMs(other), 0.0);
}
