//===- PPDXControls.h - The model's list of controls ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXCONTROLS_H
#define PIGMENTOR_PPDX_PPDXCONTROLS_H

#include "PPDXTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PPDXControl;
class PPDXBooleanControl;
class PPDXJobNote;
class PPDXPopupControl;
class PPDXRangeControl;
class PPDXSpecialOption;
class Settings;

/// How many controls of one kind were added, and how many of those were orphans, hidden, or
/// both; the counts under each display option follow from these four.
struct CountArray {
    uint32_t total = 0;
    uint32_t orphans = 0;
    uint32_t hidden = 0;
    uint32_t hiddenOrphans = 0;
};

/// Every control of a PPD model in order of insertion, plus one list per kind (popups,
/// booleans, integer ranges, job notes, special options) with its counts.
///
/// The container never owns the controls: the model deletes them, after this container or
/// before emptying it. A floating-point range is kept only in the list of all controls. The
/// walk over all controls and the counts honour the model's display options (PPDXDisplay);
/// the walks over one kind do not. Each list has one cursor: a Find moves it. Keywords are
/// compared as bytes. In a Settings archive the n-th control (from 0) of the list of all
/// controls sits under id 5001 + n, after its count. One thread at a time.
class PPDXControls {
public:
    /// A walk's cursor past the last control of its list; lists only grow, and a cursor there
    /// stays there.
    static constexpr size_t kEnd = SIZE_MAX;

    PPDXControls() = default;
    /// Rebuilds every control saved in `settings` (the kind from its marker; ids without one
    /// are skipped) and adds it. The controls are the caller's to delete, as for Add.
    explicit PPDXControls(Settings& settings);
    PPDXControls(const PPDXControls&) = delete;
    PPDXControls& operator=(const PPDXControls&) = delete;
    virtual ~PPDXControls();

    /// Appends `control` to all controls and to its kind's list, counting it (null: nothing).
    void Add(PPDXControl* control);
    /// Writes the count of all controls, then every control in insertion order; 0 or the
    /// first error (what was written before stays).
    short Save(Settings& settings);
    /// Gives every control, in insertion order, its value saved under its id; stops at the
    /// first error and returns it.
    short Restore(Settings& settings);
    /// Counts `control` into `counts`: total, orphan, hidden, hidden orphan.
    static void Increment(PPDXControl* control, CountArray& counts);
    /// The number `counts` gives under the current display options (0 for unknown options).
    static uint32_t Count(const CountArray& counts);

    uint32_t PopupCount() const { return Count(mPopups.counts); }
    uint32_t BooleanCount() const { return Count(mBooleans.counts); }
    uint32_t RangeCount() const { return Count(mRanges.counts); }
    /// Job notes counted with orphans shown, whatever the display options.
    uint32_t JobNoteCount() const;
    /// Special options counted with everything shown, whatever the display options.
    uint32_t SpecialOptionsCount() const;
    /// Popups, booleans, ranges and job notes.
    uint32_t ControlCount() const;
    bool NoPopups() const { return PopupCount() == 0; }
    bool NoBooleanControls() const { return BooleanCount() == 0; }
    bool NoRangeControls() const { return RangeCount() == 0; }
    bool NoJobNotes() const { return JobNoteCount() == 0; }
    bool NoSpecialOptions() const { return SpecialOptionsCount() == 0; }
    /// No popups, booleans, ranges or job notes.
    bool Empty() const;

    /// The first control shown under the current display options, and its kind; null (and
    /// kNoControlType) when none.
    PPDXControl* First(CNTL_TYPE& type);
    /// The next control shown, and its kind; null (and kNoControlType) at the end.
    PPDXControl* Next(CNTL_TYPE& type);

    /// Walks over one kind, every control of it; null at the end.
    PPDXPopupControl* FirstPopupControl();
    PPDXPopupControl* NextPopupControl();
    PPDXBooleanControl* FirstBooleanControl();
    PPDXBooleanControl* NextBooleanControl();
    PPDXRangeControl* FirstRangeControl();
    PPDXRangeControl* NextRangeControl();
    PPDXJobNote* FirstJobNote();
    PPDXJobNote* NextJobNote();
    PPDXSpecialOption* FirstSpecialOption();
    PPDXSpecialOption* NextSpecialOption();

    /// The first control shown whose keyword equals `keyword` (exact) or contains it, and its
    /// kind; null when none or for a null keyword.
    PPDXControl* Find(const char* keyword, CNTL_TYPE& type, const bool& exact);
    /// The same over one kind's list, without display filtering.
    PPDXPopupControl* FindPopup(const char* keyword, const bool& exact);
    PPDXBooleanControl* FindBoolean(const char* keyword, const bool& exact);
    PPDXRangeControl* FindRangeControl(const char* keyword, const bool& exact);
    PPDXJobNote* FindJobNote(const char* keyword, const bool& exact);
    PPDXSpecialOption* FindSpecialOption(const char* keyword, const bool& exact);

protected:
    /// One kind's controls, cursor and counts.
    struct KindList {
        std::vector<PPDXControl*> list;
        size_t cursor = kEnd;
        CountArray counts;
    };

    static PPDXControl* FirstOf(KindList& kind);
    static PPDXControl* NextOf(KindList& kind);
    static PPDXControl* FindIn(KindList& kind, const char* keyword, bool exact);
    /// Whether `control`'s keyword matches `keyword` as Find compares them.
    static bool Matches(const PPDXControl* control, const char* keyword, bool exact);
    /// The current or following control of the all-controls walk that is shown.
    PPDXControl* ShownFrom(CNTL_TYPE& type);

    // Vectors: a control added cost two list nodes, and a model adds every control twice (to
    // its roll-down's list and to its own).
    std::vector<PPDXControl*> mAll;
    size_t mAllCursor = kEnd;
    KindList mPopups;
    KindList mBooleans;
    KindList mRanges;
    KindList mJobNotes;
    KindList mSpecialOptions;
};

#endif // PIGMENTOR_PPDX_PPDXCONTROLS_H
