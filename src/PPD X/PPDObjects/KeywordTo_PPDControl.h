//===- KeywordTo_PPDControl.h - Index from keyword to control ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_KEYWORDTO_PPDCONTROL_H
#define PIGMENTOR_PPDX_KEYWORDTO_PPDCONTROL_H

#include <vector>

class PPDXControl;

/// An index from control keyword to control, filled during a parse and sorted once at its
/// end for binary search.
///
/// The index owns a private copy of each keyword (bytes, compared with strcmp); it never owns
/// or touches the controls. Look-ups on an index that was not sorted since the last insertion
/// search linearly, so they stay correct. One thread at a time.
class KeywordTo_PPDControl {
public:
    /// One entry: the keyword copy (owned by the index) and the control (not owned).
    struct Pair {
        char* keyword;
        PPDXControl* control;
    };

    KeywordTo_PPDControl() = default;
    KeywordTo_PPDControl(const KeywordTo_PPDControl&) = delete;
    KeywordTo_PPDControl& operator=(const KeywordTo_PPDControl&) = delete;
    /// Frees every keyword copy; the controls are left alone.
    virtual ~KeywordTo_PPDControl();

    /// Appends a pair with a copy of `keyword`; the index becomes unsorted. False (nothing
    /// added) for a null keyword or when memory runs out.
    bool insert(const char* keyword, PPDXControl* control);
    /// Sorts the pairs by keyword (equal keywords keep their order) and marks the index sorted.
    void EndInsertion();
    bool IsSorted() const { return mSorted; }

    /// The control of the first pair whose keyword equals `keyword`, or null.
    PPDXControl* Lookup(const char* keyword) const;
    PPDXControl* operator[](const char* keyword) const { return Lookup(keyword); }
    /// The keyword of the first pair that holds `control`, or null.
    const char* Lookup(const PPDXControl* control) const;
    /// The i-th pair (pass an unsigned long, such as 0UL), or null past the end.
    const Pair* operator[](unsigned long i) const;
    unsigned long size() const { return mPairs.size(); }

private:
    std::vector<Pair> mPairs;
    bool mSorted = true;
};

#endif // PIGMENTOR_PPDX_KEYWORDTO_PPDCONTROL_H
