// Helpers shared by the PPD engine's tests: temporary files, accepted-name arrays and a header
// reader with test hooks.
#ifndef PIGMENTOR_TESTS_TESTPPD_H
#define PIGMENTOR_TESTS_TESTPPD_H

#include "PPDFileStream.h"
#include "PPDHeader.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

/// A file with the given bytes in a fresh temporary directory, removed afterwards.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const char* name = "test.ppd") {
        char dir[] = "/tmp/pigmentor-test-XXXXXX";
        mDir = mkdtemp(dir);
        mPath = mDir + "/" + name;
        FILE* f = std::fopen(mPath.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    ~TempFile() {
        unlink(mPath.c_str());
        rmdir(mDir.c_str());
    }
    const std::string& Path() const { return mPath; }
    /// A new file URL (the caller releases it).
    CFURLRef CreateURL() const {
        return CFURLCreateFromFileSystemRepresentation(
            kCFAllocatorDefault, reinterpret_cast<const UInt8*>(mPath.c_str()),
            static_cast<CFIndex>(mPath.size()), false);
    }

private:
    std::string mDir;
    std::string mPath;
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

/// A header reader with hooks for the tests: record errors, count destructions.
class HeaderPPD : public PPDHeader {
public:
    HeaderPPD(CFURLRef url, CFArrayRef names) : PPDHeader(url, names) {}
    void Record(short code, bool fatal) { AddError(new PPDXErrorObj(code, fatal)); }
    static int sDestroyed;
    ~HeaderPPD() override { ++sDestroyed; }
};

#endif // PIGMENTOR_TESTS_TESTPPD_H
