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

#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
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
    /// Chooses menu item `index` of item n's popup, or clicks button `index` when item n is a
    /// radio group (two-way mode).
    void choose(int n, int index) {
        ControlRef c = control(n);
        ControlID id{0, 0};
        ControlKind kind{0, 0};
        GetControlKind(c, &kind);
        if (kind.kind == kControlKindRadioGroup) {
            ControlRef button = nullptr;
            ASSERT_EQ(GetIndexedSubControl(c, static_cast<UInt16>(index), &button), noErr) << n;
            GetControlID(button, &id);
            HISimulateClick(window(), &id);
            HIProcessPendingEvents();
            return;
        }
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

/// Runs actions on whatever window is in front when their turn comes: a dialog that a
/// previous action opened and that runs its own modal loop.
class Later {
public:
    Later() {
        const EventTypeSpec type{kClass, kKind};
        InstallApplicationEventHandler(Handle, 1, &type, this, &mHandler);
    }
    ~Later() { RemoveEventHandler(mHandler); }
    Later(const Later&) = delete;
    Later& operator=(const Later&) = delete;
    void operator()(std::function<void(WindowRef front)> action) {
        mActions.push_back(std::move(action));
        EventRef e = nullptr;
        CreateEvent(nullptr, kClass, kKind, 0, 0, &e);
        PostEventToQueue(GetMainEventQueue(), e, kEventPriorityStandard);
        ReleaseEvent(e);
    }

private:
    enum : UInt32 { kClass = 'tsL!', kKind = 1 };
    static OSStatus Handle(EventHandlerCallRef, EventRef, void* data) {
        auto* self = static_cast<Later*>(data);
        if (self->mActions.empty())
            return noErr;
        auto action = std::move(self->mActions.front());
        self->mActions.pop_front();
        action(FrontWindow());
        return noErr;
    }
    EventHandlerRef mHandler = nullptr;
    std::deque<std::function<void(WindowRef)>> mActions;
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
