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
    long shortcuts = PlausibleCount(settings, count);
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
    if (Count() > static_cast<uint32_t>(kMaxShortcuts))
        return paramErr;
    short error =
        PutNumber(settings, kShortcutsTag, kShortcutCountId, static_cast<int32_t>(Count()));
    long id = kFirstShortcutId;
    for (PointerListItr it = mControls.Begin(); !error && it != mControls.End(); ++it) {
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
