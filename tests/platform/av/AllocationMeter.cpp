#include "AllocationMeter.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Bytes held by blocks that operator new handed out, less those given back, since the
// meter started; blocks older than the meter that are freed while it runs count
// negative, so the peak never overstates.
std::atomic<bool> metering{false};
std::atomic<long long> held{0};
std::atomic<long long> peak{0};

void* Allocate(std::size_t size, std::size_t alignment)
{
    void* block =
        alignment > alignof(std::max_align_t)
            ? std::aligned_alloc(alignment, (std::max<std::size_t>(size, 1) + alignment - 1) /
                                                alignment * alignment)
            : std::malloc(std::max<std::size_t>(size, 1));
    if (!block)
        return nullptr;
    if (metering.load(std::memory_order_relaxed)) {
        const long long now = held += static_cast<long long>(malloc_usable_size(block));
        long long highest = peak.load(std::memory_order_relaxed);
        while (now > highest && !peak.compare_exchange_weak(highest, now)) {
        }
    }
    return block;
}

void Free(void* block)
{
    if (!block)
        return;
    if (metering.load(std::memory_order_relaxed))
        held -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment)
{
    if (void* block = Allocate(size, alignment))
        return block;
    throw std::bad_alloc();
}

}  // namespace

AllocationMeter::AllocationMeter()
{
    held = 0;
    peak = 0;
    metering = true;
}

AllocationMeter::~AllocationMeter()
{
    metering = false;
}

std::size_t AllocationMeter::peakBytes() const
{
    return static_cast<std::size_t>(std::max<long long>(peak.load(), 0));
}

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size, alignof(std::max_align_t));
}
void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size, alignof(std::max_align_t));
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size, alignof(std::max_align_t));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size, alignof(std::max_align_t));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return Allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* block) noexcept
{
    Free(block);
}
void operator delete[](void* block) noexcept
{
    Free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Free(block);
}
void operator delete(void* block, std::align_val_t) noexcept
{
    Free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept
{
    Free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept
{
    Free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept
{
    Free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Free(block);
}
