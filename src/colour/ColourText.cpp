//===- ColourText.cpp - Text copies of the colour model -------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ColourText.h"

#include <CarbonCore/TextCommon.h>

#include <cstring>

namespace {

CFStringEncoding ApplicationEncoding() {
    return static_cast<CFStringEncoding>(GetApplicationTextEncoding());
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

size_t ColourText::Copy(char* out, size_t size, const char* text) {
    if (!out || size == 0)
        return 0;
    size_t length = text ? strnlen(text, size) : 0;
    if (length == size) {
        // Too long: back off to the start of the character that would be cut.
        length = size - 1;
        while (length > 0 && IsContinuation(static_cast<unsigned char>(text[length])))
            --length;
    }
    if (length)
        std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}

CFStringRef ColourText::Create(const char* text) {
    if (!text)
        return nullptr;
    return CFStringCreateWithCString(kCFAllocatorDefault, text, ApplicationEncoding());
}

bool ColourText::Get(CFStringRef string, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    out[0] = '\0';
    if (!string)
        return false;
    // CFStringGetBytes stops before a character that does not fit whole.
    CFIndex used = 0;
    const CFRange all = CFRangeMake(0, CFStringGetLength(string));
    CFIndex converted = CFStringGetBytes(string, all, ApplicationEncoding(), 0, false,
                                         reinterpret_cast<UInt8*>(out),
                                         static_cast<CFIndex>(size - 1), &used);
    out[used] = '\0';
    if (converted == 0 && all.length > 0)
        return false;
    // A NUL inside the text would cut it short silently; refuse it instead.
    if (std::memchr(out, '\0', static_cast<size_t>(used)) != nullptr) {
        out[0] = '\0';
        return false;
    }
    return true;
}
