//===- PPDXArchiveItems.cpp - Typed items of the model's archive ----------===//
#include "PPDXArchiveItems.h"

#include "TextConverter.h"

#include <CarbonCore/MacErrors.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace PPDXArchive {

short PutMarker(Settings& settings, unsigned long tag, long id) {
    unsigned char marker = 1;
    return settings.Add(tag, id, &marker, sizeof marker);
}

short PutNumber(Settings& settings, unsigned long tag, long id, int32_t value) {
    return settings.Add(tag, id, &value, sizeof value);
}

short PutBool(Settings& settings, unsigned long tag, long id, bool value) {
    return PutNumber(settings, tag, id, value ? 1 : 0);
}

short PutShort(Settings& settings, unsigned long tag, long id, int16_t value) {
    return settings.Add(tag, id, &value, sizeof value);
}

short PutFloat(Settings& settings, unsigned long tag, long id, float value) {
    static_assert(sizeof(float) == sizeof(int32_t), "floats are stored as 32-bit words");
    int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return PutNumber(settings, tag, id, bits);
}

short PutText(Settings& settings, unsigned long tag, long id, const char* text) {
    if (!text || !text[0])
        return noErr;
    return settings.Add(tag, id, const_cast<char*>(text), static_cast<long>(std::strlen(text)));
}

short PutBytes(Settings& settings, unsigned long tag, long id, const unsigned char* bytes,
               long length) {
    if (!bytes || length <= 0)
        return noErr;
    return settings.Add(tag, id, const_cast<unsigned char*>(bytes), length);
}

short PutName(Settings& settings, unsigned long tag, long id, CFStringRef name) {
    if (!name)
        return noErr;
    long length = 0;
    unsigned char* external = CFStringToExternal(name, &length);
    if (!external)
        return memFullErr;
    short error = settings.Add(tag, id, external, length);
    std::free(external);
    return error;
}

bool HasModel(Settings& settings) {
    long size = 0;
    return settings.Get(kHeaderTag, kVersionId, nullptr, size, false) == noErr &&
           size == static_cast<long>(sizeof(int32_t));
}

bool Has(Settings& settings, unsigned long tag, long id, short* error) {
    long size = 0;
    short status = settings.Get(tag, id, nullptr, size, false);
    if (error)
        *error = status;
    return status == noErr;
}

bool GetNumber(Settings& settings, unsigned long tag, long id, int32_t& value) {
    // One read: size comes back as the item's whole size, so an item of any other size than
    // 4 bytes is told apart afterwards (its first bytes were copied, and are dropped).
    int32_t read = 0;
    long size = sizeof read;
    if (settings.Get(tag, id, &read, size, true) != noErr || size != sizeof read)
        return false;
    value = read;
    return true;
}

bool GetBool(Settings& settings, unsigned long tag, long id, bool& value) {
    int32_t number = 0;
    if (!GetNumber(settings, tag, id, number))
        return false;
    value = number != 0;
    return true;
}

bool GetShort(Settings& settings, unsigned long tag, long id, int16_t& value) {
    int16_t read = 0;
    long size = sizeof read;
    if (settings.Get(tag, id, &read, size, true) != noErr || size != sizeof read)
        return false;
    value = read;
    return true;
}

bool GetFloat(Settings& settings, unsigned long tag, long id, float& value) {
    int32_t bits = 0;
    if (!GetNumber(settings, tag, id, bits))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

namespace {

/// Most items are short: they are read into this much stack in one look-up.
const long kShortItem = 256;

/// The item's bytes in `buffer` (kShortItem bytes) or, when longer, in a new malloc block in
/// `block`; `size` gets their count. False when the item is missing, empty or unreadable.
bool readItem(Settings& settings, unsigned long tag, long id, unsigned char* buffer,
              unsigned char*& block, long& size) {
    block = nullptr;
    size = kShortItem;
    if (settings.Get(tag, id, buffer, size, false) != noErr || size <= 0)
        return false;
    if (size <= kShortItem)
        return true;
    block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    long read = size;
    if (!block || settings.Get(tag, id, block, read, false) != noErr || read != size) {
        std::free(block);
        block = nullptr;
        return false;
    }
    return true;
}

} // namespace

unsigned char* CopyBytes(Settings& settings, unsigned long tag, long id, long& length) {
    length = 0;
    unsigned char buffer[kShortItem];
    unsigned char* block = nullptr;
    long size = 0;
    if (!readItem(settings, tag, id, buffer, block, size))
        return nullptr;
    if (!block) {
        block = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
        if (!block)
            return nullptr;
        std::memcpy(block, buffer, static_cast<size_t>(size));
    }
    length = size;
    return block;
}

CString* GetText(Settings& settings, unsigned long tag, long id) {
    unsigned char buffer[kShortItem + 1];
    unsigned char* block = nullptr;
    long size = 0;
    if (!readItem(settings, tag, id, buffer, block, size))
        return nullptr;
    CString* text = nullptr;
    if (block) {
        // The text ends at the item's end or at a NUL inside it, whichever comes first.
        unsigned char* terminated =
            static_cast<unsigned char*>(std::realloc(block, static_cast<size_t>(size) + 1));
        if (terminated) {
            terminated[size] = '\0';
            text = new (std::nothrow) CString(reinterpret_cast<char*>(terminated));
            block = terminated;
        }
        std::free(block);
    } else {
        buffer[size] = '\0';
        text = new (std::nothrow) CString(reinterpret_cast<char*>(buffer));
    }
    if (text && !static_cast<const char*>(*text)) {
        delete text;
        text = nullptr;
    }
    return text;
}

CFStringRef GetName(Settings& settings, unsigned long tag, long id) {
    unsigned char buffer[kShortItem];
    unsigned char* block = nullptr;
    long size = 0;
    if (!readItem(settings, tag, id, buffer, block, size))
        return nullptr;
    CFStringRef name = ExtenalToCFString(block ? block : buffer, size);
    std::free(block);
    return name;
}

bool PopupItemKeysFor(long controlId, long position, PopupItemKeys& keys) {
    if (controlId < 0 || position < 0 || position >= kMaxPopupItems)
        return false;
    const bool first = position < kPopupItemsInFirstForm;
    // Wide arithmetic: a damaged archive may name any control id.
    int64_t id = static_cast<int64_t>(controlId) *
                     (first ? kPopupItemsInFirstForm : kPopupItemStride) +
                 position;
    if (id > INT32_MAX)
        return false;
    keys.id = static_cast<long>(id);
    if (first)
        keys = {keys.id, kItemKeywordTag, kItemLocalNameTag, kItemUserNameTag, kItemCodeTag,
                kItemSelectedTag};
    else
        keys = {keys.id, kMoreItemKeywordTag, kMoreItemLocalNameTag, kMoreItemUserNameTag,
                kMoreItemCodeTag, kMoreItemSelectedTag};
    return true;
}

long PageId(long n) {
    if (n < 0 || n >= kMaxAllPages)
        return -1;
    return n < kMaxPages ? kFirstPageId + n : -(kFirstOverflowPage + n - kMaxPages);
}

long GroupId(long n) {
    if (n < 0 || n >= kMaxAllGroups)
        return -1;
    return n < kMaxGroups ? kFirstGroupId + n : -(kFirstOverflowGroup + n - kMaxGroups);
}

long PlausibleCount(Settings& settings, int32_t count) {
    if (count <= 0)
        return 0;
    long items = settings.Count();
    return count < items ? count : items;
}

} // namespace PPDXArchive
