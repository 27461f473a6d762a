#include "platform/win/WaitableObject.h"

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    auto* waitable = dynamic_cast<WaitableObject*>(handle);
    return waitable ? waitable->Wait(milliseconds) : WAIT_FAILED;
}
