#include "platform/ui/Shell.h"

#include "platform/ui/DesktopLaunch.h"
#include "platform/ui/DesktopOpener.h"
#include "platform/ui/ProgramName.h"
#include "platform/win/Files.h"
#include "platform/win/Sync.h"

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// Any answer above 32 means success to the callers.
constexpr INT_PTR kLaunched = 42;

bool StartsWithIgnoringCase(const std::string& text, const char* prefix)
{
    const std::string start(prefix);
    return text.size() >= start.size() &&
           lstrcmpiA(text.substr(0, start.size()).c_str(), prefix) == 0;
}

bool IsWebAddress(const std::string& text)
{
    return StartsWithIgnoringCase(text, "http:") || StartsWithIgnoringCase(text, "https:") ||
           StartsWithIgnoringCase(text, "mailto:");
}

std::string ParentFolder(const std::string& path)
{
    const std::size_t separator = path.find_last_of('/');
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

bool OpenWithDesktop(const std::string& target)
{
    const auto& hook = CurrentDesktopHooks().openWithDesktop;
    return hook ? hook(target) : OpenWithDesktopHandler(target);
}

// A program to start: a file handed over with parameters (documents get none) that is an
// executable file; its absolute path, empty otherwise.
std::string ProgramToStart(const std::string& file, LPCSTR parameters)
{
    if (!parameters)
        return {};
    const std::string program = ToNativePath(file.c_str());
    std::error_code error;
    if (!std::filesystem::is_regular_file(program, error) || ::access(program.c_str(), X_OK) != 0)
        return {};
    return std::filesystem::absolute(program, error).string();
}

INT_PTR StartOwnProgram(const std::string& program, LPCSTR parameters, LPCSTR directory)
{
    const ProgramStart start{program, parameters ? parameters : "",
                             directory && *directory ? ToNativePath(directory) : ProgramFolder()};
    const auto& hook = CurrentDesktopHooks().startProgram;
    const bool started = hook ? hook(start) : StartDetachedProgram(start);
    return started ? kLaunched : SE_ERR_ACCESSDENIED;
}

}  // namespace

INT_PTR ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int)
{
    if (!file || !*file)
        return SE_ERR_FNF;
    const std::string target(file);
    const std::string program = ProgramToStart(target, parameters);
    if (!program.empty())
        return StartOwnProgram(program, parameters, directory);
    if (verb && lstrcmpiA(verb, "open") != 0)
        return SE_ERR_NOASSOC;
    if (IsWebAddress(target))
        return OpenWithDesktop(target) ? kLaunched : SE_ERR_NOASSOC;
    const std::string path = ToNativePath(file);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return GetFileAttributesA(ParentFolder(path).c_str()) == INVALID_FILE_ATTRIBUTES
                   ? SE_ERR_PNF
                   : SE_ERR_FNF;
    std::error_code error;
    const std::string full = std::filesystem::absolute(path, error).lexically_normal().string();
    return OpenWithDesktop(full) ? kLaunched : SE_ERR_NOASSOC;
}
