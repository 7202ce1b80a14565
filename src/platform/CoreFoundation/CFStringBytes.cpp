//===- CFStringBytes.cpp - Strings to and from encoded bytes --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <cstring>
#include <vector>

using pmcf::Cast;

namespace {

CFStringRef CreateFromBytes(const UInt8* bytes, CFIndex numBytes, CFStringEncoding encoding,
                            bool external) {
    if (numBytes < 0 || (bytes == nullptr && numBytes > 0))
        return nullptr;
    // Most texts are plain ASCII: made straight from the bytes, without a decode and a
    // narrowing pass. A byte-order mark is not ASCII, so external forms take the full path.
    if (CFStringRef ascii = pmcf::CreateASCIIString(bytes, static_cast<size_t>(numBytes), encoding))
        return ascii;
    std::u16string units;
    if (!pmcf::Decode(bytes, static_cast<size_t>(numBytes), encoding, external, units))
        return nullptr;
    return pmcf::CreateString(std::move(units));
}

} // namespace

extern "C" {

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding) {
    if (cStr == nullptr)
        return nullptr;
    return CreateFromBytes(reinterpret_cast<const UInt8*>(cStr),
                           static_cast<CFIndex>(std::strlen(cStr)), encoding, false);
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation) {
    return CreateFromBytes(bytes, numBytes, encoding, isExternalRepresentation);
}

CFStringRef CFStringCreateWithBytesNoCopy(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes,
                                          CFStringEncoding encoding,
                                          Boolean isExternalRepresentation,
                                          CFAllocatorRef contentsDeallocator) {
    // Strings always hold UTF-16, so the bytes are converted, and the buffer can go at once.
    CFStringRef string = CreateFromBytes(bytes, numBytes, encoding, isExternalRepresentation);
    if (string)
        CFAllocatorDeallocate(contentsDeallocator, const_cast<UInt8*>(bytes));
    return string;
}

CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef, CFDataRef data,
                                                     CFStringEncoding encoding) {
    if (data == nullptr)
        return nullptr;
    return CreateFromBytes(CFDataGetBytePtr(data), CFDataGetLength(data), encoding, true);
}

CFIndex CFStringGetBytes(CFStringRef theString, CFRange range, CFStringEncoding encoding,
                         UInt8 lossByte, Boolean isExternalRepresentation, UInt8* buffer,
                         CFIndex maxBufLen, CFIndex* usedBufLen) {
    std::u16string_view units = pmcf::Units(theString);
    pmcf::EncodeResult result;
    if (Cast<__CFString>(theString) &&
        pmcf::RangeIsValid(range, static_cast<CFIndex>(units.size())) &&
        (buffer == nullptr || maxBufLen >= 0))
        result = pmcf::Encode(units.substr(range.location, range.length), encoding, lossByte,
                              isExternalRepresentation, buffer, maxBufLen);
    if (usedBufLen)
        *usedBufLen = result.bytes;
    return result.units;
}

Boolean CFStringGetCString(CFStringRef theString, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
    const pmcf::EncodingInfo* info = pmcf::FindEncoding(encoding);
    if (buffer == nullptr || bufferSize <= 0)
        return false;
    if (info == nullptr || info->codec == pmcf::Codec::None) {
        buffer[0] = 0;
        return false;
    }
    std::u16string_view units = pmcf::Units(theString);
    UInt8* bytes = reinterpret_cast<UInt8*>(buffer);
    pmcf::EncodeResult result = pmcf::Encode(units, encoding, 0, false, bytes, bufferSize - 1);
    bool complete = Cast<__CFString>(theString) && result.units == CFIndex(units.size());
    // A C string stops at the first NUL, so text with an embedded NUL cannot be one.
    if (complete && std::memchr(bytes, 0, result.bytes) != nullptr)
        complete = false;
    if (!complete) {
        std::memset(bytes, 0, result.bytes + 1);
        return false;
    }
    bytes[result.bytes] = 0;
    return true;
}

const char* CFStringGetCStringPtr(CFStringRef theString, CFStringEncoding encoding) {
    const __CFString* s = Cast<__CFString>(theString);
    const pmcf::EncodingInfo* info = pmcf::FindEncoding(encoding);
    if (s == nullptr || !s->hasASCII || info == nullptr || !info->asciiCompatible ||
        info->codec == pmcf::Codec::None)
        return nullptr;
    return s->ascii.c_str();
}

CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef, CFStringRef theString,
                                               CFStringEncoding encoding, UInt8 lossByte) {
    std::u16string_view units = pmcf::Units(theString);
    if (Cast<__CFString>(theString) == nullptr)
        return nullptr;
    pmcf::EncodeResult size = pmcf::Encode(units, encoding, lossByte, true, nullptr, 0);
    if (size.units != CFIndex(units.size()) || !CFStringIsEncodingAvailable(encoding))
        return nullptr;
    std::vector<UInt8> bytes(static_cast<size_t>(size.bytes));
    pmcf::Encode(units, encoding, lossByte, true, bytes.data(), size.bytes);
    return CFDataCreate(nullptr, bytes.data(), size.bytes);
}

} // extern "C"
