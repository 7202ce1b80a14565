//===- PPDXFloatRangeControl.h - A real number within bounds ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXFLOATRANGECONTROL_H
#define PIGMENTOR_PPDX_PPDXFLOATRANGECONTROL_H

#include "PPDXControl.h"

/// An option whose value is a 32-bit float between a minimum and a maximum, snapped to a
/// multiple of the increment when within 0.01 of one (kind kRangeType, like the integer range,
/// but a class of its own).
///
/// The code's placeholder "<keyword>" receives the value truncated to an integer; the code
/// with the value put in is cached (owned malloc block) until the value is set again.
class PPDXFloatRangeControl : public PPDXControl {
public:
    /// Takes over the flag strings and the malloc block `psData`; the four numbers become
    /// floats and the value starts as `defaultValue`.
    PPDXFloatRangeControl(const char* keyword, CFStringRef localName, PointerList& flags,
                          unsigned char* psData, const long& psLength, const long& minimum,
                          const long& maximum, const long& increment, const long& defaultValue,
                          const bool& visible);
    ~PPDXFloatRangeControl() override;

    void ResetToDefaultValue() override { SetValue(mDefault); }
    /// The feature block with the truncated value as option text and in the code; 0 bytes
    /// without keyword.
    long PostScript(unsigned char* out) override;
    /// The value formatted with "%f".
    CFStringRef GetCurrentControlValueString() override;
    /// Takes the number in `value` as it is: no clamping, no rounding (null: nothing).
    void SetCurrentControlWithCFString(CFStringRef value) override;

    float MinVal() const { return mMin; }
    float MaxVal() const { return mMax; }
    float Increment() const { return mIncrement; }
    float DefaultValue() const { return mDefault; }
    float GetValue() const { return mValue; }
    /// Clamps `value` to the bounds; a value within 0.01 increments above a multiple of the
    /// increment becomes that multiple.
    void SetValue(const float& value);

protected:
    void DropCache();

    float mValue;
    float mMin;
    float mMax;
    float mIncrement;
    float mDefault;
    unsigned char* mPSCache = nullptr;
    long mPSCacheLength = 0;
};

#endif // PIGMENTOR_PPDX_PPDXFLOATRANGECONTROL_H
