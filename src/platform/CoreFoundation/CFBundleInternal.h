//===- CFBundleInternal.h - The CFBundle object ----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Internal to the CoreFoundation library: shared by the bundle's creation, resource and
// localisation files.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFBUNDLEINTERNAL_H
#define PIGMENTOR_CF_CFBUNDLEINTERNAL_H

#include <CoreFoundation/CFBundle.h>
#include <CoreFoundation/CFRuntime.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

/// A bundle: its directory, its information dictionary (owned, immutable) and the string
/// tables read so far (owned; a table that could not be read is kept as NULL so that it is
/// not read again). The registry of live bundles is CFBundle.cpp's.
struct __CFBundle final : pmcf::Object {
    static CFTypeID TypeID() { return CFBundleGetTypeID(); }
    __CFBundle(CFURLRef url, std::string path, CFDictionaryRef info);
    ~__CFBundle() override;

    std::u16string describe() const override;

    const CFURLRef url;
    const std::string path; // the directory, without a trailing '/'
    const CFDictionaryRef info;

    std::mutex tablesLock;
    std::map<std::string, CFDictionaryRef> tables; // by file path

    std::mutex executableLock;
    void* executable = nullptr; // dlopen handle while loaded
};

namespace pmcf {

/// True for a single path segment: not empty, not "." or "..", no '/' and no NUL.
bool IsPlainName(std::string_view name);
/// The bundle's Contents/Resources folder.
std::string ResourcesPath(const __CFBundle& bundle);
/// The localisation folders to search, best first, without ".lproj" (see CFBundle.h).
std::vector<std::string> LocalizationOrder(const __CFBundle& bundle);
/// The dictionary of the XML property list at `path`, or NULL; neither read twice nor retained.
CFDictionaryRef CachedStringsTable(__CFBundle& bundle, const std::string& path);
/// Closes the executable when loaded (CFBundleExecutable.cpp); no plug-in checks.
void CloseExecutable(__CFBundle& bundle);
/// Forgets the factories of a bundle being destroyed (CFPlugIn.cpp).
void ForgetPlugIn(__CFBundle* bundle);
/// Whether the bundle is a plug-in with live instances (CFPlugIn.cpp).
bool PlugInHasInstances(__CFBundle* bundle);
/// Records a refusal of the plug-in layer for CFPlugInCopyLastError (CFPlugIn.cpp).
void NotePlugInError(const std::string& reason);

} // namespace pmcf

#endif
