//===- CFPropertyList.h - XML property lists --------------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFPROPERTYLIST_H
#define PIGMENTOR_CF_CFPROPERTYLIST_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFError.h>

CF_EXTERN_C_BEGIN

/// A property list is a tree of CFString, CFNumber (integer or real), CFBoolean, CFData,
/// CFDate, CFArray and CFDictionary (with string keys) objects. The XML form is read and
/// written, and the binary form read, through libplist: the output is the platform's XML
/// property list byte for byte
/// (XML header, DOCTYPE, <plist version="1.0">, tab indentation, <true/>, base64 <data> as
/// libplist lays it out), and dictionary entries keep their order.
///
/// Reading treats the data as untrusted. Before libplist sees it, the text is checked: at
/// most kPMCFPropertyListMaxBytes bytes and kPMCFPropertyListMaxElements elements, containers
/// nested at most kPMCFPropertyListMaxDepth deep, elements properly closed, dictionaries made
/// of <key>/value pairs, integers in the signed 64-bit range (decimal without leading zeros,
/// or 0x hexadecimal), finite reals, dates of the form YYYY-MM-DDTHH:MM:SSZ within 68 years
/// of 2001, base64 data. Text must be UTF-8. A binary list passes the same limits (its
/// references in bounds and acyclic; every reference counts as an element, as libplist copies
/// shared objects). Anything else gives NULL and an error (a
/// string, or a CFError of the Cocoa domain with code kCFPropertyListReadCorruptError);
/// nothing is leaked. Integers become SInt64 numbers, reals Float64 numbers.
///
/// Writing refuses (NULL and an error) objects that are not property-list types, dictionary
/// keys that are not strings, strings holding U+0000, non-finite reals, dates outside the
/// range above and trees nested deeper than the limit (which also stops cycles).
/// Conversions never depend on the process's locale.

/// Limits on the property lists read (see above).
enum {
    kPMCFPropertyListMaxBytes = 16 * 1024 * 1024,
    kPMCFPropertyListMaxElements = 1000000,
    kPMCFPropertyListMaxDepth = 256
};

/// What a reader makes mutable: nothing, the arrays and dictionaries, or also strings and data.
typedef CFOptionFlags CFPropertyListMutabilityOptions;
enum {
    kCFPropertyListImmutable = 0,
    kCFPropertyListMutableContainers = 1,
    kCFPropertyListMutableContainersAndLeaves = 2
};

/// The platform's three forms; only the XML one is supported here.
typedef CFIndex CFPropertyListFormat;
enum {
    kCFPropertyListOpenStepFormat = 1,
    kCFPropertyListXMLFormat_v1_0 = 100,
    kCFPropertyListBinaryFormat_v1_0 = 200
};

/// Error codes of the Cocoa domain used by the CFError-returning functions.
enum {
    kCFPropertyListReadCorruptError = 3840,
    kCFPropertyListReadUnknownVersionError = 3841,
    kCFPropertyListReadStreamError = 3842,
    kCFPropertyListWriteStreamError = 3851
};

/// The tree in the property list `xmlData` (XML, or binary as the platform also reads); on
/// failure NULL and, when `errorString` is given, a new string saying why (the caller
/// releases it; NULL on success).
CF_EXPORT CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef allocator,
                                                            CFDataRef xmlData,
                                                            CFOptionFlags mutabilityOption,
                                                            CFStringRef* errorString);
/// The XML form of `propertyList`; NULL when it cannot be written (see above).
CF_EXPORT CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator,
                                                CFPropertyListRef propertyList);
/// Like CreateFromXMLData; `*format` (when given) receives the XML format, `*error` a CFError.
CF_EXPORT CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef allocator, CFDataRef data,
                                                         CFOptionFlags options,
                                                         CFPropertyListFormat* format,
                                                         CFErrorRef* error);
/// The XML form of `propertyList`; other formats, or an unwritable tree, give NULL and `*error`.
CF_EXPORT CFDataRef CFPropertyListCreateData(CFAllocatorRef allocator,
                                             CFPropertyListRef propertyList,
                                             CFPropertyListFormat format, CFOptionFlags options,
                                             CFErrorRef* error);
/// A copy of the whole tree with the given mutability; NULL when it is not a property list.
CF_EXPORT CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef allocator,
                                                         CFPropertyListRef propertyList,
                                                         CFOptionFlags mutabilityOption);
/// True for a tree of property-list types with string keys within the depth limit (XML or
/// binary format; writing may still refuse the values listed above).
CF_EXPORT Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format);

CF_EXTERN_C_END

#endif
