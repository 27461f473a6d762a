#pragma once

#include "platform/av/StreamFormatPtr.h"
#include "platform/dshow/EncodedStream.h"
#include "platform/dshow/FilterBase.h"

class CEncoderFilter;

// The encoder's output: one compressed sample per codec packet. It also answers
// IEncodedStream, so that the multiplexer stores the stream as the codec describes it.
class CEncoderOutputPin : public CBaseOutputPin, public IEncodedStream {
public:
    CEncoderOutputPin(CEncoderFilter* filter, HRESULT* result);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override { return CBasePin::AddRef(); }
    ULONG Release() override { return CBasePin::Release(); }

    // Offers the compressed type, once the input is connected.
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    av::StreamFormatPtr StreamFormat() override;

private:
    CEncoderFilter* encoder_;
};
