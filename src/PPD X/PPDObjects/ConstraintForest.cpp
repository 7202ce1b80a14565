//===- ConstraintForest.cpp - A PPD's UI constraints by keyword -----------===//
#include "ConstraintForest.h"

#include <new>

ConstraintForest::~ConstraintForest() {
    for (auto& entry : mTrees)
        delete entry.second;
}

bool ConstraintForest::insert(long key1, long option1, long key2, long option2) {
    return insert(key1, option1, ItemConstraintList::Pair(key2, option2));
}

bool ConstraintForest::insert(long key1, long option1, const ItemConstraintList::Pair& pair) {
    auto found = mTrees.find(key1);
    if (found != mTrees.end())
        return found->second->insert(option1, pair);
    KeyConstraintTree* tree = new (std::nothrow) KeyConstraintTree(key1);
    if (!tree || !tree->insert(option1, pair)) {
        delete tree;
        return false;
    }
    // The map's node allocation is the one place here that throws.
    try {
        mTrees.emplace(key1, tree);
    } catch (...) {
        delete tree;
        return false;
    }
    return true;
}

ItemConstraintList* ConstraintForest::GetConstraintList(long key1, long option1) const {
    auto found = mTrees.find(key1);
    return found == mTrees.end() ? nullptr : found->second->GetItemConstraintList(option1);
}

unsigned long ConstraintForest::Count() const {
    unsigned long count = 0;
    for (const auto& entry : mTrees)
        count += entry.second->Count();
    return count;
}
