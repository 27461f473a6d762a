#include "FuzzTargets.h"

#include "media/BufferFrame.h"
#include "media/image/PictureFile.h"

#include <cstring>
#include <string>

namespace {

constexpr std::string_view kTarget = "picture_load";

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view signature)
{
    return bytes.size() >= signature.size() &&
           std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

void FuzzPictureLoad(std::span<const std::uint8_t> input)
{
    // No extension: the first bytes alone decide.
    const std::string path = WriteScratchFile("input-picture", input);
    CBufferFrame source;
    source.SetFileName(path.c_str());
    Require(source.LoadFile(), kTarget, "a named file loads, as a picture or as none");
    void* held = nullptr;
    if (source.GetData(&held, nullptr)) {
        const Image& picture = *static_cast<const Image*>(held);
        Require(StartsWith(input, "BM") || StartsWith(input, "\xFF\xD8\xFF") ||
                    StartsWith(input, "\x89PNG\r\n\x1A\n"),
                kTarget, "only BMP, JPEG and PNG files are decoded");
        Require(static_cast<std::uint64_t>(picture.width()) * picture.height() <= kMaxPicturePixels,
                kTarget, "a picture has at most the most pixels a picture may have");
        Require(picture.channels() == 1 || picture.channels() == 3, kTarget,
                "a picture has 1 or 3 channels");
        Require(picture.origin() == ImageOrigin::TopLeft, kTarget,
                "a picture's first row is its top");
    }
    source.Close();
}
