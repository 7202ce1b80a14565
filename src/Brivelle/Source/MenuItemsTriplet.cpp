//===- MenuItemsTriplet.cpp - One possible value of a colour keyword ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "MenuItemsTriplet.h"

#include <cstdlib>
#include <cstring>

MenuItemsTriplet::MenuItemsTriplet(const char* keyword, CFStringRef displayName, const char* value)
    : mKeyword(keyword ? strdup(keyword) : nullptr),
      mDisplayName(displayName ? static_cast<CFStringRef>(CFRetain(displayName)) : nullptr),
      mValue(nullptr) {
    // The server's settings carry the same text as keyword and value: kept once.
    if (value && mKeyword && std::strcmp(value, mKeyword) == 0)
        mValue = mKeyword;
    else if (value)
        mValue = strdup(value);
}

MenuItemsTriplet::~MenuItemsTriplet() {
    if (mValue != mKeyword)
        std::free(mValue);
    std::free(mKeyword);
    if (mDisplayName)
        CFRelease(mDisplayName);
}
