//===- DeviceLinkItem.h - A device link between two profiles ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_DEVICELINKITEM_H
#define PIGMENTOR_COLOUR_DEVICELINKITEM_H

#include "LinkElement_Dual.h"

#include <CoreFoundation/CoreFoundation.h>

/// One device link the print server holds: from the value at `source` of a source feature
/// (positions from 1) to the value at `destination` of the output profile feature. Type 1
/// links an RGB source, type 2 a CMYK simulation. The item takes over the caller's reference
/// to `name` (the link's display name; not retained again, released with the item).
class DeviceLinkItem : public LinkElement_Dual {
public:
    enum { kRGBLink = 1, kCMYKLink = 2 };

    DeviceLinkItem(int source, int destination, int type, CFStringRef name);
    ~DeviceLinkItem() override;

    int getType() const { return mType; }
    int getSource() const { return mSource; }
    int getDestination() const { return mDestination; }
    /// The display name (not retained for the caller), may be null.
    CFStringRef getName() const { return mName; }

private:
    int mType;
    int mSource;
    int mDestination;
    CFStringRef mName;
};

#endif // PIGMENTOR_COLOUR_DEVICELINKITEM_H
