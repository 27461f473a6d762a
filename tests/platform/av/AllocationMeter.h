#pragma once

#include <cstddef>

// Measures the most memory that operator new holds at once while a meter lives, beyond
// what it held when the meter started, so that a test can bound what a piece of work
// takes. This test program replaces the global operator new and delete to count; one
// meter at a time, on one thread.
class AllocationMeter {
public:
    AllocationMeter();
    ~AllocationMeter();
    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    std::size_t peakBytes() const;
};
