#include "platform/com/WideString.h"

#include "platform/com/Com.h"

#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i] (i < end) and advances i.
char32_t DecodeUtf8(const unsigned char* text, std::size_t end, std::size_t& i)
{
    const unsigned char lead = text[i++];
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= end || (text[i] & 0xC0) != 0x80)
            return kReplacement;
        code = (code << 6) | (text[i++] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return kReplacement;
    }
    return code;
}

void AppendUtf16(std::u16string& out, char32_t code)
{
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::u16string DecodeBytes(const char* text, std::size_t length)
{
    std::u16string out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < length;)
        AppendUtf16(out, DecodeUtf8(bytes, length, i));
    return out;
}

std::string EncodeUnits(const char16_t* text, std::size_t length)
{
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = '?';
        }
        AppendUtf8(out, code);
    }
    return out;
}

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
    return Deliver(DecodeBytes(text, length), out, outChars);
}

int WideCharToMultiByte(UINT, DWORD, LPCWSTR text, int charCount, LPSTR out, int outBytes, LPCSTR,
                        BOOL* usedDefault)
{
    if (usedDefault)
        *usedDefault = FALSE;
    if (!text || outBytes < 0 || charCount < -1)
        return 0;
    const std::size_t length = charCount == -1 ? WideLength(text) + 1 : charCount;
    return Deliver(EncodeUnits(text, length), out, outBytes);
}

std::u16string Utf8ToWide(const std::string& text)
{
    return DecodeBytes(text.data(), text.size());
}

std::string WideToUtf8(const std::u16string& text)
{
    return EncodeUnits(text.data(), text.size());
}

std::u16string WideFrom(LPCWSTR text)
{
    return text ? std::u16string(text) : std::u16string();
}
