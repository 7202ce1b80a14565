//===- PPDXErrorObj.h - An error met while reading a PPD --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_PPDXERROROBJ_H
#define PIGMENTOR_CORE_PPDXERROROBJ_H

#include "CError.h"

/// The PPD engine's error record: code, fatal flag, the keyword it concerns and a description.
///
/// The description is the code-th string of the string list -8900 in the current resource
/// file (the plug-in's resources); it stays empty when the list has no text for the code. The
/// text is in the resource file's encoding (Mac Roman).
class PPDXErrorObj : public CError {
public:
    /// The string-list resource holding one description per PPD error code.
    static constexpr short kDescriptionListID = -8900;

    PPDXErrorObj() = default;
    PPDXErrorObj(const short& code, const CString& keyword, const bool& fatal);
    PPDXErrorObj(const short& code, const bool& fatal);
    PPDXErrorObj(const PPDXErrorObj& other) = default;
    PPDXErrorObj& operator=(const PPDXErrorObj& other) = default;

    /// The keyword the error concerns, or null when none was given.
    const char* Keyword() const { return mKeyword.Empty() ? nullptr : static_cast<const char*>(mKeyword); }

private:
    void LoadDescription();

    CString mKeyword;
};

#endif // PIGMENTOR_CORE_PPDXERROROBJ_H
