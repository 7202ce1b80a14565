// Dictionaries, their callbacks and booleans.
#include "CFTestSupport.h"

#include <climits>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

int gKeyRetains = 0, gKeyReleases = 0, gValueRetains = 0, gValueReleases = 0;
const void* KeyRetain(CFAllocatorRef, const void* v) {
    ++gKeyRetains;
    return v;
}
void KeyRelease(CFAllocatorRef, const void*) {
    ++gKeyReleases;
}
const void* ValueRetain(CFAllocatorRef, const void* v) {
    ++gValueRetains;
    return v;
}
void ValueRelease(CFAllocatorRef, const void*) {
    ++gValueReleases;
}
// Keys 1..n all hash alike, so look-ups must fall back on the equal callback.
CFHashCode SameHash(const void*) {
    return 7;
}
Boolean SameNumber(const void* a, const void* b) {
    return a == b;
}
const CFDictionaryKeyCallBacks kCountingKeys = {0,       KeyRetain,  KeyRelease,
                                                nullptr, SameNumber, SameHash};
const CFDictionaryValueCallBacks kCountingValues = {0, ValueRetain, ValueRelease, nullptr, nullptr};

std::vector<std::pair<intptr_t, intptr_t>> Entries(CFDictionaryRef d) {
    std::vector<const void*> keys(CFDictionaryGetCount(d)), values(keys.size());
    CFDictionaryGetKeysAndValues(d, keys.data(), values.data());
    std::vector<std::pair<intptr_t, intptr_t>> out;
    for (size_t i = 0; i < keys.size(); ++i)
        out.emplace_back(N(keys[i]), N(values[i]));
    return out;
}

class CFDictionaryCounting : public testing::Test {
protected:
    void SetUp() override { gKeyRetains = gKeyReleases = gValueRetains = gValueReleases = 0; }
};

TEST_F(CFDictionaryCounting, CallbacksBalanceAcrossEveryEdit) {
    CFMutableDictionaryRef d =
        CFDictionaryCreateMutable(nullptr, 0, &kCountingKeys, &kCountingValues);
    CFDictionaryAddValue(d, V(1), V(10));
    CFDictionaryAddValue(d, V(1), V(11)); // present: ignored
    CFDictionarySetValue(d, V(2), V(20));
    CFDictionarySetValue(d, V(1), V(12));     // replaces: the key is kept, the value swapped
    CFDictionaryReplaceValue(d, V(3), V(30)); // absent: ignored
    EXPECT_EQ(gKeyRetains, 2);
    EXPECT_EQ(gValueRetains, 3);
    EXPECT_EQ(gValueReleases, 1);
    EXPECT_EQ(Entries(d), (std::vector<std::pair<intptr_t, intptr_t>>{{1, 12}, {2, 20}}));
    CFDictionaryRemoveValue(d, V(1));
    EXPECT_EQ(gKeyReleases, 1);
    EXPECT_EQ(gValueReleases, 2);
    CFRelease(d);
    EXPECT_EQ(gKeyRetains, gKeyReleases);
    EXPECT_EQ(gValueRetains, gValueReleases);
}

TEST(CFDictionary, KeepsInsertionOrderThroughReplaceAndRemove) {
    CFOwned<CFMutableDictionaryRef> d(CFDictionaryCreateMutable(nullptr, 0, nullptr, nullptr));
    for (intptr_t k : {5, 3, 9, 1})
        CFDictionarySetValue(d, V(k), V(k * 10));
    CFDictionarySetValue(d, V(3), V(33));
    CFDictionaryRemoveValue(d, V(9));
    CFDictionarySetValue(d, V(9), V(99));
    EXPECT_EQ(Entries(d),
              (std::vector<std::pair<intptr_t, intptr_t>>{{5, 50}, {3, 33}, {1, 10}, {9, 99}}));
    std::vector<intptr_t> applied;
    CFDictionaryApplyFunction(
        d,
        [](const void* k, const void*, void* ctx) {
            static_cast<std::vector<intptr_t>*>(ctx)->push_back(N(k));
        },
        &applied);
    EXPECT_EQ(applied, (std::vector<intptr_t>{5, 3, 1, 9}));
    CFOwned<CFDictionaryRef> copy(CFDictionaryCreateCopy(nullptr, d));
    EXPECT_EQ(Entries(copy), Entries(d));
}

TEST(CFDictionary, CollidingHashesStillFindEachKey) {
    CFOwned<CFMutableDictionaryRef> d(
        CFDictionaryCreateMutable(nullptr, 0, &kCountingKeys, nullptr));
    for (intptr_t k = 1; k <= 50; ++k)
        CFDictionarySetValue(d, V(k), V(k + 100));
    CFDictionaryRemoveValue(d, V(25));
    EXPECT_EQ(CFDictionaryGetCount(d), 49);
    EXPECT_EQ(N(CFDictionaryGetValue(d, V(26))), 126);
    EXPECT_FALSE(CFDictionaryContainsKey(d, V(25)));
    EXPECT_EQ(CFDictionaryGetCountOfKey(d, V(50)), 1);
}

TEST(CFDictionary, TypeCallbacksCompareStringsByValue) {
    CFOwned<CFStringRef> key(Str("colour"));
    CFOwned<CFStringRef> value(Str("cmyk"));
    CFOwned<CFMutableDictionaryRef> d(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(d, key, value);
    EXPECT_EQ(CFGetRetainCount(key), 2);
    EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("colour")), value.get());
    const void* found = nullptr;
    EXPECT_TRUE(CFDictionaryGetValueIfPresent(d, CFSTR("colour"), &found));
    EXPECT_EQ(found, value.get());
    EXPECT_FALSE(CFDictionaryGetValueIfPresent(d, CFSTR("Colour"), &found));
    EXPECT_TRUE(CFDictionaryContainsValue(d, CFSTR("cmyk")));
    EXPECT_EQ(CFDictionaryGetCountOfValue(d, CFSTR("cmyk")), 1);
}

TEST(CFDictionary, CopyStringKeysAreImmuneToLaterEdits) {
    CFOwned<CFMutableStringRef> key(CFStringCreateMutable(nullptr, 0));
    CFStringAppendCString(key, "mode", kCFStringEncodingUTF8);
    CFOwned<CFMutableDictionaryRef> d(CFDictionaryCreateMutable(
        nullptr, 0, &kCFCopyStringDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(d, key, kCFBooleanTrue);
    CFStringAppendCString(key, "!", kCFStringEncodingUTF8);
    EXPECT_EQ(CFGetRetainCount(key), 1);
    EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("mode")), kCFBooleanTrue);
    EXPECT_EQ(CFDictionaryGetValue(d, key), nullptr);
}

TEST(CFDictionary, ImmutableAndFullDictionariesRefuseEdits) {
    const void* keys[] = {CFSTR("a"), CFSTR("a")};
    const void* values[] = {CFSTR("1"), CFSTR("2")};
    CFOwned<CFDictionaryRef> fixed(CFDictionaryCreate(nullptr, keys, values, 2,
                                                      &kCFTypeDictionaryKeyCallBacks,
                                                      &kCFTypeDictionaryValueCallBacks));
    EXPECT_EQ(CFDictionaryGetCount(fixed), 1); // of repeated keys the last wins
    EXPECT_EQ(CFDictionaryGetValue(fixed, CFSTR("a")), CFSTR("2"));
    auto asMutable = const_cast<CFMutableDictionaryRef>(fixed.get());
    CFDictionarySetValue(asMutable, CFSTR("b"), CFSTR("3"));
    CFDictionaryRemoveAllValues(asMutable);
    EXPECT_EQ(CFDictionaryGetCount(fixed), 1);

    CFOwned<CFMutableDictionaryRef> small(CFDictionaryCreateMutable(nullptr, 1, nullptr, nullptr));
    CFDictionarySetValue(small, V(1), V(1));
    CFDictionarySetValue(small, V(2), V(2));
    CFDictionarySetValue(small, V(1), V(3)); // replacing needs no room
    EXPECT_EQ(Entries(small), (std::vector<std::pair<intptr_t, intptr_t>>{{1, 3}}));
    EXPECT_EQ(CFDictionaryCreateMutableCopy(nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(CFDictionaryGetValue(nullptr, V(1)), nullptr);
}

TEST(CFDictionary, EqualityIgnoresOrder) {
    CFOwned<CFMutableDictionaryRef> a(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFOwned<CFMutableDictionaryRef> b(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(a, CFSTR("x"), CFSTR("1"));
    CFDictionarySetValue(a, CFSTR("y"), CFSTR("2"));
    CFDictionarySetValue(b, CFSTR("y"), CFSTR("2"));
    CFDictionarySetValue(b, CFSTR("x"), CFSTR("1"));
    EXPECT_TRUE(CFEqual(a, b));
    CFDictionarySetValue(b, CFSTR("x"), CFSTR("9"));
    EXPECT_FALSE(CFEqual(a, b));
}

TEST(CFBoolean, TwoImmortalObjects) {
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_FALSE(CFBooleanGetValue(nullptr));
    EXPECT_FALSE(CFBooleanGetValue(reinterpret_cast<CFBooleanRef>(CFSTR("true"))));
    EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
    CFRelease(kCFBooleanTrue);
    EXPECT_EQ(CFGetRetainCount(kCFBooleanTrue), LONG_MAX);
}

} // namespace
