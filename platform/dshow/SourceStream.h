#pragma once

#include "platform/dshow/StreamingOutputPin.h"

// A source pin that fills samples from its allocator: FillBuffer returns S_OK for a
// sample to deliver, S_FALSE at the end of the stream, a failure to end it with an error.
// A sample that downstream refuses ends the stream as S_FALSE does (the refusing filter
// has reported its own error), so the graph still completes.
// It offers one media type (GetMediaType(CMediaType*)) and accepts only that one.
class CSourceStream : public CStreamingOutputPin {
public:
    CSourceStream(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR name);

    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT CheckMediaType(const CMediaType* type) override;

protected:
    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    virtual HRESULT GetMediaType(CMediaType* type);
    HRESULT DoBufferProcessingLoop() override;
};
