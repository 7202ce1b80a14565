//===- PPDXPopupControl.cpp - A choice among option keywords --------------===//
#include "PPDXPopupControl.h"

#include "PPDXArchiveItems.h"

#include <CarbonCore/MacErrors.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

namespace {

_PopupItem* itemAt(const PointerListItr& it) {
    return static_cast<_PopupItem*>(*it);
}

/// Whether anything of a popup item was saved under `keys`.
bool itemSaved(Settings& settings, const PPDXArchive::PopupItemKeys& keys) {
    for (unsigned long tag : {keys.selected, keys.keyword, keys.localName, keys.userName, keys.code})
        if (PPDXArchive::Has(settings, tag, keys.id))
            return true;
    return false;
}

/// The item saved under `keys`, or null when memory runs out.
_PopupItem* loadItem(Settings& settings, const PPDXArchive::PopupItemKeys& keys) {
    using namespace PPDXArchive;
    CFStringRef name = GetName(settings, keys.localName, keys.id);
    if (!name) {
        // An item may carry its name only as text in the system encoding; one saved when that
        // was Mac Roman is not UTF-8, and reads byte for byte as Mac Roman.
        if (CString* text = GetText(settings, keys.userName, keys.id)) {
            name =
                CFStringCreateWithCString(kCFAllocatorDefault, *text, CFStringGetSystemEncoding());
            if (!name)
                name = CFStringCreateWithCString(kCFAllocatorDefault, *text,
                                                 kCFStringEncodingMacRoman);
            delete text;
        }
    }
    long codeLength = 0;
    unsigned char* code = CopyBytes(settings, keys.code, keys.id, codeLength);
    CString* keyword = GetText(settings, keys.keyword, keys.id);
    _PopupItem* item = new (std::nothrow)
        _PopupItem(keyword ? static_cast<const char*>(*keyword) : nullptr, name, code, codeLength);
    delete keyword;
    if (!item) {
        if (name)
            CFRelease(name);
        std::free(code);
        return nullptr;
    }
    GetBool(settings, keys.selected, keys.id, item->mSelected);
    return item;
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

PPDXPopupControl::PPDXPopupControl(Settings& settings, const long& id) : PPDXControl(settings, id) {
    using namespace PPDXArchive;
    mType = kPopupType;
    GetBool(settings, kPickManyTag, id, mMultipleSelection);
    mDefaultKeyword = GetText(settings, kDefaultKeywordTag, id);
    int32_t count = 0;
    GetNumber(settings, kItemCountTag, id, count);
    long items = PlausibleCount(settings, count);
    const char* lastSelected = nullptr;
    for (long k = 0; k < items; ++k) {
        PopupItemKeys keys;
        // A count beyond what was saved is damage: stop rather than make empty items.
        if (!PopupItemKeysFor(id, k, keys) || !itemSaved(settings, keys))
            break;
        _PopupItem* item = loadItem(settings, keys);
        if (!item || !mItems.PushBack(item).mNode) {
            delete item;
            continue;
        }
        if (item->mSelected && item->Keyword())
            lastSelected = item->Keyword();
    }
    if (!lastSelected)
        lastSelected = GetDefaultKeyword();
    if (lastSelected)
        SetKeywordSelect(lastSelected, true);
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
    // The nodes move over: linking every item anew cost an allocation per item, and a move
    // cannot fail halfway and leave items without an owner.
    mItems.Splice(mItems.End(), items);
    for (PointerListItr it = mItems.Begin(); it != mItems.End();) {
        if (itemAt(it))
            ++it;
        else
            it = mItems.Erase(it);
    }
}

short PPDXPopupControl::Save(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    if (ItemCount() > static_cast<uint32_t>(kMaxPopupItems))
        return paramErr;
    short error = PPDXControl::Save(settings, id);
    if (!error)
        error = PutMarker(settings, kPopupMarker, id);
    if (!error)
        error = PutBool(settings, kPickManyTag, id, mMultipleSelection);
    if (!error)
        error = PutText(settings, kDefaultKeywordTag, id, GetDefaultKeyword());
    if (error || ItemCount() == 0)
        return error;
    if ((error = PutNumber(settings, kItemCountTag, id, static_cast<int32_t>(ItemCount()))))
        return error;
    long position = 0;
    for (PointerListItr it = mItems.Begin(); !error && it != mItems.End(); ++it, ++position) {
        const _PopupItem* item = itemAt(it);
        PopupItemKeys keys;
        if (!PopupItemKeysFor(id, position, keys))
            return paramErr;
        error = PutText(settings, keys.keyword, keys.id, item->Keyword());
        if (!error)
            error = PutName(settings, keys.localName, keys.id, item->mLocalName);
        if (!error)
            error = PutBytes(settings, keys.code, keys.id, item->mPSData, item->PSLength());
        if (!error)
            error = PutBool(settings, keys.selected, keys.id, item->mSelected);
    }
    return error;
}

short PPDXPopupControl::Restore(Settings& settings, const long& id) {
    using namespace PPDXArchive;
    short error = 0;
    _PopupItem* lastSelected = nullptr;
    long position = 0;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it, ++position) {
        _PopupItem* item = itemAt(it);
        PopupItemKeys keys;
        if (!PopupItemKeysFor(id, position, keys)) {
            error = paramErr;
            break;
        }
        if (!Has(settings, keys.selected, keys.id, &error))
            break;
        // A selection of another size is damaged: that item keeps its state.
        GetBool(settings, keys.selected, keys.id, item->mSelected);
        if (item->mSelected)
            lastSelected = item;
    }
    // Even a walk cut short leaves one current item, the one the user chose last.
    if (lastSelected && lastSelected->Keyword())
        SetKeywordSelect(lastSelected->Keyword(), true);
    return error;
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
    // Without multiple selection the walk deselects every other item, so a keyword that no
    // item has leaves nothing selected; the answer tells the caller which case it was.
    bool found = false;
    for (PointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        _PopupItem* item = itemAt(it);
        if (item->HasKeyword(keyword)) {
            item->mSelected = select;
            mCurrentItem = it;
            found = true;
            if (mMultipleSelection)
                return true;
        } else if (!mMultipleSelection) {
            item->mSelected = false;
        }
    }
    return found;
}

bool PPDXPopupControl::IsKeywordSelected(const char* keyword) const {
    for (ConstPointerListItr it = mItems.Begin(); it != mItems.End(); ++it) {
        const _PopupItem* item = static_cast<const _PopupItem*>(*it);
        if (item->mSelected && item->HasKeyword(keyword))
            return true;
    }
    return false;
}

bool PPDXPopupControl::HasItemWithKeyword(const char* keyword) const {
    for (ConstPointerListItr it = mItems.Begin(); it != mItems.End(); ++it)
        if (static_cast<const _PopupItem*>(*it)->HasKeyword(keyword))
            return true;
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
    // Only when it is still among the items: selecting a keyword that no item has would
    // deselect every item, the default too.
    if (static_cast<const char*>(remembered) && HasItemWithKeyword(remembered))
        SetKeywordSelect(remembered, true);
    return true;
}
