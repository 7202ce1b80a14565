//===- PointerList.cpp - Doubly linked list of untyped pointers -----------===//
#include "PointerList.h"

#include <new>

PNode::~PNode() {
    mPrev = nullptr;
    mNext = nullptr;
}

PointerList::PointerList() { Initialize(); }

PointerList::PointerList(const PointerList& other) {
    Initialize();
    *this = other;
}

PointerList& PointerList::operator=(const PointerList& other) {
    if (&other == this)
        return *this;
    MakeEmpty();
    for (ConstPointerListItr it = other.Begin(); it != other.End(); ++it)
        PushBack(*it);
    return *this;
}

PointerList::~PointerList() {
    MakeEmpty();
}

void PointerList::Initialize() {
    // The sentinels are members: lists are made by the dozen per model and per server fetch,
    // and two allocations each were most of what an empty list cost.
    mHead->mNext = mTail;
    mTail->mPrev = mHead;
    mCount = 0;
}

PointerListItr PointerList::InsertBefore(PointerListItr pos, const void* data) {
    PNode* next = pos.mNode;
    if (!next || next == mHead)
        return PointerListItr();
    PNode* node = new (std::nothrow) PNode(data);
    if (!node)
        return PointerListItr();
    node->mPrev = next->mPrev;
    node->mNext = next;
    next->mPrev->mNext = node;
    next->mPrev = node;
    ++mCount;
    return PointerListItr(node);
}

void PointerList::Splice(PointerListItr pos, PointerList& other) {
    PNode* next = pos.mNode;
    if (!next || next == mHead || &other == this || other.mCount == 0)
        return;
    PNode* first = other.mHead->mNext;
    PNode* last = other.mTail->mPrev;
    other.mHead->mNext = other.mTail;
    other.mTail->mPrev = other.mHead;
    first->mPrev = next->mPrev;
    last->mNext = next;
    next->mPrev->mNext = first;
    next->mPrev = last;
    mCount += other.mCount;
    other.mCount = 0;
}

PointerListItr PointerList::Erase(PointerListItr& pos) {
    PNode* node = pos.mNode;
    if (!node || IsSentinel(node))
        return Begin();
    PNode* next = node->mNext;
    node->mPrev->mNext = next;
    next->mPrev = node->mPrev;
    delete node;
    --mCount;
    pos.mNode = nullptr;
    return PointerListItr(next);
}

PointerListItr PointerList::Erase(PointerListItr first, PointerListItr last) {
    while (first != last && first.mNode && !IsSentinel(first.mNode))
        first = Erase(first);
    return last;
}

void PointerList::PopFront() {
    if (mCount == 0)
        return;
    PointerListItr first = Begin();
    Erase(first);
}

void PointerList::PopBack() {
    if (mCount == 0)
        return;
    PointerListItr last(mTail->mPrev);
    Erase(last);
}

void PointerList::MakeEmpty() {
    while (mCount > 0)
        PopFront();
}
