//===- PDEBundleAccess.cpp - Finding the plug-in's bundle -----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEBundleAccess.h"

namespace {
CFBundleRef sCachedBundle = nullptr;
} // namespace

CFBundleRef MyGetBundle(CFStringRef identifier) {
    if (sCachedBundle == nullptr && identifier) {
        // Retained so that the bundle outlives whoever opened it until the plug-in lets go.
        CFBundleRef found = CFBundleGetBundleWithIdentifier(identifier);
        if (found) {
            CFRetain(found);
            sCachedBundle = found;
        }
    }
    return sCachedBundle;
}

void MyFreeBundle() {
    if (sCachedBundle)
        CFRelease(sCachedBundle);
    sCachedBundle = nullptr;
}

CFURLRef CreatePDEContentsURL(CFStringRef identifier) {
    CFBundleRef bundle = MyGetBundle(identifier);
    if (bundle == nullptr)
        return nullptr;
    CFURLRef bundleURL = CFBundleCopyBundleURL(bundle);
    if (bundleURL == nullptr)
        return nullptr;
    CFURLRef contents = CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, bundleURL,
                                                              CFSTR("Contents"), true);
    CFRelease(bundleURL);
    return contents;
}
