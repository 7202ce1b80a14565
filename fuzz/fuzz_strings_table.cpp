// A bundle's string table (.strings, a property list of key/text pairs) on arbitrary bytes, read
// as the bundle reads it, every text then converted for the user interface into buffers of
// several sizes: the result is always valid UTF-8, cut only between characters.
#include "PDEBundle.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

bool ValidUTF8(const char* text, long length) {
    CFStringRef back = CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(text),
                                               length, kCFStringEncodingUTF8, false);
    if (back)
        CFRelease(back);
    return back != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFDataRef bytes = CFDataCreate(nullptr, data, static_cast<CFIndex>(size));
    if (!bytes)
        return 0;
    CFPropertyListRef plist =
        CFPropertyListCreateWithData(nullptr, bytes, kCFPropertyListImmutable, nullptr, nullptr);
    CFRelease(bytes);
    if (!plist)
        return 0;
    if (CFGetTypeID(plist) == CFDictionaryGetTypeID()) {
        CFDictionaryRef table = static_cast<CFDictionaryRef>(plist);
        CFIndex count = CFDictionaryGetCount(table);
        std::vector<const void*> keys(static_cast<size_t>(count)), values(static_cast<size_t>(count));
        CFDictionaryGetKeysAndValues(table, keys.data(), values.data());
        for (const void* value : values) {
            if (CFGetTypeID(value) != CFStringGetTypeID())
                continue;
            for (long room : {1L, 2L, 4L, 16L, 256L}) {
                std::vector<char> buffer(static_cast<size_t>(room), 'x');
                long length = PDEBundle::ConvertCFString(static_cast<CFStringRef>(value),
                                                         buffer.data(), room);
                if (length < 0 || length >= room || buffer[static_cast<size_t>(length)] != '\0' ||
                    !ValidUTF8(buffer.data(), length))
                    std::abort();
            }
        }
    }
    CFRelease(plist);
    return 0;
}
