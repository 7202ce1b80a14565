//===- PPDXDisplayOptions.h - The model's class-wide display options -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXDISPLAYOPTIONS_H
#define PIGMENTOR_PPDX_PPDXDISPLAYOPTIONS_H

#include "PPDXTypes.h"

/// The one process-wide display-options value of the PPD model (bit 0 orphans, bit 1 hidden
/// elements; 0 at start). Every First/Next walk over a model container shows only what it
/// admits. Not locked: it belongs to whichever thread works on the model at the time.
namespace PPDXDisplay {
/// The current value.
_DISPLAY_OPTIONS_ Get();
/// Replaces the value.
void Set(_DISPLAY_OPTIONS_ options);
} // namespace PPDXDisplay

/// Sets the display options for the lifetime of the object and puts back the value it found;
/// for code that must see every element (pass kShowAll).
class ScopedDisplayOptions {
public:
    explicit ScopedDisplayOptions(_DISPLAY_OPTIONS_ options) : mSaved(PPDXDisplay::Get()) {
        PPDXDisplay::Set(options);
    }
    ~ScopedDisplayOptions() { PPDXDisplay::Set(mSaved); }
    ScopedDisplayOptions(const ScopedDisplayOptions&) = delete;
    ScopedDisplayOptions& operator=(const ScopedDisplayOptions&) = delete;

private:
    _DISPLAY_OPTIONS_ mSaved;
};

#endif // PIGMENTOR_PPDX_PPDXDISPLAYOPTIONS_H
