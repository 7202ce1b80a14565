//===- PPDXGroups.h - A container of groups ---------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXGROUPS_H
#define PIGMENTOR_PPDX_PPDXGROUPS_H

#include "PointerList.h"

#include <cstdint>

class PPDXGroup;
class Settings;

/// The groups of a model or of a scroll pane (plain groups, roll-downs, scroll panes) in the
/// order they were added, with one cursor for First/Next.
///
/// The container never deletes the groups: the PPD model does. First/Next and Count() follow
/// the process-wide display options (PPDXDisplay); Find() sees every group. The counters are
/// taken when a group is added: a parent or visibility changed later does not change Count().
/// Two walks of one container cannot be interleaved. In a Settings archive the n-th group
/// (from 0) sits under id 4001 + n, after its count. One thread at a time.
class PPDXGroups {
public:
    PPDXGroups() = default;
    /// Rebuilds every group saved in `settings` (plain, roll-down or scroll pane by its marker;
    /// ids without one are skipped) and adds it, parents still pending by keyword. The groups
    /// are the caller's to delete.
    explicit PPDXGroups(Settings& settings);
    PPDXGroups(const PPDXGroups&) = delete;
    PPDXGroups& operator=(const PPDXGroups&) = delete;
    virtual ~PPDXGroups();

    /// Appends `group` (not owned) and counts it; null is ignored.
    void Add(PPDXGroup* group);
    /// Writes the count, then every group in order; 0 or the first error. More than 1000
    /// groups give paramErr: their ids would run into the controls'.
    short Save(Settings& settings);
    /// Moves the cursor to the first group the display options admit; null when none.
    PPDXGroup* First();
    /// Moves the cursor to the next group the display options admit; null at the end.
    PPDXGroup* Next();
    /// The first group whose keyword equals (`exact`) or contains `keyword`, whatever the
    /// display options; null when none. The cursor stays where it is.
    PPDXGroup* Find(const char* keyword, const bool& exact) const;
    /// How many groups First/Next show under the current display options.
    uint32_t Count() const;
    /// Count() is 0.
    bool Empty() const { return Count() == 0; }

    /// Every group in order, for owners that delete them and walks that must see them all.
    const PointerList& List() const { return mList; }

private:
    /// From the cursor on, the first group the display options admit (cursor left on it).
    PPDXGroup* SkipHidden();

    PointerList mList;
    PointerListItr mCursor;
    uint32_t mTotal = 0;
    uint32_t mOrphans = 0;
    uint32_t mHidden = 0;
    uint32_t mHiddenOrphans = 0;
};

#endif // PIGMENTOR_PPDX_PPDXGROUPS_H
