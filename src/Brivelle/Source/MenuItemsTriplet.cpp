//===- MenuItemsTriplet.cpp - One possible value of a colour keyword ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "MenuItemsTriplet.h"

#include <cstdlib>
#include <cstring>

MenuItemsTriplet::MenuItemsTriplet(const char* keyword, CFStringRef displayName, const char* value)
    : mKeyword(Copy(keyword)),
      mDisplayName(displayName ? static_cast<CFStringRef>(CFRetain(displayName)) : nullptr),
      mValue(nullptr) {
    // The server's settings carry the same text as keyword and value: kept once.
    if (value && mKeyword && std::strcmp(value, mKeyword) == 0)
        mValue = mKeyword;
    else if (value)
        mValue = strdup(value);
}

MenuItemsTriplet::MenuItemsTriplet(MenuItemsTriplet&& other) noexcept
    : mKeyword(other.mKeyword), mDisplayName(other.mDisplayName), mValue(other.mValue) {
    // A keyword kept in the object moves with it; a value sharing the keyword follows.
    if (other.mKeyword == other.mShort) {
        std::memcpy(mShort, other.mShort, sizeof mShort);
        mKeyword = mShort;
    }
    if (other.mValue == other.mKeyword)
        mValue = mKeyword;
    other.mKeyword = nullptr;
    other.mDisplayName = nullptr;
    other.mValue = nullptr;
}

MenuItemsTriplet::~MenuItemsTriplet() {
    if (mValue != mKeyword)
        std::free(mValue);
    Free(mKeyword);
    if (mDisplayName)
        CFRelease(mDisplayName);
}

char* MenuItemsTriplet::Copy(const char* text) {
    // A fetch makes dozens of settings; keeping short keywords in the object saves each one
    // an allocation.
    if (!text)
        return nullptr;
    const size_t size = std::strlen(text) + 1;
    if (size > sizeof mShort)
        return strdup(text);
    std::memcpy(mShort, text, size);
    return mShort;
}

void MenuItemsTriplet::Free(char* text) {
    if (text != mShort)
        std::free(text);
}
