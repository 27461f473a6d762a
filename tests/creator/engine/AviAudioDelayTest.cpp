#include "creator/engine/AviAudioDelay.h"

#include "platform/win/Files.h"

#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::size_t kPiece = 0xFFC0;

void Put32(Bytes& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutTag(Bytes& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(tag[i]));
}

std::uint32_t Get32(const Bytes& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

Bytes Chunk(const char* tag, const Bytes& data)
{
    Bytes out;
    PutTag(out, tag);
    Put32(out, static_cast<std::uint32_t>(data.size()));
    Append(out, data);
    if (data.size() % 2)
        out.push_back(0);
    return out;
}

Bytes List(const char* type, const Bytes& content)
{
    Bytes out;
    PutTag(out, "LIST");
    Put32(out, static_cast<std::uint32_t>(content.size() + 4));
    PutTag(out, type);
    Append(out, content);
    return out;
}

struct Stream {
    const char* type;  // "vids", "auds", "mids"
    std::uint32_t scale;
    std::uint32_t rate;
    std::uint32_t start = 77;
};

// The 56 data bytes of a stream header.
Bytes StreamHeaderData(const Stream& stream)
{
    Bytes data;
    PutTag(data, stream.type);
    PutTag(data, "none");
    Put32(data, 0);  // flags
    Put32(data, 0);  // priority and language
    Put32(data, 0);  // initial frames
    Put32(data, stream.scale);
    Put32(data, stream.rate);
    Put32(data, stream.start);
    Put32(data, 1000);        // length
    Put32(data, 4096);        // suggested buffer size
    Put32(data, 0xFFFFFFFF);  // quality
    Put32(data, 4);           // sample size
    Put32(data, 0);           // frame rectangle
    Put32(data, 0x00F00140);
    return data;
}

struct Avi {
    Bytes bytes;
    std::vector<std::size_t> headerOffsets;  // file offset of each stream's "strh"
};

// A small AVI: the chunks beforeHeaders, the header list (main header, a JUNK chunk of
// junkSize bytes, one stream list per stream), then a movi list holding media.
Avi BuildAvi(const std::vector<Stream>& streams, std::size_t junkSize = 0, const Bytes& media = {},
             const Bytes& beforeHeaders = {})
{
    Bytes avih(56, 0);
    Bytes headerContent = Chunk("avih", avih);
    if (junkSize)
        Append(headerContent, Chunk("JUNK", Bytes(junkSize, 0)));
    std::vector<std::size_t> offsets;
    // Each stream header sits 12 bytes into its strl list; the header content starts 24
    // bytes into the file, after the chunks before it.
    for (const Stream& stream : streams) {
        offsets.push_back(24 + beforeHeaders.size() + headerContent.size() + 12);
        Bytes content = Chunk("strh", StreamHeaderData(stream));
        Append(content, Chunk("strf", Bytes(40, 0x11)));
        Append(headerContent, List("strl", content));
    }
    Bytes riffContent;
    PutTag(riffContent, "AVI ");
    Append(riffContent, beforeHeaders);
    Append(riffContent, List("hdrl", headerContent));
    Append(riffContent, List("movi", Chunk("00dc", media.empty() ? Bytes(100, 0x5A) : media)));
    Avi avi;
    PutTag(avi.bytes, "RIFF");
    Put32(avi.bytes, static_cast<std::uint32_t>(riffContent.size()));
    Append(avi.bytes, riffContent);
    avi.headerOffsets = offsets;
    return avi;
}

std::uint32_t StartAt(const Bytes& bytes, std::size_t headerOffset)
{
    return Get32(bytes, headerOffset + 36);
}

// Media bytes that read like an audio stream header.
Bytes LookAlikeHeader()
{
    Bytes data(20, 0x33);
    Bytes fake;
    PutTag(fake, "strh");
    Put32(fake, 56);
    Append(fake, StreamHeaderData({"auds", 1, 8000}));
    Append(data, fake);
    return data;
}

const Stream kVideo{"vids", 1, 25};
const Stream kPcm{"auds", 4, 176400};

class AviFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.root().empty()); }

    void Write(const Bytes& bytes) const
    {
        dir_.Write("out.avi", std::string(bytes.begin(), bytes.end()));
    }

    Bytes Read() const
    {
        const std::string content = testmedia::ReadWholeFile(path_);
        return Bytes(content.begin(), content.end());
    }

    // bytes with the dwStart of the stream header at headerOffset set to start.
    static Bytes WithStart(Bytes bytes, std::size_t headerOffset, std::uint32_t start)
    {
        for (int i = 0; i < 4; ++i)
            bytes[headerOffset + 36 + i] = static_cast<unsigned char>(start >> (8 * i));
        return bytes;
    }

    testmedia::TempFolder dir_;
    const std::string path_ = dir_.path("out.avi");
};

}  // namespace

TEST_F(AviFile, AudioHeaderBehindTheVideoHeaderIsPatchedAndTheVideoHeaderKept)
{
    const Avi avi = BuildAvi({kVideo, kPcm});
    Write(avi.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 1);
    // 44,100 samples per second for 5 seconds.
    EXPECT_EQ(Read(), WithStart(avi.bytes, avi.headerOffsets[1], 220500));
}

TEST_F(AviFile, OnlyTheFirstAudioOrMidiHeaderIsPatchedEvenToAStartOfZero)
{
    const Avi avi = BuildAvi({kVideo, {"mids", 1, 1000}, kPcm});
    Write(avi.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 2500), 1);
    const Bytes patched = Read();
    EXPECT_EQ(StartAt(patched, avi.headerOffsets[0]), 77u);
    EXPECT_EQ(StartAt(patched, avi.headerOffsets[1]), 2500u);
    EXPECT_EQ(StartAt(patched, avi.headerOffsets[2]), 77u);

    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 0), 1);
    EXPECT_EQ(StartAt(Read(), avi.headerOffsets[1]), 0u);
}

TEST_F(AviFile, CheckOnlyDelayAnswersWithoutWriting)
{
    const Avi avi = BuildAvi({kVideo, kPcm});
    Write(avi.bytes);
    const auto before = fs::last_write_time(path_);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), -1), 1);
    EXPECT_EQ(Read(), avi.bytes);
    EXPECT_EQ(fs::last_write_time(path_), before);
}

TEST_F(AviFile, HeaderStraddlingTwoReadPiecesIsFoundAtItsTrueOffset)
{
    const std::size_t unpadded = BuildAvi({kVideo, kPcm}).headerOffsets[1];
    // The first lands with its 64 bytes across the boundary, the second with the
    // compared bytes themselves across it.
    for (const std::size_t target : {kPiece - 40, kPiece - 6, kPiece - 64, kPiece}) {
        // The JUNK chunk brings its own 8 header bytes.
        const Avi avi = BuildAvi({kVideo, kPcm}, target - unpadded - 8);
        ASSERT_EQ(avi.headerOffsets[1], target);
        Write(avi.bytes);
        EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 1000), 1) << target;
        EXPECT_EQ(Read(), WithStart(avi.bytes, target, 44100)) << target;
    }
}

TEST_F(AviFile, FileWithoutAnAudioHeaderIsRefusedAndUnchanged)
{
    const Avi avi = BuildAvi({kVideo});
    Write(avi.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), -1), 0);
    EXPECT_EQ(Read(), avi.bytes);
}

TEST_F(AviFile, MediaDataThatLooksLikeAnAudioHeaderIsNeverPatched)
{
    const Avi silent = BuildAvi({kVideo}, 0, LookAlikeHeader());
    Write(silent.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(Read(), silent.bytes);

    const Avi avi = BuildAvi({kVideo, kPcm}, 0, LookAlikeHeader());
    Write(avi.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 1);
    EXPECT_EQ(Read(), WithStart(avi.bytes, avi.headerOffsets[1], 220500));
}

TEST_F(AviFile, HeaderListBehindAJunkChunkIsFoundAndTheJunkNeverPatched)
{
    // Padding of odd length (so the next chunk starts after a pad byte), then padding
    // that reads like an audio stream header.
    Bytes before = Chunk("JUNK", Bytes(7, 0x20));
    Append(before, Chunk("JUNK", LookAlikeHeader()));
    const Avi avi = BuildAvi({kVideo, kPcm}, 0, {}, before);
    Write(avi.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), -1), 1);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 1);
    EXPECT_EQ(Read(), WithStart(avi.bytes, avi.headerOffsets[1], 220500));

    // Without a header list the look-alike stays untouched.
    Bytes riff;
    PutTag(riff, "AVI ");
    Append(riff, before);
    Append(riff, List("movi", Chunk("00dc", Bytes(100, 0x5A))));
    const Bytes noHeaders = Chunk("RIFF", riff);
    Write(noHeaders);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(Read(), noHeaders);
}

TEST_F(AviFile, WriteThatFailsOrStopsShortIsReported)
{
    const Avi avi = BuildAvi({kVideo, kPcm});
    Write(avi.bytes);
    const std::size_t header = avi.headerOffsets[1];
    // As on a full disk: writing stops before the header, or 20 bytes into it (the bytes
    // that do get written are the ones already there).
    struct rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    int results[2] = {-1, -1};
    for (int i = 0; i < 2; ++i) {
        const struct rlimit small = {header + 20 * i, limit.rlim_max};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        results[i] = SetAviAudioDelay(path_.c_str(), 5000);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(results[0], 0);
    EXPECT_EQ(results[1], 0);
    EXPECT_EQ(Read(), avi.bytes);
}

TEST_F(AviFile, ScaleOfZeroIsRefusedAndUnchanged)
{
    const Avi avi = BuildAvi({kVideo, {"auds", 0, 44100}});
    Write(avi.bytes);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), -1), 0);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(Read(), avi.bytes);
}

TEST_F(AviFile, FileHeldByAnotherWriterIsRefusedAndUnchanged)
{
    const Avi avi = BuildAvi({kVideo, kPcm});
    Write(avi.bytes);
    {
        const UniqueFileHandle holder(CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
        ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
        EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
        EXPECT_EQ(SetAviAudioDelay(path_.c_str(), -1), 0);
    }
    {
        UniqueFile appender(OpenFile(path_.c_str(), "ab"));
        ASSERT_NE(appender, nullptr);
        EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    }
    EXPECT_EQ(Read(), avi.bytes);
    UniqueFile reader(OpenFile(path_.c_str(), "rb"));
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), -1), 1);
}

TEST_F(AviFile, MissingEmptyTruncatedAndForeignFilesAreRefused)
{
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(SetAviAudioDelay(dir_.root().c_str(), 5000), 0);
    EXPECT_EQ(SetAviAudioDelay(nullptr, 5000), 0);

    Write({});
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_TRUE(Read().empty());

    // Cut inside the header list, after the audio stream header itself.
    const Avi avi = BuildAvi({kVideo, kPcm});
    const Bytes cut(avi.bytes.begin(), avi.bytes.begin() + avi.headerOffsets[1] + 70);
    Write(cut);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(Read(), cut);

    Bytes wave = avi.bytes;
    std::memcpy(&wave[8], "WAVE", 4);
    Write(wave);
    EXPECT_EQ(SetAviAudioDelay(path_.c_str(), 5000), 0);
    EXPECT_EQ(Read(), wave);
}

TEST_F(AviFile, DamagedFilesNeverChangeOutsideTheStartOfTheirFirstAudioHeader)
{
    const Avi avi = BuildAvi({kVideo, {"mids", 1, 1000}, kPcm}, 0, LookAlikeHeader());
    std::mt19937 generator(20261209);
    const std::int32_t delays[] = {-1, 0, 5000, 123456, -2};
    int patched = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = avi.bytes;
        const int flips = generator() % 4;
        for (int i = 0; i < flips; ++i)
            damaged[generator() % damaged.size()] ^=
                static_cast<unsigned char>(1 + generator() % 255);
        if (generator() % 3 == 0)
            damaged.resize(generator() % damaged.size());
        Write(damaged);
        const std::int32_t delay = delays[generator() % std::size(delays)];
        const int result = SetAviAudioDelay(path_.c_str(), delay);
        const Bytes after = Read();
        ASSERT_EQ(after.size(), damaged.size()) << round;
        if (result == 0 || delay == -1) {
            ASSERT_EQ(after, damaged) << round;
            continue;
        }
        // The one header allowed to change: the first audio or MIDI stream header lying
        // wholly inside the header list as the damaged file declares it.
        std::size_t listEnd = std::min<std::size_t>(20 + Get32(damaged, 16), damaged.size());
        std::size_t header = 0;
        for (std::size_t p = 24; p + 64 <= listEnd; ++p) {
            if (std::memcmp(&damaged[p], "strh", 4) == 0 &&
                (std::memcmp(&damaged[p + 8], "auds", 4) == 0 ||
                 std::memcmp(&damaged[p + 8], "mids", 4) == 0)) {
                header = p;
                break;
            }
        }
        ASSERT_NE(header, 0u) << round;
        for (std::size_t i = 0; i < damaged.size(); ++i) {
            if (after[i] != damaged[i]) {
                ASSERT_TRUE(i >= header + 36 && i < header + 40) << round << " byte " << i;
            }
        }
        ++patched;
    }
    EXPECT_GT(patched, 100);
}
