#include "media/PathUtils.h"

#include "platform/text/Utf8Copy.h"
#include "platform/win/Files.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

constexpr std::size_t npos = std::string::npos;

// A drive letter and its colon, as in C:\x.avi or C:x.avi: the one colon that makes a
// path absolute. A colon anywhere else is part of a name (12:30.avi is a file name here).
bool HasDriveColon(std::string_view s)
{
    const auto lower = static_cast<unsigned char>(s.empty() ? 0 : s[0] | 0x20);
    return s.size() >= 2 && lower >= 'a' && lower <= 'z' && s[1] == ':';
}

// A path that stays as it is: nothing, a drive, or a share ("\\srv\x", "//srv/x").
bool IsAbsolute(std::string_view s)
{
    return s.empty() || HasDriveColon(s) ||
           (s.size() >= 2 && IsPathSeparator(s[0]) && IsPathSeparator(s[1]));
}

std::size_t LastSeparatorIndex(const std::string& text)
{
    const char* separator = FindLastPathSeparator(text.c_str());
    return separator ? static_cast<std::size_t>(separator - text.c_str()) : npos;
}

// Where the program path's drive root separator is: after the drive colon, after a share
// server's name, or a leading separator; npos when the path has none of these.
std::size_t RootIndex(const std::string& program)
{
    std::size_t drive = program.find(":\\");
    if (drive == npos)
        drive = program.find(":/");
    if (drive != npos)
        return drive + 1;
    if (program.size() >= 2 && IsPathSeparator(program[0]) && IsPathSeparator(program[1])) {
        for (std::size_t i = 2; i < program.size(); ++i)
            if (IsPathSeparator(program[i]))
                return i;
        return npos;
    }
    if (!program.empty() && IsPathSeparator(program[0]))
        return 0;
    return npos;
}

bool StartsWithParentStep(std::string_view s)
{
    return s.size() >= 3 && s[0] == '.' && s[1] == '.' && IsPathSeparator(s[2]);
}

// Joins the program's folder, climbed by the leading parent steps of s, with the rest.
std::string ResolveParentSteps(const std::string& program, std::string_view s)
{
    int steps = 0;
    while (StartsWithParentStep(s)) {
        s.remove_prefix(3);
        ++steps;
    }
    const std::size_t root = RootIndex(program);
    std::size_t last = LastSeparatorIndex(program);
    while (last != npos && (root == npos || last > root) && steps > 0) {
        std::size_t previous = npos;
        for (std::size_t i = last; i-- > 0;)
            if (IsPathSeparator(program[i])) {
                previous = i;
                break;
            }
        if (previous == npos)
            break;
        last = previous;
        --steps;
    }
    const std::size_t keep = last == npos ? 0 : last + 1;
    return program.substr(0, keep) + std::string(s);
}

std::string ResolveRelative(const std::string& program, std::string_view s)
{
    if (StartsWithParentStep(s))
        return ResolveParentSteps(program, s);

    const std::size_t root = RootIndex(program);
    const std::string drive = program.substr(0, root == npos ? 0 : root);
    if (s[0] == ':') {
        if (s.size() > 1 && IsPathSeparator(s[1]))
            return drive + std::string(s.substr(1));
        const char separator = root == npos ? '\\' : program[root];
        return drive + separator + std::string(s.substr(1));
    }
    if (IsPathSeparator(s[0]))
        return drive + std::string(s);
    const std::size_t last = LastSeparatorIndex(program);
    return program.substr(0, last == npos ? 0 : last + 1) + std::string(s);
}

}  // namespace

bool IsSpace(int c)
{
    const int low = c & 0xFF;
    return low == '\t' || low == '\n' || low == '\r' || low == ' ';
}

bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

const char* SkipSpaces(const char* text)
{
    if (!text)
        return nullptr;
    while (*text && IsSpace(static_cast<unsigned char>(*text)))
        ++text;
    return text;
}

char* SkipSpaces(char* text)
{
    return const_cast<char*>(SkipSpaces(static_cast<const char*>(text)));
}

char* TrimRight(char* text)
{
    if (!text)
        return nullptr;
    std::size_t length = std::strlen(text);
    while (length > 0 && IsSpace(static_cast<unsigned char>(text[length - 1])))
        text[--length] = '\0';
    return text;
}

const char* FindLastPathSeparator(const char* text)
{
    if (!text)
        return nullptr;
    const char* separator = nullptr;
    const char* colon = nullptr;
    for (const char* c = text; *c; ++c) {
        if (IsPathSeparator(*c))
            separator = c;
        else if (*c == ':')
            colon = c;
    }
    return separator ? separator : colon;
}

char* FindLastPathSeparator(char* text)
{
    return const_cast<char*>(FindLastPathSeparator(static_cast<const char*>(text)));
}

bool JoinPath(char* buffer, std::size_t size, const char* folder, const char* name)
{
    if (!buffer || size == 0)
        return false;
    const std::size_t folderLength = folder ? std::strlen(folder) : 0;
    const std::size_t nameLength = name ? std::strlen(name) : 0;
    if (folderLength == 0 || !name || folderLength + 1 + nameLength >= size) {
        buffer[0] = '\0';
        return false;
    }
    // Formed before the copy: the folder may be the buffer itself.
    const std::string joined = ToNativePath((std::string(folder) + '/' + name).c_str());
    std::memcpy(buffer, joined.c_str(), joined.size() + 1);
    return true;
}

std::string ModuleFilePath()
{
    char buffer[kPathBufferSize];
    GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return buffer;
}

std::size_t GetModuleDirectory(char* buffer, std::size_t size)
{
    std::string path = ModuleFilePath();
    const std::size_t last = LastSeparatorIndex(path);
    if (last != npos)
        path.resize(last);
    return buffer ? CopyTextCut(buffer, size, path) : 0;
}

namespace {

// The path in buffer resolved against the program's location, in the platform's form;
// nothing when it is absolute and stays where it is.
std::optional<std::string> Resolved(const char* buffer, std::size_t size)
{
    const std::string_view text(buffer, ::strnlen(buffer, size));
    // The text may fill the buffer without a terminator, so blanks are skipped within it.
    std::size_t lead = 0;
    while (lead < text.size() && IsSpace(static_cast<unsigned char>(text[lead])))
        ++lead;
    const std::string_view s = text.substr(lead);
    if (IsAbsolute(s))
        return std::nullopt;
    return ToNativePath(ResolveRelative(ModuleFilePath(), s).c_str());
}

// An absolute path keeps its place and its length, and takes the platform's form.
void KeepInPlatformForm(char* buffer, std::size_t size)
{
    const std::size_t length = ::strnlen(buffer, size);
    const std::string platform = ToNativePath(std::string(buffer, length).c_str());
    std::memcpy(buffer, platform.data(), length);
}

}  // namespace

bool ResolveWholePath(char* buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return false;
    const std::optional<std::string> resolved = Resolved(buffer, size);
    const std::size_t length = resolved ? resolved->size() : ::strnlen(buffer, size);
    if (length >= std::min(size, kPathBufferSize)) {
        buffer[0] = '\0';
        return false;
    }
    if (resolved)
        std::memcpy(buffer, resolved->c_str(), length + 1);
    else
        KeepInPlatformForm(buffer, size);
    return true;
}
