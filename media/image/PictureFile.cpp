#include "media/image/PictureFile.h"

#include "platform/win/Files.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <exception>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// More than any picture of kMaxPicturePixels takes in an offered format (a 32-bit BMP of
// that size is 400 MB, a 16-bit PNG with alpha 800 MB before compression), so a larger
// file is refused before it is read into memory.
constexpr std::uint64_t kMaxFileBytes = 1u << 30;

struct PictureSize {
    std::uint64_t width = 0;
    std::uint64_t height = 0;
};

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view signature)
{
    return bytes.size() >= signature.size() &&
           std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

// The file header (14 bytes), then the info header, whose first field is its own size:
// 12 bytes for the oldest form with 16-bit sizes, more for the later ones with 32-bit
// signed sizes (a negative height stores the rows top-down).
std::optional<PictureSize> BmpSize(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 26)
        return std::nullopt;
    const std::uint32_t infoSize = LittleEndian(bytes, 14, 4);
    if (infoSize == 12)
        return PictureSize{LittleEndian(bytes, 18, 2), LittleEndian(bytes, 20, 2)};
    const auto magnitude = [&](std::size_t at) {
        const auto value = static_cast<std::int32_t>(LittleEndian(bytes, at, 4));
        return static_cast<std::uint64_t>(value < 0 ? -static_cast<std::int64_t>(value) : value);
    };
    return PictureSize{magnitude(18), magnitude(22)};
}

// The signature, then the IHDR chunk, which must come first: width and height as
// big-endian 32-bit values.
std::optional<PictureSize> PngSize(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 24 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return std::nullopt;
    return PictureSize{BigEndian(bytes, 16, 4), BigEndian(bytes, 20, 4)};
}

// The first start-of-frame segment, walking the markers the way the decoder does: bytes
// other than a marker between segments are skipped, as are fill bytes (0xFF) before one.
// No frame before the scan or the end: no size.
std::optional<PictureSize> JpegSize(std::span<const std::uint8_t> bytes)
{
    std::size_t at = 2;
    while (at < bytes.size()) {
        if (bytes[at] != 0xFF) {
            ++at;
            continue;
        }
        while (at < bytes.size() && bytes[at] == 0xFF)
            ++at;
        if (at >= bytes.size())
            break;
        const std::uint8_t marker = bytes[at++];
        const bool standalone = marker == 0x00 || marker == 0x01 || marker == 0xD8 ||
                                (marker >= 0xD0 && marker <= 0xD7);
        if (standalone)
            continue;
        if (marker == 0xD9 || marker == 0xDA || at + 2 > bytes.size())
            break;
        const std::uint32_t length = BigEndian(bytes, at, 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 7 > bytes.size())
                break;
            return PictureSize{BigEndian(bytes, at + 5, 2), BigEndian(bytes, at + 3, 2)};
        }
        at += length;
    }
    return std::nullopt;
}

// The size that the header of an offered format states; nothing for other formats.
std::optional<PictureSize> OfferedPictureSize(std::span<const std::uint8_t> bytes)
{
    if (StartsWith(bytes, "BM"))
        return BmpSize(bytes);
    if (StartsWith(bytes, "\xFF\xD8\xFF"))
        return JpegSize(bytes);
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n"))
        return PngSize(bytes);
    return std::nullopt;
}

cv::Mat ToStorableLayout(const cv::Mat& stored)
{
    cv::Mat picture = stored;
    if (picture.depth() == CV_16U)
        picture.convertTo(picture, CV_8U, 1.0 / 257.0);
    else if (picture.depth() == CV_32F || picture.depth() == CV_64F)
        picture.convertTo(picture, CV_8U, 255.0);
    else if (picture.depth() != CV_8U)
        picture.convertTo(picture, CV_8U);
    switch (picture.channels()) {
    case 1:
    case 3:
        return picture;
    case 2: {
        cv::Mat grey;
        cv::extractChannel(picture, grey, 0);
        cv::cvtColor(grey, picture, cv::COLOR_GRAY2BGR);
        return picture;
    }
    case 4:
        cv::cvtColor(picture, picture, cv::COLOR_BGRA2BGR);
        return picture;
    default:
        return cv::Mat();
    }
}

}  // namespace

ImagePtr DecodePicture(std::span<const std::uint8_t> bytes)
{
    const std::optional<PictureSize> size = OfferedPictureSize(bytes);
    if (!size || bytes.size() > kMaxFileBytes || size->width > kMaxPicturePixels ||
        size->height > kMaxPicturePixels || size->width * size->height > kMaxPicturePixels)
        return nullptr;
    try {
        const cv::Mat encoded(1, static_cast<int>(bytes.size()), CV_8UC1,
                              const_cast<std::uint8_t*>(bytes.data()));
        const cv::Mat stored = cv::imdecode(encoded, cv::IMREAD_UNCHANGED);
        if (stored.empty())
            return nullptr;
        return Image::FromMat(ToStorableLayout(stored), ImageOrigin::TopLeft);
    } catch (const std::exception&) {  // the image library's errors, or out of memory
        return nullptr;
    }
}

ImagePtr LoadPicture(const char* fileName)
{
    std::vector<std::uint8_t> bytes;
    if (ReadFileBytes(fileName, kMaxFileBytes, bytes) != FileRead::Read)
        return nullptr;
    return DecodePicture(bytes);
}
