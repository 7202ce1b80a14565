//===- CFPropertyList.cpp - XML property lists ----------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBoolean.h>
#include <CoreFoundation/CFDate.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFNumber.h>
#include <CoreFoundation/CFPropertyListInternal.h>
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <vector>

namespace {

std::string_view TextOf(CFDataRef data) {
    return std::string_view(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                            static_cast<size_t>(CFDataGetLength(data)));
}

CFErrorRef MakeError(CFIndex code, const std::string& reason) {
    CFStringRef text = PMCFStringCreateWithUTF8(reason);
    const void* keys[] = {kCFErrorDescriptionKey};
    const void* values[] = {text};
    CFDictionaryRef info =
        CFDictionaryCreate(nullptr, keys, values, text ? 1 : 0, &kCFTypeDictionaryKeyCallBacks,
                           &kCFTypeDictionaryValueCallBacks);
    CFErrorRef error = CFErrorCreate(nullptr, kCFErrorDomainCocoa, code, info);
    CFRelease(info);
    if (text)
        CFRelease(text);
    return error;
}

// Deep copy and validity share one walk: with `copy` false nothing is created and the
// result is only non-NULL (kCFBooleanTrue) or NULL.
class Copier {
public:
    Copier(CFOptionFlags mutability, bool copy)
        : mutableContainers(mutability != kCFPropertyListImmutable),
          mutableLeaves(mutability == kCFPropertyListMutableContainersAndLeaves), copy_(copy) {}

    CFTypeRef run(CFTypeRef cf, int depth) {
        if (cf == nullptr || depth > kPMCFPropertyListMaxDepth)
            return nullptr;
        CFTypeID type = CFGetTypeID(cf);
        if (type == CFStringGetTypeID())
            return leaf(cf, mutableLeaves ? copyMutableString : nullptr, CFStringCreateCopyAny);
        if (type == CFDataGetTypeID())
            return leaf(cf, mutableLeaves ? copyMutableData : nullptr, CFDataCreateCopyAny);
        if (type == CFNumberGetTypeID() || type == CFBooleanGetTypeID() ||
            type == CFDateGetTypeID())
            return copy_ ? CFRetain(cf) : kCFBooleanTrue; // immutable values are shared
        if (type == CFArrayGetTypeID())
            return array(static_cast<CFArrayRef>(cf), depth);
        if (type == CFDictionaryGetTypeID())
            return dictionary(static_cast<CFDictionaryRef>(cf), depth);
        return nullptr;
    }

private:
    static CFTypeRef CFStringCreateCopyAny(CFTypeRef cf) {
        return CFStringCreateCopy(nullptr, static_cast<CFStringRef>(cf));
    }
    static CFTypeRef CFDataCreateCopyAny(CFTypeRef cf) {
        return CFDataCreateCopy(nullptr, static_cast<CFDataRef>(cf));
    }
    static CFTypeRef copyMutableString(CFTypeRef cf) {
        return CFStringCreateMutableCopy(nullptr, 0, static_cast<CFStringRef>(cf));
    }
    static CFTypeRef copyMutableData(CFTypeRef cf) {
        return CFDataCreateMutableCopy(nullptr, 0, static_cast<CFDataRef>(cf));
    }

    CFTypeRef leaf(CFTypeRef cf, CFTypeRef (*makeMutable)(CFTypeRef),
                   CFTypeRef (*makeImmutable)(CFTypeRef)) {
        if (!copy_)
            return kCFBooleanTrue;
        return makeMutable ? makeMutable(cf) : makeImmutable(cf);
    }

    CFTypeRef array(CFArrayRef a, int depth) {
        CFMutableArrayRef out =
            copy_ ? CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks) : nullptr;
        for (CFIndex i = 0; i < CFArrayGetCount(a); ++i) {
            CFTypeRef item = run(CFArrayGetValueAtIndex(a, i), depth + 1);
            if (item == nullptr)
                return discard(out);
            if (copy_) {
                CFArrayAppendValue(out, item);
                CFRelease(item);
            }
        }
        if (!copy_)
            return kCFBooleanTrue;
        if (mutableContainers)
            return out;
        CFArrayRef frozen = CFArrayCreateCopy(nullptr, out);
        CFRelease(out);
        return frozen;
    }

    CFTypeRef dictionary(CFDictionaryRef d, int depth) {
        CFIndex count = CFDictionaryGetCount(d);
        std::vector<const void*> keys(count), values(count);
        CFDictionaryGetKeysAndValues(d, keys.data(), values.data());
        CFMutableDictionaryRef out =
            copy_ ? CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                              &kCFTypeDictionaryValueCallBacks)
                  : nullptr;
        for (CFIndex i = 0; i < count; ++i) {
            if (CFGetTypeID(keys[i]) != CFStringGetTypeID())
                return discard(out);
            // Keys are always immutable copies, whatever the mutability asked for.
            CFTypeRef key = copy_ ? CFStringCreateCopyAny(keys[i]) : nullptr;
            CFTypeRef value = run(values[i], depth + 1);
            if (value && copy_)
                CFDictionarySetValue(out, key, value);
            if (key)
                CFRelease(key);
            if (value == nullptr)
                return discard(out);
            if (copy_)
                CFRelease(value);
        }
        if (!copy_)
            return kCFBooleanTrue;
        if (mutableContainers)
            return out;
        CFDictionaryRef frozen = CFDictionaryCreateCopy(nullptr, out);
        CFRelease(out);
        return frozen;
    }

    static CFTypeRef discard(CFTypeRef partial) {
        if (partial)
            CFRelease(partial);
        return nullptr;
    }

    const bool mutableContainers;
    const bool mutableLeaves;
    const bool copy_;
};

} // namespace

extern "C" {

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString) {
    if (errorString)
        *errorString = nullptr;
    std::string error;
    CFPropertyListRef plist = nullptr;
    if (CFGetTypeID(xmlData) != CFDataGetTypeID())
        error = "no data";
    else
        plist = pmcf::ReadPropertyList(TextOf(xmlData), mutabilityOption, error);
    if (plist == nullptr && errorString)
        *errorString = PMCFStringCreateWithUTF8(error);
    return plist;
}

CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator, CFPropertyListRef propertyList) {
    return CFPropertyListCreateData(allocator, propertyList, kCFPropertyListXMLFormat_v1_0, 0,
                                    nullptr);
}

CFPropertyListRef CFPropertyListCreateWithData(CFAllocatorRef, CFDataRef data,
                                               CFOptionFlags options, CFPropertyListFormat* format,
                                               CFErrorRef* error) {
    if (error)
        *error = nullptr;
    std::string reason = "no data";
    CFPropertyListRef plist = nullptr;
    if (CFGetTypeID(data) == CFDataGetTypeID())
        plist = pmcf::ReadPropertyList(TextOf(data), options, reason, format);
    if (plist == nullptr && error)
        *error = MakeError(kCFPropertyListReadCorruptError, reason);
    return plist;
}

CFDataRef CFPropertyListCreateData(CFAllocatorRef, CFPropertyListRef propertyList,
                                   CFPropertyListFormat format, CFOptionFlags, CFErrorRef* error) {
    if (error)
        *error = nullptr;
    std::string xml, reason;
    if (format != kCFPropertyListXMLFormat_v1_0)
        reason = "only the XML format can be written";
    else if (pmcf::WritePropertyList(propertyList, xml, reason))
        return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml.data()),
                            static_cast<CFIndex>(xml.size()));
    if (error)
        *error = MakeError(kCFPropertyListWriteStreamError, reason);
    return nullptr;
}

CFPropertyListRef CFPropertyListCreateDeepCopy(CFAllocatorRef, CFPropertyListRef propertyList,
                                               CFOptionFlags mutabilityOption) {
    if (mutabilityOption > kCFPropertyListMutableContainersAndLeaves)
        return nullptr;
    return Copier(mutabilityOption, true).run(propertyList, 0);
}

Boolean CFPropertyListIsValid(CFPropertyListRef plist, CFPropertyListFormat format) {
    if (format != kCFPropertyListXMLFormat_v1_0 && format != kCFPropertyListBinaryFormat_v1_0)
        return false;
    return Copier(kCFPropertyListImmutable, false).run(plist, 0) != nullptr;
}

} // extern "C"
