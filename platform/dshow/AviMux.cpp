#include "platform/dshow/AviMux.h"

#include "platform/com/Com.h"
#include "platform/com/ComPtr.h"
#include "platform/dshow/FailureReport.h"
#include "platform/dshow/FileSink.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"

#include <algorithm>

namespace {

// How far one input may run ahead of the slowest: a second keeps the file's chunks
// interleaved closely enough for playback and bounds what a stopped run carries beyond
// its shortest stream.
constexpr REFERENCE_TIME kMaxLead = kUnitsPerSecond;

constexpr std::string_view kSubsystem = "avi mux";

}  // namespace

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
