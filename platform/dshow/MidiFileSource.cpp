#include "platform/dshow/MidiFileSource.h"

#include "platform/com/ComPtr.h"
#include "platform/dshow/FailureReport.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "platform/win/Files.h"

#include <new>
#include <span>

CMidiStreamPin::CMidiStreamPin(CMidiFileSource* filter, HRESULT* result)
    : CStreamingOutputPin(nullptr, result, filter, u"MIDI"), source_(filter)
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
    const av::MidiSequence& sequence = source_->Sequence();
    for (const av::MidiMessage& message : sequence.messages) {
        if (StopRequested())
            break;
        const std::span<const std::uint8_t> bytes = sequence.BytesOf(message);
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

CMidiFileSource::CMidiFileSource() : CSource(nullptr, nullptr, CLSID_MidiFileSource) {}

void* CMidiFileSource::GetInterface(REFIID iid)
{
    if (iid == IID_IFileSourceFilter)
        return static_cast<IFileSourceFilter*>(this);
    return CSource::GetInterface(iid);
}

HRESULT CMidiFileSource::Load(LPCOLESTR fileName, const AM_MEDIA_TYPE*)
{
    if (!fileName)
        return E_POINTER;
    CAutoLock lock(&m_StateLock);
    if (loaded_)
        return E_UNEXPECTED;
    const std::string path = WideToUtf8(fileName);
    std::string error;
    if (!av::ReadMidiFile(path, sequence_, &error)) {
        ReportFailure("midi file source", error);
        sequence_ = av::MidiSequence();
        return GetFileAttributesA(path.c_str()) == FILE_ATTRIBUTE_NORMAL ? VFW_E_UNKNOWN_FILE_TYPE
                                                                         : VFW_E_NOT_FOUND;
    }
    loaded_ = true;
    HRESULT hr = S_OK;
    // The pin adds itself to the filter, which deletes it.
    if (!new (std::nothrow) CMidiStreamPin(this, &hr))
        return E_OUTOFMEMORY;
    return S_OK;
}
