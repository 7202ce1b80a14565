//===- PPDXShortcuts.cpp - Popups singled out for quick access ------------===//
#include "PPDXShortcuts.h"

#include "PPDXArchiveItems.h"
#include "PPDXControls.h"
#include "PPDXDisplayOptions.h"
#include "PPDXPopupControl.h"

#include <CarbonCore/MacErrors.h>

#include <cstring>

namespace {

// A cursor past the tail sentinel, or never set, holds no entry.
bool atEnd(const PointerListItr& it) {
    return !it.mNode || !it.mNode->mNext;
}

} // namespace

PPDXShortcuts::PPDXShortcuts(PointerList& controls) : mControls(controls) {}

PPDXShortcuts::PPDXShortcuts(Settings& settings, PPDXControls* controls) {
    using namespace PPDXArchive;
    int32_t count = 0;
    GetNumber(settings, kShortcutsTag, kShortcutCountId, count);
    // The same bound as Save, so that a model saved, rebuilt and saved again is the same.
    long shortcuts = count < 0 ? 0 : count > kMaxShortcuts ? kMaxShortcuts : count;
    // A shortcut may name any control, hidden or orphan alike.
    ScopedDisplayOptions seeEverything(kShowAll);
    for (long n = 0; n < shortcuts; ++n) {
        CString* keyword = GetText(settings, kShortcutsTag, kFirstShortcutId + n);
        CNTL_TYPE type;
        PPDXControl* control = keyword && controls ? controls->Find(*keyword, type, true) : nullptr;
        delete keyword;
        mControls.PushBack(control);
    }
}

PPDXShortcuts::~PPDXShortcuts() = default;

short PPDXShortcuts::Save(Settings& settings) {
    using namespace PPDXArchive;
    // Beyond kMaxShortcuts the rest is dropped rather than the whole model left unsaved.
    const uint32_t kept = Count() < uint32_t(kMaxShortcuts) ? Count() : uint32_t(kMaxShortcuts);
    short error = PutNumber(settings, kShortcutsTag, kShortcutCountId, static_cast<int32_t>(kept));
    long id = kFirstShortcutId;
    uint32_t n = 0;
    for (PointerListItr it = mControls.Begin(); !error && it != mControls.End() && n < kept;
         ++it, ++n) {
        const PPDXControl* control = static_cast<const PPDXControl*>(*it);
        if (control && control->Keyword())
            error = PutText(settings, kShortcutsTag, id++, control->Keyword());
    }
    return error;
}

PPDXPopupControl* PPDXShortcuts::PopupFrom() {
    for (; !atEnd(mCursor); ++mCursor)
        if (PPDXPopupControl* popup =
                dynamic_cast<PPDXPopupControl*>(static_cast<PPDXControl*>(*mCursor)))
            return popup;
    return nullptr;
}

PPDXPopupControl* PPDXShortcuts::First() {
    mCursor = mControls.Begin();
    return PopupFrom();
}

PPDXPopupControl* PPDXShortcuts::Next() {
    if (atEnd(mCursor))
        return nullptr;
    ++mCursor;
    return PopupFrom();
}

PPDXPopupControl* PPDXShortcuts::Find(const char* keyword, const bool& exact) {
    if (!keyword)
        return nullptr;
    for (PPDXPopupControl* popup = First(); popup; popup = Next()) {
        const char* mine = popup->Keyword();
        if (mine &&
            (exact ? std::strcmp(mine, keyword) == 0 : std::strstr(mine, keyword) != nullptr))
            return popup;
    }
    return nullptr;
}
