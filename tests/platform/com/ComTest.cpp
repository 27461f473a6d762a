#include "platform/com/Com.h"
#include "platform/com/Variant.h"
#include "platform/com/WideString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr IID kIidProbe{0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
constexpr CLSID kProbeClass{0x11111111, 0x2222, 0x4444, {4, 4, 4, 4, 4, 4, 4, 4}};
constexpr CLSID kUnknownClass{0x99999999, 0x2222, 0x4444, {4, 4, 4, 4, 4, 4, 4, 4}};

struct IProbe : IUnknown {
    virtual int Value() = 0;
};

int liveProbes = 0;

class Probe : public CUnknown, public IProbe {
public:
    Probe() { ++liveProbes; }
    ~Probe() override { --liveProbes; }
    DECLARE_IUNKNOWN
    int Value() override { return 42; }

protected:
    void* GetInterface(REFIID iid) override
    {
        if (iid == IID_IUnknown || iid == kIidProbe)
            return static_cast<IProbe*>(this);
        return nullptr;
    }
};

}  // namespace

TEST(ComObjects, LastReleaseDeletesAndQueryInterfaceCountsOnTheSameObject)
{
    IProbe* probe = nullptr;
    ASSERT_EQ((CreateComObject<Probe>(kIidProbe, reinterpret_cast<void**>(&probe))), S_OK);
    EXPECT_EQ(liveProbes, 1);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(probe->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(probe));
    EXPECT_EQ(probe->Release(), 1u);
    EXPECT_EQ(liveProbes, 1);
    EXPECT_EQ(unknown->Release(), 0u);
    EXPECT_EQ(liveProbes, 0);
}

TEST(ComObjects, UnknownInterfaceIsRefusedAndTheOutPointerCleared)
{
    IProbe* probe = nullptr;
    CreateComObject<Probe>(kIidProbe, reinterpret_cast<void**>(&probe));
    void* other = &probe;
    EXPECT_EQ(probe->QueryInterface(GUID{1, 2, 3, {}}, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(probe->QueryInterface(kIidProbe, nullptr), E_POINTER);
    probe->Release();
    EXPECT_EQ(liveProbes, 0);
}

TEST(ComRuntime, UnknownClassIsNotRegistered)
{
    void* object = &liveProbes;
    EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

TEST(ComRuntime, RegisteredClassIsCreatedUntilUnregistered)
{
    CoRegisterClass(kProbeClass, &CreateComObject<Probe>);
    IProbe* probe = nullptr;
    ASSERT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_INPROC_SERVER, kIidProbe,
                               reinterpret_cast<void**>(&probe)),
              S_OK);
    EXPECT_EQ(probe->Value(), 42);
    probe->Release();
    CoUnregisterClass(kProbeClass);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kProbeClass, nullptr, CLSCTX_ALL, kIidProbe, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(liveProbes, 0);
}

TEST(ComRuntime, InitialisationIsCountedPerThread)
{
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
}

TEST(ComStrings, BstrKeepsItsLengthAndVariantFreesIt)
{
    BSTR text = SysAllocString(u"FriendlyName");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 12u);
    EXPECT_EQ(std::u16string(text), u"FriendlyName");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = text;
    EXPECT_EQ(VariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(ComStrings, AnsiCodePageIsUtf8BothWays)
{
    const char* path = "/tmp/caf\xC3\xA9 \xF0\x9F\x8E\xB5.avi";  // an accent and a note sign
    WCHAR wide[64];
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 64);
    ASSERT_EQ(units, 17);  // 13 plain, one for the accent, two for the note, the terminator
    EXPECT_EQ(wide[8], u'\u00E9');
    EXPECT_EQ(wide[10], 0xD83C);
    char back[64];
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, back, 64, nullptr, nullptr),
              static_cast<int>(std::strlen(path)) + 1);
    EXPECT_STREQ(back, path);
}

TEST(ComStrings, SizeQueryAndTooSmallBuffer)
{
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    WCHAR small[2];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, small, 2), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 2, small, 2), 2);
    // A byte that is no UTF-8 (a Latin-1 name) stands for itself and comes back whole.
    WCHAR broken[4];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC3", 1, broken, 4), 1);
    EXPECT_EQ(broken[0], 0xDCC3);
    char back[4];
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, broken, 1, back, 4, nullptr, nullptr), 1);
    EXPECT_EQ(back[0], '\xC3');
}
