#pragma once
/// NIB files: window layouts read from the bundle.
///
/// A NIB is an XML file of our own format (docs/nib-format.md), named `<name>.nib` in the
/// bundle's Resources folder or one of its localised folders. `CreateNibReferenceWithCFBundle`
/// reads and validates the whole file at once, so a damaged file fails there and never later.
/// The reference owns the parsed layout; windows made from it are the caller's (DisposeWindow).

#include <CoreFoundation/CFBundle.h>
#include <HIToolbox/MacWindows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueIBNibRef* IBNibRef;

/// kIBCarbonRuntimeCantFindNibFile when the bundle has no such NIB, coreFoundationUnknownErr
/// when the file does not read as a valid NIB (HINibCopyLastError says why), paramErr for NULL.
OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName,
                                        IBNibRef* outNibRef);
/// The same from the main bundle.
OSStatus CreateNibReference(CFStringRef nibName, IBNibRef* outNibRef);
/// Of our own, for tools and tests: from a file path (UTF-8) or from bytes.
OSStatus HICreateNibReferenceFromFile(const char* path, IBNibRef* outNibRef);
OSStatus HICreateNibReferenceFromBytes(const void* bytes, size_t length, IBNibRef* outNibRef);
/// Why the last NIB of this thread failed to read ("" when it did not); caller releases.
CFStringRef HINibCopyLastError(void);
void DisposeNibReference(IBNibRef nibRef);
/// A new hidden window named `name` with its controls; kIBCarbonRuntimeCantFindObject when
/// the NIB has no window of that name.
OSStatus CreateWindowFromNib(IBNibRef nibRef, CFStringRef name, WindowRef* outWindow);
/// The number of windows of the NIB and the name of window `index` (from 0; caller releases).
ItemCount HINibCountWindows(IBNibRef nibRef);
CFStringRef HINibCopyWindowName(IBNibRef nibRef, ItemCount index);

#ifdef __cplusplus
}
#endif
