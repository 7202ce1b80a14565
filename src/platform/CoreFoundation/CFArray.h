//===- CFArray.h - Ordered collections of values ----------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFARRAY_H
#define PIGMENTOR_CF_CFARRAY_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// A CFArray is an ordered list of pointer-sized values. Its callbacks (copied at creation)
/// say how values are kept: `retain` is called on every value put in (and its result stored),
/// `release` on every value taken out or left at destruction, `equal` by the searches, and
/// `copyDescription` by the description. NULL callbacks, or NULL members, mean: values are
/// not retained and are compared by pointer. kCFTypeArrayCallBacks keeps CF objects with
/// CFRetain/CFRelease/CFEqual. A mutable array may be edited only through the functions
/// taking a CFMutableArrayRef, which do nothing for an immutable array, an index or range
/// outside the array, or growth past its capacity. Functions return 0/NULL for NULL arrays.

typedef const struct __CFArray* CFArrayRef;
typedef struct __CFArray* CFMutableArrayRef;

typedef const void* (*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFArrayCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFArrayEqualCallBack)(const void* value1, const void* value2);

typedef struct {
    CFIndex version; // 0
    CFArrayRetainCallBack retain;
    CFArrayReleaseCallBack release;
    CFArrayCopyDescriptionCallBack copyDescription;
    CFArrayEqualCallBack equal;
} CFArrayCallBacks;

/// Callbacks for arrays of CF objects.
CF_EXPORT const CFArrayCallBacks kCFTypeArrayCallBacks;

/// Called once per value by CFArrayApplyFunction.
typedef void (*CFArrayApplierFunction)(const void* value, void* context);

/// Type id of every array, mutable or not.
CF_EXPORT CFTypeID CFArrayGetTypeID(void);
/// An immutable array of `numValues` values.
CF_EXPORT CFArrayRef CFArrayCreate(CFAllocatorRef allocator, const void** values, CFIndex numValues,
                                   const CFArrayCallBacks* callBacks);
/// An immutable copy with the same callbacks.
CF_EXPORT CFArrayRef CFArrayCreateCopy(CFAllocatorRef allocator, CFArrayRef theArray);
/// An empty mutable array holding at most `capacity` values (0: no limit).
CF_EXPORT CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFArrayCallBacks* callBacks);
/// A mutable copy with the same callbacks (NULL when longer than a non-zero `capacity`).
CF_EXPORT CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                     CFArrayRef theArray);

/// Number of values.
CF_EXPORT CFIndex CFArrayGetCount(CFArrayRef theArray);
/// The value at `idx`, not retained; NULL when `idx` is out of range (the platform crashes).
CF_EXPORT const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx);
/// Copies the values of `range` into `values`; copies nothing when the range is invalid.
CF_EXPORT void CFArrayGetValues(CFArrayRef theArray, CFRange range, const void** values);
/// True when a value in `range` equals `value`.
CF_EXPORT Boolean CFArrayContainsValue(CFArrayRef theArray, CFRange range, const void* value);
/// Index of the first value in `range` equal to `value`, or kCFNotFound.
CF_EXPORT CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef theArray, CFRange range,
                                              const void* value);
/// Number of values in `range` equal to `value`.
CF_EXPORT CFIndex CFArrayGetCountOfValue(CFArrayRef theArray, CFRange range, const void* value);
/// Calls `applier` on each value of `range`, in order. The applier must not edit the array.
CF_EXPORT void CFArrayApplyFunction(CFArrayRef theArray, CFRange range,
                                    CFArrayApplierFunction applier, void* context);

/// Adds `value` at the end.
CF_EXPORT void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value);
/// Inserts `value` before `idx` (0...count).
CF_EXPORT void CFArrayInsertValueAtIndex(CFMutableArrayRef theArray, CFIndex idx,
                                         const void* value);
/// Replaces the value at `idx`; `idx` == count appends.
CF_EXPORT void CFArraySetValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value);
/// Removes the value at `idx`.
CF_EXPORT void CFArrayRemoveValueAtIndex(CFMutableArrayRef theArray, CFIndex idx);
/// Removes every value.
CF_EXPORT void CFArrayRemoveAllValues(CFMutableArrayRef theArray);
/// Appends the values of `otherRange` in `otherArray` (which may be `theArray`).
CF_EXPORT void CFArrayAppendArray(CFMutableArrayRef theArray, CFArrayRef otherArray,
                                  CFRange otherRange);
/// Stable sort of `range` by `comparator`; safe even with an inconsistent comparator.
CF_EXPORT void CFArraySortValues(CFMutableArrayRef theArray, CFRange range,
                                 CFComparatorFunction comparator, void* context);
/// Swaps the values at `idx1` and `idx2`.
CF_EXPORT void CFArrayExchangeValuesAtIndices(CFMutableArrayRef theArray, CFIndex idx1,
                                              CFIndex idx2);

CF_EXTERN_C_END

#endif
