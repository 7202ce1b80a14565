//===- KeyConstraintTree.cpp - The constraints of one keyword -------------===//
#include "KeyConstraintTree.h"

#include <new>

KeyConstraintTree::~KeyConstraintTree() {
    for (auto& entry : mLists)
        delete entry.second;
}

bool KeyConstraintTree::insert(long option1, const ItemConstraintList::Pair& pair) {
    auto found = mLists.find(option1);
    if (found != mLists.end())
        return found->second->insert(pair);
    ItemConstraintList* list = new (std::nothrow) ItemConstraintList(option1);
    if (!list || !list->insert(pair)) {
        delete list;
        return false;
    }
    // The map's node allocation is the one place here that throws.
    try {
        mLists.emplace(option1, list);
    } catch (...) {
        delete list;
        return false;
    }
    return true;
}

ItemConstraintList* KeyConstraintTree::GetItemConstraintList(long option1) const {
    ItemConstraintList* result = new (std::nothrow) ItemConstraintList(option1);
    if (!result)
        return nullptr;
    for (const auto& entry : mLists)
        if (option1 == -1 || entry.first == option1)
            *result += *entry.second;
    return result;
}

unsigned long KeyConstraintTree::Count() const {
    unsigned long count = 0;
    for (const auto& entry : mLists)
        count += entry.second->size();
    return count;
}
