#include "platform/dshow/SourceStream.h"

#include "platform/com/ComPtr.h"

CSourceStream::CSourceStream(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR name)
    : CStreamingOutputPin(objectName, result, filter, name)
{}

HRESULT CSourceStream::GetMediaType(CMediaType*)
{
    return E_UNEXPECTED;
}

HRESULT CSourceStream::GetMediaType(int position, CMediaType* type)
{
    if (!type)
        return E_POINTER;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    return GetMediaType(type);
}

HRESULT CSourceStream::CheckMediaType(const CMediaType* type)
{
    if (!type)
        return E_POINTER;
    CMediaType offered;
    if (GetMediaType(&offered) != S_OK)
        return E_FAIL;
    return offered == *type ? S_OK : E_FAIL;
}

HRESULT CSourceStream::DoBufferProcessingLoop()
{
    while (!StopRequested()) {
        ComPtr<IMediaSample> sample;
        HRESULT hr = GetDeliveryBuffer(sample.Out(), nullptr, nullptr, 0);
        if (FAILED(hr)) {
            EndStream(hr);
            return hr;
        }
        hr = FillBuffer(sample.get());
        if (hr == S_OK) {
            hr = Deliver(sample.get());
            // The downstream filter refused the sample: it has told the graph whatever
            // there was to tell, so the stream ends here without an error of its own,
            // and end of stream still goes down so that the graph completes.
            if (hr != S_OK) {
                EndStream(S_OK);
                return S_OK;
            }
            continue;
        }
        sample.Reset();
        EndStream(hr == S_FALSE ? S_OK : hr);
        return hr == S_FALSE ? S_OK : hr;
    }
    return S_OK;
}
