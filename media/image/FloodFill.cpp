#include "media/image/FloodFill.h"

#include "media/image/ColourBlock.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A run of row y - dy that was taken; row y is still to be looked at between left and
// right (and beyond, where runs of row y continue).
struct Span {
    int left;
    int right;
    int y;
    int dy;
};

// Span fill: every run of a row is found by one scan and taken at once, and only the
// rows above and below a taken run are looked at again. fill.At(y) gives a row with
// Inside(x) (whether a pixel may still be taken; false once taken) and Take(left, right).
// The spans waiting are kept per thread, so that the many small fills of a search do not
// allocate.
template <typename Fill>
void SpanFill(Fill& fill, int width, int height, cv::Point seed)
{
    if (!fill.At(seed.y).Inside(seed.x))
        return;
    thread_local std::vector<Span> pending;
    pending.clear();
    pending.push_back({seed.x, seed.x, seed.y, 1});
    pending.push_back({seed.x, seed.x, seed.y - 1, -1});
    while (!pending.empty()) {
        Span s = pending.back();
        pending.pop_back();
        if (s.y < 0 || s.y >= height)
            continue;
        auto row = fill.At(s.y);
        int x = s.left;
        if (row.Inside(x)) {
            x = row.InsideStart(x);
            if (x < s.left)
                pending.push_back({x, s.left - 1, s.y - s.dy, -s.dy});
        }
        int x1 = s.left;
        while (x1 <= s.right) {
            x1 = row.InsideEnd(x1, width);
            if (x1 > x) {
                row.Take(x, x1 - 1);
                pending.push_back({x, x1 - 1, s.y + s.dy, s.dy});
                if (x1 - 1 > s.right)
                    pending.push_back({s.right + 1, x1 - 1, s.y - s.dy, -s.dy});
            }
            ++x1;
            if (x1 < s.right)
                x1 = row.OutsideEnd(x1, s.right);
            x = x1;
        }
    }
}

// The run scans of a fill's row, for rows whose pixels may still be taken where their
// fill-mask byte is 0 (mask, or none for a fill that marks the picture itself) and their
// colour qualifies (row.Qualifies). Long runs of one colour, the common case in the
// quantised frames the search works on, are passed over eight pixels at a time: eight
// untaken pixels of a colour that qualifies all qualify.
template <int Channels, typename Row>
class RunScan {
public:
    // The first x' from x on, below end, that may not be taken; end when all may.
    static int InsideEnd(Row& row, int x, int end)
    {
        while (x < end) {
            if (!row.Inside(x))
                return x;
            const std::uint8_t* colour = row.Pixel(x);
            ++x;
            if (x + 8 > end || std::memcmp(row.Pixel(x), colour, Channels) != 0)
                continue;
            ColourBlock<Channels>& block = row.Block();
            if (!block.Is(colour))
                block.Set(colour);
            while (x + 8 <= end && row.Untaken8(x) && block.Matches(row.Pixel(x)))
                x += 8;
        }
        return end;
    }

    // The first x' from x on, below end, that may be taken; end when none may.
    static int OutsideEnd(Row& row, int x, int end)
    {
        while (x < end && !row.Inside(x))
            ++x;
        return x;
    }

    // Given that x may be taken: the least x' <= x from which all up to x may.
    static int InsideStart(Row& row, int x)
    {
        while (x > 0 && row.Inside(x - 1))
            --x;
        return x;
    }
};

// Collects area and bounds of the taken runs.
class Tally {
public:
    void AddRun(int left, int right, int y)
    {
        area_ += right - left + 1;
        left_ = std::min(left_, left);
        right_ = std::max(right_, right);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y);
    }

    // With the channel sums of the taken pixels, for the mean value.
    ConnectedComponent Component(const long long* sums) const
    {
        ConnectedComponent component;
        if (area_ == 0)
            return component;
        component.area = static_cast<double>(area_);
        component.rect = cv::Rect(left_, top_, right_ - left_ + 1, bottom_ - top_ + 1);
        if (sums) {
            for (int c = 0; c < 3; ++c)
                component.value[c] = static_cast<double>(sums[c]) / component.area;
        }
        return component;
    }

private:
    long long area_ = 0;
    int left_ = 1 << 30;
    int right_ = -1;
    int top_ = 1 << 30;
    int bottom_ = -1;
};

// The masked, mask-only fill of a picture of Channels channels.
template <int Channels>
class MaskOnlyFill {
public:
    MaskOnlyFill(const cv::Mat& picture, cv::Point seed, int lo, int up, cv::Mat& fillMask)
        : picture_(picture), fillMask_(fillMask)
    {
        const std::uint8_t* seedPixel = picture.ptr<std::uint8_t>(seed.y) + seed.x * Channels;
        for (int c = 0; c < Channels; ++c) {
            low_[c] = seedPixel[c] - lo;
            width_[c] = static_cast<unsigned>(up + lo);
        }
    }

    class Row {
    public:
        Row(MaskOnlyFill& fill, int y)
            : fill_(fill), pixels_(fill.picture_.template ptr<std::uint8_t>(y)),
              mask_(fill.fillMask_.template ptr<std::uint8_t>(y + 1) + 1), y_(y)
        {}
        // A channel joins within [seed - lo, seed + up]: counted from the low end, an
        // unsigned difference beyond the range's width is outside it on either side.
        bool Inside(int x) const
        {
            if (mask_[x] != 0)
                return false;
            const std::uint8_t* p = pixels_ + x * Channels;
            for (int c = 0; c < Channels; ++c) {
                if (static_cast<unsigned>(p[c] - fill_.low_[c]) > fill_.width_[c])
                    return false;
            }
            return true;
        }
        const std::uint8_t* Pixel(int x) const { return pixels_ + x * Channels; }
        bool Untaken8(int x) const { return ColourBlock<1>::Load8(mask_ + x) == 0; }
        ColourBlock<Channels>& Block() { return fill_.block_; }

        int InsideEnd(int x, int end) { return RunScan<Channels, Row>::InsideEnd(*this, x, end); }
        int OutsideEnd(int x, int end) { return RunScan<Channels, Row>::OutsideEnd(*this, x, end); }
        int InsideStart(int x) { return RunScan<Channels, Row>::InsideStart(*this, x); }

        void Take(int left, int right)
        {
            std::memset(mask_ + left, 1, static_cast<std::size_t>(right - left + 1));
            fill_.tally_.AddRun(left, right, y_);
            const std::uint8_t* p = pixels_ + left * Channels;
            const std::uint8_t* end = pixels_ + (right + 1) * Channels;
            if (Channels == 3) {
                long long s0 = 0;
                long long s1 = 0;
                long long s2 = 0;
                for (; p < end; p += 3) {
                    s0 += p[0];
                    s1 += p[1];
                    s2 += p[2];
                }
                fill_.sums_[0] += s0;
                fill_.sums_[1] += s1;
                fill_.sums_[2] += s2;
                return;
            }
            long long s0 = 0;
            for (; p < end; ++p)
                s0 += p[0];
            fill_.sums_[0] += s0;
        }

    private:
        MaskOnlyFill& fill_;
        const std::uint8_t* pixels_;
        std::uint8_t* mask_;  // the mask byte of the row's pixel 0
        int y_;
    };

    Row At(int y) { return Row(*this, y); }
    ConnectedComponent Component() const { return tally_.Component(sums_); }

private:
    const cv::Mat& picture_;
    cv::Mat& fillMask_;
    int low_[Channels];
    unsigned width_[Channels];
    Tally tally_;
    long long sums_[3] = {0, 0, 0};
    ColourBlock<Channels> block_;
};

// The plain fill of a 1-channel image: pixels of the seed's value take the new one.
class ValueFill {
public:
    ValueFill(cv::Mat& image, std::uint8_t oldValue, std::uint8_t newValue)
        : image_(image), oldValue_(oldValue), newValue_(newValue)
    {}

    class Row {
    public:
        Row(ValueFill& fill, int y) : fill_(fill), pixels_(fill.image_.ptr<std::uint8_t>(y)), y_(y)
        {}
        bool Inside(int x) const { return pixels_[x] == fill_.oldValue_; }
        const std::uint8_t* Pixel(int x) const { return pixels_ + x; }
        // The picture itself is marked: a pixel taken has the new value, no longer the old.
        bool Untaken8(int) const { return true; }
        ColourBlock<1>& Block() { return fill_.block_; }

        int InsideEnd(int x, int end) { return RunScan<1, Row>::InsideEnd(*this, x, end); }
        int OutsideEnd(int x, int end) { return RunScan<1, Row>::OutsideEnd(*this, x, end); }
        int InsideStart(int x) { return RunScan<1, Row>::InsideStart(*this, x); }

        void Take(int left, int right)
        {
            std::memset(pixels_ + left, fill_.newValue_,
                        static_cast<std::size_t>(right - left + 1));
            fill_.tally_.AddRun(left, right, y_);
        }

    private:
        ValueFill& fill_;
        std::uint8_t* pixels_;
        int y_;
    };

    Row At(int y) { return Row(*this, y); }
    ConnectedComponent Component() const { return tally_.Component(nullptr); }

private:
    cv::Mat& image_;
    std::uint8_t oldValue_;
    std::uint8_t newValue_;
    Tally tally_;
    ColourBlock<1> block_;
};

template <int Channels>
ConnectedComponent FillMaskOnly(const cv::Mat& picture, cv::Point seed, int lo, int up,
                                cv::Mat& fillMask)
{
    // An empty range takes nothing, not even the seed.
    if (lo + up < 0)
        return ConnectedComponent();
    MaskOnlyFill<Channels> fill(picture, seed, lo, up, fillMask);
    SpanFill(fill, picture.cols, picture.rows, seed);
    return fill.Component();
}

bool Contains(const cv::Mat& image, cv::Point p)
{
    return p.x >= 0 && p.y >= 0 && p.x < image.cols && p.y < image.rows;
}

}  // namespace

void SetFillMaskRing(cv::Mat fillMask)
{
    if (fillMask.rows < 2 || fillMask.cols < 2)
        return;
    const auto width = static_cast<std::size_t>(fillMask.cols);
    std::memset(fillMask.ptr<std::uint8_t>(0), 1, width);
    std::memset(fillMask.ptr<std::uint8_t>(fillMask.rows - 1), 1, width);
    for (int y = 1; y < fillMask.rows - 1; ++y) {
        std::uint8_t* row = fillMask.ptr<std::uint8_t>(y);
        row[0] = 1;
        row[width - 1] = 1;
    }
}

ConnectedComponent FloodFillMaskOnly(const cv::Mat& picture, cv::Point seed, int lo, int up,
                                     cv::Mat fillMask, FillMaskRing ring)
{
    const bool usable = picture.depth() == CV_8U &&
                        (picture.channels() == 1 || picture.channels() == 3) &&
                        fillMask.type() == CV_8UC1 && fillMask.cols == picture.cols + 2 &&
                        fillMask.rows == picture.rows + 2;
    if (!usable || !Contains(picture, seed))
        return ConnectedComponent();
    if (ring == FillMaskRing::Set)
        SetFillMaskRing(fillMask);
    if (picture.channels() == 1)
        return FillMaskOnly<1>(picture, seed, lo, up, fillMask);
    return FillMaskOnly<3>(picture, seed, lo, up, fillMask);
}

ConnectedComponent FloodFillValue(cv::Mat image, cv::Point seed, std::uint8_t newValue)
{
    if (image.type() != CV_8UC1 || !Contains(image, seed))
        return ConnectedComponent();
    const std::uint8_t oldValue = image.at<std::uint8_t>(seed.y, seed.x);
    if (oldValue == newValue) {
        // Writing the value marks nothing, so the pixels are told apart with a mask.
        cv::Mat taken(image.rows + 2, image.cols + 2, CV_8UC1, cv::Scalar::all(0));
        ConnectedComponent component = FloodFillMaskOnly(image, seed, 0, 0, taken);
        component.value = cv::Scalar(newValue);
        return component;
    }
    ValueFill fill(image, oldValue, newValue);
    SpanFill(fill, image.cols, image.rows, seed);
    ConnectedComponent component = fill.Component();
    component.value = cv::Scalar(newValue);
    return component;
}
