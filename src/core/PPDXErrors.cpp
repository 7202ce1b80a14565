//===- PPDXErrors.cpp - The errors met while reading a PPD ----------------===//
#include "PPDXErrors.h"

PPDXErrorObj* PPDXErrors::First() {
    mCursor = mList.Begin();
    return static_cast<PPDXErrorObj*>(*mCursor);
}

PPDXErrorObj* PPDXErrors::Next() {
    // Once past the end the cursor stays on the tail sentinel, whose data is null.
    if (mCursor.mNode && mCursor != mList.End())
        ++mCursor;
    return static_cast<PPDXErrorObj*>(*mCursor);
}
