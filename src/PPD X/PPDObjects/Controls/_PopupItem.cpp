//===- _PopupItem.cpp - One choice of a popup control ---------------------===//
#include "_PopupItem.h"

#include "TextConverter.h"

#include <climits>
#include <cstdlib>
#include <cstring>

_PopupItem::_PopupItem(const char* keyword, CFStringRef localName, unsigned char* psData,
                       long psLength)
    : mLocalName(localName), mPSData(psData), mPSLength(psLength), mKeyword(keyword) {}

_PopupItem::~_PopupItem() {
    if (mLocalName)
        CFRelease(mLocalName);
    std::free(mPSData);
    std::free(mDisplayName);
}

const char* _PopupItem::Keyword() const {
    return mKeyword;
}

bool _PopupItem::HasKeyword(const char* keyword) const {
    const char* mine = Keyword();
    return mine && keyword && std::strcmp(mine, keyword) == 0;
}

const char* _PopupItem::displayName() {
    if (mDisplayName || !mLocalName)
        return mDisplayName;
    CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(mLocalName),
                                                     CFStringGetSystemEncoding());
    if (size < 0 || size == LONG_MAX)
        return nullptr;
    mDisplayName = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1));
    if (mDisplayName)
        TextConverter::CFStringToCstring(mLocalName, mDisplayName, size + 1);
    return mDisplayName;
}
