#pragma once

#include "platform/win/Files.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

namespace testmedia {

// Puts the program of that name built beside this test program into folder (a hard link,
// or a copy where no link can be made), so that it runs from there as from its installed
// place; the path placed, or empty when the program was not built.
inline std::filesystem::path PlaceBuiltProgram(const std::string& name,
                                               const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    const fs::path built = fs::read_symlink("/proc/self/exe").parent_path() / name;
    const fs::path placed = folder / name;
    std::error_code error;
    if (!fs::exists(built, error))
        return {};
    fs::create_hard_link(built, placed, error);
    if (error && !fs::copy_file(built, placed, fs::copy_options::overwrite_existing, error))
        return {};
    return placed;
}

// A temporary folder of its own, with the running program pretending to be the file
// programName inside it; the real program path comes back after each test.
class ProgramFolderTest : public ::testing::Test {
protected:
    explicit ProgramFolderTest(std::string programName = "prog")
        : programName_(std::move(programName))
    {}

    void SetUp() override
    {
        ASSERT_FALSE(dir_.empty());
        SetModuleFileNameForTesting((dir_ / programName_).c_str());
    }
    void TearDown() override { SetModuleFileNameForTesting(nullptr); }

    TempFolder folder_;
    const std::filesystem::path dir_ = folder_.root();

private:
    std::string programName_;
};

}  // namespace testmedia
