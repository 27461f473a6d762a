#pragma once

#include "editor/engine/AVIToFiles.h"
#include "editor/engine/FilesToAVI.h"
#include "media/BufferFrame.h"
#include "platform/av/MediaFile.h"
#include "support/MessagePump.h"
#include "support/TestMedia.h"

#include <string>
#include <vector>

namespace editortest {

inline constexpr UINT kGraphNotify = 0xBEE5;
inline constexpr UINT kFrameDone = 0xBEE6;
inline constexpr UINT kCountDone = 0xBEE7;
inline constexpr UINT kCounting = 0xBEE8;
inline constexpr UINT kConvertDone = 0xBEE9;

// `count` pictures, each of its own two colours, the top (i % height) + 1 rows in one and
// the rest in the other, so that a frame shows its index and which way up it is.
std::vector<testmedia::TestPicture> ColourFrames(int count, int width, int height);
// A picture of one colour.
testmedia::TestPicture FlatPicture(int width, int height, std::uint32_t colour);

// The name of bitmap `number` of a run: prefix, five digits, ".bmp".
std::string BitmapName(const char* prefix, int number);

// Writes the picture as a bitmap file (three channels, or one with grey).
bool WriteBitmap(const std::string& path, const testmedia::TestPicture& picture, bool grey = false);
// The picture in a file as shown (top row first), three channels; empty when unreadable.
testmedia::TestPicture ReadPicture(const std::string& path);
// The one stream of a written file; its frameCount is -1 when the file does not read as
// a file of one stream.
av::StreamInfo ProbeVideo(const std::string& path);

// Whether every pixel of a and b differs by at most tolerance per channel.
bool SamePicture(const testmedia::TestPicture& a, const testmedia::TestPicture& b,
                 int tolerance = 0);

// The editor's engine as its main dialog drives it: one frame source "Video Frame" shared
// by both converters, their graph events aimed at a message window, and the dialog's
// reactions to the end messages (stop and close the converter's graph).
class EditorHarness {
public:
    EditorHarness();
    ~EditorHarness();
    EditorHarness(const EditorHarness&) = delete;
    EditorHarness& operator=(const EditorHarness&) = delete;

    // Converts the AVI file into bitmaps named by pattern; true when the run ended
    // (0xBEE9 arrived) and the graph was closed.
    bool AviToFiles(const std::string& avi, const std::string& pattern, int first, int step);
    // Counts the frames as the AVI-to-files page does; the count that 0xBEE7 carried, or -1.
    int CountFrames(const std::string& avi, int stopFrame = 0x7FFFFFFF, int limit = 127);
    // Makes the AVI file from bitmaps; true when the run completed and the dialog's close
    // after it has posted the second 0xBEE9.
    bool FilesToAvi(const std::string& avi, const std::string& pattern, const char* compressor,
                    float rate, int first, int last, int step);

    // The messages a converter posted, in order.
    std::vector<testmedia::MessagePump::Message> From(const void* sender, UINT message) const;
    void Forget() { seen_ = pump.messages().size(); }

    testmedia::MessagePump pump;
    CBufferFrame frames;
    CAVIToFiles aviToFiles;
    CFilesToAVI filesToAvi;
    // Called on the user-interface thread for each 0xBEE6 of the files-to-AVI converter,
    // as the files page refreshes its preview.
    std::function<void()> onFilesFrame;

private:
    std::size_t seen_ = 0;
};

}  // namespace editortest
