#include "media/BufferFrame.h"

#include "support/Fifo.h"
#include "support/TestMedia.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <zlib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

// Shows the fields a change-watching reader looks at.
class ProbeSource : public CBufferFrame {
public:
    using CBufferFrame::changeCount_;
};

ImagePtr Filled(int width, int height, int channels, int value,
                ImageOrigin origin = ImageOrigin::TopLeft)
{
    auto image = Image::Create(width, height, channels, origin);
    image->fullMat().setTo(cv::Scalar::all(value));
    return image;
}

SYSTEMTIME Stamp(WORD milliseconds)
{
    SYSTEMTIME stamp{};
    stamp.wYear = 2026;
    stamp.wSecond = 7;
    stamp.wMilliseconds = milliseconds;
    return stamp;
}

Image* HeldImage(CBufferFrame& source)
{
    void* image = nullptr;
    return source.GetData(&image, nullptr) ? static_cast<Image*>(image) : nullptr;
}

// Frees the image a caller's record ends up owning.
struct CallerRecord {
    FrameRecord record{};
    ~CallerRecord() { delete record.image; }
};

std::string TempPath(const char* name)
{
    return (std::filesystem::path(testing::TempDir()) / name).string();
}

std::vector<std::uint8_t> BigEndian32(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

void AppendPngChunk(std::string& png, const char* type, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    const auto length = BigEndian32(static_cast<std::uint32_t>(data.size()));
    const auto crc = BigEndian32(
        static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    png.append(length.begin(), length.end());
    png.append(typed.begin(), typed.end());
    png.append(crc.begin(), crc.end());
}

// A valid one-bit grey PNG of width x height black pixels, compressed row by row so that
// neither the test nor the file holds the pixels.
std::string BlackPng(std::uint32_t width, std::uint32_t height)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    auto header = BigEndian32(width);
    const auto rows = BigEndian32(height);
    header.insert(header.end(), rows.begin(), rows.end());
    header.insert(header.end(), {1, 0, 0, 0, 0});  // 1 bit, grey, deflate, no filter, no interlace
    AppendPngChunk(png, "IHDR", header);
    z_stream stream{};
    EXPECT_EQ(deflateInit(&stream, Z_BEST_COMPRESSION), Z_OK);
    std::vector<std::uint8_t> row(1 + (width + 7) / 8, 0);  // filter byte "none", then pixels
    std::vector<std::uint8_t> compressed;
    std::uint8_t out[65536];
    for (std::uint32_t y = 0; y <= height; ++y) {
        const bool last = y == height;
        stream.next_in = last ? nullptr : row.data();
        stream.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            stream.next_out = out;
            stream.avail_out = sizeof out;
            deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.insert(compressed.end(), out, out + (sizeof out - stream.avail_out));
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    AppendPngChunk(png, "IDAT", compressed);
    AppendPngChunk(png, "IEND", {});
    return png;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Loads(CBufferFrame& source, const std::string& path)
{
    source.SetFileName(path.c_str());
    return source.LoadFile() && HeldImage(source) != nullptr;
}

}  // namespace

TEST(FrameSourceStore, RecordWithoutImageReleasesTheHeldImageAndKeepsTheStamp)
{
    CBufferFrame source;
    ASSERT_TRUE(source.SetImage(Filled(4, 4, 3, 9).release()));
    FrameRecord frame{};
    frame.timeStamp = Stamp(321);
    ASSERT_TRUE(source.SetFrame(&frame));
    EXPECT_EQ(HeldImage(source), nullptr);
    CallerRecord out;
    out.record.image = Filled(4, 4, 3, 1).release();
    ASSERT_TRUE(source.GetFrame(&out.record));
    EXPECT_EQ(out.record.image, nullptr);  // no held image: the caller's went too
    EXPECT_EQ(out.record.timeStamp.wMilliseconds, 321);
    EXPECT_EQ(out.record.timeStamp.wYear, 2026);
    source.Close();
}

TEST(FrameSourceStore, SmallerFrameReplacesTheHeldImageThenReusesTheClone)
{
    CBufferFrame source;
    ASSERT_TRUE(source.SetImage(Filled(640, 480, 3, 0).release()));
    auto first = Filled(320, 240, 3, 10);
    FrameRecord frame{};
    frame.image = first.get();
    ASSERT_TRUE(source.SetFrame(&frame));
    Image* clone = HeldImage(source);
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, first.get());
    EXPECT_EQ(clone->width(), 320);
    EXPECT_EQ(clone->height(), 240);

    auto second = Filled(320, 240, 3, 20, ImageOrigin::BottomLeft);
    frame.image = second.get();
    ASSERT_TRUE(source.SetFrame(&frame));
    EXPECT_EQ(HeldImage(source), clone);
    EXPECT_EQ(clone->pixel(319, 239)[2], 20);
    EXPECT_EQ(clone->origin(), ImageOrigin::BottomLeft);
    EXPECT_EQ(first->pixel(0, 0)[0], 10);  // the caller keeps its image untouched
    source.Close();
}

TEST(FrameSourceStore, CountsOneChangeAndSignalsWhileSetImageOnlySignals)
{
    ProbeSource source;
    ASSERT_TRUE(source.Create("VideoTemplate", 4));
    int key = 0;
    HANDLE event = source.GetEvent(&key);
    auto image = Filled(8, 8, 1, 3);
    FrameRecord frame{};
    frame.image = image.get();
    ASSERT_TRUE(source.SetFrame(&frame));
    EXPECT_EQ(source.changeCount_, 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ASSERT_TRUE(source.SetImage(Filled(8, 8, 1, 4).release()));
    EXPECT_EQ(source.changeCount_, 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(source.SetFrame(nullptr));
    source.Close();
}

TEST(FrameSourceStore, ByteCountIsClampedToTheImagesAndTakesTheOrigin)
{
    CBufferFrame source;
    ASSERT_TRUE(source.SetImage(Filled(6, 2, 3, 0).release()));  // rows of 18 bytes padded to 20
    auto sample = Filled(6, 2, 3, 77, ImageOrigin::BottomLeft);
    FrameRecord frame{};
    frame.image = sample.get();
    frame.byteCount = 30;
    ASSERT_TRUE(source.SetFrame(&frame));
    Image* held = HeldImage(source);
    EXPECT_EQ(held->row(1)[9], 77);
    EXPECT_EQ(held->row(1)[10], 0);  // byte 30 onwards was not copied
    EXPECT_EQ(held->origin(), ImageOrigin::BottomLeft);

    frame.byteCount = 1u << 30;  // far past both images
    sample->fullMat().setTo(cv::Scalar::all(88));
    ASSERT_TRUE(source.SetFrame(&frame));
    EXPECT_EQ(HeldImage(source), held);
    EXPECT_EQ(held->pixel(5, 1)[2], 88);
    source.Close();
}

TEST(FrameSourceStore, SetImageOfTheHeldPointerKeepsItAndNullKeepsTheRecord)
{
    CBufferFrame source;
    Image* image = Filled(5, 5, 3, 42).release();
    ASSERT_TRUE(source.SetImage(image));
    ASSERT_TRUE(source.SetImage(image));
    EXPECT_EQ(HeldImage(source), image);
    EXPECT_EQ(image->pixel(4, 4)[1], 42);

    ASSERT_TRUE(source.SetImage(nullptr));
    EXPECT_EQ(HeldImage(source), nullptr);
    EXPECT_EQ(source.GetDataSize(), sizeof(FrameRecord));
    CallerRecord out;
    EXPECT_TRUE(source.GetFrame(&out.record));
    EXPECT_EQ(out.record.image, nullptr);
    source.Close();
}

TEST(FrameSourceStore, SetImageReplacesAForeignBlockByAZeroRecord)
{
    CBufferFrame source;
    SYSTEMTIME junk[3];
    std::memset(junk, 0x5A, sizeof junk);
    ASSERT_TRUE(source.CBuffer::SetData(junk, sizeof junk));
    ASSERT_TRUE(source.SetImage(Filled(2, 2, 1, 1).release()));
    EXPECT_EQ(source.GetDataSize(), sizeof(FrameRecord));
    CallerRecord out;
    ASSERT_TRUE(source.GetFrame(&out.record));
    EXPECT_EQ(out.record.reserved, 0u);
    EXPECT_EQ(out.record.byteCount, 0u);
    EXPECT_EQ(out.record.timeStamp.wYear, 0);
    EXPECT_EQ(out.record.timeStamp.wMilliseconds, 0);
    ASSERT_NE(out.record.image, nullptr);
    source.Close();
}

TEST(FrameSourceRead, ABlockOfAnotherSizeIsNoFrame)
{
    CBufferFrame source;
    const BYTE bytes[sizeof(FrameRecord) + 1] = {};
    ASSERT_TRUE(source.SetData(bytes, sizeof bytes));
    CallerRecord out;
    EXPECT_FALSE(source.GetFrame(&out.record));
    EXPECT_FALSE(source.GetFrameScaled(&out.record));
    void* data = &out;
    EXPECT_FALSE(source.GetData(&data, nullptr));
    EXPECT_EQ(data, &out);
    EXPECT_FALSE(source.GetFrame(nullptr));
    source.Close();
}

TEST(FrameSourceRead, OtherChannelCountReplacesTheCallersImageByAClone)
{
    CBufferFrame source;
    ASSERT_TRUE(source.SetImage(Filled(16, 8, 1, 60).release()));
    CallerRecord out;
    out.record.image = Filled(16, 8, 3, 0).release();
    ASSERT_TRUE(source.GetFrame(&out.record));
    ASSERT_NE(out.record.image, nullptr);
    EXPECT_NE(out.record.image, HeldImage(source));
    EXPECT_EQ(out.record.image->channels(), 1);
    EXPECT_EQ(out.record.image->pixel(15, 7)[0], 60);
    source.Close();
}

TEST(FrameSourceRead, MatchingImageIsReusedAndByteCopyKeepsTheCallersOrigin)
{
    CBufferFrame source;
    auto sample = Filled(4, 3, 3, 5, ImageOrigin::BottomLeft);
    FrameRecord frame{};
    frame.image = sample.get();
    frame.byteCount = static_cast<DWORD>(sample->imageSize());
    frame.timeStamp = Stamp(12);
    ASSERT_TRUE(source.SetFrame(&frame));

    CallerRecord out;
    Image* mine = Filled(4, 3, 3, 0).release();
    out.record.image = mine;
    ASSERT_TRUE(source.GetFrame(&out.record));
    EXPECT_EQ(out.record.image, mine);
    EXPECT_EQ(mine->pixel(3, 2)[2], 5);
    EXPECT_EQ(mine->origin(), ImageOrigin::TopLeft);
    EXPECT_EQ(out.record.byteCount, frame.byteCount);
    EXPECT_EQ(out.record.timeStamp.wMilliseconds, 12);
    source.Close();
}

TEST(FrameSourceRead, ScaledReadResizesLinearlyAndClearsTheByteCount)
{
    CBufferFrame source;
    auto frameImage = Image::Create(40, 20, 3, ImageOrigin::BottomLeft);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            frameImage->pixel(x, y)[0] = static_cast<std::uint8_t>(x * 6 + y);
    FrameRecord frame{};
    frame.image = frameImage.get();
    frame.byteCount = static_cast<DWORD>(frameImage->imageSize());
    frame.timeStamp = Stamp(500);
    ASSERT_TRUE(source.SetFrame(&frame));

    CallerRecord preview;
    Image* small = Image::Create(15, 9, 3).release();
    preview.record.image = small;
    preview.record.byteCount = 99;
    ASSERT_TRUE(source.GetFrameScaled(&preview.record));
    EXPECT_EQ(preview.record.image, small);
    EXPECT_EQ(preview.record.byteCount, 0u);
    EXPECT_EQ(preview.record.timeStamp.wMilliseconds, 500);
    EXPECT_EQ(small->origin(), ImageOrigin::BottomLeft);
    cv::Mat expected;
    cv::resize(frameImage->fullMat(), expected, cv::Size(15, 9), 0, 0, cv::INTER_LINEAR);
    EXPECT_EQ(cv::norm(expected, small->fullMat(), cv::NORM_INF), 0.0);
    source.Close();
}

TEST(FrameSourceRead, ScaledReadConvertsBetweenGreyAndColour)
{
    CBufferFrame source;
    ASSERT_TRUE(source.SetImage(Filled(20, 10, 1, 90).release()));
    CallerRecord preview;
    preview.record.image = Image::Create(10, 5, 3).release();
    ASSERT_TRUE(source.GetFrameScaled(&preview.record));
    EXPECT_EQ(preview.record.image->channels(), 3);
    EXPECT_EQ(preview.record.image->pixel(9, 4)[0], 90);
    EXPECT_EQ(preview.record.image->pixel(9, 4)[2], 90);

    CallerRecord empty;
    ASSERT_TRUE(source.GetFrameScaled(&empty.record));
    ASSERT_NE(empty.record.image, nullptr);
    EXPECT_EQ(empty.record.image->width(), 20);
    ASSERT_TRUE(source.SetImage(nullptr));
    empty.record.byteCount = 7;
    EXPECT_FALSE(source.GetFrameScaled(&empty.record));
    EXPECT_EQ(empty.record.byteCount, 7u);
    source.Close();
}

TEST(FrameSourceFile, NameIsCopiedWithATerminator)
{
    CBufferFrame source;
    char text[6];
    EXPECT_FALSE(source.GetFileName(text, sizeof text));
    source.SetFileName("/tmp/face.bmp");
    ASSERT_TRUE(source.GetFileName(text, sizeof text));
    EXPECT_STREQ(text, "/tmp/");
    source.Close();
}

TEST(FrameSourceFile, UnreadableFileGivesARecordWithoutImageAndNoNameFails)
{
    CBufferFrame source;
    EXPECT_FALSE(source.LoadFile());
    source.SetFileName("");
    EXPECT_FALSE(source.LoadFile());
    const std::string path = TempPath("not-a-picture.png");
    cv::imwrite(path, cv::Mat(2, 2, CV_8UC3, cv::Scalar::all(1)));
    std::filesystem::resize_file(path, 10);  // a truncated file
    source.SetFileName(path.c_str());
    EXPECT_TRUE(source.LoadFile());
    EXPECT_EQ(source.GetDataSize(), sizeof(FrameRecord));
    EXPECT_EQ(HeldImage(source), nullptr);
    source.SetFileName(TempPath("missing.bmp").c_str());
    EXPECT_TRUE(source.LoadFile());
    EXPECT_EQ(HeldImage(source), nullptr);
    // A FIFO is no file: it is not waited on for a writer.
    const testmedia::TempFolder folder;
    const std::string fifo = folder.path("fifo.bmp");
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    source.SetFileName(fifo.c_str());
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(fifo, [&] { EXPECT_TRUE(source.LoadFile()); }));
    EXPECT_EQ(HeldImage(source), nullptr);
    source.Close();
}

TEST(FrameSourceFile, LoadsGreyAsStoredAndAlphaAsColour)
{
    CBufferFrame source;
    cv::Mat grey(3, 5, CV_8UC1, cv::Scalar(70));
    grey.at<std::uint8_t>(0, 4) = 200;  // top-right as stored in the file
    const std::string greyPath = TempPath("grey.png");
    ASSERT_TRUE(cv::imwrite(greyPath, grey));
    source.SetFileName(greyPath.c_str());
    ASSERT_TRUE(source.LoadFile());
    Image* loaded = HeldImage(source);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->channels(), 1);
    EXPECT_EQ(loaded->pixel(4, 0)[0], 200);
    EXPECT_EQ(loaded->origin(), ImageOrigin::TopLeft);

    cv::Mat withAlpha(4, 3, CV_8UC4, cv::Scalar(10, 20, 30, 128));
    const std::string alphaPath = TempPath("alpha.png");
    ASSERT_TRUE(cv::imwrite(alphaPath, withAlpha));
    source.SetFileName(alphaPath.c_str());
    ASSERT_TRUE(source.LoadFile());
    loaded = HeldImage(source);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->channels(), 3);
    EXPECT_EQ(loaded->pixel(2, 3)[0], 10);
    EXPECT_EQ(loaded->pixel(2, 3)[2], 30);

    cv::Mat deep(2, 2, CV_16UC3, cv::Scalar(257 * 40, 257 * 50, 257 * 60));
    const std::string deepPath = TempPath("deep.png");
    ASSERT_TRUE(cv::imwrite(deepPath, deep));
    source.SetFileName(deepPath.c_str());
    ASSERT_TRUE(source.LoadFile());
    loaded = HeldImage(source);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->pixel(1, 1)[1], 50);
    source.Close();
}

TEST(FrameSourceFile, OnlyBmpJpegAndPngPicturesAreRead)
{
    CBufferFrame source;
    const cv::Mat picture(6, 8, CV_8UC3, cv::Scalar(10, 120, 230));
    for (const char* name : {"offered.bmp", "offered.jpg", "offered.png"}) {
        const std::string path = TempPath(name);
        ASSERT_TRUE(cv::imwrite(path, picture)) << name;
        EXPECT_TRUE(Loads(source, path)) << name;
    }
    // Formats the image library reads too, but that the programs do not offer: each
    // decoder is more code that a hostile file can reach.
    for (const char* name : {"other.ppm", "other.tiff", "other.ras"}) {
        const std::string path = TempPath(name);
        ASSERT_TRUE(cv::imwrite(path, picture)) << name;
        EXPECT_FALSE(Loads(source, path)) << name;
        EXPECT_EQ(source.GetDataSize(), sizeof(FrameRecord)) << name;
    }
    const std::string damaged = TempPath("damaged.png");
    std::string bytes = ReadFile(TempPath("offered.png"));
    bytes[0] = 'P';
    WriteFile(damaged, bytes);
    EXPECT_FALSE(Loads(source, damaged));
    source.Close();
}

TEST(FrameSourceFile, PictureOfMoreThanOneHundredMegapixelsIsUnreadable)
{
    CBufferFrame source;
    const std::string small = TempPath("black-small.png");
    WriteFile(small, BlackPng(40, 30));
    ASSERT_TRUE(Loads(source, small));
    EXPECT_EQ(HeldImage(source)->width(), 40);
    const std::string large = TempPath("black-large.png");
    WriteFile(large, BlackPng(10'001, 10'000));
    EXPECT_FALSE(Loads(source, large));
    EXPECT_EQ(source.GetDataSize(), sizeof(FrameRecord));
    source.Close();
}

TEST(FrameSourceClose, EmptiesTheSourceAndCountsItsChanges)
{
    ProbeSource source;
    ASSERT_TRUE(source.Create("Video Frame", 5));
    ASSERT_TRUE(source.SetImage(Filled(3, 3, 3, 1).release()));
    source.SetFileName("a.bmp");
    EXPECT_TRUE(source.Close());
    EXPECT_EQ(source.GetDataSize(), 0u);
    EXPECT_EQ(HeldImage(source), nullptr);
    char name[8];
    EXPECT_FALSE(source.GetName(name, sizeof name));
    EXPECT_EQ(source.changeCount_, 2);
}

// The writer stores frames whose every pixel carries the frame's number, which the time
// stamp carries too; a reader that ever saw the pixels of one frame with the stamp of
// another would have caught a record and image copied apart.
TEST(FrameSourceThreads, ReaderNeverSeesATornFrame)
{
    constexpr int kFrames = 3000;
    CBufferFrame source;
    ASSERT_TRUE(source.Create("Video", 4));
    std::atomic<bool> writing{true};

    std::thread writer([&] {
        auto large = Image::Create(32, 24, 3, ImageOrigin::BottomLeft);
        auto small = Image::Create(16, 12, 3, ImageOrigin::BottomLeft);
        FrameRecord frame{};
        for (int i = 1; i <= kFrames; ++i) {
            // A change of size now and then takes the clone path as well as the copy path.
            Image* image = (i / 100) % 2 ? small.get() : large.get();
            image->fullMat().setTo(cv::Scalar::all(i % 250));
            frame.image = image;
            frame.byteCount = i % 3 ? static_cast<DWORD>(image->imageSize()) : 0;
            frame.timeStamp.wMilliseconds = static_cast<WORD>(i % 1000);
            source.SetFrame(&frame);
        }
        writing = false;
    });

    CallerRecord copy;
    CallerRecord preview;
    preview.record.image = Image::Create(8, 6, 3).release();
    int torn = 0;
    int reads = 0;
    while (writing || reads == 0) {
        if (source.GetFrame(&copy.record) && copy.record.image) {
            const int expected = copy.record.timeStamp.wMilliseconds % 250;
            cv::Mat differs = copy.record.image->fullMat() != cv::Scalar::all(expected);
            cv::cvtColor(differs, differs, cv::COLOR_BGR2GRAY);
            torn += cv::countNonZero(differs) != 0;
            ++reads;
        }
        if (source.GetFrameScaled(&preview.record)) {
            const int expected = preview.record.timeStamp.wMilliseconds % 250;
            cv::Mat differs = preview.record.image->fullMat() != cv::Scalar::all(expected);
            cv::cvtColor(differs, differs, cv::COLOR_BGR2GRAY);
            torn += cv::countNonZero(differs) != 0;
        }
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_GT(reads, 0);
    source.Close();
}
