#pragma once
// Small helpers for the HIToolbox tests: owned windows and strings, and ControlIDs.

#include <HIToolbox/HIToolbox.h>

#include <CoreFoundation/PMCFUtilities.h>

#include <gtest/gtest.h>

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

/// A window of the example NIB with every control kind, disposed of with its NIB at scope end.
struct NibWindow {
    IBNibRef nib = nullptr;
    WindowRef window = nullptr;
    explicit NibWindow(const char* name = "Pane") {
        std::string path = std::string(PIGMENTOR_SOURCE_DIR) + "/examples/nib/AllControls.nib";
        EXPECT_EQ(HICreateNibReferenceFromFile(path.c_str(), &nib), noErr);
        EXPECT_EQ(CreateWindowFromNib(nib, Str(name), &window), noErr);
    }
    ~NibWindow() {
        DisposeWindow(window);
        DisposeNibReference(nib);
    }
    ControlRef get(OSType s, SInt32 id) const {
        ControlID cid{s, id};
        ControlRef c = nullptr;
        GetControlByID(window, &cid, &c);
        return c;
    }
};
