#pragma once

#include "platform/av/MediaFile.h"
#include "platform/av/MediaTime.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace av {

// One decoded sample. The pixels or sound belong to the decoder and stay valid until its
// next Next() call or its destruction; the caller may edit them in place (the grabber's
// callback does) but must not free them.
struct DecodedSample {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;     // bytes of valid data
    MediaTime startTime = 0;  // from the stream's start
    MediaTime endTime = 0;
    int sampleFrames = 0;  // audio: samples per channel; video: 1
};

// Decodes one stream of a media file on a demuxer of its own, so that every stream of a
// file can be read by its own streaming thread without waiting for the others.
//
// Video comes out as a device-independent bitmap: 24-bit blue, green, red, rows stored
// bottom-up, each row padded to 4 bytes (size = ((width * 3 + 3) & ~3) * height).
// Audio comes out as interleaved signed 16-bit little-endian PCM at the stream's own
// sample rate and channel count.
//
// Not thread-safe: one thread drives one decoder.
class StreamDecoder {
public:
    enum class Status { Sample, End, Error };

    // Null, with a message, when the file cannot be opened, has no stream at that index,
    // or that stream is neither video nor audio or has no decoder, or is a video larger
    // than 16384 pixels in either dimension.
    static std::unique_ptr<StreamDecoder> Open(const std::string& path, int streamIndex,
                                               std::string* error);
    virtual ~StreamDecoder() = default;

    // The stream as probed; frameCount is 0 here (the decoder does not read ahead).
    virtual const StreamInfo& info() const = 0;

    // Decodes the next sample. End after the last one (decoder drained); Error with a
    // message on a broken stream (what was decoded before stays valid output).
    // A packet or frame the decoder rejects as damaged is dropped and decoding goes on
    // with the next one; a file that ends early (truncated, or unreadable from some
    // point) ends the stream as its end would. Times: the sample's time stamp from the
    // file minus the stream's start time, so the first sample starts at 0 unless the
    // stream's first output lies later; a sample without a time stamp starts where the
    // one before ended. End = start + the packet's duration (video without one: one frame
    // at the average frame rate; audio: samples / rate).
    // Video frames of another size than info()'s are scaled to it.
    virtual Status Next(DecodedSample& sample, std::string* error) = 0;
};

}  // namespace av
