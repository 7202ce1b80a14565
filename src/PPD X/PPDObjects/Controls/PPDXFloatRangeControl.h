//===- PPDXFloatRangeControl.h - A real number within bounds ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXFLOATRANGECONTROL_H
#define PIGMENTOR_PPDX_PPDXFLOATRANGECONTROL_H

#include "PPDXControl.h"
#include "PSValueCache.h"

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
    /// Rebuilds the control saved under `id` (see Save), each number as saved (0 when missing).
    PPDXFloatRangeControl(Settings& settings, const long& id);
    ~PPDXFloatRangeControl() override;

    /// Adds the items of an integer range with the numbers as 32-bit floats, and the marker
    /// RnFl that tells a rebuild to make a floating-point range again.
    short Save(Settings& settings, const long& id) override;
    /// Takes back the saved value as it is; the archive's status when it has none.
    short Restore(Settings& settings, const long& id) override;

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

    float mValue = 0;
    float mMin = 0;
    float mMax = 0;
    float mIncrement = 0;
    float mDefault = 0;
    PSValueCache mPSCache;
};

#endif // PIGMENTOR_PPDX_PPDXFLOATRANGECONTROL_H
