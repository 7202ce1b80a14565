//===- PDEIdentity.cpp - The plug-in's identity and ticket keys -----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEIdentity.h"

// PIGMENTOR_BUNDLE_ID is CFBundleIdentifier of bundle/Info.plist, given by the build.

void GetCreatorID(unsigned long& creator) {
    creator = kPigmentorCreatorID;
}

CFStringRef GetBundleID() {
    return CFSTR(PIGMENTOR_BUNDLE_ID);
}

CFBundleRef GetBundleRef() {
    return CFBundleGetBundleWithIdentifier(GetBundleID());
}

CFStringRef CreateNIBFileName() {
    return CFStringCreateCopy(kCFAllocatorDefault, CFSTR("Pigmentor"));
}

CFStringRef CreatePostscriptDataFileKey() {
    return CFStringCreateCopy(kCFAllocatorDefault, CFSTR("QRV.PSData." PIGMENTOR_BUNDLE_ID));
}

CFMutableStringRef CreateClientIdentifier(CFStringRef suffix) {
    CFMutableStringRef id = CFStringCreateMutableCopy(kCFAllocatorDefault, 0, GetBundleID());
    if (id && suffix)
        CFStringAppend(id, suffix);
    return id;
}
