#include "platform/dshow/SystemDeviceEnum.h"

#include "platform/av/EncoderEntry.h"
#include "platform/com/Com.h"
#include "platform/dshow/Uuids.h"
#include "platform/win/DesktopHooks.h"
#include "platform/win/Sync.h"
#include "tests/platform/dshow/OutputGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::vector<std::string> TableNames(av::EncoderCategory category)
{
    std::vector<std::string> names;
    for (const av::EncoderEntry& entry : av::AvailableEncoders(category))
        names.push_back(entry.friendlyName);
    return names;
}

std::vector<std::string> ListedNames(REFCLSID category)
{
    std::vector<std::string> names;
    ComPtr<IEnumMoniker> monikers = Compressors(category);
    if (!monikers)
        return names;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, moniker.Out(), nullptr) == S_OK)
        names.push_back(FriendlyName(moniker.get()));
    return names;
}

}  // namespace

TEST(DeviceEnum, CompressorCategoriesListTheTableRowsInOrder)
{
    const std::vector<std::string> video = TableNames(av::EncoderCategory::Video);
    const std::vector<std::string> audio = TableNames(av::EncoderCategory::Audio);
    ASSERT_FALSE(video.empty());
    ASSERT_FALSE(audio.empty());
    EXPECT_EQ(ListedNames(CLSID_VideoCompressorCategory), video);
    EXPECT_EQ(ListedNames(CLSID_AudioCompressorCategory), audio);
}

TEST(DeviceEnum, CompressorsInstalledInTheHooksAreListedAndBind)
{
    DesktopHooks hooks;
    hooks.compressors = [](CompressorCategory category) {
        return category == CompressorCategory::Audio
                   ? std::vector<std::string>{"CCITT A-Law", "GSM 6.10", "IMA ADPCM"}
                   : std::vector<std::string>{};
    };
    InstallDesktopHooks(hooks);
    EXPECT_EQ(ListedNames(CLSID_AudioCompressorCategory),
              (std::vector<std::string>{"CCITT A-Law", "GSM 6.10", "IMA ADPCM"}));
    EXPECT_TRUE(ListedNames(CLSID_VideoCompressorCategory).empty());
    ComPtr<IEnumMoniker> monikers = Compressors(CLSID_AudioCompressorCategory);
    ComPtr<IMoniker> moniker;
    ASSERT_EQ(monikers->Next(1, moniker.Out(), nullptr), S_OK);
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.OutVoid()), S_OK);
    ResetDesktopHooks();
    EXPECT_EQ(ListedNames(CLSID_AudioCompressorCategory), TableNames(av::EncoderCategory::Audio));
}

TEST(DeviceEnum, ACompressorTheHooksCallBrokenIsListedButDoesNotBind)
{
    DesktopHooks hooks;
    hooks.compressors = [](CompressorCategory) {
        return std::vector<std::string>{"Broken Codec", "Working Codec"};
    };
    hooks.compressorCreatable = [](CompressorCategory category, const std::string& name) {
        return category == CompressorCategory::Audio || name != "Broken Codec";
    };
    InstallDesktopHooks(hooks);
    EXPECT_EQ(ListedNames(CLSID_VideoCompressorCategory),
              (std::vector<std::string>{"Broken Codec", "Working Codec"}));
    EXPECT_FALSE(CompressorByName(CLSID_VideoCompressorCategory, "Broken Codec"));
    EXPECT_TRUE(CompressorByName(CLSID_VideoCompressorCategory, "Working Codec"));
    EXPECT_TRUE(CompressorByName(CLSID_AudioCompressorCategory, "Broken Codec"));
    ComPtr<IEnumMoniker> monikers = Compressors(CLSID_VideoCompressorCategory);
    ComPtr<IMoniker> moniker;
    ASSERT_EQ(monikers->Next(1, moniker.Out(), nullptr), S_OK);
    IBaseFilter* filter = reinterpret_cast<IBaseFilter*>(1);
    EXPECT_EQ(
        moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(filter, nullptr);
    ResetDesktopHooks();
}

TEST(DeviceEnum, CategoryWithoutDevicesGivesNoEnumerator)
{
    ComPtr<ICreateDevEnum> devices;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                               devices.OutVoid()),
              S_OK);
    IEnumMoniker* monikers = reinterpret_cast<IEnumMoniker*>(1);
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_AviDest, &monikers, 0), S_FALSE);
    EXPECT_EQ(monikers, nullptr);
}

TEST(DeviceEnum, NextWithACountSkipAndResetWalkTheSameList)
{
    const std::vector<std::string> names = TableNames(av::EncoderCategory::Video);
    ComPtr<IEnumMoniker> monikers = Compressors(CLSID_VideoCompressorCategory);
    ASSERT_TRUE(monikers);
    const ULONG count = static_cast<ULONG>(names.size());

    // Asking for more than there are: every device, then S_FALSE.
    std::vector<IMoniker*> batch(count + 2, nullptr);
    ULONG fetched = 0;
    EXPECT_EQ(monikers->Next(count + 2, batch.data(), &fetched), S_FALSE);
    ASSERT_EQ(fetched, count);
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_EQ(FriendlyName(batch[i]), names[i]);
        batch[i]->Release();
    }

    EXPECT_EQ(monikers->Reset(), S_OK);
    EXPECT_EQ(monikers->Skip(count - 1), S_OK);
    ComPtr<IMoniker> last;
    ASSERT_EQ(monikers->Next(1, last.Out(), &fetched), S_OK);
    EXPECT_EQ(FriendlyName(last.get()), names.back());

    // An index past the end ends the enumeration.
    EXPECT_EQ(monikers->Reset(), S_OK);
    EXPECT_EQ(monikers->Skip(count + 1), S_FALSE);
    ComPtr<IMoniker> none;
    EXPECT_EQ(monikers->Next(1, none.Out(), &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
}

TEST(DeviceEnum, NameThatDiffersOnlyInCaseFindsTheCompressor)
{
    for (const std::string& name : TableNames(av::EncoderCategory::Audio)) {
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        ComPtr<IBaseFilter> filter = CompressorByName(CLSID_AudioCompressorCategory, upper);
        ASSERT_TRUE(filter) << upper;
        CLSID clsid{};
        EXPECT_EQ(filter->GetClassID(&clsid), S_OK);
        EXPECT_TRUE(PinOf(filter.get(), PINDIR_INPUT, 0));
        EXPECT_TRUE(PinOf(filter.get(), PINDIR_OUTPUT, 0));
        EXPECT_FALSE(PinOf(filter.get(), PINDIR_OUTPUT, 1));
    }
    EXPECT_FALSE(CompressorByName(CLSID_VideoCompressorCategory, "(No Compression)"));
}

TEST(DeviceEnum, PropertyBagKnowsOnlyTheFriendlyName)
{
    ComPtr<IEnumMoniker> monikers = Compressors(CLSID_VideoCompressorCategory);
    ASSERT_TRUE(monikers);
    ComPtr<IMoniker> moniker;
    ASSERT_EQ(monikers->Next(1, moniker.Out(), nullptr), S_OK);
    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.OutVoid()), S_OK);
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(bag->Read(u"CLSID", &value, nullptr), E_FAIL);
    EXPECT_EQ(value.vt, VT_EMPTY);
    ComPtr<IPropertyBag> wrong;
    EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IPropertyBag, wrong.OutVoid()),
              E_NOINTERFACE);
}
