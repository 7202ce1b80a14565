//===- UI_CustomRGBDialog.h - Gamma and white point of a custom RGB source -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_CUSTOMRGBDIALOG_H
#define PIGMENTOR_UI_UI_CUSTOMRGBDIALOG_H

#include "UI_PigmentorDialogBase.h"

#include <cstdint>

class UI_ExpertColor;

/// The modal dialog "RGBCustomSetup" in which the user sets the custom RGB source's gamma
/// ("*QVRGBOtherGamma"), white point ("*QVRGBOtherWtPt") and, when the list has it, phosphors
/// ("*QVRGBOtherPhos"). The items belong to the expert dialog's list and are edited live;
/// Cancel puts back the values they had when the dialog was shown.
///
/// Ownership: the NIB is the expert dialog's and the owner is borrowed (both outlive this
/// dialog, which the owner deletes with its window); the window is this dialog's. Controls
/// have signature 'RGBs': 101/201 gamma title and popup, 102/202 white point, 103/203
/// phosphors. Main thread only.
class UI_CustomRGBDialog : public UI_PigmentorDialogBase {
public:
    /// Builds nothing without a NIB or an owner; else the window, its titles and Initialize().
    UI_CustomRGBDialog(IBNibRef nib, UI_ExpertColor* owner, WindowRef parent);
    ~UI_CustomRGBDialog() override;

    /// Binds the items found in the owner's list to their controls; initialised afterwards.
    void Initialize();
    /// Saves the values, shows them and runs the modal loop until OK or Cancel.
    void show() override;
    void updateUIControl(PigmentorItem*, ControlRef, int) override {}
    void InitializeRadioGroups(PigmentorItem*, ControlRef) override {}
    /// Hides, puts the saved values back (Cancel) or keeps them (OK), ends the loop.
    void onCancel() override;
    void onOK() override;

    /// The controls show the saved values again.
    void revertUserSettings();
    /// The items' defaults become the saved values and are shown.
    void restoreDefaults();
    /// 1 after OK, 0 after Cancel.
    int16_t getResult() const { return mResult; }
    bool isInitialized() const { return mInitialized; }
    bool isDone() const { return mDone; }
    PigmentorItem* gammaItem() const { return mGamma; }
    PigmentorItem* whitePointItem() const { return mWhitePoint; }

private:
    static OSStatus EventHandler(EventHandlerCallRef call, EventRef event, void* data);
    /// Shows `value` of `item` in control 'RGBs' `id`.
    void showValue(PigmentorItem* item, SInt32 id, long value);

    IBNibRef mNib = nullptr;
    UI_ExpertColor* mOwner = nullptr;
    PigmentorItem* mGamma = nullptr;
    PigmentorItem* mWhitePoint = nullptr;
    PigmentorItem* mPhosphors = nullptr;
    bool mDone = false;
    bool mInitialized = false;
    uint16_t mSavedGamma = 0;
    uint16_t mSavedWhitePoint = 0;
    uint16_t mSavedPhosphors = 0;
    int16_t mResult = 0;
    ControlRef mLastControl = nullptr;
    PigmentorItem* mLastItem = nullptr;
};

#endif // PIGMENTOR_UI_UI_CUSTOMRGBDIALOG_H
