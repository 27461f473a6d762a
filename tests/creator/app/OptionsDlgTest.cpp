#include "creator/app/OptionsDlg.h"

#include "creator/app/OptionsDlgResource.h"
#include "creator/app/PlumetaDlgResource.h"
#include "media/ui/CompressorCombo.h"
#include "platform/win/MessageLoop.h"
#include "support/DesktopRecorder.h"
#include "support/TestMedia.h"
#include "support/WidgetOf.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The page's owner: a dialog with the output path field, recording what the page posts.
constexpr int kOwnerDialogId = 1;
constexpr ControlResource kOwnerControls[] = {
    {kOutputPath, ControlKind::Edit, "", 5, 5, 160, 14, ES_AUTOHSCROLL | WS_BORDER},
};
constexpr DialogResource kOwnerDialog{kOwnerDialogId,        "Owner", 170, 25,
                                      WS_POPUP | WS_CAPTION, 0,       0,   kOwnerControls};
constexpr const DialogResource* kDialogs[] = {&kOwnerDialog, &kOptionsDialog};
const ResourceModule kModule{"OptionsOwner", kDialogs};

class OwnerDlg : public CDialog {
public:
    OwnerDlg() : CDialog(kOwnerDialogId) {}
    int applies = 0;

protected:
    LRESULT OnApplyDelay(WPARAM, LPARAM)
    {
        ++applies;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnerDlg, CDialog)
ON_MESSAGE(WM_APPLY_AUDIO_DELAY, &OwnerDlg::OnApplyDelay)
END_MESSAGE_MAP()

class OptionsDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AfxSetResourceHandle(&kModule);
        ASSERT_TRUE(owner_.Create(kOwnerDialogId));
    }
    void TearDown() override
    {
        page_.DestroyWindow();
        owner_.DestroyWindow();
        AfxSetResourceHandle(nullptr);
    }

    void Open(std::vector<std::string> audio, std::vector<std::string> video)
    {
        desktop_.InstallCompressors(std::move(audio), std::move(video));
        ASSERT_TRUE(page_.CreateAndInit());
    }
    std::vector<std::string> Items(int list)
    {
        std::vector<std::string> items;
        const int count = static_cast<int>(page_.SendDlgItemMessage(list, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            char text[kComboItemTextMax + 1] = {};
            page_.SendDlgItemMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                     reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    std::string Selected(int list)
    {
        char text[kComboItemTextMax + 1] = {};
        ::GetDlgItemTextA(page_.m_hWnd, list, text, sizeof text);
        return text;
    }
    std::string Text(int id) { return Selected(id); }

    testmedia::DesktopRecorder desktop_;
    OwnerDlg owner_;
    COptionsDlg page_{&owner_};
};

}  // namespace

TEST_F(OptionsDlgTest, AudioListLeavesOutTheExcludedAndPrefersGsm)
{
    Open({"CCITT A-Law", "GSM 6.10", "IMA ADPCM", "MPEG Layer-3", "PCM"}, {});
    EXPECT_EQ(Items(kAudioCompressorList),
              (std::vector<std::string>{kNoCompression, "GSM 6.10", "IMA ADPCM", "PCM"}));
    EXPECT_EQ(Selected(kAudioCompressorList), "GSM 6.10");
    // A category without compressors leaves only "(No Compression)", chosen.
    EXPECT_EQ(Items(kVideoCompressorList), std::vector<std::string>{kNoCompression});
    EXPECT_EQ(Selected(kVideoCompressorList), kNoCompression);
}

TEST_F(OptionsDlgTest, ExclusionsGoByPrefixWithoutCaseAndThePreferenceRunsInOrder)
{
    Open({"windows media audio v1", "Windows Media Audio V2", "ccitt u-Law (8 kHz)",
          "WMAudio Encoder DMO"},
         {"Intel IYUV codec", "Microsoft RLE", "Microsoft Video 1", "MJPEG Compressor",
          "Cinepak Codec by Radius", "WMVideo9 Encoder DMO"});
    EXPECT_EQ(Items(kAudioCompressorList),
              (std::vector<std::string>{kNoCompression, "Windows Media Audio V2"}));
    EXPECT_EQ(Selected(kAudioCompressorList), "Windows Media Audio V2");
    EXPECT_EQ(Items(kVideoCompressorList),
              (std::vector<std::string>{kNoCompression, "Microsoft Video 1", "MJPEG Compressor",
                                        "Cinepak Codec by Radius"}));
    EXPECT_EQ(Selected(kVideoCompressorList), "Cinepak Codec by Radius");
}

TEST_F(OptionsDlgTest, StartsHiddenWithTheDefaultsAndApplyEnabled)
{
    Open({"PCM"}, {"MJPEG Compressor"});
    EXPECT_FALSE(page_.IsWindowVisible());
    EXPECT_EQ(::GetParent(page_.m_hWnd), owner_.m_hWnd);
    EXPECT_EQ(page_.GetFaceSize(), 120);
    EXPECT_EQ(Selected(kFaceSizeList), "120%");
    EXPECT_EQ(Items(kFaceSizeList).size(), 11u);
    EXPECT_EQ(page_.GetAudioDelay(), 5000);
    EXPECT_EQ(Text(kDelayLabel), "Audio &Delay\r\n5.0 sec");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page_.m_hWnd, kApplyDelay)));
    EXPECT_EQ(page_.SendDlgItemMessage(kDelayTrackbar, TBM_GETRANGEMAX), 1000);
    EXPECT_EQ(page_.SendDlgItemMessage(kDelayTrackbar, TBM_GETPAGESIZE), 100);
}

TEST_F(OptionsDlgTest, DelaysAreTenthsOfASecondWithinTheTrackbar)
{
    Open({}, {});
    EXPECT_EQ(page_.SetAudioDelay(5050), 1);
    EXPECT_EQ(Text(kDelayLabel), "Audio &Delay\r\n5.0 sec");
    EXPECT_EQ(page_.GetAudioDelay(), 5000);
    EXPECT_EQ(page_.SetAudioDelay(200000), 1);
    EXPECT_EQ(Text(kDelayLabel), "Audio &Delay\r\n100.0 sec");
    EXPECT_EQ(page_.GetAudioDelay(), 100000);
    EXPECT_EQ(page_.SetAudioDelay(-1), 0);
    EXPECT_EQ(page_.GetAudioDelay(), 100000);
    EXPECT_EQ(page_.SetAudioDelay(1230), 1);
    EXPECT_EQ(Text(kDelayLabel), "Audio &Delay\r\n1.2 sec");
}

TEST_F(OptionsDlgTest, MovingTheTrackbarRewritesTheLabel)
{
    Open({}, {});
    page_.ShowWindow(SW_SHOW);
    QWidget* slider = WidgetOf(::GetDlgItem(page_.m_hWnd, kDelayTrackbar));
    Focus(slider);
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(Text(kDelayLabel), "Audio &Delay\r\n5.1 sec");
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(page_.GetAudioDelay(), 100000);
    EXPECT_EQ(Text(kDelayLabel), "Audio &Delay\r\n100.0 sec");
}

TEST_F(OptionsDlgTest, FaceSizesSelectOnlyTheirOwnEntry)
{
    Open({}, {});
    EXPECT_EQ(page_.SetFaceSize(10), 1);
    EXPECT_EQ(page_.GetFaceSize(), 120);
    EXPECT_EQ(page_.SetFaceSize(150), 1);
    EXPECT_EQ(Selected(kFaceSizeList), "150%");
    EXPECT_EQ(page_.SetFaceSize(0), 0);
    EXPECT_EQ(page_.GetFaceSize(), 150);
    page_.SendDlgItemMessage(kFaceSizeList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_EQ(page_.GetFaceSize(), 120);
}

TEST_F(OptionsDlgTest, CompressorNamesFitTheCallersBuffer)
{
    Open({"Microsoft ADPCM"}, {});
    ASSERT_EQ(page_.SetAudioCompressor("Microsoft"), 1);
    char name[8];
    std::fill(std::begin(name), std::end(name), 'x');
    EXPECT_EQ(page_.GetAudioCompressor(name, sizeof name), 1);
    EXPECT_STREQ(name, "Microso");
    EXPECT_EQ(page_.SetAudioCompressor("Missing"), 0);
    page_.SendDlgItemMessage(kAudioCompressorList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_EQ(page_.GetAudioCompressor(name, sizeof name), 1);
    EXPECT_STREQ(name, "");
}

TEST_F(OptionsDlgTest, ApplyPostsToTheOwnerAndIsEnabledOnlyForAnAviWithAudio)
{
    Open({}, {});
    QTest::mouseClick(WidgetOf(::GetDlgItem(page_.m_hWnd, kApplyDelay)), Qt::LeftButton);
    EXPECT_EQ(owner_.applies, 0);  // posted, not sent
    ProcessPostedMessages();
    EXPECT_EQ(owner_.applies, 1);

    testmedia::TempFolder folder;
    const std::string withAudio = folder.path("WithAudio.avi");
    const std::string silent = folder.path("Silent.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(withAudio, "rawvideo", 32, 16, 10, 5, true));
    ASSERT_TRUE(testmedia::MakeTestVideo(silent, "rawvideo", 32, 16, 10, 5, false));
    HWND apply = ::GetDlgItem(page_.m_hWnd, kApplyDelay);
    owner_.SetDlgItemText(kOutputPath, silent.c_str());
    page_.UpdateApplyButton();
    EXPECT_FALSE(::IsWindowEnabled(apply));
    owner_.SetDlgItemText(kOutputPath, withAudio.c_str());
    page_.UpdateApplyButton();
    EXPECT_TRUE(::IsWindowEnabled(apply));
    owner_.SetDlgItemText(kOutputPath, "");
    page_.UpdateApplyButton();
    EXPECT_FALSE(::IsWindowEnabled(apply));
}

TEST_F(OptionsDlgTest, CloseEscapeEnterAndTheCloseBoxOnlyHideThePage)
{
    Open({}, {});
    const auto shownThen = [&](const std::function<void()>& action) {
        page_.ShowWindow(SW_SHOWNORMAL);
        action();
        return page_.IsWindowVisible();
    };
    QWidget* list = WidgetOf(::GetDlgItem(page_.m_hWnd, kFaceSizeList));
    EXPECT_FALSE(shownThen([&] {
        QTest::mouseClick(WidgetOf(::GetDlgItem(page_.m_hWnd, kCloseOptions)), Qt::LeftButton);
    }));
    EXPECT_FALSE(shownThen([&] {
        Focus(list);
        QTest::keyClick(list, Qt::Key_Escape);
    }));
    EXPECT_FALSE(shownThen([&] {
        Focus(list);
        QTest::keyClick(list, Qt::Key_Return);
    }));
    EXPECT_FALSE(shownThen([&] { WidgetOf(page_.m_hWnd)->close(); }));
    EXPECT_TRUE(::IsWindow(page_.m_hWnd));
    EXPECT_TRUE(::IsWindow(owner_.m_hWnd));
}
