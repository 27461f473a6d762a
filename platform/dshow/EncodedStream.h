#pragma once

#include "platform/av/StreamFormatPtr.h"
#include "platform/com/Unknown.h"

// Asked of an output pin by the AVI multiplexer: a pin of one of our encoder filters
// answers with the stream description its codec made, which the AVI writer stores as the
// stream's header. Application's thread, while the pin is connected.
inline constexpr IID IID_IEncodedStream{
    0x5C1D2E50, 0x7A3B, 0x4F61, {0x9E, 0x2A, 0x31, 0x8C, 0x6D, 0x04, 0xB7, 0x15}};

struct IEncodedStream : IUnknown {
    // Null while the encoder is not open.
    virtual av::StreamFormatPtr StreamFormat() = 0;
};
