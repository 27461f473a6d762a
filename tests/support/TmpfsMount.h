#pragma once

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>

#include <sys/mount.h>

namespace testmedia {

// A small file system in memory of about `bytes` bytes (whole pages) mounted on an
// existing folder for one test, to fill up or to make read-only, and taken away with the
// object (lazily, so that an open file cannot keep it). Mounting needs the
// administrator's rights: where they are missing, mounted() is false and failure() says
// why in one line, for the test to skip with.
class TmpfsMount {
public:
    explicit TmpfsMount(const std::string& folder, std::size_t bytes = 1024 * 1024)
        : folder_(folder)
    {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        mounted_ =
            ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
        if (!mounted_)
            failure_ =
                "mounting a tmpfs is not allowed here (" + std::string(std::strerror(errno)) + ")";
    }
    ~TmpfsMount()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& failure() const { return failure_; }

    // Mounts it again for reading only, with what it holds; false when that fails.
    bool MakeReadOnly()
    {
        return mounted_ &&
               ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string failure_;
};

}  // namespace testmedia
