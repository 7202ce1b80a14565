//===- CFError.h - Error objects --------------------------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFERROR_H
#define PIGMENTOR_CF_CFERROR_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDictionary.h>

CF_EXTERN_C_BEGIN

/// A CFError is an immutable (domain, code, user info) triple, as returned by the functions
/// that report failures through a CFErrorRef* (the caller releases it). The user info is an
/// immutable copy of the dictionary given at creation; its kCFErrorDescriptionKey string,
/// when present, is the error's description.
typedef const struct __CFError* CFErrorRef;
typedef CFStringRef CFErrorDomain;

/// The domains used here: Cocoa (property list errors), POSIX (errno values), OSStatus.
CF_EXPORT const CFErrorDomain kCFErrorDomainCocoa;
CF_EXPORT const CFErrorDomain kCFErrorDomainPOSIX;
CF_EXPORT const CFErrorDomain kCFErrorDomainOSStatus;
/// User-info key of the human-readable description.
CF_EXPORT const CFStringRef kCFErrorDescriptionKey;

/// Type id of errors.
CF_EXPORT CFTypeID CFErrorGetTypeID(void);
/// A new error; NULL without a domain. `userInfo` may be NULL.
CF_EXPORT CFErrorRef CFErrorCreate(CFAllocatorRef allocator, CFErrorDomain domain, CFIndex code,
                                   CFDictionaryRef userInfo);
/// The domain (not retained).
CF_EXPORT CFErrorDomain CFErrorGetDomain(CFErrorRef err);
/// The code.
CF_EXPORT CFIndex CFErrorGetCode(CFErrorRef err);
/// The user info (never NULL for an error; the caller releases it).
CF_EXPORT CFDictionaryRef CFErrorCopyUserInfo(CFErrorRef err);
/// The description string, or "<domain> error <code>" when the user info has none.
CF_EXPORT CFStringRef CFErrorCopyDescription(CFErrorRef err);

CF_EXTERN_C_END

#endif
