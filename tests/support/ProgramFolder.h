#pragma once

#include "platform/win/Files.h"
#include "support/TestMedia.h"
#include "tools/SampleSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testmedia {

// The folder the programs and this test program were built into.
inline std::filesystem::path BuiltFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// The folders the build makes beside the programs (creator/app/CMakeLists.txt).
inline const std::vector<std::string> kShippedFolders = {"VideoProject",  "Background", "FaceImage",
                                                         "VideoTemplate", "Audio",      "Video"};
// The sample project the build puts there (creator/app/CMakeLists.txt).
inline constexpr std::string_view kShippedSampleProject = "VideoProject/DefaultProject.avp";

// Places the named folders of built (this test program's folder by default) into folder as
// the build made them: each folder, with only the files the build put in it (the sample
// project, the sample inputs of tools/SampleSet.h). What a person's run of the programs
// left there, a recent project or a video made, stays out, and built is only read. False
// when a folder or one of its shipped files is missing or cannot be copied.
inline bool PlaceShippedFolders(const std::vector<std::string>& folders,
                                const std::filesystem::path& folder,
                                const std::filesystem::path& built = BuiltFolder())
{
    namespace fs = std::filesystem;
    std::vector<std::string_view> files(kSampleFiles.begin(), kSampleFiles.end());
    files.push_back(kShippedSampleProject);
    for (const std::string& name : folders) {
        std::error_code error;
        fs::create_directories(folder / name, error);
        if (error || !fs::is_directory(built / name, error))
            return false;
        for (const std::string_view file : files) {
            if (fs::path(file).begin()->string() == name &&
                !fs::copy_file(built / file, folder / file, error))
                return false;
        }
    }
    return true;
}

// Puts the program of that name built beside this test program into folder (a hard link,
// or a copy where no link can be made), so that it runs from there as from its installed
// place; the path placed, or empty when the program was not built.
inline std::filesystem::path PlaceBuiltProgram(const std::string& name,
                                               const std::filesystem::path& folder)
{
    namespace fs = std::filesystem;
    const fs::path built = BuiltFolder() / name;
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
