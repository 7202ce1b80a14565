//===- CFPlugIn.h - Plug-ins: factories and types of bundles -----*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFPLUGIN_H
#define PIGMENTOR_CF_CFPLUGIN_H

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFBundle.h>
#include <CoreFoundation/CFUUID.h>

CF_EXTERN_C_BEGIN

/// A plug-in is a bundle (the same object) whose information dictionary declares factories
/// and the types they make, statically:
///   "CFPlugInFactories": { "<factory UUID>": "<name of the factory function>", ... }
///   "CFPlugInTypes":     { "<type UUID>": [ "<factory UUID>", ... ], ... }
/// and whose executable, Contents/Linux/<CFBundleExecutable>.so, exports the factory functions
/// under their plain (C) names. CFPlugInCreate reads the declarations and registers each factory
/// process-wide; the executable is loaded (dlopen) when the first instance is asked for and
/// unloaded once no instance of its factories remains.
///
/// The dictionary is untrusted: entries of the wrong type, identifiers that are not UUIDs,
/// function names that are not C identifiers, types naming undeclared factories and factory
/// identifiers already registered by another plug-in are each refused on their own (the rest
/// stays usable), and the reason is kept for CFPlugInCopyLastError. "CFPlugInDynamicRegistration"
/// true is refused as a whole: only static registration is supported.
///
/// Instances: a factory counts every instance it hands out with CFPlugInAddInstanceForFactory
/// and uncounts it with CFPlugInRemoveInstanceForFactory when the instance goes. While a
/// plug-in has instances it stays loaded and its bundle alive (the registry holds a reference).
/// When the count of the last factory drops to zero, the executable is not closed at once (the
/// caller is code inside it): it is closed on the next pass of the main run loop, or when the
/// plug-in's last reference is released, whichever comes first; an instance made in between
/// keeps it loaded. Any thread; the registry is locked, factory functions run unlocked.
typedef struct __CFBundle* CFPlugInRef;

/// The type of a factory function: a new instance of `typeUUID` (its first word points at its
/// interface table, CFPlugInCOM.h), or NULL.
typedef void* (*CFPlugInFactoryFunction)(CFAllocatorRef allocator, CFUUIDRef typeUUID);

/// Type id of plug-ins (that of bundles).
CF_EXPORT CFTypeID CFPlugInGetTypeID(void);
/// The plug-in of the bundle directory at `plugInURL` (the caller releases it), its factories
/// registered; the live plug-in of the same directory when there is one (retained). NULL when
/// the URL is no bundle directory.
CF_EXPORT CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL);
/// The plug-in's bundle (the same object; not retained).
CF_EXPORT CFBundleRef CFPlugInGetBundle(CFPlugInRef plugIn);
/// A new array (the caller releases it) of the UUIDs of the registered factories that make
/// `typeUUID`, in every plug-in / in `plugIn` only; empty when there are none.
CF_EXPORT CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID);
CF_EXPORT CFArrayRef CFPlugInFindFactoriesForPlugInTypeInPlugIn(CFUUIDRef typeUUID,
                                                                CFPlugInRef plugIn);
/// Calls the factory `factoryUUID` for a new instance of `typeUUID`, loading its plug-in's
/// executable first; NULL (and a reason) when the factory is unknown, is not declared for the
/// type, its executable does not load or lacks the function, or the function answers NULL.
CF_EXPORT void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID,
                                       CFUUIDRef typeUUID);
/// Counts one more instance of the registered factory `factoryID` (unknown ones are ignored).
CF_EXPORT void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
/// Counts one instance less (never below zero); see above for the unloading that follows.
CF_EXPORT void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);
/// Of our own: the number of live instances of the factory (0 for unknown ones).
CF_EXPORT CFIndex CFPlugInGetInstanceCountForFactory(CFUUIDRef factoryID);
/// Of our own: what was refused on this thread since the last CFPlugInCreate or
/// CFPlugInInstanceCreate began, executable loads included ("" when nothing was); the caller
/// releases it. Several reasons are joined with "; ".
CF_EXPORT CFStringRef CFPlugInCopyLastError(void);

CF_EXTERN_C_END

#endif
