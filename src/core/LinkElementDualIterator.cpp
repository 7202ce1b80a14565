//===- LinkElementDualIterator.cpp - Position in a PtrLinkList ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "LinkElementDualIterator.h"

#include "LinkElement_Dual.h"
#include "PtrLinkList.h"

LinkElementDualIterator::LinkElementDualIterator(PtrLinkList& list) : mCurrent(list.first()) {}

LinkElementDualIterator::LinkElementDualIterator(LinkElement_Dual* element) : mCurrent(element) {}

LinkElementDualIterator& LinkElementDualIterator::operator++() {
    if (mCurrent)
        mCurrent = mCurrent->next();
    return *this;
}

LinkElementDualIterator LinkElementDualIterator::operator++(int) {
    LinkElementDualIterator old = *this;
    ++*this;
    return old;
}

LinkElementDualIterator& LinkElementDualIterator::operator--() {
    if (mCurrent)
        mCurrent = mCurrent->prev();
    return *this;
}

LinkElementDualIterator LinkElementDualIterator::operator--(int) {
    LinkElementDualIterator old = *this;
    --*this;
    return old;
}
