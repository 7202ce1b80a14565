//===- UI_TwoWayCommDialog.h - The print server's address -------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_TWOWAYCOMMDIALOG_H
#define PIGMENTOR_UI_UI_TWOWAYCOMMDIALOG_H

#include "UI_DialogWait.h"

#include <cstddef>

/// Control IDs of the two-way dialog (all with number 0).
enum : OSType {
    kTwoWayAddressField = 'paed', ///< editable text: the server's address
    kTwoWayPrinterField = 'pnam', ///< static text: the printer's name
};

/// The dialog in which the user types the print server's address (an IP address or a host
/// name), window "Two Way Communcations" of the bundle's NIB "BidiUI", texts from the table
/// "BidiStrings".
///
/// Keeps its own copy of the server name (at most 255 bytes of UTF-8) and retains the printer
/// name ("" when none is given). OK checks the address: letters, digits, '-' and '.' only; an
/// empty address passes only with accept-empty. A rejected one is explained by an alert over
/// the dialog, whose Cancel also cancels the dialog. The title, hint and note take the height
/// their wrapped texts need, and the window follows. Needs the default bundle
/// (PDEBundle::InitBundle); without it, or without the NIB, window or its two fields, the dialog
/// is not valid and is never shown. Main thread only.
class UI_TwoWayCommDialog : public UI_DialogWait {
public:
    /// `server` (UTF-8, may be null) is cut to 255 bytes; `printer` may be null.
    UI_TwoWayCommDialog(WindowRef parent, const char* server, CFStringRef printer, bool acceptEmpty);
    ~UI_TwoWayCommDialog() override;

    /// Makes the window, titles it and its texts, installs the handler; false when a part is
    /// missing.
    bool InitializeUI();
    /// Fills in the printer name and the address, focuses the address, shows the window.
    void show() override;
    /// 1 when the address is acceptable; otherwise an alert: -1 when the user cancels it, 0 to
    /// keep the dialog open for a correction.
    int validateInput() override;
    /// The address field's text becomes the server name; result 'ok  '.
    void onOK() override;
    void onCancel() override;

    /// True for letters and digits (ASCII), '-' and '.' only (an empty text passes).
    static bool validateAddress(const char* text);
    /// Shows the dialog and waits; with 'ok  ' the server name is copied into `out` (of
    /// `outSize` bytes, always terminated). Answers the result, 0 for an invalid dialog.
    unsigned long waitforResults(char* out, size_t outSize = 256);
    /// Runs a dialog; true when it was valid and ended with OK (the address is then in `out`,
    /// of `outSize` bytes).
    static bool ShowTwoWayCommDialog(const char* server, CFStringRef printer, char* out,
                                     WindowRef parent, bool acceptEmpty, size_t outSize = 256);

    bool isValid() const { return mValid; }
    /// The server name (UTF-8, never null).
    const char* getServerName() const { return mServerName; }
    /// Replaces the server name (cut to 255 bytes) and, once shown, the field's text.
    void setServerName(const char* server);

private:
    /// The address field's text (UTF-8); false when it is longer than 255 bytes.
    bool readAddress(char* out, size_t size) const;

    IBNibRef mNib = nullptr;
    ControlRef mAddressField = nullptr;
    ControlRef mPrinterField = nullptr;
    char mServerName[256] = {};
    CFStringRef mPrinterName = nullptr;
    bool mValid = false;
    bool mAcceptEmpty = false;
};

#endif // PIGMENTOR_UI_UI_TWOWAYCOMMDIALOG_H
