//===- UI_DialogWindow.cpp - The plumbing the dialog classes share --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_DialogWindow.h"

#include "ControlUtils.h"
#include "PDEBundle.h"

namespace UI_DialogWindow {

ControlRef FindControl(WindowRef window, OSType signature, SInt32 id) {
    if (window == nullptr)
        return nullptr;
    const ControlID cid{signature, id};
    ControlRef control = nullptr;
    return GetControlByID(window, &cid, &control) == noErr ? control : nullptr;
}

bool Show(WindowRef window, WindowRef parent) {
    if (window == nullptr)
        return false;
    WindowClass windowClass = 0;
    GetWindowClass(window, &windowClass);
    const bool sheetClass = windowClass == kSheetWindowClass || windowClass == kDrawerWindowClass;
    // A sheet without a usable parent is still shown, as a window of its own.
    if (sheetClass && parent && ShowSheetWindow(window, parent) == noErr)
        return true;
    // Selected first, so that it comes up in front rather than behind and then raised.
    SelectWindow(window);
    ShowWindow(window);
    return false;
}

bool Hide(WindowRef window, bool& shownAsSheet) {
    if (window == nullptr)
        return false;
    if (shownAsSheet) {
        HideSheetWindow(window);
        shownAsSheet = false;
        return false;
    }
    HideWindow(window);
    return true;
}

OSStatus InstallHandler(WindowRef window, EventHandlerProcPtr proc, ItemCount count,
                        const EventTypeSpec* types, void* userData, EventHandlerUPP& upp,
                        EventHandlerRef& handler) {
    if (window == nullptr)
        return paramErr;
    RemoveHandler(upp, handler);
    upp = NewEventHandlerUPP(proc);
    return InstallWindowEventHandler(window, upp, count, types, userData, &handler);
}

void RemoveHandler(EventHandlerUPP& upp, EventHandlerRef& handler) {
    if (handler) {
        RemoveEventHandler(handler);
        handler = nullptr;
    }
    if (upp) {
        DisposeEventHandlerUPP(upp);
        upp = nullptr;
    }
}

OSStatus RunModal(WindowRef window, bool& running) {
    if (window == nullptr)
        return paramErr;
    running = true;
    const OSStatus err = RunAppModalLoopForWindow(window);
    running = false;
    return err;
}

void SetStandardButtonTitles(WindowRef window, CFStringRef table) {
    const struct {
        OSType signature;
        CFStringRef key;
    } buttons[] = {{'ok  ', CFSTR("OK")}, {'canc', CFSTR("Cancel")}};
    for (const auto& b : buttons) {
        ControlRef button = FindControl(window, b.signature, 0);
        CFStringRef title = table ? PDEBundle::GetLocalizedCFStringFromFile(b.key, table)
                                  : PDEBundle::GetLocalizedCFString(b.key);
        if (button && title) {
            ControlUtils::SetControlTitle(button, title);
            ControlUtils::SizeControl(button, window, false);
        }
        if (title)
            CFRelease(title);
    }
}

bool GetCommand(EventRef event, HICommand& command) {
    return GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                             sizeof command, nullptr, &command) == noErr;
}

} // namespace UI_DialogWindow
