#pragma once

#include "platform/av/MediaTime.h"
#include "platform/av/StreamFormatPtr.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace av {

// Writes a standard AVI file: stream headers in the order the streams were added, the
// packets interleaved by time, an index at the end. A MIDI stream's header carries the
// type "mids"; its packets are MIDI messages as on the wire, and packets that fall on the
// same 10-millisecond tick are joined into one. Video and MIDI streams are stored one
// chunk per tick of their time base, with empty chunks where no packet came (also before
// a late first packet), so that a reader, which has nothing but the chunk count, plays
// each packet at its time. Packets of one stream come in time order (a packet that does
// not advance takes the next free tick); Write may be called from several threads, one
// stream each, and serialises them.
class AviWriter {
public:
    // Creates (or truncates) the file. Null, with a message, when it cannot be written.
    static std::unique_ptr<AviWriter> Create(const std::string& path, std::string* error);
    // Finishes the file when Finish was not called.
    virtual ~AviWriter() = default;

    // Before the first Write; returns the stream's number or -1.
    virtual int AddStream(StreamFormatPtr format, std::string* error) = 0;
    virtual bool Write(int stream, const std::uint8_t* data, std::size_t size, MediaTime startTime,
                       MediaTime endTime, bool keyFrame, std::string* error) = 0;
    // Writes what is buffered, the index and the final headers, and closes the file: the
    // file is complete and playable with what was written, also when no packet came.
    virtual bool Finish(std::string* error) = 0;
};

}  // namespace av
