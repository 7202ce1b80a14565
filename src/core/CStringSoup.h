//===- CStringSoup.h - Strings numbered by first insertion ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_CSTRINGSOUP_H
#define PIGMENTOR_CORE_CSTRINGSOUP_H

#include "CString.h"

#include <string_view>
#include <unordered_map>
#include <vector>

/// A set of strings in which every distinct string gets a stable small integer: the order of
/// its first insertion, from 0. Strings are compared byte for byte, case included. Nothing is
/// removed one by one, so an index stays valid until Clear(). The set owns its copies.
/// Look-ups by text go through a hash index over the copies: a PPD's constraint lines look up
/// four strings each, thousands of times per file.
class CStringSoup {
public:
    CStringSoup() = default;
    CStringSoup(const CStringSoup&) = delete;
    CStringSoup& operator=(const CStringSoup&) = delete;
    virtual ~CStringSoup();

    /// The index of `text`, inserting a copy first when it is new; -1 when no copy can be made.
    virtual long Insert(const char* text);
    /// The string at an index that Insert returned, or null for any other index.
    virtual const char* Find(long index);
    /// The index of the string equal to `text`, or -1.
    virtual long Find(const char* text);
    /// Deletes every string; all indices become invalid.
    virtual void Clear();
    virtual long size();

private:
    std::vector<CString*> mStrings;
    /// Each copy's text (viewing the copy itself) to its index.
    std::unordered_map<std::string_view, long> mIndex;
};

#endif // PIGMENTOR_CORE_CSTRINGSOUP_H
