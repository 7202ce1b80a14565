#pragma once
// Small helpers for the HIToolbox tests: owned windows and strings, and ControlIDs.

#include <HIToolbox/HIToolbox.h>

#include <CoreFoundation/PMCFUtilities.h>

#include <string>

/// A window disposed of at the end of the scope.
struct TestWindow {
    WindowRef window = nullptr;
    explicit TestWindow(WindowClass c = kDocumentWindowClass, Rect bounds = Rect{50, 50, 250, 450}) {
        CreateNewWindow(c, 0, &bounds, &window);
    }
    ~TestWindow() { DisposeWindow(window); }
    operator WindowRef() const { return window; }
};

/// A CFString released at the end of the scope.
struct Str {
    CFStringRef ref;
    explicit Str(const char* utf8) : ref(PMCFStringCreateWithUTF8(utf8)) {}
    ~Str() { CFRelease(ref); }
    operator CFStringRef() const { return ref; }
};

inline ControlID CID(OSType signature, SInt32 id) { return ControlID{signature, id}; }

inline std::string Title(ControlRef c) {
    CFStringRef s = nullptr;
    CopyControlTitleAsCFString(c, &s);
    std::string out = PMCFStringCopyUTF8(s);
    if (s)
        CFRelease(s);
    return out;
}

inline std::string Text(ControlRef c) {
    CFStringRef s = nullptr;
    GetControlData(c, 0, kControlStaticTextCFStringTag, sizeof s, &s, nullptr);
    std::string out = PMCFStringCopyUTF8(s);
    if (s)
        CFRelease(s);
    return out;
}
