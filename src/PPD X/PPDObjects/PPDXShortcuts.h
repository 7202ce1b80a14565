//===- PPDXShortcuts.h - Popups singled out for quick access ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXSHORTCUTS_H
#define PIGMENTOR_PPDX_PPDXSHORTCUTS_H

#include "PointerList.h"

class PPDXControl;
class PPDXPopupControl;
class PPDXControls;
class Settings;

/// The controls that the PPD names with "*%QVShortcut" lines, in the order of those lines,
/// for quick access in a compact user interface, with named look-ups for the common ones.
///
/// The list never owns the controls (the model does) and may hold null entries. Only popup
/// controls are ever returned; other entries are counted but skipped. First, Next and Find
/// share one cursor. Keywords are compared as bytes. In a Settings archive the shortcuts are
/// their controls' keywords, in order, after their count. One thread at a time.
class PPDXShortcuts {
public:
    /// Copies the list of controls (PPDXControl*, not taken over).
    explicit PPDXShortcuts(PointerList& controls);
    /// Rebuilds the list from `settings` (at most 1000 entries): each saved keyword is looked up
    /// exactly among all of `controls` (may be null); a keyword missing or not found gives a
    /// null entry.
    PPDXShortcuts(Settings& settings, PPDXControls* controls);
    PPDXShortcuts(const PPDXShortcuts&) = delete;
    PPDXShortcuts& operator=(const PPDXShortcuts&) = delete;
    virtual ~PPDXShortcuts();

    /// Writes the count of entries, then the keyword of each entry that has one (an entry
    /// without takes no id); 0 or the first error, paramErr for more than 1000 entries.
    short Save(Settings& settings);

    /// Whether the list holds no entry at all.
    bool Empty() const { return mControls.Empty(); }
    /// The number of entries, whatever their class.
    uint32_t Count() const { return mControls.Size(); }
    /// The first popup of the list (resets the cursor), or null.
    PPDXPopupControl* First();
    /// The next popup, or null at the end.
    PPDXPopupControl* Next();
    /// The first popup whose keyword equals `keyword` (exact) or contains it; null for a null
    /// keyword or when none matches. Moves the cursor.
    PPDXPopupControl* Find(const char* keyword, const bool& exact);

    /// "*PageSize", "*InputSlot", "*QVDuplex", "*QV_PAPER_ORIENTATION" (exact), or null.
    PPDXPopupControl* PageSize() { return Find("*PageSize", true); }
    PPDXPopupControl* InputSlot() { return Find("*InputSlot", true); }
    PPDXPopupControl* Duplex() { return Find("*QVDuplex", true); }
    PPDXPopupControl* Orientation() { return Find("*QV_PAPER_ORIENTATION", true); }
    /// No keyword is assigned to these two: always null.
    PPDXPopupControl* MediaSource() { return nullptr; }
    PPDXPopupControl* Pigmentor() { return nullptr; }

    /// The entries, in order (PPDXControl*, possibly null).
    const PointerList& Controls() const { return mControls; }

private:
    /// The popup at the cursor or after it, or null at the end.
    PPDXPopupControl* PopupFrom();

    PointerList mControls;
    PointerListItr mCursor;
};

#endif // PIGMENTOR_PPDX_PPDXSHORTCUTS_H
