#include "platform/dshow/MidiStreamPin.h"

#include "platform/com/ComPtr.h"

#include <new>
#include <span>

CMidiStreamPin::CMidiStreamPin(CSource* filter, HRESULT* result, const av::MidiSequence& sequence)
    : CStreamingOutputPin(nullptr, result, filter, u"MIDI"), sequence_(sequence)
{}

HRESULT CMidiStreamPin::CheckMediaType(const CMediaType* type)
{
    return type->majortype == MEDIATYPE_Midi ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CMidiStreamPin::GetMediaType(int position, CMediaType* type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = CMediaType();
    type->SetType(&MEDIATYPE_Midi);
    type->SetSubtype(&MEDIASUBTYPE_NULL);
    type->SetFormatType(&FORMAT_None);
    return S_OK;
}

HRESULT CMidiStreamPin::DoBufferProcessingLoop()
{
    // One wrapper for every message: Receive borrows it, so it is free again on return.
    const auto sample = ComPtr<CMediaSample>::Share(
        new (std::nothrow) CMediaSample(static_cast<BYTE*>(nullptr), 0));
    if (!sample) {
        EndStream(E_OUTOFMEMORY);
        return E_OUTOFMEMORY;
    }
    for (const av::MidiMessage& message : sequence_.messages) {
        if (StopRequested())
            break;
        const std::span<const std::uint8_t> bytes = sequence_.BytesOf(message);
        sample->Wrap(const_cast<BYTE*>(bytes.data()), static_cast<long>(bytes.size()));
        REFERENCE_TIME start = message.time;
        REFERENCE_TIME stop = message.time;
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        // A refused sample ends the stream without an error of its own (whoever refused
        // it reported why); end of stream still goes down so that the graph completes.
        if (Deliver(sample.get()) != S_OK)
            break;
    }
    EndStream(S_OK);
    return S_OK;
}
