//===- UI_DialogWait.cpp - Modal dialogs that wait for OK or Cancel -------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_DialogWait.h"

#include "ControlUtils.h"
#include "UI_DialogWindow.h"

#include <algorithm>

UI_DialogWait::UI_DialogWait(WindowRef parent) : mParent(parent) {}

UI_DialogWait::~UI_DialogWait() {
    UI_DialogWindow::RemoveHandler(mHandlerUPP, mHandler);
    if (mWindow && IsValidWindowPtr(mWindow)) {
        if (mShownAsSheet)
            HideSheetWindow(mWindow);
        DisposeWindow(mWindow);
    }
}

int UI_DialogWait::validateInput() { return 1; }

void UI_DialogWait::enableOK(bool enable) {
    if (ControlRef button = findControl(kUIOKButtonSignature, 0))
        enable ? EnableControl(button) : DisableControl(button);
}

void UI_DialogWait::enableCancel(bool enable) {
    if (ControlRef button = findControl(kUICancelButtonSignature, 0))
        enable ? EnableControl(button) : DisableControl(button);
}

void UI_DialogWait::finish(unsigned long result) {
    hide();
    mResult = result;
    mWaiting = false;
    if (mWindow)
        QuitAppModalLoopForWindow(mWindow);
}

void UI_DialogWait::onCancel() { finish(kHICommandCancel); }
void UI_DialogWait::onOK() { finish(kHICommandOK); }

void UI_DialogWait::show() {
    if (UI_DialogWindow::Show(mWindow, mParent))
        mShownAsSheet = true;
}

void UI_DialogWait::hide() { UI_DialogWindow::Hide(mWindow, mShownAsSheet); }

OSStatus UI_DialogWait::installEventHandler(WindowRef window) {
    const EventTypeSpec type{kEventClassCommand, kEventCommandProcess};
    return UI_DialogWindow::InstallHandler(window, CommandHandler, 1, &type, this, mHandlerUPP,
                                           mHandler);
}

OSStatus UI_DialogWait::CommandHandler(EventHandlerCallRef, EventRef event, void* userData) {
    auto* dialog = static_cast<UI_DialogWait*>(userData);
    HICommand command{};
    if (!UI_DialogWindow::GetCommand(event, command))
        return eventNotHandledErr;
    switch (command.commandID) {
    case kHICommandCancel:
        dialog->onCancel();
        return noErr;
    case kHICommandOK:
        switch (dialog->validateInput()) {
        case -1:
            dialog->onCancel();
            break;
        case 1:
            dialog->onOK();
            break;
        default:
            break; // the input needs correcting: the dialog stays open
        }
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

OSStatus UI_DialogWait::waitForUser() { return UI_DialogWindow::RunModal(mWindow, mWaiting); }

void UI_DialogWait::setStandardButtonTitles() {
    UI_DialogWindow::SetStandardButtonTitles(mWindow, CFSTR("Dialogs"));
}

OSStatus UI_DialogWait::setFontInfo(ControlRef control, short font, short size, short style) {
    return ControlUtils::setControlFontInfo(control, font, size, style, -1);
}

ControlRef UI_DialogWait::findControl(OSType signature, SInt32 id) const {
    return UI_DialogWindow::FindControl(mWindow, signature, id);
}

void UI_DialogWait::fitTextHeight(ControlRef text) {
    // A NIB's height suits a usual text; a short one would leave a hole and a long one would be
    // cut, so the window is fitted to the words it shows in the current language.
    if (text == nullptr || mWindow == nullptr)
        return;
    CFStringRef string = nullptr;
    Size got = 0;
    if (GetControlData(text, kControlEntireControl, kControlStaticTextCFStringTag, sizeof string,
                       &string, &got) != noErr || string == nullptr)
        return;
    ControlFontStyleRec style{};
    GetControlData(text, kControlEntireControl, kControlFontStyleTag, sizeof style, &style, nullptr);
    const bool small = (style.flags & kControlUseSizeMask) && style.size == 11;
    Rect bounds;
    GetControlBounds(text, &bounds);
    Point size{0, static_cast<SInt16>(bounds.right - bounds.left)};
    GetThemeTextDimensions(string, small ? kThemeSmallSystemFont : kThemeSystemFont,
                           kThemeStateActive, true, &size, nullptr);
    CFRelease(string);
    const int needed = std::clamp<int>(size.v, 1, 1000);
    const int delta = needed - (bounds.bottom - bounds.top);
    if (delta == 0)
        return;
    const SInt16 oldBottom = bounds.bottom;
    bounds.bottom = static_cast<SInt16>(bounds.top + needed);
    SetControlBounds(text, &bounds);
    ControlRef root = nullptr;
    UInt16 count = 0;
    GetRootControl(mWindow, &root);
    CountSubControls(root, &count);
    for (UInt16 i = 1; i <= count; ++i) {
        ControlRef each = nullptr;
        Rect r;
        if (GetIndexedSubControl(root, i, &each) != noErr || each == text)
            continue;
        GetControlBounds(each, &r);
        if (r.top >= oldBottom)
            MoveControl(each, r.left, static_cast<SInt16>(r.top + delta));
    }
    Rect window;
    GetWindowBounds(mWindow, kWindowContentRgn, &window);
    window.bottom = static_cast<SInt16>(window.bottom + delta);
    SetWindowBounds(mWindow, kWindowContentRgn, &window);
}
