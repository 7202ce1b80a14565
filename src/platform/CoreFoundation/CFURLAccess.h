//===- CFURLAccess.h - Reading and writing the data of file URLs -*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFURLACCESS_H
#define PIGMENTOR_CF_CFURLACCESS_H

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

/// The contents of local file URLs, read and written whole. Reading takes regular files of at
/// most kPMCFURLMaxResourceBytes bytes. Writing replaces the file atomically: the bytes go to
/// a new temporary file in the same folder (created exclusively, never through a symbolic
/// link), which is flushed and then renamed over the target, so readers see the old or the
/// new contents, never a mixture. A target that is a symbolic link or not a regular file is
/// refused rather than followed or replaced. A new file gets mode 0666 less the umask; a
/// replaced one keeps its mode. Resource properties are not supported: `*properties` is set
/// to NULL and `propertiesToWrite` is ignored. Failures return false with `*errorCode`.

/// The largest file read.
enum { kPMCFURLMaxResourceBytes = 64 * 1024 * 1024 };

/// The platform's error codes of these functions.
typedef CFIndex CFURLError;
enum {
    kCFURLUnknownError = -10,
    kCFURLUnknownSchemeError = -11,
    kCFURLResourceNotFoundError = -12,
    kCFURLResourceAccessViolationError = -13,
    kCFURLRemoteHostUnavailableError = -14,
    kCFURLImproperArgumentsError = -15,
    kCFURLUnknownPropertyKeyError = -16,
    kCFURLPropertyKeyUnavailableError = -17,
    kCFURLTimeoutError = -18
};

/// Reads the file of `url` into `*resourceData` (the caller releases it). Errors: not a local
/// file URL (UnknownScheme), missing (ResourceNotFound), unreadable, not a regular file or too
/// large (ResourceAccessViolation), NULL arguments (ImproperArguments), I/O (Unknown).
CF_EXPORT Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url,
                                                           CFDataRef* resourceData,
                                                           CFDictionaryRef* properties,
                                                           CFArrayRef desiredProperties,
                                                           SInt32* errorCode);
/// Replaces the file of `url` with `dataToWrite` (see above). Errors: not a local file URL
/// (UnknownScheme), missing folder (ResourceNotFound), permission, symbolic link or
/// non-regular target (ResourceAccessViolation), NULL arguments (ImproperArguments), I/O
/// (Unknown); on failure the target is left as it was and no temporary file remains.
CF_EXPORT Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite,
                                                        CFDictionaryRef propertiesToWrite,
                                                        SInt32* errorCode);

CF_EXTERN_C_END

#endif
