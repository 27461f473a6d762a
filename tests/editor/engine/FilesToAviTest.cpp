#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using editortest::EditorHarness;
using editortest::kConvertDone;
using editortest::kFrameDone;
using testmedia::TestPicture;

class FilesToAvi : public ::testing::Test {
protected:
    void WriteRun(const std::vector<int>& numbers, int width = 8, int height = 6)
    {
        const auto pictures =
            editortest::ColourFrames(static_cast<int>(numbers.size()), width, height);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            ASSERT_TRUE(editortest::WriteBitmap(
                folder.path(editortest::BitmapName("in", numbers[i])), pictures[i]));
    }
    std::string Pattern() const { return folder.root() + "/in%05d.bmp"; }
    long long FramesMade(const std::vector<int>& numbers, int first, int last, int step)
    {
        WriteRun(numbers);
        const std::string out = folder.path("out.avi");
        if (!editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, first, last, step))
            return -1;
        return editortest::ProbeVideo(out).frameCount;
    }

    testmedia::TempFolder folder;
    EditorHarness editor;
};

TEST_F(FilesToAvi, TheStepIsTheLargestGapBridged)
{
    EXPECT_EQ(FramesMade({1, 2, 4}, 1, 4, 1), 2);
    EXPECT_EQ(FramesMade({1, 2, 4}, 1, 4, 2), 3);
}

TEST_F(FilesToAvi, TheLastNumberEndsTheRun)
{
    EXPECT_EQ(FramesMade({1, 2, 3, 4, 5, 6, 7}, 1, 5, 1), 5);
}

TEST_F(FilesToAvi, FirstNumberAndStepAreClamped)
{
    EXPECT_EQ(FramesMade({0, 1, 2}, -3, 10, 0), 3);
}

TEST_F(FilesToAvi, AVideoHoldsAtMost127Frames)
{
    std::vector<int> numbers;
    for (int n = 0; n < 140; ++n)
        numbers.push_back(n);
    EXPECT_EQ(FramesMade(numbers, 0, 99999, 1), 127);
    std::vector<int> indices;
    for (const auto& m : editor.From(&editor.filesToAvi, kFrameDone))
        indices.push_back(static_cast<int>(m.wParam));
    ASSERT_EQ(indices.size(), 127u);
    EXPECT_EQ(indices.front(), 0);
    EXPECT_EQ(indices.back(), 126);
    EXPECT_EQ(editor.From(&editor.filesToAvi, kConvertDone)[0].wParam, 127u);
    EXPECT_EQ(editor.filesToAvi.GetFrameCount(), 127);
    // The cap ends the stream like its end, not as an error.
    EXPECT_FALSE(editor.filesToAvi.Failed());
}

TEST_F(FilesToAvi, APercentSignInTheFolderIsText)
{
    const std::string percent = folder.path("100%");
    std::filesystem::create_directory(percent);
    const auto pictures = editortest::ColourFrames(3, 8, 6);
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(editortest::WriteBitmap(percent + "/" + editortest::BitmapName("shot", n),
                                            pictures[n]));
    const std::string out = percent + "/out.avi";
    ASSERT_TRUE(
        editor.FilesToAvi(out, percent + "/shot%05d.bmp", "(No Compression)", 2.0f, 0, 99999, 1));
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 3);
}

TEST_F(FilesToAvi, APathWithBackslashesIsRead)
{
    WriteRun({0, 1, 2});
    const std::string out = folder.path("out.avi");
    ASSERT_TRUE(editor.FilesToAvi(out, folder.root() + "\\in%05d.bmp", "(No Compression)", 2.0f, 0,
                                  99999, 1));
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 3);
}

TEST_F(FilesToAvi, GreyBitmapsArriveThroughAConverter)
{
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(editortest::WriteBitmap(folder.path(editortest::BitmapName("in", n)),
                                            editortest::FlatPicture(9, 5, 0x101010 * (n + 4)),
                                            true));
    }
    const std::string out = folder.path("out.avi");
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 99999, 1));
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 3);
    ASSERT_TRUE(editor.AviToFiles(out, folder.root() + "/back%05d.bmp", 0, 1));
    for (int n = 0; n < 3; ++n) {
        const TestPicture back =
            editortest::ReadPicture(folder.path(editortest::BitmapName("back", n)));
        EXPECT_TRUE(
            editortest::SamePicture(back, editortest::FlatPicture(9, 5, 0x101010 * (n + 4))))
            << n;
    }
}

TEST_F(FilesToAvi, ABitmapOfAnotherSizeIsScaledIntoTheVideo)
{
    ASSERT_TRUE(editortest::WriteBitmap(folder.path(editortest::BitmapName("in", 0)),
                                        editortest::FlatPicture(8, 6, 0x204060)));
    ASSERT_TRUE(editortest::WriteBitmap(folder.path(editortest::BitmapName("in", 1)),
                                        editortest::FlatPicture(30, 2, 0x604020)));
    const std::string out = folder.path("out.avi");
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 99999, 1));
    ASSERT_TRUE(editor.AviToFiles(out, folder.root() + "/back%05d.bmp", 0, 1));
    EXPECT_TRUE(editortest::SamePicture(
        editortest::ReadPicture(folder.path(editortest::BitmapName("back", 1))),
        editortest::FlatPicture(8, 6, 0x604020)));
}

TEST_F(FilesToAvi, ARateThatIsNotPositiveKeepsTheRateBefore)
{
    WriteRun({0, 1, 2});
    editor.filesToAvi.SetSettings("unused.avi", Pattern().c_str(), "(No Compression)", 3.0f, 0,
                                  99999, 1);
    const std::string out = folder.path("out.avi");
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 0.0f, 0, 99999, 1));
    EXPECT_NEAR(editortest::ProbeVideo(out).framesPerSecond, 3.0, 1e-3);
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", -1.0f, 0, 99999, 1));
    EXPECT_NEAR(editortest::ProbeVideo(out).framesPerSecond, 3.0, 1e-3);
}

TEST_F(FilesToAvi, RatesAndStepsBeyondThePagesAreHeldToTheirRanges)
{
    WriteRun({0, 1, 102});
    const std::string out = folder.path("out.avi");
    // A rate near 0 would give each frame a duration beyond any time stamp.
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 1e-30f, 0, 200, 1));
    EXPECT_NEAR(editortest::ProbeVideo(out).framesPerSecond, 1.0, 1e-3);
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 1000.0f, 0, 200, 1));
    EXPECT_NEAR(editortest::ProbeVideo(out).framesPerSecond, 4.0, 1e-3);
    // Steps bridge at most 100 numbers: 2 to 101 hold nothing, so 102 is not reached.
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 200, 0x7FFFFFFF));
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 2);
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 200, 101));
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 2);
}

TEST_F(FilesToAvi, TheFrameCountFollowsTheSettings)
{
    const std::string out = folder.path("out.avi");
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "(No Compression)", 2.0f, 0, 9,
                                  1);
    EXPECT_EQ(editor.filesToAvi.GetFrameCount(), -1);  // changed
    EXPECT_FALSE(editor.filesToAvi.HasFrames());
    // Only the compressor differs: no change, and with no bitmap there is nothing to make.
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "MJPEG Compressor", 2.0f, 0, 9,
                                  1);
    EXPECT_EQ(editor.filesToAvi.GetFrameCount(), 0);
    // Nor do settings beyond the pages that the converter holds to the ones it has.
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "MJPEG Compressor", 2.0f, -5, 9,
                                  1);
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "MJPEG Compressor", 0.0f, 0, 9,
                                  -3);
    EXPECT_EQ(editor.filesToAvi.GetFrameCount(), 0);
    EXPECT_FALSE(editor.filesToAvi.BuildAndRun());
    WriteRun({0});
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "MJPEG Compressor", 2.0f, 0, 9,
                                  1);
    EXPECT_EQ(editor.filesToAvi.GetFrameCount(), -1);
    EXPECT_TRUE(editor.filesToAvi.HasFrames());
}

TEST_F(FilesToAvi, AnOutputChainThatCannotBeBuiltOrRunIsAFailedStart)
{
    WriteRun({0, 1, 2}, 62, 46);
    // No output file: the multiplexer has nowhere to write.
    editor.filesToAvi.SetSettings("", Pattern().c_str(), "(No Compression)", 2.0f, 0, 9, 1);
    EXPECT_FALSE(editor.filesToAvi.BuildAndRun());
    // A compressor that refuses the frame size.
    const std::string out = folder.path("out.avi");
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "Microsoft Video 1", 2.0f, 0, 9,
                                  1);
    EXPECT_FALSE(editor.filesToAvi.BuildAndRun());
    EXPECT_EQ(editor.filesToAvi.GetState(), 0);
    // The push source stayed: the next start builds afresh.
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 9, 1));
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 3);
}

TEST_F(FilesToAvi, AnOutputThatIsABitmapOfTheRunIsRefusedBeforeAnythingIsWritten)
{
    namespace fs = std::filesystem;
    WriteRun({0, 1, 2, 3, 4});
    std::vector<std::string> before;
    for (int n = 0; n < 5; ++n)
        before.push_back(testmedia::ReadWholeFile(folder.path(editortest::BitmapName("in", n))));
    fs::create_symlink(folder.path(editortest::BitmapName("in", 2)), folder.path("link.avi"));
    fs::create_hard_link(folder.path(editortest::BitmapName("in", 3)), folder.path("hard.avi"));
    const std::string spellings[] = {folder.root() + "/./in00000.bmp",
                                     folder.root() + "\\in00001.bmp", folder.path("link.avi"),
                                     folder.path("hard.avi")};
    for (const std::string& output : spellings) {
        editor.filesToAvi.SetSettings(output.c_str(), Pattern().c_str(), "(No Compression)", 2.0f,
                                      0, 3, 1);
        EXPECT_FALSE(editor.filesToAvi.BuildAndRun()) << output;
        EXPECT_EQ(editor.filesToAvi.GetState(), 0);
    }
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(testmedia::ReadWholeFile(folder.path(editortest::BitmapName("in", n))), before[n])
            << n;
    // A bitmap past the last number is no input of the run: the user's choice stands.
    ASSERT_TRUE(editor.FilesToAvi(folder.path(editortest::BitmapName("in", 4)), Pattern(),
                                  "(No Compression)", 2.0f, 0, 3, 1));
    EXPECT_EQ(editortest::ProbeVideo(folder.path(editortest::BitmapName("in", 4))).frameCount, 4);
}

TEST_F(FilesToAvi, AStreamingErrorIsAFailureNotAFinishedVideo)
{
    WriteRun({0, 1, 2}, 64, 64);
    // Every write to this device fails as on a full disk.
    ASSERT_TRUE(editor.FilesToAvi("/dev/full", Pattern(), "(No Compression)", 2.0f, 0, 9, 1));
    EXPECT_TRUE(editor.filesToAvi.Failed());
    const std::string out = folder.path("out.avi");
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 9, 1));
    EXPECT_FALSE(editor.filesToAvi.Failed());
}

TEST_F(FilesToAvi, AStopMidwayAndASecondStartRebuild)
{
    std::vector<int> numbers;
    for (int n = 0; n < 140; ++n)
        numbers.push_back(n);
    WriteRun(numbers);
    const std::string out = folder.path("out.avi");
    editor.filesToAvi.SetSettings(out.c_str(), Pattern().c_str(), "(No Compression)", 2.0f, 0, 999,
                                  1);
    editor.Forget();
    ASSERT_TRUE(editor.filesToAvi.BuildAndRun());
    ASSERT_TRUE(
        editor.pump.RunUntil([&] { return !editor.From(&editor.filesToAvi, kFrameDone).empty(); }));
    editor.filesToAvi.Close();
    EXPECT_EQ(editor.filesToAvi.GetState(), 0);
    ASSERT_TRUE(editor.pump.RunUntil(
        [&] { return !editor.From(&editor.filesToAvi, kConvertDone).empty(); }));
    const WPARAM filled = editor.From(&editor.filesToAvi, kConvertDone)[0].wParam;
    EXPECT_GE(filled, 1u);
    EXPECT_LE(filled, 127u);

    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 999, 1));
    EXPECT_EQ(editor.From(&editor.filesToAvi, kConvertDone)[0].wParam, 127u);
    EXPECT_EQ(editortest::ProbeVideo(out).frameCount, 127);
}

TEST_F(FilesToAvi, AskingForFramesWhileStreamingLeavesTheVideoIntact)
{
    std::vector<int> numbers;
    for (int n = 0; n < 40; ++n)
        numbers.push_back(n);
    WriteRun(numbers);
    int answers = 0;
    int running = 0;
    // As the main dialog and the files page do after every frame.
    editor.onFilesFrame = [&] {
        running += editor.filesToAvi.GetState() == 2 ? 1 : 0;
        answers += editor.filesToAvi.HasFrames() ? 1 : 0;
    };
    const std::string out = folder.path("out.avi");
    ASSERT_TRUE(editor.FilesToAvi(out, Pattern(), "(No Compression)", 2.0f, 0, 999, 1));
    EXPECT_EQ(answers, 40);
    EXPECT_EQ(running, 40);
    ASSERT_TRUE(editor.AviToFiles(out, folder.root() + "/back%05d.bmp", 0, 1));
    const auto pictures = editortest::ColourFrames(40, 8, 6);
    for (int n = 0; n < 40; ++n) {
        EXPECT_TRUE(editortest::SamePicture(
            editortest::ReadPicture(folder.path(editortest::BitmapName("back", n))), pictures[n]))
            << n;
    }
}

}  // namespace
