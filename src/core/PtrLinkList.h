//===- PtrLinkList.h - Owning intrusive doubly linked list ------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_PTRLINKLIST_H
#define PIGMENTOR_CORE_PTRLINKLIST_H

#include "LinkElementDualIterator.h"

#include <cstdint>

class LinkElement_Dual;

/// An owning, intrusive, doubly linked list of LinkElement_Dual. Callers allocate elements with
/// `new` and hand them over with `add`; from then on the list owns them and its destructor
/// deletes each exactly once, front to back. Elements are appended only, never removed, so a
/// pointer from `first`, `last` or `index` stays valid until the list is emptied with
/// `deleteAll` or destroyed. Not copyable.
/// Not locked: one thread at a time.
class PtrLinkList {
public:
    /// An empty list, or one holding `first` (taken over) when it is given.
    explicit PtrLinkList(LinkElement_Dual* first = nullptr);
    PtrLinkList(const PtrLinkList&) = delete;
    PtrLinkList& operator=(const PtrLinkList&) = delete;
    /// Deletes every element, first to last.
    virtual ~PtrLinkList();
    /// Diagnostic dump under `title`; prints nothing.
    virtual void dumpEntireList(char* title);

    /// Appends `element` and takes it over; false (list unchanged, element not taken) for null
    /// or for an element that is already linked into this or another list.
    bool add(LinkElement_Dual* element);
    /// Deletes every element, first to last, and leaves the list empty (its iterator on null).
    void deleteAll();

    /// The first element, or null.
    LinkElement_Dual* first() const { return mFirst; }
    /// The last element, or null.
    LinkElement_Dual* last() const { return mLast; }
    /// The number of elements.
    long count() const { return static_cast<long>(mCount); }
    /// The n-th element counted from 0 at the front; null when n is the count or beyond.
    LinkElement_Dual* index(unsigned short n) const;
    /// The construction result: true unless the first element given was refused.
    bool isValid() const { return mValid != 0; }
    /// The list's own iterator, placed on the first element at construction.
    LinkElementDualIterator& iterator() { return mIterator; }

private:
    LinkElementDualIterator mIterator;
    LinkElement_Dual* mFirst;
    LinkElement_Dual* mLast;
    void* mSpare;
    uint32_t mCount;
    uint8_t mValid;
};

#endif // PIGMENTOR_CORE_PTRLINKLIST_H
