// Boxed numbers and their conversions.
#include "CFTestSupport.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

template <class T> CFNumberRef Make(CFNumberType type, T value) {
    return CFNumberCreate(nullptr, type, &value);
}

TEST(CFNumber, StorageTypeAndSize) {
    CFOwned<CFNumberRef> i(Make(kCFNumberIntType, 5));
    EXPECT_EQ(CFNumberGetType(i), kCFNumberSInt32Type);
    EXPECT_EQ(CFNumberGetByteSize(i), 4);
    EXPECT_FALSE(CFNumberIsFloatType(i));
    CFOwned<CFNumberRef> c(Make(kCFNumberCharType, char(-3)));
    EXPECT_EQ(CFNumberGetType(c), kCFNumberSInt8Type);
    CFOwned<CFNumberRef> f(Make(kCFNumberFloatType, 1.5f));
    EXPECT_EQ(CFNumberGetType(f), kCFNumberFloat32Type);
    EXPECT_TRUE(CFNumberIsFloatType(f));
    CFOwned<CFNumberRef> d(Make(kCFNumberCGFloatType, 1.5));
    EXPECT_EQ(CFNumberGetByteSize(d), 8);
    int five = 5;
    EXPECT_EQ(CFNumberCreate(nullptr, 17, &five), nullptr);
    EXPECT_EQ(CFNumberCreate(nullptr, kCFNumberIntType, nullptr), nullptr);
}

TEST(CFNumber, IntegerConversionsReportLoss) {
    CFOwned<CFNumberRef> n(Make(kCFNumberSInt32Type, int32_t(300)));
    int8_t small = 0;
    EXPECT_FALSE(CFNumberGetValue(n, kCFNumberSInt8Type, &small));
    EXPECT_EQ(small, 44);
    int64_t wide = 0;
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberSInt64Type, &wide));
    EXPECT_EQ(wide, 300);
    double real = 0;
    EXPECT_TRUE(CFNumberGetValue(n, kCFNumberDoubleType, &real));
    EXPECT_EQ(real, 300.0);
    CFOwned<CFNumberRef> big(Make(kCFNumberSInt64Type, INT64_MAX));
    EXPECT_FALSE(CFNumberGetValue(big, kCFNumberFloat64Type, &real));
    float single = 0;
    CFOwned<CFNumberRef> exact(Make(kCFNumberSInt64Type, int64_t(1) << 40));
    EXPECT_TRUE(CFNumberGetValue(exact, kCFNumberFloat32Type, &single));
    EXPECT_EQ(single, 1099511627776.0f);
}

TEST(CFNumber, FloatingConversionsTruncateAndClamp) {
    CFOwned<CFNumberRef> half(Make(kCFNumberDoubleType, -3.5));
    int value = 0;
    EXPECT_FALSE(CFNumberGetValue(half, kCFNumberIntType, &value));
    EXPECT_EQ(value, -3);
    CFOwned<CFNumberRef> whole(Make(kCFNumberDoubleType, 3.0));
    EXPECT_TRUE(CFNumberGetValue(whole, kCFNumberIntType, &value));
    EXPECT_EQ(value, 3);
    CFOwned<CFNumberRef> huge(Make(kCFNumberDoubleType, 1e300));
    int64_t big = 0;
    EXPECT_FALSE(CFNumberGetValue(huge, kCFNumberSInt64Type, &big));
    EXPECT_EQ(big, INT64_MAX);
    float single = 0;
    EXPECT_FALSE(CFNumberGetValue(huge, kCFNumberFloat32Type, &single));
    EXPECT_EQ(single, FLT_MAX);
    CFOwned<CFNumberRef> nan(Make(kCFNumberDoubleType, double(NAN)));
    EXPECT_FALSE(CFNumberGetValue(nan, kCFNumberIntType, &value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(CFNumberGetValue(nan, kCFNumberFloat32Type, &single));
    EXPECT_TRUE(std::isnan(single));
    CFOwned<CFNumberRef> tenth(Make(kCFNumberDoubleType, 0.1));
    EXPECT_FALSE(CFNumberGetValue(tenth, kCFNumberFloat32Type, &single));
    EXPECT_EQ(single, 0.1f);
}

TEST(CFNumber, CompareAcrossTypesByValue) {
    CFOwned<CFNumberRef> three(Make(kCFNumberIntType, 3));
    CFOwned<CFNumberRef> threeReal(Make(kCFNumberDoubleType, 3.0));
    CFOwned<CFNumberRef> threeHalf(Make(kCFNumberFloatType, 3.5f));
    CFOwned<CFNumberRef> nan(Make(kCFNumberDoubleType, double(NAN)));
    CFOwned<CFNumberRef> huge(Make(kCFNumberSInt64Type, INT64_MAX));
    CFOwned<CFNumberRef> twoTo63(Make(kCFNumberDoubleType, 9223372036854775808.0));
    EXPECT_EQ(CFNumberCompare(three, threeReal, nullptr), kCFCompareEqualTo);
    EXPECT_TRUE(CFEqual(three, threeReal));
    EXPECT_EQ(CFHash(three), CFHash(threeReal));
    EXPECT_EQ(CFNumberCompare(three, threeHalf, nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(threeHalf, three, nullptr), kCFCompareGreaterThan);
    EXPECT_EQ(CFNumberCompare(nan, three, nullptr), kCFCompareLessThan);
    EXPECT_EQ(CFNumberCompare(huge, twoTo63, nullptr), kCFCompareLessThan);
}

} // namespace
