//===- PPDXRangeControl.h - An integer within bounds ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXRANGECONTROL_H
#define PIGMENTOR_PPDX_PPDXRANGECONTROL_H

#include "PPDXControl.h"
#include "PSValueCache.h"

/// An option whose value is a 32-bit integer between a minimum and a maximum, in steps of an
/// increment counted from 0 (kind kRangeType).
///
/// The control's code carries the placeholder "<keyword>" (any case) where the value goes;
/// the code with the value put in is cached (owned malloc block) from the first PostScript
/// call until the value is set again. Numbers outside the 32-bit range are saturated.
class PPDXRangeControl : public PPDXControl {
public:
    /// Takes over the flag strings and the malloc block `psData`; the value starts as
    /// `defaultValue`, as given.
    PPDXRangeControl(const char* keyword, CFStringRef localName, PointerList& flags,
                     unsigned char* psData, const long& psLength, const long& minimum,
                     const long& maximum, const long& increment, const long& defaultValue,
                     const bool& visible);
    /// Rebuilds the control saved under `id`: value, bounds, increment and default, each taken
    /// as saved (0 when missing), without clamping.
    PPDXRangeControl(Settings& settings, const long& id);
    ~PPDXRangeControl() override;

    /// Adds the marker RngC and the value, minimum, maximum, increment and default.
    short Save(Settings& settings, const long& id) override;
    /// Takes back the saved value as it is; the archive's status when it has none.
    short Restore(Settings& settings, const long& id) override;

    void ResetToDefaultValue() override { SetValue(mDefault); }
    /// The feature block with the value as option text and in the code; 0 bytes without
    /// keyword.
    long PostScript(unsigned char* out) override;
    /// The value in decimal.
    CFStringRef GetCurrentControlValueString() override;
    /// Takes the integer value of `value` as it is: no clamping, no rounding (null: nothing).
    void SetCurrentControlWithCFString(CFStringRef value) override;

    long MinVal() const { return mMin; }
    long MaxVal() const { return mMax; }
    long Increment() const { return mIncrement; }
    long DefaultValue() const { return mDefault; }
    long GetValue() const { return mValue; }
    /// Clamps `value` to the bounds, rounds it toward zero to a multiple of the increment.
    void SetValue(const long& value);

protected:

    int32_t mValue = 0;
    int32_t mMin = 0;
    int32_t mMax = 0;
    int32_t mIncrement = 0;
    int32_t mDefault = 0;
    PSValueCache mPSCache;
};

#endif // PIGMENTOR_PPDX_PPDXRANGECONTROL_H
