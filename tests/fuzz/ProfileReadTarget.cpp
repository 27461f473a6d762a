#include "FuzzTargets.h"

#include "media/ProfileUtils.h"
#include "platform/win/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kTarget = "profile_read";
// Each read goes through the whole file again, so only the first names are read back.
constexpr std::size_t kNamesRead = 6;
constexpr std::uint32_t kBufferSizes[] = {1, 2, 3, 8, 260};

// Lists the names in a section (or the sections, for a null section) with buffers of
// several sizes: every cut list ends in two zeros and is a prefix of the whole list.
std::vector<std::string> ListNames(const char* section, const std::string& path,
                                   std::size_t fileSize)
{
    std::vector<char> whole(fileSize * 2 + 4, 'z');
    const std::uint32_t count = GetPrivateProfileStringA(
        section, nullptr, "", whole.data(), static_cast<std::uint32_t>(whole.size()), path.c_str());
    Require(count + 1 < whole.size() && whole[count] == '\0' &&
                (count == 0 || whole[count - 1] == '\0'),
            kTarget, "a whole name list ends in two zeros");
    for (const std::uint32_t size : kBufferSizes) {
        std::vector<char> cut(size + 1, 'z');
        const std::uint32_t n =
            GetPrivateProfileStringA(section, nullptr, "", cut.data(), size, path.c_str());
        Require(cut[size] == 'z', kTarget, "a list stays inside its buffer");
        Require(n <= (size < 2 ? 0 : size - 2) || n == count, kTarget,
                "a cut list counts at most its buffer's size less two");
        Require(n < size && cut[n] == '\0', kTarget, "a list ends with a zero inside its buffer");
        // A cut never splits a character, so zeros may stand in for the last bytes.
        std::uint32_t same = 0;
        while (same < n && cut[same] == whole[same])
            ++same;
        Require(std::all_of(cut.begin() + same, cut.begin() + n, [](char c) { return c == '\0'; }),
                kTarget, "a cut list is the start of the whole list");
    }
    std::vector<std::string> names;
    for (std::size_t at = 0; at < count && names.size() < kNamesRead;) {
        names.emplace_back(whole.data() + at);
        at += names.back().size() + 1;
    }
    return names;
}

// Reads one value with buffers of several sizes: each read ends with a zero inside its
// buffer and is the start of the longest read; as a number it reads as atof reads it.
void ReadValue(const std::string& section, const std::string& key, const std::string& path)
{
    char longest[260];
    const std::uint32_t count = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", longest,
                                                         sizeof longest, path.c_str());
    for (const std::uint32_t size : kBufferSizes) {
        std::vector<char> cut(size + 1, 'z');
        const std::uint32_t n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "",
                                                         cut.data(), size, path.c_str());
        Require(n < size && cut[n] == '\0' && cut[size] == 'z', kTarget,
                "a value ends with a zero inside its buffer");
        Require(n <= count && std::memcmp(cut.data(), longest, n) == 0, kTarget,
                "a cut value is the start of the whole value");
    }
    const double number = ReadProfileDouble(section.c_str(), key.c_str(), 7.5, path.c_str());
    const double expected = count == 0 ? 7.5 : std::atof(longest);
    Require(number == expected || (std::isnan(number) && std::isnan(expected)), kTarget,
            "a value reads as the number atof reads");
}

}  // namespace

void FuzzProfileRead(std::span<const std::uint8_t> input)
{
    const std::string path = WriteScratchFile("read.ini", input);
    for (const std::string& section : ListNames(nullptr, path, input.size())) {
        for (const std::string& key : ListNames(section.c_str(), path, input.size()))
            ReadValue(section, key, path);
    }
}
