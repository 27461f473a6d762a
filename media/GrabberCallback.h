#pragma once

#include "platform/dshow/SampleGrabber.h"

// The identity part of every sample-grabber callback of the media library: it answers for
// the callback interface and IUnknown with the object itself and counts no references.
// The Sample Grabber's AddRef and Release therefore never decide the object's life; the
// owner creates and deletes it, and must keep it alive until the grabber that calls it is
// released or the graph is closed.
class CGrabberCallback : public ISampleGrabberCB {
public:
    // IID_ISampleGrabberCB and IID_IUnknown give this object and S_OK (the pointer is
    // written only when the out pointer is not null); anything else E_NOINTERFACE.
    HRESULT QueryInterface(REFIID iid, void** object) override;
    // 2: the object always looks referenced by someone else besides the caller.
    ULONG AddRef() override;
    // 1: releasing never brings the object down.
    ULONG Release() override;

protected:
    CGrabberCallback() = default;
    ~CGrabberCallback() = default;
};
