//===- KeyConstraintTree.h - The constraints of one keyword -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_KEYCONSTRAINTTREE_H
#define PIGMENTOR_PPDX_KEYCONSTRAINTTREE_H

#include "ItemConstraintList.h"

#include <map>

/// The constraints of one first keyword (id `Key()`): an ordered map from first option id to
/// the list of what that choice constrains.
///
/// The tree owns its lists. Ids are indices of the model's constraint string set. Nothing is
/// merged or removed. Nothing throws: a failed allocation is reported as a status.
class KeyConstraintTree {
public:
    explicit KeyConstraintTree(long key) : mKey(key) {}
    KeyConstraintTree(const KeyConstraintTree&) = delete;
    KeyConstraintTree& operator=(const KeyConstraintTree&) = delete;
    virtual ~KeyConstraintTree();

    /// Appends `pair` to the list of `option1`, making the list when absent; false when
    /// memory runs out (nothing stored).
    bool insert(long option1, const ItemConstraintList::Pair& pair);
    /// A new list (the caller deletes it) of the pairs of `option1`, or, for -1, of every
    /// option in ascending id order; empty when there are none; null when memory runs out.
    ItemConstraintList* GetItemConstraintList(long option1) const;

    long Key() const { return mKey; }
    /// The number of pairs stored under every option.
    unsigned long Count() const;

private:
    long mKey;
    std::map<long, ItemConstraintList*> mLists;
};

#endif // PIGMENTOR_PPDX_KEYCONSTRAINTTREE_H
