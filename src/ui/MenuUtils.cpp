//===- MenuUtils.cpp - Popup menus from PPD popup controls ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ControlUtils.h"

#include "Controls/PPDXPopupControl.h"

unsigned short ControlUtils::SetupMenuFromPPDControl(PPDXPopupControl& control, MenuRef menu) {
    unsigned short position = 1;
    for (_PopupItem* item = control.FirstItem(); item != nullptr; item = control.NextItem()) {
        const char* name = item->displayName();
        if (name == nullptr || *name == '\0')
            return 0;
        // The display name decides whether there is a text; the menu takes the item's local
        // name itself, which the system-encoding display name may only approximate.
        CFStringRef text = item->mLocalName
                               ? static_cast<CFStringRef>(CFRetain(item->mLocalName))
                               : CFStringCreateWithCString(nullptr, name, CFStringGetSystemEncoding());
        if (text == nullptr)
            return 0;
        OSStatus err = position <= CountMenuItems(menu)
                           ? SetMenuItemTextWithCFString(menu, position, text)
                           : AppendMenuItemTextWithCFString(menu, text, 0, 0, nullptr);
        CFRelease(text);
        if (err != noErr || position == 0xFFFF)
            return 0;
        ++position;
    }
    return position;
}

void ControlUtils::resetMenu(MenuRef menu) {
    for (UInt16 n = CountMenuItems(menu); n > 0; --n)
        DeleteMenuItem(menu, n);
}

void ControlUtils::EnableOnly1MenuItem(MenuRef menu, MenuItemIndex index) {
    for (UInt16 n = CountMenuItems(menu); n > 0; --n)
        DisableMenuItem(menu, n);
    EnableMenuItem(menu, index);
}
