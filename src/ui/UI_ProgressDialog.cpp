//===- UI_ProgressDialog.cpp - A captioned progress window ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_ProgressDialog.h"

#include "ControlUtils.h"
#include "PDEBundle.h"

UI_ProgressDialog::UI_ProgressDialog(CFStringRef title, CFStringRef caption) : UI_DialogWait(nullptr) {
    CFBundleRef bundle = PDEBundle::GetBundle();
    if (bundle == nullptr || CreateNibReferenceWithCFBundle(bundle, CFSTR("BidiUI"), &mNib) != noErr) {
        mNib = nullptr;
        return;
    }
    if (CreateWindowFromNib(mNib, CFSTR("Progress Dialog"), &mWindow) != noErr) {
        mWindow = nullptr;
        return;
    }
    setStandardButtonTitles();
    // Cancel must do something a person can see: it hides the window and records 'not!'.
    if (installEventHandler(mWindow) != noErr)
        return;
    mInitialized = true;
    update(title, caption);
}

UI_ProgressDialog::~UI_ProgressDialog() {
    if (mNib)
        DisposeNibReference(mNib);
}

void UI_ProgressDialog::update(CFStringRef title, CFStringRef caption) {
    if (!mInitialized)
        return;
    if (title)
        SetWindowTitleWithCFString(mWindow, title);
    if (caption)
        if (ControlRef text = findControl('capt', 1))
            ControlUtils::SetControlTitle(text, caption);
}
