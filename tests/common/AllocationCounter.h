#pragma once

#include <atomic>
#include <cstddef>

/** Counts heap allocations made by the thread that armed it. The test programs
    replace the global operator new (AllocationCounter.cpp) so that a test can
    prove that a stretch of audio-thread code allocates nothing. */
struct AllocationCounter
{
    /** Allocations counted since this object was created, on this thread. */
    AllocationCounter();
    ~AllocationCounter();

    std::size_t count() const;

    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

private:
    std::size_t start;
};
