//===- UI_ExpertColor.h - The expert colour dialog --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_EXPERTCOLOR_H
#define PIGMENTOR_UI_UI_EXPERTCOLOR_H

#include "UI_PigmentorDialogBase.h"

#include <functional>

class ExpertColorFeatures;
class PigmentorItemList;
class PigmentorBIDIItemList;
class QRVPPD;
class UI_CustomRGBDialog;
class UI_PigmentorControls;

/// The expert colour dialog: the window "PigmentorUI" (or "PigmentorUICTP" for a PPD whose
/// special option "*Pigmentor" is "CTP") of the NIB "Pigmentor", showing every expert colour
/// item as a popup, check box or radio group, joined by lines and arrows into a diagram of
/// the colour flow, and keeping the dependencies between the features.
///
/// Ownership: the item list, its model and the parent window are borrowed (they outlive the
/// dialog); the dialog owns its NIB reference, its window (created on first show, destroyed
/// on OK and Cancel), the custom RGB dialog and the saved line rectangles. Two-way mode is on
/// for a two-way list; feature controls are then looked up as 'BIDI' first. The pane's own
/// "*QVSeparations" box is reached through the pane hook (set by the pane). Texts are UTF-8.
/// Main thread only, and never while a background fetch rebuilds the list.
class UI_ExpertColor : public UI_PigmentorDialogBase {
public:
    /// Number of saved line rectangles: one per line id 1 to 25 (slot 0 unused).
    static constexpr int kLineCount = 26;
    /// How a segment of the diagram is drawn.
    enum LineStyle { kLineSolid, kLineDimmed, kLineHidden };
    /// Called with a pane keyword and whether its control should be enabled.
    using PaneHook = std::function<void(const char* keyword, bool enable)>;

    /// The dialog over the features' current expert list (none while a fetch runs); device
    /// links are asked of the features object (borrowed, it outlives the dialog).
    UI_ExpertColor(ExpertColorFeatures* features, WindowRef parent);
    /// The dialog over `list` (may be null: nothing is built until a list is set).
    UI_ExpertColor(PigmentorItemList* list, WindowRef parent);
    /// The dialog of the pane's controls; its list comes with setExpertColorItemsList.
    UI_ExpertColor(UI_PigmentorControls* pane, WindowRef parent);
    /// Destroys the window, the custom RGB dialog and the NIB reference.
    ~UI_ExpertColor() override;

    /// Saves the item values, builds the controls and shows the dialog (a sheet over the
    /// parent); beeps when it cannot be built.
    void show() override;
    /// The dependencies after a change of `item`.
    void updateUIControl(PigmentorItem* item, ControlRef control, int value) override;
    /// Titles one radio button per value of the item (from 1; surplus buttons hidden) and
    /// selects the item's value.
    void InitializeRadioGroups(PigmentorItem* item, ControlRef control) override;
    /// Hides, restores the saved values (items and custom RGB) and ends the modal loop.
    void onCancel() override;
    /// Hides, keeps the values and ends the modal loop.
    void onOK() override;
    void setStandardButtonTitles() override;
    /// The paper-simulation check box (the alternative control of item 11) is on for
    /// "ABSOLUTE"; every other box as the base decides.
    void setCheckbox(PigmentorItem* item, ControlRef control, int value) override;
    /// The paper-simulation box selects "ABSOLUTE" or the other value; others as the base.
    void setPPDFromCheckBox(ControlRef control, PigmentorItem* item) override;
    /// Saves the values, shows the dialog and runs its modal loop.
    virtual void showmodal();

    /// Takes `list`: two-way mode for a two-way list, PPD mode for a PPD list; any other list
    /// gives 15. Then the special options, keywords and controls.
    unsigned long setExpertColorItemsList(PigmentorItemList* list);
    /// Takes the current expert list of `features` (borrowed; it outlives the dialog) and
    /// asks it for device links from now on. 0 when the list was taken; 6 without a list (a
    /// fetch is running), else as setExpertColorItemsList.
    unsigned long setExpertColorFeatures(ExpertColorFeatures* features);
    /// Forgets the item list (a fetch is about to replace it): the window goes, and nothing
    /// is shown or touched until a new list is set.
    void resetExpertColorItemsList();
    /// "*QVHideClrCstm" = "True"/"true" hides the custom setup button.
    void InitializeSpecialOptions();
    /// Resolves the option keywords the dependencies look for.
    void InitializeSpecialKeywords();
    /// Creates the window: 8 without parent, 1 without bundle, 7 without NIB, 8 without window.
    unsigned long initializeUI();
    /// Binds every item to its title and feature control and shows its value; 6 without items.
    unsigned long InitializeUIFromPPD();
    /// The defaults (the 'rvrt' command).
    void onRevert();
    void setExpertColorDefaults();
    /// Shows the localised text of `code` in an alert over the parent (nothing for 0); true
    /// when the user was told.
    bool handlePigmentorError(unsigned long code);
    /// Runs the custom RGB dialog modally; OK marks this dialog changed.
    void ShowCustomRGBDialog();
    /// Handles one command of the dialog; eventNotHandledErr for others.
    OSStatus handleCommand(UInt32 commandID, UInt32 attributes, MenuItemIndex menuItem);
    /// Hides and disposes of the window and what belongs to it.
    void destroyWindow();

    /// Media-defined profiles on show (and after Defaults).
    void initializeMediaDefinedProfiles(bool afterDefaults);
    /// The 'mdpr' choice `value` (1 media, 2 server default, 3 output profile).
    void setMediaDefinedProfile(long value);
    void initializePrintGrayAsBlack();
    void initializeCMYKRenderingStyle();
    void initializeSpecialConstraints();
    /// Hides or shows the device-link notices and the controls a link replaces.
    void updateDeviceLinks();

    /// The style line `id` is drawn in under the current state.
    LineStyle lineStyle(int id) const;
    /// Puts line `id` (1 to 25) back to the rectangle it had when the window was made.
    void setControlRect(int id);
    /// Moves the arrow leaving `feature` to start 4 pixels right of it.
    void adjustArrowWidth(ControlRef feature, int lineId);

    /// The feature control of item n ('BIDI' first in two-way mode), its title, or null.
    ControlRef featureControl(int n) const;
    ControlRef titleControl(int n) const;
    /// The list's item of keyword index n, or null; of the custom RGB settings, which a
    /// two-way list holds twice, the PPD's own.
    PigmentorItem* itemAt(int n) const;
    void setPaneHook(PaneHook hook) { mPaneHook = std::move(hook); }
    /// An item changed for the custom RGB setup before the dialog ran (the RGB source set to
    /// "OTHER" by the pane): Cancel gives it back `value`, OK forgets it.
    void setPendingItem(PigmentorItem* item, long value) { mPendingItem = item, mPendingValue = value; }

    bool isTwoWay() const { return mTwoWay; }
    unsigned long getError() const { return mError; }
    bool hasItems() const { return mHasItems; }
    bool mediaDefinedProfilesAdded() const { return mMediaProfilesAdded; }
    bool isCustomHidden() const { return mHideCustom; }
    UI_CustomRGBDialog* getCustomRGBDialog() const { return mCustomRGB; }
    PigmentorItemList* getItemList() const { return mList; }
    /// The window name the model asks for.
    const char* windowName() const;

    /// State the dependencies keep (read by the diagram and by tests).
    bool rgbSourceNone() const { return mRGBNone; }
    bool spotOn() const { return mSpotOn; }
    bool pureBlackHandled() const { return mPureBlackHandled; }
    bool blackOverprintOn() const { return mBlackOverprintOn; }
    bool separateToOutput() const { return mSepToOutput; }
    bool separateToSimulation() const { return mSepToSimulation; }
    bool simulationIsNone() const { return mSimNone; }
    bool paperSimulationOff() const { return mPaperSimOff; }
    bool rgbLinkInUse() const { return mRGBLinkInUse; }
    bool cmykLinkInUse() const { return mCMYKLinkInUse; }

private:
    void construct();
    /// Two-way mode with the server's device links at hand.
    bool deviceLinksAvailable() const;
    QRVPPD* model() const;
    /// The special-keyword slots.
    enum { kSepOut, kSepSim, kSpeedQuick, kSpeedFullSource, kSpeedFullOutput, kOvpTextOnly,
           kOvpTextGraphics, kSpecialKeywordCount };
    unsigned long createPigmentorWindow();
    void resetControls();
    void initializeUIControl(PigmentorItem* item, ControlRef control);
    void adjustHiddenControls();
    void installLineHandlers();
    void localizeStrings();
    static OSStatus WindowEventHandler(EventHandlerCallRef call, EventRef event, void* data);
    static void DrawLine(ControlRef control, ControlPartCode part);
    void drawLine(ControlRef control, int id);

    /// The rules of updateUIControl, one per feature.
    void ruleRGBSource(PigmentorItem* item);
    void ruleSimulation(PigmentorItem* item);
    void ruleRGBSeparation(PigmentorItem* item);
    void ruleSimulationSpeed(PigmentorItem* item);
    void ruleSpotColors(PigmentorItem* item);
    void rulePureBlack(PigmentorItem* item);
    void ruleBlackOverprint(PigmentorItem* item);
    /// Sets item n to its default and shows it, the popup offering only it when `lock`.
    void lockToDefault(int n, bool lock);
    /// Shows item n's current value with every menu item enabled.
    void unlock(int n);
    void enableFeature(int n, bool enable);
    void showFeature(int n, bool show);
    void redrawLines(std::initializer_list<int> ids);
    bool separationsOn() const;
    bool valueIsOn(PigmentorItem* item) const;
    void enablePane(const char* keyword, bool enable);

    ExpertColorFeatures* mFeatures = nullptr;
    PigmentorItemList* mList = nullptr;
    PigmentorBIDIItemList* mBidiList = nullptr;
    UI_PigmentorControls* mPane = nullptr;
    IBNibRef mNib = nullptr;
    UI_CustomRGBDialog* mCustomRGB = nullptr;
    Rect* mLineRects = nullptr;
    ControlUserPaneDrawUPP mLineProc = nullptr;
    unsigned long mError = 0;
    bool mHasItems = false;
    bool mWindowUsable = false;
    bool mMediaProfilesAdded = false;
    long mRGBSourceValue = 0;
    bool mTwoWay = false;
    bool mHideCustom = false;
    bool mRGBNone = false;
    bool mSpotOn = false;
    bool mPureBlackHandled = false;
    bool mBlackOverprintOn = false;
    bool mPureBlackForcedOff = false;
    bool mSepToOutput = false;
    bool mSepToSimulation = false;
    bool mSimNone = false;
    bool mPaperSimOff = false;
    bool mRGBLinkInUse = false;
    bool mCMYKLinkInUse = false;
    bool mCustomMoved = false;
    long mMediaChoice = 3;
    char mKeywords[kSpecialKeywordCount][kKeywordSize] = {};
    PigmentorItem* mPendingItem = nullptr;
    long mPendingValue = 0;
    ControlRef mLastControl = nullptr;
    PigmentorItem* mLastItem = nullptr;
    Rect mOutputPopupRect{};
    PaneHook mPaneHook;
};

#endif // PIGMENTOR_UI_UI_EXPERTCOLOR_H
