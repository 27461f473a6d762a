#include "platform/dshow/MediaSample.h"

#include "platform/dshow/MemAllocator.h"

CMediaSample::CMediaSample(BYTE* buffer, long size)
{
    Wrap(buffer, size);
}

CMediaSample::CMediaSample(CMemAllocator* allocator, long size)
    : allocator_(allocator), ownBuffer_(static_cast<std::size_t>(size))
{
    buffer_ = ownBuffer_.data();
    size_ = size;
    actualLength_ = size;
}

void CMediaSample::Wrap(BYTE* buffer, long size)
{
    buffer_ = buffer;
    size_ = size;
    actualLength_ = size;
    ClearProperties();
}

void CMediaSample::ClearProperties()
{
    timeValid_ = stopValid_ = mediaTimeValid_ = false;
    syncPoint_ = discontinuity_ = false;
}

void* CMediaSample::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IMediaSample)
        return static_cast<IMediaSample*>(this);
    return nullptr;
}

void CMediaSample::LastReleased()
{
    if (allocator_)
        allocator_->ReturnSample(this);
    else
        delete this;
}

HRESULT CMediaSample::GetPointer(BYTE** buffer)
{
    if (!buffer)
        return E_POINTER;
    *buffer = buffer_;
    return S_OK;
}

long CMediaSample::GetSize()
{
    return size_;
}

HRESULT CMediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop)
{
    if (!start || !stop)
        return E_POINTER;
    if (!timeValid_)
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = start_;
    if (!stopValid_) {
        *stop = start_ + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *stop = stop_;
    return S_OK;
}

HRESULT CMediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop)
{
    timeValid_ = start != nullptr;
    stopValid_ = start && stop;
    if (start)
        start_ = *start;
    if (start && stop)
        stop_ = *stop;
    return S_OK;
}

HRESULT CMediaSample::IsSyncPoint()
{
    return syncPoint_ ? S_OK : S_FALSE;
}

HRESULT CMediaSample::SetSyncPoint(BOOL syncPoint)
{
    syncPoint_ = syncPoint != FALSE;
    return S_OK;
}

HRESULT CMediaSample::IsDiscontinuity()
{
    return discontinuity_ ? S_OK : S_FALSE;
}

HRESULT CMediaSample::SetDiscontinuity(BOOL discontinuity)
{
    discontinuity_ = discontinuity != FALSE;
    return S_OK;
}

long CMediaSample::GetActualDataLength()
{
    return actualLength_;
}

HRESULT CMediaSample::SetActualDataLength(long length)
{
    if (length < 0 || length > size_)
        return VFW_E_BUFFER_OVERFLOW;
    actualLength_ = length;
    return S_OK;
}

HRESULT CMediaSample::GetMediaTime(LONGLONG* start, LONGLONG* stop)
{
    if (!start || !stop)
        return E_POINTER;
    if (!mediaTimeValid_)
        return VFW_E_MEDIA_TIME_NOT_SET;
    *start = mediaStart_;
    *stop = mediaStop_;
    return S_OK;
}

HRESULT CMediaSample::SetMediaTime(LONGLONG* start, LONGLONG* stop)
{
    mediaTimeValid_ = start && stop;
    if (mediaTimeValid_) {
        mediaStart_ = *start;
        mediaStop_ = *stop;
    }
    return S_OK;
}
