#include "EditorHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using editortest::EditorHarness;
using editortest::kConvertDone;
using editortest::kFrameDone;
using testmedia::TestPicture;

constexpr int kFrames = 10;
constexpr int kHeight = 24;

std::vector<int> Indices(const std::vector<testmedia::MessagePump::Message>& messages)
{
    std::vector<int> indices;
    for (const auto& m : messages)
        indices.push_back(static_cast<int>(m.wParam));
    return indices;
}

std::vector<int> Range(int count)
{
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(i);
    return values;
}

// A template of distinct frames goes to numbered bitmaps and back into AVI files, at an
// even and at an odd frame width (rows padded to 4 bytes in every bitmap on the way).
class RoundTrip : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        sources = editortest::ColourFrames(kFrames, GetParam(), kHeight);
        input = folder.path("template.avi");
        ASSERT_TRUE(
            testmedia::WriteDibAvi(input, sources, 10, testmedia::DibLayout::Rgb24BottomUp));
    }

    // The frames of a video, through the converter into bitmaps of their own.
    std::vector<TestPicture> FramesOf(const std::string& avi)
    {
        std::vector<TestPicture> frames;
        if (!editor.AviToFiles(avi, folder.root() + "/back%05d.bmp", 0, 1))
            return frames;
        for (int i = 0; i < static_cast<int>(editor.From(&editor.aviToFiles, kFrameDone).size());
             ++i)
            frames.push_back(
                editortest::ReadPicture(folder.path(editortest::BitmapName("back", i))));
        return frames;
    }

    testmedia::TempFolder folder;
    std::vector<TestPicture> sources;
    std::string input;
    EditorHarness editor;
};

TEST_P(RoundTrip, FramesBecomeUprightBitmapsNumberedWithTheStep)
{
    ASSERT_TRUE(editor.AviToFiles(input, folder.root() + "/shot%05d.bmp", 10, 2));

    EXPECT_EQ(Indices(editor.From(&editor.aviToFiles, kFrameDone)), Range(kFrames));
    const auto done = editor.From(&editor.aviToFiles, kConvertDone);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].wParam, static_cast<WPARAM>(kFrames));
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), kFrames);
    EXPECT_FALSE(editor.aviToFiles.WriteFailed());
    for (int i = 0; i < kFrames; ++i) {
        const TestPicture written =
            editortest::ReadPicture(folder.path(editortest::BitmapName("shot", 10 + 2 * i)));
        EXPECT_TRUE(editortest::SamePicture(written, sources[i])) << "frame " << i;
    }
    EXPECT_TRUE(
        editortest::ReadPicture(folder.path(editortest::BitmapName("shot", 11))).bgr.empty());
}

TEST_P(RoundTrip, UncompressedVideoHoldsEveryBitmapAtTheRate)
{
    ASSERT_TRUE(editor.AviToFiles(input, folder.root() + "/shot%05d.bmp", 10, 2));
    const std::string output = folder.path("made.avi");
    ASSERT_TRUE(editor.FilesToAvi(output, folder.root() + "/shot%05d.bmp", "(No Compression)", 2.0f,
                                  10, 99999, 2));

    EXPECT_EQ(Indices(editor.From(&editor.filesToAvi, kFrameDone)), Range(kFrames));
    const auto done = editor.From(&editor.filesToAvi, kConvertDone);
    ASSERT_EQ(done.size(), 2u);  // the completion, then the close after it
    EXPECT_EQ(done[0].wParam, static_cast<WPARAM>(kFrames));
    EXPECT_EQ(done[1].wParam, static_cast<WPARAM>(kFrames));
    EXPECT_FALSE(editor.filesToAvi.Failed());
    // The preview's frame source holds the last frame as a top-down picture.
    FrameRecord last{};
    ASSERT_TRUE(editor.frames.GetFrame(&last));
    ASSERT_NE(last.image, nullptr);
    EXPECT_EQ(last.image->origin(), ImageOrigin::TopLeft);
    EXPECT_EQ(last.image->height(), kHeight);
    EXPECT_EQ(last.image->pixel(0, 0)[0], sources[kFrames - 1].bgr[0]);
    const std::size_t bottomLeft = static_cast<std::size_t>(kHeight - 1) * GetParam() * 3;
    EXPECT_EQ(last.image->pixel(0, kHeight - 1)[0], sources[kFrames - 1].bgr[bottomLeft]);
    delete last.image;

    const av::StreamInfo stream = editortest::ProbeVideo(output);
    EXPECT_EQ(stream.width, GetParam());
    EXPECT_EQ(stream.height, kHeight);
    EXPECT_DOUBLE_EQ(stream.framesPerSecond, 2.0);
    EXPECT_EQ(stream.frameCount, kFrames);

    // The video's frames are the bitmaps, in order and upright.
    const std::vector<TestPicture> back = FramesOf(output);
    ASSERT_EQ(back.size(), sources.size());
    for (int i = 0; i < kFrames; ++i)
        EXPECT_TRUE(editortest::SamePicture(back[i], sources[i])) << "frame " << i;
}

TEST_P(RoundTrip, MjpegVideoHoldsEveryBitmapUpright)
{
    ASSERT_TRUE(editor.AviToFiles(input, folder.root() + "/shot%05d.bmp", 0, 1));
    const std::string output = folder.path("made.avi");
    ASSERT_TRUE(editor.FilesToAvi(output, folder.root() + "/shot%05d.bmp", "MJPEG Compressor", 2.0f,
                                  0, 99999, 1));
    EXPECT_FALSE(editor.filesToAvi.Failed());

    const av::StreamInfo stream = editortest::ProbeVideo(output);
    EXPECT_EQ(stream.codec, "mjpeg");
    EXPECT_DOUBLE_EQ(stream.framesPerSecond, 2.0);
    EXPECT_EQ(stream.frameCount, kFrames);

    const std::vector<TestPicture> frames = FramesOf(output);
    ASSERT_EQ(frames.size(), sources.size());
    for (int i = 0; i < kFrames; ++i) {
        // Lossy, but near enough everywhere except right at the colour edge.
        const TestPicture& back = frames[i];
        ASSERT_EQ(back.height, kHeight);
        const int edge = i % kHeight + 1;
        for (int row : {0, kHeight - 1}) {
            if (row >= edge - 2 && row <= edge + 1)
                continue;
            for (int c = 0; c < 3; ++c) {
                const std::size_t at = static_cast<std::size_t>(row) * back.width * 3 + 3 + c;
                EXPECT_NEAR(back.bgr[at], sources[i].bgr[at], 12)
                    << "frame " << i << " row " << row;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, RoundTrip, ::testing::Values(32, 33));

}  // namespace
