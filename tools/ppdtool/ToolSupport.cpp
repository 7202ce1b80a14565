//===- ToolSupport.cpp - Files, names and the console for ppdtool ---------===//
#include "ToolSupport.h"

#include <CoreFoundation/PMCFUtilities.h>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

CFURLRef createFileURL(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path),
                                                   static_cast<CFIndex>(std::strlen(path)), false);
}

CFMutableArrayRef createNames(const std::vector<const char*>& names) {
    CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
    for (const char* name : names) {
        CFStringRef s = PMCFStringCreateWithUTF8(name);
        if (s) {
            CFArrayAppendValue(array, s);
            CFRelease(s);
        }
    }
    return array;
}

ConsoleToStandardError::ConsoleToStandardError() {
    std::fflush(stdout);
    mSaved = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

ConsoleToStandardError::~ConsoleToStandardError() {
    std::fflush(stdout);
    if (mSaved >= 0) {
        dup2(mSaved, STDOUT_FILENO);
        close(mSaved);
    }
}
