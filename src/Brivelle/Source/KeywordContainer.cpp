//===- KeywordContainer.cpp - One server colour keyword -------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "KeywordContainer.h"

#include "BrivelleText.h"
#include "MenuItemsTriplet.h"

#include <cstring>
#include <new>

KeywordContainer::KeywordContainer(const char* keyword)
    : mKeyword(), mLocalizedName(nullptr), mDefaultItem() {
    // Our choice: a keyword longer than 255 bytes is cut, like the default item.
    CopyBounded(mKeyword, sizeof mKeyword, keyword);
}

KeywordContainer::~KeywordContainer() {
    if (mLocalizedName)
        CFRelease(mLocalizedName);
}

void KeywordContainer::SetLocalizedName(CFStringRef name) {
    CFStringRef old = mLocalizedName;
    if (name)
        mLocalizedName = static_cast<CFStringRef>(CFRetain(name));
    else
        mLocalizedName = CreateServerString(mKeyword, sizeof mKeyword);
    if (old)
        CFRelease(old);
}

void KeywordContainer::SetDefaultItem(const char* value) {
    CopyBounded(mDefaultItem, sizeof mDefaultItem, value);
}

bool KeywordContainer::AddSettingString(const char* keyword, CFStringRef displayName,
                                        const char* value) {
    CFStringRef fallback = nullptr;
    if (!displayName && keyword)
        displayName = fallback = CreateServerString(keyword, std::strlen(keyword));
    // A keyword has a handful of settings: one allocation for them rather than a growing run.
    if (mSettings.empty())
        mSettings.reserve(8);
    mSettings.emplace_back(keyword, displayName, value);
    if (fallback)
        CFRelease(fallback);
    return true;
}
