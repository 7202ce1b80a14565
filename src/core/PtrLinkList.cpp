//===- PtrLinkList.cpp - Owning intrusive doubly linked list --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PtrLinkList.h"

#include "LinkElement_Dual.h"

// The iterator is placed only once first is known; constructing it from *this in the member
// list would read first before it is set.
PtrLinkList::PtrLinkList(LinkElement_Dual* first)
    : mIterator(), mFirst(nullptr), mLast(nullptr), mSpare(nullptr), mCount(0), mValid(0) {
    mValid = first ? add(first) : true;
    mIterator = LinkElementDualIterator(mFirst);
}

// next is read before the element goes, so the walk never touches freed memory.
PtrLinkList::~PtrLinkList() {
    deleteAll();
}

void PtrLinkList::deleteAll() {
    LinkElement_Dual* element = mFirst;
    mFirst = mLast = nullptr;
    mCount = 0;
    mIterator = LinkElementDualIterator();
    while (element) {
        LinkElement_Dual* following = element->next();
        delete element;
        element = following;
    }
}

void PtrLinkList::dumpEntireList(char*) {}

// An element with a link, or this list's only element, is already in a list: taking it again
// would tie the list into a cycle and delete the element twice. (The only element of another
// list has no links and cannot be told apart; callers never share elements.)
bool PtrLinkList::add(LinkElement_Dual* element) {
    if (element == nullptr || element->next() || element->prev() || element == mFirst)
        return false;
    if (mFirst == nullptr) {
        mFirst = element;
    } else {
        mLast->next() = element;
        element->prev() = mLast;
        element->next() = nullptr;
    }
    mLast = element;
    ++mCount;
    return true;
}

LinkElement_Dual* PtrLinkList::index(unsigned short n) const {
    if (n >= mCount)
        return nullptr;
    LinkElement_Dual* element = mFirst;
    for (unsigned short i = 0; i < n && element; ++i)
        element = element->next();
    return element;
}
