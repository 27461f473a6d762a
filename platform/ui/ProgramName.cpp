#include "platform/ui/ProgramName.h"

#include "platform/win/Files.h"

namespace {

std::string ProgramPath()
{
    std::string path(4096, '\0');
    const std::uint32_t length =
        GetModuleFileNameA(nullptr, path.data(), static_cast<std::uint32_t>(path.size()));
    path.resize(std::min<std::size_t>(length, path.size()));
    return path;
}

std::size_t NameStart(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string ProgramBaseName()
{
    const std::string path = ProgramPath();
    std::string name = path.substr(NameStart(path));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string ProgramFolder()
{
    const std::string path = ProgramPath();
    const std::size_t start = NameStart(path);
    return start == 0 ? std::string() : path.substr(0, start - 1);
}
