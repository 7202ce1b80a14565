//===- PPDXShortcuts.cpp - Popups singled out for quick access ------------===//
#include "PPDXShortcuts.h"

#include "PPDXPopupControl.h"

#include <cstring>

namespace {

// A cursor past the tail sentinel, or never set, holds no entry.
bool atEnd(const PointerListItr& it) {
    return !it.mNode || !it.mNode->mNext;
}

} // namespace

PPDXShortcuts::PPDXShortcuts(PointerList& controls) : mControls(controls) {}

PPDXShortcuts::~PPDXShortcuts() = default;

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
