//===- DeviceColorInfo.cpp - One colorant of a printer device -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "DeviceColorInfo.h"

DeviceColorInfo::DeviceColorInfo(CFStringRef name, int maxCapacity, int level)
    : mColorName(name ? static_cast<CFStringRef>(CFRetain(name)) : nullptr),
      mMaxCapacity(maxCapacity), mCurrentLevel(level) {}

DeviceColorInfo::~DeviceColorInfo() {
    if (mColorName)
        CFRelease(mColorName);
}
