#include "creator/engine/EquivalenceFrames.h"

#include "creator/engine/CompositionPictures.h"
#include "tools/SamplePictures.h"

#include <opencv2/imgproc.hpp>

#include <cstring>
#include <random>

namespace {

ImagePtr Resized(const Image& frame, int width, int height, int interpolation)
{
    ImagePtr resized = Image::Create(width, height, 3, ImageOrigin::BottomLeft);
    cv::Mat target = resized->fullMat();
    cv::resize(frame.fullMat(), target, target.size(), 0, 0, interpolation);
    return resized;
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
    frames.push_back(
        {"template 25 at 640 x 480", Resized(*TemplateFrame(25), 640, 480, cv::INTER_NEAREST)});
    frames.push_back({"template 30 at 333 x 251, blended",
                      Resized(*TemplateFrame(30), 333, 251, cv::INTER_LINEAR)});
    frames.push_back(
        {"template 44 at 64 x 48, blended", Resized(*TemplateFrame(44), 64, 48, cv::INTER_AREA)});
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
