#include "platform/dshow/EncoderFilter.h"

#include "platform/com/ComPtr.h"
#include "platform/dshow/FailureReport.h"

#include <new>

CEncoderFilter::CEncoderFilter(REFCLSID clsid, std::string friendlyName, std::string_view subsystem)
    : CBaseFilter(nullptr, nullptr, clsid), friendlyName_(std::move(friendlyName)),
      subsystem_(subsystem), input_(this, nullptr), output_(this, nullptr)
{}

// The codecs belong to the derived filters and go with them.
CEncoderFilter::~CEncoderFilter() = default;

int CEncoderFilter::GetPinCount()
{
    return 2;
}

CBasePin* CEncoderFilter::GetPin(int index)
{
    if (index == 0)
        return &input_;
    if (index == 1)
        return &output_;
    return nullptr;
}

HRESULT CEncoderFilter::OpenFor(const CMediaType& input)
{
    std::lock_guard<std::mutex> lock(codecMutex_);
    Close();
    format_.reset();
    outputType_ = CMediaType();
    std::string error;
    CMediaType output;
    av::StreamFormatPtr format;
    if (!Open(input, &output, &format, &error) || !format) {
        ReportFailure(subsystem_, error);
        Close();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    outputType_ = output;
    format_ = std::move(format);
    used_ = false;
    failed_ = false;
    return S_OK;
}

void CEncoderFilter::CloseCodec()
{
    std::lock_guard<std::mutex> lock(codecMutex_);
    Close();
    format_.reset();
    outputType_ = CMediaType();
}

HRESULT CEncoderFilter::Pause()
{
    {
        CAutoLock lock(&m_StateLock);
        if (IsStopped() && input_.IsConnected()) {
            bool reopen = false;
            {
                std::lock_guard<std::mutex> codecLock(codecMutex_);
                reopen = used_ || failed_;
            }
            if (reopen && FAILED(OpenFor(input_.CurrentMediaType())))
                return E_FAIL;
        }
    }
    return CBaseFilter::Pause();
}

HRESULT CEncoderFilter::StreamError(std::string_view reason)
{
    ReportFailure(subsystem_, reason);
    failed_ = true;
    NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
    return E_FAIL;
}

HRESULT CEncoderFilter::Receive(IMediaSample* sample)
{
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    if (FAILED(sample->GetTime(&start, &stop)))
        start = 0;
    std::vector<av::EncodedPacket> packets;
    {
        std::lock_guard<std::mutex> lock(codecMutex_);
        if (failed_ || !format_)
            return S_FALSE;
        if (!data)
            return StreamError("a sample without data");
        used_ = true;
        std::string error;
        if (!Encode(data, sample->GetActualDataLength(), start, packets, &error))
            return StreamError(error);
    }
    return DeliverPackets(packets);
}

HRESULT CEncoderFilter::EndOfStream()
{
    std::vector<av::EncodedPacket> packets;
    {
        std::lock_guard<std::mutex> lock(codecMutex_);
        std::string error;
        if (!failed_ && format_ && used_ && !Flush(packets, &error))
            StreamError(error);
    }
    DeliverPackets(packets);
    if (!output_.IsConnected())
        return S_OK;
    return output_.DeliverEndOfStream();
}

HRESULT CEncoderFilter::DeliverPackets(const std::vector<av::EncodedPacket>& packets)
{
    if (packets.empty() || !output_.IsConnected())
        return S_OK;
    // One wrapper for every packet: Receive borrows the sample and returns before the
    // next packet is wrapped.
    const auto sample = ComPtr<CMediaSample>::Share(
        new (std::nothrow) CMediaSample(static_cast<BYTE*>(nullptr), 0));
    if (!sample)
        return E_OUTOFMEMORY;
    HRESULT hr = S_OK;
    for (const av::EncodedPacket& packet : packets) {
        sample->Wrap(const_cast<BYTE*>(packet.data.data()), static_cast<long>(packet.data.size()));
        REFERENCE_TIME start = packet.startTime;
        REFERENCE_TIME stop = packet.endTime;
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(packet.keyFrame ? TRUE : FALSE);
        hr = output_.Deliver(sample.get());
        if (hr != S_OK)
            break;
    }
    return hr;
}
