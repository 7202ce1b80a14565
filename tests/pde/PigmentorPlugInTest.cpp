// The colour pane's bundle as the print dialog meets it: Pigmentor.plugin loaded through
// CFPlugIn into this executable (which holds the platform, as pde-host does) and its table
// driven directly, for what pde-host cannot show: an unknown interface, the prologue's size,
// the summary before initialize, printers the pane refuses, and a loading sync that replaces
// the controller under a shown pane.
#include "TestScopes.h"

#include <HIToolbox/HIToolbox.h>
#include <PrintCore/PMHost.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const char* const kBundleID = "com.qrv.print.pde.C4616032-6A8B-4262-B596-CEAC3EA7B6D9.PGse";
const std::string kPPD = std::string(PIGMENTOR_SOURCE_DIR) + "/examples/Tarvo-C5000.ppd";

/// A printer (of `ppd`, none when empty) and its session.
struct Printer {
    PMPrinter printer = nullptr;
    PMPrintSession session = nullptr;
    explicit Printer(const std::string& ppd) {
        Owned<CFStringRef> name(PMCFStringCreateWithUTF8("Tarvo C5000"));
        Owned<CFStringRef> path(ppd.empty() ? nullptr : PMCFStringCreateWithUTF8(ppd));
        PMHostPrinterDescription description = {name, nullptr, path, nullptr, nullptr, true};
        if (PMHostCreatePrinter(&description, &printer) == noErr)
            PMHostCreateSession(printer, &session);
    }
    ~Printer() {
        if (session)
            PMRelease(session);
        if (printer)
            PMRelease(printer);
    }
    PMTicketRef Settings() const {
        PMTicketRef ticket = nullptr;
        PMSessionGetTicketFromSession(session, kPDE_PMPrintSettingsRef, &ticket);
        return ticket;
    }
};

class PigmentorPlugInTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", home.path.c_str(), 1); // the two-way address list lives there
        Owned<CFURLRef> url(FileURL(PIGMENTOR_BUNDLE_DIR, true));
        plugIn = CFPlugInCreate(nullptr, url);
        ASSERT_NE(plugIn, nullptr);
        Owned<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr));
        Owned<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInTypeInPlugIn(type, plugIn));
        ASSERT_EQ(CFArrayGetCount(factories), 1) << Take(CFPlugInCopyLastError());
        CFUUIDRef factory = static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, 0));
        instance = static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory, type));
        ASSERT_NE(instance, nullptr) << Take(CFPlugInCopyLastError());
        void* out = nullptr;
        ASSERT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(type), &out), S_OK);
        extension = static_cast<PlugInIntf*>(out);
        ASSERT_EQ(Table().plugInHeader.Retain(Header()), noErr);
        Rect bounds = {40, 40, 640, 640};
        CreateNewWindow(kDocumentWindowClass, 0, &bounds, &window);
        Rect pane = {20, 20, 220, 545};
        CreateUserPaneControl(window, &pane, kControlSupportsEmbedding, &parent);
    }
    void TearDown() override {
        if (context)
            Table().Terminate(context, noErr);
        if (window)
            DisposeWindow(window);
        for (int i = 0; extension && i < 2; ++i) {
            PMPlugInHeaderInterface* header = Header();
            Table().plugInHeader.Release(&header);
        }
        if (instance)
            (*instance)->Release(instance);
        if (plugIn)
            CFRelease(plugIn);
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
        unsetenv("HOME");
    }
    PlugInIntfVTable& Table() { return *extension->vtable; }
    PMPlugInHeaderInterface* Header() { return reinterpret_cast<PMPlugInHeaderInterface*>(extension); }
    OSStatus Prologue() {
        OSType creator = 0;
        CFStringRef kind = nullptr, title = nullptr;
        OSStatus status = Table().Prologue(&context, &creator, &kind, &title, &maxH, &maxV);
        paneTitle = UTF8(title);
        optionKind = Take(kind);
        paneCreator = creator;
        return status;
    }
    /// The summary's lines as "title: value".
    std::vector<std::string> Summary(OSStatus* status = nullptr) {
        CFArrayRef titles = nullptr, values = nullptr;
        OSStatus s = Table().GetSummaryText(context, &titles, &values);
        if (status)
            *status = s;
        std::vector<std::string> lines;
        for (CFIndex i = 0; titles && i < CFArrayGetCount(titles); ++i)
            lines.push_back(UTF8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(titles, i))) + ": " +
                            UTF8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(values, i))));
        if (titles)
            CFRelease(titles);
        if (values)
            CFRelease(values);
        return lines;
    }
    UInt16 PaneControls() const {
        UInt16 count = 0;
        CountSubControls(parent, &count);
        return count;
    }

    Scratch home;
    CFPlugInRef plugIn = nullptr;
    IUnknownVTbl** instance = nullptr;
    PlugInIntf* extension = nullptr;
    PMPDEContext context = nullptr;
    WindowRef window = nullptr;
    ControlRef parent = nullptr;
    UInt32 maxH = 0, maxV = 0;
    std::string paneTitle, optionKind;
    OSType paneCreator = 0;
};

TEST_F(PigmentorPlugInTest, AnswersOnlyItsInterfacesAndReportsItsPane) {
    Owned<CFUUIDRef> unknown(CFUUIDCreate(nullptr));
    void* none = instance;
    EXPECT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(unknown), &none),
              static_cast<HRESULT>(0x80000004));
    EXPECT_EQ(none, nullptr);

    ASSERT_EQ(Prologue(), noErr);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(maxH, 525u);
    EXPECT_EQ(maxV, 200u);
    EXPECT_EQ(paneCreator, static_cast<OSType>('QRV1'));
    EXPECT_EQ(paneTitle, "Color");
    EXPECT_EQ(optionKind, kBundleID);

    // Before initialize there is no controller: 0 and no arrays.
    CFArrayRef titles = reinterpret_cast<CFArrayRef>(this), values = titles;
    EXPECT_EQ(Table().GetSummaryText(context, &titles, &values), noErr);
    EXPECT_EQ(titles, nullptr);
    EXPECT_EQ(values, nullptr);
    // Nothing to show or store yet.
    EXPECT_EQ(Table().Open(context), noErr);
    EXPECT_EQ(Table().Close(context), noErr);
    Printer printer(kPPD);
    EXPECT_EQ(Table().Sync(context, printer.session, false), noErr);
    EXPECT_EQ(Table().Sync(context, nullptr, false), 1);
}

TEST_F(PigmentorPlugInTest, RefusesPrintersItCannotWorkWith) {
    ASSERT_EQ(Prologue(), noErr);
    PMPDEFlags flags = 7;
    {
        // No PPD: the printer information has no compiled PPD.
        Printer printer("");
        EXPECT_EQ(Table().Initialize(context, &flags, nullptr, parent, printer.session), 1);
        EXPECT_EQ(PaneControls(), 0);
        EXPECT_EQ(Table().Initialize(context, &flags, nullptr, parent, nullptr), 1);
    }
    {
        // A PPD whose PC file name the bundle's printer list does not hold: the job-ticket
        // file item of an earlier printer is taken out of the ticket.
        std::ifstream in(kPPD, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string ppd = text.str();
        const std::string accepted = "*PCFileName: \"TRVC5000.PPD\"";
        ppd.replace(ppd.find(accepted), accepted.size(), "*PCFileName: \"OTHER.PPD\"");
        home.Write("other.ppd", ppd);
        Printer printer(home / "other.ppd");
        Owned<CFStringRef> key(PMCFStringCreateWithUTF8(std::string("QRV.PSData.") + kBundleID));
        Owned<CFStringRef> id(PMCFStringCreateWithUTF8(kBundleID));
        ASSERT_EQ(PMTicketSetCFString(printer.Settings(), id, key, CFSTR("/tmp/Tarvo.tempX"),
                                      kPMUnlocked), noErr);
        EXPECT_EQ(Table().Initialize(context, &flags, nullptr, parent, printer.session), 1);
        CFStringRef left = nullptr;
        EXPECT_NE(PMTicketGetCFString(printer.Settings(), kPMTopLevel, kPMTopLevel, key, &left),
                  noErr);
        EXPECT_EQ(PaneControls(), 0);
        EXPECT_TRUE(Summary().empty());
    }
}

TEST_F(PigmentorPlugInTest, LoadingSyncReplacesTheControllerUnderTheShownPane) {
    ASSERT_EQ(Prologue(), noErr);
    Printer printer(kPPD);
    PMPDEFlags flags = 7;
    ASSERT_EQ(Table().Initialize(context, &flags, nullptr, parent, printer.session), noErr);
    EXPECT_EQ(flags, kPMPDENoFlags);
    EXPECT_GT(PaneControls(), 3);
    ASSERT_EQ(Table().Open(context), noErr);
    std::vector<std::string> first = Summary();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0], "Print Mode: Standard Color");

    // The pane's first fetch runs now; a loading sync replaces the controller under it, and
    // again at once, while the second one's fetch runs.
    ASSERT_EQ(Table().Sync(context, printer.session, true), noErr);
    ASSERT_EQ(Table().Sync(context, printer.session, true), noErr);
    // A new controller's summary starts at the print mode; the expert lines follow once a
    // fetch has ended, so only the lines both summaries have are compared.
    std::vector<std::string> again = Summary();
    const size_t common = std::min(again.size(), first.size());
    EXPECT_GE(common, 8u);
    EXPECT_EQ(std::vector<std::string>(again.begin(), again.begin() + common),
              std::vector<std::string>(first.begin(), first.begin() + common));
    RunCurrentEventLoop(0.5);
    EXPECT_EQ(Table().Sync(context, printer.session, false), noErr);
    // The job-ticket file is for a print filter; none runs here.
    Owned<CFStringRef> key(PMCFStringCreateWithUTF8(std::string("QRV.PSData.") + kBundleID));
    CFStringRef path = nullptr;
    ASSERT_EQ(PMTicketGetCFString(printer.Settings(), kPMTopLevel, kPMTopLevel, key, &path), noErr);
    EXPECT_EQ(UTF8(path).rfind("/tmp/Tarvo.temp", 0), 0u);
    std::filesystem::remove(UTF8(path));
    EXPECT_EQ(Table().Close(context), noErr);
    EXPECT_EQ(Table().Terminate(context, noErr), noErr);
    context = nullptr;
}

} // namespace
