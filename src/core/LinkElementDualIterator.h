//===- LinkElementDualIterator.h - Position in a PtrLinkList ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_LINKELEMENTDUALITERATOR_H
#define PIGMENTOR_CORE_LINKELEMENTDUALITERATOR_H

class LinkElement_Dual;
class PtrLinkList;

/// A position in a PtrLinkList: one element pointer (not owned), or null past either end.
/// Stepping from null stays null. The caller keeps the list alive while the iterator is used.
class LinkElementDualIterator {
public:
    /// Stands on the list's first element (null when the list is empty).
    explicit LinkElementDualIterator(PtrLinkList& list);
    /// Stands on `element` (may be null), e.g. a list's last element to walk backwards.
    explicit LinkElementDualIterator(LinkElement_Dual* element = nullptr);

    /// The element stood on, or null.
    LinkElement_Dual* current() const { return mCurrent; }
    LinkElement_Dual* operator*() const { return mCurrent; }

    /// Moves to the next element; null stays null.
    LinkElementDualIterator& operator++();
    LinkElementDualIterator operator++(int);
    /// Moves to the previous element; null stays null.
    LinkElementDualIterator& operator--();
    LinkElementDualIterator operator--(int);

    /// Equal when both stand on the same element (or both on null).
    bool operator==(const LinkElementDualIterator& other) const {
        return mCurrent == other.mCurrent;
    }
    bool operator!=(const LinkElementDualIterator& other) const {
        return mCurrent != other.mCurrent;
    }

private:
    LinkElement_Dual* mCurrent;
};

#endif // PIGMENTOR_CORE_LINKELEMENTDUALITERATOR_H
