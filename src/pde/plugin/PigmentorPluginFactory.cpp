//===- PigmentorPluginFactory.cpp - The colour pane's plug-in factory -----===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "PDEPlugIn.h"
#include "PigmentorPDE.h"

/// The factory that the bundle's Info.plist names: the plug-in entry over the colour pane.
extern "C" __attribute__((visibility("default"))) void*
PigmentorPluginFactory(CFAllocatorRef allocator, CFUUIDRef typeID) {
    return PDEPlugInFactory(allocator, typeID, PDEPaneClassOf<PigmentorPDE>());
}
