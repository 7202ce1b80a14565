//===- PPDXSpecialOption.h - A fixed name-value pair of the PPD -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXSPECIALOPTION_H
#define PIGMENTOR_PPDX_PPDXSPECIALOPTION_H

#include "PPDXControl.h"

/// A name-value pair that the PPD declares with "*%QRVSpecialOption" (kind
/// kSpecialOptionType): a hidden control whose value is a fixed string, read by the colour
/// pane and never set from the user interface. It writes its own code, unframed, as every
/// control does by default (the parser gives it none).
///
/// The option owns its value (a copy, PPD bytes) besides what every control owns.
class PPDXSpecialOption : public PPDXControl {
public:
    /// Copies `value` (null: an unset value); takes over the flag strings and the malloc
    /// block `postScript` as every control does.
    PPDXSpecialOption(const char* keyword, CFStringRef translation, PointerList& flags, char* value,
                      unsigned char* postScript, const long& postScriptLength, const bool& visible);
    /// Rebuilds the option saved under `id`; a missing value reads as "".
    PPDXSpecialOption(Settings& settings, const long& id);
    ~PPDXSpecialOption() override;

    /// Adds the marker soCN and the value.
    short Save(Settings& settings, const long& id) override;
    /// Replaces the value with the saved one; without one the PPD's value stays. Never fails.
    short Restore(Settings& settings, const long& id) override;

    /// Empties the value.
    void ResetToDefaultValue() override;
    /// A new string (the caller releases it) of the value; "" when it is unset.
    CFStringRef GetCurrentControlValueString() override;
    /// Does nothing: a special option's value comes from the PPD alone.
    void SetCurrentControlWithCFString(CFStringRef value) override;

    /// The value (owned by the option), or null when it could not be copied.
    CString* GetValue() const { return mValue; }

protected:
    CString* mValue = nullptr;
};

#endif // PIGMENTOR_PPDX_PPDXSPECIALOPTION_H
