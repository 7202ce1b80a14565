//===- PPDXElement.h - Common base of controls and groups -------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_PPDXELEMENT_H
#define PIGMENTOR_PPDX_PPDXELEMENT_H

#include "PPDXTypes.h"

#include "CString.h"

#include <CoreFoundation/CFString.h>

class Settings;

/// Abstract base of every element of the PPD model (controls, groups, pages): a main keyword,
/// a translated display name, a visibility flag and a parent.
///
/// The element owns its keyword (stored as the PPD writes it, leading '*' included, in the
/// PPD's bytes) and the cache of its display name in the system encoding (Mac Roman); it holds
/// one reference to its local name. The parent is not owned; null makes the element an
/// orphan; a pending parent keyword (owned) names it until the model links it. Callers pass a local
/// name (a null one leaves the element without display name). An element rebuilt from a
/// Settings archive knows its parent only as that pending keyword. One thread at a time.
class PPDXElement {
public:
    /// Copies a non-empty `keyword` (null or "" leaves none) and retains `localName`.
    PPDXElement(const char* keyword, CFStringRef localName, const bool& visible);
    /// Rebuilds the element saved under `id`: keyword, display name, visibility and the
    /// parent's keyword as pending parent; what is missing stays unset (visible by default).
    PPDXElement(Settings& settings, const long& id);
    PPDXElement(const PPDXElement&) = delete;
    PPDXElement& operator=(const PPDXElement&) = delete;
    virtual ~PPDXElement() = 0;

    /// Whether a walk under `options` shows this element: 0 visible with parent, 1 visible,
    /// 2 with parent, anything else always.
    virtual bool OkayToDisplay(const _DISPLAY_OPTIONS_& options) const;
    /// Writes the element's items under `id` (keyword, display name as text and as UTF-16,
    /// visibility, the parent's keyword); subclasses add theirs after. 0 or the first error.
    virtual short Save(Settings& settings, const long& id);

    /// The keyword, or null when the element has none.
    const char* Keyword() const;
    /// The display name in the system encoding (made on first call and kept), or null.
    const char* UserName() const;
    /// The display name, not retained for the caller; may be null.
    CFStringRef CFStringUserName() const { return mLocalName; }

    bool IsVisible() const { return mVisible; }
    bool IsOrphan() const { return mParent == nullptr; }
    PPDXElement* GetParent() const { return mParent; }
    void SetParent(PPDXElement* parent) { mParent = parent; }
    /// The keyword of a parent not linked yet (an element rebuilt from an archive), or null.
    const char* ParentKeyword() const;
    /// Keeps a copy of `keyword` as the pending parent (null or "": none).
    void SetParentKeyword(const char* keyword);
    void ClearParentKeyword() { SetParentKeyword(nullptr); }

    /// Both elements have a keyword and the keywords are equal.
    bool operator==(const PPDXElement& other) const;
    /// This element has a keyword, `keyword` is not null and they are equal.
    bool operator==(const char* keyword) const;

protected:
    /// Replaces the display name with `localName` (retained) and drops the cached user name.
    void SetLocalName(CFStringRef localName);
    /// Replaces the cached user name with a copy of `userName` (null: dropped).
    void SetUserNameCache(const char* userName);

    CString* mKeyword = nullptr;
    mutable CString* mUserName = nullptr;
    CFStringRef mLocalName = nullptr;
    bool mVisible = true;
    PPDXElement* mParent = nullptr;
    CString* mParentKeyword = nullptr;
};

#endif // PIGMENTOR_PPDX_PPDXELEMENT_H
