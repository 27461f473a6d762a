#pragma once

#include "support/TestMedia.h"

#include <cstddef>
#include <string>

#include <sys/mount.h>

namespace testmedia {

// A file system of its own for a test that needs one to fill up: a tmpfs of about `bytes`
// bytes (whole pages) mounted on a fresh temporary folder, unmounted when it goes.
// Mounting needs the right to mount; where it is refused, mounted() is false and the test
// skips.
class SmallFileSystem {
public:
    explicit SmallFileSystem(std::size_t bytes)
    {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        mounted_ = !folder_.root().empty() && ::mount("tmpfs", folder_.root().c_str(), "tmpfs",
                                                      MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    }
    ~SmallFileSystem()
    {
        if (mounted_)
            ::umount2(folder_.root().c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& root() const { return folder_.root(); }
    std::string path(const std::string& name) const { return folder_.path(name); }

private:
    TempFolder folder_;
    bool mounted_ = false;
};

}  // namespace testmedia
