#pragma once

#include <cstdint>

namespace av {

// Every time that crosses the media layer's neutral interfaces is in 100-nanosecond
// units from the start of its stream, as the graph's sample times are.
using MediaTime = std::int64_t;
inline constexpr MediaTime kMediaTimePerSecond = 10'000'000;

}  // namespace av
