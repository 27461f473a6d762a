#pragma once

#include "platform/dshow/FilterBase.h"

class CAviMux;

// The multiplexer's one output: an AVI byte stream (MEDIATYPE_Stream, MEDIASUBTYPE_Avi)
// for the file writer, whose file the multiplexer writes.
class CAviMuxOutputPin : public CBaseOutputPin {
public:
    CAviMuxOutputPin(CAviMux* mux, HRESULT* result);
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
};
