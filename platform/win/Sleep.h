#pragma once

#include "platform/win/Types.h"

// Gives up the processor for at least the time; 0 only yields. Any thread.
void Sleep(DWORD milliseconds);
