#pragma once

#include <algorithm>
#include <cmath>

// What the editor's pages offer, and so what the converters hold the settings they are
// given to: any other caller gets the pages' nearest value.

// The file step: 1 to this. A larger one would have the files-to-AVI run probe that many
// names for each frame.
inline constexpr int kLargestFileStep = 100;

// Frame rates in hundredths of a frame a second: 1.00 to 4.00. A rate near 0 would give
// each frame a duration beyond any time stamp.
inline constexpr int kLowestFrameRateHundredths = 100;
inline constexpr int kHighestFrameRateHundredths = 400;

// A file step held to what the pages offer.
inline int HeldFileStep(int step)
{
    return std::clamp(step, 1, kLargestFileStep);
}

// A frame rate held to what the pages offer; a rate that is not positive (which would give
// each frame minutes or no time at all) keeps the current one.
inline float HeldFrameRate(float rate, float current)
{
    if (!(rate > 0.0f) || !std::isfinite(rate))
        return current;
    return std::clamp(rate, kLowestFrameRateHundredths / 100.0f,
                      kHighestFrameRateHundredths / 100.0f);
}
