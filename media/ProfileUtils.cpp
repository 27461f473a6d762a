#include "media/ProfileUtils.h"

#include "media/PathUtils.h"
#include "platform/text/Utf8Copy.h"
#include "platform/win/Profile.h"

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
    path.resize(Utf8PrefixLength(path, kPathBufferSize - 1));
    return path;
}

// Whether a decimal number whose text lies in [begin, end) is large rather than tiny;
// only asked when it does not fit a double, so the sign of its order of magnitude
// decides.
bool IsHuge(const char* begin, const char* end)
{
    const char* p = begin;
    while (p < end && *p == '0')
        ++p;
    long order = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        ++order;
        ++p;
    }
    if (order == 0 && p < end && *p == '.') {
        ++p;
        while (p < end && *p == '0') {
            --order;
            ++p;
        }
    }
    while (p < end && *p != 'e' && *p != 'E')
        ++p;
    if (p < end) {
        long exponent = 0;
        std::from_chars(p + 1 + (p[1] == '+'), end, exponent);
        order += exponent;
    }
    return order > 0;
}

// atof's reading of a number, but with the full stop as decimal point in every locale:
// the programs run with the user's locale, while profile files always use the full stop.
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
    const char* end = p + std::strlen(p);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(p, end, value);
    if (error == std::errc::result_out_of_range)
        value = IsHuge(p, stop) ? HUGE_VAL : 0.0;
    else if (error != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

}  // namespace

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
