#include "editor/app/FolderPaths.h"

#include "media/FileUtils.h"
#include "media/PathUtils.h"
#include "platform/win/Files.h"

std::string JoinedPath(const std::string& folder, const std::string& name)
{
    char path[kPathBufferSize];
    JoinPath(path, sizeof path, folder.c_str(), name.c_str());
    return path;
}

std::string ProgramSubfolder(const std::string& name)
{
    char folder[kPathBufferSize] = {};
    GetModuleDirectory(folder, sizeof folder);
    return JoinedPath(folder, name);
}

std::string TrimBlanks(const char* text)
{
    std::string trimmed(text ? SkipSpaces(text) : "");
    while (!trimmed.empty() && IsSpace(static_cast<unsigned char>(trimmed.back())))
        trimmed.pop_back();
    return trimmed;
}

std::string TrimFolder(const char* text)
{
    std::string folder = TrimBlanks(text);
    while (folder.size() > 1 && IsPathSeparator(folder.back()))
        folder.pop_back();
    return folder;
}

int CreateFolderPath(const char* path, int resultIfExists)
{
    const char* start = SkipSpaces(path);
    if (!start || !*start)
        return 0;
    if (FolderExists(start))
        return resultIfExists;
    // A trailing separator names the same folder; without it the parent is the text
    // before the last separator.
    std::string folder(start);
    while (folder.size() > 1 && IsPathSeparator(folder.back()))
        folder.pop_back();
    const std::size_t separator = folder.find_last_of("\\/");
    if (separator != std::string::npos && separator > 0) {
        const std::string parent = folder.substr(0, separator);
        if (!FolderExists(parent.c_str()))
            CreateFolderPath(parent.c_str(), 1);
    }
    return CreateDirectoryA(folder.c_str(), nullptr) ? 1 : 0;
}
