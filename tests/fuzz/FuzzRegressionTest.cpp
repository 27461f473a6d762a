#include "FuzzSeeds.h"
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// Inputs that once broke a property of their target, saved under
// regressions/<target>/ whenever the fuzzer finds one, so that no change brings the
// fault back.
const fs::path kRegressions = TAVRINO_FUZZ_REGRESSIONS;

TEST(FuzzTargets, EverySeedKeepsItsTargetsProperties)
{
    for (const NamedFuzzTarget& target : kFuzzTargets) {
        const std::vector<FuzzSeed> seeds = SeedsFor(target.name);
        EXPECT_FALSE(seeds.empty()) << target.name;
        for (const FuzzSeed& seed : seeds) {
            EXPECT_FALSE(seed.bytes.empty()) << target.name << "/" << seed.name;
            SetFuzzInputName(std::string(target.name) + " seed " + seed.name);
            target.run(seed.bytes);
        }
    }
    SetFuzzInputName("");
}

TEST(FuzzTargets, EverySavedRegressionInputKeepsItsTargetsProperties)
{
    int inputs = 0;
    for (const NamedFuzzTarget& target : kFuzzTargets) {
        const fs::path folder = kRegressions / target.name;
        if (!fs::is_directory(folder))
            continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            SetFuzzInputName(entry.path().string());
            target.run(ReadFileBytes(entry.path().string()));
            ++inputs;
        }
    }
    SetFuzzInputName("");
    EXPECT_GT(inputs, 0);
}

}  // namespace
