//===- CFPropertyListWrite.cpp - CF objects to XML text -------------------===//
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

#include <cmath>
#include <plist/plist.h>
#include <vector>

namespace pmcf {

namespace {

class Writer {
public:
    explicit Writer(std::string& error) : error_(error) {}

    /// A new libplist node for `cf` (the caller frees it), or nullptr and an error.
    plist_t convert(CFTypeRef cf, int depth) {
        if (depth > kPMCFPropertyListMaxDepth)
            return fail("containers nested too deeply");
        CFTypeID type = CFGetTypeID(cf);
        if (type == CFStringGetTypeID()) {
            std::string utf8;
            return utf8String(static_cast<CFStringRef>(cf), utf8) ? plist_new_string(utf8.c_str())
                                                                  : nullptr;
        }
        if (type == CFBooleanGetTypeID())
            return plist_new_bool(CFBooleanGetValue(static_cast<CFBooleanRef>(cf)));
        if (type == CFNumberGetTypeID())
            return number(static_cast<CFNumberRef>(cf));
        if (type == CFDataGetTypeID()) {
            CFDataRef d = static_cast<CFDataRef>(cf);
            return plist_new_data(reinterpret_cast<const char*>(CFDataGetBytePtr(d)),
                                  static_cast<uint64_t>(CFDataGetLength(d)));
        }
        if (type == CFDateGetTypeID())
            return date(static_cast<CFDateRef>(cf));
        if (type == CFArrayGetTypeID())
            return array(static_cast<CFArrayRef>(cf), depth);
        if (type == CFDictionaryGetTypeID())
            return dictionary(static_cast<CFDictionaryRef>(cf), depth);
        return fail("object is not a property-list type");
    }

private:
    plist_t fail(const char* reason) {
        if (error_.empty())
            error_ = reason;
        return nullptr;
    }

    // libplist keeps C strings: a string holding U+0000 cannot be written.
    bool utf8String(CFStringRef s, std::string& out) {
        std::u16string_view units = Units(s);
        if (units.find(u'\0') != units.npos) {
            fail("string holds U+0000");
            return false;
        }
        out = EncodeUTF8Lossy(units);
        return true;
    }

    plist_t number(CFNumberRef n) {
        if (CFNumberIsFloatType(n)) {
            double value = 0;
            CFNumberGetValue(n, kCFNumberFloat64Type, &value);
            return std::isfinite(value) ? plist_new_real(value) : fail("real is not finite");
        }
        SInt64 value = 0;
        CFNumberGetValue(n, kCFNumberSInt64Type, &value);
        // libplist writes a 64-bit integer node as signed, which the cast preserves.
        return plist_new_uint(static_cast<uint64_t>(value));
    }

    plist_t date(CFDateRef d) {
        double t = CFDateGetAbsoluteTime(d);
        if (!DateFitsPropertyList(t))
            return fail("date out of range");
        double whole = std::floor(t);
        int32_t usec = static_cast<int32_t>((t - whole) * 1e6);
        return plist_new_date(static_cast<int32_t>(whole), usec);
    }

    plist_t array(CFArrayRef a, int depth) {
        plist_t out = plist_new_array();
        for (CFIndex i = 0; out && i < CFArrayGetCount(a); ++i) {
            plist_t item = convert(CFArrayGetValueAtIndex(a, i), depth + 1);
            if (item == nullptr) {
                plist_free(out);
                return nullptr;
            }
            plist_array_append_item(out, item);
        }
        return out;
    }

    plist_t dictionary(CFDictionaryRef d, int depth) {
        CFIndex count = CFDictionaryGetCount(d);
        std::vector<const void*> keys(count), values(count);
        CFDictionaryGetKeysAndValues(d, keys.data(), values.data());
        plist_t out = plist_new_dict();
        for (CFIndex i = 0; out && i < count; ++i) {
            std::string key;
            if (CFGetTypeID(keys[i]) != CFStringGetTypeID()) {
                fail("dictionary key is not a string");
            } else if (utf8String(static_cast<CFStringRef>(keys[i]), key)) {
                if (plist_t item = convert(values[i], depth + 1)) {
                    plist_dict_set_item(out, key.c_str(), item);
                    continue;
                }
            }
            plist_free(out);
            return nullptr;
        }
        return out;
    }

    std::string& error_;
};

} // namespace

bool WritePropertyList(CFPropertyListRef plist, std::string& xml, std::string& error) {
    error.clear();
    plist_t root = Writer(error).convert(plist, 0);
    if (root == nullptr) {
        if (error.empty())
            error = "out of memory";
        return false;
    }
    char* text = nullptr;
    uint32_t length = 0;
    {
        ScopedCLocale c;
        plist_to_xml(root, &text, &length);
    }
    plist_free(root);
    if (text == nullptr) {
        error = "out of memory";
        return false;
    }
    xml.assign(text, length);
    plist_to_xml_free(text);
    return true;
}

} // namespace pmcf
