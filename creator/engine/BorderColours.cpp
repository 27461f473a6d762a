#include "creator/engine/BorderColours.h"

BorderColours::BorderColours(const Image& picture) : picture_(picture)
{
    if (!picture.hasData())
        return;
    const int w = picture.width();
    const int h = picture.height();
    auto add = [&](int x, int y) { groups_[Key(x, y)].emplace_back(x, y); };
    for (int x = 0; x < w; ++x) {
        add(x, 0);
        add(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        add(0, y);
        add(w - 1, y);
    }
}

std::uint32_t BorderColours::Key(int x, int y) const
{
    const std::uint8_t* p = picture_.pixel(x, y);
    if (picture_.channels() < 3)
        return p[0];
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16;
}

const std::vector<cv::Point>& BorderColours::Matching(int x, int y) const
{
    const auto found = groups_.find(Key(x, y));
    return found == groups_.end() ? none_ : found->second;
}
