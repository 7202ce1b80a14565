//===- CFPropertyListRead.cpp - XML and binary lists to CF objects --------===//
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

#include <cstdlib>
#include <cstring>
#include <plist/plist.h>

namespace pmcf {

namespace {

/// Frees a libplist tree at scope exit.
struct PlistOwner {
    plist_t node = nullptr;
    ~PlistOwner() {
        if (node)
            plist_free(node);
    }
};

class Reader {
public:
    Reader(CFOptionFlags mutability, std::string& error)
        : mutableContainers(mutability != kCFPropertyListImmutable),
          mutableLeaves(mutability == kCFPropertyListMutableContainersAndLeaves), error_(error) {}

    CFPropertyListRef convert(plist_t node, int depth) {
        if (depth > kPMCFPropertyListMaxDepth)
            return fail("containers nested too deeply");
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            return value ? kCFBooleanTrue : kCFBooleanFalse;
        }
        case PLIST_UINT: {
            // The text check admitted only values within SInt64, which the cast restores.
            uint64_t raw = 0;
            plist_get_uint_val(node, &raw);
            SInt64 value = static_cast<SInt64>(raw);
            return CFNumberCreate(nullptr, kCFNumberSInt64Type, &value);
        }
        case PLIST_REAL: {
            double value = 0;
            plist_get_real_val(node, &value);
            return CFNumberCreate(nullptr, kCFNumberFloat64Type, &value);
        }
        case PLIST_STRING:
            return string(node);
        case PLIST_DATA:
            return data(node);
        case PLIST_DATE: {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            return CFDateCreate(nullptr, double(sec) + double(usec) / 1e6);
        }
        case PLIST_ARRAY:
            return array(node, depth);
        case PLIST_DICT:
            return dictionary(node, depth);
        default:
            return fail("unsupported element");
        }
    }

private:
    CFPropertyListRef fail(const char* reason) {
        error_ = reason;
        return nullptr;
    }

    CFStringRef text(const char* utf8, size_t size) {
        std::u16string units;
        if (utf8 == nullptr || !DecodeUTF8(std::string_view(utf8, size), units)) {
            fail("text is not UTF-8");
            return nullptr;
        }
        return CreateString(std::move(units));
    }

    CFPropertyListRef string(plist_t node) {
        uint64_t size = 0;
        const char* utf8 = plist_get_string_ptr(node, &size);
        CFStringRef s = text(utf8, utf8 ? std::strlen(utf8) : 0);
        if (s == nullptr || !mutableLeaves)
            return s;
        CFMutableStringRef copy = CFStringCreateMutableCopy(nullptr, 0, s);
        CFRelease(s);
        return copy;
    }

    CFPropertyListRef data(plist_t node) {
        uint64_t size = 0;
        const char* bytes = plist_get_data_ptr(node, &size);
        if (size > uint64_t(kPMCFPropertyListMaxBytes))
            return fail("data too large");
        const UInt8* p = reinterpret_cast<const UInt8*>(bytes);
        if (!mutableLeaves)
            return CFDataCreate(nullptr, p, static_cast<CFIndex>(size));
        CFMutableDataRef copy = CFDataCreateMutable(nullptr, 0);
        CFDataAppendBytes(copy, p, static_cast<CFIndex>(size));
        return copy;
    }

    CFPropertyListRef array(plist_t node, int depth) {
        CFMutableArrayRef out = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
        uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            CFPropertyListRef item = convert(plist_array_get_item(node, i), depth + 1);
            if (item == nullptr) {
                CFRelease(out);
                return nullptr;
            }
            CFArrayAppendValue(out, item);
            CFRelease(item);
        }
        return freeze(out, CFArrayCreateCopy);
    }

    CFPropertyListRef dictionary(plist_t node, int depth) {
        CFMutableDictionaryRef out = CFDictionaryCreateMutable(
            nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        bool ok = it != nullptr;
        while (ok) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (value == nullptr) {
                std::free(key);
                break;
            }
            CFStringRef k = text(key, key ? std::strlen(key) : 0);
            std::free(key);
            CFPropertyListRef v = k ? convert(value, depth + 1) : nullptr;
            ok = v != nullptr;
            if (ok)
                CFDictionarySetValue(out, k, v);
            if (k)
                CFRelease(k);
            if (v)
                CFRelease(v);
        }
        std::free(it);
        if (!ok) {
            if (error_.empty())
                error_ = "out of memory";
            CFRelease(out);
            return nullptr;
        }
        return freeze(out, CFDictionaryCreateCopy);
    }

    // The container itself when mutable containers were asked for, else an immutable copy.
    template <class Mutable, class Copy> CFPropertyListRef freeze(Mutable container, Copy copy) {
        if (mutableContainers)
            return container;
        CFPropertyListRef frozen = copy(nullptr, container);
        CFRelease(container);
        return frozen;
    }

    const bool mutableContainers;
    const bool mutableLeaves;
    std::string& error_;
};

} // namespace

CFPropertyListRef ReadPropertyList(std::string_view bytes, CFOptionFlags mutability,
                                   std::string& error, CFPropertyListFormat* format) {
    error.clear();
    if (mutability > kCFPropertyListMutableContainersAndLeaves) {
        error = "unknown mutability option";
        return nullptr;
    }
    const bool binary = IsBinaryPropertyList(bytes);
    if (binary ? !CheckBinaryPropertyList(bytes, error) : !CheckPropertyListText(bytes, error))
        return nullptr;
    PlistOwner root;
    {
        ScopedCLocale c;
        if (binary)
            plist_from_bin(bytes.data(), static_cast<uint32_t>(bytes.size()), &root.node);
        else
            plist_from_xml(bytes.data(), static_cast<uint32_t>(bytes.size()), &root.node);
    }
    if (root.node == nullptr) {
        error = binary ? "not a binary property list" : "not an XML property list";
        return nullptr;
    }
    CFPropertyListRef plist = Reader(mutability, error).convert(root.node, 0);
    if (plist && format)
        *format = binary ? kCFPropertyListBinaryFormat_v1_0 : kCFPropertyListXMLFormat_v1_0;
    return plist;
}

} // namespace pmcf
