//===- PPDXProperty.h - A property page -------------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXPROPERTY_H
#define PIGMENTOR_PPDX_PPDXPROPERTY_H

#include "PPDXElement.h"

class PPDXScrollPane;

/// A property page: the top of the hierarchy, shown in the print properties, in the
/// application, or both, and holding at most one scroll pane.
///
/// The PPD model owns the page and its scroll pane; the page only points at the pane (null
/// until a pane names this page as its parent). Keyword and translation follow PPDXElement.
class PPDXProperty : public PPDXElement {
public:
    /// No keyword, no translation, visible, shown in both places.
    PPDXProperty();
    /// Copies `keyword`, retains `translation`; no scroll pane yet.
    PPDXProperty(const char* keyword, CFStringRef translation, const bool& visible,
                 const bool& showInPrintProp, const bool& showInApp);
    /// Rebuilds the page saved under `id`; where it shows is read up to the first missing
    /// item (both true by default). The scroll pane is linked later by the model.
    PPDXProperty(Settings& settings, const long& id);
    ~PPDXProperty() override;

    /// Adds whether the page shows in the print properties and in the application.
    short Save(Settings& settings, const long& id) override;

    /// Whether the page shows in the print properties.
    bool ShowInPrintProp() const { return mShowInPrintProp; }
    /// Whether the page shows in the application.
    bool ShowInApp() const { return mShowInApp; }
    /// The page's scroll pane (not owned), or null.
    PPDXScrollPane* GetScrollDown() const { return mScrollDown; }
    /// Links `scrollPane` (not owned; null unlinks), replacing any earlier link.
    void SetScrollDown(PPDXScrollPane* scrollPane) { mScrollDown = scrollPane; }

private:
    PPDXScrollPane* mScrollDown = nullptr;
    bool mShowInPrintProp = true;
    bool mShowInApp = true;
};

#endif // PIGMENTOR_PPDX_PPDXPROPERTY_H
