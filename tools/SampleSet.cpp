#include "tools/SampleSet.h"

#include "tools/SampleAudio.h"
#include "tools/SamplePictures.h"

#include "platform/av/AviWriter.h"
#include "platform/av/StreamFormatPtr.h"

#include <opencv2/imgcodecs.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// Stores the message for the caller and gives false, so a failing step ends with it.
bool Fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return false;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return Fail(error, "samples: writing " + path + " failed");
    return true;
}

bool WritePicture(const std::string& path, const cv::Mat& picture, const std::vector<int>& options,
                  std::string* error)
{
    bool written = false;
    try {
        written = cv::imwrite(path, picture, options);
    } catch (const cv::Exception& e) {
        return Fail(error, "samples: writing " + path + " failed: " + e.what());
    }
    return written || Fail(error, "samples: writing " + path + " failed");
}

}  // namespace

bool WriteTemplateVideo(const std::string& path, std::string* error)
{
    std::string reason;
    std::unique_ptr<av::AviWriter> writer = av::AviWriter::Create(path, &reason);
    if (!writer)
        return Fail(error, "samples: creating " + path + " failed: " + reason);
    const int stream = writer->AddStream(
        av::RawVideoFormat(kTemplateWidth, kTemplateHeight, kTemplateFramesPerSecond), &reason);
    if (stream < 0)
        return Fail(error, "samples: adding the video stream to " + path + " failed: " + reason);
    const auto frameTime = [](int index) {
        return static_cast<av::MediaTime>(index * av::kMediaTimePerSecond /
                                          kTemplateFramesPerSecond);
    };
    for (int i = 0; i < kTemplateFrameCount; ++i) {
        ImagePtr frame = TemplateFrame(i);
        if (!frame)
            return Fail(error, "samples: out of memory drawing frame " + std::to_string(i));
        // The frame's rows are already stored bottom-up and padded, as the raw format asks.
        if (!writer->Write(stream, frame->data(), frame->imageSize(), frameTime(i),
                           frameTime(i + 1), true, &reason)) {
            return Fail(error, "samples: writing frame " + std::to_string(i) + " to " + path +
                                   " failed: " + reason);
        }
    }
    if (!writer->Finish(&reason))
        return Fail(error, "samples: finishing " + path + " failed: " + reason);
    return true;
}

bool WriteSampleSet(const std::string& root, std::string* error)
{
    const std::filesystem::path base(root);
    for (std::string_view file : kSampleFiles) {
        std::error_code failure;
        const std::filesystem::path folder = (base / file).parent_path();
        std::filesystem::create_directories(folder, failure);
        if (failure)
            return Fail(error,
                        "samples: creating " + folder.string() + " failed: " + failure.message());
    }
    const auto at = [&base](std::string_view file) { return (base / file).string(); };
    return WriteTemplateVideo(at(kSampleTemplate), error) &&
           WritePicture(at(kSampleFace), FacePicture(), {}, error) &&
           WritePicture(at(kSampleBackground), BackgroundPicture(), {cv::IMWRITE_JPEG_QUALITY, 92},
                        error) &&
           WriteBytes(at(kSampleWave), MelodyWave(), error) &&
           WriteBytes(at(kSampleMidi), MelodyMidi(), error);
}
