//===- DeviceColorInfo.h - One colorant of a printer device ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_DEVICECOLORINFO_H
#define PIGMENTOR_BRIVELLE_DEVICECOLORINFO_H

#include <CoreFoundation/CoreFoundation.h>

/// One colorant of a server's printer device: its name, supply capacity and supply level, as
/// the server reports them (levels are not limited).
///
/// Ownership: the object retains the name it is given (may be null) and releases it when
/// destroyed; the getter returns it unretained. Owned by its `ServerDevice`.
class DeviceColorInfo {
public:
    DeviceColorInfo(CFStringRef name, int maxCapacity, int level);
    virtual ~DeviceColorInfo();
    DeviceColorInfo(const DeviceColorInfo&) = delete;
    DeviceColorInfo& operator=(const DeviceColorInfo&) = delete;

    /// The colorant's name (not retained), may be null.
    CFStringRef GetColorName() const { return mColorName; }
    /// The supply's capacity.
    int GetMaxCapacity() const { return mMaxCapacity; }
    /// The supply's level.
    int GetCurrentLevel() const { return mCurrentLevel; }
    /// Stores a new supply level.
    void SetCurrentLevel(int level) { mCurrentLevel = level; }

private:
    CFStringRef mColorName;
    int mMaxCapacity;
    int mCurrentLevel;
};

#endif // PIGMENTOR_BRIVELLE_DEVICECOLORINFO_H
