//===- ControlUtils.cpp - Titles, fonts, radio buttons and embedding ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ControlUtils.h"

#include <algorithm>
#include <cstdio>

namespace {

OSType KindOf(ControlRef control) {
    ControlKind kind{0, 0};
    GetControlKind(control, &kind);
    return kind.kind;
}

OSStatus HelpEventHandler(EventHandlerCallRef, EventRef event, void*) {
    HICommand command{};
    GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr, sizeof command,
                      nullptr, &command);
    return eventNotHandledErr;
}

} // namespace

OSStatus ControlUtils::setControlFontInfo(ControlRef control, short font, short size,
                                          short style, short justification) {
    if (control == nullptr)
        return paramErr;
    ControlFontStyleRec record{};
    OSStatus err = GetControlData(control, kControlEntireControl, kControlFontStyleTag,
                                  sizeof record, &record, nullptr);
    if (err != noErr)
        return err;
    if (font >= 0)
        record.font = font, record.flags |= kControlUseFontMask;
    if (size >= 0)
        record.size = size, record.flags |= kControlUseSizeMask;
    if (style >= 0)
        record.style = style, record.flags |= kControlUseFaceMask;
    if (justification >= 0)
        record.just = justification, record.flags |= kControlUseJustMask;
    return SetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof record, &record);
}

OSStatus ControlUtils::SetControlTitle(ControlRef control, CFStringRef text) {
    if (text == nullptr)
        return noErr;
    const OSType kind = KindOf(control);
    if (kind == kControlKindRadioGroup || kind == kControlKindStaticText)
        return SetControlData(control, kControlEntireControl, kControlStaticTextCFStringTag,
                              sizeof text, &text);
    return SetControlTitleWithCFString(control, text);
}

OSStatus ControlUtils::SetControlTitle(ControlRef control, const char* text) {
    if (text == nullptr)
        return noErr;
    CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    if (s == nullptr)
        return paramErr;
    OSStatus err = SetControlTitle(control, s);
    CFRelease(s);
    return err;
}

OSStatus ControlUtils::SetRadioButtonText(ControlRef group, UInt16 index, CFStringRef text) {
    ControlRef button = nullptr;
    OSStatus err = GetIndexedSubControl(group, index, &button);
    return err == noErr ? SetControlTitle(button, text) : err;
}

OSStatus ControlUtils::SetRadioButtonText(ControlRef group, UInt16 index, const char* text) {
    ControlRef button = nullptr;
    OSStatus err = GetIndexedSubControl(group, index, &button);
    return err == noErr ? SetControlTitle(button, text) : err;
}

void ControlUtils::ShowRadioButton(ControlRef group, UInt16 index) {
    ControlRef button = nullptr;
    if (GetIndexedSubControl(group, index, &button) == noErr)
        SetControlVisibility(button, true, true);
}

void ControlUtils::HideRadioButton(ControlRef group, UInt16 index) {
    ControlRef button = nullptr;
    if (GetIndexedSubControl(group, index, &button) == noErr)
        SetControlVisibility(button, false, true);
}

void ControlUtils::PrepForPopup(const char* name, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0)
        return;
    std::snprintf(buffer, size, "%s: ", name ? name : "");
}

OSStatus ControlUtils::MyEmbedControl(WindowRef window, ControlRef container, ControlRef control,
                                      ControlRef* out) {
    if (window == nullptr || container == nullptr || control == nullptr)
        return paramErr;
    Rect windowRect, pane, bounds;
    GetWindowPortBounds(window, &windowRect);
    GetControlBounds(container, &pane);
    GetControlBounds(control, &bounds);
    const int dh = pane.left + std::max(0, ((pane.right - pane.left) - (windowRect.right - windowRect.left)) / 2);
    const int dv = pane.top + std::max(0, ((pane.bottom - pane.top) - (windowRect.bottom - windowRect.top)) / 2);
    MoveControl(control, static_cast<SInt16>(bounds.left + dh), static_cast<SInt16>(bounds.top + dv));
    SetControlVisibility(control, true, false);
    OSStatus err = EmbedControl(control, container);
    if (err == noErr && out != nullptr)
        *out = control;
    return err;
}

OSStatus ControlUtils::MyEmbedControl(WindowRef window, ControlRef container, const ControlID& id,
                                      ControlRef* out) {
    ControlRef control = nullptr;
    OSStatus err = GetControlByID(window, &id, &control);
    if (err != noErr)
        return err;
    return MyEmbedControl(window, container, control, out);
}

OSStatus ControlUtils::MyInstallHelpEventHandler(WindowRef window, EventHandlerRef* handler,
                                                 EventHandlerUPP* upp) {
    if (window == nullptr || handler == nullptr || upp == nullptr)
        return paramErr;
    const EventTypeSpec type{kEventClassCommand, kEventCommandProcess};
    *upp = NewEventHandlerUPP(HelpEventHandler);
    OSStatus err = InstallWindowEventHandler(window, *upp, 1, &type, nullptr, handler);
    if (err != noErr) {
        DisposeEventHandlerUPP(*upp);
        *upp = nullptr;
        *handler = nullptr;
    }
    return err;
}

OSStatus ControlUtils::MyRemoveHelpEventHandler(EventHandlerRef* handler, EventHandlerUPP* upp) {
    OSStatus err = noErr;
    if (handler && *handler) {
        err = RemoveEventHandler(*handler);
        *handler = nullptr;
    }
    if (upp && *upp) {
        DisposeEventHandlerUPP(*upp);
        *upp = nullptr;
    }
    return err;
}
