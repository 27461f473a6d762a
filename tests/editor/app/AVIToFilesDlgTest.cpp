#include "editor/app/AVIToFilesDlg.h"
#include "EditorDialogTest.h"
#include "editor/engine/AVIToFiles.h"
#include "editor/engine/EditorHarness.h"
#include "media/BufferFrame.h"

#include <filesystem>

using namespace gresmont;

namespace {

using editortest::PageHost;
using editortest::TextOf;
using editortest::WaitFor;
using Post = PageHost::Post;

constexpr int kFrames = 3;

// The "AVI to Files" page in the main dialog's window, with its converter and the shared
// frame source as the main dialog sets them up.
class AviToFilesPageTest : public editortest::EditorDialogTest {
protected:
    void SetUp() override
    {
        EditorDialogTest::SetUp();
        frames_.Create("Video Frame", 5);
        ASSERT_TRUE(host_.Create(kMainDialogId));
        converter_.CreateGraph(nullptr, &frames_);
        converter_.SetNotifyWindow(host_.m_hWnd, kGraphNotify);
        host_.onGraphNotify = [this](LPARAM) { converter_.HandleGraphEvents(); };
        ASSERT_TRUE(page_.CreatePage(&host_, RECT{0, 0, 400, 300}, kAviToFilesPageId, &converter_));
        template_ = At("template.avi");
        ASSERT_TRUE(testmedia::WriteDibAvi(template_, editortest::ColourFrames(kFrames, 16, 8), 10,
                                           testmedia::DibLayout::Rgb24BottomUp));
        std::filesystem::create_directories(dir_ / "out");
    }
    void TearDown() override
    {
        page_.ClosePage();
        converter_.ReleaseGraph();
        frames_.Close();
        EditorDialogTest::TearDown();
    }
    int Posted(UINT message) { return static_cast<int>(host_.converterPosts[message].size()); }
    // Runs Start and waits for the end, then closes the graph as the main dialog does.
    bool Convert()
    {
        const int ends = Posted(kConvertDone);
        if (!page_.Start())
            return false;
        const bool ended = WaitFor([&] { return Posted(kConvertDone) > ends; });
        page_.Stop();
        return ended;
    }
    void Fill(const std::string& folder, const char* first, int stepIndex)
    {
        page_.SetDlgItemText(kAviField, template_.c_str());
        page_.SetDlgItemText(kFolderField, folder.c_str());
        page_.SetDlgItemText(kFirstField, first);
        page_.SendDlgItemMessage(kStepList, CB_SETCURSEL, static_cast<WPARAM>(stepIndex));
    }

    CBufferFrame frames_;
    CAVIToFiles converter_;
    PageHost host_;
    CAVIToFilesDlg page_;
    std::string template_;
};

}  // namespace

TEST_F(AviToFilesPageTest, StartNeedsAnInputAFolderANumberedFirstFileAndAStep)
{
    Fill(At("out"), "shot00010.bmp", 1);
    EXPECT_TRUE(page_.CanStart());
    // The input may be named beside the program, and blanks around the folder count
    // for nothing, as Start cuts them.
    page_.SetDlgItemText(kAviField, "template.avi");
    page_.SetDlgItemText(kFolderField, ("  " + At("out") + "\\/ ").c_str());
    EXPECT_TRUE(page_.CanStart());
    page_.SetDlgItemText(kAviField, At("missing.avi").c_str());
    EXPECT_FALSE(page_.CanStart());
    page_.SetDlgItemText(kAviField, template_.c_str());
    page_.SetDlgItemText(kFolderField, At("nowhere").c_str());
    EXPECT_FALSE(page_.CanStart());
    page_.SetDlgItemText(kFolderField, At("out").c_str());
    page_.SendDlgItemMessage(kStepList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_FALSE(page_.CanStart());
}

TEST_F(AviToFilesPageTest, BitmapsAreNamedFromTheFirstFileInTheFolderAsTyped)
{
    Fill("  " + At("out") + "//", "shot00010.bmp", 1);
    ASSERT_TRUE(Convert());
    for (int number : {10, 12, 14})
        EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / editortest::BitmapName("shot", number)))
            << number;
    EXPECT_EQ(Posted(kFrameDone), kFrames);

    // An empty prefix, the largest step, and a "%" in folder and prefix that names itself.
    std::filesystem::create_directories(dir_ / "100%");
    Fill(At("100%"), "", 99);
    EXPECT_EQ(TextOf(page_, kFirstField), "00000.bmp");
    ASSERT_TRUE(Convert());
    for (int number : {0, 100, 200})
        EXPECT_TRUE(std::filesystem::exists(dir_ / "100%" / editortest::BitmapName("", number)));
    Fill(At("100%"), "a%d00001.bmp", 0);
    ASSERT_TRUE(Convert());
    EXPECT_TRUE(std::filesystem::exists(dir_ / "100%" / "a%d00003.bmp"));

    // Names too long for a path are refused before anything runs.
    Fill(At("out"), (std::string(505, 'n') + "00001.bmp").c_str(), 0);
    EXPECT_FALSE(page_.Start());
    EXPECT_EQ(converter_.GetState(), 0);
}

TEST_F(AviToFilesPageTest, FramesAreCountedOnlyWhileThePageShows)
{
    page_.SetDlgItemText(kAviField, template_.c_str());
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(Posted(kCountDone), 0);
    EXPECT_EQ(converter_.GetFrameCount(), -1);

    page_.ShowPage(SW_SHOW);
    ASSERT_TRUE(WaitFor([&] { return Posted(kCountDone) == 1; }));
    EXPECT_EQ(host_.converterPosts[kCountDone][0].wParam, static_cast<WPARAM>(kFrames));
    EXPECT_EQ(Posted(kActivityText), kFrames);
    converter_.Stop();
    converter_.Close();
    EXPECT_EQ(converter_.GetFrameCount(), kFrames);

    // Shown again with the same input: the count is known.
    page_.ShowPage(SW_HIDE);
    page_.ShowPage(SW_SHOW);
    page_.SetDlgItemText(kAviField, (" " + template_).c_str());
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(Posted(kCountDone), 1);
}

TEST_F(AviToFilesPageTest, EachFieldTellsTheMainDialogInItsOrder)
{
    const auto window = [&](int id) {
        return reinterpret_cast<WPARAM>(::GetDlgItem(page_.m_hWnd, id));
    };
    page_.SetDlgItemText(kAviField, "x.avi");
    page_.SetDlgItemText(kFirstField, "shot00010.bmp");
    page_.SetDlgItemText(kFolderField, "/out");
    page_.SendMessage(WM_COMMAND, MAKEWPARAM(kStepList, CBN_SELCHANGE), window(kStepList));
    WaitFor([] { return true; });
    EXPECT_EQ(host_.posts, (std::vector<Post>{{kFocusText, window(kAviField)},
                                              {kUpdateState, kChanged},
                                              {kFocusText, window(kFirstField)},
                                              {kUpdateState, kRefresh},
                                              {kFocusText, window(kFolderField)},
                                              {kUpdateState, kRefresh},
                                              {kFocusText, window(kStepList)}}));
}

TEST_F(AviToFilesPageTest, AnInputNamedBesideTheProgramIsCountedAndConvertedThere)
{
    ASSERT_FALSE(std::filesystem::exists("template.avi"));  // not in the working folder
    Fill(At("out"), "shot00001.bmp", 0);
    page_.SetDlgItemText(kAviField, "template.avi");
    page_.ShowPage(SW_SHOW);
    ASSERT_TRUE(WaitFor([&] { return Posted(kCountDone) == 1; }));
    EXPECT_EQ(host_.converterPosts[kCountDone][0].wParam, static_cast<WPARAM>(kFrames));
    converter_.Stop();
    converter_.Close();
    ASSERT_TRUE(Convert());
    EXPECT_EQ(Posted(kFrameDone), kFrames);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "out" / editortest::BitmapName("shot", kFrames)));
}
