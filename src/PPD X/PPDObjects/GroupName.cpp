//===- GroupName.cpp - A group declared by name, not yet placed -----------===//
#include "GroupName.h"

#include "TextConverter.h"

GroupName::GroupName(const char* keyword, CFStringRef translation, bool visible)
    : mVisible(visible) {
    if (keyword && keyword[0] != '\0')
        mKeyword = new CString(keyword);
    if (translation) {
        mTranslation = static_cast<CFStringRef>(CFRetain(translation));
        mTranslationText = CFStringToCString(translation);
    }
}

GroupName::~GroupName() {
    delete mKeyword;
    delete mTranslationText;
    if (mTranslation)
        CFRelease(mTranslation);
}

const char* GroupName::Keyword() const {
    // A copy that could not allocate its block is unset; callers see no keyword then.
    return mKeyword && !mKeyword->Empty() ? static_cast<const char*>(*mKeyword) : nullptr;
}

const char* GroupName::TranslationText() const {
    return mTranslationText ? static_cast<const char*>(*mTranslationText) : nullptr;
}
