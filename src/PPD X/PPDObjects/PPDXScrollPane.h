//===- PPDXScrollPane.h - The scroll pane of a property page ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXSCROLLPANE_H
#define PIGMENTOR_PPDX_PPDXSCROLLPANE_H

#include "PPDXGroup.h"

class PPDXGroups;

/// A scroll pane: the one pane of a property page, holding the page's roll-downs.
///
/// The pane owns its roll-downs container, made empty by the constructor and deleted by the
/// destructor; the container does not own the roll-downs, which the PPD model deletes. The
/// model owns the pane itself. The container is null only when it could not be allocated.
class PPDXScrollPane : public PPDXGroup {
public:
    /// No keyword, no translation, visible; an empty roll-downs container.
    PPDXScrollPane();
    /// Copies `keyword`, retains `translation`; an empty roll-downs container.
    PPDXScrollPane(const char* keyword, CFStringRef translation, const bool& visible);
    /// Rebuilds the element saved under `id`; an empty roll-downs container, filled when the
    /// model links its roll-downs.
    PPDXScrollPane(Settings& settings, const long& id);
    ~PPDXScrollPane() override;

    /// Adds the marker ScPn (and not the plain group's) after the element's items.
    short Save(Settings& settings, const long& id) override;

    /// The roll-downs of this pane (owned by the pane), or null.
    PPDXGroups* RollDowns() const { return mRollDowns; }

private:
    PPDXGroups* mRollDowns = nullptr;
};

#endif // PIGMENTOR_PPDX_PPDXSCROLLPANE_H
