#pragma once

#include "support/MessagePump.h"

#include "platform/dshow/Graph.h"

namespace testmedia {

// Takes the graph's events until EC_COMPLETE (true) or until an error event, a failure
// or kPatienceMs without events (false).
inline bool WaitForCompletion(IMediaEventEx* events)
{
    if (!events)
        return false;
    for (;;) {
        long code = 0;
        LONG_PTR first = 0;
        LONG_PTR second = 0;
        if (events->GetEvent(&code, &first, &second, static_cast<long>(kPatienceMs)) != S_OK)
            return false;
        events->FreeEventParams(code, first, second);
        if (code == EC_COMPLETE)
            return true;
        if (code == EC_ERRORABORT || code == EC_USERABORT)
            return false;
    }
}

}  // namespace testmedia
