//===- CFBase.cpp - The CFType functions ----------------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <cstdio>

using pmcf::Object;

namespace {
const Object* AsObject(CFTypeRef cf) {
    return static_cast<const Object*>(cf);
}
} // namespace

extern "C" {

CFTypeRef CFRetain(CFTypeRef cf) {
    if (cf != nullptr)
        AsObject(cf)->retain();
    return cf;
}

void CFRelease(CFTypeRef cf) {
    if (cf != nullptr)
        AsObject(cf)->release();
}

CFIndex CFGetRetainCount(CFTypeRef cf) {
    return cf ? AsObject(cf)->retainCount() : 0;
}

CFTypeID CFGetTypeID(CFTypeRef cf) {
    return cf ? AsObject(cf)->typeID() : 0;
}

Boolean CFEqual(CFTypeRef cf1, CFTypeRef cf2) {
    if (cf1 == cf2)
        return true;
    if (cf1 == nullptr || cf2 == nullptr)
        return false;
    const Object* a = AsObject(cf1);
    const Object* b = AsObject(cf2);
    return a->typeID() == b->typeID() && a->equals(*b);
}

CFHashCode CFHash(CFTypeRef cf) {
    return cf ? AsObject(cf)->hash() : 0;
}

CFStringRef CFCopyDescription(CFTypeRef cf) {
    if (cf == nullptr)
        return nullptr;
    return pmcf::CreateString(AsObject(cf)->describe());
}

CFStringRef CFCopyTypeIDDescription(CFTypeID type_id) {
    const char* name = pmcf::TypeName(type_id);
    return name ? pmcf::CreateString(pmcf::Widen(name)) : nullptr;
}

void CFShow(CFTypeRef obj) {
    CFStringRef description = CFCopyDescription(obj);
    std::string text = description ? PMCFStringCopyUTF8(description) : "(null)";
    CFRelease(description);
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // extern "C"
