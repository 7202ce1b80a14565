// Helpers of the expert colour dialog's tests: the example PPD with its expert colour items, a
// parent window, and a person's choices on the dialog's controls through simulated input.
#ifndef PIGMENTOR_TESTS_UI_EXPERTTESTSUPPORT_H
#define PIGMENTOR_TESTS_UI_EXPERTTESTSUPPORT_H

#include "ColourTestSupport.h"
#include "DialogTestSupport.h"

#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "UI_ExpertColor.h"

#include <HIToolbox/HIToolbox.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace experttest {

/// A document window the dialogs attach to.
struct ParentWindow {
    WindowRef w = nullptr;
    ParentWindow() {
        Rect r{40, 40, 700, 1200};
        CreateNewWindow(kDocumentWindowClass, 0, &r, &w);
    }
    ~ParentWindow() { DisposeWindow(w); }
};

inline ControlRef Find(WindowRef w, OSType signature, SInt32 id) {
    const ControlID cid{signature, id};
    ControlRef c = nullptr;
    return w && GetControlByID(w, &cid, &c) == noErr ? c : nullptr;
}

inline bool Visible(ControlRef c) { return c && IsControlVisible(c); }
inline bool Enabled(ControlRef c) { return c && IsControlEnabled(c); }

inline Rect Bounds(ControlRef c) {
    Rect r{};
    if (c)
        GetControlBounds(c, &r);
    return r;
}

inline std::string TitleOf(ControlRef c) {
    CFStringRef s = nullptr;
    ControlKind kind{0, 0};
    GetControlKind(c, &kind);
    if (kind.kind == kControlKindStaticText)
        GetControlData(c, 0, kControlStaticTextCFStringTag, sizeof s, &s, nullptr);
    else
        CopyControlTitleAsCFString(c, &s);
    return Take(s);
}

/// The enabled menu items of a popup, by index.
inline std::vector<int> EnabledItems(ControlRef popup) {
    std::vector<int> items;
    MenuRef menu = GetControlPopupMenuRef(popup);
    for (UInt16 i = 1, n = menu ? CountMenuItems(menu) : 0; i <= n; ++i)
        if (IsMenuItemEnabled(menu, i))
            items.push_back(i);
    return items;
}

inline std::string ValueKeyword(PigmentorItem* item) {
    const char* k = item ? item->getValueKeyword() : nullptr;
    return k ? k : "";
}

/// The dialog over an item list of a model, shown over a parent window, with helpers for a
/// person's input. `signature` is where feature controls are looked for first ('BIDI' in
/// two-way mode).
class Person {
public:
    explicit Person(UI_ExpertColor& dialog) : mDialog(dialog) {}
    WindowRef window() const { return mDialog.getWindow(); }
    ControlRef control(int n) const { return mDialog.featureControl(n); }
    /// Chooses menu item `index` of item n's popup.
    void choose(int n, int index) {
        ControlRef c = control(n);
        ControlID id{0, 0};
        GetControlID(c, &id);
        HISimulateChoosePopupItem(window(), &id, static_cast<MenuItemIndex>(index));
        HIProcessPendingEvents();
    }
    /// Chooses the value with `keyword` of item n (its position in the item).
    void chooseKeyword(int n, const char* keyword) {
        PigmentorItem* item = mDialog.itemAt(n);
        ASSERT_NE(item, nullptr) << n;
        const long position = item->getValueByKeyword(keyword);
        ASSERT_GT(position, 0) << keyword;
        choose(n, static_cast<int>(position));
    }
    void click(OSType signature, SInt32 id) {
        const ControlID cid{signature, id};
        HISimulateClick(window(), &cid);
        HIProcessPendingEvents();
    }
    /// Clicks radio button `index` (from 1) of a group.
    void clickRadio(OSType signature, SInt32 groupId, UInt16 index) {
        ControlRef group = Find(window(), signature, groupId);
        ControlRef button = nullptr;
        ASSERT_EQ(GetIndexedSubControl(group, index, &button), noErr);
        ControlID id{0, 0};
        GetControlID(button, &id);
        HISimulateClick(window(), &id);
        HIProcessPendingEvents();
    }
    void press(UInt32 command) {
        HISimulatePressButton(window(), command);
        HIProcessPendingEvents();
    }

private:
    UI_ExpertColor& mDialog;
};

} // namespace experttest

#endif // PIGMENTOR_TESTS_UI_EXPERTTESTSUPPORT_H
