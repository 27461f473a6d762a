#pragma once

#include "platform/dshow/PassThroughInputPin.h"

class CEncoderFilter;

// The encoder's input: takes the uncompressed types the codec takes; samples go to the
// encoder, flushes on to its output.
class CEncoderInputPin : public CPassThroughInputPin {
public:
    CEncoderInputPin(CEncoderFilter* filter, HRESULT* result);

    HRESULT CheckMediaType(const CMediaType* type) override;
    // Opens the codec for the agreed type: a codec that cannot be opened fails the
    // connection.
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    HRESULT Receive(IMediaSample* sample) override;
    // Drains the codec before end of stream goes on.
    HRESULT EndOfStream() override;

private:
    CEncoderFilter* encoder_;
};
