#include "platform/dshow/FileWriter.h"

#include "platform/com/Com.h"
#include "platform/dshow/Uuids.h"

#include <algorithm>
#include <cstring>

CFileWriter::CFileWriter() : CBaseRenderer(CLSID_FileWriter, nullptr, nullptr, nullptr) {}

void* CFileWriter::GetInterface(REFIID iid)
{
    if (iid == IID_IFileSinkFilter || iid == IID_IFileSinkFilter2) {
        return static_cast<IFileSinkFilter2*>(this);
    }
    return CBaseRenderer::GetInterface(iid);
}

HRESULT CFileWriter::CheckMediaType(const CMediaType* type)
{
    return type->majortype == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

// The multiplexer writes the file itself; its output carries no data.
HRESULT CFileWriter::DoRenderSample(IMediaSample*)
{
    return S_OK;
}

HRESULT CFileWriter::SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* type)
{
    if (!fileName)
        return E_POINTER;
    if (!fileName[0])
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(settingsMutex_);
    fileName_ = fileName;
    type_ = type ? CMediaType(*type) : CMediaType();
    return S_OK;
}

HRESULT CFileWriter::GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* type)
{
    if (!fileName)
        return E_POINTER;
    *fileName = nullptr;
    std::lock_guard<std::mutex> lock(settingsMutex_);
    if (fileName_.empty())
        return E_FAIL;
    const std::size_t bytes = (fileName_.size() + 1) * sizeof(OLECHAR);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!copy)
        return E_OUTOFMEMORY;
    std::copy(fileName_.begin(), fileName_.end(), copy);
    copy[fileName_.size()] = 0;
    if (type && FAILED(CopyMediaType(type, &type_))) {
        CoTaskMemFree(copy);
        return E_OUTOFMEMORY;
    }
    *fileName = copy;
    return S_OK;
}

HRESULT CFileWriter::SetMode(DWORD flags)
{
    if (flags & ~AM_FILE_OVERWRITE)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(settingsMutex_);
    mode_ = flags;
    return S_OK;
}

HRESULT CFileWriter::GetMode(DWORD* flags)
{
    if (!flags)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(settingsMutex_);
    *flags = mode_;
    return S_OK;
}
