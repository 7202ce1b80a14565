//===- UI_ProgressDialog.h - A captioned progress window --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_PROGRESSDIALOG_H
#define PIGMENTOR_UI_UI_PROGRESSDIALOG_H

#include "UI_DialogWait.h"

/// A window with a busy indicator, a one-line caption ('capt' 1) and a Cancel button, from the
/// window "Progress Dialog" of the bundle's NIB "BidiUI". Cancel hides it with the result
/// 'not!'; whoever runs the work reads the result. Titles and captions are retained by the
/// window, not by the dialog. Needs the default bundle (PDEBundle::InitBundle); without it, or
/// without the NIB or window, the dialog is not initialised and `update` does nothing.
/// Main thread only.
class UI_ProgressDialog : public UI_DialogWait {
public:
    /// `title` and `caption` may be null (the NIB's own stay).
    UI_ProgressDialog(CFStringRef title, CFStringRef caption);
    ~UI_ProgressDialog() override;

    /// A non-null title becomes the window title, a non-null caption the caption.
    void update(CFStringRef title, CFStringRef caption);
    bool isInitialized() const { return mInitialized; }

private:
    IBNibRef mNib = nullptr;
    bool mInitialized = false;
};

#endif // PIGMENTOR_UI_UI_PROGRESSDIALOG_H
