//===- DeviceLinkList.h - The device links of a print server ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_DEVICELINKLIST_H
#define PIGMENTOR_COLOUR_DEVICELINKLIST_H

#include "PtrLinkList.h"

#include <CoreFoundation/CoreFoundation.h>

class DeviceLinkItem;

/// The device links found on the print server, in the order found; owns its items.
class DeviceLinkList : public PtrLinkList {
public:
    DeviceLinkList();
    ~DeviceLinkList() override;

    /// The name (not retained for the caller) of the first link matching all three, else null.
    CFStringRef getDeviceLink(int source, int destination, int type) const;
    /// The first link, or null.
    DeviceLinkItem* firstLink() const;
    /// The link after `link`, or null.
    static DeviceLinkItem* nextLink(DeviceLinkItem* link);
};

#endif // PIGMENTOR_COLOUR_DEVICELINKLIST_H
