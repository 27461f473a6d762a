#include "FuzzTargets.h"

#include "platform/win/Profile.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kTarget = "profile_write";
constexpr std::size_t kNamesKept = 6;

// The input: one byte for what to do (its low two bits: 2 removes the key, 3 the section,
// anything else writes the value), then section, key and value, each ended by a 0xFF
// byte, then the file as it is before the write. Missing parts are empty; each part ends
// at its first zero, as the C string it becomes.
struct WriteRequest {
    std::string section;
    std::optional<std::string> key;    // none: remove the section
    std::optional<std::string> value;  // none: remove the key
    std::span<const std::uint8_t> file;
};

WriteRequest SplitInput(std::span<const std::uint8_t> input)
{
    const int operation = input.empty() ? 0 : input[0] & 3;
    std::string parts[3];
    std::size_t at = input.empty() ? 0 : 1;
    for (std::string& part : parts) {
        const auto end = std::find(input.begin() + at, input.end(), 0xFF);
        const std::string text(input.begin() + at, end);
        part = text.substr(0, text.find('\0'));
        at = end == input.end() ? input.size() : static_cast<std::size_t>(end - input.begin()) + 1;
    }
    WriteRequest request;
    request.section = parts[0];
    if (operation != 3)
        request.key = parts[1];
    if (operation < 2)
        request.value = parts[2];
    request.file = input.subspan(at);
    return request;
}

// A name as the profile compares it: blanks at either end dropped, A to Z folded.
std::string Folded(std::string_view name)
{
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
        name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    std::string folded(name);
    for (char& c : folded)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return folded;
}

std::vector<std::string> Names(const char* section, const std::string& path)
{
    std::vector<char> list(1 << 16);
    const std::uint32_t count = GetPrivateProfileStringA(
        section, nullptr, "", list.data(), static_cast<std::uint32_t>(list.size()), path.c_str());
    std::vector<std::string> names;
    for (std::size_t at = 0; at < count && names.size() < kNamesKept;) {
        names.emplace_back(list.data() + at);
        at += names.back().size() + 1;
    }
    return names;
}

// A value as the programs read it, or nullopt when the key is missing.
std::optional<std::string> Value(const std::string& section, const std::string& key,
                                 const std::string& path)
{
    // Lines end at line feeds, so no value that a file holds is one.
    const char* missing = "\n";
    std::vector<char> buffer(1 << 16);
    const std::uint32_t count =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), missing, buffer.data(),
                                 static_cast<std::uint32_t>(buffer.size()), path.c_str());
    const std::string value(buffer.data(), count);
    return value == missing ? std::nullopt : std::optional(value);
}

struct Entry {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

// The first entries of every section but the written one, which the write must keep.
std::vector<Entry> OtherEntries(const std::string& written, const std::string& path)
{
    std::vector<Entry> entries;
    for (const std::string& section : Names(nullptr, path)) {
        if (Folded(section) == Folded(written))
            continue;
        for (const std::string& key : Names(section.c_str(), path))
            entries.push_back({section, key, Value(section, key, path)});
    }
    return entries;
}

}  // namespace

void FuzzProfileWrite(std::span<const std::uint8_t> input)
{
    const WriteRequest request = SplitInput(input);
    const std::string path = WriteScratchFile("write.ini", request.file);
    const std::vector<Entry> kept = OtherEntries(request.section, path);
    const bool written = WritePrivateProfileStringA(
        request.section.c_str(), request.key ? request.key->c_str() : nullptr,
        request.value ? request.value->c_str() : nullptr, path.c_str());
    const std::vector<std::uint8_t> after = ReadFileBytes(path);
    if (!written) {
        Require(std::equal(after.begin(), after.end(), request.file.begin(), request.file.end()),
                kTarget, "a refused write leaves the file as it was");
        return;
    }
    if (request.key && request.value)
        Require(Value(request.section, *request.key, path) == request.value, kTarget,
                "a written value reads back as written");
    else if (request.key)
        Require(!Value(request.section, *request.key, path), kTarget, "a removed key is gone");
    else
        for (const std::string& section : Names(nullptr, path))
            Require(Folded(section) != Folded(request.section), kTarget,
                    "a removed section is gone");
    for (const Entry& entry : kept)
        Require(Value(entry.section, entry.key, path) == entry.value, kTarget,
                "every other section keeps its values");
}
