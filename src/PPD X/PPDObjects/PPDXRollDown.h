//===- PPDXRollDown.h - A collapsible section holding controls --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXROLLDOWN_H
#define PIGMENTOR_PPDX_PPDXROLLDOWN_H

#include "PPDXGroup.h"

class PPDXControls;

/// A roll-down: a collapsible section of a scroll pane, the only kind of group that holds
/// controls.
///
/// The roll-down owns its controls container, made empty by the constructor and deleted by the
/// destructor; the container does not own the controls, which the PPD model deletes. The model
/// owns the roll-down itself. The container is null only when it could not be allocated.
class PPDXRollDown : public PPDXGroup {
public:
    /// No keyword, no translation, visible; an empty controls container.
    PPDXRollDown();
    /// Copies `keyword`, retains `translation`; an empty controls container.
    PPDXRollDown(const char* keyword, CFStringRef translation, const bool& visible);
    /// Rebuilds the element saved under `id`; an empty controls container, filled when the
    /// model links its controls.
    PPDXRollDown(Settings& settings, const long& id);
    ~PPDXRollDown() override;

    /// Adds the marker RlDn (and not the plain group's) after the element's items.
    short Save(Settings& settings, const long& id) override;

    /// The controls shown in this roll-down (owned by the roll-down), or null.
    PPDXControls* Controls() const { return mRollDownControls; }

private:
    PPDXControls* mRollDownControls = nullptr;
};

#endif // PIGMENTOR_PPDX_PPDXROLLDOWN_H
