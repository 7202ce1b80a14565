//===- ControlSizing.cpp - Sizing controls to fit their text --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ControlUtils.h"

#include <algorithm>

namespace {

OSType KindOf(ControlRef control) {
    ControlKind kind{0, 0};
    GetControlKind(control, &kind);
    return kind.kind;
}

void SetWidth(ControlRef control, int left, int right) {
    Rect bounds;
    GetControlBounds(control, &bounds);
    bounds.left = static_cast<short>(std::clamp(left, -32768, 32767));
    bounds.right = static_cast<short>(std::clamp(right, -32768, 32767));
    SetControlBounds(control, &bounds);
}

} // namespace

SInt16 ControlUtils::measureControlText(ControlRef control, WindowRef window, bool useText) {
    CFStringRef text = nullptr;
    if (useText) {
        GetControlData(control, kControlEntireControl, kControlStaticTextCFStringTag, sizeof text,
                       &text, nullptr);
    } else {
        CopyControlTitleAsCFString(control, &text);
    }
    if (text == nullptr)
        return 0;
    ControlFontStyleRec style{};
    GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof style, &style, nullptr);
    const bool small = (style.flags & kControlUseSizeMask) != 0 && style.size == 11;

    // Measure in the window's port with the control's font, then put everything back.
    GrafPtr savedPort = nullptr;
    GetPort(&savedPort);
    SetPortWindowPort(window);
    CGrafPtr port = GetWindowPort(window);
    const short savedFont = GetPortTextFont(port), savedSize = GetPortTextSize(port);
    const Style savedFace = GetPortTextFace(port);
    if (style.flags & kControlUseFontMask)
        TextFont(style.font);
    if (style.flags & kControlUseFaceMask)
        TextFace(style.style);
    if (style.flags & kControlUseSizeMask)
        TextSize(style.size);
    Point size{0, 0};
    GetThemeTextDimensions(text, small ? kThemeSmallSystemFont : kThemeSystemFont,
                           kThemeStateActive, false, &size, nullptr);
    TextFont(savedFont);
    TextSize(savedSize);
    TextFace(savedFace);
    SetPort(savedPort);
    CFRelease(text);
    return size.h;
}

void ControlUtils::sizePushButton(ControlRef control, WindowRef window, bool growRight) {
    Rect bounds;
    GetControlBounds(control, &bounds);
    const int needed = measureControlText(control, window, false) + 28;
    if (needed <= bounds.right - bounds.left)
        return;
    if (growRight)
        SetWidth(control, bounds.left, bounds.left + std::min(needed, 200) + 28);
    else
        SetWidth(control, bounds.right - needed - 28, bounds.right);
}

void ControlUtils::sizeCheckBox(ControlRef control, WindowRef window, bool growRight) {
    Rect bounds;
    GetControlBounds(control, &bounds);
    const int needed = measureControlText(control, window, false) + 20;
    if (growRight)
        SetWidth(control, bounds.left, bounds.left + needed);
    else
        SetWidth(control, bounds.right - needed, bounds.right);
}

void ControlUtils::sizeTextControl(ControlRef control, WindowRef window) {
    Rect bounds;
    GetControlBounds(control, &bounds);
    SetWidth(control, bounds.left, bounds.left + measureControlText(control, window, true) + 28);
}

void ControlUtils::sizePopup(ControlRef control, WindowRef) {
    Rect bounds;
    GetControlBounds(control, &bounds);
    const int menuWidth = GetMenuWidth(GetControlPopupMenuRef(control));
    if (menuWidth != bounds.right - bounds.left)
        SetWidth(control, bounds.left, bounds.left + std::min(menuWidth + 24, 190));
}

void ControlUtils::SizeControl(ControlRef control, WindowRef window, bool growRight) {
    if (control == nullptr)
        return;
    switch (KindOf(control)) {
    case kControlKindPopupButton:
        sizePopup(control, window);
        break;
    case kControlKindCheckBox:
        sizeCheckBox(control, window, growRight);
        break;
    case kControlKindPushButton:
        sizePushButton(control, window, growRight);
        break;
    case kControlKindStaticText:
        sizeTextControl(control, window);
        break;
    default:
        break;
    }
}
