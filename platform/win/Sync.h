#pragma once

#include "platform/win/CriticalSection.h"
#include "platform/win/CriticalSectionLock.h"
#include "platform/win/Event.h"
#include "platform/win/LocalTime.h"
#include "platform/win/Sleep.h"
#include "platform/win/TextCompare.h"
#include "platform/win/WaitableObject.h"

// Kernel services under their desktop names, one job to a file: re-entrant critical
// sections, events and waiting on them, sleeping, the local time and case-insensitive
// text comparison. This header gathers them. Every function may be called from any
// thread.
