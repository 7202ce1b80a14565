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
      mValue(value ? strdup(value) : nullptr) {}

MenuItemsTriplet::~MenuItemsTriplet() {
    std::free(mKeyword);
    std::free(mValue);
    if (mDisplayName)
        CFRelease(mDisplayName);
}
