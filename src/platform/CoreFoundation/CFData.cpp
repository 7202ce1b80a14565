//===- CFData.cpp - Immutable and mutable byte buffers --------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFData.h>
#include <CoreFoundation/CFRuntime.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

using pmcf::Cast;

/// Data: owns `owned`, or (immutable only) borrows `borrowed` freed with `deallocator`.
struct __CFData final : pmcf::Object {
    static CFTypeID TypeID() { return CFDataGetTypeID(); }
    __CFData(std::vector<UInt8> bytes, bool isMutable, CFIndex capacity)
        : Object(TypeID()), owned(std::move(bytes)), isMutable(isMutable), capacity(capacity) {}
    __CFData(const UInt8* bytes, CFIndex length, CFAllocatorRef deallocator)
        : Object(TypeID()), isMutable(false), capacity(0), borrowed(bytes), borrowedLength(length),
          deallocator(deallocator) {}
    ~__CFData() override {
        if (borrowed)
            CFAllocatorDeallocate(deallocator, const_cast<UInt8*>(borrowed));
    }

    const UInt8* data() const { return borrowed ? borrowed : owned.data(); }
    size_t size() const { return borrowed ? static_cast<size_t>(borrowedLength) : owned.size(); }
    bool canHold(size_t length) const {
        return length <= static_cast<size_t>(LONG_MAX) &&
               (capacity == 0 || length <= static_cast<size_t>(capacity));
    }

    bool equals(const Object& other) const override {
        const __CFData& o = static_cast<const __CFData&>(other);
        return size() == o.size() && (size() == 0 || std::memcmp(data(), o.data(), size()) == 0);
    }
    CFHashCode hash() const override { return pmcf::HashBytes(data(), size()); }
    std::u16string describe() const override {
        std::string text = "<";
        char hex[3];
        for (size_t i = 0; i < size(); ++i) {
            std::snprintf(hex, sizeof hex, "%02x", data()[i]);
            text += hex;
        }
        return pmcf::Widen(text + ">");
    }

    std::vector<UInt8> owned;
    const bool isMutable;
    const CFIndex capacity; // 0: unlimited
    const UInt8* borrowed = nullptr;
    CFIndex borrowedLength = 0;
    CFAllocatorRef deallocator = nullptr;
};

namespace {

__CFData* Mutable(CFMutableDataRef data) {
    __CFData* d = pmcf::CastMutable<__CFData>(data);
    return d && d->isMutable ? d : nullptr;
}

bool ValidBytes(const UInt8* bytes, CFIndex length) {
    return length >= 0 && (bytes != nullptr || length == 0);
}

} // namespace

extern "C" {

CFTypeID CFDataGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFData");
    return id;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
    if (!ValidBytes(bytes, length))
        return nullptr;
    return new __CFData(std::vector<UInt8>(bytes, bytes + length), false, 0);
}

CFDataRef CFDataCreateWithBytesNoCopy(CFAllocatorRef, const UInt8* bytes, CFIndex length,
                                      CFAllocatorRef bytesDeallocator) {
    if (!ValidBytes(bytes, length))
        return nullptr;
    if (bytes == nullptr)
        return new __CFData(std::vector<UInt8>(), false, 0);
    return new __CFData(bytes, length, bytesDeallocator);
}

CFDataRef CFDataCreateCopy(CFAllocatorRef, CFDataRef theData) {
    const __CFData* d = Cast<__CFData>(theData);
    if (d == nullptr)
        return nullptr;
    // Borrowed bytes may be the caller's to change, so only owned immutable data is shared.
    if (!d->isMutable && d->borrowed == nullptr) {
        d->retain();
        return d;
    }
    return new __CFData(std::vector<UInt8>(d->data(), d->data() + d->size()), false, 0);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex capacity) {
    if (capacity < 0)
        return nullptr;
    return new __CFData(std::vector<UInt8>(), true, capacity);
}

CFMutableDataRef CFDataCreateMutableCopy(CFAllocatorRef, CFIndex capacity, CFDataRef theData) {
    const __CFData* d = Cast<__CFData>(theData);
    if (d == nullptr || capacity < 0 || (capacity > 0 && d->size() > size_t(capacity)))
        return nullptr;
    return new __CFData(std::vector<UInt8>(d->data(), d->data() + d->size()), true, capacity);
}

CFIndex CFDataGetLength(CFDataRef theData) {
    const __CFData* d = Cast<__CFData>(theData);
    return d ? static_cast<CFIndex>(d->size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef theData) {
    const __CFData* d = Cast<__CFData>(theData);
    return d ? d->data() : nullptr;
}

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef theData) {
    __CFData* d = Mutable(theData);
    return d ? d->owned.data() : nullptr;
}

void CFDataGetBytes(CFDataRef theData, CFRange range, UInt8* buffer) {
    const __CFData* d = Cast<__CFData>(theData);
    if (d && buffer && pmcf::RangeIsValid(range, static_cast<CFIndex>(d->size())) &&
        range.length > 0)
        std::memcpy(buffer, d->data() + range.location, static_cast<size_t>(range.length));
}

void CFDataSetLength(CFMutableDataRef theData, CFIndex length) {
    __CFData* d = Mutable(theData);
    if (d && length >= 0 && d->canHold(static_cast<size_t>(length)))
        d->owned.resize(static_cast<size_t>(length), 0);
}

void CFDataIncreaseLength(CFMutableDataRef theData, CFIndex extraLength) {
    __CFData* d = Mutable(theData);
    if (d && extraLength >= 0 && extraLength <= LONG_MAX - CFIndex(d->size()))
        CFDataSetLength(theData, CFIndex(d->size()) + extraLength);
}

void CFDataReplaceBytes(CFMutableDataRef theData, CFRange range, const UInt8* newBytes,
                        CFIndex newLength) {
    __CFData* d = Mutable(theData);
    if (d == nullptr || !ValidBytes(newBytes, newLength) ||
        !pmcf::RangeIsValid(range, static_cast<CFIndex>(d->size())))
        return;
    size_t newSize = d->size() - range.length;
    if (static_cast<size_t>(newLength) > SIZE_MAX - newSize || !d->canHold(newSize + newLength))
        return;
    // Copy first: the new bytes may point into this data.
    std::vector<UInt8> replacement(newBytes, newBytes + newLength);
    auto at = d->owned.begin() + range.location;
    at = d->owned.erase(at, at + range.length);
    d->owned.insert(at, replacement.begin(), replacement.end());
}

void CFDataAppendBytes(CFMutableDataRef theData, const UInt8* bytes, CFIndex length) {
    CFRange end = CFRangeMake(CFDataGetLength(theData), 0);
    CFDataReplaceBytes(theData, end, bytes, length);
}

void CFDataDeleteBytes(CFMutableDataRef theData, CFRange range) {
    CFDataReplaceBytes(theData, range, nullptr, 0);
}

} // extern "C"
