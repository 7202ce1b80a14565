//===- TrayInfo.h - One input tray of a printer device ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_TRAYINFO_H
#define PIGMENTOR_BRIVELLE_TRAYINFO_H

#include <CoreFoundation/CoreFoundation.h>

/// One input tray of a server's printer device: its name, the media loaded and its type, its
/// capacity and current fill level (sheets).
///
/// Ownership: the tray retains the three strings it is given (the caller keeps its own
/// references) and releases them when destroyed; getters return them unretained. Owned by its
/// `ServerDevice`. No virtual operations.
class TrayInfo {
public:
    /// Name, media name and type (the last two may be null) and capacity; level 0.
    TrayInfo(CFStringRef name, CFStringRef mediaName, CFStringRef mediaType, int maxLevel);
    ~TrayInfo();
    TrayInfo(const TrayInfo&) = delete;
    TrayInfo& operator=(const TrayInfo&) = delete;

    /// The tray's name (not retained).
    CFStringRef GetTrayName() const { return mTrayName; }
    /// The loaded media's name (not retained), may be null.
    CFStringRef GetMediaName() const { return mMediaName; }
    /// The loaded media's type (not retained), may be null.
    CFStringRef GetMediaType() const { return mMediaType; }
    /// The tray's capacity.
    int GetMaxCapacity() const { return mMaxCapacity; }
    /// The current fill level (0 until set).
    int GetCurrentLevel() const { return mCurrentLevel; }

    /// Stores `level`, limited to the capacity (logged on the debug console); a resulting
    /// negative level is ignored.
    void SetTrayLevel(int level);
    /// Replaces the media name (retained; the old one is released).
    void SetMediaName(CFStringRef mediaName);

private:
    CFStringRef mTrayName;
    CFStringRef mMediaName;
    CFStringRef mMediaType;
    int mMaxCapacity;
    int mCurrentLevel;
};

#endif // PIGMENTOR_BRIVELLE_TRAYINFO_H
