//===- _PopupItem.h - One choice of a popup control -------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_POPUPITEM_H
#define PIGMENTOR_PPDX_POPUPITEM_H

#include "CString.h"

#include <CoreFoundation/CFString.h>

/// One choice of a popup control: option keyword (such as A4), its translation, its
/// invocation code and whether it is selected. A plain structure owned by its popup.
///
/// The item owns everything it points at: a copy of the keyword (PPD bytes), one reference to
/// the local name, the code block (malloc, freed with free; a length of 0 or less means none)
/// and the display-name cache (system encoding, Mac Roman).
struct _PopupItem {
    /// Copies `keyword` and takes over the caller's reference to `localName` and the malloc
    /// block `psData` of `psLength` bytes; any of them may be null. Not selected. Without
    /// memory for a long keyword's copy the item has no keyword.
    _PopupItem(const char* keyword, CFStringRef localName, unsigned char* psData, long psLength);
    ~_PopupItem();
    _PopupItem(const _PopupItem&) = delete;
    _PopupItem& operator=(const _PopupItem&) = delete;

    /// The option keyword, or null.
    const char* Keyword() const;
    /// Whether the item has a keyword equal to `keyword` (false for null).
    bool HasKeyword(const char* keyword) const;
    /// The code length, 0 when there is no code.
    long PSLength() const { return mPSData && mPSLength > 0 ? mPSLength : 0; }
    /// The local name in the system encoding, made on first call and kept; null without one.
    const char* displayName();

    CFStringRef mLocalName;
    unsigned char* mPSData;
    long mPSLength;
    bool mSelected = false;

private:
    CString mKeyword; // held in the item: one allocation less per choice
    char* mDisplayName = nullptr;
};

#endif // PIGMENTOR_PPDX_POPUPITEM_H
