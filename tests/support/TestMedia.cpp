#include "tests/support/TestMedia.h"

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

extern char** environ;

namespace testmedia {

namespace {

// A pixel format each encoder accepts, so that ffmpeg needs no guessing.
std::string PixelFormatFor(const std::string& codec)
{
    if (codec == "rawvideo")
        return "bgr24";
    if (codec == "msvideo1")
        return "rgb555le";
    if (codec == "cinepak")
        return "rgb24";
    if (codec == "mjpeg")
        return "yuvj420p";
    return "yuv420p";
}

class ByteWriter {
public:
    void U8(std::uint8_t value) { bytes.push_back(value); }
    void U16(std::uint32_t value)
    {
        U8(value & 0xFF);
        U8((value >> 8) & 0xFF);
    }
    void U32(std::uint32_t value)
    {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Tag(const char* tag) { bytes.insert(bytes.end(), tag, tag + 4); }
    // Starts a chunk or list; EndChunk fills in its size and pads it to an even length.
    std::size_t BeginChunk(const char* tag)
    {
        Tag(tag);
        U32(0);
        return bytes.size();
    }
    void EndChunk(std::size_t start)
    {
        const auto size = static_cast<std::uint32_t>(bytes.size() - start);
        for (int i = 0; i < 4; ++i)
            bytes[start - 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
        if (size % 2)
            U8(0);
    }
    std::vector<std::uint8_t> bytes;
};

std::uint32_t PixelAt(const TestPicture& picture, int x, int row)
{
    const std::uint8_t* p = &picture.bgr[(static_cast<std::size_t>(row) * picture.width + x) * 3];
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

std::vector<std::uint8_t> Rgb24Frame(const TestPicture& picture, bool bottomUp)
{
    const int stride = (picture.width * 3 + 3) & ~3;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(stride) * picture.height, 0);
    for (int row = 0; row < picture.height; ++row) {
        const int stored = bottomUp ? picture.height - 1 - row : row;
        std::copy_n(&picture.bgr[static_cast<std::size_t>(row) * picture.width * 3],
                    picture.width * 3, &data[static_cast<std::size_t>(stored) * stride]);
    }
    return data;
}

// Encoded runs of up to 255 equal pixels, bottom row first, each row closed by an end of
// line and the picture by an end of bitmap.
std::vector<std::uint8_t> Rle8Frame(const TestPicture& picture,
                                    const std::map<std::uint32_t, int>& palette)
{
    std::vector<std::uint8_t> data;
    for (int row = picture.height - 1; row >= 0; --row) {
        for (int x = 0; x < picture.width;) {
            const int index = palette.at(PixelAt(picture, x, row));
            int run = 1;
            while (x + run < picture.width && run < 255 &&
                   palette.at(PixelAt(picture, x + run, row)) == index)
                ++run;
            data.push_back(static_cast<std::uint8_t>(run));
            data.push_back(static_cast<std::uint8_t>(index));
            x += run;
        }
        data.push_back(0);
        data.push_back(row == 0 ? 1 : 0);
    }
    return data;
}

}  // namespace

TempFolder::TempFolder()
{
    std::error_code failed;
    std::string pattern =
        (std::filesystem::temp_directory_path(failed) / "tavrino-test-XXXXXX").string();
    if (!failed && mkdtemp(pattern.data()))
        root_ = pattern;
}

TempFolder::~TempFolder()
{
    if (!root_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
}

std::string TempFolder::path(const std::string& name) const
{
    return (std::filesystem::path(root_) / name).string();
}

std::string TempFolder::Write(const std::string& name, const std::string& content) const
{
    const std::filesystem::path file = std::filesystem::path(root_) / name;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    WriteTextFile(file.string(), content);
    return file.string();
}

bool RunFfmpeg(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all = {"ffmpeg",    "-nostdin", "-hide_banner",
                                    "-loglevel", "error",    "-y"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool MakeVideo(const std::string& path, const std::string& codec, const std::string& source,
               int fps, int frames, bool withAudio)
{
    const std::string seconds = std::to_string(static_cast<double>(frames) / fps);
    std::vector<std::string> arguments = {"-f", "lavfi", "-i", source};
    if (withAudio) {
        // The picture source is cut by length as well: a frame limit on the output would
        // end the sound too, where the last picture was muxed.
        arguments.insert(arguments.begin(), {"-t", seconds});
        arguments.insert(arguments.end(),
                         {"-f", "lavfi", "-i",
                          "sine=frequency=440:sample_rate=44100:duration=" + seconds, "-c:a",
                          "pcm_s16le", "-ac", "2"});
    } else {
        arguments.insert(arguments.end(), {"-frames:v", std::to_string(frames)});
    }
    arguments.insert(arguments.end(), {"-r", std::to_string(fps), "-c:v", codec, "-pix_fmt",
                                       PixelFormatFor(codec), path});
    return RunFfmpeg(arguments);
}

bool MakeTestVideo(const std::string& path, const std::string& codec, int width, int height,
                   int fps, int frames, bool withAudio)
{
    const std::string source = "testsrc=size=" + std::to_string(width) + "x" +
                               std::to_string(height) + ":rate=" + std::to_string(fps);
    return MakeVideo(path, codec, source, fps, frames, withAudio);
}

bool MakeTestAudio(const std::string& path, const std::string& codec, double seconds, int rate,
                   int channels)
{
    return RunFfmpeg({"-f", "lavfi", "-i",
                      "sine=frequency=440:sample_rate=" + std::to_string(rate) +
                          ":duration=" + std::to_string(seconds),
                      "-ac", std::to_string(channels), "-c:a", codec, path});
}

bool MakeMp3WithCover(const std::string& path, double seconds)
{
    const std::string tone =
        "sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds);
    const std::string cover = "color=c=red:size=64x64:duration=0.04";
    std::vector<std::string> arguments = {"-f",  "lavfi", "-i",   tone,        "-f",   "lavfi",
                                          "-i",  cover,   "-map", "0:a",       "-map", "1:v",
                                          "-ac", "2",     "-c:a", "libmp3lame"};
    arguments.insert(arguments.end(), {"-frames:v", "1", "-c:v", "mjpeg", "-disposition:v",
                                       "attached_pic", "-id3v2_version", "3", path});
    return RunFfmpeg(arguments);
}

bool WriteDibAvi(const std::string& path, const std::vector<TestPicture>& frames, int fps,
                 DibLayout layout)
{
    if (frames.empty() || fps <= 0)
        return false;
    const int width = frames.front().width;
    const int height = frames.front().height;
    std::map<std::uint32_t, int> palette;
    std::vector<std::vector<std::uint8_t>> chunks;
    if (layout == DibLayout::Rle8) {
        for (const TestPicture& frame : frames) {
            for (int row = 0; row < frame.height; ++row) {
                for (int x = 0; x < frame.width; ++x)
                    palette.emplace(PixelAt(frame, x, row), 0);
            }
        }
        if (palette.size() > 256)
            return false;
        int next = 0;
        for (auto& entry : palette)
            entry.second = next++;
    }
    for (const TestPicture& frame : frames) {
        if (frame.width != width || frame.height != height ||
            frame.bgr.size() != static_cast<std::size_t>(width) * height * 3)
            return false;
        chunks.push_back(layout == DibLayout::Rle8
                             ? Rle8Frame(frame, palette)
                             : Rgb24Frame(frame, layout == DibLayout::Rgb24BottomUp));
    }
    const std::uint32_t largest = static_cast<std::uint32_t>(
        std::max_element(chunks.begin(), chunks.end(), [](const auto& a, const auto& b) {
            return a.size() < b.size();
        })->size());
    const bool rle = layout == DibLayout::Rle8;
    const char* chunkTag = rle ? "00dc" : "00db";

    ByteWriter out;
    const std::size_t riff = out.BeginChunk("RIFF");
    out.Tag("AVI ");
    const std::size_t hdrl = out.BeginChunk("LIST");
    out.Tag("hdrl");
    const std::size_t avih = out.BeginChunk("avih");
    out.U32(1000000 / fps);
    out.U32(largest * fps);
    out.U32(0);
    out.U32(0x10);  // has an index
    out.U32(static_cast<std::uint32_t>(frames.size()));
    out.U32(0);
    out.U32(1);
    out.U32(largest);
    out.U32(width);
    out.U32(height);
    for (int i = 0; i < 4; ++i)
        out.U32(0);
    out.EndChunk(avih);
    const std::size_t strl = out.BeginChunk("LIST");
    out.Tag("strl");
    const std::size_t strh = out.BeginChunk("strh");
    out.Tag("vids");
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(1);
    out.U32(fps);
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(frames.size()));
    out.U32(largest);
    out.U32(0xFFFFFFFF);
    out.U32(0);
    out.U16(0);
    out.U16(0);
    out.U16(width);
    out.U16(height);
    out.EndChunk(strh);
    const std::size_t strf = out.BeginChunk("strf");
    out.U32(40);
    out.U32(width);
    out.U32(layout == DibLayout::Rgb24TopDown ? static_cast<std::uint32_t>(-height) : height);
    out.U16(1);
    out.U16(rle ? 8 : 24);
    out.U32(rle ? 1 : 0);
    out.U32(rle ? largest : static_cast<std::uint32_t>(chunks.front().size()));
    out.U32(0);
    out.U32(0);
    out.U32(rle ? static_cast<std::uint32_t>(palette.size()) : 0);
    out.U32(0);
    for (const auto& [colour, index] : palette)
        out.U32(colour);  // RGBQUAD: blue, green, red, 0
    out.EndChunk(strf);
    out.EndChunk(strl);
    out.EndChunk(hdrl);

    const std::size_t movi = out.BeginChunk("LIST");
    const std::size_t moviTag = out.bytes.size();
    out.Tag("movi");
    std::vector<std::uint32_t> offsets;
    for (const auto& chunk : chunks) {
        offsets.push_back(static_cast<std::uint32_t>(out.bytes.size() - moviTag));
        const std::size_t frame = out.BeginChunk(chunkTag);
        out.bytes.insert(out.bytes.end(), chunk.begin(), chunk.end());
        out.EndChunk(frame);
    }
    out.EndChunk(movi);
    const std::size_t idx1 = out.BeginChunk("idx1");
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        out.Tag(chunkTag);
        out.U32(0x10);  // key frame
        out.U32(offsets[i]);
        out.U32(static_cast<std::uint32_t>(chunks[i].size()));
    }
    out.EndChunk(idx1);
    out.EndChunk(riff);

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.bytes.data()),
               static_cast<std::streamsize>(out.bytes.size()));
    return static_cast<bool>(file);
}

TestPicture SplitPicture(int width, int height, int topRows, std::uint32_t top,
                         std::uint32_t bottom)
{
    TestPicture picture{width, height, {}};
    picture.bgr.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        const std::uint32_t colour = row < topRows ? top : bottom;
        for (int x = 0; x < width; ++x) {
            picture.bgr.push_back(colour & 0xFF);
            picture.bgr.push_back((colour >> 8) & 0xFF);
            picture.bgr.push_back((colour >> 16) & 0xFF);
        }
    }
    return picture;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool CopyTruncated(const std::string& from, const std::string& to, std::size_t bytes)
{
    std::ifstream in(from, std::ios::binary);
    std::vector<char> data(bytes);
    in.read(data.data(), static_cast<std::streamsize>(bytes));
    if (in.gcount() != static_cast<std::streamsize>(bytes))
        return false;
    std::ofstream out(to, std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(bytes));
    return static_cast<bool>(out);
}

}  // namespace testmedia
