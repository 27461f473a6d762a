#include "FuzzSeeds.h"
#include "FuzzTargets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

// Writes the seeds of every fuzz target into <folder>/<target>/, replacing what is there.
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    namespace fs = std::filesystem;
    for (const NamedFuzzTarget& target : kFuzzTargets) {
        const fs::path folder = fs::path(argv[1]) / target.name;
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const FuzzSeed& seed : SeedsFor(target.name)) {
            std::ofstream out(folder / seed.name, std::ios::binary);
            out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                      static_cast<std::streamsize>(seed.bytes.size()));
            if (!out) {
                std::fprintf(stderr, "fuzz_seeds: writing %s failed\n",
                             (folder / seed.name).c_str());
                return 1;
            }
        }
    }
    return 0;
}
