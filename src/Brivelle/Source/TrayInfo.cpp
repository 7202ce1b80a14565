//===- TrayInfo.cpp - One input tray of a printer device ------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "TrayInfo.h"

#include "BrivelleDebug.h"

namespace {

CFStringRef RetainOrNull(CFStringRef string) {
    return string ? static_cast<CFStringRef>(CFRetain(string)) : nullptr;
}

void ReleaseIfSet(CFStringRef string) {
    if (string)
        CFRelease(string);
}

} // namespace

TrayInfo::TrayInfo(CFStringRef name, CFStringRef mediaName, CFStringRef mediaType, int maxLevel)
    : mTrayName(RetainOrNull(name)), mMediaName(RetainOrNull(mediaName)),
      mMediaType(RetainOrNull(mediaType)), mMaxCapacity(maxLevel), mCurrentLevel(0) {}

TrayInfo::~TrayInfo() {
    ReleaseIfSet(mTrayName);
    ReleaseIfSet(mMediaName);
    ReleaseIfSet(mMediaType);
}

void TrayInfo::SetTrayLevel(int level) {
    // Tray sensors report more sheets than a tray holds; the level never shows more than the
    // capacity, but the console keeps a trace of what the server said.
    if (level > mMaxCapacity) {
        DebugConsole("TrayInfo::SetTrayLevel currentLevel %d > mMaxCapacity %d, limiting", level,
                     mMaxCapacity);
        level = mMaxCapacity;
    }
    if (level >= 0)
        mCurrentLevel = level;
}

void TrayInfo::SetMediaName(CFStringRef mediaName) {
    CFStringRef old = mMediaName;
    mMediaName = RetainOrNull(mediaName);
    ReleaseIfSet(old);
}
