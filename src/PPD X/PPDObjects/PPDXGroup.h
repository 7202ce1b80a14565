//===- PPDXGroup.h - A plain group of the model -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXGROUP_H
#define PIGMENTOR_PPDX_PPDXGROUP_H

#include "PPDXElement.h"

/// A plain group: an element with nothing of its own, and the base of roll-downs and scroll
/// panes.
///
/// The PPD model owns every group and deletes it; the containers that list a group only point
/// at it. A plain group holds no controls: a control placed in one stays an orphan. Keyword and
/// translation follow PPDXElement.
class PPDXGroup : public PPDXElement {
public:
    /// No keyword, no translation, visible.
    PPDXGroup();
    /// Copies `keyword`, retains `translation`.
    PPDXGroup(const char* keyword, CFStringRef translation, const bool& visible);
    /// Rebuilds the element saved under `id` (its parent pending by keyword).
    PPDXGroup(Settings& settings, const long& id);
    ~PPDXGroup() override;

    /// Adds the marker gGrp after the element's items.
    short Save(Settings& settings, const long& id) override;
};

#endif // PIGMENTOR_PPDX_PPDXGROUP_H
