#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace av {

// Where, in the bytes of an AVI file's start, the stream type (fccType) of the stream
// header of stream number `stream` lies: inside the header list ("hdrl"), in that
// stream's list ("strl"), 8 bytes into its "strh" chunk. Nothing when the bytes hold no
// such header or its four bytes of type would lie outside the stream list, the header
// list or `file`; never reads outside `file`.
std::optional<std::size_t> FindStreamTypeField(std::span<const std::uint8_t> file, int stream);

}  // namespace av
