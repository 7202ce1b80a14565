//===- BundleResourceFile.h - The plug-in bundle's resource file -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PLUGIN_BUNDLERESOURCEFILE_H
#define PIGMENTOR_PDE_PLUGIN_BUNDLERESOURCEFILE_H

#include <CarbonCore/Resources.h>
#include <CoreFoundation/CoreFoundation.h>

/// Opens `bundle`'s resource file (Resources/<language>.lproj/<executable>.rsrc, in the
/// user's language) without changing the current resource file; kResFileNotOpened when the
/// bundle has none or it cannot be read. The caller closes it (CloseResFile).
ResFileRefNum OpenBundleResourceFile(CFBundleRef bundle);

/// Makes `file` the current resource file for the scope and restores the previous one after.
class StUseResFile {
public:
    explicit StUseResFile(ResFileRefNum file) : mSaved(CurResFile()) {
        if (file != kResFileNotOpened)
            UseResFile(file);
    }
    ~StUseResFile() {
        if (mSaved != kResFileNotOpened)
            UseResFile(mSaved);
    }
    StUseResFile(const StUseResFile&) = delete;
    StUseResFile& operator=(const StUseResFile&) = delete;

private:
    ResFileRefNum mSaved;
};

#endif // PIGMENTOR_PDE_PLUGIN_BUNDLERESOURCEFILE_H
