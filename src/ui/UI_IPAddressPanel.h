//===- UI_IPAddressPanel.h - Two-way check box and server address -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_IPADDRESSPANEL_H
#define PIGMENTOR_UI_UI_IPADDRESSPANEL_H

#include <HIToolbox/HIToolbox.h>

#include <cstddef>

class UI_TwoWayCommDialog;

/// The pane section that turns two-way communication on and names the print server:
///
///   [x] Two-way communication
///   ---------------------------------------------------------------
///   Server Address:    192.168.1.20                   [Configure…]
///
/// Row 1 is the check box 'bidi' 10 (command 'bidi') over half the width, or without the check
/// box the same text as a label (two-way is then always on); a separator; row 2 the label (a
/// third of the width), the address and the button 'conf' 10 (command 'conf') in the last 140
/// pixels. The controls live in a user pane inset by 2 pixels in the given bounds, embedded in
/// the parent control when one is given; the panel owns the pane and its controls and disposes
/// of them, and borrows the window. Bounds below 250 by 50 pixels, or no default bundle
/// (PDEBundle::InitBundle), build no controls and leave the panel uninitialised. Texts come from
/// the table "BidiStrings".
///
/// The address is the panel's own copy (UTF-8, at most 255 bytes, null when none); the printer
/// name is retained. Changes are remembered as bits (1 address, 2 two-way mode) until read, and
/// announced to the owner window by posting the commands 'IPcm' (address edited) and 'IPcb'
/// (two-way switched). The owner routes the window's events through
/// HandleIPAddressPanelEvent, which tracks clicks on the check box and the button itself.
/// Main thread only.
class UI_IPAddressPanel {
public:
    enum : unsigned { kAddressChanged = 1, kBidiModeChanged = 2 };
    enum : short { kMinimumWidth = 250, kMinimumHeight = 50, kButtonColumn = 140 };

    /// Two-way is on only when `twoWayOn` and an address (non-empty) are both given.
    UI_IPAddressPanel(WindowRef window, ControlRef parent, Rect bounds, const char* address,
                      CFStringRef printer, bool twoWayOn, bool visible, bool withCheckBox);
    UI_IPAddressPanel(const UI_IPAddressPanel&) = delete;
    UI_IPAddressPanel& operator=(const UI_IPAddressPanel&) = delete;
    /// Disposes of the user pane and its controls, frees the address, releases the name.
    ~UI_IPAddressPanel();

    /// Builds the controls (once) and applies the check box's state; false without the bundle,
    /// the user pane or room enough.
    bool initialize();
    /// A non-empty text becomes the address, is shown and given to an open two-way dialog.
    void setIPAddress(const char* text);
    /// Runs the two-way dialog (accepting an empty address only while two-way is off); OK
    /// stores and shows the address, sets bit 1 and posts 'IPcm'. Answers 'ok  ' or 'not!'.
    unsigned long ShowTwoWayCommuncationsDialog();
    /// Switches two-way on or off; switching on without an address (once initialised) asks for
    /// one first, and Cancel there clears the box and leaves two-way off. Address and label
    /// are enabled only while two-way is on. True (and 'IPcb' posted) when the mode changed.
    bool switchBidiMode(bool on);
    /// Two-way from the check box (always on without it); a change sets bit 2.
    void handleBiDi();
    /// True when the address changed since the last call (copied into `out` of `outSize`
    /// bytes, when given); clears every change bit.
    bool IPAddressHasChanged(char* out, size_t outSize = 256);
    unsigned ChangedState() const { return mChanged; }
    void ResetState() { mChanged = 0; }
    /// With the check box only: sets it and applies it (handleBiDi).
    void setCheckBoxState(bool on);
    /// Enables or disables the whole panel.
    void enableBidiUI(bool enable);
    void show();
    void hide();
    bool isVisible() const { return mVisible; }
    bool isBidiMode() const { return mTwoWayOn; }
    bool isInitialized() const { return mInitialized; }
    /// The address (not to be freed), or null.
    const char* getIPAddress() const { return mAddress; }
    /// Retains `printer` (null: none) for the dialog.
    void setPrinterName(CFStringRef printer);

    /// Handles control clicks and hits of 'bidi' 10 and 'conf' 10 while the panel is visible;
    /// eventNotHandledErr for everything else.
    OSStatus HandleIPAddressPanelEvent(EventHandlerCallRef callRef, EventRef event);

    ControlRef getUserPane() const { return mUserPane; }
    /// The check box, or the label that stands in for it.
    ControlRef getCheckBox() const { return mCheckBox; }
    ControlRef getConfigureButton() const { return mConfigureButton; }
    ControlRef getAddressText() const { return mAddressText; }
    ControlRef getAddressLabel() const { return mAddressLabel; }

private:
    unsigned long runDialog(bool acceptEmpty);
    void storeAddress(const char* text);
    void postCommand(UInt32 command) const;

    char* mAddress = nullptr;
    CFStringRef mPrinterName = nullptr;
    bool mTwoWayOn = false;
    bool mInitialized = false;
    bool mVisible = false;
    ControlRef mAddressText = nullptr;
    ControlRef mCheckBox = nullptr;
    ControlRef mSeparator = nullptr;
    ControlRef mAddressLabel = nullptr;
    ControlRef mConfigureButton = nullptr;
    ControlRef mUserPane = nullptr;
    WindowRef mWindow = nullptr;
    UI_TwoWayCommDialog* mDialog = nullptr;
    unsigned mChanged = 0;
    bool mWithCheckBox = true;
};

#endif // PIGMENTOR_UI_UI_IPADDRESSPANEL_H
