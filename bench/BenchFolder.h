#pragma once

#include <string>

// A folder of the benchmark's own under the system's temporary folder, removed with
// everything in it when the object goes.
class BenchFolder {
public:
    // name begins the folder's name ("editor-bench"); a unique ending follows.
    explicit BenchFolder(const std::string& name);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    // The folder's path; empty when it could not be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
