#include "platform/dshow/MemAllocator.h"

CMemAllocator::~CMemAllocator()
{
    for (CMediaSample* sample : free_)
        delete sample;
}

void* CMemAllocator::GetInterface(REFIID iid)
{
    if (iid == IID_IUnknown || iid == IID_IMemAllocator)
        return static_cast<IMemAllocator*>(this);
    return nullptr;
}

HRESULT CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual)
{
    if (!request || !actual)
        return E_POINTER;
    if (request->cbBuffer < 0 || request->cBuffers < 0)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(mutex_);
    if (committed_)
        return VFW_E_WRONG_STATE;
    properties_ = *request;
    if (properties_.cbAlign < 1)
        properties_.cbAlign = 1;
    for (CMediaSample* sample : free_)
        delete sample;
    free_.clear();
    *actual = properties_;
    return S_OK;
}

HRESULT CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* properties)
{
    if (!properties)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(mutex_);
    *properties = properties_;
    return S_OK;
}

HRESULT CMemAllocator::Commit()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (properties_.cbBuffer <= 0)
        return VFW_E_SIZENOTSET;
    committed_ = true;
    return S_OK;
}

HRESULT CMemAllocator::Decommit()
{
    std::lock_guard<std::mutex> lock(mutex_);
    committed_ = false;
    return S_OK;
}

HRESULT CMemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*, DWORD)
{
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    CMediaSample* taken = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!committed_)
            return VFW_E_NOT_COMMITTED;
        if (!free_.empty()) {
            taken = free_.back();
            free_.pop_back();
        }
    }
    if (!taken) {
        taken = new (std::nothrow) CMediaSample(this, properties_.cbBuffer);
        if (!taken)
            return E_OUTOFMEMORY;
    }
    taken->actualLength_ = taken->size_;
    taken->ClearProperties();
    // An outstanding sample keeps the pool alive until it comes back.
    NonDelegatingAddRef();
    taken->NonDelegatingAddRef();
    *sample = taken;
    return S_OK;
}

void CMemAllocator::ReturnSample(CMediaSample* sample)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (sample->size_ == properties_.cbBuffer) {
            free_.push_back(sample);
            sample = nullptr;
        }
    }
    delete sample;
    NonDelegatingRelease();
}
