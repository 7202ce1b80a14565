// Menus: item lists shared by popup buttons.
#include "HIObjects.h"
#include <HIToolbox/Appearance.h>

#include <algorithm>

namespace {
OpaqueMenuRef::Item* ItemAt(MenuRef menu, MenuItemIndex item) {
    if (!hi::IsLiveMenu(menu) || item < 1 || item > menu->items.size())
        return nullptr;
    return &menu->items[item - 1];
}

void Changed(MenuRef menu) {
    for (ControlRef popup : menu->owners)
        hi::ControlChanged(popup);
}

void Destroy(MenuRef menu) {
    for (auto& item : menu->items)
        hi::SetString(item.text, nullptr);
    hi::RegisterMenu(menu, false);
    delete menu;
}
} // namespace

extern "C" {

OSStatus CreateNewMenu(MenuID menuID, MenuAttributes, MenuRef* outMenu) {
    if (outMenu == nullptr)
        return paramErr;
    auto* menu = new OpaqueMenuRef;
    menu->id = menuID;
    hi::RegisterMenu(menu, true);
    *outMenu = menu;
    return noErr;
}

OSStatus RetainMenu(MenuRef menu) {
    if (!hi::IsLiveMenu(menu))
        return menuInvalidErr;
    ++menu->refs;
    return noErr;
}

OSStatus ReleaseMenu(MenuRef menu) {
    if (!hi::IsLiveMenu(menu))
        return menuInvalidErr;
    if (--menu->refs == 0)
        Destroy(menu);
    return noErr;
}

void DisposeMenu(MenuRef menu) { ReleaseMenu(menu); }

MenuID GetMenuID(MenuRef menu) { return hi::IsLiveMenu(menu) ? menu->id : 0; }

UInt16 CountMenuItems(MenuRef menu) {
    return hi::IsLiveMenu(menu) ? static_cast<UInt16>(menu->items.size()) : 0;
}

OSStatus InsertMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemIndex afterItem,
                                        MenuItemAttributes, MenuCommand commandID) {
    if (!hi::IsLiveMenu(menu))
        return menuInvalidErr;
    if (text == nullptr)
        return paramErr;
    // Item indexes are 16-bit: a menu is full at 65535 items.
    if (menu->items.size() >= 0xFFFF)
        return memFullErr;
    size_t at = std::min<size_t>(afterItem, menu->items.size());
    OpaqueMenuRef::Item item;
    hi::SetString(item.text, text);
    item.command = commandID;
    menu->items.insert(menu->items.begin() + static_cast<long>(at), item);
    Changed(menu);
    return noErr;
}

OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text,
                                        MenuItemAttributes attributes, MenuCommand commandID,
                                        MenuItemIndex* outNewItem) {
    OSStatus err = InsertMenuItemTextWithCFString(menu, text, 0xFFFF, attributes, commandID);
    if (err == noErr && outNewItem)
        *outNewItem = static_cast<MenuItemIndex>(menu->items.size());
    return err;
}

OSStatus SetMenuItemTextWithCFString(MenuRef menu, MenuItemIndex index, CFStringRef text) {
    OpaqueMenuRef::Item* item = ItemAt(menu, index);
    if (item == nullptr)
        return hi::IsLiveMenu(menu) ? menuItemNotFoundErr : menuInvalidErr;
    if (text == nullptr)
        return paramErr;
    hi::SetString(item->text, text);
    Changed(menu);
    return noErr;
}

OSStatus CopyMenuItemTextAsCFString(MenuRef menu, MenuItemIndex index, CFStringRef* outText) {
    OpaqueMenuRef::Item* item = ItemAt(menu, index);
    if (outText == nullptr)
        return paramErr;
    if (item == nullptr)
        return hi::IsLiveMenu(menu) ? menuItemNotFoundErr : menuInvalidErr;
    *outText = static_cast<CFStringRef>(CFRetain(item->text));
    return noErr;
}

void DeleteMenuItem(MenuRef menu, MenuItemIndex index) {
    if (ItemAt(menu, index) == nullptr)
        return;
    hi::SetString(menu->items[index - 1].text, nullptr);
    menu->items.erase(menu->items.begin() + (index - 1));
    Changed(menu);
}

OSStatus DeleteMenuItems(MenuRef menu, MenuItemIndex firstItem, ItemCount numItems) {
    if (!hi::IsLiveMenu(menu))
        return menuInvalidErr;
    if (ItemAt(menu, firstItem) == nullptr)
        return menuItemNotFoundErr;
    for (ItemCount i = 0; i < numItems && firstItem <= menu->items.size(); ++i)
        DeleteMenuItem(menu, firstItem);
    return noErr;
}

void EnableMenuItem(MenuRef menu, MenuItemIndex index) {
    if (index == 0 && hi::IsLiveMenu(menu)) {
        menu->enabled = true;
        Changed(menu);
    } else if (OpaqueMenuRef::Item* item = ItemAt(menu, index)) {
        item->enabled = true;
        Changed(menu);
    }
}

void DisableMenuItem(MenuRef menu, MenuItemIndex index) {
    if (index == 0 && hi::IsLiveMenu(menu)) {
        menu->enabled = false;
        Changed(menu);
    } else if (OpaqueMenuRef::Item* item = ItemAt(menu, index)) {
        item->enabled = false;
        Changed(menu);
    }
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex index) {
    if (index == 0)
        return hi::IsLiveMenu(menu) && menu->enabled;
    OpaqueMenuRef::Item* item = ItemAt(menu, index);
    return item != nullptr && item->enabled && menu->enabled;
}

OSStatus SetMenuItemCommandID(MenuRef menu, MenuItemIndex index, MenuCommand commandID) {
    OpaqueMenuRef::Item* item = ItemAt(menu, index);
    if (item == nullptr)
        return hi::IsLiveMenu(menu) ? menuItemNotFoundErr : menuInvalidErr;
    item->command = commandID;
    return noErr;
}

OSStatus GetMenuItemCommandID(MenuRef menu, MenuItemIndex index, MenuCommand* outCommandID) {
    OpaqueMenuRef::Item* item = ItemAt(menu, index);
    if (outCommandID == nullptr)
        return paramErr;
    if (item == nullptr)
        return hi::IsLiveMenu(menu) ? menuItemNotFoundErr : menuInvalidErr;
    *outCommandID = item->command;
    return noErr;
}

void CheckMenuItem(MenuRef menu, MenuItemIndex index, Boolean checked) {
    if (OpaqueMenuRef::Item* item = ItemAt(menu, index)) {
        item->checked = checked;
        Changed(menu);
    }
}

void CalcMenuSize(MenuRef) {}

SInt16 GetMenuWidth(MenuRef menu) {
    if (!hi::IsLiveMenu(menu) || menu->items.empty())
        return 0;
    int widest = 0;
    for (const auto& item : menu->items)
        widest = std::max<int>(widest, HIThemeTextWidth(item.text, HIThemeFontSize(kThemeSystemFont)));
    return static_cast<SInt16>(std::min(widest + 32, 32767));
}

SInt16 GetMenuHeight(MenuRef menu) {
    // One row of the system font plus 4 pixels of spacing per item.
    return hi::IsLiveMenu(menu) ? static_cast<SInt16>(std::min<size_t>(menu->items.size() * 21, 32767)) : 0;
}

} // extern "C"
