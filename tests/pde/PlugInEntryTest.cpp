// The plug-in entry as the print dialog meets it: the host test bundle loaded through CFPlugIn
// into this executable, which holds the platform (as pde-host does), its factory, basic
// interface and extension table driven with good and bad arguments.
#include "TestScopes.h"

#include <HIToolbox/HIToolboxErrors.h>
#include <HIToolbox/IBCarbonRuntime.h>
#include <PrintCore/PMErrors.h>
#include <PrintCore/PMHost.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

const char* const kBundleID = "com.qrv.print.pde.hosttest.PGse";

CFUUIDRef ExtensionType() {
    return CFUUIDCreateFromString(nullptr, kDialogExtensionIntfIDStr);
}

class PlugInEntryTest : public testing::Test {
protected:
    void SetUp() override { Load(HOSTTEST_BUNDLE_DIR); }
    void TearDown() override { Unload(); }

    void Load(const std::string& path) {
        Owned<CFURLRef> url(FileURL(path, true));
        plugIn = CFPlugInCreate(nullptr, url);
        ASSERT_NE(plugIn, nullptr);
        Owned<CFUUIDRef> type(ExtensionType());
        Owned<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInTypeInPlugIn(type, plugIn));
        ASSERT_EQ(CFArrayGetCount(factories), 1) << Take(CFPlugInCopyLastError());
        factory = static_cast<CFUUIDRef>(CFRetain(CFArrayGetValueAtIndex(factories, 0)));
        instance = static_cast<IUnknownVTbl**>(CFPlugInInstanceCreate(nullptr, factory, type));
        ASSERT_NE(instance, nullptr) << Take(CFPlugInCopyLastError());
    }
    void Unload() {
        if (instance)
            (*instance)->Release(instance);
        instance = nullptr;
        if (factory)
            CFRelease(factory);
        factory = nullptr;
        if (plugIn)
            CFRelease(plugIn);
        plugIn = nullptr;
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
    }
    PlugInIntf* Extension() {
        Owned<CFUUIDRef> type(ExtensionType());
        void* out = nullptr;
        EXPECT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(type), &out), S_OK);
        return static_cast<PlugInIntf*>(out);
    }
    static PMPlugInHeaderInterface* Header(PlugInIntf* extension) {
        return reinterpret_cast<PMPlugInHeaderInterface*>(extension);
    }

    CFPlugInRef plugIn = nullptr;
    CFUUIDRef factory = nullptr;
    IUnknownVTbl** instance = nullptr;
};

TEST_F(PlugInEntryTest, BasicInterfaceCountsAndAnswersOnlyItsInterfaces) {
    EXPECT_EQ(CFPlugInGetInstanceCountForFactory(factory), 1);
    void* same = nullptr;
    EXPECT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID), &same), S_OK);
    EXPECT_EQ(same, instance);
    EXPECT_EQ((*instance)->AddRef(instance), 3u);
    EXPECT_EQ((*instance)->Release(instance), 2u);
    EXPECT_EQ((*instance)->Release(instance), 1u);

    Owned<CFUUIDRef> unknown(CFUUIDCreate(nullptr));
    void* none = instance;
    EXPECT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(unknown), &none),
              static_cast<HRESULT>(0x80000004));
    EXPECT_EQ(none, nullptr);

    PlugInIntf* extension = Extension();
    ASSERT_NE(extension, nullptr);
    PMPlugInHeaderInterface* header = Header(extension);
    EXPECT_EQ(extension->vtable->plugInHeader.Release(&header), noErr);
    EXPECT_EQ(header, nullptr) << "release clears the caller's pointer";

    // The last release of the instance uncounts it; the executable goes on the next loop pass.
    EXPECT_EQ((*instance)->Release(instance), 0u);
    instance = nullptr;
    EXPECT_EQ(CFPlugInGetInstanceCountForFactory(factory), 0);
    EXPECT_TRUE(CFBundleIsExecutableLoaded(plugIn));
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true);
    EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn));
}

TEST_F(PlugInEntryTest, TableChecksItsContextAndReportsThePane) {
    PlugInIntf* extension = Extension();
    ASSERT_NE(extension, nullptr);
    PlugInIntfVTable& table = *extension->vtable;
    EXPECT_EQ(table.plugInHeader.Retain(Header(extension)), noErr) << "the NIB opens";
    PMPlugInAPIVersion version = {9, 9, 9, 9};
    EXPECT_EQ(table.plugInHeader.GetAPIVersion(Header(extension), &version), noErr);
    EXPECT_EQ((std::vector<UInt32>{version.buildVersionMajor, version.buildVersionMinor,
                                   version.baseVersionMajor, version.baseVersionMinor}),
              (std::vector<UInt32>{1, 0, 1, 0}));
    EXPECT_EQ(table.plugInHeader.GetAPIVersion(Header(extension), nullptr), paramErr);
    EXPECT_EQ(table.plugInHeader.Retain(nullptr), paramErr);

    // Every entry but the header's answers -9530 without a context.
    OSType creator = 0;
    CFStringRef kind = nullptr, title = nullptr;
    UInt32 maxH = 0, maxV = 0;
    PMPDEFlags flags = 0;
    CFArrayRef titles = nullptr, values = nullptr;
    EXPECT_EQ(table.Prologue(nullptr, &creator, &kind, &title, &maxH, &maxV), kPMInvalidPDEContext);
    EXPECT_EQ(table.Initialize(nullptr, &flags, nullptr, nullptr, nullptr), kPMInvalidPDEContext);
    EXPECT_EQ(table.Sync(nullptr, nullptr, true), kPMInvalidPDEContext);
    EXPECT_EQ(table.GetSummaryText(nullptr, &titles, &values), kPMInvalidPDEContext);
    EXPECT_EQ(table.Open(nullptr), kPMInvalidPDEContext);
    EXPECT_EQ(table.Close(nullptr), kPMInvalidPDEContext);
    EXPECT_EQ(table.Terminate(nullptr, noErr), kPMInvalidPDEContext);

    {
        // The title is localised when the pane is made.
        struct Language {
            Language() { setenv("LANGUAGE", "de", 1); }
            ~Language() { unsetenv("LANGUAGE"); }
        } german;
        PMPDEContext context = nullptr;
        ASSERT_EQ(table.Prologue(&context, &creator, &kind, &title, &maxH, &maxV), noErr);
        EXPECT_EQ(UTF8(title), "Testbereich");
        EXPECT_EQ(table.Terminate(context, noErr), noErr);
        CFRelease(kind);
    }
    PMPDEContext context = nullptr;
    ASSERT_EQ(table.Prologue(&context, &creator, &kind, &title, &maxH, &maxV), noErr);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(maxH, 525u);
    EXPECT_EQ(maxV, 200u);
    EXPECT_EQ(creator, static_cast<OSType>('QRVt'));
    EXPECT_EQ(UTF8(title), "Test Pane");
    EXPECT_EQ(Take(kind), kBundleID);

    // A printer without a PPD has no compiled PPD: the pane cannot work with it.
    Owned<CFStringRef> name(PMCFStringCreateWithUTF8("No PPD"));
    PMHostPrinterDescription description = {name, nullptr, nullptr, nullptr, nullptr, true};
    PMPrinter printer = nullptr;
    PMPrintSession session = nullptr;
    ASSERT_EQ(PMHostCreatePrinter(&description, &printer), noErr);
    ASSERT_EQ(PMHostCreateSession(printer, &session), noErr);
    EXPECT_EQ(table.Initialize(context, &flags, nullptr, nullptr, session), 1);
    EXPECT_EQ(table.Initialize(context, nullptr, nullptr, nullptr, session), paramErr);
    EXPECT_EQ(table.Terminate(context, noErr), noErr);
    PMRelease(session);
    PMRelease(printer);

    PMPluginRelease release = table.plugInHeader.Release;
    EXPECT_EQ(release(nullptr), paramErr);
    PMPlugInHeaderInterface* header = Header(extension);
    EXPECT_EQ(release(&header), noErr);
    header = Header(extension);
    EXPECT_EQ(release(&header), noErr);
}

TEST_F(PlugInEntryTest, RetainReportsAMissingNIB) {
    Unload();
    Scratch dir;
    std::string copy = dir / "HostTest.plugin";
    std::filesystem::copy(HOSTTEST_BUNDLE_DIR, copy, std::filesystem::copy_options::recursive);
    std::filesystem::remove(copy + "/Contents/Resources/TestPane.nib");
    Load(copy);
    PlugInIntf* extension = Extension();
    ASSERT_NE(extension, nullptr);
    EXPECT_EQ(extension->vtable->plugInHeader.Retain(Header(extension)),
              kIBCarbonRuntimeCantFindNibFile);
    PMPlugInHeaderInterface* header = Header(extension);
    extension->vtable->plugInHeader.Release(&header);
    header = Header(extension);
    extension->vtable->plugInHeader.Release(&header);

    // The factory asked for a type its bundle does not list makes nothing.
    auto function = reinterpret_cast<CFPlugInFactoryFunction>(
        CFBundleGetFunctionPointerForName(plugIn, CFSTR("HostTestPaneFactory")));
    ASSERT_NE(function, nullptr);
    Owned<CFUUIDRef> other(CFUUIDCreate(nullptr));
    EXPECT_EQ(function(nullptr, other), nullptr);
}

} // namespace
