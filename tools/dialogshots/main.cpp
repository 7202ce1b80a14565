//===- dialogshots - pictures of the small dialogs as a person sees them --===//
//
// dialogshots BUNDLE LANGUAGE FOLDER
//
// Opens the plug-in bundle in LANGUAGE ("en", "de", ...), builds the alerts (one and two
// lines), the two-way address dialog, the progress window and the two-way panel exactly as the
// plug-in does, shows each in GTK and writes FOLDER/<name>-<LANGUAGE>.png. Without a display it
// re-runs itself under xvfb-run. Exit status: 0 done, 1 a picture could not be made, 2 usage.
//
//===----------------------------------------------------------------------===//
#include "PDEBundle.h"
#include "UI_IPAddressPanel.h"
#include "UI_ProgressDialog.h"
#include "UI_QRVAlert.h"
#include "UI_TwoWayCommDialog.h"

#include <HIToolbox/HIGtkBackend.h>

#include <CoreFoundation/PMCFUtilities.h>

#include "XvfbReexec.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

CFStringRef Bidi(const char* key) {
    CFStringRef k = PMCFStringCreateWithUTF8(key);
    CFStringRef text = PDEBundle::GetLocalizedCFStringFromFile(k, CFSTR("BidiStrings"));
    CFRelease(k);
    return text;
}

bool Picture(WindowRef window, const std::string& path) {
    if (window == nullptr || !HIGtkWaitUntilShown(window, 10)) {
        std::fprintf(stderr, "dialogshots: %s: the window was not shown\n", path.c_str());
        return false;
    }
    HIGtkRunFor(0.2); // let GTK lay the texts out
    if (HIGtkWriteScreenshot(window, path.c_str()) != noErr) {
        std::fprintf(stderr, "dialogshots: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialogshots BUNDLE LANGUAGE FOLDER\n");
        return 2;
    }
    const std::string language = argv[2], folder = argv[3];
    setenv("LANGUAGE", language.c_str(), 1);
    int gtkArgc = 1;
    char** gtkArgv = argv;
    if (!HIGtkInstall(&gtkArgc, &gtkArgv)) {
        toolsupport::ReexecUnderXvfb(argv, "DIALOGSHOTS_UNDER_XVFB");
        std::fprintf(stderr, "dialogshots: cannot open a display (and no xvfb-run)\n");
        return 1;
    }
    CFStringRef path = PMCFStringCreateWithUTF8(argv[1]);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    CFRelease(path);
    if (bundle == nullptr) {
        std::fprintf(stderr, "dialogshots: %s is no bundle\n", argv[1]);
        return 1;
    }
    PDEBundle::InitBundle(bundle);
    auto name = [&](const char* what) { return folder + "/" + what + "-" + language + ".png"; };
    bool ok = true;
    {
        CFStringRef text = Bidi("IP_NOT_CONFIG");
        UI_QRVAlert alert(text, nullptr, kQRVAlertNoCancel, nullptr);
        alert.show();
        ok &= Picture(alert.isInitialized() ? alert.getWindow() : nullptr, name("alert-one-line"));
        CFRelease(text);
    }
    {
        CFStringRef text = Bidi("INVALID_IP_ADDRESS"), hint = Bidi("PRESS_OKAY");
        UI_QRVAlert alert(text, hint, 514, nullptr);
        alert.show();
        ok &= Picture(alert.isInitialized() ? alert.getWindow() : nullptr, name("alert-two-line"));
        CFRelease(text);
        CFRelease(hint);
    }
    {
        UI_TwoWayCommDialog dialog(nullptr, "tarvo-server.example.com", CFSTR("Tarvo C5000"), false);
        dialog.show();
        ok &= Picture(dialog.isValid() ? dialog.getWindow() : nullptr, name("two-way-dialog"));
    }
    {
        CFStringRef title = Bidi("TWO_WAY_TITLE"), caption = Bidi("kProgressGettingFeatures");
        UI_ProgressDialog progress(title, caption);
        progress.show();
        ok &= Picture(progress.isInitialized() ? progress.getWindow() : nullptr, name("progress"));
        CFRelease(title);
        CFRelease(caption);
    }
    {
        // The panel as the pane hosts it: 500 pixels wide, two-way on with an address.
        Rect r{100, 100, 170, 620};
        WindowRef host = nullptr;
        CreateNewWindow(kDocumentWindowClass, 0, &r, &host);
        UI_IPAddressPanel panel(host, nullptr, Rect{10, 10, 60, 510}, "192.168.1.20",
                                CFSTR("Tarvo C5000"), true, true, true);
        ShowWindow(host);
        ok &= Picture(panel.isInitialized() ? host : nullptr, name("two-way-panel"));
        HideWindow(host);
        HIGtkRunFor(0.05);
        DisposeWindow(host);
    }
    PDEBundle::InitBundle(nullptr);
    CFRelease(bundle);
    return ok ? 0 : 1;
}
