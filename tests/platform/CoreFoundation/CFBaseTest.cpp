// Reference counting, constants and CFType calls.
#include "CFTestSupport.h"

#include <climits>
#include <utility>
#include <gtest/gtest.h>

extern "C" int PMCFCallFromC(void);

namespace {

TEST(CFBase, NullIsANoOpEverywhere) {
    EXPECT_EQ(CFRetain(nullptr), nullptr);
    CFRelease(nullptr);
    EXPECT_EQ(CFGetRetainCount(nullptr), 0);
    EXPECT_EQ(CFGetTypeID(nullptr), 0u);
    EXPECT_EQ(CFHash(nullptr), 0u);
    EXPECT_EQ(CFCopyDescription(nullptr), nullptr);
    EXPECT_TRUE(CFEqual(nullptr, nullptr));
    EXPECT_FALSE(CFEqual(CFSTR("a"), nullptr));
    CFShow(nullptr);
}

TEST(CFBase, ConstantStringsAreInternedAndImmortal) {
    CFStringRef a = CFSTR("interned");
    EXPECT_EQ(a, CFSTR("interned"));
    EXPECT_NE(a, CFSTR("other"));
    EXPECT_EQ(CFGetRetainCount(a), LONG_MAX);
    CFRelease(a);
    CFRelease(a);
    EXPECT_EQ(PMCFStringCopyUTF8(a), "interned");
}

TEST(CFBase, ConstantStringsReadUTF8ElseMacRoman) {
    EXPECT_EQ(UnitsOf(CFSTR("Gr\xC3\xBC\xC3\x9F"
                            "e")),
              u"Grüße");
    EXPECT_EQ(UnitsOf(CFSTR("\x8A")), u"ä"); // not UTF-8: Mac Roman
}

TEST(CFBase, EqualityAndHashFollowContents) {
    CFOwned<CFStringRef> made(Str("same"));
    CFOwned<CFMutableStringRef> mutableCopy(CFStringCreateMutableCopy(nullptr, 0, made));
    EXPECT_NE(static_cast<CFTypeRef>(made), static_cast<CFTypeRef>(mutableCopy));
    EXPECT_TRUE(CFEqual(made, CFSTR("same")));
    EXPECT_TRUE(CFEqual(made, mutableCopy));
    EXPECT_EQ(CFHash(made), CFHash(mutableCopy));
    EXPECT_FALSE(CFEqual(made, CFSTR("Same")));
    CFOwned<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>("same"), 4));
    EXPECT_FALSE(CFEqual(made, data)); // different types never compare equal
}

TEST(CFBase, TypeIdsAreDistinctAndNamed) {
    CFTypeID ids[] = {CFStringGetTypeID(), CFDataGetTypeID(), CFArrayGetTypeID(),
                      CFNumberGetTypeID(), CFURLGetTypeID(),  CFAllocatorGetTypeID()};
    for (size_t i = 0; i < 6; ++i)
        for (size_t j = i + 1; j < 6; ++j)
            EXPECT_NE(ids[i], ids[j]);
    EXPECT_EQ(CFGetTypeID(CFSTR("x")), CFStringGetTypeID());
    EXPECT_EQ(CFGetTypeID(kCFAllocatorNull), CFAllocatorGetTypeID());
    CFOwned<CFStringRef> name(CFCopyTypeIDDescription(CFArrayGetTypeID()));
    EXPECT_EQ(PMCFStringCopyUTF8(name), "CFArray");
    EXPECT_EQ(CFCopyTypeIDDescription(9999), nullptr);
}

TEST(CFBase, DescriptionsShowTheValue) {
    int three = 3;
    long long minus = -12;
    float tenth = 0.1f;
    CFOwned<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberIntType, &three));
    CFOwned<CFNumberRef> i(CFNumberCreate(nullptr, kCFNumberLongLongType, &minus));
    CFOwned<CFNumberRef> f(CFNumberCreate(nullptr, kCFNumberFloat32Type, &tenth));
    const void* items[] = {CFSTR("a"), n.get()};
    CFOwned<CFArrayRef> array(CFArrayCreate(nullptr, items, 2, &kCFTypeArrayCallBacks));
    CFOwned<CFDataRef> data(DataOf("\x01\x02\x03"));
    const std::pair<CFTypeRef, const char*> cases[] = {
        {array.get(), "(a, 3)"}, {CFSTR("plain"), "plain"}, {i.get(), "-12"},
        {f.get(), "0.1"},        {data.get(), "<010203>"},  {kCFBooleanFalse, "false"}};
    for (const auto& [object, expected] : cases) {
        CFOwned<CFStringRef> text(CFCopyDescription(object));
        EXPECT_EQ(PMCFStringCopyUTF8(text), expected);
    }
}

TEST(CFBase, AllocatorsAllocateExceptTheNullOne) {
    EXPECT_EQ(CFAllocatorGetDefault(), kCFAllocatorSystemDefault);
    void* p = CFAllocatorAllocate(kCFAllocatorMalloc, 16, 0);
    ASSERT_NE(p, nullptr);
    CFAllocatorDeallocate(kCFAllocatorMalloc, p);
    EXPECT_EQ(CFAllocatorAllocate(kCFAllocatorNull, 16, 0), nullptr);
    EXPECT_EQ(CFAllocatorAllocate(nullptr, -1, 0), nullptr);
    EXPECT_EQ(CFGetRetainCount(kCFAllocatorNull), LONG_MAX);
}

TEST(CFBase, HeadersWorkFromC) {
    EXPECT_EQ(PMCFCallFromC(), 0);
}

} // namespace
