#pragma once

#include "platform/av/MidiFile.h"
#include "platform/dshow/SourceBase.h"

// The MIDI stream: MEDIATYPE_Midi samples, one per MIDI message, stamped with the
// message's time and holding its bytes as on the wire.
class CMidiStreamPin : public CStreamingOutputPin {
public:
    // sequence: the loaded file's messages, which the filter keeps and no longer changes.
    CMidiStreamPin(CSource* filter, HRESULT* result, const av::MidiSequence& sequence);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;

protected:
    HRESULT DoBufferProcessingLoop() override;

private:
    const av::MidiSequence& sequence_;
};
