//===- UI_PigmentorControls.cpp - The colour pane's own controls ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_PigmentorControls.h"

#include "ControlUtils.h"
#include "PPDXBooleanControl.h"
#include "PPDXPopupControl.h"
#include "PigmentorItem.h"
#include "PigmentorPaneItemList.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

namespace {

OSType KindOf(ControlRef control) {
    ControlKind kind{0, 0};
    GetControlKind(control, &kind);
    return kind.kind;
}

PPDXPopupControl* PopupOf(PigmentorItem* item) {
    return dynamic_cast<PPDXPopupControl*>(item->getPPDXControl());
}

PPDXBooleanControl* BooleanOf(PigmentorItem* item) {
    return dynamic_cast<PPDXBooleanControl*>(item->getPPDXControl());
}

// The NIB control for item k, when it is of the kind the item needs: a PPD may list more
// popups than the NIB has popup places ('Cntl' 108 is the Settings button), and such an item
// must not take a control of another kind.
ControlRef ControlFor(WindowRef window, PigmentorItem* item, int k) {
    const bool popup = PopupOf(item) != nullptr;
    if (!popup && BooleanOf(item) == nullptr)
        return nullptr;
    const ControlID id{UI_PigmentorControls::kControlSignature,
                       (popup ? UI_PigmentorControls::kFirstPopupID
                              : UI_PigmentorControls::kFirstCheckBoxID) + k};
    ControlRef control = nullptr;
    if (GetControlByID(window, &id, &control) != noErr)
        return nullptr;
    const OSType wanted = popup ? kControlKindPopupButton : kControlKindCheckBox;
    return KindOf(control) == wanted ? control : nullptr;
}

} // namespace

UI_PigmentorControls::UI_PigmentorControls(PigmentorPaneItemList* list) : mList(list) {}

UI_PigmentorControls::~UI_PigmentorControls() = default;

ControlRef UI_PigmentorControls::getItemControl(PigmentorItem* item) {
    if (item == nullptr)
        return nullptr;
    auto control = reinterpret_cast<ControlRef>(item->GetRefCon(0));
    return IsValidControlHandle(control) ? control : nullptr;
}

void UI_PigmentorControls::bindControl(PigmentorItem* item, ControlRef control, bool popup) {
    item->SetRefCon(0, reinterpret_cast<unsigned long>(control));
    SetControlReference(control, item);
    ControlUtils::setControlFontInfo(control, systemFont, 0, normal, -1);
    if (popup) {
        // Popup titles stand right-aligned before their menus (see alignColumns); a negative
        // justification cannot go through setControlFontInfo.
        ControlFontStyleRec style{};
        GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof style, &style, nullptr);
        style.just = teFlushRight;
        style.flags |= kControlUseJustMask;
        SetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof style, &style);
        PPDXPopupControl* ppd = PopupOf(item);
        char title[256];
        ControlUtils::PrepForPopup(ppd->UserName(), title, sizeof title);
        ControlUtils::SetControlTitle(control, title);
        const unsigned short count =
            ControlUtils::SetupMenuFromPPDControl(*ppd, GetControlPopupMenuHandle(control));
        SetControl32BitMaximum(control, count);
        SetControl32BitValue(control, static_cast<SInt32>(ppd->GetValue()));
    } else {
        PPDXBooleanControl* ppd = BooleanOf(item);
        ControlUtils::SetControlTitle(control, ppd->UserName());
        SetControl32BitMaximum(control, 1);
        SetControl32BitValue(control, ppd->IsTrue() ? 1 : 0);
    }
}

void UI_PigmentorControls::alignColumns() {
    // The popups' titles end where the widest one ends, so that their menus start in one
    // column; the check boxes stand in that column too. Right edges stay where they are.
    std::vector<std::pair<ControlRef, bool>> shown;
    int left = SHRT_MAX, labelWidth = 0;
    for (PigmentorItem* item = mList ? mList->firstItem() : nullptr; item;
         item = PigmentorItemList::nextItem(item)) {
        ControlRef control = getItemControl(item);
        if (control == nullptr)
            continue;
        const bool popup = PopupOf(item) != nullptr;
        shown.emplace_back(control, popup);
        Rect r;
        GetControlBounds(control, &r);
        left = std::min<int>(left, r.left);
        if (popup)
            labelWidth = std::max<int>(labelWidth, ControlUtils::measureControlText(
                                                       control, GetControlOwner(control), false));
    }
    if (shown.empty())
        return;
    const int column = left + labelWidth;
    for (const auto& [control, popup] : shown) {
        Rect r;
        GetControlBounds(control, &r);
        const int own = popup ? ControlUtils::measureControlText(control, GetControlOwner(control), false) : 0;
        r.left = static_cast<short>(std::min<int>(column - own, r.right - 1));
        SetControlBounds(control, &r);
    }
}

OSStatus UI_PigmentorControls::MergeEmbedUI(WindowRef nibWindow, ControlRef pane, Rect& bounds) {
    if (mList == nullptr || !mList->isValid() || nibWindow == nullptr || pane == nullptr)
        return noErr;
    Rect windowRect, paneRect;
    GetWindowPortBounds(nibWindow, &windowRect);
    GetControlBounds(pane, &paneRect);
    const int dh = paneRect.left + std::max(0, ((paneRect.right - paneRect.left) -
                                                (windowRect.right - windowRect.left)) / 2);
    const int dv = paneRect.top + std::max(0, ((paneRect.bottom - paneRect.top) -
                                               (windowRect.bottom - windowRect.top)) / 2);
    OSStatus result = noErr;
    int k = 0;
    for (PigmentorItem* item = mList->firstItem(); item && k < kMaxControls;
         item = PigmentorItemList::nextItem(item), ++k) {
        ControlRef control = ControlFor(nibWindow, item, k);
        if (control == nullptr)
            continue;
        Rect r;
        GetControlBounds(control, &r);
        MoveControl(control, static_cast<SInt16>(r.left + dh), static_cast<SInt16>(r.top + dv));
        SetControlVisibility(control, true, false);
        const OSStatus err = EmbedControl(control, pane);
        if (err != noErr) {
            if (result == noErr)
                result = err;
            continue;
        }
        GetControlBounds(control, &r);
        UnionRect(&bounds, &r, &bounds);
        bindControl(item, control, PopupOf(item) != nullptr);
    }
    alignColumns();
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item))
        applyTrapping(item);
    mEmbedded = true;
    return result;
}

void UI_PigmentorControls::RefreshUIControls(WindowRef window, PigmentorPaneItemList* list) {
    if (list)
        mList = list;
    mLastControl = nullptr;
    mLastItem = nullptr;
    if (mList == nullptr || window == nullptr)
        return;
    int k = 0;
    for (PigmentorItem* item = mList->firstItem(); item && k < kMaxControls;
         item = PigmentorItemList::nextItem(item), ++k)
        if (ControlRef control = ControlFor(window, item, k)) {
            bindControl(item, control, PopupOf(item) != nullptr);
            EnableControl(control); // the locks of the old items are applied again below
        }
    alignColumns();
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item))
        applyTrapping(item);
}

PigmentorItem* UI_PigmentorControls::findItem(ControlRef control) const {
    if (mList == nullptr || control == nullptr)
        return nullptr;
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item))
        if (reinterpret_cast<ControlRef>(item->GetRefCon(0)) == control)
            return item;
    return nullptr;
}

PigmentorItem* UI_PigmentorControls::findBooleanItem(const char* keyword) const {
    if (mList == nullptr || keyword == nullptr)
        return nullptr;
    for (PigmentorItem* item = mList->firstItem(); item; item = PigmentorItemList::nextItem(item)) {
        const char* own = item->getFeatureKeyword();
        if (BooleanOf(item) && own && std::strcmp(own, keyword) == 0)
            return item;
    }
    return nullptr;
}

bool UI_PigmentorControls::HandlePigmentorControl(ControlRef control) {
    mLastItem = findItem(control);
    mLastControl = mLastItem ? control : nullptr;
    return mLastItem != nullptr;
}

bool UI_PigmentorControls::ProcessPigmentorCommand() {
    PigmentorItem* item = mLastItem;
    ControlRef control = mLastControl;
    mLastItem = nullptr;
    mLastControl = nullptr;
    if (item == nullptr || !IsValidControlHandle(control))
        return false;
    item->setValue(static_cast<unsigned long>(std::max<SInt32>(0, GetControl32BitValue(control))));
    Draw1Control(control);
    applyTrapping(item);
    return true;
}

void UI_PigmentorControls::applyTrapping(PigmentorItem* item) {
    const char* keyword = item->getFeatureKeyword();
    if (keyword == nullptr || std::strcmp(keyword, "*QVTrapping") != 0)
        return;
    // A boolean option has no value keywords of its own: its state stands for "True".
    const char* value = item->getValueKeyword();
    const bool on = BooleanOf(item) ? item->getValue() != 0 : (value && std::strcmp(value, "True") == 0);
    if (on)
        MarkPigmentorControl("*QVSeparations", false);
    DisablePigmentorControl("*QVSeparations", on);
}

void UI_PigmentorControls::DisablePigmentorControl(const char* keyword, bool disable) {
    if (ControlRef control = getItemControl(findBooleanItem(keyword)))
        disable ? DisableControl(control) : EnableControl(control);
}

void UI_PigmentorControls::MarkPigmentorControl(const char* keyword, bool on) {
    PigmentorItem* item = findBooleanItem(keyword);
    if (item == nullptr)
        return;
    item->setValue(on ? 1 : 0);
    if (ControlRef control = getItemControl(item))
        SetControl32BitValue(control, on ? 1 : 0);
}
