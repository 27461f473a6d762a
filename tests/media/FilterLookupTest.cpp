#include "media/FilterLookup.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/GraphClasses.h"
#include "platform/dshow/SampleGrabber.h"
#include "platform/dshow/Uuids.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

// One installed device of the fake enumerator: its friendly name (null: the property
// bag cannot be read) and whether it can be made.
struct FakeDevice {
    const char16_t* name;
    bool bindable;
    int binds = 0;
};

std::vector<FakeDevice> gDevices;

class FakePropertyBag : public IPropertyBag, public CUnknown {
public:
    DECLARE_IUNKNOWN
    explicit FakePropertyBag(const char16_t* name) : name_(name) {}
    HRESULT Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override
    {
        if (std::u16string(property) != u"FriendlyName")
            return E_FAIL;
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(name_);
        return S_OK;
    }
    HRESULT Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

protected:
    void* GetInterface(REFIID iid) override
    {
        return iid == IID_IPropertyBag || iid == IID_IUnknown ? static_cast<IPropertyBag*>(this)
                                                              : nullptr;
    }

private:
    const char16_t* name_;
};

class FakeMoniker : public IMoniker, public CUnknown {
public:
    DECLARE_IUNKNOWN
    explicit FakeMoniker(FakeDevice& device) : device_(device) {}
    HRESULT BindToObject(IBindCtx*, IMoniker*, REFIID iid, void** object) override
    {
        ++device_.binds;
        if (!device_.bindable)
            return E_FAIL;
        return CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, iid, object);
    }
    HRESULT BindToStorage(IBindCtx*, IMoniker*, REFIID iid, void** object) override
    {
        if (!device_.name)
            return E_FAIL;
        auto* bag = new FakePropertyBag(device_.name);
        bag->NonDelegatingAddRef();
        const HRESULT hr = bag->NonDelegatingQueryInterface(iid, object);
        bag->NonDelegatingRelease();
        return hr;
    }

protected:
    void* GetInterface(REFIID iid) override
    {
        return iid == IID_IMoniker || iid == IID_IUnknown ? static_cast<IMoniker*>(this) : nullptr;
    }

private:
    FakeDevice& device_;
};

class FakeMonikers : public IEnumMoniker, public CUnknown {
public:
    DECLARE_IUNKNOWN
    HRESULT Next(ULONG count, IMoniker** monikers, ULONG* fetched) override
    {
        ULONG given = 0;
        for (; given < count && next_ < gDevices.size(); ++given, ++next_) {
            auto* moniker = new FakeMoniker(gDevices[next_]);
            moniker->NonDelegatingAddRef();
            monikers[given] = moniker;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override
    {
        next_ += count;
        return S_OK;
    }
    HRESULT Reset() override
    {
        next_ = 0;
        return S_OK;
    }

protected:
    void* GetInterface(REFIID iid) override
    {
        return iid == IID_IEnumMoniker || iid == IID_IUnknown ? static_cast<IEnumMoniker*>(this)
                                                              : nullptr;
    }

private:
    std::size_t next_ = 0;
};

class FakeDeviceEnum : public ICreateDevEnum, public CUnknown {
public:
    DECLARE_IUNKNOWN
    HRESULT CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers, DWORD) override
    {
        *monikers = nullptr;
        if (category != CLSID_VideoCompressorCategory || gDevices.empty())
            return S_FALSE;
        auto* list = new FakeMonikers();
        list->NonDelegatingAddRef();
        *monikers = list;
        return S_OK;
    }

protected:
    void* GetInterface(REFIID iid) override
    {
        return iid == IID_ICreateDevEnum || iid == IID_IUnknown ? static_cast<ICreateDevEnum*>(this)
                                                                : nullptr;
    }
};

// Puts the fake enumerator in the real one's place for the test and back afterwards.
class FilterLookupDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        gDevices = {{u"Cinema Codec", true},
                    {nullptr, true},
                    {u"Broken Codec", false},
                    {u"Broken Codec", true},
                    {u"Caf\u00e9 \U0001F3A5 Codec", true}};
        CoRegisterClass(CLSID_SystemDeviceEnum, &CreateComObject<FakeDeviceEnum>);
    }
    void TearDown() override
    {
        CoUnregisterClass(CLSID_SystemDeviceEnum);
        for (const ClassTableEntry* entry = kGraphClasses; entry->factory; ++entry) {
            if (*entry->clsid == CLSID_SystemDeviceEnum)
                CoRegisterClass(CLSID_SystemDeviceEnum, entry->factory);
        }
        gDevices.clear();
    }
};

TEST_F(FilterLookupDevices, NameDifferingOnlyInCaseFindsTheDevice)
{
    ComPtr<IBaseFilter> filter(FindFilterByName(CLSID_VideoCompressorCategory, "cINEMA codec"));
    EXPECT_TRUE(filter);
    EXPECT_EQ(gDevices[0].binds, 1);
    ComPtr<IBaseFilter> accented(
        FindFilterByName(CLSID_VideoCompressorCategory, "CAF\xc3\xa9 \xf0\x9f\x8e\xa5 codec"));
    EXPECT_TRUE(accented);
}

TEST_F(FilterLookupDevices, UnknownNamesAndOtherCategoriesGiveNull)
{
    EXPECT_EQ(FindFilterByName(CLSID_VideoCompressorCategory, "(No Compression)"), nullptr);
    EXPECT_EQ(FindFilterByName(CLSID_VideoCompressorCategory, ""), nullptr);
    EXPECT_EQ(FindFilterByName(CLSID_VideoCompressorCategory, nullptr), nullptr);
    EXPECT_EQ(FindFilterByName(CLSID_AudioCompressorCategory, "Cinema Codec"), nullptr);
}

TEST_F(FilterLookupDevices, DeviceThatCannotBeMadeIsPassedForTheNextOfTheSameName)
{
    ComPtr<IBaseFilter> filter(FindFilterByName(CLSID_VideoCompressorCategory, "Broken Codec"));
    EXPECT_TRUE(filter);
    EXPECT_EQ(gDevices[2].binds, 1);
    EXPECT_EQ(gDevices[3].binds, 1);
}

TEST_F(FilterLookupDevices, IndexGivesTheDeviceAndItsTerminatedName)
{
    char name[260];
    std::memset(name, 'x', sizeof name);
    ComPtr<IBaseFilter> first(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 260, 0));
    EXPECT_TRUE(first);
    EXPECT_STREQ(name, "Cinema Codec");

    std::memset(name, 'x', sizeof name);
    ComPtr<IBaseFilter> nameless(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 260, 1));
    EXPECT_TRUE(nameless);
    EXPECT_STREQ(name, "");

    // Named even though it cannot be made.
    EXPECT_EQ(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 260, 2), nullptr);
    EXPECT_STREQ(name, "Broken Codec");

    // Cut to the buffer, at a character boundary, and terminated.
    std::memset(name, 'x', sizeof name);
    ComPtr<IBaseFilter> cut(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 7, 4));
    EXPECT_TRUE(cut);
    EXPECT_STREQ(name, "Caf\xc3\xa9 ");
    EXPECT_EQ(name[7], 'x');
}

TEST_F(FilterLookupDevices, IndexPastTheEndGivesNullAndLeavesTheBufferAlone)
{
    char name[16];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 16, 5), nullptr);
    EXPECT_EQ(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 16, -1), nullptr);
    EXPECT_EQ(FindFilterByIndex(CLSID_AudioCompressorCategory, name, 16, 0), nullptr);
    EXPECT_EQ(std::string(name, 16), std::string(16, 'x'));
    ComPtr<IBaseFilter> unnamed(FindFilterByIndex(CLSID_VideoCompressorCategory, nullptr, 0, 0));
    EXPECT_TRUE(unnamed);
}

TEST_F(FilterLookupDevices, NameFillingTheWholeBufferIsCutAndTerminated)
{
    const std::u16string longName(300, u'N');
    gDevices = {{longName.c_str(), true}};
    char name[300];
    std::memset(name, 'x', sizeof name);
    ComPtr<IBaseFilter> filter(FindFilterByIndex(CLSID_VideoCompressorCategory, name, 300, 0));
    EXPECT_TRUE(filter);
    EXPECT_EQ(std::strlen(name), 259u);
    // The stored friendly name is what a lookup by name compares with.
    ComPtr<IBaseFilter> byName(FindFilterByName(CLSID_VideoCompressorCategory, name));
    EXPECT_TRUE(byName);
}

TEST(FilterLookupInstalled, EveryListedCompressorIsFoundByItsNameInAnyCase)
{
    char name[kFriendlyNameLength];
    int listed = 0;
    for (const CLSID* category : {&CLSID_VideoCompressorCategory, &CLSID_AudioCompressorCategory}) {
        for (int index = 0;; ++index) {
            std::memset(name, 'x', sizeof name);
            ComPtr<IBaseFilter> byIndex(FindFilterByIndex(*category, name, sizeof name, index));
            if (!byIndex)
                break;
            ++listed;
            std::string changed = name;
            for (char& c : changed)
                c = std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c);
            SCOPED_TRACE(changed);
            ComPtr<IBaseFilter> byName(FindFilterByName(*category, changed.c_str()));
            EXPECT_TRUE(byName);
        }
        EXPECT_EQ(FindFilterByName(*category, "(No Compression)"), nullptr);
    }
    EXPECT_GT(listed, 1);
}

TEST(CopyWideAsNarrow, ShortBufferKeepsOnlyWholeCharactersAndTheTerminator)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"AB", 1));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"AB", 8));
    EXPECT_STREQ(buffer, "AB");
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"AB", 2));
    EXPECT_STREQ(buffer, "A");
}

TEST(CopyWideAsNarrow, WritesUtf8AndNeverSplitsACharacter)
{
    char buffer[16];
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"\u00e9\u4e2d\U0001F3A5", 16));
    EXPECT_STREQ(buffer, "\xc3\xa9\xe4\xb8\xad\xf0\x9f\x8e\xa5");
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"a\u00e9", 3));
    EXPECT_STREQ(buffer, "a");
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"\U0001F3A5", 4));
    EXPECT_STREQ(buffer, "");
    // A character whose UTF-16 form holds a zero byte is not cut short.
    ASSERT_TRUE(CopyWideAsNarrow(buffer, u"\u0100Z", 16));
    EXPECT_STREQ(buffer, "\xc4\x80Z");
}

TEST(CopyWideAsNarrow, RefusesMissingBuffersAndText)
{
    char buffer[4] = "abc";
    EXPECT_FALSE(CopyWideAsNarrow(nullptr, u"A", 4));
    EXPECT_FALSE(CopyWideAsNarrow(buffer, nullptr, 4));
    EXPECT_FALSE(CopyWideAsNarrow(buffer, u"A", 0));
    EXPECT_STREQ(buffer, "abc");
}

TEST(GetPin, CountsPinsOfOneDirectionOnly)
{
    ComPtr<IBaseFilter> grabber;
    ASSERT_EQ(CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               grabber.OutVoid()),
              S_OK);
    IPin* input = GetPin(grabber.get(), PINDIR_INPUT, 0);
    IPin* output = GetPin(grabber.get(), PINDIR_OUTPUT, 0);
    ASSERT_NE(input, nullptr);
    ASSERT_NE(output, nullptr);
    EXPECT_NE(input, output);
    PIN_DIRECTION direction;
    ASSERT_EQ(output->QueryDirection(&direction), S_OK);
    EXPECT_EQ(direction, PINDIR_OUTPUT);
    EXPECT_EQ(GetPin(grabber.get(), PINDIR_OUTPUT, 1), nullptr);
    EXPECT_EQ(GetPin(grabber.get(), PINDIR_INPUT, 1), nullptr);
    EXPECT_EQ(GetPin(nullptr, PINDIR_INPUT, 0), nullptr);
}

TEST(FindSinkFilterByMajorType, UnconnectedRendererIsNotASink)
{
    EXPECT_EQ(FindSinkFilterByMajorType(nullptr, MEDIATYPE_Video), nullptr);
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                               graph.OutVoid()),
              S_OK);
    ComPtr<IBaseFilter> renderer;
    ASSERT_EQ(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               renderer.OutVoid()),
              S_OK);
    ASSERT_TRUE(SUCCEEDED(graph->AddFilter(renderer.get(), u"Null Renderer")));
    EXPECT_EQ(FindSinkFilterByMajorType(graph.get(), MEDIATYPE_Video), nullptr);
    EXPECT_EQ(FindSinkFilterByMajorType(graph.get(), MEDIATYPE_Audio), nullptr);
}

}  // namespace
