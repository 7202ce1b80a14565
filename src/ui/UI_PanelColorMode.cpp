//===- UI_PanelColorMode.cpp - Print-mode buttons and the pane popups -----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_Panel.h"

#include "ControlUtils.h"
#include "PDEBundle.h"
#include "PPDXPopupControl.h"
#include "PigmentorData.h"
#include "PigmentorItem.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorPaneItemList.h"
#include "UI_ExpertColor.h"
#include "UI_PigmentorControls.h"

#include <cstring>

namespace {

constexpr const char* kCompositeOverprint = "*QVCompOverprint";

bool IsWithin(ControlRef control, ControlRef container) {
    for (ControlRef c = control; c != nullptr;) {
        if (c == container)
            return true;
        if (GetSuperControl(c, &c) != noErr)
            break;
    }
    return false;
}

// The pane control shown for the controller's PPD control, or null.
ControlRef PaneControlFor(UI_PigmentorControls* pane, PPDXPopupControl* control) {
    if (pane == nullptr || control == nullptr || pane->getItemList() == nullptr)
        return nullptr;
    for (PigmentorItem* item = pane->getItemList()->firstItem(); item;
         item = PigmentorItemList::nextItem(item))
        if (item->getPPDXControl() == control)
            return UI_PigmentorControls::getItemControl(item);
    return nullptr;
}

} // namespace

void UI_Panel::ExpertDefaults() {
    // The dialog holds no list while a fetch runs, and after a failed fetch the controller's
    // list is not the dialog's: only the dialog over the current list takes the defaults.
    PigmentorItemList* current = mData->GetExpertColorFeaturesList();
    if (mExpertDialog && current && mExpertDialog->getItemList() == current)
        mExpertDialog->setExpertColorDefaults();
}

bool UI_Panel::SetupColorMode() {
    if (mGroupBox == nullptr)
        return false;
    if (GetIndexedSubControl(mGroupBox, 1, &mRadioGroup) != noErr)
        mRadioGroup = nullptr;
    ControlUtils::SetControlTitle(mGroupBox, mPrintModeTitle);
    mData->SetPrintModeTitle(mPrintModeTitle);
    SetColorModeRadioButtonText();
    if (!mStandardButton || !mGrayscaleButton || !mExpertButton)
        return false;

    mSettingsButton = FindControl('Cntl', 108);
    if (mSettingsButton == nullptr)
        return false;
    if (!IsWithin(mSettingsButton, mGroupBox))
        EmbedControl(mSettingsButton, mGroupBox);
    CFStringRef settings = PDEBundle::GetLocalizedCFString(CFSTR("Settings"));
    ControlUtils::SetControlTitle(mSettingsButton, settings ? settings : CFSTR("Settings"));
    if (settings)
        CFRelease(settings);
    EnableExpertSettings(mExpertSettingsEnabled);
    SetupColorModeValue();
    ControlUtils::SizeControl(mSettingsButton, mWindow, false);
    Rect box, button;
    GetControlBounds(mGroupBox, &box);
    GetControlBounds(mSettingsButton, &button);
    const int width = button.right - button.left;
    MoveControl(mSettingsButton, static_cast<SInt16>(box.right - 20 - width), button.top);

    mSeparationPopup = PaneControlFor(mPaneControls, mData->GetColorSeparationPPDControl());
    mBrightnessPopup = PaneControlFor(mPaneControls, mData->GetBrightnessPPDControl());
    mImageSmoothingPopup = PaneControlFor(mPaneControls, mData->GetImageSmoothingPPDControl());
    mSubstColorPopup = PaneControlFor(mPaneControls, mData->GetColorSubstPPDControl());
    return true;
}

void UI_Panel::SetColorModeRadioButtonText() {
    struct Button {
        SInt32 id;
        ControlRef* field;
        CFStringRef title;
    } buttons[] = {{301, &mStandardButton, mStandardTitle},
                   {303, &mGrayscaleButton, mGrayscaleTitle},
                   {302, &mExpertButton, mExpertTitle}};
    for (Button& b : buttons) {
        *b.field = FindControl('sRd1', b.id);
        if (*b.field == nullptr)
            continue;
        // A button already in the box (inside its radio group) stays there, so that the group
        // keeps one button on.
        if (!IsWithin(*b.field, mGroupBox))
            EmbedControl(*b.field, mGroupBox);
        ControlUtils::SetControlTitle(*b.field, b.title);
    }
}

void UI_Panel::SetupColorModeValue() {
    int value = -1;
    mData->GetColorModeValue(value);
    if (value < 0) {
        char text[256] = "";
        mData->GetColorModeValueKeyword(text);
        if (std::strcmp(text, mData->GetStandardColorKeyword()) == 0)
            value = kModeStandard;
        else if (std::strcmp(text, mData->GetGrayscaleColorKeyword()) == 0)
            value = kModeGrayscale;
        else if (*mData->GetExpertColorKeyword() && std::strcmp(text, mData->GetExpertColorKeyword()) == 0)
            value = kModeExpert;
        else
            value = kModeNone;
    }
    SetColorModeButton(static_cast<unsigned short>(value));
}

void UI_Panel::SetColorModeButton(unsigned short value) {
    static const unsigned long kCommands[] = {0, kStandardCommand, kExpertCommand, kGrayscaleCommand};
    if (value < 4)
        HandleColorModeRadioButtonCommand(kCommands[value]);
}

OSStatus UI_Panel::SetColorModeRadioButtons(unsigned short n) {
    if (n < kModeStandard || n > kModeGrayscale)
        return eventNotHandledErr;
    for (unsigned short mode : {kModeStandard, kModeExpert, kModeGrayscale})
        if (ControlRef button = getRadioButton(mode))
            SetControl32BitValue(button, mode == n ? 1 : 0);
    return noErr;
}

OSStatus UI_Panel::HandleColorModeRadioButtonCommand(unsigned long command) {
    switch (command) {
    case 0:
        SetColorModeRadioButtons(kModeStandard);
        ExpertDefaults();
        mData->SetColorModeValue(mStandardTitle, kModeStandard);
        break;
    case kStandardCommand:
    case 301:
        mData->SetColorMode(kColorModeStandard);
        SetColorModeRadioButtons(kModeStandard);
        ExpertDefaults();
        mData->SetColorModeValue(mStandardTitle, kModeStandard);
        if (mPaneControls)
            mPaneControls->DisablePigmentorControl(kCompositeOverprint, false);
        break;
    case kExpertCommand:
    case 302:
        mData->SetColorMode(kColorModeStandard);
        SetColorModeRadioButtons(kModeExpert);
        mData->SetColorModeValue(mExpertTitle, kModeExpert);
        if (mPaneControls)
            mPaneControls->DisablePigmentorControl(kCompositeOverprint, false);
        break;
    case kGrayscaleCommand:
    case 303:
        mData->SetColorMode(kColorModeGrayscale);
        ExpertDefaults();
        SetColorModeRadioButtons(kModeGrayscale);
        mData->SetColorModeValue(mGrayscaleTitle, kModeGrayscale);
        if (mPaneControls) {
            mPaneControls->MarkPigmentorControl(kCompositeOverprint, false);
            mPaneControls->DisablePigmentorControl(kCompositeOverprint, true);
        }
        break;
    default:
        break;
    }
    return eventNotHandledErr;
}

void UI_Panel::DoSetColorModeEvent() {
    switch (mRadioGroup ? GetControl32BitValue(mRadioGroup) : 0) {
    case kModeExpert:
        mData->SetColorMode(kColorModeStandard);
        mData->SetColorModeValue(mExpertTitle, kModeExpert);
        break;
    case kModeGrayscale:
        mData->SetColorMode(kColorModeGrayscale);
        ExpertDefaults();
        mData->SetColorModeValue(mGrayscaleTitle, kModeGrayscale);
        break;
    case kModeStandard:
        mData->SetColorMode(kColorModeStandard);
        ExpertDefaults();
        mData->SetColorModeValue(mStandardTitle, kModeStandard);
        break;
    default:
        break;
    }
}

void UI_Panel::SetupPanePopup(ControlRef popup, PPDXPopupControl* control) {
    if (popup == nullptr)
        return;
    if (control == nullptr) {
        DisableControl(popup);
        ControlUtils::SetControlTitle(popup, "");
        return;
    }
    char title[256];
    ControlUtils::PrepForPopup(control->UserName(), title, sizeof title);
    ControlUtils::SetControlTitle(popup, title);
    const unsigned short count =
        ControlUtils::SetupMenuFromPPDControl(*control, GetControlPopupMenuHandle(popup));
    SetControl32BitMaximum(popup, count);
    SetControl32BitValue(popup, static_cast<SInt32>(control->GetValue()));
}

void UI_Panel::SetupColorSeparation() {
    SetupPanePopup(mSeparationPopup, mData->GetColorSeparationPPDControl());
}

void UI_Panel::SetupBrightness() {
    SetupPanePopup(mBrightnessPopup, mData->GetBrightnessPPDControl());
}

void UI_Panel::SetupImageSmoothing() {
    SetupPanePopup(mImageSmoothingPopup, mData->GetImageSmoothingPPDControl());
}

void UI_Panel::SetupSubstColor() {
    SetupPanePopup(mSubstColorPopup, mData->GetColorSubstPPDControl());
}
