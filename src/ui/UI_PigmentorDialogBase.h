//===- UI_PigmentorDialogBase.h - Dialogs over colour items -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_UI_UI_PIGMENTORDIALOGBASE_H
#define PIGMENTOR_UI_UI_PIGMENTORDIALOGBASE_H

#include <HIToolbox/HIToolbox.h>

#include <cstddef>

class PigmentorItem;

/// The base of the colour dialogs: a NIB window whose popups, check boxes and radio groups
/// show colour items of the colour model and write the user's choices back into them.
///
/// A subclass creates the window and stores it in `mWindow`; the base then owns it and its
/// event handler (removed and disposed of in the destructor). The parent window (the print
/// dialog's, for sheets) and the items are borrowed: they outlive the dialog. A control bound
/// to an item keeps the item as its reference. Item texts are UTF-8 (the application's
/// encoding). Every call runs on the main thread.
class UI_PigmentorDialogBase {
public:
    /// Size of the keyword and name buffers the helpers copy into.
    static constexpr size_t kKeywordSize = 256;

    explicit UI_PigmentorDialogBase(WindowRef parent = nullptr);
    UI_PigmentorDialogBase(const UI_PigmentorDialogBase&) = delete;
    UI_PigmentorDialogBase& operator=(const UI_PigmentorDialogBase&) = delete;
    /// Removes the handler and disposes of the window.
    virtual ~UI_PigmentorDialogBase();

    /// Hides the popup, fills its menu with the item's value names (until a null or empty
    /// one), sets its maximum to their count and shows it again.
    virtual void fillPopup(PigmentorItem* item, ControlRef control);
    /// Binds the item and turns the box on when the item's keyword at `value` (from 1) is
    /// "ON" or "True" (any case).
    virtual void setCheckbox(PigmentorItem* item, ControlRef control, int value);
    /// Binds the item and lets the subclass fill the group's buttons.
    virtual void fillRadioGroup(PigmentorItem* item, ControlRef control);
    /// Box off selects the item's "OFF" (else "False"), on its "ON" (else "True").
    virtual void setPPDFromCheckBox(ControlRef control, PigmentorItem* item);
    /// The item takes `value` (from 1); marks the dialog changed.
    virtual void setPPDFromPopup(PigmentorItem* item, long value);
    /// The selected button's reference (a value index from 1) becomes the item's value.
    virtual void setPPDFromRadioGroup(ControlRef control, PigmentorItem* item);
    /// Selects the first value whose keyword equals `keyword` (any case); its position, 0
    /// when none.
    virtual long setByValueKeyword(PigmentorItem* item, const char* keyword);
    /// Shows the window: as a sheet on the parent for sheet and drawer classes, else selected.
    virtual void show();
    /// Hides it the way it was shown; a plain window hands selection back to the parent.
    virtual void hide();
    virtual void removeEventHandler();
    /// What follows a change of `item` shown in `control` (dependencies between controls).
    virtual void updateUIControl(PigmentorItem* item, ControlRef control, int value) = 0;
    /// Titles and selects the group's buttons from the item.
    virtual void InitializeRadioGroups(PigmentorItem* item, ControlRef control) = 0;
    /// Hide and end the modal loop (subclasses restore or keep the values first).
    virtual void onCancel();
    virtual void onOK();
    /// The localised "OK" and "Cancel" on the buttons 'ok  ' 0 and 'canc' 0, sized to fit.
    virtual void setStandardButtonTitles();

    /// Runs the application-modal loop of the window; modal while it runs.
    OSStatus waitForResponse();
    /// The window's control with that id, or null.
    ControlRef getControlByID(OSType signature, SInt32 id) const;
    void DrawControlByID(OSType signature, SInt32 id);

    /// The keyword at position n (from 1) into `keyword` (kKeywordSize bytes); its length,
    /// 0 when none.
    static size_t getIndKeyword(PigmentorItem* item, char* keyword, int n);
    /// The position (from 1) of `keyword` (any case) with the keyword copied out; 0 when none.
    static long findItemKeyword(PigmentorItem* item, const char* keyword, char* out);
    /// The same with the value's display name copied out.
    static long getDisplayNameFromKeyword(PigmentorItem* item, const char* keyword, char* out);

    /// Title = the item's display name; a popup's title ends with exactly one ":". Shown and
    /// sized to fit.
    void setPigmentorControlTitle(ControlRef control, PigmentorItem* item, bool forPopup);
    /// Binds the item, shows the control and fills it by kind (popup menu, radio buttons,
    /// check box title).
    void setPigmentorControlData(ControlRef control, PigmentorItem* item);
    /// Shows `value` in the control (onlyThis: the popup offers only that item), then runs
    /// the dependencies.
    void setPigmentorControl(ControlRef control, PigmentorItem* item, long value, bool onlyThis);
    /// Writes the control's choice into the item by kind, then runs the dependencies.
    void setPPDFromControl(ControlRef control, PigmentorItem* item, long value);
    /// Font, size and style; negative parts are left alone.
    OSStatus setPigmentorControlFontInfo(ControlRef control, short font, short size, short style);

    WindowRef getWindow() const { return mWindow; }
    WindowRef getParentWindow() const { return mParent; }
    bool isChanged() const { return mChanged; }
    void setChanged(bool changed) { mChanged = changed; }
    bool isModal() const { return mModal; }

protected:
    /// Installs `proc` on the window for `types`, replacing the previous handler.
    OSStatus installEventHandler(EventHandlerProcPtr proc, ItemCount count,
                                 const EventTypeSpec* types);
    /// Ends the modal loop when one runs.
    void endModal();
    /// The control's kind code.
    static OSType kindOf(ControlRef control);

    EventHandlerRef mHandler = nullptr;
    EventHandlerUPP mHandlerUPP = nullptr;
    WindowRef mWindow = nullptr;
    WindowRef mParent = nullptr;
    bool mChanged = false;
    bool mModal = false;
    bool mShownAsSheet = false;
};

#endif // PIGMENTOR_UI_UI_PIGMENTORDIALOGBASE_H
