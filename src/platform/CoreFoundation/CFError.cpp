//===- CFError.cpp - Error objects ----------------------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFError.h>
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFStringInternal.h>

/// An error: owns its domain and user info.
struct __CFError final : pmcf::Object {
    static CFTypeID TypeID() { return CFErrorGetTypeID(); }
    __CFError(CFErrorDomain d, CFIndex c, CFDictionaryRef info)
        : Object(TypeID()), domain(CFStringCreateCopy(nullptr, d)), code(c),
          userInfo(info ? CFDictionaryCreateCopy(nullptr, info)
                        : CFDictionaryCreate(nullptr, nullptr, nullptr, 0,
                                             &kCFTypeDictionaryKeyCallBacks,
                                             &kCFTypeDictionaryValueCallBacks)) {}
    ~__CFError() override {
        CFRelease(domain);
        CFRelease(userInfo);
    }

    std::u16string describe() const override {
        CFStringRef text = CFErrorCopyDescription(this);
        std::u16string units(pmcf::Units(text));
        CFRelease(text);
        return units;
    }

    const CFStringRef domain;
    const CFIndex code;
    const CFDictionaryRef userInfo;
};

extern "C" {

const CFErrorDomain kCFErrorDomainCocoa = CFSTR("NSCocoaErrorDomain");
const CFErrorDomain kCFErrorDomainPOSIX = CFSTR("NSPOSIXErrorDomain");
const CFErrorDomain kCFErrorDomainOSStatus = CFSTR("NSOSStatusErrorDomain");
const CFStringRef kCFErrorDescriptionKey = CFSTR("NSDescription");

CFTypeID CFErrorGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFError");
    return id;
}

CFErrorRef CFErrorCreate(CFAllocatorRef, CFErrorDomain domain, CFIndex code,
                         CFDictionaryRef userInfo) {
    if (pmcf::Cast<__CFString>(domain) == nullptr)
        return nullptr;
    return new __CFError(domain, code, userInfo);
}

CFErrorDomain CFErrorGetDomain(CFErrorRef err) {
    const __CFError* e = pmcf::Cast<__CFError>(err);
    return e ? e->domain : nullptr;
}

CFIndex CFErrorGetCode(CFErrorRef err) {
    const __CFError* e = pmcf::Cast<__CFError>(err);
    return e ? e->code : 0;
}

CFDictionaryRef CFErrorCopyUserInfo(CFErrorRef err) {
    const __CFError* e = pmcf::Cast<__CFError>(err);
    return e ? static_cast<CFDictionaryRef>(CFRetain(e->userInfo)) : nullptr;
}

CFStringRef CFErrorCopyDescription(CFErrorRef err) {
    const __CFError* e = pmcf::Cast<__CFError>(err);
    if (e == nullptr)
        return nullptr;
    CFTypeRef text = CFDictionaryGetValue(e->userInfo, kCFErrorDescriptionKey);
    if (CFGetTypeID(text) == CFStringGetTypeID())
        return static_cast<CFStringRef>(CFRetain(text));
    return CFStringCreateWithFormat(nullptr, nullptr, CFSTR("%@ error %ld"), e->domain,
                                    static_cast<long>(e->code));
}

} // extern "C"
