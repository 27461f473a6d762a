#pragma once

#include "platform/com/Unknown.h"
#include "platform/dshow/Filter.h"
#include "platform/dshow/MediaSample.h"

#include <mutex>
#include <vector>

// A pool of owned samples. A sample that is out keeps the allocator alive.
class CMemAllocator : public CUnknown, public IMemAllocator {
public:
    CMemAllocator() = default;
    ~CMemAllocator() override;
    DECLARE_IUNKNOWN

    HRESULT SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    HRESULT GetProperties(ALLOCATOR_PROPERTIES* properties) override;
    HRESULT Commit() override;
    HRESULT Decommit() override;
    HRESULT GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                      DWORD flags) override;

protected:
    void* GetInterface(REFIID iid) override;

private:
    friend class CMediaSample;
    void ReturnSample(CMediaSample* sample);

    // Guards everything below; samples come back on streaming threads.
    std::mutex mutex_;
    ALLOCATOR_PROPERTIES properties_{0, 0, 1, 0};
    bool committed_ = false;
    std::vector<CMediaSample*> free_;
};
