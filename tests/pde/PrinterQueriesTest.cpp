// Printer queries over print sessions made from PPD files, building the model of the current
// printer, and the process-wide list of shared models.
#include "PDETestSupport.h"

#include "PDEDebug.h"
#include "PrinterQueries.h"
#include "SetupPPD.h"
#include "SharedPPDManager.h"

#include "PPDXControls.h"
#include "QRVPPD.h"

#include <CarbonCore/Gestalt.h>

#include <gtest/gtest.h>

namespace {

const char* const kBody = "*PPD-Adobe: \"4.3\"\n"
                          "*FormatVersion: \"4.3\"\n"
                          "*PCFileName: \"TRVC5000.PPD\"\n"
                          "*LanguageVersion: English\n"
                          "*LanguageEncoding: ISOLatin1\n"
                          "*ModelName: \"Test\"\n";

TEST(PrinterQueriesTest, SetupPPDBuildsTheExampleModels) {
    OpenBundle bundle;
    for (const char* name : {"Tarvo-C5000.ppd", "Tarvo-M200.ppd"}) {
        TestSession session(ExamplePPD(name));
        ASSERT_NE(session.Get(), nullptr);
        QRVPPD* model = SetupPPD(session, GetBundleID());
        ASSERT_NE(model, nullptr) << name;
        EXPECT_TRUE(model->IsValidPPD());
        EXPECT_TRUE(model->IsValidPrinterName());
        EXPECT_EQ(model->ParseOptions(), 3u);
        EXPECT_TRUE(model->GetErrors()->Empty()) << name;
        EXPECT_NE(model->GetControls()->PopupCount(), 0u) << name;
        EXPECT_TRUE(model->Release());
    }
}

// A CUPS queue's PPD is named after the queue, and Linux names run to 255 bytes.
TEST(PrinterQueriesTest, SetupPPDServesALongFileName) {
    OpenBundle bundle;
    Scratch dir;
    const std::string name = "Tarvo C5000 on the colour server of the third floor, east wing, "
                             "room 312 - \xC5\x81\xC3\xB3" "d\xC5\xBA.ppd";
    dir.Write(name, ReadFile(ExamplePPD("Tarvo-C5000.ppd")));
    TestSession session(dir / name);
    QRVPPD* model = SetupPPD(session, GetBundleID());
    ASSERT_NE(model, nullptr);
    EXPECT_TRUE(model->IsValidPPD());
    EXPECT_NE(model->GetControls()->PopupCount(), 0u);
    EXPECT_TRUE(model->Release());
}

TEST(PrinterQueriesTest, SetupPPDRefusesWhatItCannotServe) {
    OpenBundle bundle;
    Scratch dir;
    // A PPD whose PC file name the bundle does not list; one without the PPD signature.
    dir.Write("other.ppd",
              std::string(kBody).replace(std::string(kBody).find("TRVC5000"), 8, "TRVX9999"));
    dir.Write("broken.ppd", std::string(kBody).replace(0, 10, "*PPD-Wrong"));
    for (const char* name : {"other.ppd", "broken.ppd", "missing.ppd"}) {
        TestSession session(dir / name);
        EXPECT_EQ(SetupPPD(session, GetBundleID()), nullptr) << name;
    }
    TestSession noPPD("");
    EXPECT_EQ(SetupPPD(noPPD, GetBundleID()), nullptr);
    EXPECT_EQ(SetupPPD(nullptr, GetBundleID()), nullptr);
    // Without the bundle cached, an identifier of no open bundle finds no printer list.
    MyFreeBundle();
    TestSession good(ExamplePPD("Tarvo-C5000.ppd"));
    EXPECT_EQ(SetupPPD(good, CFSTR("com.example.not-open")), nullptr);
}

TEST(PrinterQueriesTest, SetupPPDNeedsThePrinterList) {
    for (const char* broken : {"", "<plist><dict/></plist>", "<plist><dict><key>PCFILENAME"}) {
        Scratch scratch;
        std::string copy = CopyBundle(scratch, {"PrinterList.plist"});
        if (*broken)
            scratch.Write("Pigmentor.plugin/Contents/PrinterList.plist", broken);
        OpenBundle bundle(copy);
        TestSession session(ExamplePPD("Tarvo-C5000.ppd"));
        EXPECT_EQ(SetupPPD(session, GetBundleID()), nullptr) << broken;
    }
}

TEST(PrinterQueriesTest, NameFileAndConnection) {
    TestSession session(ExamplePPD("Tarvo-M200.ppd"), "ipp://print.example/printers/m200",
                        "Office M200");
    EXPECT_EQ(UTF8(GetCurrentPrinterName(session)), "Office M200");
    CFURLRef url = nullptr;
    FSRef ref;
    ASSERT_EQ(GetPPDFile(session, url, ref), noErr);
    EXPECT_EQ(UTF8(Owned<CFStringRef>(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle))),
              ExamplePPD("Tarvo-M200.ppd"));
    CFRelease(url);
    UInt8 refPath[1024];
    ASSERT_EQ(FSRefMakePath(&ref, refPath, sizeof refPath), noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(refPath)), ExamplePPD("Tarvo-M200.ppd"));
    EXPECT_EQ(UTF8(Owned<CFStringRef>(CopyPrinterConnectionType(session))), "ipp");
    EXPECT_TRUE(isIPPrinterConnection(session));
    EXPECT_FALSE(isUSBPrinterConnection(session) || isAppleTalkPrinterConnection(session));
    EXPECT_FALSE(isIPPrinterConnection(TestSession("", "IPP://print.example/printers/m200")));
    EXPECT_TRUE(isUSBPrinterConnection(TestSession("", "usb://Tarvo/M200")));
    EXPECT_TRUE(isAppleTalkPrinterConnection(TestSession("", "pap://zone/printer")));

    // A PPD that is not there, a printer without one, no session.
    url = reinterpret_cast<CFURLRef>(1);
    EXPECT_EQ(GetPPDFile(TestSession("/nonexistent/x.ppd"), url, ref), fnfErr);
    EXPECT_EQ(url, nullptr);
    EXPECT_EQ(GetPPDFile(TestSession(""), url, ref), kPMNoSuchEntry);
    EXPECT_NE(GetPPDFile(nullptr, url, ref), noErr);
    EXPECT_EQ(GetCurrentPrinterName(nullptr), nullptr);
    EXPECT_EQ(CopyPrinterConnectionType(TestSession("")), nullptr);
}

// A model that reports its holders and its destruction.
class CountedModel : public QRVPPD {
public:
    explicit CountedModel(bool& destroyed) : QRVPPD(kShowAll), mDestroyed(destroyed) {}
    ~CountedModel() override { mDestroyed = true; }
    long Count() const { return mRefCount; }

private:
    bool& mDestroyed;
};

bool Registered() {
    long value = 0;
    return Gestalt('QVPd', &value) == noErr;
}

TEST(SharedPPDManagerTest, HoldsAndGivesBackReferences) {
    ASSERT_FALSE(Registered());
    EXPECT_EQ(GetSharedPPDManager(), nullptr);
    ReleasePPDManager();
    EXPECT_FALSE(InstallSharedPPDManager(nullptr));

    bool firstGone = false, secondGone = false;
    auto* first = new CountedModel(firstGone);
    auto* second = new CountedModel(secondGone);
    first->Retain(); // the test's own hold beside the creator's
    ASSERT_TRUE(InstallSharedPPDManager(first));
    ASSERT_TRUE(Registered());
    ASSERT_TRUE(InstallSharedPPDManager(second));
    EXPECT_EQ(first->Count(), 2);
    EXPECT_EQ(second->Count(), 1);

    EXPECT_EQ(GetSharedPPDManager(), second); // the last entry, every entry retained
    EXPECT_EQ(first->Count(), 3);
    EXPECT_EQ(second->Count(), 2);
    ReleasePPDManager();
    ReleasePPDManager();
    EXPECT_EQ(first->Count(), 1); // as before it was installed
    EXPECT_EQ(second->Count(), 0);
    EXPECT_TRUE(Registered());

    // The next release destroys the second model, whose entry goes; the first stays listed.
    ReleasePPDManager();
    EXPECT_TRUE(secondGone);
    EXPECT_FALSE(firstGone);
    EXPECT_EQ(GetSharedPPDManager(), first);
    EXPECT_EQ(first->Count(), 1);
    ReleasePPDManager();
    ReleasePPDManager();
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(Registered());
    EXPECT_EQ(GetSharedPPDManager(), nullptr);
}

// The creator may let go after the list did: the model dies then, and its entry with it.
TEST(SharedPPDManagerTest, AModelReleasedLastByItsCreatorLeavesTheList) {
    bool gone = false, otherGone = false;
    auto* model = new CountedModel(gone);
    auto* other = new CountedModel(otherGone);
    ASSERT_TRUE(InstallSharedPPDManager(other));
    ASSERT_TRUE(InstallSharedPPDManager(model));
    ReleasePPDManager(); // the list's references; both creators still hold theirs
    EXPECT_FALSE(gone);
    EXPECT_TRUE(model->Release());
    EXPECT_TRUE(gone);
    EXPECT_EQ(GetSharedPPDManager(), other); // not the dead model
    ReleasePPDManager();
    EXPECT_TRUE(Registered());
    EXPECT_TRUE(other->Release());
    EXPECT_FALSE(Registered());
    EXPECT_EQ(GetSharedPPDManager(), nullptr);
}

TEST(SharedPPDManagerTest, SelectorRegisteredWithoutAList) {
    ASSERT_EQ(NewGestaltValue('QVPd', 0), noErr);
    EXPECT_EQ(GetSharedPPDManager(), nullptr);
    bool gone = false;
    auto* model = new CountedModel(gone);
    ASSERT_TRUE(InstallSharedPPDManager(model));
    EXPECT_EQ(GetSharedPPDManager(), model);
    ReleasePPDManager();
    ReleasePPDManager();
    EXPECT_FALSE(gone);
    ReleasePPDManager();
    EXPECT_TRUE(gone);
    EXPECT_FALSE(Registered());
}

TEST(DebugMessageTest, PrintsOnlyWhenAsked) {
    {
        ScopedEnv debug("PDEDebug", std::nullopt);
        testing::internal::CaptureStdout();
        MyDebugMessage("quiet", 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    ScopedEnv debug("PDEDebug", std::string("1"));
    testing::internal::CaptureStdout();
    MyDebugMessage("Sync", -9530);
    MyDebugMessage(nullptr, 7);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Sync (-9530)\n (7)\n");
}

} // namespace
