#include "platform/text/Utf16.h"

#include <algorithm>

namespace {

// A byte that is no part of valid UTF-8 stands in UTF-16 as a lone low surrogate of this
// base plus the byte (0x80 to 0xFF); no valid UTF-8 ever gives such a unit.
constexpr char32_t kByteEscape = 0xDC00;

bool IsEscapedByte(char32_t unit)
{
    return unit >= kByteEscape + 0x80 && unit <= kByteEscape + 0xFF;
}

// Decodes one UTF-8 sequence at text[i] (i < end) and advances i past it; a byte that
// starts no valid sequence is escaped alone and i moves past that byte only.
char32_t DecodeUtf8(const unsigned char* text, std::size_t end, std::size_t& i)
{
    const std::size_t start = i;
    const unsigned char lead = text[i++];
    if (lead < 0x80)
        return lead;
    const auto escaped = [&] {
        i = start + 1;
        return kByteEscape + lead;
    };
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
        return escaped();
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= end || (text[i] & 0xC0) != 0x80)
            return escaped();
        code = (code << 6) | (text[i++] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return escaped();
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

}  // namespace

std::u16string Utf8ToWide(std::string_view text)
{
    std::u16string out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();)
        AppendUtf16(out, DecodeUtf8(bytes, text.size(), i));
    return out;
}

std::size_t Utf8CharacterLength(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size(), end);
    return end - at;
}

std::string WideToUtf8(std::u16string_view text)
{
    const std::size_t length = text.size();
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsEscapedByte(code)) {
            out.push_back(static_cast<char>(code - kByteEscape));
            continue;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = '?';
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::u16string WideFrom(const char16_t* text)
{
    return text ? std::u16string(text) : std::u16string();
}

std::size_t CopyWideCut(char16_t* buffer, std::size_t size, std::u16string_view text)
{
    if (size == 0)
        return 0;
    const std::size_t length = std::min(text.size(), size - 1);
    std::copy_n(text.data(), length, buffer);
    buffer[length] = 0;
    return length;
}
