//===- MenuItemsTriplet.cpp - One possible value of a colour keyword ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "MenuItemsTriplet.h"

#include <cstring>
#include <utility>

MenuItemsTriplet::MenuItemsTriplet(const char* keyword, CFStringRef displayName, const char* value)
    : mKeyword(keyword),
      mDisplayName(displayName ? static_cast<CFStringRef>(CFRetain(displayName)) : nullptr) {
    // The server's settings carry the same text as keyword and value: kept once.
    if (value && mKeyword && std::strcmp(value, mKeyword) == 0)
        mValueIsKeyword = true;
    else
        mValue = value;
}

MenuItemsTriplet::MenuItemsTriplet(MenuItemsTriplet&& other) noexcept
    : mKeyword(std::move(other.mKeyword)), mDisplayName(other.mDisplayName),
      mValue(std::move(other.mValue)), mValueIsKeyword(other.mValueIsKeyword) {
    other.mDisplayName = nullptr;
    other.mValueIsKeyword = false;
}

MenuItemsTriplet::~MenuItemsTriplet() {
    if (mDisplayName)
        CFRelease(mDisplayName);
}
