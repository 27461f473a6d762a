#include "platform/dshow/AviMux.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/AudioEncoderFilter.h"
#include "platform/dshow/EncodedStream.h"
#include "platform/dshow/FailureReport.h"
#include "platform/dshow/FileSink.h"
#include "platform/dshow/Uuids.h"
#include "platform/dshow/VideoEncoderFilter.h"
#include "platform/text/Utf16.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How far one input may run ahead of the slowest: a second keeps the file's chunks
// interleaved closely enough for playback and bounds what a stopped run carries beyond
// its shortest stream.
constexpr REFERENCE_TIME kMaxLead = kUnitsPerSecond;

constexpr double kDefaultFramesPerSecond = 25.0;

constexpr std::string_view kSubsystem = "avi mux";

}  // namespace

CAviMuxInputPin::CAviMuxInputPin(CAviMux* mux, int index, HRESULT* result)
    : CBaseInputPin(nullptr, mux, mux->pStateLock(), result,
                    (u"Input " + Utf8ToWide(std::to_string(index + 1))).c_str()),
      mux_(mux), index_(index)
{}

HRESULT CAviMuxInputPin::CheckConnect(IPin* pin)
{
    const HRESULT hr = CBaseInputPin::CheckConnect(pin);
    if (FAILED(hr))
        return hr;
    ComPtr<IEncodedStream> encoded;
    fromEncoder_ = SUCCEEDED(pin->QueryInterface(IID_IEncodedStream, encoded.OutVoid()));
    return S_OK;
}

HRESULT CAviMuxInputPin::CheckMediaType(const CMediaType* type)
{
    if (fromEncoder_) {
        return type->majortype == MEDIATYPE_Video || type->majortype == MEDIATYPE_Audio
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    if (Rgb24VideoInfo(*type) || Pcm16Format(*type) || type->majortype == MEDIATYPE_Midi) {
        return S_OK;
    }
    return VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxInputPin::CompleteConnect(IPin* receivePin)
{
    const HRESULT hr = CBaseInputPin::CompleteConnect(receivePin);
    if (SUCCEEDED(hr))
        mux_->AddFreeInput();
    return hr;
}

av::StreamFormatPtr CAviMuxInputPin::StreamFormat()
{
    // No lock: connections change only while the filter is stopped, when no streaming
    // thread asks.
    if (!m_Connected)
        return nullptr;
    if (fromEncoder_) {
        ComPtr<IEncodedStream> encoded;
        if (FAILED(m_Connected->QueryInterface(IID_IEncodedStream, encoded.OutVoid())))
            return nullptr;
        return encoded->StreamFormat();
    }
    if (const VIDEOINFOHEADER* info = Rgb24VideoInfo(m_mt)) {
        const double fps =
            info->AvgTimePerFrame > 0
                ? static_cast<double>(kUnitsPerSecond) / static_cast<double>(info->AvgTimePerFrame)
                : kDefaultFramesPerSecond;
        return av::RawVideoFormat(info->bmiHeader.biWidth, std::abs(info->bmiHeader.biHeight), fps);
    }
    if (const WAVEFORMATEX* wave = Pcm16Format(m_mt)) {
        return av::PcmAudioFormat(static_cast<int>(wave->nSamplesPerSec), wave->nChannels);
    }
    if (m_mt.majortype == MEDIATYPE_Midi)
        return av::MidiFormat();
    return nullptr;
}

const BYTE* CAviMuxInputPin::StoredData(const BYTE* data, long length)
{
    const VIDEOINFOHEADER* info = fromEncoder_ ? nullptr : Rgb24VideoInfo(m_mt);
    if (!info || info->bmiHeader.biHeight > 0)
        return data;
    const long rows = -static_cast<long>(info->bmiHeader.biHeight);
    const long stride = static_cast<long>(GetBitmapSize(&info->bmiHeader)) / rows;
    if (length < stride * rows)
        return nullptr;
    bottomUp_.resize(static_cast<std::size_t>(stride * rows));
    for (long y = 0; y < rows; ++y)
        std::copy_n(data + (rows - 1 - y) * stride, stride, bottomUp_.data() + y * stride);
    return bottomUp_.data();
}

HRESULT CAviMuxInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return mux_->Receive(index_, sample);
}

HRESULT CAviMuxInputPin::EndOfStream()
{
    const HRESULT hr = CBaseInputPin::EndOfStream();
    if (hr != S_OK)
        return hr;
    return mux_->EndOfStream(index_);
}

CAviMuxOutputPin::CAviMuxOutputPin(CAviMux* mux, HRESULT* result)
    : CBaseOutputPin(nullptr, mux, mux->pStateLock(), result, u"AVI Out")
{}

HRESULT CAviMuxOutputPin::CheckMediaType(const CMediaType* type)
{
    return type->majortype == MEDIATYPE_Stream && type->subtype == MEDIASUBTYPE_Avi
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxOutputPin::GetMediaType(int position, CMediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = CMediaType();
    type->SetType(&MEDIATYPE_Stream);
    type->SetSubtype(&MEDIASUBTYPE_Avi);
    type->SetFormatType(&FORMAT_None);
    return S_OK;
}

CAviMux::CAviMux()
    : CBaseFilter(nullptr, nullptr, CLSID_AviDest), output_(this, nullptr), gate_(kMaxLead)
{
    AddFreeInput();
}

CAviMux::~CAviMux()
{
    std::lock_guard<std::mutex> lock(writeMutex_);
    FinishFile(nullptr);
}

void CAviMux::AddFreeInput()
{
    CAutoLock lock(&m_StateLock);
    const int index = static_cast<int>(inputs_.size());
    inputs_.push_back(std::make_unique<CAviMuxInputPin>(this, index, nullptr));
}

int CAviMux::GetPinCount()
{
    CAutoLock lock(&m_StateLock);
    return static_cast<int>(inputs_.size()) + 1;
}

CBasePin* CAviMux::GetPin(int index)
{
    CAutoLock lock(&m_StateLock);
    if (index < 0)
        return nullptr;
    if (index < static_cast<int>(inputs_.size()))
        return inputs_[static_cast<std::size_t>(index)].get();
    if (index == static_cast<int>(inputs_.size()))
        return &output_;
    return nullptr;
}

std::string CAviMux::TargetPath()
{
    IPin* peer = output_.GetConnected();
    if (!peer)
        return {};
    PIN_INFO info{};
    if (FAILED(peer->QueryPinInfo(&info)))
        return {};
    const ComPtr<IBaseFilter> writer(info.pFilter);
    ComPtr<IFileSinkFilter> sink;
    if (!writer || FAILED(writer->QueryInterface(IID_IFileSinkFilter, sink.OutVoid())))
        return {};
    std::string path;
    LPOLESTR name = nullptr;
    if (SUCCEEDED(sink->GetCurFile(&name, nullptr)) && name) {
        path = WideToUtf8(name);
        CoTaskMemFree(name);
    }
    return path;
}

HRESULT CAviMux::Pause()
{
    CAutoLock lock(&m_StateLock);
    if (IsStopped()) {
        const std::string path = TargetPath();
        if (path.empty()) {
            ReportFailure(kSubsystem, "no file writer with a file name at the output");
            return VFW_E_NOT_CONNECTED;
        }
        std::string error;
        std::unique_ptr<av::AviWriter> writer = av::AviWriter::Create(path, &error);
        if (!writer) {
            ReportFailure(kSubsystem, error);
            return E_FAIL;
        }
        const std::size_t count = inputs_.size();
        {
            std::lock_guard<std::mutex> writeLock(writeMutex_);
            writer_ = std::move(writer);
            streamsAdded_ = false;
            finished_ = false;
            streamOf_.assign(count, -1);
            connected_.assign(count, false);
            for (std::size_t i = 0; i < count; ++i)
                connected_[i] = inputs_[i]->IsConnected();
            feeding_ = connected_;
        }
        gate_.Reset(static_cast<int>(count));
        for (std::size_t i = 0; i < count; ++i) {
            if (!inputs_[i]->IsConnected())
                gate_.End(static_cast<int>(i));
        }
    }
    return CBaseFilter::Pause();
}

HRESULT CAviMux::Stop()
{
    // Waiting inputs give up first; a write in progress ends before the file does.
    gate_.Close();
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        std::string error;
        if (!FinishFile(&error))
            ReportFailure(kSubsystem, error);
    }
    return CBaseFilter::Stop();
}

bool CAviMux::AddStreams(std::string* error)
{
    if (streamsAdded_)
        return true;
    streamsAdded_ = true;
    for (std::size_t i = 0; i < streamOf_.size(); ++i) {
        if (!connected_[i])
            continue;
        av::StreamFormatPtr format = inputs_[i]->StreamFormat();
        if (!format)
            continue;
        streamOf_[i] = writer_->AddStream(std::move(format), error);
        if (streamOf_[i] < 0)
            return false;
    }
    return true;
}

bool CAviMux::FinishFile(std::string* error)
{
    if (finished_ || !writer_)
        return true;
    finished_ = true;
    bool ok = AddStreams(error);
    ok = writer_->Finish(ok ? error : nullptr) && ok;
    writer_.reset();
    return ok;
}

HRESULT CAviMux::StreamError(std::string_view reason)
{
    ReportFailure(kSubsystem, reason);
    NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
    return E_FAIL;
}

HRESULT CAviMux::Receive(int input, IMediaSample* sample)
{
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT timed = sample->GetTime(&start, &stop);
    if (FAILED(timed))
        start = stop = 0;
    if (timed == VFW_S_NO_STOP_TIME)
        stop = start;
    if (!gate_.WaitTurn(input, start))
        return VFW_E_WRONG_STATE;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_POINTER;
    std::lock_guard<std::mutex> lock(writeMutex_);
    if (finished_ || !writer_)
        return S_FALSE;
    std::string error;
    if (!AddStreams(&error))
        return StreamError(error);
    const int stream = streamOf_[static_cast<std::size_t>(input)];
    if (stream < 0)
        return S_OK;
    const long length = sample->GetActualDataLength();
    const BYTE* stored = inputs_[static_cast<std::size_t>(input)]->StoredData(data, length);
    if (!stored)
        return StreamError("a sample holds less than one frame");
    if (!writer_->Write(stream, stored, static_cast<std::size_t>(length), start,
                        std::max(start, stop), sample->IsSyncPoint() == S_OK, &error))
        return StreamError(error);
    return S_OK;
}

HRESULT CAviMux::EndOfStream(int input)
{
    gate_.End(input);
    bool complete = false;
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        if (finished_)
            return S_OK;
        feeding_[static_cast<std::size_t>(input)] = false;
        if (std::none_of(feeding_.begin(), feeding_.end(), [](bool f) { return f; })) {
            std::string error;
            if (!FinishFile(&error))
                StreamError(error);
            complete = true;
        }
    }
    if (complete && output_.IsConnected())
        output_.DeliverEndOfStream();
    return S_OK;
}
