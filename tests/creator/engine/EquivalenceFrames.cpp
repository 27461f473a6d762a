#include "creator/engine/EquivalenceFrames.h"

#include "creator/engine/CompositionPictures.h"
#include "tools/SamplePictures.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace {

// The frame stretched to width x height without blending. (By hand: OpenCV would hand a
// large resize to its thread pool, whose workings ThreadSanitizer runs cannot see.)
ImagePtr Stretched(const Image& frame, int width, int height)
{
    ImagePtr stretched = Image::Create(width, height, 3, ImageOrigin::BottomLeft);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::memcpy(stretched->pixel(x, y),
                        frame.pixel(x * frame.width() / width, y * frame.height() / height), 3);
    return stretched;
}

// Each pixel the mean of its 3 x 3 window (clipped): edges carry mixed colours.
ImagePtr Softened(const Image& frame)
{
    ImagePtr softened = Image::Create(frame.width(), frame.height(), 3, ImageOrigin::BottomLeft);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                int count = 0;
                for (int wy = std::max(y - 1, 0); wy <= std::min(y + 1, frame.height() - 1); ++wy)
                    for (int wx = std::max(x - 1, 0); wx <= std::min(x + 1, frame.width() - 1);
                         ++wx, ++count)
                        sum += frame.pixel(wx, wy)[c];
                softened->pixel(x, y)[c] = static_cast<std::uint8_t>(sum / count);
            }
    return softened;
}

ImagePtr Gradient(int width, int height)
{
    ImagePtr frame = Image::Create(width, height, 3, ImageOrigin::BottomLeft);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = frame->pixel(x, y);
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(2 * y);
            p[2] = static_cast<std::uint8_t>((x + y) / 3);
        }
    return frame;
}

}  // namespace

ImagePtr NoiseFrame(int width, int height, unsigned seed, bool runs)
{
    ImagePtr frame = Image::Create(width, height, 3, ImageOrigin::BottomLeft);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = frame->pixel(x, y);
            const bool repeat = runs && x > 0 && random() % 2 == 0;
            for (int c = 0; c < 3; ++c)
                p[c] = repeat ? p[c - 3] : static_cast<std::uint8_t>(random());
        }
    return frame;
}

std::vector<NamedFrame> EquivalenceFrames()
{
    std::vector<NamedFrame> frames;
    for (const int index : {0, 13, 25, 38})
        frames.push_back({"template " + std::to_string(index), TemplateFrame(index)});
    frames.push_back({"template 25 at 640 x 480", Stretched(*TemplateFrame(25), 640, 480)});
    frames.push_back(
        {"template 30 at 333 x 251, softened", Softened(*Stretched(*TemplateFrame(30), 333, 251))});
    frames.push_back(
        {"template 44 at 64 x 48, softened", Softened(*Stretched(*TemplateFrame(44), 64, 48))});
    frames.push_back({"synthetic template", composition_pictures::TemplateFrame()});
    frames.push_back({"gradient", Gradient(300, 130)});
    frames.push_back({"3 x 3 noise", NoiseFrame(3, 3, 1)});
    frames.push_back({"2 x 5 noise", NoiseFrame(2, 5, 2)});
    frames.push_back({"noise", NoiseFrame(120, 90, 3)});
    frames.push_back({"noise in runs", NoiseFrame(120, 90, 4, true)});
    return frames;
}

bool SameBytes(const Image& a, const Image& b)
{
    if (!ImagesMatch(a, b))
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), static_cast<std::size_t>(a.width()) * a.channels()) !=
            0)
            return false;
    return true;
}
