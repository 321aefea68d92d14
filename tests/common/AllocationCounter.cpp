#include "AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local std::size_t allocations = 0;
thread_local int armed = 0;

void* allocate(std::size_t size)
{
    if (armed > 0)
        ++allocations;
    if (size == 0)
        size = 1;
    if (void* p = std::malloc(size))
        return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t alignment)
{
    if (armed > 0)
        ++allocations;
    const auto a = static_cast<std::size_t>(alignment);
    if (void* p = std::aligned_alloc(a, ((size + a - 1) / a) * a))
        return p;
    throw std::bad_alloc();
}
} // namespace

AllocationCounter::AllocationCounter() : start(allocations) { ++armed; }
AllocationCounter::~AllocationCounter() { --armed; }
std::size_t AllocationCounter::count() const { return allocations - start; }

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate(size); } catch (...) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate(size); } catch (...) { return nullptr; }
}
void* operator new(std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return allocateAligned(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
