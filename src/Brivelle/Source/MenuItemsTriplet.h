//===- MenuItemsTriplet.h - One possible value of a colour keyword -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_MENUITEMSTRIPLET_H
#define PIGMENTOR_BRIVELLE_MENUITEMSTRIPLET_H

#include "CString.h"

#include <CoreFoundation/CoreFoundation.h>

/// One possible setting of a server colour keyword, as a popup menu shows it: the option
/// keyword, its display name and its value text.
///
/// Ownership: the triplet owns copies of the keyword and the value (null stays null; a copy
/// that cannot be made leaves null) and retains the display name (may be null), releasing it
/// with itself. Getters return them unowned. Texts are the server's bytes. A move hands
/// everything over and leaves the source empty.
class MenuItemsTriplet {
public:
    MenuItemsTriplet(const char* keyword, CFStringRef displayName, const char* value);
    /// Takes over what `other` holds, which is left with nulls only.
    MenuItemsTriplet(MenuItemsTriplet&& other) noexcept;
    virtual ~MenuItemsTriplet();
    MenuItemsTriplet(const MenuItemsTriplet&) = delete;
    MenuItemsTriplet& operator=(const MenuItemsTriplet&) = delete;
    MenuItemsTriplet& operator=(MenuItemsTriplet&&) = delete;

    /// The option keyword, or null.
    const char* GetKeyword() const { return mKeyword; }
    /// The display name (not retained), or null.
    CFStringRef GetDisplayName() const { return mDisplayName; }
    /// The value text, or null.
    const char* GetValue() const { return mValueIsKeyword ? mKeyword : mValue; }

private:
    CString mKeyword;
    CFStringRef mDisplayName;
    CString mValue;              // unset when null or when it equals the keyword
    bool mValueIsKeyword = false; // the value is the keyword's text, kept once
};

#endif // PIGMENTOR_BRIVELLE_MENUITEMSTRIPLET_H
