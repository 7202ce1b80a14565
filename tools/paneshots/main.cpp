//===- paneshots - a picture of the colour pane as a person sees it -------===//
//
// paneshots BUNDLE LANGUAGE PPD PICTURE [MODE]
//
// Opens the plug-in bundle in LANGUAGE ("en", "de", ...), builds the colour data controller
// over a print session for PPD and the colour pane in a print dialog's pane exactly as the
// plug-in does, shows it in GTK once the expert list is fetched and writes the PNG PICTURE.
// MODE (standard, expert or grayscale) is pressed first; MODE two-way:ADDRESS instead types
// ADDRESS into the two-way panel and ticks its box, as a person does, and the picture shows
// the pane once the server's features are fetched (the server must answer at ADDRESS; $HOME's
// address list is read and may be written). Without a display it re-runs itself under xvfb-run.
// Exit status: 0 done, 1 the pane or its picture could not be made, 2 usage.
//
//===----------------------------------------------------------------------===//
#include "PDEBundle.h"
#include "PDEIdentity.h"
#include "PigmentorData.h"
#include "PrintSettingsTicket.h"
#include "QRVJobTicket.h"
#include "QRVPPD.h"
#include "UI_IPAddressPanel.h"
#include "UI_Panel.h"

#include <HIToolbox/HIGtkBackend.h>
#include <HIToolbox/HIToolbox.h>
#include <PrintCore/PMHost.h>

#include <CoreFoundation/PMCFUtilities.h>

#include "XvfbReexec.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

CFURLRef URLOf(const char* path, bool directory) {
    CFStringRef s = PMCFStringCreateWithUTF8(path);
    CFURLRef url = s ? CFURLCreateWithFileSystemPath(nullptr, s, kCFURLPOSIXPathStyle, directory) : nullptr;
    if (s)
        CFRelease(s);
    return url;
}

/// Runs GTK and the toolbox's queue until `panel` may be used (the fetch ended), at most 30 s.
bool WaitForFetch(UI_Panel& panel) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(panel.CanHandle() && panel.getProgressHandler() == nullptr)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        HIGtkRunFor(0.05);
    }
    return true;
}

UInt32 ModeCommand(const char* mode) {
    if (std::strcmp(mode, "standard") == 0)
        return UI_Panel::kStandardCommand;
    if (std::strcmp(mode, "expert") == 0)
        return UI_Panel::kExpertCommand;
    if (std::strcmp(mode, "grayscale") == 0)
        return UI_Panel::kGrayscaleCommand;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: paneshots BUNDLE LANGUAGE PPD PICTURE "
                             "[standard|expert|grayscale|two-way:ADDRESS]\n");
        return 2;
    }
    static const char kTwoWay[] = "two-way:";
    const char* address =
        argc == 6 && std::strncmp(argv[5], kTwoWay, sizeof kTwoWay - 1) == 0 ? argv[5] + sizeof kTwoWay - 1 : nullptr;
    const UInt32 mode = argc == 6 && address == nullptr ? ModeCommand(argv[5]) : 0;
    if (argc == 6 && mode == 0 && (address == nullptr || *address == '\0')) {
        std::fprintf(stderr, "paneshots: unknown mode %s\n", argv[5]);
        return 2;
    }
    setenv("LANGUAGE", argv[2], 1);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        unsetenv(name);
    int gtkArgc = 1;
    char** gtkArgv = argv;
    if (!HIGtkInstall(&gtkArgc, &gtkArgv)) {
        toolsupport::ReexecUnderXvfb(argv, "PANESHOTS_UNDER_XVFB");
        std::fprintf(stderr, "paneshots: cannot open a display (and no xvfb-run)\n");
        return 1;
    }
    CFURLRef bundleURL = URLOf(argv[1], true);
    CFBundleRef bundle = bundleURL ? CFBundleCreate(nullptr, bundleURL) : nullptr;
    if (bundleURL)
        CFRelease(bundleURL);
    if (bundle == nullptr) {
        std::fprintf(stderr, "paneshots: %s is no bundle\n", argv[1]);
        return 1;
    }
    PDEBundle::InitBundle(bundle);

    int status = 1;
    PMPrinter printer = nullptr;
    PMPrintSession session = nullptr;
    CFStringRef printerName = CFSTR("Tarvo C5000");
    CFStringRef ppdPath = PMCFStringCreateWithUTF8(argv[3]);
    PMHostPrinterDescription description = {printerName, nullptr, ppdPath, nullptr, nullptr, true};
    if (ppdPath && PMHostCreatePrinter(&description, &printer) == noErr)
        PMHostCreateSession(printer, &session);
    CFURLRef ppdURL = URLOf(argv[3], false);
    // The creator's hold is not counted: the one Release at the end deletes the model.
    QRVPPD* model = ppdURL ? new QRVPPD(ppdURL, kShowAll, nullptr) : nullptr;
    IBNibRef nib = nullptr;
    CreateNibReferenceWithCFBundle(bundle, CFSTR("Pigmentor"), &nib);
    WindowRef window = nullptr;
    {
        auto settings = std::make_unique<PrintSettingsTicket>(session);
        CFStringRef key = CreatePostscriptDataFileKey();
        auto ticket = std::make_unique<QRVJobTicket>(settings.get(), key);
        if (key)
            CFRelease(key);
        auto data = session && model ? std::make_unique<PigmentorData>(session, model, *ticket, false, nullptr)
                                     : nullptr;
        if (data == nullptr || !data->Valid()) {
            std::fprintf(stderr, "paneshots: %s gives no colour pane\n", argv[3]);
        } else {
            // The print dialog's pane: as high as the NIB's pane layout, the width it reports.
            Rect bounds{80, 80, 80 + 372, 80 + 525};
            CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window);
            CFStringRef title = PDEBundle::GetLocalizedCFString(CFSTR("PDE Panel Title"));
            SetWindowTitleWithCFString(window, title);
            if (title)
                CFRelease(title);
            Rect paneBounds{0, 0, 372, 525};
            ControlRef pane = nullptr;
            CreateUserPaneControl(window, &paneBounds, kControlSupportsEmbedding, &pane);
            UI_Panel panel(nib, pane, data.get());
            if (!panel.Valid()) {
                std::fprintf(stderr, "paneshots: the pane was not built (%d)\n", int(panel.LastStatus()));
            } else {
                ShowWindow(window);
                panel.Show();
                bool fetched = WaitForFetch(panel) && HIGtkWaitUntilShown(window, 10);
                if (fetched && mode) {
                    HICommand command{};
                    command.commandID = mode;
                    SendCommandToTarget(&command, GetWindowEventTarget(window));
                }
                if (fetched && address) {
                    // The box posts its command; the pane then fetches the server's features.
                    UI_IPAddressPanel* twoWay = panel.getIPAddressPanel();
                    twoWay->setIPAddress(address);
                    twoWay->setCheckBoxState(true);
                    HIGtkRunFor(0.1);
                    fetched = WaitForFetch(panel) && panel.BIDIEnabled();
                    if (!fetched)
                        std::fprintf(stderr, "paneshots: no two-way features from %s\n", address);
                }
                HIGtkRunFor(0.3); // let GTK lay the texts out
                if (!fetched)
                    std::fprintf(stderr, "paneshots: the expert list was not fetched\n");
                else if (HIGtkWriteScreenshot(window, argv[4]) != noErr)
                    std::fprintf(stderr, "paneshots: cannot write %s\n", argv[4]);
                else
                    status = 0, std::printf("%s\n", argv[4]);
                panel.Hide();
            }
            HideWindow(window);
            HIGtkRunFor(0.05);
        }
        data.reset();
    }
    if (window)
        DisposeWindow(window);
    if (nib)
        DisposeNibReference(nib);
    if (model)
        model->Release();
    if (ppdURL)
        CFRelease(ppdURL);
    if (ppdPath)
        CFRelease(ppdPath);
    if (session)
        PMRelease(session);
    if (printer)
        PMRelease(printer);
    PDEBundle::InitBundle(nullptr);
    CFRelease(bundle);
    return status;
}
