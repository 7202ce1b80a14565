//===- ItemConstraintList.cpp - The choices one choice constrains ---------===//
//
// The standard containers report a failed allocation by throwing; the engine does not
// throw, so every growth is caught here and turned into a status.
//
//===----------------------------------------------------------------------===//
#include "ItemConstraintList.h"

ItemConstraintList::ItemConstraintList(const ItemConstraintList& other) : mOption(other.mOption) {
    try {
        mPairs = other.mPairs;
    } catch (...) {
        mPairs.clear();
    }
}

ItemConstraintList::~ItemConstraintList() = default;

ItemConstraintList& ItemConstraintList::operator=(const ItemConstraintList& other) {
    if (&other == this)
        return *this;
    try {
        std::vector<Pair> copy(other.mPairs);
        mPairs.swap(copy);
        mOption = other.mOption;
    } catch (...) {
    }
    return *this;
}

ItemConstraintList& ItemConstraintList::operator+=(const ItemConstraintList& other) {
    try {
        std::vector<Pair> joined(mPairs);
        joined.insert(joined.end(), other.mPairs.begin(), other.mPairs.end());
        mPairs.swap(joined);
    } catch (...) {
    }
    return *this;
}

ItemConstraintList ItemConstraintList::operator+(const ItemConstraintList& other) const {
    ItemConstraintList sum(*this);
    sum += other;
    return sum;
}

bool ItemConstraintList::insert(long key, long option) {
    return insert(Pair(key, option));
}

bool ItemConstraintList::insert(const Pair& pair) {
    try {
        mPairs.push_back(pair);
    } catch (...) {
        return false;
    }
    return true;
}

ItemConstraintList::Pair ItemConstraintList::operator[](unsigned long index) const {
    return index < mPairs.size() ? mPairs[index] : Pair(-1, -1);
}
