#pragma once

// Hand-overs between threads that ThreadSanitizer cannot see by itself, because they pass
// through a library that is not built for it (Qt's event queue, ordered by Qt's own
// lock). In builds without ThreadSanitizer both calls are empty. Any thread.

#if defined(__SANITIZE_THREAD__)
#define TAVRINO_RACE_DETECTOR 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TAVRINO_RACE_DETECTOR 1
#endif
#endif

#ifdef TAVRINO_RACE_DETECTOR
#include <sanitizer/tsan_interface.h>
#endif

// Everything the calling thread did before HandOverRelease(token) happens before
// everything another thread does after HandOverAcquire(token) with the same token: the
// sending and the receiving end of one hand-over. The token is an address that names the
// hand-over while it is under way (a posted message's own event object).
inline void HandOverRelease(const void* token)
{
#ifdef TAVRINO_RACE_DETECTOR
    __tsan_release(const_cast<void*>(token));
#else
    (void)token;
#endif
}

inline void HandOverAcquire(const void* token)
{
#ifdef TAVRINO_RACE_DETECTOR
    __tsan_acquire(const_cast<void*>(token));
#else
    (void)token;
#endif
}
