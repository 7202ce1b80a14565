//===- CFBase.h - Core Foundation basic types and the CFType API -*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFBASE_H
#define PIGMENTOR_CF_CFBASE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define CF_EXTERN_C_BEGIN extern "C" {
#define CF_EXTERN_C_END }
#else
#define CF_EXTERN_C_BEGIN
#define CF_EXTERN_C_END
#endif

#define CF_EXPORT extern
#define CF_INLINE static inline

/// The basic Mac scalar types. CarbonCore/MacTypes.h includes this header and adds the rest
/// (OSType, Handle, Rect, ...); code that supplies these itself defines __MACTYPES__ first.
/// Repeating one of these typedefs identically is legal C11 and C++, so the two cannot clash.
#ifndef __MACTYPES__
typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
typedef unsigned char Boolean;
typedef uint16_t UniChar;
typedef UInt32 UTF32Char;
typedef float Float32;
typedef double Float64;
typedef SInt16 OSErr;
typedef SInt32 OSStatus;
typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str31[32];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;
typedef const unsigned char* ConstStr63Param;
#endif

CF_EXTERN_C_BEGIN

typedef const void* CFTypeRef;
typedef unsigned long CFTypeID;
typedef long CFIndex;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFHashCode;
typedef CFTypeRef CFPropertyListRef;

typedef const struct __CFString* CFStringRef;
typedef struct __CFString* CFMutableStringRef;
typedef const struct __CFAllocator* CFAllocatorRef;

/// Result of every CF comparison.
typedef CFIndex CFComparisonResult;
enum { kCFCompareLessThan = -1L, kCFCompareEqualTo = 0, kCFCompareGreaterThan = 1 };

/// Orders two values for sorting; `context` is the caller's.
typedef CFComparisonResult (*CFComparatorFunction)(const void* val1, const void* val2,
                                                   void* context);

/// Returned by searches that find nothing.
enum { kCFNotFound = -1 };

/// A run of `length` items starting at `location`.
typedef struct {
    CFIndex location;
    CFIndex length;
} CFRange;

/// Builds a CFRange.
CF_INLINE CFRange CFRangeMake(CFIndex loc, CFIndex len) {
    CFRange range;
    range.location = loc;
    range.length = len;
    return range;
}

/// Allocators only decide how a buffer handed to a NoCopy creator is released: every CF object
/// itself is allocated by the library. kCFAllocatorDefault is NULL and means "the system
/// allocator" (malloc/free), as do kCFAllocatorSystemDefault and kCFAllocatorMalloc;
/// kCFAllocatorNull allocates nothing and frees nothing. Constant strings and allocators are
/// immortal: retain and release leave them alone.
CF_EXPORT const CFAllocatorRef kCFAllocatorDefault;
CF_EXPORT const CFAllocatorRef kCFAllocatorSystemDefault;
CF_EXPORT const CFAllocatorRef kCFAllocatorMalloc;
CF_EXPORT const CFAllocatorRef kCFAllocatorNull;

/// Type id shared by all allocators.
CF_EXPORT CFTypeID CFAllocatorGetTypeID(void);
/// The default allocator (kCFAllocatorSystemDefault); not retained.
CF_EXPORT CFAllocatorRef CFAllocatorGetDefault(void);
/// `size` bytes from `allocator` (NULL = default); NULL for kCFAllocatorNull or size <= 0.
CF_EXPORT void* CFAllocatorAllocate(CFAllocatorRef allocator, CFIndex size, CFOptionFlags hint);
/// Returns `ptr` to `allocator`; nothing happens for kCFAllocatorNull or a NULL `ptr`.
CF_EXPORT void CFAllocatorDeallocate(CFAllocatorRef allocator, void* ptr);

/// Adds a reference to `cf` and returns it; NULL is a no-op (the platform would crash).
CF_EXPORT CFTypeRef CFRetain(CFTypeRef cf);
/// Drops a reference; the object is destroyed when the last one goes. NULL is a no-op.
CF_EXPORT void CFRelease(CFTypeRef cf);
/// Current reference count: LONG_MAX for immortal objects, 0 for NULL.
CF_EXPORT CFIndex CFGetRetainCount(CFTypeRef cf);
/// Type id of `cf`; 0 for NULL.
CF_EXPORT CFTypeID CFGetTypeID(CFTypeRef cf);
/// Value equality: same type and equal contents. Identical pointers (even NULL) are equal.
CF_EXPORT Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2);
/// Hash consistent with CFEqual; 0 for NULL.
CF_EXPORT CFHashCode CFHash(CFTypeRef cf);
/// A new string describing `cf` (for strings, the string itself); NULL for NULL.
CF_EXPORT CFStringRef CFCopyDescription(CFTypeRef cf);
/// Name of a type id ("CFString", ...); NULL for an unknown id.
CF_EXPORT CFStringRef CFCopyTypeIDDescription(CFTypeID type_id);
/// Writes the description of `obj` and a newline to stderr in UTF-8.
CF_EXPORT void CFShow(CFTypeRef obj);

CF_EXTERN_C_END

#endif
