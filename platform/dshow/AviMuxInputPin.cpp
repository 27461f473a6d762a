#include "platform/dshow/AviMuxInputPin.h"

#include "platform/com/ComPtr.h"
#include "platform/dshow/AviMux.h"
#include "platform/dshow/EncodedStream.h"
#include "platform/dshow/UncompressedTypes.h"
#include "platform/text/Utf16.h"

#include <algorithm>
#include <cstdlib>
#include <string>

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
        return av::RawVideoFormat(info->bmiHeader.biWidth, std::abs(info->bmiHeader.biHeight),
                                  FramesPerSecond(*info));
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
