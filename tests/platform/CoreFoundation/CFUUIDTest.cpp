// UUIDs.
#include "CFTestSupport.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::string TextOf(CFUUIDRef uuid) {
    CFOwned<CFStringRef> s(CFUUIDCreateString(nullptr, uuid));
    return PMCFStringCopyUTF8(s);
}

TEST(CFUUID, StringBytesAndStringAgain) {
    CFOwned<CFUUIDRef> parsed(
        CFUUIDCreateFromString(nullptr, CFSTR("a996fd7e-B738-11d3-8519-0050E4603277")));
    ASSERT_NE(parsed.get(), nullptr);
    EXPECT_EQ(TextOf(parsed), "A996FD7E-B738-11D3-8519-0050E4603277");
    CFUUIDBytes b = CFUUIDGetUUIDBytes(parsed);
    const UInt8 expected[16] = {0xA9, 0x96, 0xFD, 0x7E, 0xB7, 0x38, 0x11, 0xD3,
                                0x85, 0x19, 0x00, 0x50, 0xE4, 0x60, 0x32, 0x77};
    EXPECT_EQ(std::memcmp(&b, expected, 16), 0);
    CFOwned<CFUUIDRef> rebuilt(CFUUIDCreateFromUUIDBytes(nullptr, b));
    EXPECT_TRUE(CFEqual(rebuilt, parsed));
    EXPECT_EQ(CFHash(rebuilt), CFHash(parsed));
}

TEST(CFUUID, OnlyTheStandardFormParses) {
    for (const char* bad : {"", "A996FD7E-B738-11D3-8519-0050E460327", // short
                            "A996FD7E-B738-11D3-8519-0050E46032777",   // long
                            "A996FD7EB738-11D3-8519-0050E4603277-",    // hyphen moved
                            "G996FD7E-B738-11D3-8519-0050E4603277",    // not hex
                            "{996FD7E-B738-11D3-8519-0050E4603277}"}) {
        CFOwned<CFStringRef> s(Str(bad));
        EXPECT_EQ(CFUUIDCreateFromString(nullptr, s), nullptr) << bad;
    }
    EXPECT_EQ(CFUUIDCreateFromString(nullptr, nullptr), nullptr);
}

TEST(CFUUID, NewOnesAreRandomVersion4) {
    CFOwned<CFUUIDRef> a(CFUUIDCreate(nullptr));
    CFOwned<CFUUIDRef> b(CFUUIDCreate(nullptr));
    EXPECT_FALSE(CFEqual(a, b));
    std::string text = TextOf(a);
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text[14], '4');
    EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
}

TEST(CFUUID, ConstantsAreUniqueAndImmortal) {
    CFUUIDRef a = CFUUIDGetConstantUUIDWithBytes(nullptr, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                 14, 15, 16);
    CFUUIDRef b = CFUUIDGetConstantUUIDWithBytes(nullptr, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                 14, 15, 16);
    EXPECT_EQ(a, b);
    CFRelease(a);
    EXPECT_EQ(CFGetRetainCount(a), LONG_MAX);
    CFOwned<CFUUIDRef> made(
        CFUUIDCreateWithBytes(nullptr, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16));
    EXPECT_NE(made.get(), a);
    EXPECT_TRUE(CFEqual(made, a));
    EXPECT_EQ(TextOf(a), "01020304-0506-0708-090A-0B0C0D0E0F10");
}

} // namespace
