//===- CFUUID.cpp - Universally unique identifiers ------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/CFUUID.h>
#include <CoreFoundation/PMASCII.h>

#include <array>
#include <cstring>
#include <map>
#include <mutex>
#include <uuid.h>

namespace {
using Bytes = std::array<UInt8, 16>;
}

/// A UUID: its 16 bytes.
struct __CFUUID final : pmcf::Object {
    static CFTypeID TypeID() { return CFUUIDGetTypeID(); }
    explicit __CFUUID(const Bytes& b, bool immortal = false)
        : Object(TypeID(), immortal), bytes(b) {}

    bool equals(const Object& other) const override {
        return bytes == static_cast<const __CFUUID&>(other).bytes;
    }
    CFHashCode hash() const override { return pmcf::HashBytes(bytes.data(), bytes.size()); }
    std::u16string describe() const override { return pmcf::Widen(text()); }

    /// The standard upper-case string form.
    std::string text() const {
        static const char kHex[] = "0123456789ABCDEF";
        std::string s;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i == 4 || i == 6 || i == 8 || i == 10)
                s.push_back('-');
            s.push_back(kHex[bytes[i] >> 4]);
            s.push_back(kHex[bytes[i] & 15]);
        }
        return s;
    }

    const Bytes bytes;
};

namespace {

bool Parse(std::u16string_view s, Bytes& out) {
    if (s.size() != 36)
        return false;
    size_t byte = 0;
    for (size_t i = 0; i < s.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (s[i] != '-')
                return false;
            ++i;
            continue;
        }
        int high = pmcf::HexDigitValue(s[i]), low = pmcf::HexDigitValue(s[i + 1]);
        if (high < 0 || low < 0)
            return false;
        out[byte++] = static_cast<UInt8>(high * 16 + low);
        i += 2;
    }
    return byte == out.size();
}

Bytes Of(const CFUUIDBytes& b) {
    Bytes out;
    static_assert(sizeof b == 16, "CFUUIDBytes holds exactly 16 bytes");
    std::memcpy(out.data(), &b, out.size());
    return out;
}

} // namespace

extern "C" {

CFTypeID CFUUIDGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFUUID");
    return id;
}

CFUUIDRef CFUUIDCreate(CFAllocatorRef) {
    uuid_t raw;
    uuid_generate_random(raw);
    Bytes bytes;
    std::memcpy(bytes.data(), raw, bytes.size());
    return new __CFUUID(bytes);
}

CFUUIDRef CFUUIDCreateWithBytes(CFAllocatorRef alloc, UInt8 byte0, UInt8 byte1, UInt8 byte2,
                                UInt8 byte3, UInt8 byte4, UInt8 byte5, UInt8 byte6, UInt8 byte7,
                                UInt8 byte8, UInt8 byte9, UInt8 byte10, UInt8 byte11, UInt8 byte12,
                                UInt8 byte13, UInt8 byte14, UInt8 byte15) {
    return CFUUIDCreateFromUUIDBytes(alloc,
                                     {byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7, byte8,
                                      byte9, byte10, byte11, byte12, byte13, byte14, byte15});
}

CFUUIDRef CFUUIDCreateFromUUIDBytes(CFAllocatorRef, CFUUIDBytes bytes) {
    return new __CFUUID(Of(bytes));
}

CFUUIDRef CFUUIDCreateFromString(CFAllocatorRef, CFStringRef uuidStr) {
    Bytes bytes;
    if (pmcf::Cast<__CFString>(uuidStr) == nullptr || !Parse(pmcf::Units(uuidStr), bytes))
        return nullptr;
    return new __CFUUID(bytes);
}

CFStringRef CFUUIDCreateString(CFAllocatorRef, CFUUIDRef uuid) {
    const __CFUUID* u = pmcf::Cast<__CFUUID>(uuid);
    return u ? pmcf::CreateString(pmcf::Widen(u->text())) : nullptr;
}

CFUUIDRef CFUUIDGetConstantUUIDWithBytes(CFAllocatorRef, UInt8 byte0, UInt8 byte1, UInt8 byte2,
                                         UInt8 byte3, UInt8 byte4, UInt8 byte5, UInt8 byte6,
                                         UInt8 byte7, UInt8 byte8, UInt8 byte9, UInt8 byte10,
                                         UInt8 byte11, UInt8 byte12, UInt8 byte13, UInt8 byte14,
                                         UInt8 byte15) {
    // Never freed, like the constant strings: callers keep these in statics of their own.
    static std::mutex* lock = new std::mutex;
    static auto* table = new std::map<Bytes, const __CFUUID*>;
    Bytes bytes = {byte0, byte1, byte2,  byte3,  byte4,  byte5,  byte6,  byte7,
                   byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15};
    std::lock_guard<std::mutex> guard(*lock);
    auto found = table->find(bytes);
    if (found != table->end())
        return found->second;
    const __CFUUID* uuid = new __CFUUID(bytes, true);
    table->emplace(bytes, uuid);
    return uuid;
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid) {
    CFUUIDBytes out;
    std::memset(&out, 0, sizeof out);
    if (const __CFUUID* u = pmcf::Cast<__CFUUID>(uuid))
        std::memcpy(&out, u->bytes.data(), sizeof out);
    return out;
}

} // extern "C"
