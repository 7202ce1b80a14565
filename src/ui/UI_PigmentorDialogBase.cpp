//===- UI_PigmentorDialogBase.cpp - Dialogs over colour items -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_PigmentorDialogBase.h"

#include "ColourText.h"
#include "ControlUtils.h"
#include "PDEBundle.h"
#include "PigmentorItem.h"

#include <cstring>
#include <strings.h>

namespace {

bool IsSheetClass(WindowClass windowClass) {
    return windowClass == kSheetWindowClass || windowClass == kDrawerWindowClass;
}

/// PPD option keywords are ASCII, so an ASCII case fold is the whole comparison.
bool SameKeyword(const char* a, const char* b) {
    return a && b && strcasecmp(a, b) == 0;
}

} // namespace

UI_PigmentorDialogBase::UI_PigmentorDialogBase(WindowRef parent) : mParent(parent) {}

UI_PigmentorDialogBase::~UI_PigmentorDialogBase() {
    removeEventHandler();
    if (mHandlerUPP)
        DisposeEventHandlerUPP(mHandlerUPP);
    if (mWindow && IsValidWindowPtr(mWindow)) {
        if (mShownAsSheet)
            HideSheetWindow(mWindow);
        DisposeWindow(mWindow);
    }
}

OSType UI_PigmentorDialogBase::kindOf(ControlRef control) {
    ControlKind kind{0, 0};
    if (control)
        GetControlKind(control, &kind);
    return kind.kind;
}

void UI_PigmentorDialogBase::fillPopup(PigmentorItem* item, ControlRef control) {
    if (item == nullptr || control == nullptr)
        return;
    MenuRef menu = GetControlPopupMenuRef(control);
    if (menu == nullptr)
        return;
    HideControl(control);
    ControlUtils::resetMenu(menu);
    SInt32 count = 0;
    for (const char* name = item->getFirstItem(); name && *name; name = item->getNextItem()) {
        CFStringRef text = ColourText::Create(name);
        if (text == nullptr)
            break;
        OSStatus err = AppendMenuItemTextWithCFString(menu, text, 0, 0, nullptr);
        CFRelease(text);
        if (err != noErr)
            break;
        ++count;
    }
    CalcMenuSize(menu);
    SetControl32BitMaximum(control, count);
    ShowControl(control);
}

void UI_PigmentorDialogBase::setCheckbox(PigmentorItem* item, ControlRef control, int value) {
    if (item == nullptr || control == nullptr)
        return;
    SetControlReference(control, item);
    char keyword[kKeywordSize];
    const bool on = getIndKeyword(item, keyword, value) > 0 &&
                    (SameKeyword(keyword, "ON") || SameKeyword(keyword, "True"));
    SetControl32BitValue(control, on ? kControlCheckBoxCheckedValue : kControlCheckBoxUncheckedValue);
}

void UI_PigmentorDialogBase::fillRadioGroup(PigmentorItem* item, ControlRef control) {
    if (item == nullptr || control == nullptr)
        return;
    SetControlReference(control, item);
    InitializeRadioGroups(item, control);
}

void UI_PigmentorDialogBase::setPPDFromCheckBox(ControlRef control, PigmentorItem* item) {
    if (item == nullptr || control == nullptr)
        return;
    if (GetControl32BitValue(control) == 0) {
        if (setByValueKeyword(item, "OFF") == 0)
            setByValueKeyword(item, "False");
    } else if (setByValueKeyword(item, "ON") == 0) {
        setByValueKeyword(item, "True");
    }
}

void UI_PigmentorDialogBase::setPPDFromPopup(PigmentorItem* item, long value) {
    if (item == nullptr)
        return;
    item->setValue(static_cast<unsigned long>(value));
    mChanged = true;
}

void UI_PigmentorDialogBase::setPPDFromRadioGroup(ControlRef control, PigmentorItem* item) {
    if (item == nullptr || control == nullptr)
        return;
    ControlRef button = nullptr;
    const SInt32 selected = GetControl32BitValue(control);
    if (selected <= 0 || GetIndexedSubControl(control, static_cast<UInt16>(selected), &button) != noErr)
        return;
    const auto value = reinterpret_cast<uintptr_t>(GetControlReference(button));
    if (value == 0)
        return;
    item->setValue(value);
    mChanged = true;
}

long UI_PigmentorDialogBase::setByValueKeyword(PigmentorItem* item, const char* keyword) {
    char found[kKeywordSize];
    const long position = findItemKeyword(item, keyword, found);
    if (position > 0) {
        item->setValue(static_cast<unsigned long>(position));
        mChanged = true;
    }
    return position;
}

void UI_PigmentorDialogBase::show() {
    if (mWindow == nullptr)
        return;
    WindowClass windowClass = 0;
    GetWindowClass(mWindow, &windowClass);
    // A sheet without a usable parent is still shown, as a window of its own.
    if (IsSheetClass(windowClass) && mParent && ShowSheetWindow(mWindow, mParent) == noErr) {
        mShownAsSheet = true;
        return;
    }
    ShowWindow(mWindow);
    SelectWindow(mWindow);
}

void UI_PigmentorDialogBase::hide() {
    if (mWindow == nullptr)
        return;
    if (mShownAsSheet) {
        HideSheetWindow(mWindow);
        mShownAsSheet = false;
        return;
    }
    HideWindow(mWindow);
    if (mParent && IsValidWindowPtr(mParent))
        SelectWindow(mParent);
}

void UI_PigmentorDialogBase::removeEventHandler() {
    if (mHandler) {
        RemoveEventHandler(mHandler);
        mHandler = nullptr;
    }
}

OSStatus UI_PigmentorDialogBase::installEventHandler(EventHandlerProcPtr proc, ItemCount count,
                                                     const EventTypeSpec* types) {
    if (mWindow == nullptr)
        return paramErr;
    removeEventHandler();
    if (mHandlerUPP)
        DisposeEventHandlerUPP(mHandlerUPP);
    mHandlerUPP = NewEventHandlerUPP(proc);
    return InstallWindowEventHandler(mWindow, mHandlerUPP, count, types, this, &mHandler);
}

void UI_PigmentorDialogBase::endModal() {
    if (mModal && mWindow) {
        mModal = false;
        QuitAppModalLoopForWindow(mWindow);
    }
}

void UI_PigmentorDialogBase::onCancel() {
    hide();
    endModal();
}

void UI_PigmentorDialogBase::onOK() {
    hide();
    endModal();
}

void UI_PigmentorDialogBase::setStandardButtonTitles() {
    const struct {
        OSType signature;
        CFStringRef key;
    } buttons[] = {{'ok  ', CFSTR("OK")}, {'canc', CFSTR("Cancel")}};
    for (const auto& b : buttons) {
        ControlRef button = getControlByID(b.signature, 0);
        CFStringRef title = PDEBundle::GetLocalizedCFString(b.key);
        if (button && title) {
            ControlUtils::SetControlTitle(button, title);
            ControlUtils::SizeControl(button, mWindow, false);
        }
        if (title)
            CFRelease(title);
    }
}

OSStatus UI_PigmentorDialogBase::waitForResponse() {
    if (mWindow == nullptr)
        return paramErr;
    mModal = true;
    OSStatus err = RunAppModalLoopForWindow(mWindow);
    mModal = false;
    return err;
}

ControlRef UI_PigmentorDialogBase::getControlByID(OSType signature, SInt32 id) const {
    if (mWindow == nullptr)
        return nullptr;
    const ControlID cid{signature, id};
    ControlRef control = nullptr;
    return GetControlByID(mWindow, &cid, &control) == noErr ? control : nullptr;
}

void UI_PigmentorDialogBase::DrawControlByID(OSType signature, SInt32 id) {
    if (ControlRef control = getControlByID(signature, id))
        Draw1Control(control);
}

size_t UI_PigmentorDialogBase::getIndKeyword(PigmentorItem* item, char* keyword, int n) {
    if (keyword)
        *keyword = '\0';
    if (item == nullptr || keyword == nullptr || n < 1)
        return 0;
    const char* found = item->getNthKeyword(n);
    if (found == nullptr)
        return 0;
    return ColourText::Copy(keyword, kKeywordSize, found);
}

long UI_PigmentorDialogBase::findItemKeyword(PigmentorItem* item, const char* keyword, char* out) {
    if (item == nullptr || keyword == nullptr)
        return 0;
    char name[kKeywordSize];
    char found[kKeywordSize];
    long position = 1;
    for (const char* k = item->getFirstKeyword(found, name); k; k = item->getNextKeyword(found, name), ++position) {
        if (SameKeyword(found, keyword)) {
            if (out)
                ColourText::Copy(out, kKeywordSize, found);
            return position;
        }
    }
    return 0;
}

long UI_PigmentorDialogBase::getDisplayNameFromKeyword(PigmentorItem* item, const char* keyword,
                                                       char* out) {
    if (item == nullptr || keyword == nullptr)
        return 0;
    char name[kKeywordSize];
    char found[kKeywordSize];
    long position = 1;
    for (const char* k = item->getFirstKeyword(found, name); k; k = item->getNextKeyword(found, name), ++position) {
        if (SameKeyword(found, keyword)) {
            if (out)
                ColourText::Copy(out, kKeywordSize, name);
            return position;
        }
    }
    return 0;
}

void UI_PigmentorDialogBase::setPigmentorControlTitle(ControlRef control, PigmentorItem* item,
                                                      bool forPopup) {
    if (control == nullptr || item == nullptr)
        return;
    const char* name = item->getFeatureDisplayName();
    if (name == nullptr)
        return;
    char title[kKeywordSize + 1];
    const size_t length = ColourText::Copy(title, kKeywordSize, name);
    if (forPopup && (length == 0 || title[length - 1] != ':')) {
        title[length] = ':';
        title[length + 1] = '\0';
    }
    ControlUtils::SetControlTitle(control, title);
    ShowControl(control);
    ControlUtils::SizeControl(control, mWindow, true);
}

void UI_PigmentorDialogBase::setPigmentorControlData(ControlRef control, PigmentorItem* item) {
    if (control == nullptr || item == nullptr)
        return;
    SetControlReference(control, item);
    ShowControl(control);
    switch (kindOf(control)) {
    case kControlKindPopupButton:
        fillPopup(item, control);
        break;
    case kControlKindRadioGroup:
        fillRadioGroup(item, control);
        break;
    case kControlKindCheckBox:
        ControlUtils::SetControlTitle(control, item->getFeatureDisplayName());
        break;
    default:
        break;
    }
}

void UI_PigmentorDialogBase::setPigmentorControl(ControlRef control, PigmentorItem* item, long value,
                                                 bool onlyThis) {
    if (control == nullptr || item == nullptr)
        return;
    switch (kindOf(control)) {
    case kControlKindPopupButton:
        if (MenuRef menu = GetControlPopupMenuRef(control)) {
            if (onlyThis) {
                ControlUtils::EnableOnly1MenuItem(menu, static_cast<MenuItemIndex>(value));
            } else {
                for (UInt16 i = 1, n = CountMenuItems(menu); i <= n; ++i)
                    EnableMenuItem(menu, i);
            }
        }
        SetControl32BitValue(control, static_cast<SInt32>(value));
        break;
    case kControlKindCheckBox:
        setCheckbox(item, control, static_cast<int>(value));
        break;
    case kControlKindRadioGroup:
        InitializeRadioGroups(item, control);
        break;
    default:
        break;
    }
    updateUIControl(item, control, static_cast<int>(value));
}

void UI_PigmentorDialogBase::setPPDFromControl(ControlRef control, PigmentorItem* item, long value) {
    if (control == nullptr || item == nullptr)
        return;
    switch (kindOf(control)) {
    case kControlKindPopupButton:
        setPPDFromPopup(item, value);
        break;
    case kControlKindCheckBox:
        setPPDFromCheckBox(control, item);
        break;
    case kControlKindRadioGroup:
        setPPDFromRadioGroup(control, item);
        break;
    default:
        break;
    }
    updateUIControl(item, control, static_cast<int>(value));
}

OSStatus UI_PigmentorDialogBase::setPigmentorControlFontInfo(ControlRef control, short font,
                                                             short size, short style) {
    return ControlUtils::setControlFontInfo(control, font, size, style, -1);
}
