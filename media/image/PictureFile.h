#pragma once

#include "media/image/Image.h"

#include <cstdint>
#include <span>

// Pictures read from files, in the formats the programs offer: BMP, JPEG and PNG,
// recognised by their first bytes whatever the file is called, of at most
// kMaxPicturePixels pixels as their headers state. Anything else is refused before the
// image library decodes it, so that a hostile file reaches none of its other decoders and
// no allocation beyond what such a picture needs.
//
// A picture keeps 8 bits and 1 or 3 channels as stored: 16-bit samples are scaled down,
// floating ones taken as 0 to 1, and other channel layouts (alpha, grey with alpha)
// become blue, green, red. Its first row is the top row (origin top-left).

inline constexpr std::uint64_t kMaxPicturePixels = 100'000'000;

// The picture that the bytes of a file hold; null when they hold no picture of an offered
// format and size, or one that cannot be decoded. The caller owns the picture.
ImagePtr DecodePicture(std::span<const std::uint8_t> bytes);

// DecodePicture of a file's content; null also when the file cannot be read.
ImagePtr LoadPicture(const char* fileName);
