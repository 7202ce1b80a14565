#include "PrintCoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

const CFStringRef kPane = CFSTR("com.example.pane");

// A session on a printer described by the host, as pde-host makes one.
struct SessionTest : ::testing::Test {
    PMPrinter printer = nullptr;
    PMPrintSession session = nullptr;
    void SetUp() override {
        PMHostPrinterDescription d = {CFSTR("Colour Server"),
                                      CFSTR("colour_q"),
                                      CFSTR("/opt/ppd/Colour Server.ppd"),
                                      CFSTR("ipp://10.1.2.3/printers/colour"),
                                      CFSTR("Maker Colour 9000"),
                                      true};
        ASSERT_EQ(PMHostCreatePrinter(&d, &printer), noErr);
        ASSERT_EQ(PMHostCreateSession(printer, &session), noErr);
    }
    void TearDown() override {
        PMRelease(session);
        PMRelease(printer);
    }
    PMTicketRef Ticket(CFStringRef key) {
        CFTypeRef number = nullptr;
        EXPECT_EQ(PMSessionGetDataFromSession(session, key, &number), noErr);
        return TicketFromNumber(number);
    }
    template <class T> T Info(CFStringRef key) {
        CFTypeRef item = nullptr;
        PMTicketGetItem(Ticket(kPDE_PMPrinterInfoRef), kPMTopLevel, kPMTopLevel, key, &item);
        return static_cast<T>(item);
    }
};

TEST_F(SessionTest, CurrentPrinterComesFromTheDescription) {
    PMPrinter current = nullptr;
    ASSERT_EQ(PMSessionGetCurrentPrinter(session, &current), noErr);
    EXPECT_EQ(current, printer);
    EXPECT_EQ(UTF8(PMPrinterGetName(current)), "Colour Server");
    EXPECT_EQ(UTF8(PMPrinterGetID(current)), "colour_q");
    CFStringRef model = nullptr;
    EXPECT_EQ(PMPrinterGetMakeAndModelName(current, &model), noErr);
    EXPECT_EQ(UTF8(model), "Maker Colour 9000");
    CFURLRef ppd = nullptr;
    ASSERT_EQ(PMPrinterCopyDescriptionURL(current, kPMPPDDescriptionType, &ppd), noErr);
    Owned<CFStringRef> path(CFURLCopyFileSystemPath(ppd, kCFURLPOSIXPathStyle));
    EXPECT_EQ(UTF8(path), "/opt/ppd/Colour Server.ppd");
    CFRelease(ppd);
    EXPECT_EQ(PMPrinterCopyDescriptionURL(current, CFSTR("Other"), &ppd), kPMInvalidParameter);
    EXPECT_EQ(ppd, nullptr);
    CFURLRef uri = nullptr;
    ASSERT_EQ(PMPrinterCopyDeviceURI(current, &uri), noErr);
    Owned<CFStringRef> scheme(CFURLCopyScheme(uri));
    EXPECT_EQ(UTF8(scheme), "ipp");
    CFRelease(uri);
}

TEST_F(SessionTest, TicketsAreDesignatedByNumbersInSessionData) {
    PMTicketRef settings = Ticket(kPDE_PMPrintSettingsRef);
    CFStringRef type = nullptr;
    ASSERT_EQ(PMTicketGetType(settings, &type), noErr);
    EXPECT_TRUE(CFEqual(type, kPMPrintSettingsTicket));
    EXPECT_EQ(PMTicketSetSInt32(settings, kPane, CFSTR("mode"), 2, kPMUnlocked), noErr);
    PMTicketRef viaSession = nullptr;
    EXPECT_EQ(PMSessionGetTicketFromSession(session, kPDE_PMPrintSettingsRef, &viaSession), noErr);
    EXPECT_EQ(viaSession, settings);

    EXPECT_EQ(UTF8(Info<CFStringRef>(kPMPrinterLongNameKey)), "Colour Server");
    EXPECT_EQ(UTF8(Info<CFStringRef>(kPMMakeAndModelNameKey)), "Maker Colour 9000");
    EXPECT_EQ(UTF8(Info<CFStringRef>(kPMPrinterAddressKey)), "10.1.2.3");
    EXPECT_EQ(UTF8(Info<CFStringRef>(kPMDescriptionFileKey)), "/opt/ppd/Colour Server.ppd");
    EXPECT_EQ(Info<CFBooleanRef>(kPMSupportsColorKey), kCFBooleanTrue);
    EXPECT_EQ(CFGetTypeID(Info<CFDictionaryRef>(kPMCompiledPPDKey)), CFDictionaryGetTypeID());
    PMTicketRef info = Ticket(kPDE_PMPrinterInfoRef);
    EXPECT_EQ(PMTicketSetSInt32(info, kPane, CFSTR("x"), 1, kPMUnlocked), kPMTicketIsLocked);
}

TEST_F(SessionTest, DataItemsAreKeptAndTicketKeysProtected) {
    Owned<CFMutableArrayRef> injections(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    EXPECT_EQ(PMSessionSetDataInSession(session, CFSTR("QRV.PSData.x"), injections), noErr);
    EXPECT_EQ(CFGetRetainCount(injections), 2);
    CFTypeRef got = nullptr;
    EXPECT_EQ(PMSessionGetDataFromSession(session, CFSTR("QRV.PSData.x"), &got), noErr);
    EXPECT_EQ(got, injections.ref);
    EXPECT_EQ(PMSessionSetDataInSession(session, CFSTR("QRV.PSData.x"), CFSTR("other")), noErr);
    EXPECT_EQ(CFGetRetainCount(injections), 1);
    EXPECT_EQ(PMSessionGetDataFromSession(session, CFSTR("absent"), &got), kPMKeyNotFound);
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(PMSessionError(session), kPMKeyNotFound);
    EXPECT_EQ(PMSessionSetDataInSession(session, kPDE_PMPrintSettingsRef, CFSTR("1")),
              kPMInvalidKey);
    EXPECT_EQ(PMSessionSetDataInSession(session, CFSTR("k"), nullptr), kPMInvalidParameter);
    EXPECT_NE(Ticket(kPDE_PMPrintSettingsRef), nullptr);
}

TEST_F(SessionTest, SavedSettingsReplaceTheSessionTicket) {
    Scratch dir;
    std::string path = dir / "user-settings.plist";
    PMTicketRef original = Ticket(kPDE_PMPrintSettingsRef);
    PMTicketSetSInt32(original, kPane, CFSTR("mode"), 3, kPMUnlocked);
    ASSERT_EQ(PMTicketWriteXMLToFile(original, path.c_str()), noErr);

    PMPrintSession next = nullptr;
    ASSERT_EQ(PMHostCreateSession(printer, &next), noErr);
    PMTicketRef loaded = nullptr;
    ASSERT_EQ(PMTicketReadXMLFromFile(nullptr, path.c_str(), &loaded, nullptr), noErr);
    PMTicketRef fresh = nullptr;
    PMSessionGetTicketFromSession(next, kPDE_PMPrintSettingsRef, &fresh);
    ASSERT_EQ(PMHostSetSessionTicket(next, kPDE_PMPrintSettingsRef, loaded), noErr);
    PMTicketRelease(loaded); // the session holds its own reference
    EXPECT_EQ(PMTicketConfirmTicket(fresh), kPMInvalidTicket);
    PMTicketRef current = nullptr;
    ASSERT_EQ(PMSessionGetTicketFromSession(next, kPDE_PMPrintSettingsRef, &current), noErr);
    EXPECT_EQ(current, loaded);
    SInt32 mode = 0;
    EXPECT_EQ(PMTicketGetSInt32(current, kPMTopLevel, kPMTopLevel, CFSTR("mode"), &mode), noErr);
    EXPECT_EQ(mode, 3);
    PMRelease(next);
    EXPECT_EQ(PMTicketConfirmTicket(loaded), kPMInvalidTicket);
}

TEST(Session, PrintersWithoutPPDOrURIAndBadDescriptions) {
    PMHostPrinterDescription d = {CFSTR("Plain"), nullptr, nullptr, nullptr, nullptr, false};
    PMPrinter p = nullptr;
    ASSERT_EQ(PMHostCreatePrinter(&d, &p), noErr);
    EXPECT_EQ(UTF8(PMPrinterGetID(p)), "Plain");
    CFURLRef url = nullptr;
    EXPECT_EQ(PMPrinterCopyDescriptionURL(p, kPMPPDDescriptionType, &url), kPMNoSuchEntry);
    EXPECT_EQ(PMPrinterCopyDeviceURI(p, &url), kPMNoSuchEntry);
    PMPrintSession s = nullptr;
    ASSERT_EQ(PMHostCreateSession(p, &s), noErr);
    PMTicketRef info = nullptr;
    PMSessionGetTicketFromSession(s, kPDE_PMPrinterInfoRef, &info);
    EXPECT_FALSE(PMTicketContainsItem(info, kPMTopLevel, kPMTopLevel, kPMCompiledPPDKey));
    PMRelease(p); // the session keeps its current printer alive
    PMPrinter current = nullptr;
    EXPECT_EQ(PMSessionGetCurrentPrinter(s, &current), noErr);
    EXPECT_EQ(UTF8(PMPrinterGetName(current)), "Plain");
    PMRelease(s);

    PMHostPrinterDescription noName = {nullptr, nullptr, nullptr, nullptr, nullptr, false};
    EXPECT_EQ(PMHostCreatePrinter(&noName, &p), kPMInvalidParameter);
    PMHostPrinterDescription badURI = {CFSTR("X"),         nullptr, nullptr,
                                       CFSTR("not a uri"), nullptr, false};
    EXPECT_EQ(PMHostCreatePrinter(&badURI, &p), kPMInvalidParameter);
    EXPECT_EQ(p, nullptr);
}

TEST(Session, StaleAndForeignObjectsAreAnsweredNotTouched) {
    PMPrintSession s = nullptr;
    ASSERT_EQ(PMCreateSession(&s), noErr);
    PMPrinter none = nullptr;
    EXPECT_EQ(PMSessionGetCurrentPrinter(s, &none), kPMInvalidPrinter);
    EXPECT_EQ(PMSessionSetCurrentPMPrinter(s, reinterpret_cast<PMPrinter>(s)), kPMInvalidPrinter);
    EXPECT_EQ(PMRelease(s), noErr);
    CFTypeRef data = nullptr;
    EXPECT_EQ(PMSessionGetDataFromSession(s, kPDE_PMPrintSettingsRef, &data),
              kPMInvalidPrintSession);
    EXPECT_EQ(PMRelease(s), kPMInvalidParameter);
    int local = 0;
    EXPECT_EQ(PMRetain(&local), kPMInvalidParameter);
    EXPECT_EQ(PMRelease(nullptr), kPMInvalidParameter);
    EXPECT_EQ(PMPrinterGetName(reinterpret_cast<PMPrinter>(&local)), nullptr);
}

} // namespace
