//===- UI_PanelEvents.cpp - The pane's events and the background fetch ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "UI_Panel.h"

#include "CString.h"
#include "ExpertColorFeatures.h"
#include "PigmentorData.h"
#include "PigmentorPPDItemList.h"
#include "PigmentorProgressHandler.h"
#include "UI_ExpertColor.h"
#include "UI_IPAddressPanel.h"
#include "UI_PigmentorControls.h"

#include <CarbonCore/SysBeep.h>

namespace {

bool IsPaneColourCommand(UInt32 command) {
    switch (command) {
    case 'Brit':
    case 'CSep':
    case 'Smth':
    case 'Subs':
    case 'Subt':
    case 'Subu':
    case 'Subv':
        return true;
    default:
        return command >= 'chk3' && command <= 'chk9';
    }
}

PigmentorItemList* ExpertList(PigmentorData* data) {
    return data ? data->GetExpertColorFeaturesList() : nullptr;
}

} // namespace

OSStatus UI_Panel::EventHandler(EventHandlerCallRef callRef, EventRef event, void* userData) {
    auto* panel = static_cast<UI_Panel*>(userData);
    if (panel == nullptr || event == nullptr)
        return eventNotHandledErr;
    // The handler sits on controls, their group box and the window: an event that one of
    // them passed on reaches it again, and is left alone then.
    if (event == panel->mLastEvent)
        return eventNotHandledErr;
    if (panel->mLastEvent)
        ReleaseEvent(panel->mLastEvent);
    panel->mLastEvent = RetainEvent(event);

    OSStatus result = panel->ProcessIPAddressEvent(callRef, event);
    if (result != eventNotHandledErr) {
        panel->mLastStatus = result;
        return result;
    }
    const EventClass eventClass = GetEventClass(event);
    const EventKind kind = GetEventKind(event);
    if (eventClass == kEventClassCommand && kind == kEventCommandProcess) {
        HICommand command{};
        if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                              sizeof command, nullptr, &command) == noErr)
            result = ProcessCommandEvent(command, panel);
    } else if (eventClass == kEventClassControl) {
        ControlRef control = nullptr;
        GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                          nullptr, &control);
        if (kind == kEventControlHit) {
            ProcessControlHit(control, panel);
            result = eventNotHandledErr;
        } else if (kind == kEventControlClick) {
            if (panel->mExpertSettingsEnabled) {
                if (panel->mPaneControls)
                    panel->mPaneControls->HandlePigmentorControl(control);
                result = eventNotHandledErr;
            } else {
                // Nothing in the pane changes while the expert list is being fetched.
                SysBeep(1);
                result = noErr;
            }
        }
    }
    panel->mLastStatus = result;
    return result;
}

OSStatus UI_Panel::ProcessIPAddressEvent(EventHandlerCallRef callRef, EventRef event) {
    return mAddressPanel ? mAddressPanel->HandleIPAddressPanelEvent(callRef, event)
                         : OSStatus(eventNotHandledErr);
}

OSStatus UI_Panel::ProcessCommandEvent(const HICommand& command, UI_Panel* panel) {
    if (panel == nullptr)
        return eventNotHandledErr;
    const UInt32 id = command.commandID;
    switch (id) {
    case kBidiChangedCommand:
        panel->TwoWayChanged(true);
        return noErr;
    case kAddressChangedCommand:
        panel->AddressChanged();
        return noErr;
    case kExpertDialogCommand:
        panel->OpenExpertDialog();
        return noErr;
    case kFeaturesDoneCommand:
        panel->FeaturesDone();
        return noErr;
    case kStandardCommand:
    case kExpertCommand:
    case kGrayscaleCommand:
        return panel->HandleColorModeRadioButtonCommand(id);
    default:
        break;
    }
    if (IsPaneColourCommand(id)) {
        if (panel->mPaneControls)
            panel->mPaneControls->ProcessPigmentorCommand();
        return noErr;
    }
    return eventNotHandledErr;
}

OSStatus UI_Panel::ProcessControlHit(ControlRef control, UI_Panel* panel) {
    if (panel == nullptr || control == nullptr)
        return eventNotHandledErr;
    ControlID id{0, 0};
    GetControlID(control, &id);
    switch (id.signature) {
    case 'bidi':
        panel->TwoWayChanged(false);
        return noErr;
    case 'conf':
        panel->AddressChanged();
        return noErr;
    case 'sRd1':
        if (id.id >= 301 && id.id <= 303)
            return panel->HandleColorModeRadioButtonCommand(static_cast<unsigned long>(id.id));
        return eventNotHandledErr;
    case 'Cntl':
        if (id.id == 108) {
            panel->OpenExpertDialog();
            return noErr;
        }
        // Controls 103 to 106 and 303 to 306 send their commands, which do the work.
        if ((id.id > 106 && id.id < 300) || id.id >= 307) {
            if (panel->mPaneControls)
                panel->mPaneControls->ProcessPigmentorCommand();
            return noErr;
        }
        return eventNotHandledErr;
    default:
        return eventNotHandledErr;
    }
}

void UI_Panel::TwoWayChanged(bool fromCommand) {
    PigmentorItemList* list = ExpertList(mData);
    if (list == nullptr)
        InitializeExpertColorList();
    const bool fetch = list != nullptr && list->isValid();
    if (fetch)
        SettingsChanged();
    if (fetch || !fromCommand)
        mData->SetIPAddressEnabled(BIDIEnabled());
}

void UI_Panel::AddressChanged() {
    PigmentorItemList* list = ExpertList(mData);
    if (list && list->isValid())
        SettingsChanged();
    char address[256] = "";
    if (mAddressPanel && mAddressPanel->IPAddressHasChanged(address, sizeof address)) {
        *mAddress = address;
        mData->SetTovranePrinterAddress(mPrinterName, mAddress, BIDIEnabled());
    }
}

void UI_Panel::OpenExpertDialog() {
    PigmentorItemList* list = ExpertList(mData);
    if (list && list->isValid() && mExpertDialog && mExpertDialog->getItemList() == list) {
        mExpertDialog->show();
        SetColorModeButton(kModeExpert);
    } else {
        SysBeep(1);
    }
}

void UI_Panel::FeaturesDone() {
    EnableExpertSettings(true);
    StopFetch();
    UpdateExpertColorUI();
}

void UI_Panel::SettingsChanged() {
    EnableExpertSettings(false);
    if (mProgressHandler == nullptr) {
        mProgressHandler = new PigmentorProgressHandler(mWindow, this);
        mData->AddProgressHandler(mProgressHandler, true);
    }
    // The worker rebuilds the list the dialog holds: the dialog lets go of it first.
    if (mExpertDialog)
        mExpertDialog->resetExpertColorItemsList();
    mData->UpdateSettings(nullptr, BIDIEnabled(), GetHostName(), true);
    // Its own event class, so that none of the pane's handlers sees it. Without the features
    // object nothing was started.
    EventRef started = nullptr;
    if (mData->GetExpertColorFeatures() &&
        CreateEvent(nullptr, kFetchStartedEventClass, kFetchStartedEventKind, 0, 0, &started) ==
        noErr) {
        SendEventToEventTarget(started, GetWindowEventTarget(mWindow));
        ReleaseEvent(started);
    }
}

bool UI_Panel::UpdateExpertColorUI() {
    if (const unsigned long error = mData->GetPigmentorErr()) {
        // A told user sees two-way switched off, so that the PPD's settings serve.
        if (mExpertDialog && mExpertDialog->handlePigmentorError(error) && mAddressPanel)
            mAddressPanel->setCheckBoxState(false);
        return false;
    }
    PigmentorItemList* list = ExpertList(mData);
    if (list && list->isValid() && mExpertDialog &&
        mExpertDialog->setExpertColorFeatures(mData->GetExpertColorFeatures()) == 0)
        EnableExpertSettings(true);
    return true;
}

void UI_Panel::InitializeExpertColorList() {
    if (ExpertList(mData))
        UpdateExpertColorUI();
    else
        SettingsChanged();
}

void UI_Panel::EnableExpertSettings(bool enable) {
    mExpertSettingsEnabled = enable;
    if (mSettingsButton)
        enable ? EnableControl(mSettingsButton) : DisableControl(mSettingsButton);
}
