// Helpers of the expert colour dialog's tests: the example PPD with its expert colour items, a
// parent window, and a person's choices on the dialog's controls through simulated input.
#ifndef PIGMENTOR_TESTS_UI_EXPERTTESTSUPPORT_H
#define PIGMENTOR_TESTS_UI_EXPERTTESTSUPPORT_H

#include "ColourTestSupport.h"
#include "DialogTestSupport.h"

#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PPDXPopupControl.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "UI_ExpertColor.h"

#include <HIToolbox/HIToolbox.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace experttest {

/// A document window the dialogs attach to.
struct ParentWindow : TestWindow {
    ParentWindow() : TestWindow(Rect{40, 40, 700, 1200}) {}
};

inline bool Visible(ControlRef c) { return c && IsControlVisible(c); }
inline bool Enabled(ControlRef c) { return c && IsControlEnabled(c); }

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
    /// Chooses menu item `index` of item n's popup, or clicks button `index` when item n is a
    /// radio group (two-way mode).
    void choose(int n, int index) {
        ControlRef c = control(n);
        ControlKind kind{0, 0};
        GetControlKind(c, &kind);
        if (kind.kind == kControlKindRadioGroup)
            return clickButton(c, static_cast<UInt16>(index));
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
    /// Clicks the control; with `now` false the click is only queued (actions queued after
    /// it then run inside a dialog it opens).
    void click(OSType signature, SInt32 id, bool now = true) {
        const ControlID cid{signature, id};
        HISimulateClick(window(), &cid);
        if (now)
            HIProcessPendingEvents();
    }
    /// Clicks radio button `index` (from 1) of a group.
    void clickRadio(OSType signature, SInt32 groupId, UInt16 index) {
        clickButton(Find(window(), signature, groupId), index);
    }
    void clickButton(ControlRef group, UInt16 index) {
        ControlRef button = nullptr;
        ASSERT_EQ(GetIndexedSubControl(group, index, &button), noErr) << index;
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

/// What the expert dialog fixtures hold, with the accessors their tests use: the built bundle,
/// a parent window, the model over a PPD, the item list and the dialog over them, and a person
/// at the dialog. Release ends them dialog first, as the dialog borrows the list and model.
struct ExpertDialogParts {
    WindowRef window() const { return mDialog->getWindow(); }
    PigmentorItem* item(int n) { return mDialog->itemAt(n); }
    ControlRef control(int n) { return mDialog->featureControl(n); }
    ControlRef find(OSType signature, SInt32 id) { return Find(window(), signature, id); }
    PPDXPopupControl* popup(const char* keyword) {
        return mModel->get()->GetControls()->FindPopup(keyword, true);
    }
    void Release() {
        mPerson.reset();
        mDialog.reset();
        mList.reset();
        mModel.reset();
    }

    BundleScope mBundle;
    ParentWindow mParent;
    std::unique_ptr<colourtest::Model> mModel;
    std::unique_ptr<PigmentorPPDItemList> mList;
    std::unique_ptr<UI_ExpertColor> mDialog;
    std::unique_ptr<Person> mPerson;
};

/// The whole example PPD's text, or one of its translations.
inline std::string ExampleText(const char* file = "Tarvo-C5000.ppd") {
    std::ifstream in(colourtest::Example(file));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// `text` with `from` replaced by `to` (which must occur).
inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

/// `text` without the option block of `keyword` (from its flags line to its closing line).
inline std::string WithoutBlock(std::string text, const std::string& keyword) {
    const size_t from = text.find("*%QRVFlags " + keyword + ":");
    EXPECT_NE(from, std::string::npos) << keyword;
    if (from == std::string::npos)
        return text;
    size_t close = text.find("CloseUI", from);
    close = text.find(keyword, close);
    const size_t end = text.find('\n', close);
    text.erase(from, end + 1 - from);
    return text;
}

} // namespace experttest

#endif // PIGMENTOR_TESTS_UI_EXPERTTESTSUPPORT_H
