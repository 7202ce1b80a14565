//===- PointerList.h - Doubly linked list of untyped pointers ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_POINTERLIST_H
#define PIGMENTOR_CORE_POINTERLIST_H

#include <cstdint>

/// One node of a PointerList. The node never owns the pointer it stores.
class PNode {
public:
    explicit PNode(const void* data = nullptr) : mData(data) {}
    /// Unlinks nothing; only clears the links. The stored pointer is left alone.
    virtual ~PNode();

    const void* mData;
    PNode* mPrev = nullptr;
    PNode* mNext = nullptr;
};

/// A position in a PointerList: one node pointer, copied by value. An iterator that holds no
/// node dereferences to null.
class PointerListItr {
public:
    explicit PointerListItr(PNode* node = nullptr) : mNode(node) {}
    /// The stored pointer, or null when the iterator holds no node.
    void* operator*() const { return mNode ? const_cast<void*>(mNode->mData) : nullptr; }
    PointerListItr& operator++() { mNode = mNode ? mNode->mNext : nullptr; return *this; }
    PointerListItr operator++(int) { PointerListItr old = *this; ++*this; return old; }
    PointerListItr& operator--() { mNode = mNode ? mNode->mPrev : nullptr; return *this; }
    PointerListItr operator--(int) { PointerListItr old = *this; --*this; return old; }
    bool operator==(const PointerListItr& other) const { return mNode == other.mNode; }
    bool operator!=(const PointerListItr& other) const { return mNode != other.mNode; }

    PNode* mNode;
};

/// The read-only form of PointerListItr.
class ConstPointerListItr {
public:
    explicit ConstPointerListItr(const PNode* node = nullptr) : mNode(node) {}
    ConstPointerListItr(const PointerListItr& other) : mNode(other.mNode) {}
    const void* operator*() const { return mNode ? mNode->mData : nullptr; }
    ConstPointerListItr& operator++() { mNode = mNode ? mNode->mNext : nullptr; return *this; }
    ConstPointerListItr operator++(int) { ConstPointerListItr old = *this; ++*this; return old; }
    ConstPointerListItr& operator--() { mNode = mNode ? mNode->mPrev : nullptr; return *this; }
    ConstPointerListItr operator--(int) { ConstPointerListItr old = *this; --*this; return old; }
    bool operator==(const ConstPointerListItr& other) const { return mNode == other.mNode; }
    bool operator!=(const ConstPointerListItr& other) const { return mNode != other.mNode; }

    const PNode* mNode;
};

/// A doubly linked list of untyped pointers between two sentinel nodes, which live inside the
/// list object (so End() is stable for the list's lifetime and an empty list allocates nothing).
///
/// The list owns its nodes, never the objects pointed to: whoever puts objects in deletes them
/// before emptying or destroying the list. Copies share the pointed-to objects. An insertion
/// that cannot allocate its node leaves the list unchanged and returns an iterator holding no
/// node. Not thread-safe.
class PointerList {
public:
    PointerList();
    PointerList(const PointerList& other);
    /// Empties this list, then appends every element of `other` in order.
    PointerList& operator=(const PointerList& other);
    virtual ~PointerList();

    PointerListItr Begin() { return PointerListItr(mHead->mNext); }
    PointerListItr End() { return PointerListItr(mTail); }
    ConstPointerListItr Begin() const { return ConstPointerListItr(mHead->mNext); }
    ConstPointerListItr End() const { return ConstPointerListItr(mTail); }

    uint32_t Size() const { return mCount; }
    bool Empty() const { return mCount == 0; }
    /// The first stored pointer, or null for an empty list.
    void* Front() const { return const_cast<void*>(mHead->mNext->mData); }
    /// The last stored pointer, or null for an empty list.
    void* Back() const { return const_cast<void*>(mTail->mPrev->mData); }

    /// Links a new node holding `data` before `pos`; returns an iterator at it.
    PointerListItr InsertBefore(PointerListItr pos, const void* data);
    PointerListItr PushBack(const void* data) { return InsertBefore(End(), data); }
    PointerListItr PushFront(const void* data) { return InsertBefore(Begin(), data); }
    /// Moves every node of `other` before `pos` (a position of this list), in order and without
    /// allocating; `other` is left empty. Nothing moves when `pos` holds no node or is the head
    /// sentinel, or when `other` is this list.
    void Splice(PointerListItr pos, PointerList& other);

    /// Unlinks and deletes the node at `pos`, clears `pos` and returns the following position.
    /// An iterator holding no node (or a sentinel) erases nothing and returns Begin().
    PointerListItr Erase(PointerListItr& pos);
    /// Erases from `first` up to, not including, `last`; returns `last`.
    PointerListItr Erase(PointerListItr first, PointerListItr last);
    void PopFront();
    void PopBack();
    void MakeEmpty();

private:
    void Initialize();
    bool IsSentinel(const PNode* node) const { return node == mHead || node == mTail; }

    uint32_t mCount = 0;
    PNode mHeadNode;
    PNode mTailNode;
    PNode* mHead = &mHeadNode;
    PNode* mTail = &mTailNode;
};

#endif // PIGMENTOR_CORE_POINTERLIST_H
