#pragma once
/// The header that leads every print-system plug-in interface: retain, release and API
/// version. Declarations only; the plug-in implements the functions.

#include <CarbonCore/MacTypes.h>

#ifdef __cplusplus
extern "C" {
#endif

/// Build and base versions of a plug-in interface.
struct PMPlugInAPIVersion {
    UInt32 buildVersionMajor; ///< raised when calls are appended
    UInt32 buildVersionMinor;
    UInt32 baseVersionMajor; ///< raised when calls are made obsolete
    UInt32 baseVersionMinor;
};
typedef struct PMPlugInAPIVersion PMPlugInAPIVersion;

typedef struct PMPlugInHeader PMPlugInHeader;
/// A plug-in interface object: a pointer to its table, first.
struct PMPlugInHeaderInterface {
    const PMPlugInHeader* vtable;
};
typedef struct PMPlugInHeaderInterface PMPlugInHeaderInterface;

/// The header's three calls, in table order.
typedef OSStatus (*PMPluginRetain)(PMPlugInHeaderInterface* obj);
typedef OSStatus (*PMPluginRelease)(PMPlugInHeaderInterface** objPtr);
typedef OSStatus (*PMPluginGetAPIVersion)(PMPlugInHeaderInterface* obj,
                                          PMPlugInAPIVersion* versionPtr);

/// The first three entries of every plug-in table.
struct PMPlugInHeader {
    PMPluginRetain Retain;               ///< adds a reference
    PMPluginRelease Release;             ///< drops one and clears the caller's pointer
    PMPluginGetAPIVersion GetAPIVersion; ///< the interface's versions
};

#ifdef __cplusplus
}
#endif
