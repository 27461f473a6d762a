#include "platform/win/Profile.h"

#include "platform/text/Utf8Copy.h"
#include "platform/win/Files.h"
#include "platform/win/ProfileText.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, CloseFile>;

// Far beyond any project, which holds a few hundred bytes: a larger file is none of ours
// and is neither read into memory nor replaced.
constexpr std::uint64_t kLargestProfileBytes = 4u << 20;

enum class ReadStatus { Read, Missing, Failed };

ReadStatus ReadWholeFile(const std::string& path, std::string& text)
{
    std::vector<std::uint8_t> bytes;
    switch (ReadFileBytes(path.c_str(), kLargestProfileBytes, bytes)) {
    case FileRead::Read:
        text.assign(bytes.begin(), bytes.end());
        return ReadStatus::Read;
    case FileRead::Missing:
        return ReadStatus::Missing;
    default:
        return ReadStatus::Failed;
    }
}

// The platform's read-only attribute is the absence of every write permission; root
// would otherwise write anything.
bool IsWritable(const std::string& path, const struct stat& status)
{
    return S_ISREG(status.st_mode) && (status.st_mode & 0222) != 0 &&
           access(path.c_str(), W_OK) == 0;
}

// Opens a new file beside target that no other writer uses: the process id keeps
// programs apart, the counter keeps threads apart.
FilePtr CreateTemporaryBeside(const std::string& target, std::string& temporaryPath)
{
    static std::atomic<unsigned> counter{0};
    const auto slash = target.rfind('/');
    const auto folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const auto name = target.substr(folder.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = folder + "." + name + "." + std::to_string(getpid()) + "-" +
                        std::to_string(counter++) + ".tmp";
        // "x" fails when the name exists instead of truncating someone else's file.
        FilePtr file(std::fopen(temporaryPath.c_str(), "wbx"));
        if (file || errno != EEXIST) {
            return file;
        }
    }
    return nullptr;
}

// Writes text as the whole new content of path. The text goes into a temporary file in
// the same folder, which then replaces the file in one rename, so a failed write leaves
// the old file as it was. A symbolic link keeps pointing at the updated file.
bool ReplaceFile(const std::string& path, const std::string& text)
{
    std::string target = path;
    struct stat status {};
    const bool exists = stat(path.c_str(), &status) == 0;
    if (exists) {
        if (!IsWritable(path, status)) {
            return false;
        }
        std::error_code error;
        const auto resolved = std::filesystem::canonical(path, error);
        if (error) {
            return false;
        }
        target = resolved.string();
    }

    std::string temporaryPath;
    FilePtr file = CreateTemporaryBeside(target, temporaryPath);
    if (!file) {
        return false;
    }
    const int descriptor = fileno(file.get());
    bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                   (!exists || fchmod(descriptor, status.st_mode & 07777) == 0) &&
                   std::fflush(file.get()) == 0 && fsync(descriptor) == 0;
    written = std::fclose(file.release()) == 0 && written;
    if (!written || std::rename(temporaryPath.c_str(), target.c_str()) != 0) {
        std::remove(temporaryPath.c_str());
        return false;
    }
    return true;
}

// Names each ended by a zero, the list by a second zero. A list cut short still ends in
// two zeros, and the count is then size - 2 whatever the cut, as callers expect.
std::uint32_t CopyList(const std::vector<std::string>& names, char* buffer, std::uint32_t size)
{
    std::string list;
    for (const auto& name : names) {
        list += name;
        list += '\0';
    }
    if (list.size() < size) {
        std::memcpy(buffer, list.data(), list.size());
        std::fill(buffer + list.size(), buffer + std::min<std::size_t>(list.size() + 2, size),
                  '\0');
        return static_cast<std::uint32_t>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    const auto count = Utf8PrefixLength(list, size - 2);
    std::memcpy(buffer, list.data(), count);
    std::fill(buffer + count, buffer + size, '\0');
    return size - 2;
}

std::string_view TrimTrailingBlanks(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultValue, char* buffer, std::uint32_t size,
                                       const char* fileName)
{
    if (!buffer || size == 0) {
        return 0;
    }
    std::string text;
    if (!fileName || ReadWholeFile(ToNativePath(fileName), text) != ReadStatus::Read) {
        text.clear();
    }
    const ProfileText profile(text);
    if (!section) {
        return CopyList(profile.sectionNames(), buffer, size);
    }
    if (!key) {
        return CopyList(profile.keyNames(section), buffer, size);
    }
    if (const auto value = profile.value(section, key)) {
        return static_cast<std::uint32_t>(CopyTextCut(buffer, size, *value));
    }
    return static_cast<std::uint32_t>(
        CopyTextCut(buffer, size, TrimTrailingBlanks(defaultValue ? defaultValue : "")));
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName)
{
    if (!section || !fileName) {
        return false;
    }
    const auto path = ToNativePath(fileName);
    std::string text;
    const auto status = ReadWholeFile(path, text);
    if (status == ReadStatus::Failed) {
        return false;
    }
    ProfileText profile(text);
    if (!key) {
        profile.removeSection(section);
    } else if (!value) {
        profile.removeKey(section, key);
    } else if (!profile.setValue(section, key, value)) {
        return false;
    }
    // Removing what is not there creates no file, and an unchanged file is not touched.
    const auto updated = profile.text();
    if (updated == text && (status == ReadStatus::Read || updated.empty())) {
        return true;
    }
    return ReplaceFile(path, updated);
}
