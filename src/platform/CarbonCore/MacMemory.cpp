#include <CarbonCore/MacMemory.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace {

// Far beyond anything the plug-in needs, and well below what the sanitizers' allocator
// refuses outright, so an absurd request is a clean memFullErr.
constexpr Size kMaxBlockSize = Size(1) << 30;

// The master pointer is the first member, so a Handle (pointer to it) is also a pointer to the
// whole record; the registry decides whether it really is one before anything is dereferenced.
struct HandleBlock {
    Ptr master;
    Size size;
    PigmentorMemPool pool;
    bool locked;
};

// A disposed block of at least this size is kept for the next handle of the same size: readers
// that take one large buffer per file (a PPD's chunk) would otherwise hand it back to malloc and
// ask again each time, and every such large request makes malloc sweep all the small blocks
// freed since. Sanitizer builds keep nothing, so that a stale pointer into a disposed handle is
// caught at once.
constexpr Size kSpareMinSize = 4096;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepSpare = false;
#else
constexpr bool kKeepSpare = true;
#endif

struct Registry {
    std::mutex mutex;
    std::unordered_set<HandleBlock*> handles;
    std::unordered_map<void*, Size> pointers;
    int failApplication = 0;
    int failTemporary = 0;
    char* spare = nullptr; // at least spareSize bytes
    Size spareSize = 0;
};

Registry& registry() {
    static Registry* r = new Registry; // never destroyed: blocks may outlive static destructors
    return *r;
}

thread_local OSErr tMemError = noErr;

OSErr setError(OSErr err) {
    tMemError = err;
    return err;
}

// Called with the registry locked.
bool injectedFailure(Registry& r, PigmentorMemPool pool) {
    int& left = pool == kPigmentorMemPoolTemporary ? r.failTemporary : r.failApplication;
    if (left <= 0)
        return false;
    --left;
    return true;
}

OSErr checkSize(Size size) {
    if (size < 0)
        return paramErr;
    if (size > kMaxBlockSize)
        return memFullErr;
    return noErr;
}

// malloc(0) may return NULL; a handle's master pointer must stay non-NULL.
char* allocateBytes(Size size, bool clear) {
    size_t n = size > 0 ? size_t(size) : 1;
    return static_cast<char*>(clear ? std::calloc(1, n) : std::malloc(n));
}

Handle newHandle(Size size, bool clear, PigmentorMemPool pool) {
    if (setError(checkSize(size)) != noErr)
        return nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (injectedFailure(r, pool)) {
        setError(memFullErr);
        return nullptr;
    }
    auto* block = static_cast<HandleBlock*>(std::malloc(sizeof(HandleBlock)));
    char* bytes = nullptr;
    if (r.spare != nullptr && !clear && r.spareSize == size) {
        bytes = r.spare;
        r.spare = nullptr;
    } else {
        bytes = allocateBytes(size, clear);
    }
    if (block == nullptr || bytes == nullptr) {
        std::free(block);
        std::free(bytes);
        setError(memFullErr);
        return nullptr;
    }
    *block = HandleBlock{bytes, size, pool, false};
    r.handles.insert(block);
    return &block->master;
}

// Called with the registry locked; sets MemError for a bad handle.
HandleBlock* findHandle(Registry& r, Handle h) {
    if (h == nullptr) {
        setError(nilHandleErr);
        return nullptr;
    }
    auto* block = reinterpret_cast<HandleBlock*>(h);
    if (r.handles.count(block) == 0) {
        setError(memWZErr);
        return nullptr;
    }
    return block;
}

Ptr newPtr(Size size, bool clear) {
    if (setError(checkSize(size)) != noErr)
        return nullptr;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    char* bytes =
        injectedFailure(r, kPigmentorMemPoolApplication) ? nullptr : allocateBytes(size, clear);
    if (bytes == nullptr) {
        setError(memFullErr);
        return nullptr;
    }
    r.pointers.emplace(bytes, size);
    return bytes;
}

} // namespace

extern "C" {

Handle NewHandle(Size byteCount) {
    return newHandle(byteCount, false, kPigmentorMemPoolApplication);
}

Handle NewHandleClear(Size byteCount) {
    return newHandle(byteCount, true, kPigmentorMemPoolApplication);
}

OSErr PtrToHand(const void* srcPtr, Handle* dstHndl, long size) {
    if (dstHndl == nullptr)
        return setError(paramErr);
    *dstHndl = nullptr;
    if (size > 0 && srcPtr == nullptr)
        return setError(paramErr);
    Handle h = newHandle(size, false, kPigmentorMemPoolApplication);
    if (h == nullptr)
        return MemError();
    if (size > 0)
        std::memcpy(*h, srcPtr, size_t(size));
    *dstHndl = h;
    return noErr;
}

Handle TempNewHandle(Size logicalSize, OSErr* resultCode) {
    Handle h = newHandle(logicalSize, false, kPigmentorMemPoolTemporary);
    if (resultCode != nullptr)
        *resultCode = tMemError;
    return h;
}

void DisposeHandle(Handle h) {
    if (h == nullptr) {
        setError(noErr);
        return;
    }
    Registry& r = registry();
    HandleBlock* block;
    {
        std::lock_guard<std::mutex> lock(r.mutex);
        block = findHandle(r, h);
        if (block == nullptr)
            return;
        r.handles.erase(block);
        if (kKeepSpare && block->size >= kSpareMinSize && r.spare == nullptr) {
            r.spare = block->master;
            r.spareSize = block->size;
            block->master = nullptr;
        }
    }
    std::free(block->master);
    std::free(block);
    setError(noErr);
}

Size GetHandleSize(Handle h) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    HandleBlock* block = findHandle(r, h);
    if (block == nullptr)
        return 0;
    setError(noErr);
    return block->size;
}

void SetHandleSize(Handle h, Size newSize) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    HandleBlock* block = findHandle(r, h);
    if (block == nullptr || setError(checkSize(newSize)) != noErr)
        return;
    if (newSize <= block->size) {
        // Shrinking keeps the block where it is; the spare bytes stay allocated until it grows.
        block->size = newSize;
        return;
    }
    // Growing always moves an unlocked block, so a caller that kept a stale *h is caught by the
    // sanitizers at once rather than only when realloc happens to move.
    if (block->locked || injectedFailure(r, block->pool)) {
        setError(memFullErr);
        return;
    }
    char* bytes = allocateBytes(newSize, false);
    if (bytes == nullptr) {
        setError(memFullErr);
        return;
    }
    std::memcpy(bytes, block->master, size_t(block->size));
    std::free(block->master);
    block->master = bytes;
    block->size = newSize;
}

void HLock(Handle h) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (HandleBlock* block = findHandle(r, h)) {
        block->locked = true;
        setError(noErr);
    }
}

void HUnlock(Handle h) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (HandleBlock* block = findHandle(r, h)) {
        block->locked = false;
        setError(noErr);
    }
}

OSErr MemError(void) {
    return tMemError;
}

Ptr NewPtr(Size byteCount) {
    return newPtr(byteCount, false);
}

Ptr NewPtrClear(Size byteCount) {
    return newPtr(byteCount, true);
}

void DisposePtr(Ptr p) {
    if (p == nullptr) {
        setError(noErr);
        return;
    }
    Registry& r = registry();
    {
        std::lock_guard<std::mutex> lock(r.mutex);
        if (r.pointers.erase(p) == 0) {
            setError(memWZErr);
            return;
        }
    }
    std::free(p);
    setError(noErr);
}

Size GetPtrSize(Ptr p) {
    if (p == nullptr) {
        setError(nilHandleErr);
        return 0;
    }
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.pointers.find(p);
    if (it == r.pointers.end()) {
        setError(memWZErr);
        return 0;
    }
    setError(noErr);
    return it->second;
}

void BlockMove(const void* srcPtr, void* destPtr, Size byteCount) {
    if (srcPtr == nullptr || destPtr == nullptr || byteCount <= 0)
        return;
    std::memmove(destPtr, srcPtr, size_t(byteCount));
}

void BlockMoveData(const void* srcPtr, void* destPtr, Size byteCount) {
    BlockMove(srcPtr, destPtr, byteCount);
}

void PigmentorMemTestFailNextAllocations(PigmentorMemPool pool, int count) {
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    int armed = count > 0 ? count : 0;
    if (pool == kPigmentorMemPoolTemporary)
        r.failTemporary = armed;
    else if (pool == kPigmentorMemPoolApplication)
        r.failApplication = armed;
}

PigmentorMemPool PigmentorMemTestHandlePool(Handle h) {
    if (h == nullptr)
        return kPigmentorMemPoolNone;
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto* block = reinterpret_cast<HandleBlock*>(h);
    return r.handles.count(block) != 0 ? block->pool : kPigmentorMemPoolNone;
}

} // extern "C"
