#pragma once

#include "platform/win/Files.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

namespace testmedia {

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
