#include "platform/win/Files.h"

#include "platform/text/Utf8Copy.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class FileObject : public KernelObject {
public:
    explicit FileObject(int fd) : fd_(fd) {}
    ~FileObject() { ::close(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

namespace {

// Null for anything that is not an open file, INVALID_HANDLE_VALUE included.
FileObject* AsFile(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return dynamic_cast<FileObject*>(handle);
}

enum class LockKind { None, Shared, Exclusive };

LockKind LockFor(bool reads, bool writes, std::uint32_t share)
{
    const bool sharesWriting = (share & FILE_SHARE_WRITE) != 0;
    if (writes)
        return sharesWriting ? LockKind::Shared : LockKind::Exclusive;
    if (reads && !sharesWriting)
        return LockKind::Shared;
    return LockKind::None;
}

// Whether an open descriptor may serve as a file. What is read must be a regular file: a
// device such as /dev/zero never ends. Writing may also go to a device (/dev/null); an
// open without data access only shows that something is there. A folder is never a file.
bool ServesAsFile(int fd, int flags)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        errno = EISDIR;
        return false;
    }
    const bool reads = (flags & O_PATH) == 0 && (flags & O_ACCMODE) != O_WRONLY;
    if (reads && !S_ISREG(status.st_mode)) {
        errno = EINVAL;
        return false;
    }
    return true;
}

// Opens path with flags and takes the lock; the descriptor, or -1 with errno set. Opens
// never truncate here, since a refused open must leave the file as it was. The open does
// not wait (a FIFO would hold it until its other end opens, and without that end it
// fails); the file's kind is then read from the descriptor, so the file checked is the
// file opened, and reads and writes wait as usual again.
int OpenLocked(const char* path, int flags, LockKind lock)
{
    const std::string native = ToNativePath(path);
    const int fd = ::open(native.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return -1;
    if (!ServesAsFile(fd, flags) ||
        ((flags & O_PATH) == 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)) {
        const int reason = errno;
        ::close(fd);
        errno = reason;
        return -1;
    }
    if (lock != LockKind::None) {
        const int operation = (lock == LockKind::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
        int result;
        do {
            result = ::flock(fd, operation);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            ::close(fd);
            errno = EACCES;
            return -1;
        }
    }
    return fd;
}

std::mutex moduleMutex;
// Guarded by moduleMutex.
std::optional<std::string> testingModulePath;

std::string RealModulePath()
{
    static const std::string path = [] {
        std::error_code error;
        return std::filesystem::read_symlink("/proc/self/exe", error).string();
    }();
    return path;
}

}  // namespace

std::string ToNativePath(const char* path)
{
    std::string native = path ? path : "";
    for (char& c : native)
        if (c == '\\')
            c = '/';
    return native;
}

FILE* OpenFile(const char* path, const char* mode)
{
    if (!path || !mode)
        return nullptr;
    const char kind = mode[0];
    if (kind != 'r' && kind != 'w' && kind != 'a')
        return nullptr;
    bool update = false;
    for (const char* c = mode + 1; *c; ++c) {
        if (*c == '+')
            update = true;
        else if (*c != 'b')
            return nullptr;
    }
    const bool reads = kind == 'r' || update;
    const bool writes = kind != 'r' || update;
    int flags = reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    if (kind != 'r')
        flags |= O_CREAT;
    if (kind == 'a')
        flags |= O_APPEND;

    const int fd =
        OpenLocked(path, flags, LockFor(reads, writes, FILE_SHARE_READ | FILE_SHARE_WRITE));
    if (fd < 0)
        return nullptr;
    if (kind == 'w' && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, mode);
    if (!file)
        ::close(fd);
    return file;
}

bool IsReadableFile(const char* path)
{
    return UniqueFile(OpenFile(path, "rb")) != nullptr;
}

bool CanCreateFileIn(const char* folder)
{
    if (!folder)
        return false;
    const std::string native = ToNativePath(folder);
    struct stat status {};
    return ::stat(native.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::faccessat(AT_FDCWD, native.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

FileRead ReadFileBytes(const char* path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    errno = 0;
    const UniqueFile file(OpenFile(path, "rb"));
    if (!file)
        return errno == ENOENT ? FileRead::Missing : FileRead::NotReadable;
    struct stat status {};
    if (::fstat(fileno(file.get()), &status) != 0)
        return FileRead::NotReadable;
    if (static_cast<std::uint64_t>(status.st_size) > maxBytes)
        return FileRead::TooLarge;
    try {
        // The size when opened: a file that grows meanwhile is read no further.
        bytes.resize(static_cast<std::size_t>(status.st_size));
    } catch (const std::bad_alloc&) {
        return FileRead::NotReadable;
    }
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    if (std::ferror(file.get())) {
        bytes.clear();
        return FileRead::NotReadable;
    }
    return FileRead::Read;
}

std::uint32_t GetFileAttributesA(const char* path)
{
    if (!path)
        return INVALID_FILE_ATTRIBUTES;
    struct stat status {};
    if (::stat(ToNativePath(path).c_str(), &status) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

bool IsSameFile(const char* first, const char* second)
{
    if (!first || !second)
        return false;
    struct stat a {};
    struct stat b {};
    return ::stat(ToNativePath(first).c_str(), &a) == 0 &&
           ::stat(ToNativePath(second).c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

BOOL CreateDirectoryA(const char* path, const void*)
{
    if (!path || !*path)
        return FALSE;
    return ::mkdir(ToNativePath(path).c_str(), 0777) == 0 ? TRUE : FALSE;
}

FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share, const void*,
                       std::uint32_t disposition, std::uint32_t, FileHandle)
{
    if (!path)
        return INVALID_HANDLE_VALUE;
    const bool reads = (access & GENERIC_READ) != 0;
    const bool writes = (access & GENERIC_WRITE) != 0;
    int flags;
    switch (disposition) {
    case OPEN_EXISTING:
        // Without data access the file only has to be there, readable or not.
        flags = reads && writes ? O_RDWR : writes ? O_WRONLY : reads ? O_RDONLY : O_PATH;
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        // Creating and emptying need a descriptor that may write.
        flags = (reads ? O_RDWR : O_WRONLY) | O_CREAT;
        break;
    default:
        return INVALID_HANDLE_VALUE;
    }
    const int fd = OpenLocked(path, flags, LockFor(reads, writes, share));
    if (fd < 0)
        return INVALID_HANDLE_VALUE;
    if (disposition == CREATE_ALWAYS && ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return new FileObject(fd);
}

bool ReadFile(FileHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* bytesRead,
              void* overlapped)
{
    if (bytesRead)
        *bytesRead = 0;
    if (!AsFile(handle) || overlapped || (toRead && !buffer))
        return false;
    auto* bytes = static_cast<char*>(buffer);
    std::uint32_t done = 0;
    while (done < toRead) {
        const ssize_t count = ::read(AsFile(handle)->fd(), bytes + done, toRead - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            if (bytesRead)
                *bytesRead = done;
            return false;
        }
        if (count == 0)
            break;
        done += static_cast<std::uint32_t>(count);
    }
    if (bytesRead)
        *bytesRead = done;
    return true;
}

bool WriteFile(FileHandle handle, const void* buffer, std::uint32_t toWrite,
               std::uint32_t* bytesWritten, void* overlapped)
{
    if (bytesWritten)
        *bytesWritten = 0;
    if (!AsFile(handle) || overlapped || (toWrite && !buffer))
        return false;
    const auto* bytes = static_cast<const char*>(buffer);
    std::uint32_t done = 0;
    bool ok = true;
    while (done < toWrite) {
        const ssize_t count = ::write(AsFile(handle)->fd(), bytes + done, toWrite - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::uint32_t>(count);
    }
    if (bytesWritten)
        *bytesWritten = done;
    return ok;
}

std::uint32_t SetFilePointer(FileHandle handle, std::int32_t distance, std::int32_t* distanceHigh,
                             std::uint32_t method)
{
    if (!AsFile(handle))
        return INVALID_SET_FILE_POINTER;
    int whence;
    switch (method) {
    case FILE_BEGIN:
        whence = SEEK_SET;
        break;
    case FILE_CURRENT:
        whence = SEEK_CUR;
        break;
    case FILE_END:
        whence = SEEK_END;
        break;
    default:
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t offset = distance;
    if (distanceHigh)
        offset = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*distanceHigh)) << 32) |
            static_cast<std::uint32_t>(distance));
    const off_t position = ::lseek(AsFile(handle)->fd(), static_cast<off_t>(offset), whence);
    if (position < 0)
        return INVALID_SET_FILE_POINTER;
    if (distanceHigh)
        *distanceHigh = static_cast<std::int32_t>(static_cast<std::uint64_t>(position) >> 32);
    return static_cast<std::uint32_t>(position);
}

std::uint32_t GetModuleFileNameA(const void*, char* buffer, std::uint32_t size)
{
    if (!buffer || size == 0)
        return 0;
    std::string path;
    {
        std::lock_guard lock(moduleMutex);
        path = testingModulePath ? *testingModulePath : RealModulePath();
    }
    const std::size_t copied = CopyTextCut(buffer, size, path);
    return copied < path.size() ? size : static_cast<std::uint32_t>(copied);
}

void SetModuleFileNameForTesting(const char* path)
{
    std::lock_guard lock(moduleMutex);
    if (path)
        testingModulePath = path;
    else
        testingModulePath.reset();
}
