//===- BundleResourceFile.cpp - The plug-in bundle's resource file --------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "BundleResourceFile.h"

#include <CarbonCore/Files.h>

ResFileRefNum OpenBundleResourceFile(CFBundleRef bundle) {
    CFTypeRef name = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleExecutable"));
    if (bundle == nullptr || name == nullptr || CFGetTypeID(name) != CFStringGetTypeID())
        return kResFileNotOpened;
    CFURLRef url = CFBundleCopyResourceURL(bundle, static_cast<CFStringRef>(name), CFSTR("rsrc"),
                                           nullptr);
    if (url == nullptr)
        return kResFileNotOpened;
    FSRef ref;
    const bool found = CFURLGetFSRef(url, &ref);
    CFRelease(url);
    if (!found)
        return kResFileNotOpened;
    // Opening makes the file current; the pane makes it current only while it works.
    const ResFileRefNum previous = CurResFile();
    const ResFileRefNum file = FSOpenResFile(&ref, 1 /* read */);
    if (previous != kResFileNotOpened)
        UseResFile(previous);
    return file;
}
