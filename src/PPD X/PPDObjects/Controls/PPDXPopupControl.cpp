//===- PPDXPopupControl.cpp - A choice among option keywords --------------===//
#include "PPDXPopupControl.h"

#include <cstring>
#include <new>

namespace {

_PopupItem* itemAt(const PointerListItr& it) {
    return static_cast<_PopupItem*>(*it);
}

} // namespace

PPDXPopupControl::PPDXPopupControl(const char* keyword, CFStringRef localName, PointerList& flags,
                                   const bool& visible, const bool& multipleSelection,
                                   PointerList& items, CString* defaultKeyword)
    : PPDXControl(keyword, localName, flags, nullptr, 0, visible),
      mMultipleSelection(multipleSelection), mDefaultKeyword(defaultKeyword) {
    mType = kPopupType;
    TakeItems(items);
    if (GetDefaultKeyword())
        SetKeywordSelect(GetDefaultKeyword(), true);
}

PPDXPopupControl::~PPDXPopupControl() {
    DeleteItems();
    delete mDefaultKeyword;
}

void PPDXPopupControl::DeleteItems() {
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it)
        delete itemAt(it);
    mItems.MakeEmpty();
    mItemItr = PointerListItr();
    mCurrentItem = PointerListItr();
}

void PPDXPopupControl::TakeItems(PointerList& items) {
    for (PointerListItr it = items.Begin(); it != items.End(); ++it) {
        _PopupItem* item = itemAt(it);
        // An item that cannot be linked in would have no owner left.
        if (item && !mItems.PushBack(item).mNode)
            delete item;
    }
}

long PPDXPopupControl::PostScript(unsigned char* out) {
    _PopupItem* current = CurrentItem();
    if (!current || !current->Keyword())
        return 0;
    return GetKeywordPSData(current->Keyword(), out);
}

CFStringRef PPDXPopupControl::GetCurrentControlValueString() {
    _PopupItem* current = CurrentItem();
    if (!current || !current->Keyword())
        return nullptr;
    // Option keywords are ASCII; the system encoding reads them alike and accepts any byte.
    return CFStringCreateWithCString(kCFAllocatorDefault, current->Keyword(),
                                     CFStringGetSystemEncoding());
}

void PPDXPopupControl::SetCurrentControlWithCFString(CFStringRef value) {
    if (!value)
        return;
    CString text(value);
    if (!static_cast<const char*>(text))
        return;
    long position = 1;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++position)
        if (itemAt(it)->HasKeyword(text)) {
            SetValue(position);
            return;
        }
}

_PopupItem* PPDXPopupControl::FirstItem() {
    mItemItr = mItems.Begin();
    return itemAt(mItemItr);
}

_PopupItem* PPDXPopupControl::NextItem() {
    if (!mItemItr.mNode || mItemItr == mItems.End())
        return nullptr;
    return itemAt(++mItemItr);
}

long PPDXPopupControl::GetValue() const {
    long position = 1;
    for (ConstPointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++position)
        if (static_cast<const _PopupItem*>(*it)->mSelected)
            return position;
    return 0;
}

void PPDXPopupControl::SetValue(long position) {
    long at = 1;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++at) {
        itemAt(it)->mSelected = at == position;
        if (at == position)
            mCurrentItem = it;
    }
}

long PPDXPopupControl::DefaultValue() const {
    const char* wanted = GetDefaultKeyword();
    long position = 1;
    for (ConstPointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++position)
        if (static_cast<const _PopupItem*>(*it)->HasKeyword(wanted))
            return position;
    return 0;
}

bool PPDXPopupControl::SetKeywordSelect(const char* keyword, const bool& select) {
    // An unknown keyword must not deselect the others, so look before changing anything.
    bool present = false;
    for (ConstPointerListItr it = mItems.Begin(); !present && it != mItems.End(); ++it)
        present = static_cast<const _PopupItem*>(*it)->HasKeyword(keyword);
    if (!present)
        return false;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        _PopupItem* item = itemAt(it);
        if (item->HasKeyword(keyword)) {
            item->mSelected = select;
            mCurrentItem = it;
            if (mMultipleSelection)
                return true;
        } else if (!mMultipleSelection) {
            item->mSelected = false;
        }
    }
    return true;
}

bool PPDXPopupControl::IsKeywordSelected(const char* keyword) const {
    for (ConstPointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        const _PopupItem* item = static_cast<const _PopupItem*>(*it);
        if (item->mSelected && item->HasKeyword(keyword))
            return true;
    }
    return false;
}

const char* PPDXPopupControl::GetDefaultKeyword() const {
    return mDefaultKeyword ? static_cast<const char*>(*mDefaultKeyword) : nullptr;
}

const char* PPDXPopupControl::GetKeywordLocalName(const char* keyword) {
    _PopupItem* found = nullptr;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it)
        if (itemAt(it)->HasKeyword(keyword))
            found = itemAt(it);
    return found ? found->displayName() : nullptr;
}

CFStringRef PPDXPopupControl::GetKeywordCFLocalName(const char* keyword) const {
    CFStringRef found = nullptr;
    for (ConstPointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        const _PopupItem* item = static_cast<const _PopupItem*>(*it);
        if (item->HasKeyword(keyword))
            found = item->mLocalName;
    }
    return found;
}

long PPDXPopupControl::GetKeywordPSData(const char* optionKeyword, unsigned char* out) {
    if (!optionKeyword || !Keyword())
        return 0;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        _PopupItem* item = itemAt(it);
        if (item->HasKeyword(optionKeyword))
            return GeneratePSOutputData(out, item->mPSData, item->PSLength(), optionKeyword, true);
    }
    return 0;
}

void PPDXPopupControl::AppendPopupItem(_PopupItem* item) {
    if (item && !mItems.PushBack(item).mNode)
        delete item;
}

bool PPDXPopupControl::Rebuild(const char* userName, PointerList& items, CString* defaultKeyword) {
    _PopupItem* current = CurrentItem();
    if (!current)
        return false;
    // The current item is deleted below; keep its keyword by value.
    CString remembered(current->Keyword());

    const char* cached = UserName();
    if (userName && (!cached || std::strcmp(cached, userName) != 0)) {
        CFStringRef name =
            CFStringCreateWithCString(kCFAllocatorDefault, userName, CFStringGetSystemEncoding());
        if (name) {
            SetLocalName(name);
            CFRelease(name);
            SetUserNameCache(userName);
        }
    }

    DeleteItems();
    TakeItems(items);
    delete mDefaultKeyword;
    mDefaultKeyword = defaultKeyword;
    if (GetDefaultKeyword())
        SetKeywordSelect(GetDefaultKeyword(), true);
    if (static_cast<const char*>(remembered))
        SetKeywordSelect(remembered, true);
    return true;
}
