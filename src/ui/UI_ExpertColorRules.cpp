//===- UI_ExpertColorRules.cpp - Dependencies between expert features -----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_ExpertColor.h"

#include "ControlUtils.h"
#include "ExpertColorFeatures.h"
#include "ExpertColorKeywords.h"
#include "PDEBundle.h"
#include "PPDXBooleanControl.h"
#include "PPDXControls.h"
#include "PPDXPopupControl.h"
#include "PigmentorBIDIItemList.h"
#include "PigmentorItem.h"
#include "QRVPPD.h"

#include <strings.h>

namespace {

bool Is(const char* keyword, const char* wanted) {
    return keyword && wanted && *wanted && strcasecmp(keyword, wanted) == 0;
}

PPDXPopupControl* FindPopup(QRVPPD* model, const char* keyword) {
    PPDXControls* controls = model ? model->GetControls() : nullptr;
    return controls ? controls->FindPopup(keyword, true) : nullptr;
}

PPDXBooleanControl* FindBoolean(QRVPPD* model, const char* keyword) {
    PPDXControls* controls = model ? model->GetControls() : nullptr;
    return controls ? controls->FindBoolean(keyword, true) : nullptr;
}

void SetEnabled(ControlRef control, bool enable) {
    if (control)
        enable ? EnableControl(control) : DisableControl(control);
}

void SetVisible(ControlRef control, bool show) {
    if (control)
        show ? ShowControl(control) : HideControl(control);
}

} // namespace

bool UI_ExpertColor::separationsOn() const {
    PPDXBooleanControl* box = FindBoolean(model(), "*QVSeparations");
    return box && box->IsTrue();
}

bool UI_ExpertColor::valueIsOn(PigmentorItem* item) const {
    const char* keyword = item ? item->getValueKeyword() : nullptr;
    return keyword && !Is(keyword, "OFF") && !Is(keyword, "False");
}

void UI_ExpertColor::enablePane(const char* keyword, bool enable) {
    if (mPaneHook)
        mPaneHook(keyword, enable);
}

void UI_ExpertColor::enableFeature(int n, bool enable) {
    SetEnabled(featureControl(n), enable);
    SetEnabled(titleControl(n), enable);
}

void UI_ExpertColor::showFeature(int n, bool show) {
    ControlRef control = featureControl(n);
    // Only a control bound to an item is ever shown.
    if (show && (control == nullptr || GetControlReference(control) == nullptr))
        return;
    SetVisible(control, show);
    SetVisible(titleControl(n), show);
}

void UI_ExpertColor::lockToDefault(int n, bool lock) {
    PigmentorItem* item = itemAt(n);
    if (item == nullptr)
        return;
    item->setValue(static_cast<unsigned long>(item->getDefaultValue()));
    if (ControlRef control = featureControl(n))
        setPigmentorControl(control, item, item->getValue(), lock);
}

void UI_ExpertColor::unlock(int n) {
    PigmentorItem* item = itemAt(n);
    ControlRef control = featureControl(n);
    if (item == nullptr || control == nullptr)
        return;
    if (MenuRef menu = GetControlPopupMenuRef(control))
        for (UInt16 i = 1, count = CountMenuItems(menu); i <= count; ++i)
            EnableMenuItem(menu, i);
}

void UI_ExpertColor::redrawLines(std::initializer_list<int> ids) {
    for (int id : ids)
        DrawControlByID('Line', id);
}

void UI_ExpertColor::updateUIControl(PigmentorItem* item, ControlRef control, int value) {
    (void)control;
    (void)value;
    if (item == nullptr || mWindow == nullptr)
        return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(mWindow);
    switch (item->getIndex()) {
    case 1:
        ruleRGBSource(item);
        updateDeviceLinks();
        break;
    case 3:
        ruleSimulation(item);
        updateDeviceLinks();
        break;
    case 4:
        updateDeviceLinks();
        break;
    case 5:
        ruleRGBSeparation(item);
        break;
    case 6:
        ruleSimulationSpeed(item);
        break;
    case 7:
        ruleSpotColors(item);
        break;
    case 8:
        rulePureBlack(item);
        break;
    case 9:
        // Two-way: the radio group's button carries the value index.
        if (mTwoWay && control && kindOf(control) == kControlKindRadioGroup) {
            ControlRef button = nullptr;
            const SInt32 selected = GetControl32BitValue(control);
            if (selected > 0 && GetIndexedSubControl(control, static_cast<UInt16>(selected), &button) == noErr)
                if (auto index = reinterpret_cast<uintptr_t>(GetControlReference(button)))
                    item->setValue(index);
        }
        break;
    case 10:
    case 12:
        ruleBlackOverprint(item);
        break;
    default:
        break;
    }
    SetPort(saved);
}

void UI_ExpertColor::ruleRGBSource(PigmentorItem* item) {
    const char* keyword = item->getValueKeyword();
    const bool other = Is(keyword, "OTHER");
    if (ControlRef button = getControlByID('cust', 0)) {
        if (other && !mHideCustom && !mRGBLinkInUse) {
            ShowControl(button);
            EnableControl(button);
        } else {
            HideControl(button);
        }
    }
    for (int n : {ExpertColorKeywords::kRGBOtherGamma, ExpertColorKeywords::kRGBOtherWtPt,
                  ExpertColorKeywords::kRGBOtherPhos}) {
        if (PigmentorItem* custom = itemAt(n)) {
            other ? custom->setFeatureEnabled() : custom->setFeatureDisabled();
            enableFeature(n, other);
        }
    }
    mRGBNone = Is(keyword, "NONE");
    mRGBSourceValue = item->getValue();
    redrawLines({2, 3, 4, 5, 6, 7, 23, 101, 102, 8, 9, 10, 22});
}

void UI_ExpertColor::ruleSimulation(PigmentorItem* item) {
    const char* keyword = item->getValueKeyword();
    const bool none = Is(keyword, "MATCHCOPY") || Is(keyword, "NONE");
    if (none) {
        if (mTwoWay) {
            lockToDefault(6, false);
            enableFeature(6, false);
        } else {
            lockToDefault(6, true);
        }
    } else if (mSimNone) {
        unlock(6);
        enableFeature(6, true);
    }
    mSimNone = none;
    redrawLines({11, 12, 13, 25});
}

void UI_ExpertColor::ruleRGBSeparation(PigmentorItem* item) {
    const char* keyword = item->getValueKeyword();
    // Both modes compare with the keywords resolved for this list: a server names them
    // "Output" and "Simulation", a PPD "SEPOUT" and "SEPSIM".
    mSepToOutput = Is(keyword, mKeywords[kSepOut]);
    mSepToSimulation = Is(keyword, mKeywords[kSepSim]);
    const bool grayPopup = FindPopup(model(), "*QVKOnlyGrayRGB") != nullptr;
    if (mSepToSimulation && grayPopup) {
        PigmentorItem* gray = itemAt(17);
        if (gray && !mTwoWay && !Is(gray->getValueKeyword(), "OFF")) {
            gray->setValue(static_cast<unsigned long>(gray->getDefaultValue()));
            if (ControlRef control = featureControl(17))
                SetControl32BitValue(control, static_cast<SInt32>(gray->getValue()));
        }
        enableFeature(17, false);
    } else if (grayPopup) {
        enableFeature(17, true);
    }
    redrawLines({4, 23, 8, 9, 10, 22});
}

void UI_ExpertColor::ruleSimulationSpeed(PigmentorItem* item) {
    const char* keyword = item->getValueKeyword();
    const bool noPaper = Is(keyword, mKeywords[kSpeedQuick]) || Is(keyword, mKeywords[kSpeedFullSource]);
    mPaperSimOff = noPaper;
    if (noPaper) {
        if (PigmentorItem* paper = itemAt(11)) {
            if (setByValueKeyword(paper, "RELATIVE") == 0 && setByValueKeyword(paper, "OFF") == 0)
                setByValueKeyword(paper, "False");
            if (ControlRef control = featureControl(11)) {
                if (kindOf(control) == kControlKindCheckBox)
                    SetControl32BitValue(control, 0);
                else
                    SetControl32BitValue(control, static_cast<SInt32>(paper->getValue()));
            }
        }
        enableFeature(11, false);
    } else {
        enableFeature(11, true);
        initializeCMYKRenderingStyle();
    }
    redrawLines({11, 12, 13, 25});
}

void UI_ExpertColor::ruleSpotColors(PigmentorItem* item) {
    const bool on = mTwoWay ? item->getValue() == 1 : valueIsOn(item);
    setControlRect(15);
    if (on && mLineRects) {
        if (ControlRef line = getControlByID('Line', 15)) {
            Rect r = mLineRects[15];
            r.right = static_cast<SInt16>(r.right - 15 > r.left ? r.right - 15 : r.left);
            SetControlBounds(line, &r);
        }
    }
    enablePane("*QVSeparations", on);
    mSpotOn = on;
    redrawLines({15, 16});
}

void UI_ExpertColor::rulePureBlack(PigmentorItem* item) {
    const char* keyword = item->getValueKeyword();
    const bool handled = Is(keyword, "BLACKRICHON") || Is(keyword, "BLACKNORMAL") || separationsOn();
    PigmentorItem* control = itemAt(12);
    if (handled) {
        if (PPDXPopupControl* popup = FindPopup(model(), "*QVBlkOvpCtrl"))
            popup->SetKeywordSelect("OFF", true);
        if (control) {
            const long off = control->getValueByKeyword("OFF");
            if (off > 0) {
                control->setValue(static_cast<unsigned long>(off));
                if (ControlRef c = featureControl(12))
                    setPigmentorControl(c, control, off, true);
            }
        }
        mPureBlackForcedOff = true;
    } else if (mPureBlackForcedOff) {
        mPureBlackForcedOff = false;
        if (control) {
            const char* current = control->getValueKeyword();
            if (!Is(current, "QVBlkOvpCtrlDEF") && !Is(current, "OFF"))
                control->setValue(static_cast<unsigned long>(control->getDefaultValue()));
            unlock(12);
            if (ControlRef c = featureControl(12))
                SetControl32BitValue(c, static_cast<SInt32>(control->getValue()));
        }
    }
    mPureBlackHandled = handled;
    redrawLines({17, 18, 19, 20, 21});
}

void UI_ExpertColor::ruleBlackOverprint(PigmentorItem* item) {
    const bool on = (mTwoWay && item->getIndex() == 10) ? item->getValue() == 1 : valueIsOn(item);
    bool enableStyle = on;
    if (FindBoolean(model(), "*QVSeparations")) {
        const char* keyword = item->getValueKeyword();
        enableStyle = Is(keyword, "QVBlkOvpCtrlDEF") || Is(keyword, "OFF");
    }
    enableFeature(9, enableStyle);
    mBlackOverprintOn = on;
    redrawLines({18, 20});
}

void UI_ExpertColor::initializeMediaDefinedProfiles(bool afterDefaults) {
    ControlRef group = getControlByID('mdpr', 100);
    if (group == nullptr)
        return;
    PPDXPopupControl* out = FindPopup(model(), "*QVOutProfile");
    ControlRef popup = featureControl(4);
    ControlRef title = titleControl(4);
    PigmentorItem* item = itemAt(4);
    const bool offered = out && item && popup && out->HasItemWithKeyword("DEFAULT_MEDIA") &&
                         out->HasItemWithKeyword("QVOutProfileDEF");
    if (!offered) {
        HideControl(group);
        // The popup moves up under its title, where the group would be.
        if (popup && title) {
            Rect t{}, p = mOutputPopupRect;
            GetControlBounds(title, &t);
            Rect current{};
            GetControlBounds(popup, &current);
            MoveControl(popup, current.left, static_cast<SInt16>(t.bottom + 2));
            (void)p;
        }
        mMediaProfilesAdded = false;
        return;
    }
    const CFStringRef keys[] = {CFSTR("Use Media Defined Profile"), CFSTR("Use Server's Default"),
                                CFSTR("Use Output Profile")};
    for (UInt16 i = 0; i < 3; ++i) {
        if (CFStringRef text = PDEBundle::GetLocalizedCFString(keys[i])) {
            ControlUtils::SetRadioButtonText(group, i + 1, text);
            CFRelease(text);
        }
    }
    ShowControl(group);
    Rect g{};
    GetControlBounds(group, &g);
    if (title) {
        Rect t{};
        GetControlBounds(title, &t);
        MoveControl(title, t.left, static_cast<SInt16>(g.top - 18));
    }
    Rect current{};
    GetControlBounds(popup, &current);
    MoveControl(popup, current.left, mOutputPopupRect.top);
    if (!mTwoWay) {
        MenuRef menu = GetControlPopupMenuRef(popup);
        if (!afterDefaults && menu && CountMenuItems(menu) >= 2) {
            DeleteMenuItem(menu, 1);
            DeleteMenuItem(menu, 1);
            SetControl32BitMaximum(popup, CountMenuItems(menu));
        }
        const long value = item->getValue();
        if (value < 3) {
            SetControl32BitValue(group, static_cast<SInt32>(value));
            DisableControl(popup);
            SetControl32BitValue(popup, 1);
        } else {
            SetControl32BitValue(group, 3);
            EnableControl(popup);
            SetControl32BitValue(popup, static_cast<SInt32>(value - 2));
        }
    } else {
        if (!mMediaProfilesAdded)
            mMediaChoice = 3;
        SetControl32BitValue(group, static_cast<SInt32>(mMediaChoice));
        out->SetValue(mMediaChoice);
        SetEnabled(popup, mMediaChoice == 3);
    }
    mMediaProfilesAdded = true;
}

void UI_ExpertColor::setMediaDefinedProfile(long value) {
    PigmentorItem* item = itemAt(4);
    ControlRef popup = featureControl(4);
    PPDXPopupControl* out = FindPopup(model(), "*QVOutProfile");
    if (item == nullptr || popup == nullptr)
        return;
    if (value == 1 || value == 2) {
        DisableControl(popup);
        item->setValue(static_cast<unsigned long>(value));
        if (mTwoWay && out)
            out->SetValue(value);
    } else {
        EnableControl(popup);
        const long shown = GetControl32BitValue(popup);
        if (!mTwoWay) {
            item->setValue(static_cast<unsigned long>(shown + 2));
        } else {
            if (out)
                out->SetValue(3);
            item->setValue(static_cast<unsigned long>(shown));
        }
        value = 3;
    }
    mMediaChoice = value;
    mChanged = true;
    updateUIControl(item, popup, static_cast<int>(item->getValue()));
}

void UI_ExpertColor::initializePrintGrayAsBlack() {
    const struct {
        int n;
        const char* keyword;
    } gray[] = {{18, "*QVKOnlyGrayCMYK"}, {17, "*QVKOnlyGrayRGB"}};
    for (const auto& g : gray) {
        const bool present = FindPopup(model(), g.keyword) != nullptr;
        if (!present) {
            SetVisible(featureControl(g.n), false);
            SetVisible(titleControl(g.n), false);
        } else if (!(g.n == 17 ? mRGBLinkInUse : mCMYKLinkInUse)) {
            showFeature(g.n, true);
        }
    }
}

void UI_ExpertColor::initializeCMYKRenderingStyle() {
    PPDXPopupControl* paper = FindPopup(model(), "*QVPaperSim");
    ControlRef title = getControlByID('PGSE', 111);
    ControlRef control = getControlByID('PGSE', 211);
    ControlRef alternative = getControlByID('PGSE', 2111);
    if (paper == nullptr) {
        for (ControlRef c : {title, control}) {
            SetEnabled(c, false);
            SetVisible(c, false);
        }
        SetEnabled(alternative, false);
        SetVisible(alternative, false);
        return;
    }
    if (paper->HasItemWithKeyword("ABSOLUTE") && control && alternative &&
        kindOf(control) == kControlKindPopupButton && GetControl32BitMaximum(control) == 2) {
        PigmentorItem* item = static_cast<PigmentorItem*>(GetControlReference(control));
        DisableControl(control);
        HideControl(control);
        const ControlID gone{'bye1', 0};
        SetControlID(control, &gone);
        const ControlID id{'PGSE', 211};
        SetControlID(alternative, &id);
        // A simulation method without paper simulation keeps the box disabled.
        SetEnabled(alternative, !mPaperSimOff);
        ShowControl(alternative);
        if (item) {
            ControlUtils::SetControlTitle(alternative, item->getFeatureDisplayName());
            setCheckbox(item, alternative, static_cast<int>(item->getValue()));
            ControlUtils::SizeControl(alternative, mWindow, true);
        }
        // The check box carries its own text: the title above it would repeat it.
        SetVisible(title, false);
        return;
    }
    SetEnabled(alternative, false);
    SetVisible(alternative, false);
}

void UI_ExpertColor::initializeSpecialConstraints() {
    if (!separationsOn())
        return;
    lockToDefault(12, true);
    // After the lock, whose own rule would see the default as on.
    mBlackOverprintOn = false;
    PigmentorItem* spot = itemAt(7);
    ControlRef control = featureControl(7);
    if (spot && control && kindOf(control) == kControlKindRadioGroup) {
        // Two-way: the buttons of the other values are disabled instead of menu items.
        const long on = spot->getValueByKeyword("ON");
        UInt16 count = 0;
        CountSubControls(control, &count);
        for (UInt16 i = 1; i <= count; ++i) {
            ControlRef button = nullptr;
            if (GetIndexedSubControl(control, i, &button) != noErr)
                continue;
            const auto index = static_cast<long>(reinterpret_cast<uintptr_t>(GetControlReference(button)));
            SetEnabled(button, index == spot->getDefaultValue() || index == on);
        }
    }
    MenuRef menu = control ? GetControlPopupMenuRef(control) : nullptr;
    if (spot && menu) {
        const long on = spot->getValueByKeyword("ON");
        ControlUtils::EnableOnly1MenuItem(menu, static_cast<MenuItemIndex>(spot->getDefaultValue()));
        if (on > 0)
            EnableMenuItem(menu, static_cast<MenuItemIndex>(on));
    }
    redrawLines({18, 20});
}

bool UI_ExpertColor::deviceLinksAvailable() const {
    if (!mTwoWay || mBidiList == nullptr || mBidiList->getDeviceLinks() == nullptr)
        return false;
    return mFeatures ? mFeatures->DeviceLinkIsAvailable() : mBidiList->deviceLinksEnabled();
}

void UI_ExpertColor::updateDeviceLinks() {
    bool rgb = false, cmyk = false;
    if (deviceLinksAvailable()) {
        PigmentorItem* out = itemAt(4);
        PigmentorItem* source = itemAt(1);
        PigmentorItem* sim = itemAt(3);
        if (mFeatures) {
            rgb = source && out && mFeatures->RGBSeparationDeviceLinkExists(source, out);
            cmyk = sim && out && mFeatures->CYMKSimulationDeviceLinkExists(sim, out);
        } else {
            rgb = source && out && mBidiList->RGBDeviceLinkExists(source, out);
            cmyk = sim && out && mBidiList->CMYKDeviceLinkExists(sim, out);
        }
    }
    const struct {
        OSType notice;
        bool inUse;
        bool wasInUse;
        std::initializer_list<int> replaced;
    } links[] = {{'dev1', rgb, mRGBLinkInUse, {5, 2, 17}}, {'dev2', cmyk, mCMYKLinkInUse, {6, 11, 18}}};
    for (const auto& link : links) {
        ControlRef notice = getControlByID(link.notice, 0);
        if (link.inUse) {
            if (CFStringRef text = PDEBundle::GetLocalizedCFString(CFSTR("DevLinkInUse"))) {
                if (notice)
                    ControlUtils::SetControlTitle(notice, text);
                CFRelease(text);
            }
            SetVisible(notice, true);
            for (int n : link.replaced)
                showFeature(n, false);
        } else {
            SetVisible(notice, false);
            if (link.wasInUse)
                for (int n : link.replaced)
                    showFeature(n, true);
        }
    }
    // The custom setup button belongs to the RGB source's steps.
    if (ControlRef button = getControlByID('cust', 0)) {
        PigmentorItem* source = itemAt(1);
        const bool other = source && Is(source->getValueKeyword(), "OTHER");
        SetVisible(button, !rgb && other && !mHideCustom);
    }
    mRGBLinkInUse = rgb;
    mCMYKLinkInUse = cmyk;
    if (rgb != links[0].wasInUse || cmyk != links[1].wasInUse) {
        // A link that comes or goes shows or hides whole steps; the print-gray and rendering
        // rules decide again which of their controls belong on screen.
        if (!rgb && !cmyk) {
            initializePrintGrayAsBlack();
            initializeCMYKRenderingStyle();
        }
    }
}

// The paper simulation's values are "RELATIVE" and "ABSOLUTE" rather than on and off: its check
// box is on for "ABSOLUTE" and off for the first other value.
void UI_ExpertColor::setCheckbox(PigmentorItem* item, ControlRef control, int value) {
    if (item == nullptr || item->getIndex() != 11) {
        UI_PigmentorDialogBase::setCheckbox(item, control, value);
        return;
    }
    if (control == nullptr)
        return;
    SetControlReference(control, item);
    const char* keyword = item->getNthKeyword(value);
    SetControl32BitValue(control, Is(keyword, "ABSOLUTE") ? 1 : 0);
}

void UI_ExpertColor::setPPDFromCheckBox(ControlRef control, PigmentorItem* item) {
    if (item == nullptr || item->getIndex() != 11 || item->getValueByKeyword("ABSOLUTE") == 0) {
        UI_PigmentorDialogBase::setPPDFromCheckBox(control, item);
        return;
    }
    if (control == nullptr)
        return;
    if (GetControl32BitValue(control) != 0) {
        setByValueKeyword(item, "ABSOLUTE");
        return;
    }
    for (long n = 1, count = item->itemCount(); n <= count; ++n) {
        if (!Is(item->getNthKeyword(static_cast<int>(n)), "ABSOLUTE")) {
            item->setValue(static_cast<unsigned long>(n));
            mChanged = true;
            return;
        }
    }
}
