//===- CFBoolean.cpp - The two boolean objects ----------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFBoolean.h>
#include <CoreFoundation/CFRuntime.h>

/// One of the two booleans. Its type id is reserved so that both objects can be
/// constant-initialised: code running in other static initialisers may already use them.
struct __CFBoolean final : pmcf::Object {
    static CFTypeID TypeID() { return pmcf::kBooleanTypeID; }
    explicit constexpr __CFBoolean(bool value) noexcept
        : Object(pmcf::kBooleanTypeID, true), value(value) {}

    CFHashCode hash() const override { return value ? 1 : 0; }
    std::u16string describe() const override { return value ? u"true" : u"false"; }

    const bool value;
};

namespace {
__CFBoolean gTrue(true);
__CFBoolean gFalse(false);
} // namespace

extern "C" {

const CFBooleanRef kCFBooleanTrue = &gTrue;
const CFBooleanRef kCFBooleanFalse = &gFalse;

CFTypeID CFBooleanGetTypeID(void) {
    return pmcf::kBooleanTypeID;
}

Boolean CFBooleanGetValue(CFBooleanRef boolean) {
    const __CFBoolean* b = pmcf::Cast<__CFBoolean>(boolean);
    return b != nullptr && b->value;
}

} // extern "C"
