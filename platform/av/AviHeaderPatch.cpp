#include "platform/av/AviHeaderPatch.h"

#include <algorithm>
#include <cstring>

namespace av {

namespace {

struct Chunk {
    std::size_t start;  // of its identifier
    std::size_t size;   // of its data
};

bool IdIs(std::span<const std::uint8_t> file, std::size_t at, const char* id)
{
    return at + 4 <= file.size() && std::memcmp(file.data() + at, id, 4) == 0;
}

std::uint32_t Le32(std::span<const std::uint8_t> file, std::size_t at)
{
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
           static_cast<std::uint32_t>(file[at + 3]) << 24;
}

// The chunk at `at`, when its header lies within [at, end); its data may be cut short
// by the end of what was read, which the callers check per field.
std::optional<Chunk> ChunkAt(std::span<const std::uint8_t> file, std::size_t at, std::size_t end)
{
    if (at + 8 > end || at + 8 > file.size())
        return std::nullopt;
    return Chunk{at, Le32(file, at + 4)};
}

// The next sibling: chunk data is padded to an even length.
std::size_t After(const Chunk& chunk)
{
    return chunk.start + 8 + chunk.size + (chunk.size & 1);
}

// The first list of that type among the chunks in [begin, end), skipping `skip` of them.
std::optional<Chunk> FindList(std::span<const std::uint8_t> file, std::size_t begin,
                              std::size_t end, const char* type, int skip)
{
    for (std::size_t at = begin;;) {
        const std::optional<Chunk> chunk = ChunkAt(file, at, end);
        if (!chunk)
            return std::nullopt;
        if (IdIs(file, at, "LIST") && IdIs(file, at + 8, type) && skip-- == 0)
            return chunk;
        at = After(*chunk);
    }
}

}  // namespace

std::optional<std::size_t> FindStreamTypeField(std::span<const std::uint8_t> file, int stream)
{
    if (stream < 0 || !IdIs(file, 0, "RIFF") || !IdIs(file, 8, "AVI "))
        return std::nullopt;
    const std::size_t fileEnd = file.size();
    const std::optional<Chunk> header = FindList(file, 12, fileEnd, "hdrl", 0);
    if (!header)
        return std::nullopt;
    const std::size_t headerEnd = header->start + 8 + header->size;
    const std::optional<Chunk> list = FindList(file, header->start + 12, headerEnd, "strl", stream);
    if (!list)
        return std::nullopt;
    // The field counts only where the stream list, the header list and the bytes all hold
    // it, whatever size a chunk claims.
    const std::size_t listEnd = std::min({list->start + 8 + list->size, headerEnd, fileEnd});
    for (std::size_t at = list->start + 12;;) {
        const std::optional<Chunk> chunk = ChunkAt(file, at, listEnd);
        if (!chunk)
            return std::nullopt;
        if (IdIs(file, at, "strh"))
            return chunk->size >= 4 && at + 12 <= listEnd ? std::optional(at + 8) : std::nullopt;
        at = After(*chunk);
    }
}

}  // namespace av
