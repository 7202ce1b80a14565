//===- CFDictionary.cpp - Key-value collections ---------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFStringInternal.h>

#include <cstdio>
#include <list>
#include <unordered_map>
#include <utility>
#include <vector>

using pmcf::Cast;

namespace {

const void* RetainType(CFAllocatorRef, const void* value) {
    return CFRetain(value);
}
void ReleaseType(CFAllocatorRef, const void* value) {
    CFRelease(value);
}
const void* CopyString(CFAllocatorRef, const void* value) {
    return CFStringCreateCopy(nullptr, static_cast<CFStringRef>(value));
}

} // namespace

extern "C" {
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {
    0, RetainType, ReleaseType, CFCopyDescription, CFEqual, CFHash};
const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks = {
    0, CopyString, ReleaseType, CFCopyDescription, CFEqual, CFHash};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, RetainType, ReleaseType,
                                                                    CFCopyDescription, CFEqual};
}

/// A dictionary: entries in insertion order, plus a hash index over them for look-ups.
struct __CFDictionary final : pmcf::Object {
    struct Entry {
        const void* key;
        const void* value;
    };
    using Entries = std::list<Entry>;

    static CFTypeID TypeID() { return CFDictionaryGetTypeID(); }
    __CFDictionary(const CFDictionaryKeyCallBacks* kcb, const CFDictionaryValueCallBacks* vcb,
                   bool isMutable, CFIndex capacity)
        : Object(TypeID()), keyCallbacks(kcb ? *kcb : CFDictionaryKeyCallBacks{}),
          valueCallbacks(vcb ? *vcb : CFDictionaryValueCallBacks{}), isMutable(isMutable),
          capacity(capacity) {}
    ~__CFDictionary() override {
        for (const Entry& e : entries) {
            releaseKey(e.key);
            releaseValue(e.value);
        }
    }

    const void* retainKey(const void* key) const {
        return keyCallbacks.retain ? keyCallbacks.retain(nullptr, key) : key;
    }
    const void* retainValue(const void* value) const {
        return valueCallbacks.retain ? valueCallbacks.retain(nullptr, value) : value;
    }
    void releaseKey(const void* key) const {
        if (keyCallbacks.release)
            keyCallbacks.release(nullptr, key);
    }
    void releaseValue(const void* value) const {
        if (valueCallbacks.release)
            valueCallbacks.release(nullptr, value);
    }
    CFHashCode hashKey(const void* key) const {
        return keyCallbacks.hash ? keyCallbacks.hash(key) : reinterpret_cast<CFHashCode>(key) >> 3;
    }
    bool sameKey(const void* a, const void* b) const {
        return a == b || (keyCallbacks.equal && keyCallbacks.equal(a, b));
    }
    bool sameValue(const void* a, const void* b) const {
        return a == b || (valueCallbacks.equal && valueCallbacks.equal(a, b));
    }
    CFIndex count() const { return static_cast<CFIndex>(entries.size()); }
    bool canGrow() const { return capacity == 0 || count() < capacity; }

    Entries::iterator find(const void* key) {
        auto range = index.equal_range(hashKey(key));
        for (auto it = range.first; it != range.second; ++it)
            if (sameKey(it->second->key, key))
                return it->second;
        return entries.end();
    }
    Entries::const_iterator find(const void* key) const {
        return const_cast<__CFDictionary*>(this)->find(key);
    }

    /// Stores a new entry for an absent key (the caller checked the capacity).
    void add(const void* key, const void* value) {
        Entry e{retainKey(key), retainValue(value)};
        // Hash the stored key: a copying retain may store an object other than `key`.
        CFHashCode h = hashKey(e.key);
        entries.push_back(e);
        index.emplace(h, std::prev(entries.end()));
    }
    void replace(Entries::iterator it, const void* value) {
        // Retain first, in case the old and the new value are the same object.
        const void* old = it->value;
        it->value = retainValue(value);
        releaseValue(old);
    }
    void remove(Entries::iterator it) {
        auto range = index.equal_range(hashKey(it->key));
        for (auto i = range.first; i != range.second; ++i) {
            if (i->second == it) {
                index.erase(i);
                break;
            }
        }
        Entry old = *it;
        entries.erase(it);
        // Release after the entry is gone, so a callback never sees a stale slot.
        releaseKey(old.key);
        releaseValue(old.value);
    }

    bool equals(const Object& other) const override {
        const __CFDictionary& o = static_cast<const __CFDictionary&>(other);
        if (count() != o.count())
            return false;
        for (const Entry& e : entries) {
            auto it = o.find(e.key);
            if (it == o.entries.end() || !sameValue(e.value, it->value))
                return false;
        }
        return true;
    }
    CFHashCode hash() const override { return entries.size(); }
    std::u16string describe() const override {
        std::u16string text = u"{";
        for (const Entry& e : entries) {
            text += text.size() > 1 ? u"; " : u"";
            text += describeOne(e.key, keyCallbacks.copyDescription) + u" = " +
                    describeOne(e.value, valueCallbacks.copyDescription);
        }
        return text + u"}";
    }
    static std::u16string describeOne(const void* p, CFDictionaryCopyDescriptionCallBack copy) {
        CFStringRef s = copy ? copy(p) : nullptr;
        if (s == nullptr) {
            char pointer[32];
            std::snprintf(pointer, sizeof pointer, "%p", p);
            return pmcf::Widen(pointer);
        }
        std::u16string text(pmcf::Units(s));
        CFRelease(s);
        return text;
    }

    const CFDictionaryKeyCallBacks keyCallbacks;
    const CFDictionaryValueCallBacks valueCallbacks;
    Entries entries;
    std::unordered_multimap<CFHashCode, Entries::iterator> index;
    bool isMutable;         // cleared once an immutable dictionary is built
    const CFIndex capacity; // 0: unlimited
};

namespace {

__CFDictionary* Mutable(CFMutableDictionaryRef dict) {
    __CFDictionary* d = pmcf::CastMutable<__CFDictionary>(dict);
    return d && d->isMutable ? d : nullptr;
}

// Adds an absent key when `mayAdd`, replaces a present one's value when `mayReplace`.
void Store(CFMutableDictionaryRef dict, const void* key, const void* value, bool mayAdd,
           bool mayReplace) {
    __CFDictionary* d = Mutable(dict);
    if (d == nullptr)
        return;
    auto it = d->find(key);
    if (it != d->entries.end()) {
        if (mayReplace)
            d->replace(it, value);
    } else if (mayAdd && d->canGrow()) {
        d->add(key, value);
    }
}

__CFDictionary* CopyOf(const __CFDictionary& from, bool isMutable, CFIndex capacity) {
    __CFDictionary* copy =
        new __CFDictionary(&from.keyCallbacks, &from.valueCallbacks, isMutable, capacity);
    for (const auto& e : from.entries)
        copy->add(e.key, e.value);
    return copy;
}

} // namespace

extern "C" {

CFTypeID CFDictionaryGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFDictionary");
    return id;
}

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef, const void** keys, const void** values,
                                   CFIndex numValues, const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks) {
    if (numValues < 0 || (numValues > 0 && (keys == nullptr || values == nullptr)))
        return nullptr;
    // Built as mutable, then frozen: the creation functions share one path.
    __CFDictionary* d = new __CFDictionary(keyCallBacks, valueCallBacks, true, 0);
    for (CFIndex i = 0; i < numValues; ++i)
        Store(d, keys[i], values[i], true, true);
    d->isMutable = false;
    return d;
}

CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef, CFDictionaryRef theDict) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    return d ? CopyOf(*d, false, 0) : nullptr;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks) {
    return capacity < 0 ? nullptr
                        : new __CFDictionary(keyCallBacks, valueCallBacks, true, capacity);
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef, CFIndex capacity,
                                                     CFDictionaryRef theDict) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    if (d == nullptr || capacity < 0 || (capacity > 0 && d->count() > capacity))
        return nullptr;
    return CopyOf(*d, true, capacity);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef theDict) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    return d ? d->count() : 0;
}

CFIndex CFDictionaryGetCountOfKey(CFDictionaryRef theDict, const void* key) {
    return CFDictionaryContainsKey(theDict, key) ? 1 : 0;
}

CFIndex CFDictionaryGetCountOfValue(CFDictionaryRef theDict, const void* value) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    CFIndex n = 0;
    if (d)
        for (const auto& e : d->entries)
            n += d->sameValue(e.value, value) ? 1 : 0;
    return n;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key) {
    return CFDictionaryGetValueIfPresent(theDict, key, nullptr);
}

Boolean CFDictionaryContainsValue(CFDictionaryRef theDict, const void* value) {
    return CFDictionaryGetCountOfValue(theDict, value) > 0;
}

const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key) {
    const void* value = nullptr;
    return CFDictionaryGetValueIfPresent(theDict, key, &value) ? value : nullptr;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key,
                                      const void** value) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    if (d == nullptr)
        return false;
    auto it = d->find(key);
    if (it == d->entries.end())
        return false;
    if (value)
        *value = it->value;
    return true;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void** keys, const void** values) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    if (d == nullptr)
        return;
    size_t i = 0;
    for (const auto& e : d->entries) {
        if (keys)
            keys[i] = e.key;
        if (values)
            values[i] = e.value;
        ++i;
    }
}

void CFDictionaryApplyFunction(CFDictionaryRef theDict, CFDictionaryApplierFunction applier,
                               void* context) {
    const __CFDictionary* d = Cast<__CFDictionary>(theDict);
    if (d == nullptr || applier == nullptr)
        return;
    // A snapshot keeps the walk safe from an applier that edits the dictionary after all.
    std::vector<__CFDictionary::Entry> snapshot(d->entries.begin(), d->entries.end());
    for (const auto& e : snapshot)
        applier(e.key, e.value, context);
}

void CFDictionaryAddValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    Store(theDict, key, value, true, false);
}

void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    Store(theDict, key, value, true, true);
}

void CFDictionaryReplaceValue(CFMutableDictionaryRef theDict, const void* key, const void* value) {
    Store(theDict, key, value, false, true);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef theDict, const void* key) {
    __CFDictionary* d = Mutable(theDict);
    if (d == nullptr)
        return;
    auto it = d->find(key);
    if (it != d->entries.end())
        d->remove(it);
}

void CFDictionaryRemoveAllValues(CFMutableDictionaryRef theDict) {
    __CFDictionary* d = Mutable(theDict);
    if (d == nullptr)
        return;
    __CFDictionary::Entries old;
    old.swap(d->entries);
    d->index.clear();
    for (const auto& e : old) {
        d->releaseKey(e.key);
        d->releaseValue(e.value);
    }
}

} // extern "C"
