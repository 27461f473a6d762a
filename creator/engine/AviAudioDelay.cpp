#include "creator/engine/AviAudioDelay.h"

#include "platform/win/Files.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr std::uint32_t kPieceSize = 0xFFC0;
constexpr std::uint32_t kCarrySize = 64;
constexpr std::uint32_t kHeaderSize = 64;
// The bytes compared at a candidate position: "strh", its size, the stream type.
constexpr std::uint32_t kMatchSize = 12;
constexpr std::uint32_t kScaleOffset = 28;
constexpr std::uint32_t kRateOffset = 32;
constexpr std::uint32_t kStartOffset = 36;

std::uint32_t ReadLe32(const unsigned char* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void WriteLe32(unsigned char* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

bool Seek(FileHandle file, std::uint64_t offset)
{
    std::int32_t high = static_cast<std::int32_t>(offset >> 32);
    const std::uint32_t low =
        SetFilePointer(file, static_cast<std::int32_t>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
    const std::uint64_t reached =
        (static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) | low;
    return reached == offset;
}

std::optional<std::uint64_t> FileSize(FileHandle file)
{
    std::int32_t high = 0;
    const std::uint32_t low = SetFilePointer(file, 0, &high, FILE_END);
    if (low == INVALID_SET_FILE_POINTER && high == 0)
        return std::nullopt;
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) | low;
}

bool ReadExactly(FileHandle file, std::uint64_t offset, unsigned char* buffer, std::uint32_t size)
{
    std::uint32_t read = 0;
    return Seek(file, offset) && ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

// The file range [begin, end) in which stream headers may lie: the data of the "hdrl"
// LIST, wholly inside the file and the "RIFF" "AVI " chunk that opens it, among whose
// top-level chunks it may sit anywhere (other writers put a "JUNK" chunk before it).
struct HeaderList {
    std::uint64_t begin;
    std::uint64_t end;
};

std::optional<HeaderList> FindHeaderList(FileHandle file)
{
    const std::optional<std::uint64_t> fileSize = FileSize(file);
    unsigned char riff[12];
    if (!fileSize || !ReadExactly(file, 0, riff, sizeof riff))
        return std::nullopt;
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "AVI ", 4) != 0)
        return std::nullopt;
    const std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(ReadLe32(riff + 4));
    const std::uint64_t end = std::min(riffEnd, *fileSize);
    unsigned char chunk[12];
    for (std::uint64_t at = sizeof riff; at + sizeof chunk <= end;) {
        if (!ReadExactly(file, at, chunk, sizeof chunk))
            return std::nullopt;
        const std::uint32_t size = ReadLe32(chunk + 4);
        const std::uint64_t chunkEnd = at + 8 + size;
        if (std::memcmp(chunk, "LIST", 4) == 0 && std::memcmp(chunk + 8, "hdrl", 4) == 0) {
            if (chunkEnd > end)
                return std::nullopt;
            return HeaderList{at + sizeof chunk, chunkEnd};
        }
        // Chunk data is padded to an even length.
        at = chunkEnd + (size & 1);
    }
    return std::nullopt;
}

bool IsStreamHeaderOfAudio(const unsigned char* at)
{
    return std::memcmp(at, "strh", 4) == 0 &&
           (std::memcmp(at + 8, "auds", 4) == 0 || std::memcmp(at + 8, "mids", 4) == 0);
}

// The file offset of the first audio or MIDI stream header that lies wholly in the
// list. The file is read from its start in pieces; the last bytes of each piece are
// carried to the front of the buffer for the next, so a header that straddles two pieces
// is still seen, and every position is looked at once.
std::optional<std::uint64_t> FindAudioStreamHeader(FileHandle file, const HeaderList& list)
{
    unsigned char buffer[kCarrySize + kPieceSize] = {};
    if (!Seek(file, 0))
        return std::nullopt;
    std::uint64_t readBefore = 0;     // file bytes read before the current piece
    std::uint64_t next = list.begin;  // the first position not looked at yet
    while (readBefore < list.end) {
        std::uint32_t read = 0;
        if (!ReadFile(file, buffer + kCarrySize, kPieceSize, &read, nullptr) || read == 0)
            return std::nullopt;
        // buffer[i] holds file offset bufferStart + i; the carry before the first piece
        // holds no file bytes.
        const std::uint64_t bufferStart = readBefore - kCarrySize;  // wraps for piece 0
        const std::uint64_t readEnd = std::min<std::uint64_t>(readBefore + read, list.end);
        for (; next + kMatchSize <= readEnd; ++next) {
            if (next + kHeaderSize > list.end)
                return std::nullopt;
            if (IsStreamHeaderOfAudio(buffer + (next - bufferStart)))
                return next;
        }
        std::memmove(buffer, buffer + read, kCarrySize);
        readBefore += read;
    }
    return std::nullopt;
}

std::uint32_t StartInStreamUnits(std::uint32_t scale, std::uint32_t rate, std::int32_t delayMs)
{
    const float unitsPerSecond = static_cast<float>(static_cast<double>(rate) / scale);
    const double units =
        unitsPerSecond * static_cast<double>(static_cast<std::uint32_t>(delayMs)) / 1000.0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(units));
}

}  // namespace

int SetAviAudioDelay(const char* path, std::int32_t delayMs)
{
    const FileHandle opened = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return 0;
    const UniqueFileHandle file(opened);

    const std::optional<HeaderList> list = FindHeaderList(file.get());
    if (!list)
        return 0;
    const std::optional<std::uint64_t> offset = FindAudioStreamHeader(file.get(), *list);
    unsigned char header[kHeaderSize];
    if (!offset || !ReadExactly(file.get(), *offset, header, sizeof header))
        return 0;
    const std::uint32_t scale = ReadLe32(header + kScaleOffset);
    if (scale == 0)
        return 0;
    if (delayMs == -1)
        return 1;

    WriteLe32(header + kStartOffset,
              StartInStreamUnits(scale, ReadLe32(header + kRateOffset), delayMs));
    std::uint32_t written = 0;
    if (!Seek(file.get(), *offset) ||
        !WriteFile(file.get(), header, sizeof header, &written, nullptr) ||
        written != sizeof header)
        return 0;
    return 1;
}
