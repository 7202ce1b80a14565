#pragma once
/// Memory Manager: relocatable blocks (handles) and non-relocatable blocks (pointers).
///
/// Ownership: the caller owns every block it gets and gives it back with DisposeHandle or
/// DisposePtr; blocks live on the C heap. A handle's master pointer never moves, its block
/// does: SetHandleSize moves an unlocked block whenever it grows, so a pointer taken from *h
/// is only good until the next resize (HLock pins the block: growing a locked handle fails
/// with memFullErr). Every live block is registered, so a stale, foreign or twice-disposed
/// handle or pointer gives memWZErr instead of corrupting the heap. Sizes are checked:
/// negative sizes give paramErr, sizes over 1 GiB memFullErr.
///
/// Pools: NewHandle/NewPtr take from the application pool, TempNewHandle from the temporary
/// pool. Both are the same heap; the pool is only recorded, so that callers' fall-back paths
/// (temporary memory first, application memory second) can be tested with the hooks below.
///
/// MemError() reports the last call's status for the calling thread. All calls are
/// thread-safe; one block is used by one thread at a time.

#include <CarbonCore/MacErrors.h>
#include <CarbonCore/MacTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/// New relocatable block of `byteCount` bytes, contents undefined; NULL on failure.
Handle NewHandle(Size byteCount);
/// New relocatable block of `byteCount` zero bytes; NULL on failure.
Handle NewHandleClear(Size byteCount);
/// New relocatable block holding a copy of the `size` bytes at `srcPtr` (NULL when size is 0)
/// into *dstHndl; noErr, or paramErr / memFullErr with *dstHndl NULL.
OSErr PtrToHand(const void* srcPtr, Handle* dstHndl, long size);
/// New relocatable block from the temporary pool; *resultCode (may be NULL) gets the status.
Handle TempNewHandle(Size logicalSize, OSErr* resultCode);
/// Frees the block and its master pointer; NULL is allowed and does nothing.
void DisposeHandle(Handle h);
/// Size of the handle's block, or 0 (MemError set) for a bad handle.
Size GetHandleSize(Handle h);
/// Resizes the block, keeping its first min(old, new) bytes; on failure the handle is unchanged.
void SetHandleSize(Handle h, Size newSize);
/// Pins the block so that SetHandleSize will not move it.
void HLock(Handle h);
/// Lets the block move again.
void HUnlock(Handle h);
/// Status of the calling thread's last Memory Manager call.
OSErr MemError(void);

/// New non-relocatable block of `byteCount` bytes, contents undefined; NULL on failure.
Ptr NewPtr(Size byteCount);
/// New non-relocatable block of `byteCount` zero bytes; NULL on failure.
Ptr NewPtrClear(Size byteCount);
/// Frees a block from NewPtr/NewPtrClear; NULL is allowed and does nothing.
void DisposePtr(Ptr p);
/// Size of a block from NewPtr/NewPtrClear, or 0 (MemError set) for a bad pointer.
Size GetPtrSize(Ptr p);

/// Copies `byteCount` bytes; the ranges may overlap. Nothing happens for a size <= 0 or NULL.
void BlockMove(const void* srcPtr, void* destPtr, Size byteCount);
/// Same as BlockMove (the platform's variant that promises not to copy code).
void BlockMoveData(const void* srcPtr, void* destPtr, Size byteCount);

// Test hooks of this port (not platform API).

/// The pool a block comes from, as reported by PigmentorMemTestHandlePool.
typedef enum PigmentorMemPool {
    kPigmentorMemPoolNone = 0,        ///< not a live handle
    kPigmentorMemPoolApplication = 1, ///< NewHandle, NewHandleClear, NewPtr, NewPtrClear
    kPigmentorMemPoolTemporary = 2,   ///< TempNewHandle
} PigmentorMemPool;

/// Makes the next `count` allocations from `pool` fail with memFullErr (0 disarms).
/// Growing a handle counts as an allocation from the handle's pool.
void PigmentorMemTestFailNextAllocations(PigmentorMemPool pool, int count);
/// Which pool a live handle came from; kPigmentorMemPoolNone for anything else.
PigmentorMemPool PigmentorMemTestHandlePool(Handle h);

#ifdef __cplusplus
}
#endif
