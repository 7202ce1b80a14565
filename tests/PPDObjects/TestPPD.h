// Helpers shared by the PPD engine's tests: temporary files, accepted-name arrays and a header
// reader with test hooks.
#ifndef PIGMENTOR_TESTS_TESTPPD_H
#define PIGMENTOR_TESTS_TESTPPD_H

#include "PPDFileStream.h"
#include "PPDHeader.h"

#include "TestScopes.h"

#include <CoreFoundation/CoreFoundation.h>

#include <string>

/// A file with the given bytes in a fresh scratch folder, removed afterwards.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const char* name = "test.ppd") : mName(name) {
        mFolder.Write(mName, bytes);
    }
    /// A new file URL (the caller releases it).
    CFURLRef CreateURL() const { return mFolder.URL(mName); }

private:
    Scratch mFolder;
    std::string mName;
};

/// An array of accepted PC file names (the caller releases it).
inline CFArrayRef CreateNames(std::initializer_list<const char*> names) {
    CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    for (const char* name : names) {
        CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingMacRoman);
        CFArrayAppendValue(array, s);
        CFRelease(s);
    }
    return array;
}

/// A header reader that lets a test record errors.
class HeaderPPD : public PPDHeader {
public:
    HeaderPPD(CFURLRef url, CFArrayRef names) : PPDHeader(url, names) {}
    void Record(short code, bool fatal) { AddError(new PPDXErrorObj(code, fatal)); }
};

#endif // PIGMENTOR_TESTS_TESTPPD_H
