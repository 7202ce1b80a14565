//===- UI_CustomRGBDialog.cpp - Gamma and white point of a custom RGB source -===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_CustomRGBDialog.h"

#include "UI_DialogWindow.h"

#include "PDEBundle.h"
#include "PigmentorItem.h"
#include "PigmentorItemList.h"
#include "UI_ExpertColor.h"

namespace {

constexpr OSType kSignature = 'RGBs';

} // namespace

UI_CustomRGBDialog::UI_CustomRGBDialog(IBNibRef nib, UI_ExpertColor* owner, WindowRef parent)
    : UI_PigmentorDialogBase(parent), mNib(nib), mOwner(owner) {
    if (nib == nullptr || owner == nullptr)
        return;
    if (CreateWindowFromNib(nib, CFSTR("RGBCustomSetup"), &mWindow) != noErr) {
        mWindow = nullptr;
        return;
    }
    setStandardButtonTitles();
    if (CFStringRef title = PDEBundle::GetLocalizedCFString(CFSTR("RGBCustomSetup"))) {
        SetWindowTitleWithCFString(mWindow, title);
        CFRelease(title);
    }
    Initialize();
}

UI_CustomRGBDialog::~UI_CustomRGBDialog() = default;

void UI_CustomRGBDialog::Initialize() {
    if (mWindow == nullptr || mOwner == nullptr)
        return;
    for (SInt32 id : {101, 201})
        if (ControlRef control = getControlByID(kSignature, id))
            HideControl(control);
    const EventTypeSpec types[] = {{kEventClassCommand, kEventCommandProcess},
                                   {kEventClassControl, kEventControlClick},
                                   {kEventClassWindow, kEventWindowActivated}};
    installEventHandler(EventHandler, 3, types);
    PigmentorItemList* list = mOwner->getItemList();
    mGamma = list ? list->findByKeyword("*QVRGBOtherGamma") : nullptr;
    mWhitePoint = list ? list->findByKeyword("*QVRGBOtherWtPt") : nullptr;
    // Phosphors are kept beside gamma and white point: together the three define a custom RGB
    // source, the expert dialog enables all three for "OTHER", and a dialog that saved and
    // restored only two would let Cancel leave a changed phosphor setting behind.
    mPhosphors = list ? list->findByKeyword("*QVRGBOtherPhos") : nullptr;
    const struct {
        PigmentorItem* item;
        SInt32 id;
    } rows[] = {{mGamma, 1}, {mWhitePoint, 2}, {mPhosphors, 3}};
    for (const auto& row : rows) {
        ControlRef title = getControlByID(kSignature, 100 + row.id);
        ControlRef control = getControlByID(kSignature, 200 + row.id);
        if (row.item == nullptr) {
            // Unbound rows stay out of sight rather than offering an empty popup.
            if (title)
                HideControl(title);
            if (control)
                HideControl(control);
            continue;
        }
        setPigmentorControlTitle(title, row.item, true);
        setPigmentorControlData(control, row.item);
        if (control)
            SetControl32BitValue(control, static_cast<SInt32>(row.item->getValue()));
    }
    mInitialized = true;
}

void UI_CustomRGBDialog::showValue(PigmentorItem* item, SInt32 id, long value) {
    if (item == nullptr)
        return;
    if (ControlRef control = getControlByID(kSignature, id))
        SetControl32BitValue(control, static_cast<SInt32>(value));
}

void UI_CustomRGBDialog::show() {
    if (!mInitialized)
        return;
    mSavedGamma = mGamma ? static_cast<uint16_t>(mGamma->getValue()) : 0;
    mSavedWhitePoint = mWhitePoint ? static_cast<uint16_t>(mWhitePoint->getValue()) : 0;
    mSavedPhosphors = mPhosphors ? static_cast<uint16_t>(mPhosphors->getValue()) : 0;
    revertUserSettings();
    mDone = false;
    mResult = 0;
    UI_PigmentorDialogBase::show();
    waitForResponse();
}

void UI_CustomRGBDialog::onOK() {
    hide();
    mDone = true;
    mResult = 1;
    endModal();
}

void UI_CustomRGBDialog::onCancel() {
    hide();
    if (mGamma)
        mGamma->setValue(mSavedGamma);
    if (mWhitePoint)
        mWhitePoint->setValue(mSavedWhitePoint);
    if (mPhosphors)
        mPhosphors->setValue(mSavedPhosphors);
    revertUserSettings();
    mDone = true;
    mResult = 0;
    endModal();
}

void UI_CustomRGBDialog::revertUserSettings() {
    showValue(mGamma, 201, mSavedGamma);
    showValue(mWhitePoint, 202, mSavedWhitePoint);
    showValue(mPhosphors, 203, mSavedPhosphors);
}

void UI_CustomRGBDialog::restoreDefaults() {
    mSavedGamma = mGamma ? static_cast<uint16_t>(mGamma->getDefaultValue()) : 0;
    mSavedWhitePoint = mWhitePoint ? static_cast<uint16_t>(mWhitePoint->getDefaultValue()) : 0;
    mSavedPhosphors = mPhosphors ? static_cast<uint16_t>(mPhosphors->getDefaultValue()) : 0;
    revertUserSettings();
}

OSStatus UI_CustomRGBDialog::EventHandler(EventHandlerCallRef, EventRef event, void* data) {
    auto* self = static_cast<UI_CustomRGBDialog*>(data);
    const EventClass eventClass = GetEventClass(event);
    if (eventClass == kEventClassControl) {
        ControlRef control = nullptr;
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                          nullptr, &control);
        self->mLastControl = control;
        self->mLastItem = control ? static_cast<PigmentorItem*>(GetControlReference(control)) : nullptr;
        return eventNotHandledErr;
    }
    if (eventClass != kEventClassCommand)
        return eventNotHandledErr;
    HICommand command{};
    if (!UI_DialogWindow::GetCommand(event, command))
        return eventNotHandledErr;
    switch (command.commandID) {
    case kHICommandCancel:
        self->onCancel();
        return noErr;
    case kHICommandOK:
        self->onOK();
        return noErr;
    default:
        break;
    }
    if ((command.attributes & kHICommandFromMenu) && self->mLastControl && self->mLastItem)
        self->setPPDFromControl(self->mLastControl, self->mLastItem, command.menu.menuItemIndex);
    return eventNotHandledErr;
}
