//===- Bundle.h - An owned bundle identifier --------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_BUNDLE_H
#define PIGMENTOR_PDE_BUNDLE_H

#include <CoreFoundation/CoreFoundation.h>

/// Holds its own copy of a bundle identifier (released with the object). One thread at a time.
class Bundle {
public:
    /// Copies `identifier` (null: none).
    explicit Bundle(CFStringRef identifier);
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;
    virtual ~Bundle();

    /// The identifier (not retained), or null.
    CFStringRef GetID() const { return mID; }

private:
    CFStringRef mID = nullptr;
};

#endif // PIGMENTOR_PDE_BUNDLE_H
