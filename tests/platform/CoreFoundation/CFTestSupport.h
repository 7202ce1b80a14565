#pragma once
// Helpers shared by the CoreFoundation tests.

#include <CoreFoundation/CoreFoundation.h>
#include <CoreFoundation/PMCFUtilities.h>

#include "TestScopes.h"

#include <cstdint>
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

/// A new data object holding the bytes of `text`.
inline CFDataRef DataOf(const std::string& text) {
    return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(text.data()),
                        static_cast<CFIndex>(text.size()));
}

/// Plain integers stored as container values (no callbacks touch them).
inline const void* V(intptr_t n) {
    return reinterpret_cast<const void*>(n);
}
inline intptr_t N(const void* v) {
    return reinterpret_cast<intptr_t>(v);
}
