#include "editor/engine/NumberedName.h"

#include "media/PathUtils.h"
#include "platform/win/Files.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kFlags = "0-+ ";

struct Conversion {
    std::size_t begin = std::string_view::npos;  // the "%"
    std::size_t end = 0;                         // one past the "d" or "i"
    bool leftAligned = false;
    bool zeroPadded = false;
    bool sign = false;
    bool blank = false;
    std::size_t width = 0;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The conversion that starts at the "%" at position at, or none (begin npos).
Conversion ConversionAt(std::string_view pattern, std::size_t at)
{
    Conversion conversion;
    std::size_t i = at + 1;
    for (; i < pattern.size() && kFlags.find(pattern[i]) != std::string_view::npos; ++i) {
        conversion.leftAligned |= pattern[i] == '-';
        conversion.zeroPadded |= pattern[i] == '0';
        conversion.sign |= pattern[i] == '+';
        conversion.blank |= pattern[i] == ' ';
    }
    for (; i < pattern.size() && IsDigit(pattern[i]); ++i) {
        // A width beyond any path buffer makes the name too long either way.
        if (conversion.width < 100000)
            conversion.width = conversion.width * 10 + static_cast<std::size_t>(pattern[i] - '0');
    }
    if (i < pattern.size() && (pattern[i] == 'd' || pattern[i] == 'i')) {
        conversion.begin = at;
        conversion.end = i + 1;
    }
    return conversion;
}

Conversion LastConversion(std::string_view pattern)
{
    Conversion last;
    for (std::size_t at = pattern.find('%'); at != std::string_view::npos;
         at = pattern.find('%', at + 1)) {
        const Conversion conversion = ConversionAt(pattern, at);
        if (conversion.begin != std::string_view::npos)
            last = conversion;
    }
    return last;
}

// The number as printf would write it for the conversion.
std::string FormatNumber(const Conversion& conversion, long long number)
{
    const bool negative = number < 0;
    // Through the unsigned type, so that the smallest number has a magnitude too.
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(number) : number;
    std::string digits = std::to_string(magnitude);
    std::string sign = negative ? "-" : conversion.sign ? "+" : conversion.blank ? " " : "";
    const std::size_t used = sign.size() + digits.size();
    if (used >= conversion.width)
        return sign + digits;
    const std::string fill(conversion.width - used, ' ');
    if (conversion.leftAligned)
        return sign + digits + fill;
    if (conversion.zeroPadded)
        return sign + std::string(conversion.width - used, '0') + digits;
    return fill + sign + digits;
}

}  // namespace

bool FormatNumberedName(const char* pattern, long long number, char* buffer, std::size_t size)
{
    if (buffer && size)
        buffer[0] = 0;
    if (!pattern || !buffer || size == 0)
        return false;
    const std::string_view text(pattern);
    const Conversion conversion = LastConversion(text);
    std::string name;
    if (conversion.begin == std::string_view::npos) {
        name = text;
    } else {
        name = std::string(text.substr(0, conversion.begin)) + FormatNumber(conversion, number) +
               std::string(text.substr(conversion.end));
    }
    if (name.size() >= size)
        return false;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return true;
}

bool NumberedNamesInclude(const char* pattern, long long first, long long stride, long long count,
                          const char* path)
{
    if (!pattern || !path)
        return false;
    char name[kPathBufferSize];
    for (long long index = 0; index < count; ++index) {
        if (FormatNumberedName(pattern, first + index * stride, name, sizeof name) &&
            IsSameFile(name, path)) {
            return true;
        }
    }
    return false;
}
