#include "TestFilters.h"

#include "platform/dshow/Uuids.h"

#include <cstring>

namespace testfilters {

namespace {
constexpr CLSID kTestSourceClass{0x1A2B3C4D, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr CLSID kRecordingRendererClass{0x1A2B3C4D, 0x0001, 0x0003, {1, 2, 3, 4, 5, 6, 7, 8}};
}  // namespace

CMediaType Rgb24Type(int width, int height)
{
    CMediaType type;
    type.SetType(&MEDIATYPE_Video);
    type.SetSubtype(&MEDIASUBTYPE_RGB24);
    type.SetFormatType(&FORMAT_VideoInfo);
    auto* info =
        reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    std::memset(info, 0, sizeof(VIDEOINFOHEADER));
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biSizeImage = GetBitmapSize(&info->bmiHeader);
    type.SetSampleSize(info->bmiHeader.biSizeImage);
    return type;
}

CMediaType PcmType(int rate, int channels)
{
    CMediaType type;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    auto* format = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    std::memset(format, 0, sizeof(WAVEFORMATEX));
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = static_cast<WORD>(channels);
    format->nSamplesPerSec = static_cast<DWORD>(rate);
    format->wBitsPerSample = 16;
    format->nBlockAlign = static_cast<WORD>(channels * 2);
    format->nAvgBytesPerSec = format->nSamplesPerSec * format->nBlockAlign;
    return type;
}

CountingPin::CountingPin(CountingSource* filter, const CMediaType& type, int count,
                         REFERENCE_TIME step, int failAt)
    : CSourceStream(nullptr, nullptr, filter, u"Out"), type_(type), count_(count), step_(step),
      failAt_(failAt)
{}

HRESULT CountingPin::GetMediaType(CMediaType* type)
{
    *type = type_;
    return S_OK;
}

HRESULT CountingPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    request->cBuffers = 2;
    request->cbBuffer = 64;
    ALLOCATOR_PROPERTIES actual{};
    return allocator->SetProperties(request, &actual);
}

HRESULT CountingPin::FillBuffer(IMediaSample* sample)
{
    const int index = next_.load();
    if (index == failAt_)
        return E_FAIL;
    if (index >= count_)
        return S_FALSE;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    std::memset(data, index & 0xFF, static_cast<std::size_t>(sample->GetSize()));
    REFERENCE_TIME start = index * step_;
    REFERENCE_TIME stop = start + step_;
    sample->SetTime(&start, &stop);
    next_ = index + 1;
    return S_OK;
}

CountingSource::CountingSource(const CMediaType& type, int count, REFERENCE_TIME step, int failAt)
    : CSource(nullptr, nullptr, kTestSourceClass)
{
    new CountingPin(this, type, count, step, failAt);
}

RecordingRenderer::RecordingRenderer()
    : CBaseRenderer(kRecordingRendererClass, nullptr, nullptr, nullptr)
{}

HRESULT RecordingRenderer::CheckMediaType(const CMediaType* type)
{
    return accepted == GUID_NULL || type->majortype == accepted ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT RecordingRenderer::DoRenderSample(IMediaSample* sample)
{
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    sample->GetTime(&start, &stop);
    std::lock_guard<std::mutex> lock(mutex_);
    if (firstBytes_.size() >= refuseAfter)
        return E_FAIL;
    firstBytes_.push_back(data && sample->GetActualDataLength() > 0 ? data[0] : -1);
    times_.push_back(start);
    return S_OK;
}

std::vector<int> RecordingRenderer::firstBytes()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return firstBytes_;
}

std::vector<REFERENCE_TIME> RecordingRenderer::times()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return times_;
}

HRESULT Callback::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ISampleGrabberCB) {
        *out = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT Callback::SampleCB(double sampleTime, IMediaSample* sample)
{
    ++calls;
    if (onSample)
        onSample(sampleTime, sample);
    return S_OK;
}

HRESULT Callback::BufferCB(double, BYTE*, long)
{
    ++calls;
    return S_OK;
}

IPin* PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int index)
{
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    IPin* pin = nullptr;
    IPin* found = nullptr;
    while (!found && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        pin->QueryDirection(&d);
        if (d == direction && index-- == 0)
            found = pin;
        pin->Release();
    }
    pins->Release();
    return found;
}

TestGraph::TestGraph()
{
    builder = Create<IGraphBuilder>(CLSID_FilterGraph, IID_IGraphBuilder);
    builder->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
    builder->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events));
}

TestGraph::~TestGraph()
{
    control->Stop();
    events->Release();
    control->Release();
    builder->Release();
}

void TestGraph::RemoveClock()
{
    IMediaFilter* filter = nullptr;
    builder->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&filter));
    filter->SetSyncSource(nullptr);
    filter->Release();
}

int DrainEvents(IMediaEventEx* events, long code, long timeoutMs)
{
    int seen = 0;
    long got = 0;
    LONG_PTR p1 = 0;
    LONG_PTR p2 = 0;
    while (events->GetEvent(&got, &p1, &p2, timeoutMs) == S_OK) {
        events->FreeEventParams(got, p1, p2);
        if (got == code)
            ++seen;
    }
    return seen;
}

}  // namespace testfilters
