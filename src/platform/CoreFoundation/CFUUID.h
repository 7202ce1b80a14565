//===- CFUUID.h - Universally unique identifiers ----------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFUUID_H
#define PIGMENTOR_CF_CFUUID_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// A CFUUID is an immutable 128-bit identifier. Its string form is the standard
/// 8-4-4-4-12 groups of upper-case hexadecimal digits ("A996FD7E-B738-11D3-8519-0050E4603277");
/// parsing accepts either case and nothing else. New UUIDs are random (version 4, from
/// libuuid). Two UUIDs are CFEqual when their bytes are. Constant UUIDs are immortal and
/// unique per value: the same bytes always give the same object.
typedef const struct __CFUUID* CFUUIDRef;

/// The 16 bytes of a UUID, in string order.
typedef struct {
    UInt8 byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7;
    UInt8 byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15;
} CFUUIDBytes;

/// Type id of UUIDs.
CF_EXPORT CFTypeID CFUUIDGetTypeID(void);
/// A new random UUID.
CF_EXPORT CFUUIDRef CFUUIDCreate(CFAllocatorRef alloc);
/// A UUID of the given bytes.
CF_EXPORT CFUUIDRef CFUUIDCreateWithBytes(CFAllocatorRef alloc, UInt8 byte0, UInt8 byte1,
                                          UInt8 byte2, UInt8 byte3, UInt8 byte4, UInt8 byte5,
                                          UInt8 byte6, UInt8 byte7, UInt8 byte8, UInt8 byte9,
                                          UInt8 byte10, UInt8 byte11, UInt8 byte12, UInt8 byte13,
                                          UInt8 byte14, UInt8 byte15);
/// A UUID of `bytes`.
CF_EXPORT CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef alloc, CFUUIDBytes bytes);
/// The UUID written in `uuidStr`; NULL unless it is exactly the 36-character standard form.
CF_EXPORT CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef alloc, CFStringRef uuidStr);
/// The standard string form, upper case.
CF_EXPORT CFStringRef CFUUIDCreateString(CFAllocatorRef alloc, CFUUIDRef uuid);
/// The immortal UUID of the given bytes (not to be released; the same object every time).
CF_EXPORT CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef alloc, UInt8 byte0, UInt8 byte1,
                                                   UInt8 byte2, UInt8 byte3, UInt8 byte4,
                                                   UInt8 byte5, UInt8 byte6, UInt8 byte7,
                                                   UInt8 byte8, UInt8 byte9, UInt8 byte10,
                                                   UInt8 byte11, UInt8 byte12, UInt8 byte13,
                                                   UInt8 byte14, UInt8 byte15);
/// The bytes of `uuid` (all zero for NULL).
CF_EXPORT CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid);

CF_EXTERN_C_END

#endif
