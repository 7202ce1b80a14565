//===- UI_Panel.h - The colour pane in the print dialog ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_PANEL_H
#define PIGMENTOR_UI_UI_PANEL_H

#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/IBCarbonRuntime.h>

#include <vector>

class CString;
class PigmentorData;
class PigmentorPaneItemList;
class PigmentorProgressHandler;
class UI_ExpertColor;
class UI_IPAddressPanel;
class UI_PigmentorControls;

/// The colour pane inside the print dialog. It moves the controls of the NIB window "PDEMain"
/// into the user pane the print dialog gives the extension:
///
///   +- Print Mode -------------------------------------------------+
///   | (o) Standard Color                                           |
///   | ( ) Expert Color                              [Settings...]  |
///   | ( ) Grayscale                                                |
///   +--------------------------------------------------------------+
///   Brightness: [100% Normal  v]          (the pane's own options,
///   [x] Combine Separations                one per row)
///   [x] Two-way communication  / Server Address  [Configure...]
///
/// and routes the pane's events: the print-mode radio buttons and commands ('StdR', 'ExpR',
/// 'GryR'), the Settings button ('Cntl' 108, command 'EClr') that opens the expert colour
/// dialog, the pane's own colour controls, the two-way panel ('IPcb', 'IPcm') and the command
/// 'QVFe' that the background feature fetch posts when it has finished.
///
/// Ownership: the controller (`PigmentorData`) is borrowed and must outlive the panel; the panel
/// owns the pane controls object, the two-way panel, the expert colour dialog, the progress
/// handler of a running fetch, the retained printer name, the address and its four titles. The
/// controls live in the print dialog's window (the owner of the parent pane).
///
/// Threads: the main thread only. While a fetch runs on its worker the expert settings are
/// disabled (the Settings button too, and a click in the pane beeps); the worker reaches the
/// panel only through events posted to the window.
class UI_Panel {
public:
    /// The print-mode values of the controller.
    enum : unsigned short { kModeNone = 0, kModeStandard = 1, kModeExpert = 2, kModeGrayscale = 3 };
    enum : UInt32 {
        kStandardCommand = 'StdR',
        kExpertCommand = 'ExpR',
        kGrayscaleCommand = 'GryR',
        kExpertDialogCommand = 'EClr',
        kBidiChangedCommand = 'IPcb',
        kAddressChangedCommand = 'IPcm',
        kFeaturesDoneCommand = 'QVFe',
    };
    /// The event (no parameters) the panel sends to its window, synchronously, each time it
    /// starts a background fetch; the fetch ends with 'QVFe'. The panel does not handle it:
    /// it lets the print dialog know that a fetch is under way.
    enum : UInt32 { kFetchStartedEventClass = 'QVFs', kFetchStartedEventKind = 1 };

    /// Needs the NIB, the parent pane (in a window) and a controller with a current printer
    /// name; builds the pane. Valid() tells whether that succeeded.
    UI_Panel(IBNibRef nib, ControlRef parentUserPane, PigmentorData* data);
    UI_Panel(const UI_Panel&) = delete;
    UI_Panel& operator=(const UI_Panel&) = delete;
    /// Stops a running fetch, removes the event handlers and deletes what it owns.
    virtual ~UI_Panel();

    bool Valid() const { return mValid; }
    OSStatus LastStatus() const { return mLastStatus; }

    // -- lifecycle ----------------------------------------------------------------------------
    /// Installs the event handlers, shows the two-way address stored for the printer and
    /// builds (or fetches) the expert colour list.
    void Show();
    /// Removes the event handlers.
    void Hide();
    /// Rebuilds the pane's colour controls, the expert dialog and the two-way panel over `data`
    /// (the new controller, borrowed) and starts a fetch. Returns 0.
    OSStatus ResetUI(PigmentorData* data);
    /// Disables the expert settings, makes the expert dialog let go of its list and starts a
    /// background fetch of the expert colour list.
    void SettingsChanged();
    /// Shows a fetch error (clearing two-way when the user is told) or hands the new expert
    /// list to the expert dialog; true when no error remained.
    bool UpdateExpertColorUI();
    /// UpdateExpertColorUI() when an expert list exists, else SettingsChanged().
    void InitializeExpertColorList();
    /// Enables or disables the Settings button and remembers the state.
    void EnableExpertSettings(bool enable);
    /// Whether the expert settings are enabled.
    bool CanHandle() const { return mExpertSettingsEnabled; }
    /// The two-way panel's mode; false without the panel.
    bool BIDIEnabled() const;
    /// The two-way panel's address (UTF-8, not to be freed), or null.
    const char* GetHostName() const;
    UI_PigmentorControls* getPigmentorUIPane() const { return mPaneControls; }
    UI_IPAddressPanel* getIPAddressPanel() const { return mAddressPanel; }
    UI_ExpertColor* getExpertColorDialog() const { return mExpertDialog; }
    PigmentorProgressHandler* getProgressHandler() const { return mProgressHandler; }
    /// The print-mode group box, the three radio buttons and the Settings button.
    ControlRef getGroupBox() const { return mGroupBox; }
    ControlRef getRadioButton(unsigned short mode) const;
    ControlRef getSettingsButton() const { return mSettingsButton; }

    /// Nothing to do here: the controls change the model as they are used (0).
    OSStatus CommitUserChanges() { return 0; }
    void SyncUI() {}
    OSStatus ValidateUISettings(char*) { return 0; }

    // -- print mode ---------------------------------------------------------------------------
    /// Titles the group box, the radio buttons and the Settings button, selects the stored
    /// print mode and places the button; false without the group box or its buttons.
    bool SetupColorMode();
    /// Selects the controller's print mode (or, when none is stored, the one whose keyword
    /// equals the print-mode control's current display text).
    void SetupColorModeValue();
    /// 0: the default (Standard) mode, 1 Standard, 2 Expert, 3 Grayscale.
    void SetColorModeButton(unsigned short value);
    /// Turns on the radio button of mode `n` (1 to 3) and the others off; -9874 for other n.
    OSStatus SetColorModeRadioButtons(unsigned short n);
    void SetColorModeRadioButtonText();
    /// The print-mode command or radio button number (0 the default); always -9874.
    OSStatus HandleColorModeRadioButtonCommand(unsigned long command);
    /// Applies the radio group's value as the print mode.
    void DoSetColorModeEvent();

    // -- pane popups --------------------------------------------------------------------------
    void SetupColorSeparation();
    void SetupBrightness();
    void SetupImageSmoothing();
    void SetupSubstColor();

    // -- events -------------------------------------------------------------------------------
    /// The handler on the window and the pane's controls; `userData` is the panel.
    static OSStatus EventHandler(EventHandlerCallRef callRef, EventRef event, void* userData);
    static OSStatus ProcessCommandEvent(const HICommand& command, UI_Panel* panel);
    static OSStatus ProcessControlHit(ControlRef control, UI_Panel* panel);
    /// The two-way panel's share of an event; -9874 when it is not the panel's.
    OSStatus ProcessIPAddressEvent(EventHandlerCallRef callRef, EventRef event);

    // -- layout -------------------------------------------------------------------------------
    bool BuildUI(IBNibRef nib);
    /// Moves the print-mode box, the pane's colour controls, the two-way pane and the progress
    /// indicator from `window` into `pane`; `bounds` collects what they cover. Whether the last
    /// status is 0.
    bool MergeEmbedUI(WindowRef window, ControlRef pane, Rect& bounds);
    /// Widens `control` to the pane's width less 20 (when that is wider) and moves it, with its
    /// sub-controls, into the pane centred as the window is, `dy` lower.
    void WidenControl(const Rect& window, const Rect& pane, ControlRef control, int dy);
    /// Moves `control` into the pane centred as the window is, `dy` lower.
    void AdjustSubControl(const Rect& window, const Rect& pane, ControlRef control, int dy);

private:
    /// The expert colour defaults, when the dialog holds the controller's current list.
    void ExpertDefaults();
    /// Shows the expert dialog when the expert list is usable, else beeps.
    void OpenExpertDialog();
    /// The two-way box changed; `fromCommand` couples the controller's update to a fetch.
    void TwoWayChanged(bool fromCommand);
    void AddressChanged();
    void FeaturesDone();
    /// Disposes of the controls a failed build had moved into the parent pane.
    void RemoveMergedControls();
    /// Creates the pane controls object and the expert dialog.
    bool CreateParts();
    void SetupPanePopup(ControlRef popup, class PPDXPopupControl* control);
    void InstallHandler(EventTargetRef target);
    void RemoveHandlers();
    /// Stops a running fetch and deletes its progress handler.
    void StopFetch();
    /// A control of the pane (in the group box first, then the window) by id.
    ControlRef FindControl(OSType signature, SInt32 id) const;

    PigmentorData* mData;
    PigmentorProgressHandler* mProgressHandler = nullptr;
    UI_IPAddressPanel* mAddressPanel = nullptr;
    UI_ExpertColor* mExpertDialog = nullptr;
    WindowRef mWindow = nullptr;
    EventHandlerUPP mHandlerUPP = nullptr;
    std::vector<EventHandlerRef> mHandlers;
    PigmentorPaneItemList* mPaneItemList = nullptr;
    UI_PigmentorControls* mPaneControls = nullptr;
    ControlRef mParentPane = nullptr;
    ControlRef mGroupBox = nullptr;
    ControlRef mRadioGroup = nullptr;
    ControlRef mStandardButton = nullptr;
    ControlRef mGrayscaleButton = nullptr;
    ControlRef mExpertButton = nullptr;
    ControlRef mSettingsButton = nullptr;
    ControlRef mSeparationPopup = nullptr;
    ControlRef mBrightnessPopup = nullptr;
    ControlRef mImageSmoothingPopup = nullptr;
    ControlRef mSubstColorPopup = nullptr;
    ControlRef mAddressPane = nullptr;
    CFStringRef mPrinterName = nullptr;
    CString* mAddress = nullptr;
    bool mValid = false;
    OSStatus mLastStatus = 0;
    bool mExpertSettingsEnabled = false;
    CFStringRef mStandardTitle = nullptr;
    CFStringRef mExpertTitle = nullptr;
    CFStringRef mGrayscaleTitle = nullptr;
    CFStringRef mPrintModeTitle = nullptr;
    /// The event the handler saw last (retained), so that an event passing from a control to
    /// its group box and window is handled once.
    EventRef mLastEvent = nullptr;
};

#endif // PIGMENTOR_UI_UI_PANEL_H
