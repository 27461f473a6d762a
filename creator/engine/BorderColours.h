#pragma once

#include "media/image/Image.h"

#include <opencv2/core.hpp>

#include <cstdint>
#include <unordered_map>
#include <vector>

// A picture's border pixels grouped by exact colour, each group in the order the border
// is walked (along the columns the first and the last row, then along the rows the first
// and the last column). A candidate region grows only from border pixels of its seed's
// colour, so each candidate looks at its own group instead of walking the whole border.
// Keeps a reference to picture (1 or 3 channels), which must outlive it.
class BorderColours {
public:
    explicit BorderColours(const Image& picture);
    // The border pixels of exactly the colour of picture pixel (x, y).
    const std::vector<cv::Point>& Matching(int x, int y) const;

private:
    std::uint32_t Key(int x, int y) const;

    const Image& picture_;
    std::unordered_map<std::uint32_t, std::vector<cv::Point>> groups_;
    std::vector<cv::Point> none_;
};
