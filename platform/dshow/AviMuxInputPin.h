#pragma once

#include "platform/av/StreamFormatPtr.h"
#include "platform/dshow/FilterBase.h"

#include <vector>

class CAviMux;

// One stream of the file. Takes the compressed stream of one of our encoder filters,
// RGB24 video (bottom-up, or top-down, which it stores bottom-up as players expect of
// uncompressed AVI video), 16-bit PCM audio or MIDI messages.
class CAviMuxInputPin : public CBaseInputPin {
public:
    CAviMuxInputPin(CAviMux* mux, int index, HRESULT* result);

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CheckMediaType(const CMediaType* type) override;
    // Grows the multiplexer's next free input.
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

    // How the stream is stored; null when it cannot be described. While connected: on
    // the application's thread while stopped, or on a streaming thread.
    av::StreamFormatPtr StreamFormat();
    // Streaming thread: the sample's bytes as the file stores them. The rows of a
    // top-down frame come back bottom-up in a buffer of this pin's, valid until the next
    // call; null when the sample holds less than one frame.
    const BYTE* StoredData(const BYTE* data, long length);

private:
    CAviMux* mux_;
    int index_;
    bool fromEncoder_ = false;    // set while connecting, read while streaming
    std::vector<BYTE> bottomUp_;  // streaming thread only
};
