#pragma once

#include <cstdint>
#include <string>

// What the main dialog tells of a running creation: the status line's progress and the
// over-length stop. The counts are 64-bit, so that no sum of them overflows.

// "Frame <n> of <frames> (<percent>%)" once `composed` frames have been composed of a
// template counted as `frames`: n held to at most frames, the percent in whole numbers
// held to 0 .. 100, and 100 for a template without frames.
std::string ProgressText(std::int64_t composed, std::int64_t frames);

// The number of composed frames that makes a creation over-long: one more than the
// template's frame limit plus five seconds' worth of frames at the template's largest
// frame spacing (seconds), a spacing within the rounding of frame times to 100 ns of
// 1/n s giving 5 x n frames. A spacing that gives no finite count within the range of a
// 32-bit integer (0 when the reader saw one frame at time 0) makes it 1: every creation is
// over-long with its first frame.
std::int64_t OverLongCount(int frameLimit, double largestGap);
