//===- ConstraintForest.h - A PPD's UI constraints by keyword ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PPDX_CONSTRAINTFOREST_H
#define PIGMENTOR_PPDX_CONSTRAINTFOREST_H

#include "KeyConstraintTree.h"

/// One map of UI constraints (or of requirements) of a PPD model: (first keyword, first
/// option) -> (second keyword, second option), every string given by its id in the model's
/// constraint string set. An ordered map from first keyword id to that keyword's tree.
///
/// The forest owns its trees. A constraint given twice is stored twice; nothing is removed.
/// Filled during the parse, read-only afterwards. Nothing throws: a failed allocation is
/// reported as a status.
class ConstraintForest {
public:
    ConstraintForest() = default;
    ConstraintForest(const ConstraintForest&) = delete;
    ConstraintForest& operator=(const ConstraintForest&) = delete;
    virtual ~ConstraintForest();

    /// Stores one constraint; false when memory runs out (nothing stored).
    bool insert(long key1, long option1, long key2, long option2);
    bool insert(long key1, long option1, const ItemConstraintList::Pair& pair);
    /// A new list (the caller deletes it) of what (key1, option1) constrains, or, for option
    /// -1, of what any option of key1 constrains (ascending option ids); null when key1 has no
    /// constraints or memory runs out.
    ItemConstraintList* GetConstraintList(long key1, long option1) const;

    /// The number of constraints stored.
    unsigned long Count() const;
    /// The number of first keywords that have constraints.
    unsigned long KeyCount() const { return mTrees.size(); }

private:
    std::map<long, KeyConstraintTree*> mTrees;
};

#endif // PIGMENTOR_PPDX_CONSTRAINTFOREST_H
