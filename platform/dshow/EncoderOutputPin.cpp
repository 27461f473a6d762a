#include "platform/dshow/EncoderOutputPin.h"

#include "platform/dshow/EncoderFilter.h"

#include <mutex>

CEncoderOutputPin::CEncoderOutputPin(CEncoderFilter* filter, HRESULT* result)
    : CBaseOutputPin(nullptr, filter, filter->pStateLock(), result, u"Output"), encoder_(filter)
{}

HRESULT CEncoderOutputPin::QueryInterface(REFIID iid, void** out)
{
    if (out && iid == IID_IEncodedStream) {
        *out = static_cast<IEncodedStream*>(this);
        AddRef();
        return S_OK;
    }
    return CBaseOutputPin::QueryInterface(iid, out);
}

HRESULT CEncoderOutputPin::CheckMediaType(const CMediaType* type)
{
    std::lock_guard<std::mutex> lock(encoder_->codecMutex_);
    if (!encoder_->format_)
        return VFW_E_NOT_CONNECTED;
    return *type == encoder_->outputType_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CEncoderOutputPin::GetMediaType(int position, CMediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(encoder_->codecMutex_);
    if (!encoder_->format_ || position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = encoder_->outputType_;
    return S_OK;
}

av::StreamFormatPtr CEncoderOutputPin::StreamFormat()
{
    std::lock_guard<std::mutex> lock(encoder_->codecMutex_);
    return encoder_->format_;
}
