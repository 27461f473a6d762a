#include "creator/engine/AviAudioDelay.h"

#include "platform/av/AviWriter.h"

#include "support/AudioStart.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Two seconds of 64 x 48 frames at 10 per second and of 22050 Hz mono sound, as our AVI
// writer stores them.
std::string WriteShortAvi(const testmedia::TempFolder& folder)
{
    const std::string path = folder.path("written.avi");
    std::string error;
    auto writer = av::AviWriter::Create(path, &error);
    EXPECT_TRUE(writer) << error;
    if (!writer)
        return path;
    const int video = writer->AddStream(av::RawVideoFormat(64, 48, 10.0), &error);
    const int audio = writer->AddStream(av::PcmAudioFormat(22050, 1), &error);
    const std::vector<std::uint8_t> frame(64 * 3 * 48, 128);
    const std::vector<std::uint8_t> sound(2205 * 2, 0);
    for (int i = 0; i < 20; ++i) {
        const av::MediaTime start = i * av::kMediaTimePerSecond / 10;
        const av::MediaTime end = start + av::kMediaTimePerSecond / 10;
        writer->Write(video, frame.data(), frame.size(), start, end, true, &error);
        writer->Write(audio, sound.data(), sound.size(), start, end, true, &error);
    }
    EXPECT_TRUE(writer->Finish(&error)) << error;
    return path;
}

// The file with a JUNK chunk of `size` bytes put before its header list, the RIFF size
// grown to match; the media data and its index keep their offsets relative to "movi".
bool InsertJunkBeforeTheHeaders(const std::string& path, std::uint32_t size)
{
    std::string bytes = testmedia::ReadWholeFile(path);
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0)
        return false;
    auto le32 = [](std::uint32_t value) {
        std::string text;
        for (int i = 0; i < 4; ++i)
            text += static_cast<char>(value >> (8 * i));
        return text;
    };
    std::uint32_t riffSize = 0;
    for (int i = 0; i < 4; ++i)
        riffSize |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[4 + i])) << (8 * i);
    const std::string junk = "JUNK" + le32(size) + std::string(size, '\0');
    bytes.replace(4, 4, le32(riffSize + static_cast<std::uint32_t>(junk.size())));
    bytes.insert(12, junk);
    return testmedia::WriteTextFile(path, bytes);
}

}  // namespace

TEST(AviAudioDelayOnWrittenFile, TheDemuxerPlaysTheAudioFromTheDelay)
{
    testmedia::TempFolder folder;
    const std::string path = WriteShortAvi(folder);
    ASSERT_NEAR(testmedia::FirstAudioSampleSeconds(path), 0.0, 0.001);

    ASSERT_EQ(SetAviAudioDelay(path.c_str(), 1500), 1);
    EXPECT_NEAR(testmedia::FirstAudioSampleSeconds(path), 1.5, 0.001);
}

TEST(AviAudioDelayOnWrittenFile, CheckOnlyCallLeavesTheFileAsItWas)
{
    testmedia::TempFolder folder;
    const std::string path = WriteShortAvi(folder);
    const std::string before = testmedia::ReadWholeFile(path);
    EXPECT_EQ(SetAviAudioDelay(path.c_str(), -1), 1);
    EXPECT_EQ(testmedia::ReadWholeFile(path), before);
}

TEST(AviAudioDelayOnWrittenFile, FileOfAnotherWriterWithJunkBeforeItsHeadersIsPatched)
{
    testmedia::TempFolder folder;
    const std::string path = folder.path("other.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(path, "mjpeg", 64, 48, 10, 20, true));
    ASSERT_TRUE(InsertJunkBeforeTheHeaders(path, 2036));
    ASSERT_NEAR(testmedia::FirstAudioSampleSeconds(path), 0.0, 0.001);

    ASSERT_EQ(SetAviAudioDelay(path.c_str(), 1500), 1);
    EXPECT_NEAR(testmedia::FirstAudioSampleSeconds(path), 1.5, 0.001);
}
