//===- BrivelleText.cpp - Texts between the server SDK and CF -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "BrivelleText.h"

#include <CarbonCore/TextCommon.h>

#include <cstring>

CFStringRef CreateStringInAppEncoding(const char* text) {
    if (!text)
        return nullptr;
    return CFStringCreateWithCString(kCFAllocatorDefault, text,
                                     static_cast<CFStringEncoding>(GetApplicationTextEncoding()));
}

CFStringRef CreateServerString(const char* bytes, size_t size) {
    if (!bytes)
        return nullptr;
    // strnlen: a record's text need not be terminated within its field.
    size_t length = strnlen(bytes, size);
    auto data = reinterpret_cast<const UInt8*>(bytes);
    CFStringRef text =
        CFStringCreateWithBytes(kCFAllocatorDefault, data, static_cast<CFIndex>(length),
                                static_cast<CFStringEncoding>(GetApplicationTextEncoding()), false);
    if (!text)
        text = CFStringCreateWithBytes(kCFAllocatorDefault, data, static_cast<CFIndex>(length),
                                       kCFStringEncodingMacRoman, false);
    return text;
}

CFStringRef CreateUnknownString() {
    return CFStringCreateWithCString(kCFAllocatorDefault, "unknown", kCFStringEncodingASCII);
}

bool IsEmptyString(CFStringRef string) {
    return !string || CFStringGetLength(string) == 0;
}

void CopyBounded(char* out, size_t size, const char* text) {
    if (!out || size == 0)
        return;
    size_t length = text ? strnlen(text, size - 1) : 0;
    if (length)
        std::memcpy(out, text, length);
    out[length] = '\0';
}
