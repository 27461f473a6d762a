#include "FuzzTargets.h"

// The libFuzzer entry of one harness; the build names its target function.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TAVRINO_FUZZ_TARGET(std::span(data, size));
    return 0;
}
