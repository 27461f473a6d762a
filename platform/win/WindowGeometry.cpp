#include "platform/win/WindowGeometry.h"

BOOL GetClientRect(HWND window, RECT* rect)
{
    WindowProcedure* procedure = FindWindowProcedure(window);
    return procedure && rect && procedure->ClientRect(rect) ? TRUE : FALSE;
}
