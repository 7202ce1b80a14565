//===- UI_QRVAlert.h - One- and two-line alerts -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_QRVALERT_H
#define PIGMENTOR_UI_UI_QRVALERT_H

#include "UI_DialogWait.h"

/// Flags of an alert (other bits are kept and have no effect).
enum : unsigned long {
    kQRVAlertNoCancel = 0x1,          ///< hide the Cancel button
    kQRVAlertSmallFirstText = 0x100,  ///< the first text in the small system font (size 11)
    kQRVAlertSmallSecondText = 0x200, ///< the second text in the small system font
};

/// The alert for errors and validation messages: a first text, an optional second one, OK and
/// (unless flagged away) Cancel, from the windows of the bundle's NIB "AlertUI" ("One Line",
/// "Two Line", and their "... Sheet" forms used over a parent window that is not a sheet).
///
/// The alert retains its texts and releases them; `const char*` texts are UTF-8 (the
/// application's encoding) and are copied. Nothing is built without a first text or without
/// the default bundle (PDEBundle::InitBundle); such an alert is not initialised and
/// `TellUser` answers 'canc'. The text controls 'alrt' 1 and 'alrt' 2 keep their width and take
/// the height their wrapped text needs; the controls below them and the window follow.
/// Main thread only.
class UI_QRVAlert : public UI_DialogWait {
public:
    /// `okTitle` / `cancelTitle` (may be null) replace the standard button titles.
    UI_QRVAlert(CFStringRef text, CFStringRef secondText, unsigned long flags, WindowRef parent,
                CFStringRef okTitle = nullptr, CFStringRef cancelTitle = nullptr);
    UI_QRVAlert(const char* text, const char* secondText, unsigned long flags, WindowRef parent,
                const char* okTitle = nullptr, const char* cancelTitle = nullptr);
    /// Releases the texts and the NIB.
    ~UI_QRVAlert() override;

    /// Makes the window from "AlertUI" (sheet or dialog form, one or two lines), installs the
    /// handler, titles the buttons and fills in the texts. False when anything is missing.
    bool initRefs(CFStringRef okTitle, CFStringRef cancelTitle);
    /// Standard titles, Cancel hidden by flag bit 0, then the given titles (sized to fit).
    void setUpButtons(CFStringRef okTitle, CFStringRef cancelTitle);
    bool isInitialized() const { return mInitialized; }
    unsigned long getFlags() const { return mFlags; }

    /// Builds, shows and waits for an alert; answers 'ok  ' or 'not!', or 'canc' when the alert
    /// could not be built.
    static unsigned long TellUser(CFStringRef text, unsigned long flags, WindowRef parent,
                                  CFStringRef okTitle = nullptr, CFStringRef cancelTitle = nullptr);
    static unsigned long TellUser(CFStringRef text, CFStringRef secondText, unsigned long flags,
                                  WindowRef parent, CFStringRef okTitle = nullptr,
                                  CFStringRef cancelTitle = nullptr);
    static unsigned long TellUser(const char* text, unsigned long flags, WindowRef parent,
                                  const char* okTitle = nullptr, const char* cancelTitle = nullptr);
    static unsigned long TellUser(const char* text, const char* secondText, unsigned long flags,
                                  WindowRef parent, const char* okTitle = nullptr,
                                  const char* cancelTitle = nullptr);

private:
    void construct(CFStringRef okTitle, CFStringRef cancelTitle);

    IBNibRef mNib = nullptr;
    bool mInitialized = false;
    CFStringRef mText = nullptr;
    CFStringRef mSecondText = nullptr;
    unsigned long mFlags = 0;
};

#endif // PIGMENTOR_UI_UI_QRVALERT_H
