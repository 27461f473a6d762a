#pragma once

#include "platform/win/Types.h"

// A calendar time in the platform's field order (month 1 to 12, day of week 0 = Sunday).
struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// The current local time. Any thread.
void GetLocalTime(SYSTEMTIME* time);
