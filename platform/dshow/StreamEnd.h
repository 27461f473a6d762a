#pragma once

#include "platform/com/Unknown.h"

// Asked of every filter of a graph that is running or paused when the graph stops, on the
// application's thread, before any filter stops. The streams end where they are, as at
// the end of their media, and what is downstream finishes its work with them: an encoder
// gives out the pictures its codec still holds, the multiplexer completes its file. So a
// stopped run keeps every sample that was made. The graph manager queues no EC_COMPLETE
// for these ends.
inline constexpr IID IID_IStreamEnd{
    0x8E3F1C27, 0x4B6D, 0x4A90, {0xB1, 0x5E, 0x27, 0xC4, 0x9A, 0x03, 0x6D, 0xE8}};

struct IStreamEnd : IUnknown {
    // Asks the filter's streaming threads to deliver end of stream after the sample in
    // hand; a renderer refuses the samples it would hold back until their time, as after
    // the stop. Does not wait.
    virtual HRESULT EndStreams() = 0;
    // Returns once the threads that EndStreams asked have delivered their end of stream.
    virtual HRESULT WaitStreamsEnded() = 0;
};
