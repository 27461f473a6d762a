#include "platform/dshow/MidiFileSource.h"

#include "platform/dshow/FailureReport.h"
#include "platform/dshow/Uuids.h"
#include "platform/text/Utf16.h"
#include "platform/win/Files.h"

#include <new>
#include <string>

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
    if (!new (std::nothrow) CMidiStreamPin(this, &hr, sequence_))
        return E_OUTOFMEMORY;
    return S_OK;
}
