//===- PigmentorErrors.h - Status codes of the colour pane ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_PIGMENTORERRORS_H
#define PIGMENTOR_COLOUR_PIGMENTORERRORS_H

#include <CoreFoundation/CoreFoundation.h>

/// The colour model's status codes: 0 to 24, 1001 (the user cancelled) and 1002.
enum PigmentorErrorCode : unsigned long {
    kPigmentorNoErr = 0,
    kPigmentorNoBundleErr = 1,
    kPigmentorPPDInitErr = 2,
    kPigmentorServerNameErr = 3,
    kPigmentorConnErr = 4,
    kPigmentorPrinterNameErr = 5,
    kPigmentorNotSupportedErr = 6,
    kPigmentorNIBErr = 7,
    kPigmentorWindowErr = 8,
    kPigmentorItemsListInitErr = 9,
    kPigmentorControlNotFoundErr = 10,
    kPigmentorBrivelleInitErr = 11,
    kPigmentorDeviceErr = 12,
    kPigmentorTovraneFeaturesErr = 13,
    kPigmentorSesssionErr = 14,
    kPigmentorInvalidItemsListErr = 15,
    kPigmentorRolldownNotFoundErr = 16,
    kPigmentorNoControlsErr = 17,
    kPigmentorItemsNotInitialized = 18,
    kPigmentorPPDErr = 19,
    kPigmentorMemoryErr = 20,
    kPigmentorBidiPPDErr = 21,
    kPigmentorParamErr = 22,
    kPigmentorHostNotFoundErr = 23,
    kPigmentorServerErr = 24,
    kPigmentorUserCancelErr = 1001,
    kPigmentorGeneralErr = 1002,
};

typedef struct OpaqueWindowPtr* WindowRef;

/// The user-visible texts of the status codes: each code has a key ("kPigmentorConnErr") whose
/// text lives in the plug-in bundle's string table "PigmentorErr". Results are new strings
/// (the caller releases them); without a bundle there is no text (null). Alerts that show
/// these texts belong to the dialogs.
class PigmentorErrors {
public:
    /// Shows the text of `code` in an alert (OK only) over `window` (may be null) and waits;
    /// answers the alert's result ('ok  '), 'canc' when the alert could not be built, 0 when
    /// the code has no text. Main thread. Defined with the dialogs, in the ui library: only
    /// code linking that library may call it.
    static unsigned long ReportPigmentorError(unsigned long code, WindowRef window);
    /// The key of `code` as a constant string (not to be released), null for a code without one.
    static CFStringRef PigmentorErrorKey(unsigned long code);
    /// The localised text of `code`'s key (the key itself when the table lacks it); null for a
    /// code without a key or without a bundle.
    static CFStringRef PigmentorErrorString(unsigned long code);
    /// The localised text of `key` in "PigmentorErr"; null for a null key or without a bundle.
    static CFStringRef PigmentorErrorString(CFStringRef key);
};

#endif // PIGMENTOR_COLOUR_PIGMENTORERRORS_H
