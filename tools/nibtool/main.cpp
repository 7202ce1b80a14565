//===- nibtool - look at the windows of a NIB file ------------------------===//
//
// nibtool list FILE                               the names of the NIB's windows
// nibtool dump FILE WINDOW                        the window and its controls as JSON
// nibtool show FILE WINDOW [--screenshot PNG]     the window in GTK; with --screenshot the
//                                                 picture is written and the tool ends
//
// Without a display, show re-runs itself under xvfb-run (when it is installed), so that
// screenshots can be taken on a machine without one. Exit status: 0 done, 1 the NIB or window
// could not be read or shown, 2 a usage error; messages go to standard error.
//
//===----------------------------------------------------------------------===//
#include <HIToolbox/HIDump.h>
#include <HIToolbox/HIGtkBackend.h>
#include <HIToolbox/HIToolbox.h>

#include <CoreFoundation/PMCFUtilities.h>

#include "XvfbReexec.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: nibtool list FILE\n"
                         "       nibtool dump FILE WINDOW\n"
                         "       nibtool show FILE WINDOW [--screenshot PNG]\n");
    return 2;
}

IBNibRef Open(const char* path) {
    IBNibRef nib = nullptr;
    OSStatus err = HICreateNibReferenceFromFile(path, &nib);
    if (err != noErr) {
        CFStringRef why = HINibCopyLastError();
        std::fprintf(stderr, "nibtool: %s: %s (%d)\n", path, PMCFStringCopyUTF8(why).c_str(), static_cast<int>(err));
        CFRelease(why);
        return nullptr;
    }
    return nib;
}

WindowRef Window(IBNibRef nib, const char* name) {
    CFStringRef s = PMCFStringCreateWithUTF8(name);
    WindowRef window = nullptr;
    OSStatus err = s ? CreateWindowFromNib(nib, s, &window) : paramErr;
    if (s)
        CFRelease(s);
    if (err != noErr)
        std::fprintf(stderr, "nibtool: no window \"%s\" in the NIB (%d)\n", name, static_cast<int>(err));
    return err == noErr ? window : nullptr;
}

OSStatus QuitOnClose(EventHandlerCallRef, EventRef, void*) {
    QuitApplicationEventLoop();
    return noErr;
}

int Show(int argc, char** argv, const char* file, const char* name, const char* png) {
    if (!HIGtkInstall(&argc, &argv)) {
        toolsupport::ReexecUnderXvfb(argv, "NIBTOOL_UNDER_XVFB");
        std::fprintf(stderr, "nibtool: cannot open a display (and no xvfb-run)\n");
        return 1;
    }
    IBNibRef nib = Open(file);
    if (nib == nullptr)
        return 1;
    WindowRef window = Window(nib, name);
    DisposeNibReference(nib);
    if (window == nullptr)
        return 1;
    ShowWindow(window);
    int status = 0;
    if (png) {
        if (!HIGtkWaitUntilShown(window, 10)) {
            std::fprintf(stderr, "nibtool: the window was not shown\n");
            status = 1;
        } else if (HIGtkWriteScreenshot(window, png) != noErr) {
            std::fprintf(stderr, "nibtool: cannot write %s\n", png);
            status = 1;
        }
    } else {
        const EventTypeSpec close{kEventClassWindow, kEventWindowClose};
        InstallWindowEventHandler(window, QuitOnClose, 1, &close, nullptr, nullptr);
        RunApplicationEventLoop();
    }
    DisposeWindow(window);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    if (command == "list" && argc == 3) {
        IBNibRef nib = Open(argv[2]);
        if (nib == nullptr)
            return 1;
        for (ItemCount i = 0; i < HINibCountWindows(nib); ++i) {
            CFStringRef name = HINibCopyWindowName(nib, i);
            std::printf("%s\n", PMCFStringCopyUTF8(name).c_str());
            CFRelease(name);
        }
        DisposeNibReference(nib);
        return 0;
    }
    if (command == "dump" && argc == 4) {
        IBNibRef nib = Open(argv[2]);
        if (nib == nullptr)
            return 1;
        WindowRef window = Window(nib, argv[3]);
        DisposeNibReference(nib);
        if (window == nullptr)
            return 1;
        std::printf("%s\n", HICopyWindowJSON(window).c_str());
        DisposeWindow(window);
        return 0;
    }
    if (command == "show" && (argc == 4 || (argc == 6 && std::strcmp(argv[4], "--screenshot") == 0)))
        return Show(argc, argv, argv[2], argv[3], argc == 6 ? argv[5] : nullptr);
    return Usage();
}
