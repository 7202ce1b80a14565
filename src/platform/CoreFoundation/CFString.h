//===- CFString.h - Immutable and mutable Unicode strings -------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFSTRING_H
#define PIGMENTOR_CF_CFSTRING_H

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFData.h>

#include <stdarg.h>

CF_EXTERN_C_BEGIN

/// Same declaration as in CFDictionary.h; format options are accepted and ignored.
typedef const struct __CFDictionary* CFDictionaryRef;

/// A CFString is a sequence of UTF-16 code units (lengths and indexes count units; a character
/// outside the BMP is two). The object owns its units. Immutable strings never change; a
/// mutable one may be edited only through the functions taking a CFMutableStringRef, which do
/// nothing when given an immutable string. Conversions to and from byte encodings go through
/// the table below; an encoding the system cannot convert makes creators return NULL and
/// getters return false, never crash. Functions taking a string return 0/NULL/false for NULL.
///
/// The system encoding is UTF-8. C strings without an encoding (CFSTR, the %s and %c
/// formats) are read as UTF-8, falling back to Mac Roman for bytes that are not valid UTF-8.
///
/// Byte-order marks: an external representation in host-order UTF-16 (the Unicode encoding)
/// or UTF-32 starts with U+FEFF in host order; when reading one, a BOM in either order is
/// honoured and dropped, and text without one is big-endian; a UTF-8 BOM is dropped.
/// Conversions to bytes stop before a character that does not fit, or that the
/// encoding cannot represent unless a non-zero loss byte is given to stand in for it. NoCopy
/// creators copy the bytes and free them with the given deallocator; on failure the caller
/// still owns them. A mutable string created with a maximum length refuses edits past it.
///
/// Formatting follows printf, plus %@ (a CF object's description), %C (a UniChar) and %S
/// (a NUL-terminated UniChar array); positional arguments (%1$@) are supported and numbers
/// always use '.'. %n writes nothing; widths and numeric precisions are capped at 4096; an
/// unknown conversion, or an argument whose type cannot be known, ends the formatting and the
/// rest of the format is copied as it is. Format options are ignored.

typedef UInt32 CFStringEncoding;

/// The platform's built-in encodings (NextStepLatin and NonLossyASCII cannot be converted here).
typedef CFStringEncoding CFStringBuiltInEncodings;
enum {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingWindowsLatin1 = 0x0500,
    kCFStringEncodingISOLatin1 = 0x0201,
    kCFStringEncodingNextStepLatin = 0x0B01,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUnicode = 0x0100,
    kCFStringEncodingUTF8 = 0x08000100,
    kCFStringEncodingNonLossyASCII = 0x0BFF,
    kCFStringEncodingUTF16 = 0x0100,
    kCFStringEncodingUTF16BE = 0x10000100,
    kCFStringEncodingUTF16LE = 0x14000100,
    kCFStringEncodingUTF32 = 0x0c000100,
    kCFStringEncodingUTF32BE = 0x18000100,
    kCFStringEncodingUTF32LE = 0x1c000100
};

/// Further encodings used here (the platform's CFStringEncodings values).
enum {
    kCFStringEncodingMacJapanese = 1,
    kCFStringEncodingMacCentralEurRoman = 29,
    kCFStringEncodingMacTurkish = 35,
    kCFStringEncodingISOLatin2 = 0x0202,
    kCFStringEncodingISOLatin5 = 0x0209,
    kCFStringEncodingWindowsLatin2 = 0x0501,
    kCFStringEncodingShiftJIS = 0x0A01
};

/// Not an encoding.
#define kCFStringEncodingInvalidId (0xffffffffU)

/// Options of comparisons and searches. Only the first four and Numerically change results;
/// the others are accepted and ignored. Case-insensitive matching folds ASCII, Latin-1, Latin
/// Extended-A, Greek and Cyrillic letters. kCFCompareAnchored matches only at the start of the
/// range (at its end with kCFCompareBackwards). An empty string to find is never found.
typedef CFOptionFlags CFStringCompareFlags;
enum {
    kCFCompareCaseInsensitive = 1,
    kCFCompareBackwards = 4,
    kCFCompareAnchored = 8,
    kCFCompareNonliteral = 16,
    kCFCompareLocalized = 32,
    kCFCompareNumerically = 64,
    kCFCompareDiacriticInsensitive = 128,
    kCFCompareWidthInsensitive = 256,
    kCFCompareForcedOrdering = 512
};

/// An immortal string for the literal `cStr`: identical literals give the identical object.
#define CFSTR(cStr) __CFStringMakeConstantString("" cStr "")
/// The interned constant string for `cStr` (UTF-8, Mac Roman fallback); never NULL.
CF_EXPORT CFStringRef __CFStringMakeConstantString(const char* cStr);

/// Type id of every string, mutable or not.
CF_EXPORT CFTypeID CFStringGetTypeID(void);

// --- Creating ---------------------------------------------------------------------------

/// A string from the NUL-terminated `cStr` in `encoding`; NULL when it cannot be decoded.
CF_EXPORT CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr,
                                                CFStringEncoding encoding);
/// A string from `numBytes` bytes in `encoding` (see above for external representations).
CF_EXPORT CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes,
                                              CFIndex numBytes, CFStringEncoding encoding,
                                              Boolean isExternalRepresentation);
/// CFStringCreateWithBytes, then frees `bytes` with `contentsDeallocator` (see above).
CF_EXPORT CFStringRef CFStringCreateWithBytesNoCopy(CFAllocatorRef alloc, const UInt8* bytes,
                                                    CFIndex numBytes, CFStringEncoding encoding,
                                                    Boolean isExternalRepresentation,
                                                    CFAllocatorRef contentsDeallocator);
/// A string holding a copy of `numChars` UTF-16 units.
CF_EXPORT CFStringRef CFStringCreateWithCharacters(CFAllocatorRef alloc, const UniChar* chars,
                                                   CFIndex numChars);
/// The units of `str` in `range`; NULL when the range is not inside the string.
CF_EXPORT CFStringRef CFStringCreateWithSubstring(CFAllocatorRef alloc, CFStringRef str,
                                                  CFRange range);
/// An immutable copy (an immutable `theString` is simply retained).
CF_EXPORT CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef theString);
/// A string formatted from `format` and the arguments (see above).
CF_EXPORT CFStringRef CFStringCreateWithFormat(CFAllocatorRef alloc, CFDictionaryRef formatOptions,
                                               CFStringRef format, ...);
/// CFStringCreateWithFormat taking a va_list.
CF_EXPORT CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef alloc,
                                                           CFDictionaryRef formatOptions,
                                                           CFStringRef format, va_list arguments);
/// An empty mutable string holding at most `maxLength` units (0: no limit).
CF_EXPORT CFMutableStringRef CFStringCreateMutable(CFAllocatorRef alloc, CFIndex maxLength);
/// A mutable copy of `theString` (NULL when it is longer than a non-zero `maxLength`).
CF_EXPORT CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef alloc, CFIndex maxLength,
                                                       CFStringRef theString);
/// The external representation of `theString`; NULL if a character is lost and `lossByte` is 0.
CF_EXPORT CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef alloc,
                                                         CFStringRef theString,
                                                         CFStringEncoding encoding, UInt8 lossByte);
/// The reverse of CFStringCreateExternalRepresentation (a BOM is honoured).
CF_EXPORT CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef alloc, CFDataRef data,
                                                               CFStringEncoding encoding);

// --- Editing (mutable strings only) -----------------------------------------------------

/// Appends `appendedString` (which may be `theString` itself).
CF_EXPORT void CFStringAppend(CFMutableStringRef theString, CFStringRef appendedString);
/// Appends a NUL-terminated C string in `encoding`; nothing happens when it cannot be decoded.
CF_EXPORT void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                                     CFStringEncoding encoding);
/// Appends `numChars` UTF-16 units.
CF_EXPORT void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars,
                                        CFIndex numChars);
/// Appends formatted text (see CFStringCreateWithFormat).
CF_EXPORT void CFStringAppendFormat(CFMutableStringRef theString, CFDictionaryRef formatOptions,
                                    CFStringRef format, ...);
/// CFStringAppendFormat taking a va_list.
CF_EXPORT void CFStringAppendFormatAndArguments(CFMutableStringRef theString,
                                                CFDictionaryRef formatOptions, CFStringRef format,
                                                va_list arguments);
/// Replaces the whole contents with `replacement`.
CF_EXPORT void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement);

// --- Reading ----------------------------------------------------------------------------

/// Number of UTF-16 units.
CF_EXPORT CFIndex CFStringGetLength(CFStringRef theString);
/// The unit at `idx`; 0 when `idx` is out of range.
CF_EXPORT UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx);
/// Copies the units of `range` into `buffer`; copies nothing when the range is invalid.
CF_EXPORT void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer);
/// The whole string plus NUL in `buffer`; false (empty `buffer`) if it does not fit or convert.
CF_EXPORT Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                                     CFStringEncoding encoding);
/// The contents as a C string owned by `theString`, only for immutable ASCII text; else NULL.
CF_EXPORT const char* CFStringGetCStringPtr(CFStringRef theString, CFStringEncoding encoding);
/// Converts `range` into `buffer` (NULL: measure only); returns units done, bytes in `usedBufLen`.
CF_EXPORT CFIndex CFStringGetBytes(CFStringRef theString, CFRange range, CFStringEncoding encoding,
                                   UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                                   CFIndex maxBufLen, CFIndex* usedBufLen);
/// Bytes enough for `length` units in `encoding`; kCFNotFound on overflow or unknown encoding.
CF_EXPORT CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);
/// kCFStringEncodingUTF8: on this platform, as on any Linux desktop, text is UTF-8.
CF_EXPORT CFStringEncoding CFStringGetSystemEncoding(void);
/// The Mac encoding closest to `encoding` (Unicode for the Unicode family); else InvalidId.
CF_EXPORT CFStringEncoding CFStringGetMostCompatibleMacStringEncoding(CFStringEncoding encoding);
/// True when strings can be converted to and from `encoding` here.
CF_EXPORT Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding);
/// IANA charset name of `encoding` ("UTF-8", "macintosh", ...); NULL when unknown.
CF_EXPORT CFStringRef CFStringConvertEncodingToIANACharSetName(CFStringEncoding encoding);
/// [spaces][sign]digits up to the first non-digit; 0 without digits; saturates at SInt32 limits.
CF_EXPORT SInt32 CFStringGetIntValue(CFStringRef str);
/// The leading decimal number ("3.5", "-1e3"; '.' in every locale); 0.0 when there is none.
CF_EXPORT double CFStringGetDoubleValue(CFStringRef str);

// --- Comparing and searching ------------------------------------------------------------

/// Compares whole strings under `compareOptions`; NULL sorts before any string.
CF_EXPORT CFComparisonResult CFStringCompare(CFStringRef theString1, CFStringRef theString2,
                                             CFStringCompareFlags compareOptions);
/// Compares the units of `rangeToCompare` in `theString1` with all of `theString2`.
CF_EXPORT CFComparisonResult CFStringCompareWithOptions(CFStringRef theString1,
                                                        CFStringRef theString2,
                                                        CFRange rangeToCompare,
                                                        CFStringCompareFlags compareOptions);
/// Range of the first (with kCFCompareBackwards, last) occurrence; {kCFNotFound, 0} if none.
CF_EXPORT CFRange CFStringFind(CFStringRef theString, CFStringRef stringToFind,
                               CFStringCompareFlags compareOptions);
/// Searches `rangeToSearch` for `stringToFind`; on success sets `*result` (if given).
CF_EXPORT Boolean CFStringFindWithOptions(CFStringRef theString, CFStringRef stringToFind,
                                          CFRange rangeToSearch, CFStringCompareFlags searchOptions,
                                          CFRange* result);
/// True when `theString` starts with the non-empty `prefix`.
CF_EXPORT Boolean CFStringHasPrefix(CFStringRef theString, CFStringRef prefix);
/// True when `theString` ends with the non-empty `suffix`.
CF_EXPORT Boolean CFStringHasSuffix(CFStringRef theString, CFStringRef suffix);
/// The pieces between separators (one piece when none or when the separator is empty).
CF_EXPORT CFArrayRef CFStringCreateArrayBySeparatingStrings(CFAllocatorRef alloc,
                                                            CFStringRef theString,
                                                            CFStringRef separatorString);
/// The strings of `theArray` joined by `separatorString`; NULL if an element is not a string.
CF_EXPORT CFStringRef CFStringCreateByCombiningStrings(CFAllocatorRef alloc, CFArrayRef theArray,
                                                       CFStringRef separatorString);

CF_EXTERN_C_END

#endif
