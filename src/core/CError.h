//===- CError.h - Error code with description and fatal flag ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_CERROR_H
#define PIGMENTOR_CORE_CERROR_H

#include "CString.h"

/// An error: a signed 16-bit code, a description text and whether it stops the operation that
/// met it. A plain value type.
class CError {
public:
    CError() = default;
    CError(const short& code, const CString& description, const bool& fatal);
    CError(const CError& other) = default;
    CError& operator=(const CError& other) = default;

    bool operator==(const short& code) const { return mCode == code; }
    bool operator!=(const short& code) const { return mCode != code; }

    short Code() const { return mCode; }
    /// The description, or null when it is empty.
    const char* Description() const { return mDescription.Empty() ? nullptr : static_cast<const char*>(mDescription); }
    void Description(const char* text) { mDescription = text; }
    bool IsFatal() const { return mFatal; }

protected:
    short mCode = 0;
    CString mDescription;
    bool mFatal = false;
};

#endif // PIGMENTOR_CORE_CERROR_H
