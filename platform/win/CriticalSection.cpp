#include "platform/win/CriticalSection.h"

void InitializeCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex.emplace();
}

void EnterCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex->lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex->unlock();
}

void DeleteCriticalSection(CRITICAL_SECTION* section)
{
    section->mutex.reset();
}
