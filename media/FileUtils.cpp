#include "media/FileUtils.h"

#include "media/PathUtils.h"
#include "platform/win/Files.h"

#include <string>

bool FileExists(const char* name)
{
    return !ExistingFilePath(name).empty();
}

std::string ExistingFilePath(const char* name)
{
    if (!name)
        return {};
    if (IsReadableFile(name))
        return name;
    const std::string program = ModuleFilePath();
    const char* separator = FindLastPathSeparator(program.c_str());
    if (!separator)
        return {};
    std::string beside = program.substr(0, separator - program.c_str() + 1) + name;
    return IsReadableFile(beside.c_str()) ? beside : std::string();
}

bool FolderExists(const char* path)
{
    const char* start = SkipSpaces(path);
    if (!start || !*start)
        return false;
    const std::uint32_t attributes = GetFileAttributesA(start);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsWritableFilePath(const char* path)
{
    const char* s = SkipSpaces(path);
    if (!s || !*s)
        return false;
    // A bare name is made in the working folder.
    std::string folder = ".";
    if (const char* separator = FindLastPathSeparator(s)) {
        // A file right under the root has the root, not an empty name, as its folder.
        folder.assign(s, separator == s ? 1 : separator - s);
        if (!FolderExists(folder.c_str()))
            return false;
    }
    if (FolderExists(s))
        return false;
    const FileHandle probe =
        CreateFileA(s, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return CanCreateFileIn(folder.c_str());
    CloseHandle(probe);
    return UniqueFile(OpenFile(s, "ab")) != nullptr;
}
