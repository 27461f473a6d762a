#pragma once

#include "platform/com/Unknown.h"
#include "platform/dshow/Filter.h"

// The graph's default reference clock: the monotonic system clock in 100 ns units.
class CSystemClock : public CUnknown, public IReferenceClock {
public:
    DECLARE_IUNKNOWN
    HRESULT GetTime(REFERENCE_TIME* time) override;

protected:
    void* GetInterface(REFIID iid) override;
};
