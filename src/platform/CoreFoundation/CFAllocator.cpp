//===- CFAllocator.cpp - The fixed set of allocators ----------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFRuntime.h>

#include <cstdlib>

/// One of the library's immortal allocators: malloc-backed, or the null allocator.
struct __CFAllocator final : pmcf::Object {
    static CFTypeID TypeID() { return pmcf::kAllocatorTypeID; }
    constexpr __CFAllocator(bool isNull, const char* name) noexcept
        : Object(pmcf::kAllocatorTypeID, true), isNull(isNull), name(name) {}
    std::u16string describe() const override { return pmcf::Widen(name); }

    const bool isNull;
    const char* const name;
};

namespace {
// Constant-initialised, so the allocators exist before any other static initialiser runs.
__CFAllocator gSystemAllocator(false, "kCFAllocatorSystemDefault");
__CFAllocator gMallocAllocator(false, "kCFAllocatorMalloc");
__CFAllocator gNullAllocator(true, "kCFAllocatorNull");
} // namespace

extern "C" {

const CFAllocatorRef kCFAllocatorDefault = nullptr;
const CFAllocatorRef kCFAllocatorSystemDefault = &gSystemAllocator;
const CFAllocatorRef kCFAllocatorMalloc = &gMallocAllocator;
const CFAllocatorRef kCFAllocatorNull = &gNullAllocator;

CFTypeID CFAllocatorGetTypeID(void) {
    return pmcf::kAllocatorTypeID;
}

CFAllocatorRef CFAllocatorGetDefault(void) {
    return kCFAllocatorSystemDefault;
}

void* CFAllocatorAllocate(CFAllocatorRef allocator, CFIndex size, CFOptionFlags) {
    if (allocator == kCFAllocatorNull || size <= 0)
        return nullptr;
    return std::malloc(static_cast<size_t>(size));
}

void CFAllocatorDeallocate(CFAllocatorRef allocator, void* ptr) {
    if (allocator != kCFAllocatorNull)
        std::free(ptr);
}

} // extern "C"
