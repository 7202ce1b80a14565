//===- DeviceLinkItem.cpp - A device link between two profiles ------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "DeviceLinkItem.h"

DeviceLinkItem::DeviceLinkItem(int source, int destination, int type, CFStringRef name)
    : mType(type), mSource(source), mDestination(destination), mName(name) {}

DeviceLinkItem::~DeviceLinkItem() {
    if (mName)
        CFRelease(mName);
}
