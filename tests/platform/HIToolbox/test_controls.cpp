// Windows, controls, menus and theme text of the headless back end.
#include "HIToolboxTestSupport.h"

#include <HIToolbox/HIDump.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST(Windows, CreationTitlesVisibilityAndStatusCodes) {
    Rect bounds{10, 20, 110, 220};
    WindowRef w = nullptr;
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, 0, nullptr, &w), paramErr);
    Rect inverted{10, 20, 5, 220};
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, 0, &inverted, &w), paramErr);
    ASSERT_EQ(CreateNewWindow(kMovableModalWindowClass, 0, &bounds, &w), noErr);
    EXPECT_FALSE(IsWindowVisible(w));
    Rect port;
    GetWindowPortBounds(w, &port);
    EXPECT_EQ(port.bottom, 100);
    EXPECT_EQ(port.right, 200);
    EXPECT_EQ(SetWindowTitleWithCFString(w, Str("Réglages")), noErr);
    CFStringRef title = nullptr;
    ASSERT_EQ(CopyWindowTitleAsCFString(w, &title), noErr);
    EXPECT_EQ(PMCFStringCopyUTF8(title), "Réglages");
    CFRelease(title);
    ShowWindow(w);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(FrontWindow(), w);
    HideWindow(w);
    EXPECT_EQ(FrontWindow(), nullptr);
    DisposeWindow(w);
    EXPECT_FALSE(IsValidWindowPtr(w));
    WindowClass c;
    EXPECT_EQ(GetWindowClass(w, &c), errInvalidWindowRef);
    EXPECT_EQ(SetWindowTitleWithCFString(w, Str("x")), errInvalidWindowRef);
}

TEST(Windows, SheetsAttachToTheirParentAndHandSelectionBack) {
    TestWindow parent;
    TestWindow sheet(kSheetWindowClass, Rect{0, 0, 100, 200});
    TestWindow plain;
    ShowWindow(parent);
    EXPECT_EQ(ShowSheetWindow(plain, parent), paramErr);
    EXPECT_EQ(ShowSheetWindow(sheet, nullptr), errInvalidWindowRef);
    ASSERT_EQ(ShowSheetWindow(sheet, parent), noErr);
    WindowRef p = nullptr;
    GetSheetWindowParent(sheet, &p);
    EXPECT_EQ(p, parent.window);
    EXPECT_EQ(FrontWindow(), sheet.window);
    Rect r;
    GetWindowBounds(sheet, kWindowContentRgn, &r);
    EXPECT_EQ(r.top, 50); // the top of the parent's content
    EXPECT_EQ(r.left, 50 + (400 - 200) / 2);
    ASSERT_EQ(HideSheetWindow(sheet), noErr);
    EXPECT_FALSE(IsWindowVisible(sheet));
    EXPECT_EQ(FrontWindow(), parent.window);
    TestWindow drawer(kDrawerWindowClass, Rect{0, 0, 50, 50});
    EXPECT_EQ(ShowSheetWindow(drawer, parent), noErr);
}

TEST(Controls, IdsKindsBoundsAndTitles) {
    TestWindow w;
    Rect r{10, 10, 30, 110};
    ControlRef button = nullptr, box = nullptr;
    ASSERT_EQ(CreatePushButtonControl(w, &r, Str("OK"), &button), noErr);
    ASSERT_EQ(CreateCheckBoxControl(w, &r, Str("Smooth"), 1, true, &box), noErr);
    ControlID id = CID('ok  ', 0);
    SetControlID(button, &id);
    id = CID('Cntl', 303);
    SetControlID(box, &id);
    ControlRef found = nullptr;
    ASSERT_EQ(GetControlByID(w, &id, &found), noErr);
    EXPECT_EQ(found, box);
    ControlID missing = CID('Cntl', 999);
    EXPECT_EQ(GetControlByID(w, &missing, &found), errUnknownControl);
    EXPECT_EQ(found, nullptr);
    ControlKind kind;
    GetControlKind(box, &kind);
    EXPECT_EQ(kind.signature, static_cast<OSType>(kControlKindSignatureApple));
    EXPECT_EQ(kind.kind, static_cast<OSType>(kControlKindCheckBox));
    EXPECT_EQ(Title(button), "OK");
    SetControlTitleWithCFString(button, Str("Annuler"));
    EXPECT_EQ(Title(button), "Annuler");
    MoveControl(button, 50, 60);
    Rect b;
    GetControlBounds(button, &b);
    EXPECT_EQ(b.left, 50);
    EXPECT_EQ(b.top, 60);
    EXPECT_EQ(b.right, 150);
    EXPECT_EQ(b.bottom, 80);
    EXPECT_EQ(GetControlOwner(box), w.window);
    DisposeControl(box);
    EXPECT_FALSE(IsValidControlHandle(box));
    EXPECT_EQ(GetControlByID(w, &id, &found), errUnknownControl);
    EXPECT_EQ(SetControlTitleWithCFString(box, Str("x")), controlHandleInvalidErr);
}

TEST(Controls, ValuesClampAndRadioGroupsKeepOneButtonOn) {
    TestWindow w;
    Rect r{0, 0, 20, 100};
    ControlRef group = nullptr, a = nullptr, b = nullptr, c = nullptr;
    CreateRadioGroupControl(w, &r, &group);
    CreateRadioButtonControl(w, &r, Str("A"), 0, true, &a);
    CreateRadioButtonControl(w, &r, Str("B"), 1, true, &b);
    CreateRadioButtonControl(w, &r, Str("C"), 0, true, &c);
    EmbedControl(a, group);
    EmbedControl(b, group);
    EmbedControl(c, group);
    EXPECT_EQ(GetControl32BitMaximum(group), 3);
    EXPECT_EQ(GetControl32BitValue(group), 2); // b was on when embedded
    SetControl32BitValue(group, 3);
    EXPECT_EQ(GetControl32BitValue(a), 0);
    EXPECT_EQ(GetControl32BitValue(b), 0);
    EXPECT_EQ(GetControl32BitValue(c), 1);
    SetControl32BitValue(a, 1);
    EXPECT_EQ(GetControl32BitValue(group), 1);
    EXPECT_EQ(GetControl32BitValue(c), 0);
    SetControl32BitValue(group, 7); // clamped to the maximum
    EXPECT_EQ(GetControl32BitValue(group), 3);
    UInt16 count = 0;
    CountSubControls(group, &count);
    EXPECT_EQ(count, 3);
    ControlRef second = nullptr;
    EXPECT_EQ(GetIndexedSubControl(group, 2, &second), noErr);
    EXPECT_EQ(second, b);
    EXPECT_EQ(GetIndexedSubControl(group, 4, &second), errUnknownControl);
    EXPECT_EQ(EmbedControl(group, a), errControlIsNotEmbedder);
    ControlRef pane = nullptr;
    CreateUserPaneControl(w, &r, kControlSupportsEmbedding, &pane);
    EmbedControl(group, pane);
    EXPECT_EQ(EmbedControl(pane, group), errCantEmbedIntoSelf);
    // Hiding or disabling an embedder hides and disables what it holds.
    SetControlVisibility(pane, false, false);
    EXPECT_FALSE(IsControlVisible(a));
    DisableControl(group);
    EXPECT_FALSE(IsControlEnabled(b));
    // Disposing of an embedder disposes of its sub-controls.
    DisposeControl(pane);
    EXPECT_FALSE(IsValidControlHandle(a));
    EXPECT_FALSE(IsValidControlHandle(group));
}

TEST(Controls, EmbeddingInAnotherWindowTakesTheSubControlsAlong) {
    // A pane built in a window of its own and moved into the host's user pane, as a NIB
    // window's controls are: found, dispatched to and disposed of with the host from then on.
    TestWindow host, nib;
    Rect r{10, 10, 90, 200};
    ControlRef pane = nullptr, box = nullptr, check = nullptr, field = nullptr;
    CreateUserPaneControl(host, &r, kControlSupportsEmbedding, &pane);
    CreateGroupBoxControl(nib, &r, Str("Box"), true, &box);
    CreateCheckBoxControl(nib, &r, Str("On"), 0, true, &check);
    CreateEditUnicodeTextControl(nib, &r, Str(""), false, nullptr, &field);
    ASSERT_EQ(EmbedControl(check, box), noErr);
    ASSERT_EQ(EmbedControl(field, box), noErr);
    const ControlID id{'chk ', 1};
    SetControlID(check, &id);
    SetKeyboardFocus(nib, field, kControlEditTextPart);
    ASSERT_EQ(EmbedControl(box, pane), noErr);
    EXPECT_EQ(GetControlOwner(box), host.window);
    EXPECT_EQ(GetControlOwner(check), host.window);
    ControlRef found = nullptr;
    EXPECT_EQ(GetControlByID(host, &id, &found), noErr);
    EXPECT_EQ(found, check);
    EXPECT_EQ(GetControlByID(nib, &id, &found), errUnknownControl);
    ControlRef focus = nullptr;
    GetKeyboardFocus(nib, &focus);
    EXPECT_EQ(focus, nullptr);
    HISimulateClick(host, &id);
    HIProcessPendingEvents();
    EXPECT_EQ(GetControl32BitValue(check), 1);
    DisposeWindow(nib.window); // the moved controls stay
    nib.window = nullptr;
    EXPECT_TRUE(IsValidControlHandle(check));
    DisposeControl(pane);
    EXPECT_FALSE(IsValidControlHandle(check));
}

TEST(Controls, DataTagsByKind) {
    TestWindow w;
    Rect r{0, 0, 20, 100};
    ControlRef text = nullptr, button = nullptr, edit = nullptr;
    CreateStaticTextControl(w, &r, Str("Caption"), nullptr, &text);
    CreatePushButtonControl(w, &r, Str("Go"), &button);
    CreateEditUnicodeTextControl(w, &r, Str(""), false, nullptr, &edit);
    EXPECT_EQ(Text(text), "Caption");
    Str zurich("Zürich");
    CFStringRef s = zurich;
    EXPECT_EQ(SetControlData(edit, 0, kControlEditTextCFStringTag, sizeof s, &s), noErr);
    char bytes[64] = {};
    Size size = 0;
    ASSERT_EQ(GetControlData(edit, 0, kControlEditTextTextTag, sizeof bytes, bytes, &size), noErr);
    EXPECT_EQ(std::string(bytes, static_cast<size_t>(size)), "Zürich");
    EXPECT_EQ(SetControlData(button, 0, kControlStaticTextCFStringTag, sizeof s, &s), errDataNotSupported);
    EXPECT_EQ(SetControlData(text, 0, kControlFontStyleTag, 3, bytes), paramErr);
    ControlFontStyleRec style{};
    style.flags = kControlUseSizeMask | kControlUseJustMask;
    style.size = 11;
    style.just = teCenter;
    EXPECT_EQ(SetControlData(button, 0, kControlFontStyleTag, sizeof style, &style), noErr);
    ControlFontStyleRec back{};
    GetControlData(button, 0, kControlFontStyleTag, sizeof back, &back, nullptr);
    EXPECT_EQ(back.size, 11);
    EXPECT_EQ(back.just, teCenter);
    EXPECT_EQ(GetControlData(button, 0, kControlPopupButtonMenuRefTag, sizeof(MenuRef), bytes, nullptr),
              errDataNotSupported);
}

TEST(Menus, ItemsOfAPopupAndTheirWidth) {
    TestWindow w;
    Rect r{0, 0, 20, 150};
    ControlRef popup = nullptr;
    ASSERT_EQ(CreatePopupButtonControl(w, &r, Str("Size:"), 0, false, -1, 0, 0, &popup), noErr);
    MenuRef menu = GetControlPopupMenuRef(popup);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuWidth(menu), 0);
    MenuItemIndex index = 0;
    AppendMenuItemTextWithCFString(menu, Str("A4"), 0, 0, &index);
    EXPECT_EQ(index, 1);
    AppendMenuItemTextWithCFString(menu, Str("Letter"), 0, 'letr', &index);
    AppendMenuItemTextWithCFString(menu, Str("Legal"), 0, 0, nullptr);
    EXPECT_EQ(CountMenuItems(menu), 3);
    // Widest item "Letter": 6 characters of 8 pixels in the system font, plus 32.
    EXPECT_EQ(GetMenuWidth(menu), 6 * 8 + 32);
    EXPECT_EQ(SetMenuItemTextWithCFString(menu, 4, Str("x")), menuItemNotFoundErr);
    DisableMenuItem(menu, 2);
    EXPECT_FALSE(IsMenuItemEnabled(menu, 2));
    EnableMenuItem(menu, 2);
    EXPECT_TRUE(IsMenuItemEnabled(menu, 2));
    DeleteMenuItem(menu, 1);
    CFStringRef first = nullptr;
    CopyMenuItemTextAsCFString(menu, 1, &first);
    EXPECT_EQ(PMCFStringCopyUTF8(first), "Letter");
    CFRelease(first);
    MenuCommand command = 0;
    GetMenuItemCommandID(menu, 1, &command);
    EXPECT_EQ(command, static_cast<MenuCommand>('letr'));
    // A menu handed to another popup lives as long as either holds it.
    ControlRef other = nullptr;
    CreatePopupButtonControl(w, &r, Str("Other:"), 0, false, -1, 0, 0, &other);
    SetControlPopupMenuRef(other, menu);
    EXPECT_EQ(GetControl32BitMaximum(other), 2);
    DisposeControl(popup);
    EXPECT_EQ(CountMenuItems(GetControlPopupMenuRef(other)), 2);
    DeleteMenuItems(menu, 1, 5);
    EXPECT_EQ(CountMenuItems(menu), 0);
}

TEST(ThemeText, DocumentedMetrics) {
    Point p{0, 0};
    ASSERT_EQ(GetThemeTextDimensions(Str("Settings"), kThemeSystemFont, kThemeStateActive, false, &p, nullptr), noErr);
    EXPECT_EQ(p.h, 8 * 8);
    EXPECT_EQ(p.v, 13 + 4);
    SInt16 baseline = 0;
    GetThemeTextDimensions(Str("Settings"), kThemeSmallSystemFont, kThemeStateActive, false, &p, &baseline);
    EXPECT_EQ(p.h, 8 * 7);
    EXPECT_EQ(p.v, 11 + 3);
    EXPECT_EQ(baseline, -3);
    // A surrogate pair is one character; a line break starts a new line.
    GetThemeTextDimensions(Str("a\xF0\x9F\x96\xA8\nbcd"), kThemeSystemFont, kThemeStateActive, false, &p, nullptr);
    EXPECT_EQ(p.h, 3 * 8);
    EXPECT_EQ(p.v, 2 * 17);
    // Wrapping at 10 characters of 8 pixels.
    p = Point{0, 80};
    GetThemeTextDimensions(Str("one two three four"), kThemeSystemFont, kThemeStateActive, true, &p, nullptr);
    EXPECT_EQ(p.v, 2 * 17); // "one two" / "three four"
    EXPECT_EQ(p.h, 10 * 8);
    EXPECT_EQ(GetThemeTextDimensions(nullptr, kThemeSystemFont, 0, false, &p, nullptr), paramErr);
    // The current port's size, or 12 without one.
    TestWindow w;
    SetPortWindowPort(w);
    TextSize(10);
    EXPECT_EQ(HIThemeFontSize(kThemeCurrentPortFont), 10);
    SetPort(nullptr);
    EXPECT_EQ(HIThemeFontSize(kThemeCurrentPortFont), 12);
}

namespace {
void DrawColouredBlock(ControlRef, ControlPartCode) {
    ForeColor(redColor);
    Rect r{1, 2, 3, 4};
    Pattern gray;
    FillRect(&r, GetQDGlobalsGray(&gray));
    FrameRect(&r);
}
} // namespace

TEST(UserPanes, DrawingIsRecordedOnlyWhileTheDrawProcedureRuns) {
    TestWindow w;
    Rect r{0, 0, 50, 50};
    ControlRef pane = nullptr;
    CreateUserPaneControl(w, &r, 0, &pane);
    ControlUserPaneDrawUPP draw = NewControlUserPaneDrawUPP(DrawColouredBlock);
    SetControlData(pane, 0, kControlUserPaneDrawProcTag, sizeof draw, &draw);
    SetPortWindowPort(w);
    MoveTo(5, 5); // outside a draw procedure: moves the pen, records nothing
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 5);
    auto drawing = nlohmann::json::parse(HICopyWindowJSON(w))["controls"][0]["drawing"];
    EXPECT_EQ(drawing, nlohmann::json::parse(R"([
        {"op": "foreColor", "rgb": [56683, 2242, 1698]},
        {"op": "fillRect", "rect": [1, 2, 3, 4], "pattern": [170, 85, 170, 85, 170, 85, 170, 85]},
        {"op": "frameRect", "rect": [1, 2, 3, 4]}])"));
    // Each drawing replaces the last recording.
    Draw1Control(pane);
    EXPECT_EQ(nlohmann::json::parse(HICopyWindowJSON(w))["controls"][0]["drawing"].size(), 3u);
}
