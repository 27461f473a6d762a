#include "platform/win/WindowGeometry.h"

// Message windows cover no area of the screen: only a handle that the user-interface
// layer has put a widget behind has a client rectangle, and none has one yet.
BOOL GetClientRect(HWND, RECT*)
{
    return FALSE;
}
