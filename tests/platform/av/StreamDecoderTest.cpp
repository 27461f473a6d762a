#include "platform/av/StreamDecoder.h"

#include "tests/support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace {

using av::DecodedSample;
using av::StreamDecoder;
using testmedia::DibLayout;
using testmedia::TempFolder;

struct Decoded {
    std::vector<DecodedSample> samples;             // data pointers are stale: only sizes and times
    std::vector<std::vector<std::uint8_t>> frames;  // copies of the video frames
    long long sampleFrames = 0;
    StreamDecoder::Status last = StreamDecoder::Status::Error;
};

// Reads a stream to its end (or at most `limit` samples, so a faulty decoder cannot hang
// the test).
Decoded DecodeAll(StreamDecoder& decoder, bool keepFrames, int limit = 100000)
{
    Decoded result;
    DecodedSample sample;
    std::string error;
    for (int i = 0; i < limit; ++i) {
        result.last = decoder.Next(sample, &error);
        if (result.last != StreamDecoder::Status::Sample)
            break;
        result.samples.push_back(sample);
        result.sampleFrames += sample.sampleFrames;
        if (keepFrames)
            result.frames.emplace_back(sample.data, sample.data + sample.size);
    }
    return result;
}

int Stride(int width)
{
    return (width * 3 + 3) & ~3;
}

const std::uint8_t* StoredPixel(const std::vector<std::uint8_t>& frame, int width, int x,
                                int storedRow)
{
    return &frame[static_cast<std::size_t>(storedRow) * Stride(width) + x * 3];
}

// `firstStart` is where the decoder's first output lies: 0 unless the codec holds back
// its first frames (the WMA decoder does).
void ExpectTimesIncrease(const std::vector<DecodedSample>& samples, av::MediaTime firstStart = 0)
{
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.front().startTime, firstStart);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        EXPECT_GT(samples[i].endTime, samples[i].startTime) << "sample " << i;
        if (i > 0) {
            EXPECT_GT(samples[i].startTime, samples[i - 1].startTime) << "sample " << i;
        }
    }
}

// A picture white in its top half and black in its bottom half, through each encoder.
class ClassicCodec : public ::testing::TestWithParam<std::tuple<const char*, int, int>> {};

TEST_P(ClassicCodec, DecodesEveryFrameBottomUpAtItsSize)
{
    const auto [codec, width, height] = GetParam();
    TempFolder folder;
    const std::string path = folder.path("split.avi");
    // lavfi's colour source rounds odd sizes down, so an odd picture is cropped from it.
    const std::string source =
        "color=white:size=" + std::to_string(width + 1) + "x" + std::to_string(height + 1) +
        ":rate=10,format=bgr24,crop=" + std::to_string(width) + ":" + std::to_string(height) +
        ":0:0,drawbox=x=0:y=ih/2:w=iw:h=ih:color=black:t=fill";
    ASSERT_TRUE(testmedia::MakeVideo(path, codec, source, 10, 6, false));

    std::string error;
    auto decoder = StreamDecoder::Open(path, 0, &error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_EQ(decoder->info().width, width);
    EXPECT_EQ(decoder->info().height, height);
    const Decoded decoded = DecodeAll(*decoder, true);
    EXPECT_EQ(decoded.last, StreamDecoder::Status::End);
    ASSERT_EQ(decoded.frames.size(), 6u);
    for (const auto& frame : decoded.frames) {
        ASSERT_EQ(frame.size(), static_cast<std::size_t>(Stride(width)) * height);
        // Stored row 0 is the bottom line of the picture: black; the last is the top: white.
        const std::uint8_t* bottom = StoredPixel(frame, width, width / 2, 0);
        const std::uint8_t* top = StoredPixel(frame, width, width / 2, height - 1);
        for (int c = 0; c < 3; ++c) {
            EXPECT_LT(bottom[c], 40) << codec << " channel " << c;
            EXPECT_GT(top[c], 215) << codec << " channel " << c;
        }
    }
    ExpectTimesIncrease(decoded.samples);
    EXPECT_EQ(decoded.samples[1].startTime, av::kMediaTimePerSecond / 10);
    EXPECT_EQ(decoded.samples[0].endTime, av::kMediaTimePerSecond / 10);
}

INSTANTIATE_TEST_SUITE_P(
    Avi, ClassicCodec,
    ::testing::Values(std::make_tuple("rawvideo", 33, 17), std::make_tuple("msvideo1", 32, 16),
                      std::make_tuple("cinepak", 32, 16), std::make_tuple("mjpeg", 35, 19),
                      std::make_tuple("msmpeg4v2", 32, 16), std::make_tuple("msmpeg4", 32, 16),
                      std::make_tuple("mpeg4", 34, 18)));

// Files as Windows tools write them: rows padded to 4 bytes, bottom-up or top-down, RLE8.
class DibAvi : public ::testing::TestWithParam<DibLayout> {};

TEST_P(DibAvi, KeepsColoursRowOrderAndZeroPaddingAtOddWidth)
{
    constexpr int kWidth = 33;
    constexpr int kHeight = 17;
    TempFolder folder;
    const std::string path = folder.path("dib.avi");
    const auto red = testmedia::SplitPicture(kWidth, kHeight, 5, 0xFF0000, 0x0000FF);
    const auto green = testmedia::SplitPicture(kWidth, kHeight, 12, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(testmedia::WriteDibAvi(path, {red, green, red}, 5, GetParam()));

    std::string error;
    auto decoder = StreamDecoder::Open(path, 0, &error);
    ASSERT_TRUE(decoder) << error;
    const Decoded decoded = DecodeAll(*decoder, true);
    EXPECT_EQ(decoded.last, StreamDecoder::Status::End);
    ASSERT_EQ(decoded.frames.size(), 3u);
    const int topRows[] = {5, 12, 5};
    for (int f = 0; f < 3; ++f) {
        const auto& frame = decoded.frames[f];
        ASSERT_EQ(frame.size(), static_cast<std::size_t>(Stride(kWidth)) * kHeight);
        for (int row = 0; row < kHeight; ++row) {
            // The picture's line `row` from the top lies in stored row kHeight - 1 - row.
            const std::uint8_t* first = StoredPixel(frame, kWidth, 0, kHeight - 1 - row);
            const bool top = row < topRows[f];
            const std::uint8_t expected[3] = {std::uint8_t(top ? 0 : 255),
                                              std::uint8_t(top && f == 1 ? 255 : 0),
                                              std::uint8_t(top && f != 1 ? 255 : 0)};
            for (int x = 0; x < kWidth; ++x) {
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(first[x * 3 + c], expected[c])
                        << "frame " << f << " row " << row << " x " << x;
            }
            for (int pad = kWidth * 3; pad < Stride(kWidth); ++pad)
                EXPECT_EQ(first[pad], 0) << "padding of row " << row;
        }
    }
    ExpectTimesIncrease(decoded.samples);
    EXPECT_EQ(decoded.samples[2].startTime, 2 * av::kMediaTimePerSecond / 5);
}

INSTANTIATE_TEST_SUITE_P(Layouts, DibAvi,
                         ::testing::Values(DibLayout::Rgb24BottomUp, DibLayout::Rgb24TopDown,
                                           DibLayout::Rle8));

struct AudioCase {
    const char* codec;
    const char* file;
    int rate;
    int channels;
    int tolerance;  // samples per channel the codec's framing may add or drop
    av::MediaTime firstStart;
};

class AudioCodec : public ::testing::TestWithParam<AudioCase> {};

TEST_P(AudioCodec, DecodesToInterleavedS16WithTheRightSampleCount)
{
    const AudioCase audio = GetParam();
    TempFolder folder;
    const std::string path = folder.path(audio.file);
    ASSERT_TRUE(testmedia::MakeTestAudio(path, audio.codec, 1.0, audio.rate, audio.channels));

    std::string error;
    auto decoder = StreamDecoder::Open(path, 0, &error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_EQ(decoder->info().sampleRate, audio.rate);
    EXPECT_EQ(decoder->info().channels, audio.channels);
    const Decoded decoded = DecodeAll(*decoder, false);
    EXPECT_EQ(decoded.last, StreamDecoder::Status::End);
    EXPECT_NEAR(decoded.sampleFrames, audio.rate, audio.tolerance);
    for (const DecodedSample& sample : decoded.samples) {
        EXPECT_EQ(sample.size, static_cast<std::size_t>(sample.sampleFrames) * audio.channels * 2);
        // Start and end are each rounded to 100 ns.
        EXPECT_NEAR(sample.endTime - sample.startTime,
                    sample.sampleFrames * av::kMediaTimePerSecond / audio.rate, 1);
    }
    ExpectTimesIncrease(decoded.samples, audio.firstStart);
}

INSTANTIATE_TEST_SUITE_P(Files, AudioCodec,
                         ::testing::Values(AudioCase{"pcm_s16le", "tone.wav", 22050, 1, 0, 0},
                                           AudioCase{"libmp3lame", "tone.mp3", 44100, 2, 1152, 0},
                                           // Two packets of 2048 samples give no output.
                                           AudioCase{"wmav2", "tone.wma", 44100, 2, 4096, 920000}));

TEST(StreamDecoderOpen, ReadsOnlyTheChosenStreamOfAVideoWithSound)
{
    TempFolder folder;
    const std::string path = folder.path("both.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(path, "mjpeg", 32, 16, 10, 10, true));
    std::string error;
    auto video = StreamDecoder::Open(path, 0, &error);
    auto audio = StreamDecoder::Open(path, 1, &error);
    ASSERT_TRUE(video && audio) << error;
    EXPECT_EQ(video->info().kind, av::StreamKind::Video);
    EXPECT_EQ(audio->info().kind, av::StreamKind::Audio);
    // Interleaved reading of both, as two streaming threads would.
    const Decoded sound = DecodeAll(*audio, false);
    const Decoded pictures = DecodeAll(*video, false);
    EXPECT_EQ(pictures.samples.size(), 10u);
    EXPECT_EQ(sound.sampleFrames, 44100);
    for (const DecodedSample& sample : pictures.samples)
        EXPECT_EQ(sample.sampleFrames, 1);
}

TEST(StreamDecoderOpen, MissingFileTextFileAndBadIndexFailWithAMessage)
{
    TempFolder folder;
    const std::string text = folder.path("notes.avi");
    ASSERT_TRUE(testmedia::WriteTextFile(text, "This is not a video.\nJust a note.\n"));
    const std::string video = folder.path("video.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(video, "mjpeg", 16, 16, 10, 2, false));

    for (const auto& [path, index] : {std::pair{folder.path("missing.avi"), 0}, std::pair{text, 0},
                                      std::pair{video, 1}, std::pair{video, -1}}) {
        std::string error;
        EXPECT_FALSE(StreamDecoder::Open(path, index, &error)) << path << " " << index;
        EXPECT_FALSE(error.empty()) << path << " " << index;
    }
}

TEST(StreamDecoderOpen, RefusesAnAbsurdFrameSize)
{
    TempFolder folder;
    const std::string path = folder.path("wide.avi");
    ASSERT_TRUE(testmedia::WriteDibAvi(path, {testmedia::SplitPicture(20000, 1, 0, 0, 0x808080)}, 1,
                                       DibLayout::Rgb24TopDown));
    std::string error;
    EXPECT_FALSE(StreamDecoder::Open(path, 0, &error));
    EXPECT_NE(error.find("16384"), std::string::npos) << error;
}

// Cut at several points, a file either does not open or decodes to a clean end.
TEST(StreamDecoderNext, TruncatedFilesEndCleanly)
{
    TempFolder folder;
    const std::string whole = folder.path("whole.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(whole, "msmpeg4v2", 64, 48, 10, 20, true));
    const std::string cut = folder.path("cut.avi");
    for (std::size_t bytes : {100u, 3000u, 9000u, 30000u}) {
        if (!testmedia::CopyTruncated(whole, cut, bytes))
            continue;
        for (int index = 0; index < 2; ++index) {
            std::string error;
            auto decoder = StreamDecoder::Open(cut, index, &error);
            if (!decoder) {
                EXPECT_FALSE(error.empty());
                continue;
            }
            const Decoded decoded = DecodeAll(*decoder, false);
            EXPECT_NE(decoded.last, StreamDecoder::Status::Sample) << bytes;
            // The stream stays finished.
            DecodedSample sample;
            EXPECT_NE(decoder->Next(sample, &error), StreamDecoder::Status::Sample);
        }
    }
}

TEST(StreamDecoderNext, GarbageInsideAFileIsSkippedOrEndsTheStream)
{
    TempFolder folder;
    const std::string path = folder.path("damaged.avi");
    ASSERT_TRUE(testmedia::MakeTestVideo(path, "mjpeg", 64, 48, 10, 20, false));
    // Overwrite the middle of the file with noise, leaving headers and index alone.
    {
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_TRUE(file);
        std::fseek(file, 0, SEEK_END);
        const long size = std::ftell(file);
        std::fseek(file, size / 3, SEEK_SET);
        std::uint32_t noise = 12345;
        for (long i = 0; i < size / 4; ++i) {
            noise = noise * 1103515245u + 12345u;
            std::fputc(static_cast<int>(noise >> 24), file);
        }
        std::fclose(file);
    }
    std::string error;
    auto decoder = StreamDecoder::Open(path, 0, &error);
    ASSERT_TRUE(decoder) << error;
    const Decoded decoded = DecodeAll(*decoder, false);
    EXPECT_NE(decoded.last, StreamDecoder::Status::Sample);
    EXPECT_GT(decoded.samples.size(), 0u);
}

}  // namespace
