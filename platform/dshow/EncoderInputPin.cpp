#include "platform/dshow/EncoderInputPin.h"

#include "platform/dshow/EncoderFilter.h"

CEncoderInputPin::CEncoderInputPin(CEncoderFilter* filter, HRESULT* result)
    : CPassThroughInputPin(filter, result, u"Input", &filter->output_), encoder_(filter)
{}

HRESULT CEncoderInputPin::CheckMediaType(const CMediaType* type)
{
    return encoder_->AcceptsInput(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CEncoderInputPin::CompleteConnect(IPin* receivePin)
{
    const HRESULT hr = CBaseInputPin::CompleteConnect(receivePin);
    if (FAILED(hr))
        return hr;
    return encoder_->OpenFor(m_mt);
}

HRESULT CEncoderInputPin::BreakConnect()
{
    encoder_->CloseCodec();
    return CBaseInputPin::BreakConnect();
}

HRESULT CEncoderInputPin::Receive(IMediaSample* sample)
{
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return encoder_->Receive(sample);
}

HRESULT CEncoderInputPin::EndOfStream()
{
    const HRESULT hr = CBaseInputPin::EndOfStream();
    if (hr != S_OK)
        return hr;
    return encoder_->EndOfStream();
}
