#include "MainDialogTest.h"

#include "editor/engine/EditorHarness.h"
#include "editor/engine/FilesToAVI.h"
#include "platform/win/MessageLoop.h"
#include "support/WidgetOf.h"

#include <QTest>

#include <filesystem>

using namespace gresmont;

namespace {

using editortest::WaitFor;
using testmedia::TestPicture;

constexpr int kFrames = 10;

class GresmontEndToEnd : public editortest::MainDialogTest {
protected:
    void ClickButton(HWND button)
    {
        ASSERT_TRUE(IsWindowEnabled(button));
        QTest::mouseClick(WidgetOf(button), Qt::LeftButton);
    }
    // A person's pick in a page's list.
    void Choose(int tab, int list, const char* text)
    {
        ASSERT_TRUE(Page(tab).SelectComboText(text, list)) << text;
        Page(tab).SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(list), CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(PageItem(tab, list)));
    }
};

}  // namespace

TEST_F(GresmontEndToEnd, ATemplateBecomesBitmapsAndTheBitmapsAVideoAndARestartRemembersIt)
{
    const std::vector<TestPicture> sources = editortest::ColourFrames(kFrames, 32, 24);
    const std::string input = At("template.avi");
    ASSERT_TRUE(testmedia::WriteDibAvi(input, sources, 10, testmedia::DibLayout::Rgb24BottomUp));
    std::filesystem::create_directories(dir_ / "frames");

    // Started with the template as its one argument, the program counts it at once.
    CWinApp app("Gresmont");
    app.m_lpCmdLine = input.c_str();
    Open();
    ASSERT_TRUE(WaitForProgress("10 frames"));

    desktop_.folderAnswers = {At("frames")};
    ClickButton(PageItem(0, kSelectFolderButton));
    EXPECT_EQ(Field(0, kFolderField), At("frames"));
    SetField(0, kFirstField, "shot00010.bmp");
    Choose(0, kStepList, "2");
    ASSERT_TRUE(WaitFor([&] { return Enabled(kStartButton); }));
    ClickButton(Item(kStartButton));
    ASSERT_TRUE(WaitForProgress("Frame 10 of 10 (100%)"));
    for (int i = 0; i < kFrames; ++i) {
        const TestPicture written =
            editortest::ReadPicture(At("frames/" + editortest::BitmapName("shot", 10 + 2 * i)));
        EXPECT_TRUE(editortest::SamePicture(written, sources[i])) << "frame " << i;
    }

    QWidget* tabs = WidgetOf(Item(kTabControl));
    Focus(tabs);
    QTest::keyClick(tabs, Qt::Key_Right);
    ASSERT_EQ(Tab(), 1);
    ASSERT_TRUE(Page(1).IsWindowVisible());
    desktop_.folderAnswers = {At("frames")};
    ClickButton(PageItem(1, kSelectFolderButton));
    desktop_.fileAnswers = {At("frames/shot00010.bmp"), At("frames/shot00028.bmp")};
    ClickButton(PageItem(1, kSelectFirstButton));
    ClickButton(PageItem(1, kSelectLastButton));
    EXPECT_EQ(Field(1, kFirstField), "shot00010.bmp");
    EXPECT_EQ(Field(1, kLastField), "shot00028.bmp");
    Choose(1, kRateList, "2.00 frame/sec");
    Choose(1, kCompressorList, "MJPEG Compressor");
    const std::string output = Field(1, kAviField);
    ASSERT_TRUE(WaitFor([&] { return Enabled(kStartButton); }));
    dialog_->ends.clear();
    ClickButton(Item(kStartButton));
    ASSERT_TRUE(WaitForProgress("Frame 10 of 10 (100%)"));
    ASSERT_TRUE(WaitFor([&] { return dialog_->ends.size() >= 2; }));
    // The close stopped the graph and took the window from its events: whatever the
    // converter posted is in the queue now, and no more comes.
    ProcessPostedMessages();
    const auto* converter = static_cast<CFilesToAVI*>(Page(1).GetConverter());
    ASSERT_EQ(dialog_->ends.size(), 2u);  // the completion, then the close after it
    for (const auto& end : dialog_->ends) {
        EXPECT_EQ(end.frames, static_cast<WPARAM>(kFrames));
        EXPECT_EQ(end.sender, reinterpret_cast<LPARAM>(converter));
    }
    const av::StreamInfo video = editortest::ProbeVideo(output);
    EXPECT_EQ(video.codec, "mjpeg");
    EXPECT_EQ(video.frameCount, kFrames);
    EXPECT_DOUBLE_EQ(video.framesPerSecond, 2.0);
    EXPECT_EQ(video.width, 32);
    EXPECT_EQ(video.height, 24);

    ClickButton(Item(IDCANCEL));
    ASSERT_EQ(dialog_->Page(0), nullptr);
    dialog_.reset();
    EXPECT_TRUE(std::filesystem::exists(ProjectFile("RecentProject.tmp")));

    app.m_lpCmdLine = "";
    Open();
    EXPECT_EQ(Tab(), 1);
    EXPECT_EQ(Field(0, kAviField), input);
    EXPECT_EQ(Field(0, kFolderField), At("frames"));
    EXPECT_EQ(Field(0, kFirstField), "shot00010.bmp");
    EXPECT_EQ(Field(0, kStepList), "2");
    EXPECT_EQ(Field(1, kAviField), output);
    EXPECT_EQ(Field(1, kFolderField), At("frames"));
    EXPECT_EQ(Field(1, kFirstField), "shot00010.bmp");
    EXPECT_EQ(Field(1, kLastField), "shot00028.bmp");
    EXPECT_EQ(Field(1, kRateList), "2.00 frame/sec");
    EXPECT_EQ(Field(1, kCompressorList), "MJPEG Compressor");
    EXPECT_TRUE(Enabled(kStartButton));
}
