#include "creator/app/CreationProgress.h"

#include "platform/dshow/MediaTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// A creation that goes on this long past the template's counted frames is stopped.
constexpr double kOverrunSeconds = 5.0;
// Frame times come in whole 100-nanosecond units, each rounded to the nearest: a spacing
// measured between two of them may be up to one unit longer than the template's own
// (1/15 s is measured as 0.0666667 s, which leaves 74.99996 frames in five seconds).
constexpr double kTimeUnit = 1.0 / kUnitsPerSecond;

}  // namespace

std::string ProgressText(std::int64_t composed, std::int64_t frames)
{
    const std::int64_t shown = std::min(composed, frames);
    const std::int64_t percent =
        frames < 1 ? 100 : std::clamp<std::int64_t>(shown * 100 / frames, 0, 100);
    char text[96];
    std::snprintf(text, sizeof text, "Frame %lld of %lld (%lld%%)", static_cast<long long>(shown),
                  static_cast<long long>(frames), static_cast<long long>(percent));
    return text;
}

std::int64_t OverLongCount(int frameLimit, double largestGap)
{
    // Five seconds are reckoned at the shortest spacing that the measure allows.
    const double spacing = largestGap > kTimeUnit ? largestGap - kTimeUnit : largestGap;
    const double overrun = kOverrunSeconds / spacing;
    if (!std::isfinite(overrun) || overrun > std::numeric_limits<std::int32_t>::max() ||
        overrun < std::numeric_limits<std::int32_t>::min())
        return 1;
    return frameLimit + static_cast<std::int64_t>(std::trunc(overrun)) + 1;
}
