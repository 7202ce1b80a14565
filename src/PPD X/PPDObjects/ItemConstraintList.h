//===- ItemConstraintList.h - The choices one choice constrains -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_ITEMCONSTRAINTLIST_H
#define PIGMENTOR_PPDX_ITEMCONSTRAINTLIST_H

#include <utility>
#include <vector>

/// The choices that one choice of a keyword constrains (or requires): for the first option id
/// `Option()`, the pairs (second keyword id, second option id) in insertion order, duplicates
/// kept. Ids are indices of the model's constraint string set.
///
/// A plain value. Growing the list may fail when memory runs out: insert then reports false,
/// and a copy or an append keeps what it could not extend unchanged. Nothing throws.
class ItemConstraintList {
public:
    typedef std::pair<long, long> Pair;

    explicit ItemConstraintList(long option = -1) : mOption(option) {}
    ItemConstraintList(const ItemConstraintList& other);
    virtual ~ItemConstraintList();
    /// Takes the other list's option and pairs (unchanged when they cannot be copied).
    ItemConstraintList& operator=(const ItemConstraintList& other);
    /// Appends all pairs of `other` (nothing when they cannot be added).
    ItemConstraintList& operator+=(const ItemConstraintList& other);
    /// A list with this list's option and the pairs of both.
    ItemConstraintList operator+(const ItemConstraintList& other) const;

    /// Appends the pair (key, option); false when memory runs out.
    bool insert(long key, long option);
    bool insert(const Pair& pair);
    unsigned long size() const { return mPairs.size(); }
    /// A copy of the pair at `index`; (-1, -1) past the end.
    Pair operator[](unsigned long index) const;
    long Option() const { return mOption; }

private:
    long mOption;
    std::vector<Pair> mPairs;
};

#endif // PIGMENTOR_PPDX_ITEMCONSTRAINTLIST_H
