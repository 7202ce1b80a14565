// Arrays and their callbacks.
#include "CFTestSupport.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace {

// Callbacks that count what the array does with plain integers as values.
int gRetains = 0, gReleases = 0;
const void* CountRetain(CFAllocatorRef, const void* v) {
    ++gRetains;
    return v;
}
void CountRelease(CFAllocatorRef, const void*) {
    ++gReleases;
}
const CFArrayCallBacks kCounting = {0, CountRetain, CountRelease, nullptr, nullptr};

std::vector<intptr_t> Values(CFArrayRef a) {
    std::vector<intptr_t> out;
    for (CFIndex i = 0; i < CFArrayGetCount(a); ++i)
        out.push_back(N(CFArrayGetValueAtIndex(a, i)));
    return out;
}

class CFArrayCounting : public testing::Test {
protected:
    void SetUp() override { gRetains = gReleases = 0; }
};

TEST_F(CFArrayCounting, EveryInsertRetainsEveryRemovalReleases) {
    const void* initial[] = {V(1), V(2)};
    CFArrayRef fixed = CFArrayCreate(nullptr, initial, 2, &kCounting);
    EXPECT_EQ(gRetains, 2);
    CFMutableArrayRef m = CFArrayCreateMutableCopy(nullptr, 0, fixed);
    EXPECT_EQ(gRetains, 4);
    CFArrayAppendValue(m, V(3));
    CFArrayInsertValueAtIndex(m, 0, V(0));
    EXPECT_EQ(gRetains, 6);
    CFArraySetValueAtIndex(m, 1, V(10));
    EXPECT_EQ(gRetains, 7);
    EXPECT_EQ(gReleases, 1);
    CFArrayRemoveValueAtIndex(m, 0);
    EXPECT_EQ(gReleases, 2);
    EXPECT_EQ(Values(m), (std::vector<intptr_t>{10, 2, 3}));
    CFArrayRemoveAllValues(m);
    EXPECT_EQ(gReleases, 5);
    CFRelease(m);
    CFRelease(fixed);
    EXPECT_EQ(gReleases, 7);
    EXPECT_EQ(gRetains, gReleases);
}

TEST(CFArray, NullCallbacksNeitherRetainNorCompareByValue) {
    CFOwned<CFMutableArrayRef> m(CFArrayCreateMutable(nullptr, 0, nullptr));
    CFOwned<CFStringRef> made(Str("x"));
    CFArrayAppendValue(m, made);
    EXPECT_EQ(CFGetRetainCount(made), 1);
    EXPECT_TRUE(CFArrayContainsValue(m, CFRangeMake(0, 1), made));
    EXPECT_FALSE(CFArrayContainsValue(m, CFRangeMake(0, 1), CFSTR("x")));
    CFArrayAppendValue(m, V(7)); // not an object: never touched
    EXPECT_EQ(N(CFArrayGetValueAtIndex(m, 1)), 7);
}

TEST(CFArray, TypeCallbacksRetainAndCompareObjects) {
    CFOwned<CFStringRef> made(Str("x"));
    CFOwned<CFMutableArrayRef> m(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFArrayAppendValue(m, made);
    CFArrayAppendValue(m, made);
    EXPECT_EQ(CFGetRetainCount(made), 3);
    CFRange all = CFRangeMake(0, 2);
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(m, all, CFSTR("x")), 0);
    EXPECT_EQ(CFArrayGetCountOfValue(m, all, CFSTR("x")), 2);
    EXPECT_EQ(CFArrayGetFirstIndexOfValue(m, all, CFSTR("y")), kCFNotFound);
    EXPECT_EQ(CFArrayGetCountOfValue(m, CFRangeMake(1, 1), CFSTR("x")), 1);
    EXPECT_EQ(CFArrayGetCountOfValue(m, CFRangeMake(1, 2), CFSTR("x")), 0); // invalid range
    CFArrayRemoveAllValues(m);
    EXPECT_EQ(CFGetRetainCount(made), 1);
}

TEST(CFArray, OutOfRangeAccessIsHarmless) {
    const void* values[] = {V(1), V(2)};
    CFOwned<CFArrayRef> a(CFArrayCreate(nullptr, values, 2, nullptr));
    EXPECT_EQ(CFArrayGetValueAtIndex(a, 2), nullptr);
    EXPECT_EQ(CFArrayGetValueAtIndex(a, -1), nullptr);
    const void* out[2] = {V(9), V(9)};
    CFArrayGetValues(a, CFRangeMake(1, 2), out);
    EXPECT_EQ(N(out[0]), 9);
    CFArrayGetValues(a, CFRangeMake(0, 2), out);
    EXPECT_EQ(N(out[1]), 2);
    CFArrayAppendValue(const_cast<CFMutableArrayRef>(a.get()), V(3)); // immutable
    EXPECT_EQ(CFArrayGetCount(a), 2);
    EXPECT_EQ(CFArrayGetCount(nullptr), 0);
}

TEST(CFArray, MutableEditsRespectIndexesAndCapacity) {
    CFOwned<CFMutableArrayRef> m(CFArrayCreateMutable(nullptr, 3, nullptr));
    CFArrayAppendValue(m, V(1));
    CFArrayInsertValueAtIndex(m, 5, V(2)); // past the end
    CFArraySetValueAtIndex(m, 1, V(3));    // index == count appends
    CFArrayAppendArray(m, m, CFRangeMake(0, 2));
    EXPECT_EQ(Values(m), (std::vector<intptr_t>{1, 3})); // 4 would exceed the capacity
    CFArrayAppendArray(m, m, CFRangeMake(1, 1));
    CFArrayExchangeValuesAtIndices(m, 0, 2);
    CFArrayExchangeValuesAtIndices(m, 0, 3);
    EXPECT_EQ(Values(m), (std::vector<intptr_t>{3, 3, 1}));
    CFArrayRemoveValueAtIndex(m, 3);
    EXPECT_EQ(CFArrayGetCount(m), 3);
}

CFComparisonResult ByValue(const void* a, const void* b, void*) {
    return N(a) < N(b)   ? kCFCompareLessThan
           : N(a) > N(b) ? kCFCompareGreaterThan
                         : kCFCompareEqualTo;
}
CFComparisonResult ByTens(const void* a, const void* b, void*) {
    return ByValue(V(N(a) / 10), V(N(b) / 10), nullptr);
}
CFComparisonResult Liar(const void*, const void*, void* calls) {
    return ++*static_cast<int*>(calls) % 2 ? kCFCompareLessThan : kCFCompareGreaterThan;
}

TEST(CFArray, SortIsStableAndLimitedToItsRange) {
    const void* values[] = {V(99), V(31), V(12), V(35), V(11), V(0)};
    CFOwned<CFMutableArrayRef> m(CFArrayCreateMutable(nullptr, 0, nullptr));
    for (const void* v : values)
        CFArrayAppendValue(m, v);
    CFArraySortValues(m, CFRangeMake(1, 4), ByTens, nullptr);
    EXPECT_EQ(Values(m), (std::vector<intptr_t>{99, 12, 11, 31, 35, 0}));
    int calls = 0;
    CFArraySortValues(m, CFRangeMake(0, 6), Liar, &calls); // inconsistent: must stay in bounds
    EXPECT_EQ(CFArrayGetCount(m), 6);
    CFArraySortValues(m, CFRangeMake(0, 6), ByValue, nullptr);
    EXPECT_EQ(Values(m), (std::vector<intptr_t>{0, 11, 12, 31, 35, 99}));
}

void Sum(const void* value, void* total) {
    *static_cast<intptr_t*>(total) += N(value);
}

TEST(CFArray, ApplyVisitsTheRangeInOrder) {
    const void* values[] = {V(1), V(10), V(100)};
    CFOwned<CFArrayRef> a(CFArrayCreate(nullptr, values, 3, nullptr));
    intptr_t total = 0;
    CFArrayApplyFunction(a, CFRangeMake(1, 2), Sum, &total);
    EXPECT_EQ(total, 110);
    CFArrayApplyFunction(a, CFRangeMake(2, 2), Sum, &total);
    EXPECT_EQ(total, 110);
}

TEST(CFArray, EqualityUsesTheCallbacks) {
    const void* first[] = {CFSTR("a")};
    CFOwned<CFStringRef> made(Str("a"));
    const void* second[] = {made.get()};
    CFOwned<CFArrayRef> a(CFArrayCreate(nullptr, first, 1, &kCFTypeArrayCallBacks));
    CFOwned<CFArrayRef> b(CFArrayCreate(nullptr, second, 1, &kCFTypeArrayCallBacks));
    CFOwned<CFArrayRef> raw(CFArrayCreate(nullptr, second, 1, nullptr));
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_FALSE(CFEqual(raw, a));
}

} // namespace
