//===- CFDictionary.h - Key-value collections -------------------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFDICTIONARY_H
#define PIGMENTOR_CF_CFDICTIONARY_H

#include <CoreFoundation/CFBase.h>

CF_EXTERN_C_BEGIN

/// A CFDictionary maps pointer-sized keys to pointer-sized values, at most one value per key.
/// Its key and value callbacks (copied at creation) say how entries are kept: `retain` is
/// called on every key and value put in (its result is what is stored), `release` on every
/// one taken out or left at destruction, `equal` and `hash` (keys only) by look-ups. NULL
/// callbacks, or NULL members, mean: not retained, compared and hashed by pointer.
/// kCFTypeDictionaryKeyCallBacks and kCFTypeDictionaryValueCallBacks keep CF objects with
/// CFRetain/CFRelease/CFEqual/CFHash; kCFCopyStringDictionaryKeyCallBacks stores an
/// immutable copy of each key (so a mutable string used as a key may change afterwards).
///
/// Entries keep the order in which their keys were first added: GetKeysAndValues,
/// ApplyFunction, the description and every copy list them in that order (replacing a value
/// keeps its place), so output built from a dictionary is deterministic. Look-ups hash, so a
/// dictionary of n entries is built in O(n). A mutable dictionary may be edited only through
/// the functions taking a CFMutableDictionaryRef, which do nothing for an immutable one or
/// past its capacity. Two dictionaries are CFEqual when they hold equal values under equal
/// keys, in any order. Functions return 0/NULL/false for NULL dictionaries.
typedef const struct __CFDictionary* CFDictionaryRef;
typedef struct __CFDictionary* CFMutableDictionaryRef;

typedef const void* (*CFDictionaryRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFDictionaryReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFDictionaryCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFDictionaryEqualCallBack)(const void* value1, const void* value2);
typedef CFHashCode (*CFDictionaryHashCallBack)(const void* value);

typedef struct {
    CFIndex version; // 0
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
    CFDictionaryHashCallBack hash;
} CFDictionaryKeyCallBacks;

typedef struct {
    CFIndex version; // 0
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
} CFDictionaryValueCallBacks;

/// Keys that are CF objects.
CF_EXPORT const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
/// Keys that are strings, each stored as an immutable copy.
CF_EXPORT const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks;
/// Values that are CF objects.
CF_EXPORT const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

/// Called once per entry by CFDictionaryApplyFunction.
typedef void (*CFDictionaryApplierFunction)(const void* key, const void* value, void* context);

/// Type id of every dictionary, mutable or not.
CF_EXPORT CFTypeID CFDictionaryGetTypeID(void);
/// An immutable dictionary of `numValues` pairs; of repeated keys the last value wins.
CF_EXPORT CFDictionaryRef CFDictionaryCreate(CFAllocatorRef allocator, const void** keys,
                                             const void** values, CFIndex numValues,
                                             const CFDictionaryKeyCallBacks* keyCallBacks,
                                             const CFDictionaryValueCallBacks* valueCallBacks);
/// An immutable copy with the same callbacks and order.
CF_EXPORT CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef allocator, CFDictionaryRef theDict);
/// An empty mutable dictionary holding at most `capacity` entries (0: no limit).
CF_EXPORT CFMutableDictionaryRef CFDictionaryCreateMutable(
    CFAllocatorRef allocator, CFIndex capacity, const CFDictionaryKeyCallBacks* keyCallBacks,
    const CFDictionaryValueCallBacks* valueCallBacks);
/// A mutable copy (NULL when it has more entries than a non-zero `capacity`).
CF_EXPORT CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef allocator,
                                                               CFIndex capacity,
                                                               CFDictionaryRef theDict);

/// Number of entries.
CF_EXPORT CFIndex CFDictionaryGetCount(CFDictionaryRef theDict);
/// 1 when `key` is present, else 0.
CF_EXPORT CFIndex CFDictionaryGetCountOfKey(CFDictionaryRef theDict, const void* key);
/// Number of entries whose value equals `value`.
CF_EXPORT CFIndex CFDictionaryGetCountOfValue(CFDictionaryRef theDict, const void* value);
/// True when `key` is present.
CF_EXPORT Boolean CFDictionaryContainsKey(CFDictionaryRef theDict, const void* key);
/// True when some entry's value equals `value`.
CF_EXPORT Boolean CFDictionaryContainsValue(CFDictionaryRef theDict, const void* value);
/// The value for `key`, not retained; NULL when absent.
CF_EXPORT const void* CFDictionaryGetValue(CFDictionaryRef theDict, const void* key);
/// True when `key` is present; its value (not retained) goes to `*value` when given.
CF_EXPORT Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef theDict, const void* key,
                                                const void** value);
/// Copies the keys and values, in entry order, to whichever of the two arrays is given.
CF_EXPORT void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void** keys,
                                            const void** values);
/// Calls `applier` on every entry in order. The applier must not edit the dictionary.
CF_EXPORT void CFDictionaryApplyFunction(CFDictionaryRef theDict,
                                         CFDictionaryApplierFunction applier, void* context);

/// Adds the pair when `key` is absent; does nothing when present.
CF_EXPORT void CFDictionaryAddValue(CFMutableDictionaryRef theDict, const void* key,
                                    const void* value);
/// Adds the pair, or replaces the value of a present `key` (keeping the stored key and place).
CF_EXPORT void CFDictionarySetValue(CFMutableDictionaryRef theDict, const void* key,
                                    const void* value);
/// Replaces the value of a present `key`; does nothing when absent.
CF_EXPORT void CFDictionaryReplaceValue(CFMutableDictionaryRef theDict, const void* key,
                                        const void* value);
/// Removes the entry of `key`, if any.
CF_EXPORT void CFDictionaryRemoveValue(CFMutableDictionaryRef theDict, const void* key);
/// Removes every entry.
CF_EXPORT void CFDictionaryRemoveAllValues(CFMutableDictionaryRef theDict);

CF_EXTERN_C_END

#endif
