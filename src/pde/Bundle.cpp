//===- Bundle.cpp - An owned bundle identifier ----------------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "Bundle.h"

Bundle::Bundle(CFStringRef identifier) {
    if (identifier)
        mID = CFStringCreateCopy(kCFAllocatorDefault, identifier);
}

Bundle::~Bundle() {
    if (mID)
        CFRelease(mID);
}
