#include "editor/engine/PushPinBitmapSet.h"

#include "editor/engine/FindNextBitmap.h"
#include "platform/dshow/AutoLock.h"
#include "platform/dshow/Source.h"
#include "platform/dshow/UncompressedTypes.h"
#include "platform/text/HeapText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// The frame time of a rate that is not positive (or not a number): about 429.5 seconds.
constexpr REFERENCE_TIME kFallbackPeriod = 4294967296LL;

// The connected or offered type's frame layout; null without a video info block.
const BITMAPINFOHEADER* BitmapOf(const CMediaType& type)
{
    if (!type.pbFormat || type.cbFormat < sizeof(VIDEOINFOHEADER))
        return nullptr;
    return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
}

}  // namespace

CPushPinBitmapSet::CPushPinBitmapSet(HRESULT* result, CSource* filter)
    : CSourceStream(nullptr, result, filter, u"Out")
{}

CPushPinBitmapSet::~CPushPinBitmapSet()
{
    ReplaceHeapText(pattern_, nullptr);
    frameSource_ = nullptr;
    ReleaseRecords();
}

void CPushPinBitmapSet::ReleaseRecords()
{
    delete frameRecord_.image;
    frameRecord_ = FrameRecord{};
    delete fittedRecord_.image;
    fittedRecord_ = FrameRecord{};
}

REFERENCE_TIME CPushPinBitmapSet::Period() const
{
    if (!(frameRate_ > 0.0f))
        return kFallbackPeriod;
    return static_cast<REFERENCE_TIME>(static_cast<double>(kUnitsPerSecond) /
                                       static_cast<double>(frameRate_));
}

int CPushPinBitmapSet::SetSource(CBufferFrame* frameSource, const char* pattern, float frameRate,
                                 int first, int last, int step)
{
    if (!m_pFilter->IsStopped())
        return -1;
    ReplaceHeapText(pattern_, pattern);
    frameSource_ = frameSource;
    frameNumber_ = 0;
    frameRate_ = frameRate;
    firstNumber_ = first;
    currentNumber_ = first;
    lastNumber_ = last;
    step_ = step;
    frameLimit_ = -1;
    const long long found =
        FindNextBitmap(frameSource_, &frameRecord_, pattern_, first, last, step);
    hasFrames_ = found >= 0;
    return static_cast<int>(found);
}

bool CPushPinBitmapSet::HasFrames()
{
    if (!m_pFilter->IsStopped())
        return hasFrames_;
    hasFrames_ = FindNextBitmap(frameSource_, &frameRecord_, pattern_, firstNumber_, lastNumber_,
                                step_) >= 0;
    return hasFrames_;
}

HRESULT CPushPinBitmapSet::GetMediaType(CMediaType* type)
{
    CAutoLock lock(m_pFilter->pStateLock());
    if (!type)
        return E_POINTER;
    if (!frameSource_ || FindNextBitmap(frameSource_, &frameRecord_, pattern_, currentNumber_,
                                        lastNumber_, step_) < 0) {
        return E_FAIL;
    }
    const Image& image = *frameRecord_.image;
    // Top-down: the picture's rows run from the top, as they were loaded.
    *type = UncompressedVideoType(image.width(), -image.height(), image.channels() * 8, Period());
    if (!type->pbFormat)
        return E_OUTOFMEMORY;
    return S_OK;
}

HRESULT CPushPinBitmapSet::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    CAutoLock lock(m_pFilter->pStateLock());
    if (!frameSource_)
        return E_FAIL;
    const BITMAPINFOHEADER* bitmap = BitmapOf(CurrentMediaType());
    if (!allocator || !request || !bitmap)
        return E_POINTER;
    if (request->cBuffers == 0)
        request->cBuffers = 2;
    request->cbBuffer = static_cast<long>(bitmap->biSizeImage);
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CPushPinBitmapSet::Notify(IBaseFilter*, Quality)
{
    return E_FAIL;
}

const Image* CPushPinBitmapSet::FrameInStreamFormat()
{
    const BITMAPINFOHEADER* bitmap = BitmapOf(CurrentMediaType());
    const Image* loaded = frameRecord_.image;
    if (!bitmap || !loaded)
        return loaded;
    const int width = bitmap->biWidth;
    const int height = std::abs(bitmap->biHeight);
    const int channels = bitmap->biBitCount / 8;
    if (loaded->width() == width && loaded->height() == height && loaded->channels() == channels)
        return loaded;
    // Sheared rows or a cut picture would be no frame of the run: fit it instead.
    Image* fitted = fittedRecord_.image;
    if (!fitted || fitted->width() != width || fitted->height() != height ||
        fitted->channels() != channels) {
        delete fitted;
        fittedRecord_.image = Image::Create(width, height, channels).release();
    }
    if (!fittedRecord_.image || !frameSource_->GetFrameScaled(&fittedRecord_))
        return nullptr;
    return fittedRecord_.image;
}

HRESULT CPushPinBitmapSet::FillBuffer(IMediaSample* sample)
{
    const int limit = frameLimit_;
    if (limit >= 0 && frameNumber_ >= limit)
        return S_FALSE;
    if (!frameSource_)
        return E_FAIL;
    const long long found =
        FindNextBitmap(frameSource_, &frameRecord_, pattern_, currentNumber_, lastNumber_, step_);
    if (found < 0)
        return S_FALSE;
    currentNumber_ = found + 1;
    if (!sample)
        return E_POINTER;
    const Image* image = FrameInStreamFormat();
    if (!image || !image->hasData())
        return E_FAIL;

    CAutoLock lock(&sampleLock_);
    BYTE* buffer = nullptr;
    if (FAILED(sample->GetPointer(&buffer)) || !buffer)
        return E_POINTER;
    // Rows as the picture keeps them: top row first, each padded to 4 bytes.
    const long size = static_cast<long>(std::min<std::size_t>(
        static_cast<std::size_t>(std::max(sample->GetSize(), 0L)), image->imageSize()));
    std::memcpy(buffer, image->data(), static_cast<std::size_t>(size));
    sample->SetActualDataLength(size);
    const REFERENCE_TIME period = Period();
    REFERENCE_TIME start = static_cast<REFERENCE_TIME>(frameNumber_.load()) * period;
    REFERENCE_TIME stop = start + period;
    sample->SetTime(&start, &stop);
    ++frameNumber_;
    sample->SetSyncPoint(TRUE);
    return S_OK;
}
