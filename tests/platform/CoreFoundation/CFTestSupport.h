//===- CFTestSupport.h - Helpers shared by the CoreFoundation tests -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_TESTS_CF_CFTESTSUPPORT_H
#define PIGMENTOR_TESTS_CF_CFTESTSUPPORT_H

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>

#include "TestScopes.h"

#include <string>
#include <vector>

/// Owns one reference to a CF object and releases it at scope exit.
template <class T> using CFOwned = Owned<T>;

/// The UTF-16 units of a string.
inline std::u16string UnitsOf(CFStringRef s) {
    std::u16string units(static_cast<size_t>(CFStringGetLength(s)), u'\0');
    CFStringGetCharacters(s, CFRangeMake(0, CFStringGetLength(s)),
                          reinterpret_cast<UniChar*>(&units[0]));
    return units;
}

/// A new string from UTF-8 text (must be valid).
inline CFStringRef Str(const char* utf8) {
    return PMCFStringCreateWithUTF8(utf8);
}

/// The bytes of a data object.
inline std::vector<UInt8> BytesOf(CFDataRef d) {
    const UInt8* p = CFDataGetBytePtr(d);
    return std::vector<UInt8>(p, p + CFDataGetLength(d));
}

#endif
