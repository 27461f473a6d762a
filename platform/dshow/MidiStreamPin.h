#pragma once

#include "platform/dshow/SourceBase.h"

class CMidiFileSource;

// The MIDI stream: MEDIATYPE_Midi samples, one per MIDI message, stamped with the
// message's time and holding its bytes as on the wire.
class CMidiStreamPin : public CStreamingOutputPin {
public:
    CMidiStreamPin(CMidiFileSource* filter, HRESULT* result);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

protected:
    HRESULT DoBufferProcessingLoop() override;

private:
    CMidiFileSource* source_;
};
