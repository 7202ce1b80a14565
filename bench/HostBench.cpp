//===- bench_host - The colour pane in a print dialog: start-up and a responsive loop ---===//
//
// bench_host [REPETITIONS]
//
// Loads build/Pigmentor.plugin through CFPlugIn as the print dialog does and times, over
// REPETITIONS runs (10 by default): from loading the bundle to the pane shown (factory, query
// interface, retain, API version, prologue, initialize, open) on the C5000 example. Then, with
// the printer's two-way address stored for the pane, the longest gap between two turns of the
// main event loop while the pane's two-way fetch runs (from open to the fetch's 'QVFe'), against
// a tovrane-server of its own on loopback and against one that answers after 20 ms, each over
// REPETITIONS fetches, against the 20 ms target. Headless toolbox; $HOME is a scratch folder.
//
//===----------------------------------------------------------------------===//
#include "QRVTovranePrinterPList.h"
#include "TestServer.h"

#include <CoreFoundation/PMCFUtilities.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/HISimulation.h>
#include <PrintCore/PMHost.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

/// One print dialog with the pane: loaded, started, initialised and opened on construction.
class Dialog {
public:
    Dialog(PMPrintSession session) {
        const auto start = Clock::now();
        CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(PIGMENTOR_BUNDLE_DIR),
            std::strlen(PIGMENTOR_BUNDLE_DIR), true);
        mPlugIn = CFPlugInCreate(nullptr, url);
        CFRelease(url);
        CFUUIDRef type = CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr);
        CFArrayRef factories = mPlugIn ? CFPlugInFindFactoriesForPlugInTypeInPlugIn(type, mPlugIn)
                                       : nullptr;
        if (factories && CFArrayGetCount(factories) == 1)
            mInstance = static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(
                nullptr, static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, 0)), type));
        if (factories)
            CFRelease(factories);
        void* out = nullptr;
        if (mInstance)
            (*mInstance)->QueryInterface(mInstance, CFUUIDGetUUIDBytes(type), &out);
        CFRelease(type);
        mExtension = static_cast<PlugInIntf*>(out);
        if (mExtension == nullptr)
            return;
        PlugInIntfVTable& t = *mExtension->vtable;
        PMPlugInAPIVersion version;
        OSType creator;
        CFStringRef kind = nullptr, title = nullptr;
        UInt32 maxH = 0, maxV = 0;
        if (t.plugInHeader.Retain(Header()) != noErr ||
            t.plugInHeader.GetAPIVersion(Header(), &version) != noErr ||
            t.Prologue(&mContext, &creator, &kind, &title, &maxH, &maxV) != noErr)
            return;
        CFRelease(kind);
        Rect bounds = {40, 40, static_cast<SInt16>(80 + maxV), static_cast<SInt16>(80 + maxH)};
        CreateNewWindow(kDocumentWindowClass, 0, &bounds, &mWindow);
        Rect pane = {20, 20, static_cast<SInt16>(20 + maxV), static_cast<SInt16>(20 + maxH)};
        CreateUserPaneControl(mWindow, &pane, kControlSupportsEmbedding, &mPane);
        PMPDEFlags flags = 0;
        if (t.Initialize(mContext, &flags, nullptr, mPane, session) != noErr)
            return;
        // The observer goes on before open, so that it sees a fetch open starts; open puts the
        // pane's handler in front of it, so it is put in front again right after.
        const EventTypeSpec command = {kEventClassCommand, kEventCommandProcess};
        mUPP = NewEventHandlerUPP(Observe);
        mOpened = t.Open(mContext) == noErr;
        InstallEventHandler(GetWindowEventTarget(mWindow), mUPP, 1, &command, this, &mObserver);
        mShown = Clock::now() - start;
    }
    ~Dialog() {
        if (mObserver)
            RemoveEventHandler(mObserver);
        if (mUPP)
            DisposeEventHandlerUPP(mUPP);
        if (mExtension) {
            PlugInIntfVTable& t = *mExtension->vtable;
            if (mContext) {
                if (mOpened)
                    t.Close(mContext);
                t.Terminate(mContext, noErr);
            }
            for (int i = 0; i < 2; ++i) {
                PMPlugInHeaderInterface* header = Header();
                t.plugInHeader.Release(&header);
            }
        }
        if (mWindow)
            DisposeWindow(mWindow);
        if (mInstance)
            (*mInstance)->Release(mInstance);
        if (mPlugIn)
            CFRelease(mPlugIn);
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
    }
    bool Opened() const { return mOpened; }
    /// A person's click on the two-way check box, after the first fetch has finished.
    void TurnTwoWayOn() {
        LongestGapUntilFetched();
        mFetched = false;
        const ControlID bidi = {'bidi', 10};
        HISimulateClick(mWindow, &bidi);
    }
    double ShownMs() const { return Ms(mShown); }
    /// Turns the event loop until the fetch has finished (at most 30 s); the longest gap
    /// between two turns in ms, or -1 when no fetch finished.
    double LongestGapUntilFetched() {
        const auto end = Clock::now() + std::chrono::seconds(30);
        auto last = Clock::now();
        double longest = 0;
        while (!mFetched && Clock::now() < end) {
            RunCurrentEventLoop(0.001);
            const auto now = Clock::now();
            longest = std::max(longest, Ms(now - last));
            last = now;
        }
        return mFetched ? longest : -1;
    }

private:
    static OSStatus Observe(EventHandlerCallRef, EventRef event, void* data) {
        HICommand command;
        if (GetEventParameter(event, kEventParamDirectObject, typeHICommand, nullptr,
                              sizeof command, nullptr, &command) == noErr &&
            command.commandID == 'QVFe')
            static_cast<Dialog*>(data)->mFetched = true;
        return eventNotHandledErr;
    }
    PMPlugInHeaderInterface* Header() {
        return reinterpret_cast<PMPlugInHeaderInterface*>(mExtension);
    }

    CFPlugInRef mPlugIn = nullptr;
    IUnknownVTbl** mInstance = nullptr;
    PlugInIntf* mExtension = nullptr;
    PMPDEContext mContext = nullptr;
    WindowRef mWindow = nullptr;
    ControlRef mPane = nullptr;
    EventHandlerUPP mUPP = nullptr;
    EventHandlerRef mObserver = nullptr;
    bool mOpened = false, mFetched = false;
    Clock::duration mShown{};
};

struct Stats {
    double median, max;
};

Stats Summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.back()};
}

const char* const kPrinter = "Tarvo C5000";

/// Stores the two-way address for the printer in the user's list, two-way on or off.
bool StoreAddress(bool twoWay) {
    QRVTovranePrinterPList list;
    CFStringRef printer = PMCFStringCreateWithUTF8(kPrinter);
    bool ok = list.Valid() && list.Add(printer, CFSTR("127.0.0.1"), twoWay) && list.Save();
    CFRelease(printer);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    char home[] = "/tmp/bench-host-XXXXXX";
    if (mkdtemp(home) == nullptr)
        return 1;
    setenv("HOME", home, 1);
    PMPrinter printer = nullptr;
    PMPrintSession session = nullptr;
    CFStringRef name = PMCFStringCreateWithUTF8(kPrinter);
    CFStringRef ppd = PMCFStringCreateWithUTF8(PIGMENTOR_SOURCE_DIR "/examples/Tarvo-C5000.ppd");
    PMHostPrinterDescription description = {name, nullptr, ppd, nullptr, nullptr, true};
    if (PMHostCreatePrinter(&description, &printer) != noErr ||
        PMHostCreateSession(printer, &session) != noErr) {
        std::fprintf(stderr, "bench_host: cannot make the printer\n");
        return 1;
    }
    int status = 0;
    std::vector<double> shown;
    for (int i = 0; i < repetitions; ++i) {
        Dialog dialog(session);
        if (!dialog.Opened()) {
            std::fprintf(stderr, "bench_host: the pane did not open\n");
            return 1;
        }
        shown.push_back(dialog.ShownMs());
        dialog.LongestGapUntilFetched(); // the fetch without a server; not counted
    }
    Stats s = Summarise(shown);
    std::printf("bundle loaded to pane shown (prologue, initialize, open): median %.1f ms, "
                "max %.1f ms over %d runs\n", s.median, s.max, repetitions);

    // Two cases: the printer's two-way was on when the dialog opened (the pane's first fetch
    // is replaced by the two-way one), and a person turns it on in the shown pane.
    for (bool atOpen : {true, false}) {
    StoreAddress(atOpen);
    for (int latency : {0, 20}) {
        std::vector<std::string> args;
        if (latency)
            args = {"--latency-ms", std::to_string(latency)};
        TestServer server(args);
        if (!server.Started()) {
            std::fprintf(stderr, "bench_host: tovrane-server did not start\n");
            return 1;
        }
        setenv("TOVRANE_SERVER_PORT", std::to_string(server.Port()).c_str(), 1);
        std::vector<double> gaps;
        for (int i = 0; i < repetitions; ++i) {
            StoreAddress(atOpen);
            Dialog dialog(session);
            if (!atOpen)
                dialog.TurnTwoWayOn();
            double gap = dialog.LongestGapUntilFetched();
            if (gap < 0) {
                std::fprintf(stderr, "bench_host: the two-way fetch did not finish\n");
                return 1;
            }
            gaps.push_back(gap);
        }
        Stats g = Summarise(gaps);
        std::printf("longest main-loop gap during a two-way fetch (%s, %s): median %.1f ms, "
                    "max %.1f ms over %d fetches; target < 20 ms: %s (max/target %.2f)\n",
                    atOpen ? "two-way on at open" : "turned on by a click",
                    latency ? "server answering after 20 ms" : "loopback", g.median, g.max,
                    repetitions, g.max < 20 ? "met" : "NOT met", g.max / 20);
        if (g.max >= 20)
            status = 1;
        server.Stop();
    }
    }
    PMRelease(session);
    PMRelease(printer);
    CFRelease(name);
    CFRelease(ppd);
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
