#pragma once

#include <mutex>
#include <optional>

// A re-entrant lock: the thread that holds it may enter again, and must leave as often as
// it entered. Initialise before the first use and delete after the last one. Any thread.
struct CRITICAL_SECTION {
    std::optional<std::recursive_mutex> mutex;
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
