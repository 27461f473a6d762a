#include "platform/com/Unknown.h"

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = GetInterface(iid);
    if (!*out)
        return E_NOINTERFACE;
    // Every interface shares the one count, so AddRef through any of them is the same.
    NonDelegatingAddRef();
    return S_OK;
}

ULONG CUnknown::NonDelegatingAddRef()
{
    return ++references_;
}

ULONG CUnknown::NonDelegatingRelease()
{
    const ULONG left = --references_;
    if (left == 0)
        LastReleased();
    return left;
}

void CUnknown::LastReleased()
{
    delete this;
}
