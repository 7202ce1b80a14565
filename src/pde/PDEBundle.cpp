//===- PDEBundle.cpp - Localised strings of the plug-in's bundle ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEBundle.h"

#include <CarbonCore/SysBeep.h>
#include <CarbonCore/TextCommon.h>

#include <cstring>

namespace {

CFBundleRef sDefaultBundle = nullptr;

CFBundleRef Choose(CFBundleRef bundle) {
    return bundle ? bundle : sDefaultBundle;
}

// Application text encoding as a Core Foundation encoding: the two share their values.
CFStringEncoding ApplicationEncoding() {
    return static_cast<CFStringEncoding>(GetApplicationTextEncoding());
}

void Clear(char* buffer, long size) {
    if (buffer && size > 0)
        buffer[0] = '\0';
}

} // namespace

void PDEBundle::InitBundle(CFBundleRef bundle) {
    if (bundle)
        CFRetain(bundle);
    if (sDefaultBundle)
        CFRelease(sDefaultBundle);
    sDefaultBundle = bundle;
}

CFBundleRef PDEBundle::GetBundle() {
    return sDefaultBundle;
}

CFStringRef PDEBundle::GetLocalizedCFString(CFStringRef key, CFBundleRef bundle) {
    CFBundleRef b = Choose(bundle);
    return b ? CFBundleCopyLocalizedString(b, key, nullptr, nullptr) : nullptr;
}

CFStringRef PDEBundle::GetLocalizedCFStringFromFile(CFStringRef key, CFStringRef table,
                                                    CFBundleRef bundle) {
    CFBundleRef b = Choose(bundle);
    return b ? CFBundleCopyLocalizedString(b, key, key, table) : nullptr;
}

long PDEBundle::GetLocalizedString(CFStringRef key, char* buffer, long size, CFBundleRef bundle) {
    Clear(buffer, size);
    CFStringRef text = GetLocalizedCFString(key, bundle);
    if (text == nullptr)
        return 0;
    long length = ConvertCFString(text, buffer, size);
    CFRelease(text);
    return length;
}

long PDEBundle::ConvertCFString(CFStringRef string, char* buffer, long size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    buffer[0] = '\0';
    if (string == nullptr)
        return 0;
    // The direct bytes, when the string keeps them in this encoding, are cut to the buffer
    // (one byte per character, so any cut is whole characters).
    if (const char* direct = CFStringGetCStringPtr(string, ApplicationEncoding())) {
        size_t length = strnlen(direct, static_cast<size_t>(size - 1));
        std::memcpy(buffer, direct, length);
        buffer[length] = '\0';
        return static_cast<long>(length);
    }
    // Limited to the buffer: as many whole characters as fit (a UTF-8 sequence is never cut).
    // Text the encoding cannot hold, or a NUL that no C string can, is a failed conversion:
    // the user hears it and gets nothing.
    const CFRange all = CFRangeMake(0, CFStringGetLength(string));
    CFIndex used = 0;
    CFStringGetBytes(string, all, ApplicationEncoding(), 0, false, reinterpret_cast<UInt8*>(buffer),
                     size - 1, &used);
    buffer[used] = '\0';
    if (CFStringGetBytes(string, all, ApplicationEncoding(), 0, false, nullptr, 0, nullptr) <
            all.length ||
        std::memchr(buffer, '\0', static_cast<size_t>(used)) != nullptr) {
        buffer[0] = '\0';
        SysBeep(1);
        return 0;
    }
    return static_cast<long>(used);
}

long GetLocalizedString(CFStringRef key, char* buffer, long size) {
    Clear(buffer, size);
    if (buffer == nullptr || size <= 0 || key == nullptr)
        return 0;
    CFStringRef text = CFBundleCopyLocalizedString(CFBundleGetMainBundle(), key, key, nullptr);
    if (text == nullptr)
        return 0;
    // Whole or nothing: a cut text would be a different text.
    long length = 0;
    if (CFStringGetCString(text, buffer, size, ApplicationEncoding()))
        length = static_cast<long>(std::strlen(buffer));
    else
        buffer[0] = '\0';
    CFRelease(text);
    return length;
}
