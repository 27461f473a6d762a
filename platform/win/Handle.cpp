#include "platform/win/Handle.h"

BOOL CloseHandle(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return FALSE;
    delete handle;
    return TRUE;
}
