// ControlUtils and the menu helpers over the headless toolbox, whose documented text metrics
// (8 pixels a character in the system font, 7 in the small system font) give exact sizes.
#include "ControlUtils.h"
#include "DialogTestSupport.h"

#include "Controls/PPDXPopupControl.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Window : TestWindow {
    Window() : TestWindow(Rect{0, 0, 300, 500}) {}
};

CFStringRef S(const char* utf8) { return PMCFStringCreateWithUTF8(utf8); }

ControlRef Make(WindowRef w, OSType kind, const char* title, Rect r = Rect{10, 100, 30, 150}) {
    ControlRef c = nullptr;
    CFStringRef t = S(title);
    switch (kind) {
    case kControlKindPushButton: CreatePushButtonControl(w, &r, t, &c); break;
    case kControlKindCheckBox: CreateCheckBoxControl(w, &r, t, 0, true, &c); break;
    case kControlKindStaticText: CreateStaticTextControl(w, &r, t, nullptr, &c); break;
    case kControlKindPopupButton: CreatePopupButtonControl(w, &r, t, 0, false, -1, 0, 0, &c); break;
    case kControlKindRadioGroup: CreateRadioGroupControl(w, &r, &c); break;
    default: CreateUserPaneControl(w, &r, 0, &c); break;
    }
    CFRelease(t);
    return c;
}

std::string MenuText(MenuRef menu, MenuItemIndex i) {
    CFStringRef s = nullptr;
    CopyMenuItemTextAsCFString(menu, i, &s);
    return Take(s);
}

_PopupItem* Item(const char* keyword, const char* name) {
    return new _PopupItem(keyword, name ? S(name) : nullptr, nullptr, 0);
}

} // namespace

TEST(ControlUtils, FontInfoSetsOnlyTheGivenFields) {
    Window w;
    ControlRef c = Make(w.w, kControlKindPushButton, "OK");
    EXPECT_EQ(ControlUtils::setControlFontInfo(nullptr, 0, 11, 0, 0), paramErr);
    EXPECT_EQ(ControlUtils::setControlFontInfo(c, -1, 11, -1, -1), noErr);
    ControlFontStyleRec r{};
    GetControlData(c, 0, kControlFontStyleTag, sizeof r, &r, nullptr);
    EXPECT_EQ(r.flags, kControlUseSizeMask);
    EXPECT_EQ(r.size, 11);
    ControlUtils::setControlFontInfo(c, 3, -1, 1, 1);
    GetControlData(c, 0, kControlFontStyleTag, sizeof r, &r, nullptr);
    EXPECT_EQ(r.flags, kControlUseSizeMask | kControlUseFontMask | kControlUseFaceMask | kControlUseJustMask);
    EXPECT_EQ(r.size, 11);
    EXPECT_EQ(r.font, 3);
    EXPECT_EQ(r.just, 1);
}

TEST(ControlUtils, TitlesGoToTextForRadioGroupsAndStaticText) {
    Window w;
    ControlRef text = Make(w.w, kControlKindStaticText, "old");
    ControlRef button = Make(w.w, kControlKindPushButton, "old");
    ControlRef group = Make(w.w, kControlKindRadioGroup, "");
    ControlUtils::SetControlTitle(text, "Zürich");
    ControlUtils::SetControlTitle(button, "Réglages");
    ControlUtils::SetControlTitle(group, "Mode");
    ControlUtils::SetControlTitle(button, static_cast<const char*>(nullptr));
    EXPECT_EQ(TitleOf(text), "Zürich");
    CFStringRef s = nullptr;
    GetControlData(group, 0, kControlStaticTextCFStringTag, sizeof s, &s, nullptr);
    EXPECT_EQ(Take(s), "Mode");
    EXPECT_EQ(TitleOf(button), "Réglages");
}

TEST(ControlUtils, RadioButtonsByIndex) {
    Window w;
    ControlRef group = Make(w.w, kControlKindRadioGroup, "");
    Rect r{0, 0, 20, 100};
    for (int i = 0; i < 2; ++i) {
        ControlRef b = nullptr;
        CreateRadioButtonControl(w.w, &r, CFSTR("x"), 0, true, &b);
        EmbedControl(b, group);
    }
    EXPECT_EQ(ControlUtils::SetRadioButtonText(group, 2, "Grayscale"), noErr);
    EXPECT_EQ(ControlUtils::SetRadioButtonText(group, 3, "none"), errUnknownControl);
    ControlUtils::HideRadioButton(group, 1);
    ControlUtils::HideRadioButton(group, 9);
    ControlRef first = nullptr, second = nullptr;
    GetIndexedSubControl(group, 1, &first);
    GetIndexedSubControl(group, 2, &second);
    EXPECT_FALSE(IsControlVisible(first));
    ControlUtils::ShowRadioButton(group, 1);
    EXPECT_TRUE(IsControlVisible(first));
    EXPECT_EQ(TitleOf(second), "Grayscale");
}

TEST(ControlUtils, PushButtonsGrowOnlyAndCapTheirTextPart) {
    Window w;
    // "Settings": 8 characters of 8 pixels = 64; wanted 92, more than the 50 it has.
    ControlRef right = Make(w.w, kControlKindPushButton, "Settings");
    ControlUtils::SizeControl(right, w.w, true);
    EXPECT_EQ(Bounds(right).left, 100);
    EXPECT_EQ(Bounds(right).right, 100 + 92 + 28);
    ControlRef left = Make(w.w, kControlKindPushButton, "Settings");
    ControlUtils::SizeControl(left, w.w, false);
    EXPECT_EQ(Bounds(left).right, 150);
    EXPECT_EQ(Bounds(left).left, 150 - 92 - 28);
    // In the small system font (size 11): 8 x 7 + 28 = 84.
    ControlRef small = Make(w.w, kControlKindPushButton, "Settings");
    ControlUtils::setControlFontInfo(small, -1, 11, -1, -1);
    ControlUtils::SizeControl(small, w.w, true);
    EXPECT_EQ(Bounds(small).right, 100 + 84 + 28);
    // Never wider than 200 for the text part when growing right.
    ControlRef longer = Make(w.w, kControlKindPushButton, "A very long button title indeed");
    ControlUtils::SizeControl(longer, w.w, true);
    EXPECT_EQ(Bounds(longer).right - Bounds(longer).left, 200 + 28);
    // Wide enough already: unchanged.
    ControlRef wide = Make(w.w, kControlKindPushButton, "OK", Rect{10, 100, 30, 300});
    ControlUtils::SizeControl(wide, w.w, false);
    EXPECT_EQ(Bounds(wide).left, 100);
    EXPECT_EQ(Bounds(wide).right, 300);
}

TEST(ControlUtils, CheckBoxesStaticTextAndPopupsFitTheirText) {
    Window w;
    ControlRef box = Make(w.w, kControlKindCheckBox, "Smooth", Rect{10, 100, 30, 400});
    ControlUtils::SizeControl(box, w.w, true); // shrinks: 6 x 8 + 20
    EXPECT_EQ(Bounds(box).right, 100 + 68);
    ControlRef boxLeft = Make(w.w, kControlKindCheckBox, "Smooth", Rect{10, 100, 30, 400});
    ControlUtils::SizeControl(boxLeft, w.w, false);
    EXPECT_EQ(Bounds(boxLeft).left, 400 - 68);
    ControlRef text = Make(w.w, kControlKindStaticText, "Caption");
    ControlUtils::SizeControl(text, w.w, false); // always from the left edge
    EXPECT_EQ(Bounds(text).left, 100);
    EXPECT_EQ(Bounds(text).right, 100 + 7 * 8 + 28);
    ControlRef popup = Make(w.w, kControlKindPopupButton, "Size:");
    MenuRef menu = GetControlPopupMenuRef(popup);
    AppendMenuItemTextWithCFString(menu, CFSTR("Letter"), 0, 0, nullptr);
    ControlUtils::SizeControl(popup, w.w, true); // menu 6 x 8 + 32 = 80, + 24
    EXPECT_EQ(Bounds(popup).right, 100 + 104);
    AppendMenuItemTextWithCFString(menu, CFSTR("An extremely long paper size name"), 0, 0, nullptr);
    ControlUtils::SizeControl(popup, w.w, true);
    EXPECT_EQ(Bounds(popup).right - Bounds(popup).left, 190);
    ControlRef pane = Make(w.w, 0, "");
    ControlUtils::SizeControl(pane, w.w, true);
    EXPECT_EQ(Bounds(pane).right, 150);
}

TEST(ControlUtils, MeasuringRestoresThePortAndItsTextSettings) {
    Window w, other;
    SetPortWindowPort(other.w);
    SetPortWindowPort(w.w);
    TextSize(9);
    TextFace(bold);
    SetPortWindowPort(other.w);
    ControlRef c = Make(w.w, kControlKindPushButton, "Settings");
    ControlUtils::setControlFontInfo(c, 4, 11, italic, -1);
    EXPECT_EQ(ControlUtils::measureControlText(c, w.w, false), 8 * 7);
    GrafPtr port = nullptr;
    GetPort(&port);
    EXPECT_EQ(port, GetWindowPort(other.w));
    EXPECT_EQ(GetPortTextSize(GetWindowPort(w.w)), 9);
    EXPECT_EQ(GetPortTextFace(GetWindowPort(w.w)), bold);
    EXPECT_EQ(GetPortTextFont(GetWindowPort(w.w)), 0);
}

TEST(MenuUtils, MenusFromPPDPopupsKeepSurplusItems) {
    PointerList flags, items;
    items.PushBack(Item("Low", "Low"));
    items.PushBack(Item("High", "Hoch"));
    PPDXPopupControl popup("*QVBrightness", CFSTR("Brightness"), flags, true, false, items, nullptr);
    MenuRef menu = nullptr;
    CreateNewMenu(0, 0, &menu);
    for (const char* t : {"a", "b", "c", "d"}) {
        CFStringRef s = S(t);
        AppendMenuItemTextWithCFString(menu, s, 0, 0, nullptr);
        CFRelease(s);
    }
    EXPECT_EQ(ControlUtils::SetupMenuFromPPDControl(popup, menu), 3);
    EXPECT_EQ(CountMenuItems(menu), 4);
    EXPECT_EQ(MenuText(menu, 1), "Low");
    EXPECT_EQ(MenuText(menu, 2), "Hoch");
    EXPECT_EQ(MenuText(menu, 3), "c");
    // A shorter menu grows.
    ControlUtils::resetMenu(menu);
    EXPECT_EQ(CountMenuItems(menu), 0);
    EXPECT_EQ(ControlUtils::SetupMenuFromPPDControl(popup, menu), 3);
    EXPECT_EQ(CountMenuItems(menu), 2);
    // An item without a display name stops with 0 after the items before it.
    PointerList more;
    more.PushBack(Item("A", "Eins"));
    more.PushBack(Item("B", nullptr));
    more.PushBack(Item("C", "Drei"));
    PPDXPopupControl broken("*K", CFSTR("K"), flags, true, false, more, nullptr);
    ControlUtils::resetMenu(menu);
    EXPECT_EQ(ControlUtils::SetupMenuFromPPDControl(broken, menu), 0);
    EXPECT_EQ(CountMenuItems(menu), 1);
    PointerList empty;
    empty.PushBack(Item("E", ""));
    PPDXPopupControl blank("*K", CFSTR("K"), flags, true, false, empty, nullptr);
    EXPECT_EQ(ControlUtils::SetupMenuFromPPDControl(blank, menu), 0);
    ReleaseMenu(menu);
    char buffer[8];
    ControlUtils::PrepForPopup("Brightness", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Brightn");
    char full[64];
    ControlUtils::PrepForPopup("Brightness", full, sizeof full);
    EXPECT_STREQ(full, "Brightness: ");
}

TEST(ControlUtils, EmbeddingCentresAndShowsTheControl) {
    Window w; // 500 x 300 content
    Rect paneRect{20, 10, 420, 710}; // 700 x 400: centred offsets (100, 50) from its corner
    ControlRef pane = nullptr;
    CreateUserPaneControl(w.w, &paneRect, kControlSupportsEmbedding, &pane);
    ControlRef c = Make(w.w, kControlKindCheckBox, "x", Rect{5, 6, 25, 106});
    ControlID id{'Cntl', 303};
    SetControlID(c, &id);
    SetControlVisibility(c, false, false);
    ControlRef out = nullptr;
    ASSERT_EQ(ControlUtils::MyEmbedControl(w.w, pane, id, &out), noErr);
    EXPECT_EQ(out, c);
    EXPECT_EQ(Bounds(c).left, 6 + 10 + 100);
    EXPECT_EQ(Bounds(c).top, 5 + 20 + 50);
    EXPECT_TRUE(IsControlVisible(c));
    ControlRef parent = nullptr;
    GetSuperControl(c, &parent);
    EXPECT_EQ(parent, pane);
    ControlID missing{'none', 0};
    EXPECT_EQ(ControlUtils::MyEmbedControl(w.w, pane, missing, &out), errUnknownControl);
    // A smaller pane gives no negative centring.
    Rect small{0, 0, 10, 10};
    ControlRef tiny = nullptr;
    CreateUserPaneControl(w.w, &small, kControlSupportsEmbedding, &tiny);
    ControlRef d = Make(w.w, kControlKindCheckBox, "y", Rect{5, 6, 25, 106});
    ControlUtils::MyEmbedControl(w.w, tiny, d, nullptr);
    EXPECT_EQ(Bounds(d).left, 6);
}

TEST(ControlUtils, HelpHandlerLeavesCommandsToTheOthers) {
    Window w;
    EventHandlerRef handler = nullptr;
    EventHandlerUPP upp = nullptr;
    ASSERT_EQ(ControlUtils::MyInstallHelpEventHandler(w.w, &handler, &upp), noErr);
    HICommand command{0, 'help', {nullptr, 0}};
    EXPECT_EQ(SendCommandToTarget(&command, GetWindowEventTarget(w.w)), eventNotHandledErr);
    EXPECT_EQ(ControlUtils::MyRemoveHelpEventHandler(&handler, &upp), noErr);
    EXPECT_EQ(handler, nullptr);
    EXPECT_EQ(upp, nullptr);
}
