//===- GroupName.h - A group declared by name, not yet placed ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_GROUPNAME_H
#define PIGMENTOR_PPDX_GROUPNAME_H

#include "CString.h"

#include <CoreFoundation/CFString.h>

/// A group that a "*%QRVGroupName" line declared and that no line has placed yet.
///
/// The record owns its keyword and the translation's text, and holds one reference to the
/// translation. The keyword is kept as written in the PPD (with its leading '*' if it has one);
/// a null or empty keyword leaves it null. The translation text is the translation in the
/// system encoding (Mac Roman), null when there is no translation. The model keeps these
/// records only while it parses.
class GroupName {
public:
    /// Copies `keyword`, retains `translation` (may be null) and converts it to text.
    GroupName(const char* keyword, CFStringRef translation, bool visible);
    GroupName(const GroupName&) = delete;
    GroupName& operator=(const GroupName&) = delete;
    virtual ~GroupName();

    /// The keyword, or null.
    const char* Keyword() const;
    /// The translation (not retained for the caller), or null.
    CFStringRef Translation() const { return mTranslation; }
    /// The translation in the system encoding, or null.
    const char* TranslationText() const;
    bool IsVisible() const { return mVisible; }

private:
    CString* mKeyword = nullptr;
    CFStringRef mTranslation = nullptr;
    CString* mTranslationText = nullptr;
    bool mVisible = false;
};

#endif // PIGMENTOR_PPDX_GROUPNAME_H
