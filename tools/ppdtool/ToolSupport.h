//===- ToolSupport.h - Files, names and the console for ppdtool --*- C++ -*-===//
#ifndef PIGMENTOR_TOOLS_TOOLSUPPORT_H
#define PIGMENTOR_TOOLS_TOOLSUPPORT_H

#include <CoreFoundation/CoreFoundation.h>

#include <vector>

/// A new file URL for `path`, or null when it names no regular file. The caller releases it.
CFURLRef createFileURL(const char* path);

/// A new array of the UTF-8 `names` as strings (names that do not convert are left out).
CFMutableArrayRef createNames(const std::vector<const char*>& names);

/// Standard output carries only the tool's own output: the engine's few console lines (an
/// encoding note for UTF-8 PPDs) go to standard error for the object's lifetime.
class ConsoleToStandardError {
public:
    ConsoleToStandardError();
    ~ConsoleToStandardError();
    ConsoleToStandardError(const ConsoleToStandardError&) = delete;
    ConsoleToStandardError& operator=(const ConsoleToStandardError&) = delete;

private:
    int mSaved = -1;
};

#endif // PIGMENTOR_TOOLS_TOOLSUPPORT_H
