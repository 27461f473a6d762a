#include "platform/av/AudioEncoder.h"
#include "platform/av/AviWriter.h"
#include "platform/av/EncoderEntry.h"
#include "platform/av/StreamFormat.h"
#include "platform/av/StreamFormatPtr.h"
#include "platform/av/VideoEncoder.h"

#include "AviProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using av::EncoderCategory;

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr double kFps = 10;
constexpr int kFrames = 10;
constexpr int kRate = 44100;

// A bottom-up 24-bit bitmap, rows padded to 4 bytes, whose pattern moves with n.
std::vector<std::uint8_t> Frame(int width, int height, int n)
{
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &bits[static_cast<std::size_t>(y) * stride + 3 * x];
            p[0] = static_cast<std::uint8_t>(x * 2 + n * 8);
            p[1] = static_cast<std::uint8_t>(y * 2);
            p[2] = static_cast<std::uint8_t>((x + y + n * 4) & 0xFF);
        }
    return bits;
}

std::vector<std::uint8_t> Tone(int rate, int channels, int samples)
{
    std::vector<std::uint8_t> pcm(static_cast<std::size_t>(samples) * channels * 2);
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<std::int16_t>(8000 * std::sin(i * 2 * M_PI * 440 / rate));
        for (int c = 0; c < channels; ++c) {
            pcm[(static_cast<std::size_t>(i) * channels + c) * 2] = v & 0xFF;
            pcm[(static_cast<std::size_t>(i) * channels + c) * 2 + 1] = (v >> 8) & 0xFF;
        }
    }
    return pcm;
}

bool WriteAll(av::AviWriter& writer, int stream, const std::vector<av::EncodedPacket>& packets)
{
    std::string error;
    for (const av::EncodedPacket& p : packets)
        if (!writer.Write(stream, p.data.data(), p.data.size(), p.startTime, p.endTime, p.keyFrame,
                          &error)) {
            ADD_FAILURE() << error;
            return false;
        }
    return true;
}

// Writes kFrames frames through the video compressor (or raw when empty) and one second
// of 44.1 kHz stereo through the audio compressor (or PCM when empty).
void WriteMovie(const std::string& path, const std::string& video, const std::string& audio)
{
    std::string error;
    std::unique_ptr<av::VideoEncoder> videoEncoder;
    std::unique_ptr<av::AudioEncoder> audioEncoder;
    av::StreamFormatPtr videoFormat = av::RawVideoFormat(kWidth, kHeight, kFps);
    av::StreamFormatPtr audioFormat = av::PcmAudioFormat(kRate, 2);
    if (!video.empty()) {
        videoEncoder = av::VideoEncoder::Open(video, kWidth, kHeight, kFps, &error);
        ASSERT_TRUE(videoEncoder) << error;
        videoFormat = videoEncoder->format();
    }
    if (!audio.empty()) {
        audioEncoder = av::AudioEncoder::Open(audio, kRate, 2, &error);
        ASSERT_TRUE(audioEncoder) << error;
        audioFormat = audioEncoder->format();
    }
    auto writer = av::AviWriter::Create(path, &error);
    ASSERT_TRUE(writer) << error;
    ASSERT_EQ(writer->AddStream(videoFormat, &error), 0) << error;
    ASSERT_EQ(writer->AddStream(audioFormat, &error), 1) << error;

    const std::vector<std::uint8_t> tone = Tone(kRate, 2, kRate);
    const std::size_t piece = tone.size() / kFrames;  // a tenth of a second, whole samples
    for (int n = 0; n < kFrames; ++n) {
        const av::MediaTime at = n * av::kMediaTimePerSecond / 10;
        const std::vector<std::uint8_t> frame = Frame(kWidth, kHeight, n);
        std::vector<av::EncodedPacket> packets;
        if (videoEncoder) {
            ASSERT_TRUE(videoEncoder->Encode(frame.data(), at, packets, &error)) << error;
            ASSERT_TRUE(WriteAll(*writer, 0, packets));
        } else {
            ASSERT_TRUE(writer->Write(0, frame.data(), frame.size(), at,
                                      at + av::kMediaTimePerSecond / 10, true, &error));
        }
        packets.clear();
        if (audioEncoder) {
            ASSERT_TRUE(audioEncoder->Encode(tone.data() + n * piece, piece, at, packets, &error))
                << error;
            ASSERT_TRUE(WriteAll(*writer, 1, packets));
        } else {
            ASSERT_TRUE(writer->Write(1, tone.data() + n * piece, piece, at,
                                      at + av::kMediaTimePerSecond / 10, true, &error));
        }
    }
    std::vector<av::EncodedPacket> rest;
    if (videoEncoder) {
        ASSERT_TRUE(videoEncoder->Flush(rest, &error)) << error;
        ASSERT_TRUE(WriteAll(*writer, 0, rest));
    }
    rest.clear();
    if (audioEncoder) {
        ASSERT_TRUE(audioEncoder->Flush(rest, &error)) << error;
        ASSERT_TRUE(WriteAll(*writer, 1, rest));
    }
    ASSERT_TRUE(writer->Finish(&error)) << error;
}

TEST(Compressors, ListsFollowTheTableOrderAndKeepCategoriesApart)
{
    const std::vector<av::EncoderEntry> video = av::AvailableEncoders(EncoderCategory::Video);
    const std::vector<av::EncoderEntry> audio = av::AvailableEncoders(EncoderCategory::Audio);
    ASSERT_GE(video.size(), 6u);
    EXPECT_EQ(video[0].friendlyName, "Microsoft Video 1");
    EXPECT_EQ(video[1].friendlyName, "Cinepak Codec by Radius");
    EXPECT_EQ(video[2].friendlyName, "MJPEG Compressor");
    ASSERT_GE(audio.size(), 6u);
    EXPECT_EQ(audio[0].friendlyName, "PCM");
    EXPECT_EQ(audio[0].codecName, "pcm_s16le");
    for (const av::EncoderEntry& e : video)
        EXPECT_EQ(e.category, EncoderCategory::Video) << e.friendlyName;
    for (const av::EncoderEntry& e : audio)
        EXPECT_EQ(e.category, EncoderCategory::Audio) << e.friendlyName;
}

TEST(Compressors, NameThatDiffersOnlyInLetterCaseOpens)
{
    std::string error;
    EXPECT_TRUE(av::VideoEncoder::Open("mjpeg COMPRESSOR", 64, 48, 25, &error)) << error;
    EXPECT_TRUE(av::AudioEncoder::Open("ima adpcm", 22050, 1, &error)) << error;
}

TEST(Compressors, NoCompressionAndNamesOfTheOtherCategoryAreNoCompressors)
{
    std::string error;
    EXPECT_FALSE(av::VideoEncoder::Open("(No Compression)", 64, 48, 25, &error));
    EXPECT_NE(error.find("(No Compression)"), std::string::npos);
    EXPECT_FALSE(av::AudioEncoder::Open("(No Compression)", 44100, 2, &error));
    EXPECT_FALSE(av::VideoEncoder::Open("PCM", 64, 48, 25, &error));
    EXPECT_FALSE(av::AudioEncoder::Open("MJPEG Compressor", 44100, 2, &error));
}

TEST(Compressors, SizeTheCodecCannotTakeFailsWithAMessage)
{
    std::string error;
    EXPECT_FALSE(av::VideoEncoder::Open("Microsoft Video 1", 62, 46, 25, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(av::VideoEncoder::Open("MJPEG Compressor", 64, 48, 0, &error));
    EXPECT_FALSE(av::VideoEncoder::Open("MJPEG Compressor", 0, 48, 25, &error));
}

TEST(Compressors, EveryVideoCompressorWritesAFileThatReadsBack)
{
    for (const av::EncoderEntry& entry : av::AvailableEncoders(EncoderCategory::Video)) {
        SCOPED_TRACE(entry.friendlyName);
        const std::string path = TestFolder("video") + "/out.avi";
        WriteMovie(path, entry.friendlyName, "");
        std::vector<ProbedStream> streams;
        std::string error;
        ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
        ASSERT_EQ(streams.size(), 2u);
        EXPECT_EQ(streams[0].type, "video");
        const std::string codec = entry.codecName == "libx264"   ? "h264"
                                  : entry.codecName == "msmpeg4" ? "msmpeg4v3"
                                                                 : entry.codecName;
        EXPECT_EQ(streams[0].codec, codec);
        EXPECT_EQ(streams[0].width, kWidth);
        EXPECT_EQ(streams[0].height, kHeight);
        EXPECT_EQ(streams[0].packets, kFrames);
        EXPECT_NEAR(streams[0].durationSeconds, 1.0, 0.01);
        EXPECT_EQ(streams[1].type, "audio");
        EXPECT_NEAR(streams[1].durationSeconds, 1.0, 0.01);
    }
}

TEST(Compressors, EveryAudioCompressorWritesAFileThatReadsBack)
{
    for (const av::EncoderEntry& entry : av::AvailableEncoders(EncoderCategory::Audio)) {
        SCOPED_TRACE(entry.friendlyName);
        const std::string path = TestFolder("audio") + "/out.avi";
        WriteMovie(path, "", entry.friendlyName);
        std::vector<ProbedStream> streams;
        std::string error;
        ASSERT_TRUE(ProbeFile(path, streams, &error)) << error;
        ASSERT_EQ(streams.size(), 2u);
        EXPECT_EQ(streams[0].packets, kFrames);
        EXPECT_EQ(streams[1].type, "audio");
        const std::string codec = entry.codecName == "libgsm_ms"    ? "gsm_ms"
                                  : entry.codecName == "libmp3lame" ? "mp3"
                                                                    : entry.codecName;
        EXPECT_EQ(streams[1].codec, codec);
        if (entry.codecName == "libgsm_ms") {
            EXPECT_EQ(streams[1].sampleRate, 8000);
            EXPECT_EQ(streams[1].channels, 1);
        } else {
            EXPECT_EQ(streams[1].sampleRate, kRate);
            EXPECT_EQ(streams[1].channels, 2);
        }
        // Codecs pad the last frame: up to one frame (at most 2048 samples here) longer.
        EXPECT_GE(streams[1].durationSeconds, 0.99);
        EXPECT_LE(streams[1].durationSeconds, 1.06);
    }
}

}  // namespace

namespace {

// Encodes one second of tone and returns the seconds its packets cover.
double EncodedSeconds(av::AudioEncoder& encoder, int rate, int channels)
{
    const std::vector<std::uint8_t> tone = Tone(rate, channels, rate);
    std::vector<av::EncodedPacket> packets;
    std::string error;
    EXPECT_TRUE(encoder.Encode(tone.data(), tone.size(), 0, packets, &error)) << error;
    EXPECT_TRUE(encoder.Flush(packets, &error)) << error;
    if (packets.empty())
        return 0;
    return static_cast<double>(packets.back().endTime - packets.front().startTime) /
           av::kMediaTimePerSecond;
}

TEST(AudioCompressors, SoundIsConvertedToTheRatesAndChannelsTheCodecTakes)
{
    std::string error;
    auto wma = av::AudioEncoder::Open("Windows Media Audio V2", 96000, 2, &error);
    ASSERT_TRUE(wma) << error;
    EXPECT_EQ(wma->format()->parameters().sample_rate, 48000);
    EXPECT_NEAR(EncodedSeconds(*wma, 96000, 2), 1.0, 0.1);
    auto ima = av::AudioEncoder::Open("IMA ADPCM", 11025, 3, &error);
    ASSERT_TRUE(ima) << error;
    EXPECT_EQ(ima->format()->parameters().ch_layout.nb_channels, 2);
    EXPECT_NEAR(EncodedSeconds(*ima, 11025, 3), 1.0, 0.1);
    // Not every build links the MP3 encoder.
    if (auto mp3 = av::AudioEncoder::Open("MPEG Layer-3", 37000, 1, &error)) {
        EXPECT_EQ(mp3->format()->parameters().sample_rate, 44100);
        EXPECT_NEAR(EncodedSeconds(*mp3, 37000, 1), 1.0, 0.1);
    }
}

TEST(AudioCompressors, PartialSampleFramesAreRefused)
{
    std::string error;
    auto pcm = av::AudioEncoder::Open("PCM", 8000, 2, &error);
    ASSERT_TRUE(pcm) << error;
    const std::uint8_t bytes[6] = {};
    std::vector<av::EncodedPacket> packets;
    EXPECT_FALSE(pcm->Encode(bytes, sizeof bytes, 0, packets, &error));
    EXPECT_TRUE(pcm->Encode(bytes, 4, 0, packets, &error)) << error;
}

TEST(VideoCompressors, FramesStampedAtOneTimeStillGetRisingTimes)
{
    std::string error;
    auto encoder = av::VideoEncoder::Open("MPEG-4 Part 2 Video", 64, 48, 25, &error);
    ASSERT_TRUE(encoder) << error;
    const std::vector<std::uint8_t> frame = Frame(64, 48, 0);
    std::vector<av::EncodedPacket> packets;
    for (int n = 0; n < 3; ++n)
        ASSERT_TRUE(encoder->Encode(frame.data(), 0, packets, &error)) << error;
    ASSERT_TRUE(encoder->Flush(packets, &error)) << error;
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_LT(packets[0].startTime, packets[1].startTime);
    EXPECT_LT(packets[1].startTime, packets[2].startTime);
    EXPECT_TRUE(packets[0].keyFrame);
    std::vector<av::EncodedPacket> afterEnd;
    EXPECT_FALSE(encoder->Encode(frame.data(), 4000000, afterEnd, &error));
}

}  // namespace

namespace {

TEST(VideoCompressors, CompressedPictureKeepsItsColoursAndOrientation)
{
    const int width = 64, height = 48, stride = 64 * 3;
    // Stored rows are bottom-up: the first half stored is the lower half shown (blue),
    // the second is the upper half shown (red).
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(stride) * height);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &frame[static_cast<std::size_t>(row) * stride + 3 * x];
            const bool upper = row >= height / 2;
            p[0] = upper ? 40 : 200;
            p[1] = 60;
            p[2] = upper ? 200 : 40;
        }
    for (const char* name : {"MJPEG Compressor", "MPEG-4 Part 2 Video"}) {
        SCOPED_TRACE(name);
        const std::string folder = TestFolder("colours");
        std::string error;
        auto encoder = av::VideoEncoder::Open(name, width, height, 25, &error);
        ASSERT_TRUE(encoder) << error;
        auto writer = av::AviWriter::Create(folder + "/c.avi", &error);
        ASSERT_TRUE(writer) << error;
        ASSERT_EQ(writer->AddStream(encoder->format(), &error), 0);
        std::vector<av::EncodedPacket> packets;
        ASSERT_TRUE(encoder->Encode(frame.data(), 0, packets, &error)) << error;
        ASSERT_TRUE(encoder->Flush(packets, &error)) << error;
        ASSERT_TRUE(WriteAll(*writer, 0, packets));
        ASSERT_TRUE(writer->Finish(&error)) << error;
        const std::string command = "ffmpeg -v error -y -i '" + folder +
                                    "/c.avi' -f rawvideo -pix_fmt bgr24 '" + folder + "/c.bgr'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(folder + "/c.bgr", std::ios::binary);
        const std::vector<std::uint8_t> shown{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        ASSERT_EQ(shown.size(), static_cast<std::size_t>(width * height * 3));
        const std::uint8_t* top = &shown[(4 * width + 8) * 3];
        const std::uint8_t* bottom = &shown[((height - 4) * width + 8) * 3];
        EXPECT_NEAR(top[0], 40, 8);
        EXPECT_NEAR(top[1], 60, 8);
        EXPECT_NEAR(top[2], 200, 8);
        EXPECT_NEAR(bottom[0], 200, 8);
        EXPECT_NEAR(bottom[2], 40, 8);
    }
}

}  // namespace
