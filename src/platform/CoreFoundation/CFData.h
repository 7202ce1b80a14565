//===- CFData.h - Immutable and mutable byte buffers ------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFDATA_H
#define PIGMENTOR_CF_CFDATA_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// A CFData is a run of bytes. Immutable data owns a copy of its bytes, or borrows the
/// caller's buffer (CFDataCreateWithBytesNoCopy) and releases it with the given deallocator
/// when destroyed. Mutable data owns its bytes; it may be edited only through the functions
/// taking a CFMutableDataRef, which do nothing when given immutable data, an invalid range or
/// a size past the data's capacity. Two datas are CFEqual when their bytes are. Functions
/// return 0/NULL for NULL data. Borrowed bytes are freed with free() for the NULL, default,
/// system and malloc deallocators and never for kCFAllocatorNull; when a NoCopy creator
/// returns NULL, the caller still owns its bytes.
typedef const struct __CFData* CFDataRef;
typedef struct __CFData* CFMutableDataRef;

/// Type id of every data object, mutable or not.
CF_EXPORT CFTypeID CFDataGetTypeID(void);
/// Data holding a copy of `length` bytes.
CF_EXPORT CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
/// Data using `bytes` in place, freed with `bytesDeallocator` when destroyed (see above).
CF_EXPORT CFDataRef CFDataCreateWithBytesNoCopy(CFAllocatorRef allocator, const UInt8* bytes,
                                                CFIndex length, CFAllocatorRef bytesDeallocator);
/// An immutable copy (immutable data owning its bytes is simply retained).
CF_EXPORT CFDataRef CFDataCreateCopy(CFAllocatorRef allocator, CFDataRef theData);
/// Empty mutable data that can hold at most `capacity` bytes (0: no limit).
CF_EXPORT CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity);
/// A mutable copy (NULL when longer than a non-zero `capacity`).
CF_EXPORT CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                   CFDataRef theData);
/// Number of bytes.
CF_EXPORT CFIndex CFDataGetLength(CFDataRef theData);
/// The bytes; valid until the data is edited or destroyed. May be NULL when empty.
CF_EXPORT const UInt8* CFDataGetBytePtr(CFDataRef theData);
/// Writable bytes of mutable data; NULL for immutable data.
CF_EXPORT UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData);
/// Copies the bytes of `range` to `buffer`; copies nothing when the range is invalid.
CF_EXPORT void CFDataGetBytes(CFDataRef theData, CFRange range, UInt8* buffer);
/// Truncates, or extends with zero bytes, to `length`.
CF_EXPORT void CFDataSetLength(CFMutableDataRef theData, CFIndex length);
/// Appends `extraLength` zero bytes.
CF_EXPORT void CFDataIncreaseLength(CFMutableDataRef theData, CFIndex extraLength);
/// Appends `length` bytes (which may lie inside the data itself).
CF_EXPORT void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length);
/// Replaces the bytes of `range` with `newLength` bytes (which may lie inside the data).
CF_EXPORT void CFDataReplaceBytes(CFMutableDataRef theData, CFRange range, const UInt8* newBytes,
                                  CFIndex newLength);
/// Removes the bytes of `range`.
CF_EXPORT void CFDataDeleteBytes(CFMutableDataRef theData, CFRange range);

CF_EXTERN_C_END

#endif
