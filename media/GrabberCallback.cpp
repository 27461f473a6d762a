#include "media/GrabberCallback.h"

HRESULT CGrabberCallback::QueryInterface(REFIID iid, void** object)
{
    if (iid != IID_ISampleGrabberCB && iid != IID_IUnknown)
        return E_NOINTERFACE;
    if (object)
        *object = static_cast<ISampleGrabberCB*>(this);
    return S_OK;
}

ULONG CGrabberCallback::AddRef()
{
    return 2;
}

ULONG CGrabberCallback::Release()
{
    return 1;
}
