#include "EditorHarness.h"
#include "support/TestMedia.h"
#include "support/TmpfsMount.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using editortest::EditorHarness;
using editortest::kConvertDone;
using editortest::kCountDone;
using editortest::kCounting;
using editortest::kFrameDone;

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

class AviToFiles : public ::testing::Test {
protected:
    std::string MakeAvi(const char* name, int frames, int width = 8, int height = 6)
    {
        const std::string path = folder.path(name);
        EXPECT_TRUE(testmedia::WriteDibAvi(path, editortest::ColourFrames(frames, width, height),
                                           25, testmedia::DibLayout::Rgb24BottomUp));
        return path;
    }

    testmedia::TempFolder folder;
    EditorHarness editor;
};

TEST_F(AviToFiles, ClampsFirstNumberAndStep)
{
    const std::string avi = MakeAvi("ten.avi", 10);
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/%05d.bmp", -3, 0));
    for (int n = 0; n < 10; ++n)
        EXPECT_TRUE(Exists(folder.path(editortest::BitmapName("", n)))) << n;
    EXPECT_FALSE(Exists(folder.path(editortest::BitmapName("", 10))));
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), 10);
}

TEST_F(AviToFiles, AStepBeyondThePagesIsHeldTo100)
{
    const std::string avi = MakeAvi("three.avi", 3);
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/%05d.bmp", 0, 0x7FFFFFFF));
    for (int n : {0, 100, 200})
        EXPECT_TRUE(Exists(folder.path(editortest::BitmapName("", n)))) << n;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.root()),
                            std::filesystem::directory_iterator()),
              4);  // the three bitmaps and the video
}

TEST_F(AviToFiles, WritesAtMost127FramesAndEndsOnce)
{
    const std::string avi = MakeAvi("long.avi", 140);
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/f%05d.bmp", 0, 1));
    EXPECT_TRUE(Exists(folder.path(editortest::BitmapName("f", 126))));
    EXPECT_FALSE(Exists(folder.path(editortest::BitmapName("f", 127))));
    EXPECT_EQ(editor.From(&editor.aviToFiles, kFrameDone).size(), 127u);
    const auto done = editor.From(&editor.aviToFiles, kConvertDone);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].wParam, 127u);
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), 127);
}

TEST_F(AviToFiles, WithoutPatternCountsEveryFrameAndWritesNothing)
{
    const std::string avi = MakeAvi("ten.avi", 10);
    std::string path = avi;
    ASSERT_TRUE(editor.aviToFiles.Convert(path.data(), nullptr, 0, 1));
    ASSERT_TRUE(editor.pump.RunUntil(
        [&] { return !editor.From(&editor.aviToFiles, kConvertDone).empty(); }));
    EXPECT_EQ(editor.From(&editor.aviToFiles, kFrameDone).size(), 10u);
    EXPECT_FALSE(editor.aviToFiles.WriteFailed());
}

TEST_F(AviToFiles, APercentSignInTheFolderIsText)
{
    const std::string avi = MakeAvi("ten.avi", 10);
    const std::string percent = folder.path("100%");
    std::filesystem::create_directory(percent);
    ASSERT_TRUE(editor.AviToFiles(avi, percent + "/shot%05d.bmp", 10, 2));
    EXPECT_TRUE(Exists(percent + "/" + editortest::BitmapName("shot", 10)));
    EXPECT_TRUE(Exists(percent + "/" + editortest::BitmapName("shot", 28)));
    EXPECT_EQ(editor.From(&editor.aviToFiles, kFrameDone).size(), 10u);
}

TEST_F(AviToFiles, APathWithBackslashesIsWritten)
{
    const std::string avi = MakeAvi("ten.avi", 10);
    std::filesystem::create_directory(folder.path("out"));
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "\\out\\shot%05d.bmp", 0, 1));
    EXPECT_TRUE(Exists(folder.path("out/" + editortest::BitmapName("shot", 9))));
}

TEST_F(AviToFiles, AFailedWriteEndsTheConversionAndKeepsWhatWasWritten)
{
    const std::string avi = MakeAvi("ten.avi", 10);
    // A folder where the third bitmap belongs: that file cannot be written.
    std::filesystem::create_directory(folder.path(editortest::BitmapName("f", 2)));
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/f%05d.bmp", 0, 1));
    EXPECT_TRUE(editor.aviToFiles.WriteFailed());
    EXPECT_EQ(editor.From(&editor.aviToFiles, kFrameDone).size(), 2u);
    const auto done = editor.From(&editor.aviToFiles, kConvertDone);
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].wParam, 2u);
    EXPECT_TRUE(Exists(folder.path(editortest::BitmapName("f", 1))));
    EXPECT_FALSE(Exists(folder.path(editortest::BitmapName("f", 3))));

    // A name longer than a path can be is a write that fails, never a cut name.
    const std::string deep(600, 'd');
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/" + deep + "/f%05d.bmp", 0, 1));
    EXPECT_TRUE(editor.aviToFiles.WriteFailed());
    EXPECT_TRUE(editor.From(&editor.aviToFiles, kFrameDone).empty());

    // The next conversion starts clean.
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/g%05d.bmp", 0, 1));
    EXPECT_FALSE(editor.aviToFiles.WriteFailed());
}

TEST_F(AviToFiles, ABitmapNameThatIsTheVideoIsRefusedBeforeAnythingIsWritten)
{
    namespace fs = std::filesystem;
    // A video named as the third bitmap of a run from 5 in steps of 3 would be.
    const std::string avi = MakeAvi(editortest::BitmapName("v", 11).c_str(), 10);
    const std::string before = testmedia::ReadWholeFile(avi);
    fs::create_directory(folder.path("out"));
    // The last name that a run of the limit's frames reaches, as a hard link.
    fs::create_hard_link(avi, folder.path("out/" + editortest::BitmapName("h", 5 + 126 * 3)));
    fs::create_symlink(avi, folder.path("out/" + editortest::BitmapName("s", 8)));
    const std::string runs[] = {folder.root() + "/out/h%05d.bmp", folder.root() + "/out/s%05d.bmp",
                                folder.root() + "\\out\\..\\.\\v%05d.bmp"};
    for (const std::string& pattern : runs) {
        std::string path = avi;
        EXPECT_FALSE(editor.aviToFiles.Convert(path.data(), pattern.c_str(), 5, 3)) << pattern;
        EXPECT_EQ(editor.aviToFiles.GetState(), 0);
    }
    EXPECT_EQ(testmedia::ReadWholeFile(avi), before);
    for (const std::string first : {"out/h00005.bmp", "out/s00005.bmp", "v00005.bmp"})
        EXPECT_FALSE(Exists(folder.path(first))) << first;
    // From 2, that link lies one step beyond the run's reach: the run goes on.
    ASSERT_TRUE(editor.AviToFiles(avi, folder.root() + "/out/h%05d.bmp", 2, 3));
    EXPECT_TRUE(Exists(folder.path("out/" + editortest::BitmapName("h", 2 + 9 * 3))));
    EXPECT_EQ(testmedia::ReadWholeFile(avi), before);
}

TEST_F(AviToFiles, AFullFileSystemEndsTheConversionAtTheFirstBitmapThatDoesNotFit)
{
    // With pages of 4 KiB, five bitmaps of three pages each fit; the sixth does not.
    const testmedia::TempFolder small;
    const testmedia::TmpfsMount mount(small.root(), 64 * 1024);
    if (!mount.mounted())
        GTEST_SKIP() << mount.failure();
    const std::string avi = MakeAvi("long.avi", 48, 64, 48);
    ASSERT_TRUE(editor.AviToFiles(avi, small.root() + "/f%05d.bmp", 0, 1));
    EXPECT_TRUE(editor.aviToFiles.WriteFailed());
    const std::size_t written = editor.From(&editor.aviToFiles, kFrameDone).size();
    EXPECT_LT(written, 48u);
    // Every bitmap told as written is whole, and no other file is left.
    constexpr std::uintmax_t kBitmapBytes = 54 + 64 * 48 * 3;
    for (std::size_t n = 0; n < written; ++n) {
        EXPECT_EQ(std::filesystem::file_size(
                      small.path(editortest::BitmapName("f", static_cast<int>(n)))),
                  kBitmapBytes)
            << n;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(small.root()),
                            std::filesystem::directory_iterator()),
              static_cast<std::ptrdiff_t>(written));
}

TEST_F(AviToFiles, CountsUpToTheLimitHeldTo1To127)
{
    const std::string avi = MakeAvi("long.avi", 140);
    EXPECT_EQ(editor.CountFrames(avi, 0x7FFFFFFF, 500), 127);
    EXPECT_EQ(editor.From(&editor.aviToFiles, kCounting).size(), 127u);
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), 127);
    EXPECT_EQ(editor.CountFrames(avi, 0x7FFFFFFF, -5), 1);
    EXPECT_EQ(editor.CountFrames(avi, 0x7FFFFFFF, 0), 1);
    EXPECT_EQ(editor.CountFrames(MakeAvi("ten.avi", 10), 0x7FFFFFFF, 127), 10);
    EXPECT_TRUE(editor.aviToFiles.HasFrames());
}

TEST_F(AviToFiles, TheStopFrameIsHandedOverOnce)
{
    const std::string avi = MakeAvi("long.avi", 140);
    EXPECT_EQ(editor.CountFrames(avi, 5, 127), 5);
    // Let every sample still in flight arrive: none repeats the message.
    editor.pump.RunUntil([] { return false; }, 0.2);
    EXPECT_EQ(editor.From(&editor.aviToFiles, kCountDone).size(), 1u);
    EXPECT_EQ(editor.From(&editor.aviToFiles, kCounting).size(), 5u);
    FrameRecord held{};
    ASSERT_TRUE(editor.frames.GetFrame(&held));
    ASSERT_NE(held.image, nullptr);
    // Frame 5 has its top 6 rows in its first colour: the whole 8 x 6 picture.
    const auto expected = editortest::ColourFrames(6, 8, 6)[5];
    EXPECT_EQ(held.image->pixel(0, 0)[0], expected.bgr[0]);
    delete held.image;
}

TEST_F(AviToFiles, ACountWhileAGraphIsRenderedIsRefused)
{
    const std::string avi = MakeAvi("long.avi", 140);
    std::string path = avi;
    ASSERT_TRUE(editor.aviToFiles.Convert(path.data(), nullptr, 0, 1));
    editor.Forget();
    EXPECT_FALSE(editor.aviToFiles.CountFrames(path.data(), 0x7FFFFFFF, 127));
    EXPECT_NE(editor.aviToFiles.GetFrameCount(), 0);
    ASSERT_TRUE(editor.pump.RunUntil(
        [&] { return !editor.From(&editor.aviToFiles, kConvertDone).empty(); }));
    EXPECT_EQ(editor.From(&editor.aviToFiles, kConvertDone)[0].wParam, 127u);
}

TEST_F(AviToFiles, InputsThatAreNoVideo)
{
    std::string missing = folder.path("missing.avi");
    EXPECT_FALSE(editor.aviToFiles.CountFrames(missing.data(), 0x7FFFFFFF, 127));
    std::string text = folder.path("text.avi");
    ASSERT_TRUE(testmedia::WriteTextFile(text, "no video"));
    EXPECT_FALSE(editor.aviToFiles.CountFrames(text.data(), 0x7FFFFFFF, 127));
    editor.pump.RunUntil([] { return false; }, 0.1);
    const auto posted = editor.pump.messages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, kConvertDone);
    EXPECT_EQ(posted[0].wParam, 0u);
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), 0);
}

TEST_F(AviToFiles, TheSameInputInOtherLettersKeepsItsCount)
{
    const std::string avi = MakeAvi("Ten.avi", 10);
    ASSERT_EQ(editor.CountFrames(avi), 10);
    std::string other = "  " + folder.root() + "/TEN.AVI \t";
    editor.aviToFiles.SetInputFile(other.data());
    EXPECT_STREQ(other.c_str(), (folder.root() + "/TEN.AVI").c_str());
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), 10);
    std::string another = folder.path("eleven.avi");
    editor.aviToFiles.SetInputFile(another.data());
    EXPECT_EQ(editor.aviToFiles.GetFrameCount(), -1);
}

}  // namespace
