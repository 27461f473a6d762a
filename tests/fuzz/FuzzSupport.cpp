#include "FuzzTargets.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("tavrino-fuzz-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string& InputName()
{
    static std::string name;
    return name;
}

}  // namespace

void SetFuzzInputName(std::string name)
{
    InputName() = std::move(name);
}

void Require(bool holds, std::string_view target, std::string_view property)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz target %.*s: %.*s does not hold%s%s\n",
                 static_cast<int>(target.size()), target.data(), static_cast<int>(property.size()),
                 property.data(), InputName().empty() ? "" : " for ", InputName().c_str());
    std::abort();
}

std::string WriteScratchFile(std::string_view name, std::span<const std::uint8_t> bytes)
{
    static const ScratchFolder folder;
    const std::string path = (folder.path() / name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}
