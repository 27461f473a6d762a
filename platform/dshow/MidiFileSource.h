#pragma once

#include "platform/av/MidiFile.h"
#include "platform/dshow/MidiStreamPin.h"
#include "platform/dshow/SourceBase.h"

#include <string>

// The source filter for Standard MIDI Files (CLSID_MidiFileSource): the file is read
// whole on Load; each run plays its messages from the start.
class CMidiFileSource : public CSource, public IFileSourceFilter {
public:
    CMidiFileSource();
    DECLARE_IUNKNOWN

    // VFW_E_NOT_FOUND for a missing file, VFW_E_UNKNOWN_FILE_TYPE for one that is no
    // Standard MIDI File of format 0 or 1, E_UNEXPECTED on a second Load.
    HRESULT Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* type) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    bool loaded_ = false;
    av::MidiSequence sequence_;  // read-only once loaded
};
