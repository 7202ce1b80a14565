//===- DeviceLinkList.cpp - The device links of a print server ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "DeviceLinkList.h"

#include "DeviceLinkItem.h"

DeviceLinkList::DeviceLinkList() = default;

DeviceLinkList::~DeviceLinkList() = default;

DeviceLinkItem* DeviceLinkList::firstLink() const {
    return static_cast<DeviceLinkItem*>(first());
}

DeviceLinkItem* DeviceLinkList::nextLink(DeviceLinkItem* link) {
    return link ? static_cast<DeviceLinkItem*>(link->next()) : nullptr;
}

CFStringRef DeviceLinkList::getDeviceLink(int source, int destination, int type) const {
    for (DeviceLinkItem* link = firstLink(); link; link = nextLink(link))
        if (link->getSource() == source && link->getDestination() == destination &&
            link->getType() == type)
            return link->getName();
    return nullptr;
}
