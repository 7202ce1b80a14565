//===- MemoryCalls.cpp - tovrane_malloc, tovrane_free, tovrane_unload -----===//
#include "Guard.h"
#include "Handles.h"
#include "Operations.h"
#include "Sessions.h"

#include <t10.h>

#include <cstdlib>

using namespace tovrane::client;

extern "C" void* tovrane_malloc(size_t size) {
    // Zero-filled: a fresh ticket names no operation, and string blocks come terminated.
    return size == 0 ? nullptr : std::calloc(1, size);
}

extern "C" void tovrane_free(void* block) {
    std::free(block);
}

extern "C" void tovrane_unload(void) {
    // Only what belongs to disconnected handles goes; other connections carry on.
    Guard([] {
        ReapOperations();
        ReapSessions();
        ReapHandles();
        return T10_OK;
    });
}
