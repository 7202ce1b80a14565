//===- UI_PigmentorControls.h - The colour pane's own controls --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_PIGMENTORCONTROLS_H
#define PIGMENTOR_UI_UI_PIGMENTORCONTROLS_H

#include <HIToolbox/HIToolbox.h>

class PigmentorItem;
class PigmentorPaneItemList;

/// The pane's own colour controls: the non-expert options of the colour roll-down (the pane
/// item list), each shown as the NIB control of its position in the list. Item k (0 to 6) takes
/// the popup 'Cntl' 103 + k when it is a popup option, the check box 'Cntl' 303 + k when it is
/// a boolean one; its control is recorded as the item's caller data (slot 0). Items beyond the
/// seventh, and items whose NIB control is missing or of another kind, are not shown. Once
/// placed, the popups' titles are right-aligned in one column and the menus and check boxes
/// share the column after it.
///
/// The list and the controls are borrowed: the list belongs to the colour data controller, the
/// controls to the window they were moved into (the print dialog's pane). The object keeps the
/// last clicked control and its item between a click and the command that follows it. Texts
/// from the PPD are UTF-8. Main thread only.
class UI_PigmentorControls {
public:
    enum : SInt32 { kFirstPopupID = 103, kFirstCheckBoxID = 303, kMaxControls = 7 };
    enum : OSType { kControlSignature = 'Cntl' };

    explicit UI_PigmentorControls(PigmentorPaneItemList* list);
    UI_PigmentorControls(const UI_PigmentorControls&) = delete;
    UI_PigmentorControls& operator=(const UI_PigmentorControls&) = delete;
    /// Forgets the controls (they stay with their window).
    ~UI_PigmentorControls();

    /// Moves each item's control from `nibWindow` into `pane` (centred as the NIB window in the
    /// pane), titles it, fills it from the PPD and adds its bounds to `bounds`. Nothing for an
    /// invalid list. noErr, or the first embedding failure (the rest are still tried).
    OSStatus MergeEmbedUI(WindowRef nibWindow, ControlRef pane, Rect& bounds);
    /// Takes `list` (null keeps the current one) and binds its items again to the controls
    /// already moved into `window`, with titles, menus and values from the PPD.
    void RefreshUIControls(WindowRef window, PigmentorPaneItemList* list);
    /// Remembers `control` and its item for the next ProcessPigmentorCommand; false when the
    /// control belongs to no item.
    bool HandlePigmentorControl(ControlRef control);
    /// Applies the remembered control's value to its item (trapping on turns combined
    /// separations off and locks them, off unlocks them) and forgets the hit; false without one.
    bool ProcessPigmentorCommand();
    /// Disables (or enables) the check box of the boolean item with `keyword`.
    void DisablePigmentorControl(const char* keyword, bool disable);
    /// Sets the boolean item with `keyword` and its check box on or off.
    void MarkPigmentorControl(const char* keyword, bool on);

    /// The control shown for `item`, or null.
    static ControlRef getItemControl(PigmentorItem* item);
    /// The item shown in `control`, or null.
    PigmentorItem* findItem(ControlRef control) const;
    /// The item of the boolean option `keyword`, or null.
    PigmentorItem* findBooleanItem(const char* keyword) const;
    PigmentorPaneItemList* getItemList() const { return mList; }
    bool isEmbedded() const { return mEmbedded; }

private:
    /// Right-aligns the popups' titles in one label column and puts the menus and the check
    /// boxes in the column after it.
    void alignColumns();
    /// Trapping on (a value "True") turns combined separations off and locks them; off frees
    /// them. Nothing for other items.
    void applyTrapping(PigmentorItem* item);
    /// Titles and fills `control` from `item` and binds the two.
    void bindControl(PigmentorItem* item, ControlRef control, bool popup);

    PigmentorPaneItemList* mList;
    bool mEmbedded = false;
    ControlRef mLastControl = nullptr;
    PigmentorItem* mLastItem = nullptr;
};

#endif // PIGMENTOR_UI_UI_PIGMENTORCONTROLS_H
