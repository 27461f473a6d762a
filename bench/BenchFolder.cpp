#include "bench/BenchFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

BenchFolder::BenchFolder(const std::string& name)
{
    std::error_code failed;
    std::string pattern =
        (std::filesystem::temp_directory_path(failed) / (name + "-XXXXXX")).string();
    if (!failed && mkdtemp(pattern.data()))
        path_ = pattern;
}

BenchFolder::~BenchFolder()
{
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}
