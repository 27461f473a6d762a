#include "editor/app/NumberedNames.h"

#include "media/PathUtils.h"
#include "platform/text/Utf8Copy.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

struct NameParts {
    std::size_t numberStart;
    std::size_t extensionStart;
};

NameParts Split(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    const std::size_t extension = dot == std::string_view::npos ? name.size() : dot;
    std::size_t number = extension;
    while (number > 0 && IsDigit(static_cast<unsigned char>(name[number - 1])))
        --number;
    return {number, extension};
}

std::string_view Trimmed(const char* text)
{
    std::string_view trimmed(SkipSpaces(text));
    while (!trimmed.empty() && IsSpace(static_cast<unsigned char>(trimmed.back())))
        trimmed.remove_suffix(1);
    return trimmed;
}

bool Store(char* name, std::size_t size, const std::string& result)
{
    if (size == 0)
        return false;
    CopyTextCut(name, size, result);
    return true;
}

}  // namespace

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

int GetFileNumber(char* name, int defaultValue)
{
    if (!TrimRight(name))
        return defaultValue;
    const std::string_view text(name);
    const NameParts parts = Split(text);
    if (parts.numberStart == parts.extensionStart)
        return defaultValue;
    long long value = 0;
    for (std::size_t i = parts.numberStart; i < parts.extensionStart; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(value);
}

bool GetFilePrefix(char* name, char* output, std::size_t size)
{
    if (!TrimRight(name) || !*name)
        return false;
    const std::string_view text(name);
    const NameParts parts = Split(text);
    if (parts.numberStart == 0)
        return false;
    if (output && size > 0)
        CopyTextCut(output, size, text.substr(0, parts.numberStart));
    return true;
}

bool StripFolder(char* name)
{
    char* separator = FindLastPathSeparator(TrimRight(name));
    if (!separator)
        return false;
    const char* rest = SkipSpaces(separator + 1);
    std::memmove(name, rest, std::strlen(rest) + 1);
    return true;
}

bool SetExtension(char* name, const char* extension, std::size_t size)
{
    if (!name || !extension)
        return false;
    const std::string_view wanted = Trimmed(extension);
    if (wanted.empty())
        return false;
    const std::string_view text(TrimRight(name));
    std::string result(text.substr(0, Split(text).extensionStart));
    if (wanted.front() != '.')
        result += '.';
    result += wanted;
    return Store(name, size, result);
}

bool SetFileNumber(char* name, std::size_t size, int digits, int number)
{
    if (!TrimRight(name) || !*name || digits < 1)
        return false;
    const std::string_view text(name);
    const NameParts parts = Split(text);
    const int length = std::snprintf(nullptr, 0, "%0*d", digits, number);
    std::string padded(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(padded.data(), padded.size(), "%0*d", digits, number);
    padded.pop_back();
    const std::string result = std::string(text.substr(0, parts.numberStart)) + padded +
                               std::string(text.substr(parts.extensionStart));
    return Store(name, size, result);
}

bool ReplacePrefix(char* name, const char* prefix, std::size_t size)
{
    if (!TrimRight(name) || !*name || !prefix)
        return false;
    const std::string_view text(name);
    const std::string result =
        std::string(Trimmed(prefix)) + std::string(text.substr(Split(text).numberStart));
    return Store(name, size, result);
}
