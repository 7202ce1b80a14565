//===- PDEPlugIn.h - The plug-in's factory, instance and table ---*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_PDE_PDEPLUGIN_H
#define PIGMENTOR_PDE_PDEPLUGIN_H

#include "PDEPaneClass.h"

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/IBCarbonRuntime.h>

/// The entry of a print-dialog extension into the print dialog. The dialog loads the bundle as
/// a plug-in and calls its factory (PigmentorPluginFactory for this plug-in, which hands over
/// its pane class here); the factory instance answers the basic interface, and for the
/// print-dialog-extension interface (kDialogExtensionIntfIDStr) a new extension interface
/// object whose ten-entry table drives the pane: retain, release, API version, prologue,
/// initialize, sync, summary text, open, close, terminate.
///
/// Memory: the instance and the extension object (and its table) are malloc blocks, freed when
/// their counts reach zero; panes are made by prologue and deleted by terminate. The pane class
/// and the plug-in NIB are process-wide state of the plug-in's executable (each executable has
/// its own), used from the print dialog's main thread only.
///
/// Statuses: the table's entries other than retain, release and API version answer
/// kPMInvalidPDEContext (-9530) for a null context; retain, release and API version answer
/// paramErr (-50) for a null object or out pointer. Nothing throws; Release of the basic
/// interface catches whatever the platform might raise while tearing down.

/// The factory instance: its interface pointer points at the basic interface's table, which
/// follows it (reserved word, QueryInterface, AddRef, Release).
struct PDEFactoryInstance {
    IUnknownVTbl* interface;
    IUnknownVTbl table;
    CFUUIDRef factoryID; ///< owned
    ULONG refCount;      ///< 1 at creation
};

/// The extension interface object: its table (a malloc block of ten entries) and its count.
struct PDEExtensionObject {
    PlugInIntfVTable* vtable;
    ULONG refCount; ///< 1 at creation
};

/// The factory of a plug-in whose pane class is `paneClass` (kept; static storage): finds the
/// plug-in's bundle by its identifier, takes the first factory that its "CFPlugInTypes" lists
/// for `typeID`, and answers a new instance counted with CFPlugInAddInstanceForFactory; null
/// when the bundle, the type's entry or the factory identifier is missing or malformed.
void* PDEPlugInFactory(CFAllocatorRef allocator, CFUUIDRef typeID, const PDEPaneClass& paneClass);

/// A new extension interface object over the pane class given to the factory (count 1), or
/// null without one or when memory runs out.
PDEExtensionObject* PDECreateExtensionObject();

/// The plug-in NIB that the table's first retain opened (not owned), or null.
IBNibRef PDEGetPluginNIB();

#endif // PIGMENTOR_PDE_PDEPLUGIN_H
