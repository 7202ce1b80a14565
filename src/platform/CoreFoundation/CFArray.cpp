//===- CFArray.cpp - Ordered collections of values ------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFStringInternal.h>

#include <algorithm>
#include <cstdio>
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

} // namespace

extern "C" const CFArrayCallBacks kCFTypeArrayCallBacks = {0, RetainType, ReleaseType,
                                                           CFCopyDescription, CFEqual};

/// An array: owns its value slots; what owning a value means is up to the callbacks.
struct __CFArray final : pmcf::Object {
    static CFTypeID TypeID() { return CFArrayGetTypeID(); }
    __CFArray(const CFArrayCallBacks* cb, bool isMutable, CFIndex capacity)
        : Object(TypeID()),
          callbacks(cb ? *cb : CFArrayCallBacks{0, nullptr, nullptr, nullptr, nullptr}),
          isMutable(isMutable), capacity(capacity) {}
    ~__CFArray() override {
        for (const void* value : values)
            release(value);
    }

    const void* retain(const void* value) const {
        return callbacks.retain ? callbacks.retain(nullptr, value) : value;
    }
    void release(const void* value) const {
        if (callbacks.release)
            callbacks.release(nullptr, value);
    }
    bool same(const void* a, const void* b) const {
        return a == b || (callbacks.equal && callbacks.equal(a, b));
    }
    bool canHold(size_t count) const {
        return capacity == 0 || count <= static_cast<size_t>(capacity);
    }
    CFIndex count() const { return static_cast<CFIndex>(values.size()); }

    bool equals(const Object& other) const override {
        const __CFArray& o = static_cast<const __CFArray&>(other);
        if (values.size() != o.values.size())
            return false;
        for (size_t i = 0; i < values.size(); ++i)
            if (!same(values[i], o.values[i]))
                return false;
        return true;
    }
    CFHashCode hash() const override { return values.size(); }
    std::u16string describe() const override {
        std::u16string text = u"(";
        for (size_t i = 0; i < values.size(); ++i) {
            text += i ? u", " : u"";
            CFStringRef item =
                callbacks.copyDescription ? callbacks.copyDescription(values[i]) : nullptr;
            if (item) {
                text += pmcf::Units(item);
                CFRelease(item);
            } else {
                char pointer[32];
                std::snprintf(pointer, sizeof pointer, "%p", values[i]);
                text += pmcf::Widen(pointer);
            }
        }
        return text + u")";
    }

    const CFArrayCallBacks callbacks;
    std::vector<const void*> values;
    const bool isMutable;
    const CFIndex capacity; // 0: unlimited
};

namespace {

__CFArray* Mutable(CFMutableArrayRef array) {
    __CFArray* a = pmcf::CastMutable<__CFArray>(array);
    return a && a->isMutable ? a : nullptr;
}

const __CFArray* InRange(CFArrayRef array, CFRange range) {
    const __CFArray* a = Cast<__CFArray>(array);
    return a && pmcf::RangeIsValid(range, a->count()) ? a : nullptr;
}

// Stable merge sort that only ever indexes inside its buffers, whatever the comparator says.
void MergeSort(std::vector<const void*>& v, size_t begin, size_t end, CFComparatorFunction compare,
               void* context, std::vector<const void*>& scratch) {
    if (end - begin < 2)
        return;
    size_t mid = begin + (end - begin) / 2;
    MergeSort(v, begin, mid, compare, context, scratch);
    MergeSort(v, mid, end, compare, context, scratch);
    size_t i = begin, j = mid, k = begin;
    while (i < mid && j < end)
        scratch[k++] = compare(v[j], v[i], context) == kCFCompareLessThan ? v[j++] : v[i++];
    while (i < mid)
        scratch[k++] = v[i++];
    while (j < end)
        scratch[k++] = v[j++];
    for (k = begin; k < end; ++k)
        v[k] = scratch[k];
}

} // namespace

extern "C" {

CFTypeID CFArrayGetTypeID(void) {
    static const CFTypeID id = pmcf::RegisterType("CFArray");
    return id;
}

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks) {
    if (numValues < 0 || (values == nullptr && numValues > 0))
        return nullptr;
    __CFArray* array = new __CFArray(callBacks, false, 0);
    array->values.reserve(static_cast<size_t>(numValues));
    for (CFIndex i = 0; i < numValues; ++i)
        array->values.push_back(array->retain(values[i]));
    return array;
}

CFArrayRef CFArrayCreateCopy(CFAllocatorRef allocator, CFArrayRef theArray) {
    const __CFArray* a = Cast<__CFArray>(theArray);
    if (a == nullptr)
        return nullptr;
    std::vector<const void*> values = a->values;
    return CFArrayCreate(allocator, values.data(), a->count(), &a->callbacks);
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks) {
    return capacity < 0 ? nullptr : new __CFArray(callBacks, true, capacity);
}

CFMutableArrayRef CFArrayCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                           CFArrayRef theArray) {
    const __CFArray* a = Cast<__CFArray>(theArray);
    if (a == nullptr || capacity < 0 || (capacity > 0 && a->count() > capacity))
        return nullptr;
    CFMutableArrayRef copy = CFArrayCreateMutable(allocator, capacity, &a->callbacks);
    CFArrayAppendArray(copy, theArray, CFRangeMake(0, a->count()));
    return copy;
}

CFIndex CFArrayGetCount(CFArrayRef theArray) {
    const __CFArray* a = Cast<__CFArray>(theArray);
    return a ? a->count() : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef theArray, CFIndex idx) {
    const __CFArray* a = Cast<__CFArray>(theArray);
    return a && idx >= 0 && idx < a->count() ? a->values[idx] : nullptr;
}

void CFArrayGetValues(CFArrayRef theArray, CFRange range, const void** values) {
    const __CFArray* a = InRange(theArray, range);
    if (a && values)
        for (CFIndex i = 0; i < range.length; ++i)
            values[i] = a->values[range.location + i];
}

CFIndex CFArrayGetFirstIndexOfValue(CFArrayRef theArray, CFRange range, const void* value) {
    const __CFArray* a = InRange(theArray, range);
    for (CFIndex i = range.location; a && i < range.location + range.length && i < a->count(); ++i)
        if (a->same(a->values[i], value))
            return i;
    return kCFNotFound;
}

Boolean CFArrayContainsValue(CFArrayRef theArray, CFRange range, const void* value) {
    return CFArrayGetFirstIndexOfValue(theArray, range, value) != kCFNotFound;
}

CFIndex CFArrayGetCountOfValue(CFArrayRef theArray, CFRange range, const void* value) {
    const __CFArray* a = InRange(theArray, range);
    CFIndex count = 0;
    for (CFIndex i = range.location; a && i < range.location + range.length && i < a->count(); ++i)
        count += a->same(a->values[i], value) ? 1 : 0;
    return count;
}

void CFArrayApplyFunction(CFArrayRef theArray, CFRange range, CFArrayApplierFunction applier,
                          void* context) {
    const __CFArray* a = InRange(theArray, range);
    // Re-checking the bound each time keeps a misbehaving applier from walking off the end.
    for (CFIndex i = range.location; a && applier && i < range.location + range.length; ++i)
        if (i < a->count())
            applier(a->values[i], context);
}

void CFArrayInsertValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value) {
    __CFArray* a = Mutable(theArray);
    if (a && idx >= 0 && idx <= a->count() && a->canHold(a->values.size() + 1))
        a->values.insert(a->values.begin() + idx, a->retain(value));
}

void CFArrayAppendValue(CFMutableArrayRef theArray, const void* value) {
    CFArrayInsertValueAtIndex(theArray, CFArrayGetCount(theArray), value);
}

void CFArraySetValueAtIndex(CFMutableArrayRef theArray, CFIndex idx, const void* value) {
    __CFArray* a = Mutable(theArray);
    if (a == nullptr || idx < 0 || idx > a->count())
        return;
    if (idx == a->count()) {
        CFArrayInsertValueAtIndex(theArray, idx, value);
        return;
    }
    // Retain before releasing, in case the old and the new value are the same object.
    const void* old = a->values[idx];
    a->values[idx] = a->retain(value);
    a->release(old);
}

void CFArrayRemoveValueAtIndex(CFMutableArrayRef theArray, CFIndex idx) {
    __CFArray* a = Mutable(theArray);
    if (a == nullptr || idx < 0 || idx >= a->count())
        return;
    const void* old = a->values[idx];
    a->values.erase(a->values.begin() + idx);
    a->release(old);
}

void CFArrayRemoveAllValues(CFMutableArrayRef theArray) {
    __CFArray* a = Mutable(theArray);
    if (a == nullptr)
        return;
    // Empty the array before releasing, so a release callback never sees stale slots.
    std::vector<const void*> old;
    old.swap(a->values);
    for (const void* value : old)
        a->release(value);
}

void CFArrayAppendArray(CFMutableArrayRef theArray, CFArrayRef otherArray, CFRange otherRange) {
    __CFArray* a = Mutable(theArray);
    const __CFArray* other = InRange(otherArray, otherRange);
    if (a == nullptr || other == nullptr ||
        !a->canHold(a->values.size() + static_cast<size_t>(otherRange.length)))
        return;
    // Copy first: otherArray may be theArray.
    std::vector<const void*> more(other->values.begin() + otherRange.location,
                                  other->values.begin() + otherRange.location + otherRange.length);
    for (const void* value : more)
        a->values.push_back(a->retain(value));
}

void CFArraySortValues(CFMutableArrayRef theArray, CFRange range, CFComparatorFunction comparator,
                       void* context) {
    __CFArray* a = Mutable(theArray);
    if (a == nullptr || comparator == nullptr || !pmcf::RangeIsValid(range, a->count()))
        return;
    std::vector<const void*> slice(a->values.begin() + range.location,
                                   a->values.begin() + range.location + range.length);
    std::vector<const void*> scratch(slice.size());
    MergeSort(slice, 0, slice.size(), comparator, context, scratch);
    if (pmcf::RangeIsValid(range, a->count())) // unless the comparator edited the array
        std::copy(slice.begin(), slice.end(), a->values.begin() + range.location);
}

void CFArrayExchangeValuesAtIndices(CFMutableArrayRef theArray, CFIndex idx1, CFIndex idx2) {
    __CFArray* a = Mutable(theArray);
    if (a && idx1 >= 0 && idx2 >= 0 && idx1 < a->count() && idx2 < a->count())
        std::swap(a->values[idx1], a->values[idx2]);
}

} // extern "C"
