#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Seed inputs for each fuzz target, made by this code so that they match what the
// programs read and write today: small, well-formed files (and a few near misses) from
// which the fuzzer mutates. The fuzz build writes them into one folder per target; the
// test suite runs them through their targets.
struct FuzzSeed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The seeds of the target of that name (see kFuzzTargets); none for an unknown name.
std::vector<FuzzSeed> SeedsFor(std::string_view target);
