//===- PPDXErrors.h - The errors met while reading a PPD --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_PPDXERRORS_H
#define PIGMENTOR_CORE_PPDXERRORS_H

#include "PPDXErrorObj.h"
#include "PointerList.h"

/// The errors of one PPD model, in the order they were found, with a cursor for First/Next.
///
/// The list never deletes the error objects: the model that owns the list does, before it
/// destroys the list.
class PPDXErrors {
public:
    PPDXErrors() = default;
    virtual ~PPDXErrors() = default;

    /// Appends `error`; ownership stays with the caller (the model).
    void Add(PPDXErrorObj* error) { mList.PushBack(error); }
    uint32_t Count() const { return mList.Size(); }
    bool Empty() const { return mList.Empty(); }
    /// Moves the cursor to the first error and returns it (null when there is none).
    PPDXErrorObj* First();
    /// Moves the cursor on and returns that error (null at the end).
    PPDXErrorObj* Next();

    /// Every error, for owners that delete them and for walks that must not move the cursor.
    const PointerList& List() const { return mList; }

private:
    PointerList mList;
    PointerListItr mCursor;
};

#endif // PIGMENTOR_CORE_PPDXERRORS_H
