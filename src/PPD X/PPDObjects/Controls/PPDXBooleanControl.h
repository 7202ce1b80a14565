//===- PPDXBooleanControl.h - A True/False option ---------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXBOOLEANCONTROL_H
#define PIGMENTOR_PPDX_PPDXBOOLEANCONTROL_H

#include "PPDXControl.h"

/// An option with the two choices True and False (kind kBooleanType), each with its own
/// translation and invocation code.
///
/// The control owns both texts (CString*, PPD bytes) and both code blocks (malloc, freed with
/// free); the base control's own code stays empty. A code length of 0 or less means no code.
class PPDXBooleanControl : public PPDXControl {
public:
    /// Takes over every pointer given; the value starts as `defaultValue`.
    PPDXBooleanControl(const char* keyword, CFStringRef localName, PointerList& flags,
                       const bool& visible, CString* trueText, unsigned char* truePS,
                       long truePSLength, CString* falseText, unsigned char* falsePS,
                       long falsePSLength, const bool& defaultValue);
    /// Rebuilds the control saved under `id`: value, default, both texts and both codes
    /// (missing items leave False, no text, no code).
    PPDXBooleanControl(Settings& settings, const long& id);
    ~PPDXBooleanControl() override;

    /// Adds the marker BlnC, the value, the default, the texts and the codes.
    short Save(Settings& settings, const long& id) override;
    /// Takes back the saved value; the archive's status when it has none (value unchanged).
    short Restore(Settings& settings, const long& id) override;

    void ResetToDefaultValue() override { mValue = mDefault; }
    /// The feature block with option text True or False and that side's code; 0 bytes for a
    /// control without keyword.
    long PostScript(unsigned char* out) override;
    /// "True" or "False".
    CFStringRef GetCurrentControlValueString() override;
    /// True when the first four characters of `value` are "true" in any case.
    void SetCurrentControlWithCFString(CFStringRef value) override;

    bool IsTrue() const { return mValue; }
    void SetValue(const bool& value) { mValue = value; }
    bool DefaultState() const { return mDefault; }
    /// The PPD's translation of True (or False), or null when it gave none.
    const char* TrueDisplayText() const;
    const char* FalseDisplayText() const;
    /// The code of each side (null when none) and its length (0 when none).
    const unsigned char* TruePSData() const { return mTruePS; }
    long TruePSLength() const { return mTruePS && mTruePSLength > 0 ? mTruePSLength : 0; }
    const unsigned char* FalsePSData() const { return mFalsePS; }
    long FalsePSLength() const { return mFalsePS && mFalsePSLength > 0 ? mFalsePSLength : 0; }

protected:
    bool mValue = false;
    bool mDefault = false;
    CString* mTrueText = nullptr;
    CString* mFalseText = nullptr;
    unsigned char* mTruePS = nullptr;
    long mTruePSLength = 0;
    unsigned char* mFalsePS = nullptr;
    long mFalsePSLength = 0;
};

#endif // PIGMENTOR_PPDX_PPDXBOOLEANCONTROL_H
