#pragma once

#include "platform/dshow/SourceBase.h"

#include <atomic>

namespace testfilters {

class CountingSource;

// Delivers `count` samples of its type, each filled with its own index and stamped
// [index * step, (index + 1) * step); a failing index makes FillBuffer fail there.
class CountingPin : public CSourceStream {
public:
    CountingPin(CountingSource* filter, const CMediaType& type, int count, REFERENCE_TIME step,
                int failAt);
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    int delivered() const { return next_.load(); }

protected:
    HRESULT GetMediaType(CMediaType* type) override;

private:
    CMediaType type_;
    int count_;
    REFERENCE_TIME step_;
    int failAt_;
    std::atomic<int> next_{0};
};

}  // namespace testfilters
