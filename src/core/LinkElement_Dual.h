//===- LinkElement_Dual.h - Element of an intrusive linked list -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_LINKELEMENT_DUAL_H
#define PIGMENTOR_CORE_LINKELEMENT_DUAL_H

/// Base of every element of a PtrLinkList: carries the links to its neighbours. A new element
/// is unlinked (both links null). Once added to a list the list owns it and deletes it through
/// the virtual destructor; the links are then the list's to write. A copy starts unlinked:
/// links belong to a position in a list, never to the element's value.
class LinkElement_Dual {
public:
    LinkElement_Dual() = default;
    LinkElement_Dual(const LinkElement_Dual&);
    LinkElement_Dual& operator=(const LinkElement_Dual&);
    /// Does nothing beyond what subclasses add; never unlinks.
    virtual ~LinkElement_Dual();

    /// The following element (null at the end), writable by the list and its iterators.
    LinkElement_Dual*& next() { return mNext; }
    LinkElement_Dual* next() const { return mNext; }
    /// The preceding element (null at the front), writable by the list and its iterators.
    LinkElement_Dual*& prev() { return mPrev; }
    LinkElement_Dual* prev() const { return mPrev; }

private:
    LinkElement_Dual* mNext = nullptr;
    LinkElement_Dual* mPrev = nullptr;
};

#endif // PIGMENTOR_CORE_LINKELEMENT_DUAL_H
