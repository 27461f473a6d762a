#include "editor/app/FilesToAVIDlg.h"
#include "EditorDialogTest.h"
#include "editor/engine/EditorHarness.h"
#include "editor/engine/FilesToAVI.h"
#include "media/BufferFrame.h"
#include "support/DecimalCommaLocale.h"
#include "support/TmpfsMount.h"

#include <filesystem>
#include <regex>
#include <set>

using namespace gresmont;

namespace {

using editortest::PageHost;
using editortest::TextOf;
using editortest::WaitFor;
using Post = PageHost::Post;

// The "Files to AVI" page in the main dialog's window, with its converter and the shared
// frame source as the main dialog sets them up, and a run of bitmaps to make a video of.
class FilesToAviPageTest : public editortest::EditorDialogTest {
protected:
    void SetUp() override
    {
        EditorDialogTest::SetUp();
        desktop_.InstallCompressors({"PCM"},
                                    {"Intel IYUV codec", "MJPEG Compressor", "microsoft video 1",
                                     "Cinepak Codec by Radius", "H.264 Video", "Microsoft RLE"});
        frames_.Create("Video Frame", 5);
        ASSERT_TRUE(host_.Create(kMainDialogId));
        converter_.CreateGraph(nullptr, &frames_);
        converter_.SetNotifyWindow(host_.m_hWnd, kGraphNotify);
        host_.onGraphNotify = [this](LPARAM) { converter_.HandleGraphEvents(); };
        ASSERT_TRUE(page_.CreatePage(&host_, RECT{0, 0, 400, 300}, kFilesToAviPageId, &converter_));
        std::filesystem::create_directories(dir_ / "run");
        for (int number : {10, 12, 14})
            ASSERT_TRUE(editortest::WriteBitmap(At("run/" + editortest::BitmapName("shot", number)),
                                                editortest::FlatPicture(20, 10, 0x336699)));
    }
    void TearDown() override
    {
        page_.ClosePage();
        converter_.Shutdown();
        frames_.Close();
        EditorDialogTest::TearDown();
    }
    std::vector<std::string> Items(int list)
    {
        std::vector<std::string> items;
        const int count = static_cast<int>(page_.SendDlgItemMessage(list, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            char text[260];
            page_.SendDlgItemMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    void Choose(int list, int index)
    {
        page_.SendDlgItemMessage(list, CB_SETCURSEL, static_cast<WPARAM>(index));
        page_.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(list), CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(::GetDlgItem(page_.m_hWnd, list)));
    }
    void FillRun()
    {
        page_.SetDlgItemText(kAviField, At("made.avi").c_str());
        page_.SetDlgItemText(kFolderField, At("run").c_str());
        page_.SetDlgItemText(kFirstField, "shot00010.bmp");
        page_.SetDlgItemText(kLastField, "shot00014.bmp");
    }

    CBufferFrame frames_;
    CFilesToAVI converter_;
    PageHost host_;
    CFilesToAVIDlg page_;
};

}  // namespace

TEST_F(FilesToAviPageTest, RatesRunInHundredthsFromOneToFourWithTwoChosen)
{
    const std::vector<std::string> rates = Items(kRateList);
    ASSERT_EQ(rates.size(), 301u);
    EXPECT_EQ(rates.front(), "1.00 frame/sec");
    EXPECT_EQ(rates[1], "1.01 frame/sec");
    EXPECT_EQ(rates[199], "2.99 frame/sec");
    EXPECT_EQ(rates.back(), "4.00 frame/sec");
    EXPECT_EQ(std::set<std::string>(rates.begin(), rates.end()).size(), 301u);
    EXPECT_EQ(page_.SendDlgItemMessage(kRateList, CB_GETCURSEL), 100);
    EXPECT_EQ(TextOf(page_, kRateList), "2.00 frame/sec");
}

TEST_F(FilesToAviPageTest, ARateReachesTheVideoWithItsFullStopInADecimalCommaLocale)
{
    const testmedia::DecimalCommaLocale german;
    ASSERT_TRUE(german.active());
    EXPECT_EQ(FrameRateText(250), "2.50 frame/sec");
    FillRun();
    Choose(kStepList, 1);
    ASSERT_TRUE(page_.SelectComboText("2.50", kRateList));
    page_.ApplySettings();
    ASSERT_TRUE(page_.CanStart());
    ASSERT_TRUE(page_.Start());
    ASSERT_TRUE(WaitFor([&] { return !host_.converterPosts[kConvertDone].empty(); }));
    page_.Stop();
    const av::StreamInfo video = editortest::ProbeVideo(At("made.avi"));
    EXPECT_EQ(video.frameCount, 3);
    EXPECT_DOUBLE_EQ(video.framesPerSecond, 2.5);
}

TEST_F(FilesToAviPageTest, CompressorsLeaveOutTheNamesTheEditorDoesNotOffer)
{
    EXPECT_EQ(Items(kCompressorList),
              (std::vector<std::string>{"(No Compression)", "MJPEG Compressor", "H.264 Video"}));
    EXPECT_EQ(page_.SendDlgItemMessage(kCompressorList, CB_GETCURSEL), 0);
}

TEST_F(FilesToAviPageTest, StartNeedsAWritableOutputAFolderAStepAndACompressor)
{
    FillRun();
    EXPECT_TRUE(page_.CanStart());
    // No rate chosen reads as 0, which passes.
    page_.SendDlgItemMessage(kRateList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_TRUE(page_.CanStart());
    page_.SendDlgItemMessage(kCompressorList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_FALSE(page_.CanStart());
    page_.SendDlgItemMessage(kCompressorList, CB_SETCURSEL, 0);
    page_.SendDlgItemMessage(kStepList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_FALSE(page_.CanStart());
    page_.SendDlgItemMessage(kStepList, CB_SETCURSEL, 0);
    EXPECT_TRUE(page_.CanStart());
    page_.SetDlgItemText(kAviField, At("nowhere/made.avi").c_str());
    EXPECT_FALSE(page_.CanStart());
    page_.SetDlgItemText(kAviField, At("run").c_str());
    EXPECT_FALSE(page_.CanStart());
    page_.SetDlgItemText(kAviField, At("made.avi").c_str());
    page_.SetDlgItemText(kFolderField, At("nowhere").c_str());
    EXPECT_FALSE(page_.CanStart());
    // An output name longer than a path buffer names no writable file: cut to the buffer
    // it would name another one, in a folder that exists.
    page_.SetDlgItemText(kFolderField, At("run").c_str());
    page_.SetDlgItemText(kAviField, At("run/" + std::string(600, 'v') + ".avi").c_str());
    EXPECT_FALSE(page_.CanStart());
}

TEST_F(FilesToAviPageTest, StartStaysDisabledForAnOutputOnAReadOnlyFileSystem)
{
    FillRun();
    std::filesystem::create_directory(dir_ / "locked");
    testmedia::TmpfsMount mount(At("locked"));
    if (!mount.mounted())
        GTEST_SKIP() << mount.failure();
    page_.SetDlgItemText(kAviField, At("locked/made.avi").c_str());
    EXPECT_TRUE(page_.CanStart());
    ASSERT_TRUE(mount.MakeReadOnly());
    EXPECT_FALSE(page_.CanStart());
}

TEST_F(FilesToAviPageTest, DefaultsGiveADatedOutputAndTheImageFolder)
{
    page_.SetDefaults();
    EXPECT_EQ(TextOf(page_, kFirstField), "00000.bmp");
    EXPECT_EQ(TextOf(page_, kLastField), "00000.bmp");
    EXPECT_EQ(TextOf(page_, kFolderField), At("VideoTemplateImages"));
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "VideoTemplateImages"));
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "VideoTemplate"));
    const std::string output = TextOf(page_, kAviField);
    const std::string folder = At("VideoTemplate") + "/";
    ASSERT_EQ(output.rfind(folder, 0), 0u) << output;
    EXPECT_TRUE(
        std::regex_match(output.substr(folder.size()), std::regex("[0-9]{6}_[0-9]{6}\\.avi")))
        << output;
    EXPECT_TRUE(page_.CanStart());

    // Fields already filled are kept.
    page_.SetDlgItemText(kAviField, "/elsewhere/mine.avi");
    page_.SetDlgItemText(kFolderField, "/elsewhere");
    page_.SetDefaults();
    EXPECT_EQ(TextOf(page_, kAviField), "/elsewhere/mine.avi");
    EXPECT_EQ(TextOf(page_, kFolderField), "/elsewhere");
}

TEST_F(FilesToAviPageTest, TheRunReachesTheConverterWhichShowsItsFirstBitmapWhileThePageShows)
{
    page_.ShowPage(SW_SHOW);
    FillRun();
    Choose(kStepList, 1);
    EXPECT_TRUE(converter_.HasFrames());
    ASSERT_FALSE(desktop_.pictures.empty());
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Show);
    EXPECT_EQ(desktop_.pictures.back().name, "Files to AVI");
    EXPECT_EQ(desktop_.pictures.back().width, 20);
    EXPECT_EQ(desktop_.pictures.back().height, 10);

    // Hiding the page takes the picture window away; showing it brings it back.
    page_.ShowPage(SW_HIDE);
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Destroy);
    page_.ShowPage(SW_SHOW);
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Show);

    // No bitmap under the names: the picture window goes.
    page_.SetDlgItemText(kFirstField, "none00010.bmp");
    EXPECT_FALSE(converter_.HasFrames());
    EXPECT_EQ(desktop_.pictures.back().action, PictureWindowAction::Destroy);
}

TEST_F(FilesToAviPageTest, NamesWithoutPrefixAndFoldersWithPercentSignsFindTheirBitmaps)
{
    for (const char* folder : {"100%", "plain"}) {
        std::filesystem::create_directories(dir_ / folder);
        for (int number : {1, 2})
            ASSERT_TRUE(editortest::WriteBitmap(
                At(std::string(folder) + "/" + editortest::BitmapName("", number)),
                editortest::FlatPicture(8, 8, 0x123456)));
    }
    ASSERT_TRUE(
        editortest::WriteBitmap(At("100%/a%d00001.bmp"), editortest::FlatPicture(8, 8, 0x123456)));
    page_.SetDlgItemText(kAviField, At("made.avi").c_str());
    page_.SetDlgItemText(kFolderField, (At("plain") + "/ ").c_str());
    page_.SetDlgItemText(kFirstField, "00001.bmp");
    page_.SetDlgItemText(kLastField, "00002.bmp");
    EXPECT_TRUE(converter_.HasFrames());
    EXPECT_TRUE(page_.CanStart());
    page_.SetDlgItemText(kFolderField, At("100%").c_str());
    EXPECT_TRUE(converter_.HasFrames());
    page_.SetDlgItemText(kFirstField, "a%d00001.bmp");
    EXPECT_EQ(TextOf(page_, kLastField), "a%d00002.bmp");
    EXPECT_TRUE(converter_.HasFrames());
}

TEST_F(FilesToAviPageTest, EachFieldTellsTheMainDialogAsItsRowSays)
{
    FillRun();
    WaitFor([] { return true; });
    host_.posts.clear();
    const auto window = [&](int id) {
        return reinterpret_cast<WPARAM>(::GetDlgItem(page_.m_hWnd, id));
    };
    page_.SetDlgItemText(kAviField, At("other.avi").c_str());
    page_.SetDlgItemText(kFirstField, "shot00012.bmp");
    page_.SetDlgItemText(kLastField, "shot00014.bmp");
    page_.SetDlgItemText(kFolderField, At("run").c_str());
    Choose(kStepList, 2);
    Choose(kRateList, 50);
    Choose(kCompressorList, 1);
    WaitFor([] { return true; });
    EXPECT_EQ(host_.posts, (std::vector<Post>{{kFocusText, window(kAviField)},
                                              {kUpdateState, kRefresh},
                                              {kFocusText, window(kFirstField)},
                                              {kUpdateState, kChanged},
                                              {kFocusText, window(kLastField)},
                                              {kUpdateState, kChanged},
                                              {kFocusText, window(kFolderField)},
                                              {kUpdateState, kChanged},
                                              {kFocusText, window(kStepList)},
                                              {kUpdateState, kChanged},
                                              {kFocusText, window(kRateList)},
                                              {kFocusText, window(kCompressorList)}}));
}
