//===- PPDXElement.cpp - Common base of controls and groups ---------------===//
#include "PPDXElement.h"

#include "PPDXArchiveItems.h"
#include "TextConverter.h"

#include <cstring>
#include <new>

PPDXElement::PPDXElement(const char* keyword, CFStringRef localName, const bool& visible)
    : mVisible(visible) {
    if (keyword && keyword[0])
        mKeyword = new (std::nothrow) CString(keyword);
    if (localName)
        mLocalName = static_cast<CFStringRef>(CFRetain(localName));
}

PPDXElement::PPDXElement(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    mKeyword = GetText(settings, kKeywordTag, id);
    mLocalName = GetName(settings, kLocalNameTag, id);
    // The parent may come later in the archive than its child: keep its keyword until the
    // whole model is rebuilt and links it.
    mParentKeyword = GetText(settings, kParentTag, id);
    GetBool(settings, kVisibleTag, id, mVisible);
}

PPDXElement::~PPDXElement() {
    delete mKeyword;
    delete mUserName;
    delete mParentKeyword;
    if (mLocalName)
        CFRelease(mLocalName);
}

short PPDXElement::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    if (short error = PutText(settings, kKeywordTag, id, Keyword()))
        return error;
    // The text form is for readers that know no Unicode; the rebuild reads the UTF-16 one.
    if (short error = PutText(settings, kUserNameTag, id, UserName()))
        return error;
    if (short error = PutName(settings, kLocalNameTag, id, mLocalName))
        return error;
    if (short error = PutBool(settings, kVisibleTag, id, mVisible))
        return error;
    const char* parent = mParent ? mParent->Keyword() : nullptr;
    return PutText(settings, kParentTag, id, parent);
}

bool PPDXElement::OkayToDisplay(const _DISPLAY_OPTIONS_& options) const {
    switch (options) {
    case 0:
        return !IsOrphan() && mVisible;
    case kShowOrphans:
        return mVisible;
    case kShowHidden:
        return !IsOrphan();
    default:
        return true;
    }
}

const char* PPDXElement::Keyword() const {
    // A keyword whose copy failed is unset; report it as absent, never as a dangling text.
    return mKeyword ? static_cast<const char*>(*mKeyword) : nullptr;
}

const char* PPDXElement::UserName() const {
    if (!mLocalName)
        return nullptr;
    if (!mUserName)
        mUserName = CFStringToCString(mLocalName);
    return mUserName ? static_cast<const char*>(*mUserName) : nullptr;
}

const char* PPDXElement::ParentKeyword() const {
    return mParentKeyword ? static_cast<const char*>(*mParentKeyword) : nullptr;
}

void PPDXElement::SetParentKeyword(const char* keyword) {
    delete mParentKeyword;
    mParentKeyword = keyword && keyword[0] ? new (std::nothrow) CString(keyword) : nullptr;
}

bool PPDXElement::operator==(const PPDXElement& other) const {
    const char* mine = Keyword();
    const char* theirs = other.Keyword();
    return mine && theirs && std::strcmp(mine, theirs) == 0;
}

bool PPDXElement::operator==(const char* keyword) const {
    const char* mine = Keyword();
    return mine && keyword && std::strcmp(mine, keyword) == 0;
}

void PPDXElement::SetLocalName(CFStringRef localName) {
    // Retain first: the new name may be the one already held.
    if (localName)
        CFRetain(localName);
    if (mLocalName)
        CFRelease(mLocalName);
    mLocalName = localName;
    SetUserNameCache(nullptr);
}

void PPDXElement::SetUserNameCache(const char* userName) {
    delete mUserName;
    mUserName = userName ? new (std::nothrow) CString(userName) : nullptr;
}
