#include "platform/com/WideString.h"

#include "platform/com/Com.h"
#include "platform/text/Utf16.h"

#include <cstring>

namespace {

std::size_t WideLength(LPCWSTR text)
{
    std::size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

// Copies a converted text into the caller's buffer by the conversion functions' rules.
template <class Unit>
int Deliver(const std::basic_string<Unit>& converted, Unit* out, int outSize)
{
    const int needed = static_cast<int>(converted.size());
    if (outSize == 0)
        return needed;
    if (!out || outSize < needed)
        return 0;
    std::memcpy(out, converted.data(), converted.size() * sizeof(Unit));
    return needed;
}

}  // namespace

BSTR SysAllocStringLen(LPCOLESTR text, UINT length)
{
    // The length in bytes sits in front of the characters, as the BSTR layout has it.
    auto* block = static_cast<std::uint32_t*>(
        CoTaskMemAlloc(sizeof(std::uint32_t) + (length + 1) * sizeof(OLECHAR)));
    if (!block)
        return nullptr;
    block[0] = length * sizeof(OLECHAR);
    BSTR string = reinterpret_cast<BSTR>(block + 1);
    if (text)
        std::memcpy(string, text, length * sizeof(OLECHAR));
    else
        std::memset(string, 0, length * sizeof(OLECHAR));
    string[length] = 0;
    return string;
}

BSTR SysAllocString(LPCOLESTR text)
{
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(WideLength(text)));
}

void SysFreeString(BSTR text)
{
    if (text)
        CoTaskMemFree(reinterpret_cast<std::uint32_t*>(text) - 1);
}

UINT SysStringLen(BSTR text)
{
    if (!text)
        return 0;
    return reinterpret_cast<std::uint32_t*>(text)[-1] / sizeof(OLECHAR);
}

int MultiByteToWideChar(UINT, DWORD, LPCSTR text, int byteCount, LPWSTR out, int outChars)
{
    if (!text || outChars < 0 || byteCount < -1)
        return 0;
    const std::size_t length = byteCount == -1 ? std::strlen(text) + 1 : byteCount;
    return Deliver(Utf8ToWide(std::string_view(text, length)), out, outChars);
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR text, int charCount, LPSTR out, int outBytes, LPCSTR,
                        BOOL* usedDefault)
{
    if (usedDefault)
        *usedDefault = FALSE;
    if (!text || outBytes < 0 || charCount < -1)
        return 0;
    const std::size_t length = charCount == -1 ? WideLength(text) + 1 : charCount;
    return Deliver(WideToUtf8(std::u16string_view(text, length)), out, outBytes);
}
