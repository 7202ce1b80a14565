//===- CFString.cpp - The string object, constants, creation and edits ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/PMCFUtilities.h>

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

using pmcf::Cast;
using pmcf::MutableString;

__CFString::__CFString(std::u16string units, bool isMutable, CFIndex maxLength, bool immortal)
    : Object(TypeID(), immortal), units(std::move(units)), isMutable(isMutable),
      maxLength(maxLength) {
    if (isMutable)
        return;
    for (char16_t u : this->units)
        if (u >= 0x80 || u == 0)
            return;
    // Narrowed in place: assigning from the UTF-16 iterators would build a temporary copy.
    ascii.resize(this->units.size());
    for (size_t i = 0; i < ascii.size(); ++i)
        ascii[i] = static_cast<char>(this->units[i]);
    hasASCII = true;
}

__CFString::__CFString(std::string_view text)
    : Object(TypeID(), false), units(pmcf::Widen(text)), isMutable(false), maxLength(0),
      ascii(text), hasASCII(true) {}

bool __CFString::equals(const Object& other) const {
    return units == static_cast<const __CFString&>(other).units;
}

CFHashCode __CFString::hash() const {
    return pmcf::HashBytes(units.data(), units.size() * sizeof(char16_t));
}

bool __CFString::canHold(size_t newLength) const {
    return maxLength == 0 || newLength <= static_cast<size_t>(maxLength);
}

namespace pmcf {

CFStringRef CreateString(std::u16string units) {
    return new __CFString(std::move(units), false);
}

CFStringRef CreateASCIIString(const UInt8* bytes, size_t size, CFStringEncoding encoding) {
    // Only encodings whose decoders map 1-0x7F to themselves: UTF-8 and the built-in tables.
    // Iconv-converted ones are left to Decode, which may fail without iconv support.
    if (encoding != kCFStringEncodingUTF8 && FindSingleByteTable(encoding) == nullptr)
        return nullptr;
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] == 0 || bytes[i] >= 0x80)
            return nullptr;
    return new __CFString(std::string_view(reinterpret_cast<const char*>(bytes), size));
}

std::u16string_view Units(CFStringRef string) {
    const __CFString* s = Cast<__CFString>(string);
    return s ? std::u16string_view(s->units) : std::u16string_view();
}

__CFString* MutableString(CFMutableStringRef string) {
    __CFString* s = CastMutable<__CFString>(string);
    return s && s->isMutable ? s : nullptr;
}

} // namespace pmcf

namespace {

// Replaces or extends the units of a mutable string, refusing growth past its limit.
void Assign(__CFString* s, std::u16string units) {
    if (s && s->canHold(units.size()))
        s->units = std::move(units);
}

void Append(__CFString* s, std::u16string_view more) {
    if (s && more.size() <= SIZE_MAX - s->units.size() && s->canHold(s->units.size() + more.size()))
        s->units.append(more);
}

} // namespace

extern "C" {

CFStringRef __CFStringMakeConstantString(const char* cStr) {
    // The table and its strings are never freed: constant strings must outlive every static
    // destructor that might still use one.
    static std::mutex* lock = new std::mutex;
    static auto* table = new std::unordered_map<std::string, CFStringRef>;
    std::string key = cStr ? cStr : "";
    std::lock_guard<std::mutex> guard(*lock);
    auto found = table->find(key);
    if (found != table->end())
        return found->second;
    CFStringRef string = new __CFString(pmcf::DecodeCString(key), false, 0, true);
    table->emplace(std::move(key), string);
    return string;
}

CFTypeID CFStringGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFString");
    return id;
}

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar* chars, CFIndex numChars) {
    if (numChars < 0 || (chars == nullptr && numChars > 0))
        return nullptr;
    return pmcf::CreateString(std::u16string(reinterpret_cast<const char16_t*>(chars), numChars));
}

CFStringRef CFStringCreateWithSubstring(CFAllocatorRef, CFStringRef str, CFRange range) {
    const __CFString* s = Cast<__CFString>(str);
    if (s == nullptr || !pmcf::RangeIsValid(range, static_cast<CFIndex>(s->units.size())))
        return nullptr;
    return pmcf::CreateString(s->units.substr(range.location, range.length));
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef theString) {
    const __CFString* s = Cast<__CFString>(theString);
    if (s == nullptr)
        return nullptr;
    if (!s->isMutable) {
        s->retain();
        return s;
    }
    return pmcf::CreateString(s->units);
}

CFMutableStringRef CFStringCreateMutable(CFAllocatorRef, CFIndex maxLength) {
    if (maxLength < 0)
        return nullptr;
    return new __CFString(std::u16string(), true, maxLength);
}

CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef, CFIndex maxLength,
                                             CFStringRef theString) {
    const __CFString* s = Cast<__CFString>(theString);
    if (s == nullptr || maxLength < 0 ||
        (maxLength > 0 && s->units.size() > static_cast<size_t>(maxLength)))
        return nullptr;
    return new __CFString(s->units, true, maxLength);
}

void CFStringAppend(CFMutableStringRef theString, CFStringRef appendedString) {
    // Copy first: the appended string may be theString itself.
    std::u16string more(pmcf::Units(appendedString));
    Append(MutableString(theString), more);
}

void CFStringAppendCString(CFMutableStringRef theString, const char* cStr,
                           CFStringEncoding encoding) {
    std::u16string more;
    if (cStr && pmcf::Decode(reinterpret_cast<const UInt8*>(cStr), std::strlen(cStr), encoding,
                             false, more))
        Append(MutableString(theString), more);
}

void CFStringAppendCharacters(CFMutableStringRef theString, const UniChar* chars,
                              CFIndex numChars) {
    if (numChars > 0 && chars != nullptr)
        Append(MutableString(theString),
               std::u16string_view(reinterpret_cast<const char16_t*>(chars), numChars));
}

void CFStringReplaceAll(CFMutableStringRef theString, CFStringRef replacement) {
    if (Cast<__CFString>(replacement))
        Assign(MutableString(theString), std::u16string(pmcf::Units(replacement)));
}

CFIndex CFStringGetLength(CFStringRef theString) {
    return static_cast<CFIndex>(pmcf::Units(theString).size());
}

UniChar CFStringGetCharacterAtIndex(CFStringRef theString, CFIndex idx) {
    std::u16string_view units = pmcf::Units(theString);
    return idx >= 0 && static_cast<size_t>(idx) < units.size() ? units[idx] : 0;
}

void CFStringGetCharacters(CFStringRef theString, CFRange range, UniChar* buffer) {
    std::u16string_view units = pmcf::Units(theString);
    if (buffer && pmcf::RangeIsValid(range, static_cast<CFIndex>(units.size())))
        units.copy(reinterpret_cast<char16_t*>(buffer), range.length, range.location);
}

CFStringRef CFStringCreateByCombiningStrings(CFAllocatorRef, CFArrayRef theArray,
                                             CFStringRef separatorString) {
    CFIndex count = CFArrayGetCount(theArray);
    std::u16string_view separator = pmcf::Units(separatorString);
    std::u16string joined;
    for (CFIndex i = 0; i < count; ++i) {
        const void* item = CFArrayGetValueAtIndex(theArray, i);
        if (Cast<__CFString>(item) == nullptr)
            return nullptr;
        if (i > 0)
            joined.append(separator);
        joined.append(pmcf::Units(static_cast<CFStringRef>(item)));
    }
    return pmcf::CreateString(std::move(joined));
}

} // extern "C"

std::string PMCFStringCopyUTF8(CFStringRef string) {
    return pmcf::EncodeUTF8Lossy(pmcf::Units(string));
}

CFStringRef PMCFStringCreateWithUTF8(std::string_view utf8) {
    std::u16string units;
    return pmcf::DecodeUTF8(utf8, units) ? pmcf::CreateString(std::move(units)) : nullptr;
}
