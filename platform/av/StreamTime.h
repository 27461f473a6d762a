#pragma once

#include "platform/av/MediaTime.h"

extern "C" {
#include <libavutil/mathematics.h>
#include <libavutil/rational.h>
}

#include <cstdint>

namespace av {

// The two directions between our 100-nanosecond MediaTime and a stream's own time base,
// both rounded to the nearest tick so that a time survives the round trip.
inline constexpr AVRational kMediaTimeBase{1, static_cast<int>(kMediaTimePerSecond)};

// time in MediaTime units -> ticks of timeBase.
inline std::int64_t ToStreamTicks(MediaTime time, AVRational timeBase)
{
    return av_rescale_q_rnd(time, kMediaTimeBase, timeBase,
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

// ticks of timeBase -> MediaTime units.
inline MediaTime ToMediaTime(std::int64_t ticks, AVRational timeBase)
{
    return av_rescale_q_rnd(ticks, timeBase, kMediaTimeBase,
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

}  // namespace av
