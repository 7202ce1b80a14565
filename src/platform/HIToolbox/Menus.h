#pragma once
/// Menus: the item lists of popup buttons.
///
/// A menu is reference-counted (`CreateNewMenu` gives one reference; `ReleaseMenu` or
/// `DisposeMenu` drops it); a popup button holds a reference to its menu. Item texts are
/// CFStrings; indexes count from 1. Main thread only.

#include <CoreFoundation/CFString.h>
#include <HIToolbox/QuickDraw.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueMenuRef* MenuRef;
typedef MenuRef MenuHandle;
typedef UInt16 MenuItemIndex;
typedef SInt16 MenuID;
typedef UInt32 MenuAttributes;
typedef UInt32 MenuItemAttributes;
typedef UInt32 MenuCommand;

OSStatus CreateNewMenu(MenuID menuID, MenuAttributes attributes, MenuRef* outMenu);
OSStatus RetainMenu(MenuRef menu);
OSStatus ReleaseMenu(MenuRef menu);
void DisposeMenu(MenuRef menu);
MenuID GetMenuID(MenuRef menu);

UInt16 CountMenuItems(MenuRef menu);
/// Appends an item with `text`; its index is returned in outNewItem when not NULL.
OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text,
                                        MenuItemAttributes attributes, MenuCommand commandID,
                                        MenuItemIndex* outNewItem);
/// Inserts an item after `afterItem` (0: first).
OSStatus InsertMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemIndex afterItem,
                                        MenuItemAttributes attributes, MenuCommand commandID);
OSStatus SetMenuItemTextWithCFString(MenuRef menu, MenuItemIndex item, CFStringRef text);
/// The item's text (caller releases).
OSStatus CopyMenuItemTextAsCFString(MenuRef menu, MenuItemIndex item, CFStringRef* outText);
void DeleteMenuItem(MenuRef menu, MenuItemIndex item);
OSStatus DeleteMenuItems(MenuRef menu, MenuItemIndex firstItem, ItemCount numItems);
/// Item 0 is the whole menu.
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);
OSStatus SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand commandID);
OSStatus GetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand* outCommandID);
/// Check mark of an item (popups mark their current item).
void CheckMenuItem(MenuRef menu, MenuItemIndex item, Boolean checked);

/// Recomputes the menu's size from its items (the theme metrics of Appearance.h).
void CalcMenuSize(MenuRef menu);
/// Width in pixels: the widest item text in the system font plus 32 (check-mark column and
/// margins); 0 for an empty menu. Always current: CalcMenuSize is only needed by habit.
SInt16 GetMenuWidth(MenuRef menu);
SInt16 GetMenuHeight(MenuRef menu);

#ifdef __cplusplus
}
#endif
