// Helpers of the print-dialog integration tests: owned CF objects, scratch folders, the built
// plug-in bundle, environment variables set for a scope, sessions made from PPD files, and
// Python's plistlib as a property-list reader that is not ours.
#ifndef PIGMENTOR_TESTS_PDETESTSUPPORT_H
#define PIGMENTOR_TESTS_PDETESTSUPPORT_H

#include "PDEBundleAccess.h"
#include "PDEIdentity.h"
#include "TestScopes.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <PrintCore/PMHost.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

inline CFStringRef Str(const std::string& text) {
    return PMCFStringCreateWithUTF8(text);
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The bundle at `path` (by default the one the build laid out) open for the scope, with the
/// plug-in's bundle cache cleared before and after.
class OpenBundle {
public:
    explicit OpenBundle(const std::string& path = PIGMENTOR_BUNDLE_DIR) {
        MyFreeBundle();
        mBundle = CFBundleCreate(nullptr, Owned<CFURLRef>(FileURL(path, true)));
    }
    ~OpenBundle() {
        MyFreeBundle();
        if (mBundle)
            CFRelease(mBundle);
    }
    CFBundleRef Get() const { return mBundle; }

private:
    CFBundleRef mBundle = nullptr;
};

/// A copy of the built bundle as `into`/Pigmentor.plugin without the Contents files named.
inline std::string CopyBundle(const Scratch& into, std::initializer_list<const char*> without) {
    std::string copy = into / "Pigmentor.plugin";
    std::filesystem::copy(PIGMENTOR_BUNDLE_DIR, copy, std::filesystem::copy_options::recursive);
    for (const char* leaf : without)
        std::filesystem::remove(copy + "/Contents/" + leaf);
    return copy;
}

inline std::string ExamplePPD(const char* name) {
    return std::string(PIGMENTOR_SOURCE_DIR) + "/examples/" + name;
}

/// A print session whose current printer has the PPD `ppdPath` and device URI `uri` (either
/// may be empty).
class TestSession {
public:
    explicit TestSession(const std::string& ppdPath, const std::string& uri = "",
                         const char* name = "Tarvo C5000") {
        Owned<CFStringRef> printerName(Str(name));
        Owned<CFStringRef> path(ppdPath.empty() ? nullptr : Str(ppdPath));
        Owned<CFStringRef> device(uri.empty() ? nullptr : Str(uri));
        PMHostPrinterDescription description = {printerName, nullptr, path, device, nullptr, true};
        if (PMHostCreatePrinter(&description, &mPrinter) == noErr)
            PMHostCreateSession(mPrinter, &mSession);
    }
    ~TestSession() {
        if (mSession)
            PMRelease(mSession);
        if (mPrinter)
            PMRelease(mPrinter);
    }
    PMPrintSession Get() const { return mSession; }
    operator PMPrintSession() const { return mSession; }

private:
    PMPrinter mPrinter = nullptr;
    PMPrintSession mSession = nullptr;
};

/// The property list in `path` as plistlib reads it, one element a line ("int -9",
/// "data <hex>", "str text", "bool True", nested ones indented), or "error: ...".
inline std::string PlistLibDump(const std::string& path) {
    std::string command = std::string(PIGMENTOR_PYTHON) +
                          " '" PIGMENTOR_SOURCE_DIR "/tests/pde/plist_dump.py' '" + path + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

#endif // PIGMENTOR_TESTS_PDETESTSUPPORT_H
