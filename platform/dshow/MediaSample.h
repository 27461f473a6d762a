#pragma once

#include "platform/com/Unknown.h"
#include "platform/dshow/Filter.h"

#include <vector>

class CMemAllocator;

class CMediaSample : public CUnknown, public IMediaSample {
public:
    // Wraps size bytes that belong to someone else; they must outlive the sample.
    CMediaSample(BYTE* buffer, long size);
    DECLARE_IUNKNOWN

    // Points the sample at another foreign buffer and clears times and flags; only while
    // nobody else holds the sample.
    void Wrap(BYTE* buffer, long size);

    HRESULT GetPointer(BYTE** buffer) override;
    long GetSize() override;
    HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    HRESULT IsSyncPoint() override;
    HRESULT SetSyncPoint(BOOL syncPoint) override;
    HRESULT IsDiscontinuity() override;
    HRESULT SetDiscontinuity(BOOL discontinuity) override;
    long GetActualDataLength() override;
    HRESULT SetActualDataLength(long length) override;
    HRESULT GetMediaTime(LONGLONG* start, LONGLONG* stop) override;
    HRESULT SetMediaTime(LONGLONG* start, LONGLONG* stop) override;

protected:
    void* GetInterface(REFIID iid) override;
    void LastReleased() override;

private:
    friend class CMemAllocator;
    // A buffer of its own, for the allocator's pool.
    CMediaSample(CMemAllocator* allocator, long size);
    void ClearProperties();

    CMemAllocator* allocator_ = nullptr;  // set for pooled samples
    std::vector<BYTE> ownBuffer_;
    BYTE* buffer_ = nullptr;
    long size_ = 0;
    long actualLength_ = 0;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME stop_ = 0;
    bool timeValid_ = false;
    bool stopValid_ = false;
    LONGLONG mediaStart_ = 0;
    LONGLONG mediaStop_ = 0;
    bool mediaTimeValid_ = false;
    bool syncPoint_ = false;
    bool discontinuity_ = false;
};
