//===- CFBundle.h - Bundles and their localised strings ---------*- C -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFBUNDLE_H
#define PIGMENTOR_CF_CFBUNDLE_H

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDictionary.h>
#include <CoreFoundation/CFError.h>
#include <CoreFoundation/CFString.h>
#include <CoreFoundation/CFURL.h>

CF_EXTERN_C_BEGIN

/// A CFBundle is a directory laid out as the platform's bundles are:
///   <bundle>/Contents/Info.plist                          the information dictionary
///   <bundle>/Contents/Resources/<name>.<type>             global resources
///   <bundle>/Contents/Resources/<lang>.lproj/<name>.<type> localised resources
/// The information dictionary is read once, at creation, as an XML property list (a missing or
/// malformed one reads as empty). String tables are XML property lists too: a dictionary of
/// string keys and values in <table>.strings, read on first use and kept.
///
/// Languages: the user's are taken from the environment: the entries of
/// LANGUAGE (colon-separated), then the first set of LC_ALL, LC_MESSAGES and LANG; "C" and
/// "POSIX" name none. "de_DE.UTF-8" is tried as the folders de_DE, de-DE, de and German (the
/// platform's older language names). English ("en", then "English") comes after the user's
/// languages, then the bundle's CFBundleDevelopmentRegion. A localised string is looked up in
/// the tables of those folders in that order, then in the global table; the first table
/// holding the key wins.
///
/// Every bundle created is listed in a process-wide registry until it is destroyed, so that
/// CFBundleGetBundleWithIdentifier finds it (the most recently created bundle with the
/// identifier wins). The main bundle is the folder of the running executable; it is never
/// destroyed. Bundles may be used from any thread. Functions return NULL for NULL bundles.
typedef struct __CFBundle* CFBundleRef;

/// Information-dictionary keys.
CF_EXPORT const CFStringRef kCFBundleInfoDictionaryVersionKey;
CF_EXPORT const CFStringRef kCFBundleExecutableKey;
CF_EXPORT const CFStringRef kCFBundleIdentifierKey;
CF_EXPORT const CFStringRef kCFBundleVersionKey;
CF_EXPORT const CFStringRef kCFBundleDevelopmentRegionKey;
CF_EXPORT const CFStringRef kCFBundleNameKey;
CF_EXPORT const CFStringRef kCFBundleLocalizationsKey;

/// Type id of bundles.
CF_EXPORT CFTypeID CFBundleGetTypeID(void);
/// A bundle for the directory `bundleURL` (a local file URL); NULL when it is no directory.
CF_EXPORT CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
/// The bundle of the running executable's folder (not retained).
CF_EXPORT CFBundleRef CFBundleGetMainBundle(void);
/// A live bundle whose identifier equals `bundleID` (not retained), or NULL.
CF_EXPORT CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
/// The CFBundleIdentifier of the information dictionary (not retained), or NULL.
CF_EXPORT CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
/// The bundle's directory URL (the caller releases it).
CF_EXPORT CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
/// The absolute URL of Contents/Resources/ (the caller releases it).
CF_EXPORT CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle);
/// The URL of the existing resource "<name>.<type>" (type may be NULL or empty) in the
/// optional sub-folder `subDirName`: global resources first, then the localised folders in
/// the language order above. NULL when there is none or the names are not plain file names.
CF_EXPORT CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                           CFStringRef resourceType, CFStringRef subDirName);
/// The information dictionary (not retained; empty when the bundle has no Info.plist).
CF_EXPORT CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
/// The value of `key` in the information dictionary (not retained), or NULL.
CF_EXPORT CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
/// The bundle's CFBundleDevelopmentRegion (not retained), or NULL.
CF_EXPORT CFStringRef CFBundleGetDevelopmentRegion(CFBundleRef bundle);
/// The localised string of `key` in table `tableName` (NULL: "Localizable"); the caller
/// releases it. When no table holds the key: `value` if it is neither NULL nor empty, else
/// `key`. A NULL key gives `value`, or an empty string.
CF_EXPORT CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key,
                                                  CFStringRef value, CFStringRef tableName);

/// The executable of a bundle is Contents/Linux/<CFBundleExecutable>.so, a shared object that
/// runs inside the calling process: its undefined symbols are resolved against the process
/// (the platform layers live in the host executable, which exports them), its own symbols are
/// kept to itself (RTLD_LOCAL). CFBundleExecutable must be a plain file name.

/// The URL of the executable (the caller releases it); NULL when the information dictionary
/// names none or the name is not a plain file name (the file need not exist).
CF_EXPORT CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);
/// Loads the executable (once; later calls succeed at once). On failure *error (when given)
/// receives a new error whose description says why (the caller releases it).
CF_EXPORT Boolean CFBundleLoadExecutableAndReturnError(CFBundleRef bundle, CFErrorRef* error);
/// The same without the error.
CF_EXPORT Boolean CFBundleLoadExecutable(CFBundleRef bundle);
/// Whether the executable is loaded.
CF_EXPORT Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
/// The address of the loaded executable's exported function `functionName`, or NULL (symbols of the
/// libraries it uses are not its own and are not found).
CF_EXPORT void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);
/// The address of the loaded executable's exported variable `symbolName`, or NULL.
CF_EXPORT void* CFBundleGetDataPointerForName(CFBundleRef bundle, CFStringRef symbolName);
/// Unloads the executable; nothing is done while a plug-in instance of the bundle lives.
CF_EXPORT void CFBundleUnloadExecutable(CFBundleRef bundle);

#define CFCopyLocalizedString(key, comment)                                                        \
    CFBundleCopyLocalizedString(CFBundleGetMainBundle(), (key), (key), NULL)
#define CFCopyLocalizedStringFromTable(key, tbl, comment)                                          \
    CFBundleCopyLocalizedString(CFBundleGetMainBundle(), (key), (key), (tbl))
#define CFCopyLocalizedStringFromTableInBundle(key, tbl, bundle, comment)                          \
    CFBundleCopyLocalizedString((bundle), (key), (key), (tbl))
#define CFCopyLocalizedStringWithDefaultValue(key, tbl, bundle, value, comment)                    \
    CFBundleCopyLocalizedString((bundle), (key), (value), (tbl))

CF_EXTERN_C_END

#endif
