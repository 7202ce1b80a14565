//===- UI_DialogWait.h - Modal dialogs that wait for OK or Cancel -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_DIALOGWAIT_H
#define PIGMENTOR_UI_UI_DIALOGWAIT_H

#include <HIToolbox/HIToolbox.h>

/// The base of every modal dialog that ends with OK ('ok  ') or Cancel ('not!').
///
/// A subclass makes the window (from a NIB) and stores it in `mWindow`; from then on the dialog
/// owns it and disposes of it in the destructor, together with the command handler installed by
/// `installEventHandler`. The parent window is only borrowed (the caller keeps it alive while
/// the dialog lives). The OK and Cancel buttons are the controls 'ok  ' 0 and 'canc' 0 of the
/// window, sending the commands 'ok  ' and 'not!'. Texts come from the bundle's "Dialogs"
/// table. Main thread only.
class UI_DialogWait {
public:
    /// `parent` (may be null) is the window a sheet attaches to.
    explicit UI_DialogWait(WindowRef parent);
    UI_DialogWait(const UI_DialogWait&) = delete;
    UI_DialogWait& operator=(const UI_DialogWait&) = delete;
    /// Removes the handler and disposes of the window.
    virtual ~UI_DialogWait();

    /// Judges the input on OK: 1 accepts (onOK), -1 cancels (onCancel), anything else keeps
    /// the dialog open. The base accepts.
    virtual int validateInput();
    /// Enables or disables the OK / Cancel button.
    virtual void enableOK(bool enable);
    virtual void enableCancel(bool enable);
    /// Hides the dialog, sets the result to 'not!' / 'ok  ' and ends the modal loop.
    virtual void onCancel();
    virtual void onOK();
    /// Shows the window: as a sheet over the parent when its class is sheet (11) or drawer
    /// (15), else selected as a window of its own. `hide` undoes the matching show.
    virtual void show();
    virtual void hide();

    /// Installs on `window` the handler of command events ('ok  ' validates, 'not!' cancels;
    /// other commands pass on). paramErr without a window.
    OSStatus installEventHandler(WindowRef window);
    /// Runs the application-modal loop of the window until OK or Cancel ends it.
    OSStatus waitForUser();
    /// The command that ended the dialog ('ok  ', 'not!'), 0 before.
    unsigned long getResult() const { return mResult; }
    void setResult(unsigned long result) { mResult = result; }
    /// Titles the OK and Cancel buttons with "OK" and "Cancel" of the "Dialogs" table and
    /// sizes each to fit, keeping its right edge.
    void setStandardButtonTitles();
    /// Font, size and style of `control`; negative values keep the control's current ones.
    OSStatus setFontInfo(ControlRef control, short font, short size, short style);

    WindowRef getWindow() const { return mWindow; }
    WindowRef getParent() const { return mParent; }
    /// True between waitForUser and the end of the dialog.
    bool isWaiting() const { return mWaiting; }
    /// The window's control with `id`, or null.
    ControlRef findControl(OSType signature, SInt32 id) const;

protected:
    /// Gives the static text the height its text takes wrapped to its width (theme metrics of
    /// its font size); controls of the window's root that start below its old bottom move by
    /// the difference, and so does the window's bottom. Texts are fitted top to bottom.
    void fitTextHeight(ControlRef text);

    WindowRef mWindow = nullptr;
    unsigned long mResult = 0;
    WindowRef mParent = nullptr;
    bool mWaiting = false;
    EventHandlerRef mHandler = nullptr;
    EventHandlerUPP mHandlerUPP = nullptr;

private:
    static OSStatus CommandHandler(EventHandlerCallRef callRef, EventRef event, void* userData);
    /// Ends the dialog with `result`.
    void finish(unsigned long result);
    bool mShownAsSheet = false;
};

/// The control IDs and commands of every dialog's buttons.
enum : OSType {
    kUIOKButtonSignature = 'ok  ',
    kUICancelButtonSignature = 'canc',
};

#endif // PIGMENTOR_UI_UI_DIALOGWAIT_H
