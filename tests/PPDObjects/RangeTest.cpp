// Integer and floating-point ranges: stepping, text forms, and the cached code with the value
// put in.
#include "ControlTestSupport.h"
#include "PPDXFloatRangeControl.h"
#include "PPDXRangeControl.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>

namespace {

PointerList& NoFlags() {
    static PointerList none;
    return none;
}

const char kDensityCode[] = "<*density> setdensity\n";

PPDXRangeControl* Range(long minimum, long maximum, long increment, long defaultValue,
                        const char* code = nullptr, const char* keyword = "*Density") {
    PointerList flags;
    return new PPDXRangeControl(keyword, CFSTR("Density"), flags, Block(code),
                                code ? static_cast<long>(std::strlen(code)) : 0, minimum, maximum,
                                increment, defaultValue, true);
}

PPDXFloatRangeControl* FloatRange(long minimum, long maximum, long increment, long defaultValue,
                                  const char* code = nullptr) {
    PointerList flags;
    return new PPDXFloatRangeControl("*Gamma", CFSTR("Gamma"), flags, Block(code),
                                     code ? static_cast<long>(std::strlen(code)) : 0, minimum,
                                     maximum, increment, defaultValue, true);
}

} // namespace

TEST(PPDXRangeControl, StartsAtTheDefaultAsGivenAndClampsTo32Bits) {
    PPDXRangeControl* range = Range(-5, 100, 5, 7); // the default is taken as given
    EXPECT_EQ(range->GetValue(), 7);
    range->SetValue(50);
    range->ResetToDefaultValue(); // but resetting steps it
    EXPECT_EQ(range->GetValue(), 5);
    delete range;

    PPDXRangeControl* wide = Range(LONG_MIN, LONG_MAX, 1, 9999999999L);
    EXPECT_EQ(wide->MinVal(), INT32_MIN);
    EXPECT_EQ(wide->MaxVal(), INT32_MAX);
    EXPECT_EQ(wide->GetValue(), INT32_MAX);
    delete wide;
}

TEST(PPDXRangeControl, SetValueClampsThenStepsFromZero) {
    PPDXRangeControl* range = Range(0, 100, 5, 0);
    const long cases[][2] = {{-3, 0}, {103, 100}, {42, 40}, {45, 45}, {LONG_MAX, 100}};
    for (const auto& c : cases) {
        range->SetValue(c[0]);
        EXPECT_EQ(range->GetValue(), c[1]) << c[0];
    }
    delete range;

    PPDXRangeControl* odd = Range(1, 10, 2, 1);
    odd->SetValue(1);
    EXPECT_EQ(odd->GetValue(), 0); // below the minimum: counted from 0, not from 1
    odd->SetValue(-7);
    EXPECT_EQ(odd->GetValue(), 0);
    delete odd;

    PPDXRangeControl* negative = Range(-10, 10, 3, 0);
    negative->SetValue(-8);
    EXPECT_EQ(negative->GetValue(), -6); // toward zero
    delete negative;
}

TEST(PPDXRangeControl, ZeroOrExtremeIncrementsDoNotTrap) {
    PPDXRangeControl* zero = Range(0, 10, 0, 0);
    zero->SetValue(7);
    EXPECT_EQ(zero->GetValue(), 7);
    delete zero;

    PPDXRangeControl* minusOne = Range(INT32_MIN, 0, -1, 0);
    minusOne->SetValue(INT32_MIN);
    EXPECT_EQ(minusOne->GetValue(), INT32_MIN);
    delete minusOne;
}

TEST(PPDXRangeControl, TextFormIsTakenWithoutClampingOrStepping) {
    PPDXRangeControl* range = Range(0, 100, 5, 10);
    EXPECT_EQ(Take(range->GetCurrentControlValueString()), "10");
    range->SetCurrentControlWithCFString(Str("  -123abc"));
    EXPECT_EQ(range->GetValue(), -123);
    EXPECT_EQ(Take(range->GetCurrentControlValueString()), "-123");
    range->SetCurrentControlWithCFString(nullptr);
    EXPECT_EQ(range->GetValue(), -123);
    delete range;
}

TEST(PPDXRangeControl, PutsTheValueIntoItsCodeAndSettingItDropsTheCachedCode) {
    PPDXRangeControl* range = Range(0, 100, 1, 18, kDensityCode);
    EXPECT_EQ(WrittenPostScript(*range),
              "%%BeginFeature: *Density 18\n18 setdensity\n%%EndFeature\n");
    EXPECT_EQ(range->PSLength(), 22); // the own code is unchanged
    range->SetValue(7);
    EXPECT_EQ(WrittenPostScript(*range),
              "%%BeginFeature: *Density 7\n7 setdensity\n%%EndFeature\n");
    range->SetCurrentControlWithCFString(Str("250"));
    EXPECT_EQ(WrittenPostScript(*range),
              "%%BeginFeature: *Density 250\n250 setdensity\n%%EndFeature\n");
    range->ResetToDefaultValue();
    EXPECT_EQ(range->PostScript(nullptr), 55);
    EXPECT_EQ(WrittenPostScript(*range),
              "%%BeginFeature: *Density 18\n18 setdensity\n%%EndFeature\n");
    delete range;

    PPDXRangeControl* noCode = Range(0, 100, 1, 18);
    EXPECT_EQ(WrittenPostScript(*noCode), "%%BeginFeature: *Density 18\n\n%%EndFeature\n");
    delete noCode;
    PPDXRangeControl* noKeyword = Range(0, 100, 1, 18, kDensityCode, nullptr);
    EXPECT_EQ(noKeyword->PostScript(nullptr), 0);
    delete noKeyword;
}

TEST(PPDXFloatRangeControl, SnapsOnlyWithinAHundredthOfAStep) {
    PPDXFloatRangeControl* range = FloatRange(0, 2, 0, 1);
    range->SetValue(1.37f); // increment 0: clamped only
    EXPECT_FLOAT_EQ(range->GetValue(), 1.37f);
    delete range;

    // The PPD's numbers are integers; a fractional step can only come from a subclass.
    struct HalfStep : PPDXFloatRangeControl {
        HalfStep()
            : PPDXFloatRangeControl("*G", CFSTR("G"), NoFlags(), nullptr, 0, 0, 2, 1, 1, true) {
            mIncrement = 0.5f;
        }
    };
    HalfStep* half = new HalfStep;
    half->SetValue(1.2f); // 2.4 steps: kept
    EXPECT_FLOAT_EQ(half->GetValue(), 1.2f);
    half->SetValue(1.004f); // 2.008 steps: snapped
    EXPECT_FLOAT_EQ(half->GetValue(), 1.0f);
    half->SetValue(-1.0f);
    EXPECT_FLOAT_EQ(half->GetValue(), 0.0f);
    half->SetValue(9.0f);
    EXPECT_FLOAT_EQ(half->GetValue(), 2.0f);
    delete half;
}

TEST(PPDXFloatRangeControl, WritesTheValueTruncatedToAnInteger) {
    PPDXFloatRangeControl* range = FloatRange(0, 10, 1, 1, "<*Gamma> setgamma\n");
    range->SetCurrentControlWithCFString(Str("2.7"));
    EXPECT_FLOAT_EQ(range->GetValue(), 2.7f);
    EXPECT_EQ(Take(range->GetCurrentControlValueString()), "2.700000");
    EXPECT_EQ(WrittenPostScript(*range), "%%BeginFeature: *Gamma 2\n2 setgamma\n%%EndFeature\n");
    range->SetValue(5);
    EXPECT_EQ(WrittenPostScript(*range), "%%BeginFeature: *Gamma 5\n5 setgamma\n%%EndFeature\n");
    range->SetCurrentControlWithCFString(Str("-3.9"));
    EXPECT_EQ(WrittenPostScript(*range), "%%BeginFeature: *Gamma -3\n-3 setgamma\n%%EndFeature\n");
    delete range;
}

TEST(PPDXFloatRangeControl, NumbersBeyondFloatOrIntSaturate) {
    PPDXFloatRangeControl* range = FloatRange(0, 10, 1, 1, "<*Gamma>\n");
    range->SetCurrentControlWithCFString(Str("1e300"));
    EXPECT_FLOAT_EQ(range->GetValue(), FLT_MAX);
    EXPECT_EQ(WrittenPostScript(*range),
              "%%BeginFeature: *Gamma 2147483647\n2147483647\n%%EndFeature\n");
    range->SetCurrentControlWithCFString(Str("-1e300"));
    EXPECT_FLOAT_EQ(range->GetValue(), -FLT_MAX);
    EXPECT_EQ(range->PostScript(nullptr), 16 + 6 + 1 + 11 + 1 + 12 + 13);
    delete range;
}
