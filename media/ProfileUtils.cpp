#include "media/ProfileUtils.h"

#include "media/PathUtils.h"
#include "platform/win/Profile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kValueBufferSize = 260;

std::string ProfilePath(std::string_view name)
{
    std::string path = ModuleFilePath();
    const char* separator = FindLastPathSeparator(path.c_str());
    const std::size_t nameStart = separator ? separator - path.c_str() + 1 : 0;
    if (!name.empty() && name[0] == '.') {
        // Only a full stop in the program's own name starts its extension; one in a
        // folder name must stay.
        const std::size_t dot = path.rfind('.');
        if (dot != std::string::npos && dot >= nameStart)
            path.resize(dot);
        path += name;
    } else if (name.find_first_of("\\/") == std::string_view::npos) {
        path = path.substr(0, nameStart) + std::string(name);
    } else {
        path = name;
    }
    // Cut to a path buffer, the name would be another file's: it names none.
    if (path.size() >= kPathBufferSize)
        path.clear();
    return path;
}

// Past this many powers, in either direction, no mantissa that a value buffer can hold
// brings a number back into the range of a double; larger exponents are read as this.
constexpr long kExponentLimit = 100'000;

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The exponent whose text (an optional sign, then digits) starts at p, saturated at
// kExponentLimit.
long SaturatedExponent(const char* p, const char* end)
{
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    long value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        value = std::min(value * 10 + (*p - '0'), kExponentLimit);
    return negative ? -value : value;
}

// Whether a number whose text lies in [begin, end) is large rather than tiny; only asked
// when it does not fit a double, so the sign of its order of magnitude decides. Decimal
// texts count powers of ten; hexadecimal ones (the digits after "0x") powers of two, four
// a digit, with a 'p' before the exponent.
bool IsHuge(const char* begin, const char* end, bool hexadecimal)
{
    const auto isDigit = [&](char c) { return hexadecimal ? IsHexDigit(c) : c >= '0' && c <= '9'; };
    const long digitOrder = hexadecimal ? 4 : 1;
    const char exponentMark = hexadecimal ? 'p' : 'e';
    const char* p = begin;
    while (p < end && *p == '0')
        ++p;
    long order = 0;
    while (p < end && isDigit(*p)) {
        order += digitOrder;
        ++p;
    }
    if (order == 0 && p < end && *p == '.') {
        ++p;
        while (p < end && *p == '0') {
            order -= digitOrder;
            ++p;
        }
    }
    // Setting the 0x20 bit lowers an ASCII letter and leaves digits and the point alone.
    while (p < end && (*p | 0x20) != exponentMark)
        ++p;
    if (p < end)
        order += SaturatedExponent(p + 1, end);
    return order > 0;
}

}  // namespace

double ParseLeadingNumber(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    if (*p == '+' || *p == '-')
        return 0.0;
    // "0x" starts a hexadecimal number only when a digit follows, or a point and a digit;
    // otherwise the number is the 0 alone.
    const bool hexadecimal = p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
                             (IsHexDigit(p[2]) || (p[2] == '.' && IsHexDigit(p[3])));
    const char* digits = hexadecimal ? p + 2 : p;
    const char* end = digits + std::strlen(digits);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(
        digits, end, value, hexadecimal ? std::chars_format::hex : std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        value = IsHuge(digits, stop, hexadecimal) ? HUGE_VAL : 0.0;
    else if (error != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

std::uint32_t ReadIniString(const char* section, const char* key, const char* defaultValue,
                            char* output, std::uint32_t size, const char* profileName)
{
    const std::string path = ProfilePath(profileName ? profileName : "");
    return GetPrivateProfileStringA(section, key, defaultValue, output, size, path.c_str());
}

double ReadProfileDouble(const char* section, const char* key, double defaultValue,
                         const char* profileName)
{
    char value[kValueBufferSize] = {};
    if (ReadIniString(section, key, "", value, sizeof value, profileName) == 0)
        return defaultValue;
    return ParseLeadingNumber(value);
}
