#include "platform/win/Handle.h"

BOOL CloseHandle(HANDLE handle)
{
    if (!handle)
        return FALSE;
    delete handle;
    return TRUE;
}
