#pragma once

#include "platform/dshow/Filter.h"

#include <cstdint>
#include <vector>

namespace testmedia {

// A media sample over a buffer the test owns, for calling sample-grabber callbacks
// directly. It lives on the test's stack: reference counting is not done. It counts the
// calls that read it, so a test can tell whether a callback looked at the sample.
class FakeMediaSample : public IMediaSample {
public:
    // length: the actual data length reported (may be less than the buffer).
    FakeMediaSample(std::vector<std::uint8_t>& buffer, long length)
        : buffer_(buffer), length_(length)
    {}

    HRESULT QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IMediaSample && iid != IID_IUnknown)
            return E_NOINTERFACE;
        *out = static_cast<IMediaSample*>(this);
        return S_OK;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    HRESULT GetPointer(BYTE** buffer) override
    {
        ++reads;
        *buffer = buffer_.data();
        return S_OK;
    }
    long GetSize() override { return static_cast<long>(buffer_.size()); }
    HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override
    {
        ++reads;
        *start = 0;
        *stop = 0;
        return S_OK;
    }
    HRESULT SetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return E_NOTIMPL; }
    HRESULT IsSyncPoint() override { return S_OK; }
    HRESULT SetSyncPoint(BOOL) override { return E_NOTIMPL; }
    HRESULT IsDiscontinuity() override { return S_FALSE; }
    HRESULT SetDiscontinuity(BOOL) override { return E_NOTIMPL; }
    long GetActualDataLength() override { return length_; }
    HRESULT SetActualDataLength(long) override { return E_NOTIMPL; }
    HRESULT GetMediaTime(LONGLONG* start, LONGLONG* stop) override
    {
        ++reads;
        *start = 0;
        *stop = 0;
        return S_OK;
    }
    HRESULT SetMediaTime(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }

    int reads = 0;

private:
    std::vector<std::uint8_t>& buffer_;
    long length_;
};

}  // namespace testmedia
