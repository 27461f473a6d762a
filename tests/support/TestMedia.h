#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Media files for tests, made on the spot: most by running the ffmpeg command-line tool
// on its generated sources, the classic uncompressed and run-length AVIs by writing them
// byte by byte (no installed encoder writes those layouts). Every maker answers false
// when the file could not be made; the test should then fail, not skip.
namespace testmedia {

// A folder of its own under the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path; empty when it could not be made.
    const std::string& root() const { return root_; }
    // The path of a file called `name` inside the folder.
    std::string path(const std::string& name) const;
    // Writes content to `name` (folders below are made as needed); returns its path.
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string root_;
};

// Runs `ffmpeg -nostdin -hide_banner -loglevel error -y <arguments>`; true when it exits
// with 0. Its error lines, if any, go to the test's standard error.
bool RunFfmpeg(const std::vector<std::string>& arguments);

// A video of `frames` frames from the lavfi source `source` (e.g.
// "testsrc=size=32x16:rate=10"), compressed with the ffmpeg encoder `codec` (rawvideo,
// msvideo1, cinepak, mjpeg, msmpeg4v2, msmpeg4, mpeg4) in a pixel format that encoder
// takes. withAudio adds a 440 Hz stereo pcm_s16le track at 44100 Hz as long as the video.
bool MakeVideo(const std::string& path, const std::string& codec, const std::string& source,
               int fps, int frames, bool withAudio);
// MakeVideo of the moving test pattern at the given size and rate.
bool MakeTestVideo(const std::string& path, const std::string& codec, int width, int height,
                   int fps, int frames, bool withAudio);

// `seconds` of a 440 Hz tone at `rate` with `channels` channels, encoded with `codec`
// (pcm_s16le, libmp3lame, wmav2, ...).
bool MakeTestAudio(const std::string& path, const std::string& codec, double seconds, int rate,
                   int channels);

// An MP3 file of `seconds` of a 440 Hz stereo tone at 44100 Hz with a 64 x 64 cover
// picture (MJPEG) attached, as most downloaded or ripped MP3 files carry one.
bool MakeMp3WithCover(const std::string& path, double seconds);

// A picture in the order it is shown: top row first, 3 bytes blue, green, red per pixel,
// rows not padded (bgr.size() == width * height * 3).
struct TestPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;
};

// How WriteDibAvi stores its frames.
enum class DibLayout {
    Rgb24BottomUp,  // BI_RGB, positive height, rows padded to 4 bytes, last row first
    Rgb24TopDown,   // BI_RGB, negative height, rows padded to 4 bytes, top row first
    Rle8,           // BI_RLE8 with a palette of the frames' colours (at most 256)
};

// An AVI of one video stream holding these frames (all of the first frame's size) at
// `fps`, with an index.
bool WriteDibAvi(const std::string& path, const std::vector<TestPicture>& frames, int fps,
                 DibLayout layout);

// A picture whose top `topRows` rows are `top` and the others `bottom` (colours 0xRRGGBB).
TestPicture SplitPicture(int width, int height, int topRows, std::uint32_t top,
                         std::uint32_t bottom);

// Writes `text` to a new file.
bool WriteTextFile(const std::string& path, const std::string& text);
// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// A copy of the first `bytes` bytes of `from`.
bool CopyTruncated(const std::string& from, const std::string& to, std::size_t bytes);

}  // namespace testmedia
