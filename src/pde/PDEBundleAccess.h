//===- PDEBundleAccess.h - Finding the plug-in's bundle ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEBUNDLEACCESS_H
#define PIGMENTOR_PDE_PDEBUNDLEACCESS_H

#include <CoreFoundation/CoreFoundation.h>

/// The plug-in's bundle, found among the open bundles by identifier and cached process-wide
/// (one retained reference, held until MyFreeBundle). The cache is not locked: the print
/// dialog's main thread only.

/// The cached bundle; the first call that finds `identifier` fills the cache, later calls
/// return it whatever they pass. Null while no bundle was found (not retained).
CFBundleRef MyGetBundle(CFStringRef identifier);
/// Releases and clears the cache.
void MyFreeBundle();
/// A new URL of the bundle's "Contents/" folder (the caller releases it); null when the
/// bundle is not found.
CFURLRef CreatePDEContentsURL(CFStringRef identifier);

#endif // PIGMENTOR_PDE_PDEBUNDLEACCESS_H
