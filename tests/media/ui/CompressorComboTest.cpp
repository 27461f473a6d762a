#include "media/ui/CompressorCombo.h"

#include "platform/dshow/Uuids.h"
#include "platform/ui/DialogWindows.h"
#include "platform/ui/WindowServices.h"
#include "support/DesktopRecorder.h"
#include "support/TestDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace testdialogs;

namespace {

// The probe dialog's drop list, filled from compressors the desktop hooks list.
class CompressorComboTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog_ = CreateDialogWindow(&kModule, kProbeDialog, nullptr, nullptr, false);
        ASSERT_NE(dialog_, nullptr);
        list_ = GetDlgItem(dialog_, kDropList);
    }
    void TearDown() override { DestroyWindow(dialog_); }

    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        const int count = static_cast<int>(SendMessageA(list_, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[kComboItemTextMax + 1] = {};
            SendMessageA(list_, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }

    testmedia::DesktopRecorder desktop_;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
};

}  // namespace

TEST_F(CompressorComboTest, NoCompressionLeadsTheCategorysNamesInEnumerationOrder)
{
    desktop_.InstallCompressors({"PCM", "GSM 6.10", "CCITT A-Law"},
                                {"MJPEG Compressor", "Cinepak Codec by Radius"});
    FillCompressorCombo(list_, CLSID_AudioCompressorCategory);
    EXPECT_EQ(Items(),
              (std::vector<std::string>{kNoCompression, "PCM", "GSM 6.10", "CCITT A-Law"}));
    FillCompressorCombo(list_, CLSID_VideoCompressorCategory);
    EXPECT_EQ(Items(), (std::vector<std::string>{kNoCompression, "MJPEG Compressor",
                                                 "Cinepak Codec by Radius"}));
    EXPECT_EQ(SendMessageA(list_, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(CompressorComboTest, ACompressorThatCannotBeCreatedIsLeftOutAndTheRestFollows)
{
    desktop_.InstallCompressors({"Broken One", "GSM 6.10", "Broken Two", "PCM"}, {},
                                {"Broken One", "Broken Two"});
    FillCompressorCombo(list_, CLSID_AudioCompressorCategory);
    EXPECT_EQ(Items(), (std::vector<std::string>{kNoCompression, "GSM 6.10", "PCM"}));
}

TEST_F(CompressorComboTest, ACategoryWithoutDevicesLeavesOnlyNoCompression)
{
    desktop_.InstallCompressors({}, {});
    FillCompressorCombo(list_, CLSID_VideoCompressorCategory);
    EXPECT_EQ(Items(), std::vector<std::string>{kNoCompression});
}

TEST_F(CompressorComboTest, TheInstalledCompressorsFillTheListWithoutHooks)
{
    FillCompressorCombo(list_, CLSID_VideoCompressorCategory);
    const std::vector<std::string> items = Items();
    ASSERT_GT(items.size(), 1u);
    EXPECT_EQ(items[0], kNoCompression);
    EXPECT_NE(std::find(items.begin(), items.end(), "MJPEG Compressor"), items.end());
}

TEST_F(CompressorComboTest, NamesBeginningWithAnExcludedTextAreTakenOutWhateverTheirCase)
{
    desktop_.InstallCompressors({}, {"Intel IYUV codec", "MJPEG Compressor", "intel iyuv 2",
                                     "Microsoft Video 1", "Intel 4:2:0"});
    FillCompressorCombo(list_, CLSID_VideoCompressorCategory);
    RemoveCompressorsBeginningWith(list_, "Intel IYUV");
    RemoveCompressorsBeginningWith(list_, "Cinepak Codec");
    EXPECT_EQ(Items(), (std::vector<std::string>{kNoCompression, "MJPEG Compressor",
                                                 "Microsoft Video 1", "Intel 4:2:0"}));
}
