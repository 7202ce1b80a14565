//===- LinkElement_Dual.cpp - Element of an intrusive linked list ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "LinkElement_Dual.h"

// Copying the links would let two elements claim one position, and the owning list would then
// walk into (and delete) an element it does not hold.
LinkElement_Dual::LinkElement_Dual(const LinkElement_Dual&) : mNext(nullptr), mPrev(nullptr) {}

// Assignment copies the value of subclasses only; the element stays where it is in its list.
LinkElement_Dual& LinkElement_Dual::operator=(const LinkElement_Dual&) {
    return *this;
}

LinkElement_Dual::~LinkElement_Dual() = default;
