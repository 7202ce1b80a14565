// Ticket wrappers: typed items, the session's two tickets and the printer information getters.
#include "PDETestSupport.h"

#include "JobTicketUtilities.h"
#include "PrintSettingsTicket.h"
#include "PrinterInfoTicket.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

#define INFO(name) CFSTR("com.apple.print.PrinterInfo." name)

CFNumberRef Number(SInt64 value) {
    return CFNumberCreate(nullptr, kCFNumberSInt64Type, &value);
}

TEST(JobTicketTest, StatusesOfTheItemCalls) {
    JobTicket ticket(kPMPrintSettingsTicket);
    ASSERT_TRUE(ticket.Valid());
    EXPECT_EQ(ticket.Set(GetBundleID(), CFSTR("int"), -9L, true), noErr);
    long number = 0;
    EXPECT_EQ(ticket.GetInt(CFSTR("int"), number), noErr);
    EXPECT_EQ(number, -9);
    // A long beyond 32 bits is refused rather than cut; another type clears the out value.
    EXPECT_EQ(ticket.Set(GetBundleID(), CFSTR("wide"), long(INT32_MAX) + 1, false), paramErr);
    EXPECT_EQ(ticket.LastStatus(), paramErr);
    CFDataRef data = reinterpret_cast<CFDataRef>(1);
    EXPECT_EQ(ticket.Get(CFSTR("int"), data), kPMInvalidType);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(ticket.Release(CFSTR("int")), kPMItemIsLocked);
    EXPECT_EQ(ticket.Get(CFSTR("int"), number), kPMInvalidPrintSettings); // no session data
    // Without a ticket every operation answers -30891 and does nothing.
    PrintSettingsTicket none(nullptr);
    EXPECT_FALSE(none.Valid() || JobTicket(static_cast<PMPrintSession>(nullptr)).Valid());
    EXPECT_EQ(none.Get(CFSTR("k"), number), kPMInvalidTicket);
    EXPECT_EQ(none.Set(GetBundleID(), CFSTR("k"), CFSTR("v"), false), kPMInvalidTicket);
    EXPECT_EQ(none.Release(CFSTR("k")), kPMInvalidTicket);
}

TEST(JobTicketTest, SessionTicketsAndSessionData) {
    TestSession session(ExamplePPD("Tarvo-C5000.ppd"));
    JobTicket fromSession(session.Get());
    PrintSettingsTicket settings(session);
    ASSERT_TRUE(settings.Valid());
    EXPECT_EQ(fromSession.Ticket(), settings.Ticket());
    CFStringRef type = nullptr;
    ASSERT_EQ(PMTicketGetType(settings.Ticket(), &type), noErr);
    EXPECT_EQ(UTF8(type), UTF8(kPMPrintSettingsTicket));

    // Session data read as a 32-bit number: 0, other types and missing items are refused.
    Owned<CFNumberRef> seven(Number(7)), zero(Number(0)), huge(Number(INT64_C(1) << 40));
    PMSessionSetDataInSession(session, CFSTR("seven"), seven);
    PMSessionSetDataInSession(session, CFSTR("zero"), zero);
    PMSessionSetDataInSession(session, CFSTR("huge"), huge);
    PMSessionSetDataInSession(session, CFSTR("text"), CFSTR("7"));
    long value = 0;
    EXPECT_EQ(settings.Get(CFSTR("seven"), value), noErr);
    EXPECT_EQ(value, 7);
    for (const char* key : {"zero", "huge", "text", "missing"}) {
        EXPECT_EQ(settings.Get(Owned<CFStringRef>(Str(key)), value), kPMInvalidPrintSettings);
        EXPECT_EQ(value, 0) << key;
    }

    // MyGetTicket turns the designating number into the ticket; other data is no ticket, and a
    // made-up number is answered by the ticket calls, never followed.
    PMTicketRef ticket = nullptr;
    EXPECT_EQ(MyGetTicket(session, kPDE_PMPrintSettingsRef, &ticket), noErr);
    EXPECT_EQ(ticket, settings.Ticket());
    EXPECT_EQ(MyGetTicket(session, CFSTR("text"), &ticket), kPMInvalidValue);
    EXPECT_EQ(ticket, nullptr);
    EXPECT_EQ(MyGetTicket(session, CFSTR("huge"), &ticket), kPMInvalidValue);
    EXPECT_EQ(MyGetTicket(session, CFSTR("missing"), &ticket), kPMKeyNotFound);
    EXPECT_EQ(MyGetTicket(session, CFSTR("seven"), nullptr), paramErr);
    EXPECT_EQ(MyGetTicket(session, CFSTR("seven"), &ticket), noErr);
    EXPECT_EQ(PMTicketConfirmTicket(ticket), kPMInvalidTicket);
}

// A printer information ticket with every item the getters read, in place of the session's.
void InstallFullPrinterInfo(PMPrintSession session) {
    PMTicketRef info = nullptr;
    ASSERT_EQ(PMTicketCreate(nullptr, kPMPrinterInfoTicket, &info), noErr);
    CFStringRef c = CFSTR("com.example.test");
    PMTicketSetCFString(info, c, INFO("PMPrinterLongName"), CFSTR("Tarvo C5000 Color Server"), 1);
    PMTicketSetCFString(info, c, INFO("PMMakeAndModelName"), CFSTR("Tarvo C5000"), 1);
    PMTicketSetCFString(info, c, INFO("PMPrinterAddress"), CFSTR("10.0.0.5"), 1);
    PMTicketSetBoolean(info, c, INFO("PMSupportsColor"), true, 1);
    PMTicketSetBoolean(info, c, INFO("PMDoesCopies"), true, 1);
    PMTicketSetBoolean(info, c, INFO("PMDoesCopyCollate"), false, 1);
    PMTicketSetCFString(info, c, INFO("PMDoesReverseOrder"), CFSTR("true"), 1);
    const void* types[] = {CFSTR("application/postscript")};
    Owned<CFArrayRef> list(CFArrayCreate(nullptr, types, 1, &kCFTypeArrayCallBacks));
    PMTicketSetCFArray(info, c, INFO("PMInputFileTypeList"), list, 1);
    PMTicketSetCFString(info, c, INFO("PMOutputTypeList"), CFSTR("ps"), 1);
    PMTicketSetSInt32(info, c, INFO("PMPSTTRasterizer"), 2, 1);
    PMTicketSetSInt32(info, c, INFO("PMTotalMemInstalled"), 524288, 1);
    PMTicketSetCFString(info, c, INFO("PMDescriptionFile"), CFSTR("/ppd/Tarvo-C5000.ppd"), 1);
    PMTicketSetCFString(info, c, INFO("PMColorDeviceID"), CFSTR("D1D2"), 1);
    PMTicketSetSInt32(info, c, INFO("PMPostScriptLevel"), 3, 1);
    PMTicketSetCFString(info, c, INFO("PMPSVersion"), CFSTR("(3011.104)"), 1);
    PMTicketSetCFNumber(info, c, INFO("PMPSRevision"), Owned<CFNumberRef>(Number(1LL << 40)), 1);
    ASSERT_EQ(PMHostSetSessionTicket(session, kPDE_PMPrinterInfoRef, info), noErr);
    PMTicketRelease(info);
}

TEST(PrinterInfoTicketTest, EveryGetter) {
    TestSession session(ExamplePPD("Tarvo-C5000.ppd"));
    InstallFullPrinterInfo(session);
    PrinterInfoTicket info(session);
    ASSERT_TRUE(info.Valid());
    EXPECT_EQ(UTF8(info.GetFullPrinterTypeName()), "Tarvo C5000 Color Server");
    EXPECT_EQ(UTF8(info.GetPrinterMakeAndModel()), "Tarvo C5000");
    EXPECT_EQ(UTF8(info.GetPrinterAddress()), "10.0.0.5");
    EXPECT_TRUE(info.SupportColor());
    EXPECT_TRUE(info.SupportCopies());
    EXPECT_FALSE(info.SupportCopiesAndCollate());
    EXPECT_FALSE(info.SupportReversePrintingOrder()); // a string "true" is no true boolean
    ASSERT_EQ(CFGetTypeID(info.InputFileList()), CFArrayGetTypeID());
    EXPECT_EQ(UTF8(static_cast<CFStringRef>(info.OutputTypeList())), "ps");
    EXPECT_EQ(info.TrueTypeFontRasterizer(), 2);
    EXPECT_EQ(info.MemoryInstalled(), 524288);
    EXPECT_EQ(UTF8(info.PPDFile()), "/ppd/Tarvo-C5000.ppd");
    EXPECT_EQ(UTF8(info.GetColorDeviceUUID()), "D1D2");
    CString name, model, address, path, uuid;
    EXPECT_TRUE(info.GetFullPrinterTypeName(name) && info.GetPrinterMakeAndModel(model) &&
                info.GetPrinterAddress(address) && info.PPDFile(path) &&
                info.GetColorDeviceUUID(uuid));
    EXPECT_STREQ(name, "Tarvo C5000 Color Server");
    EXPECT_STREQ(model, "Tarvo C5000");
    EXPECT_STREQ(address, "10.0.0.5");
    EXPECT_STREQ(path, "/ppd/Tarvo-C5000.ppd");
    EXPECT_STREQ(uuid, "D1D2");

    CFNumberRef level = nullptr, revision = nullptr;
    CFStringRef version = nullptr;
    EXPECT_TRUE(info.PostscriptVersion(&level, &version, &revision));
    SInt32 n = 0;
    EXPECT_TRUE(CFNumberGetValue(level, kCFNumberSInt32Type, &n) && n == 3);
    EXPECT_EQ(UTF8(version), "(3011.104)");
    EXPECT_NE(revision, nullptr);
    long levelValue = 0, revisionValue = 0;
    CString versionText;
    EXPECT_TRUE(info.PostscriptVersion(&levelValue, &versionText, &revisionValue));
    EXPECT_EQ(levelValue, 3);
    EXPECT_STREQ(versionText, "(3011.104)");
    EXPECT_EQ(revisionValue, -1); // too wide for 32 bits
    // Only the version asked for: level and revision stay as they were.
    levelValue = 11, revisionValue = 12;
    EXPECT_TRUE(info.PostscriptVersion(nullptr, &versionText, nullptr));
    EXPECT_EQ(levelValue, 11);
    EXPECT_EQ(revisionValue, 12);
    EXPECT_FALSE(info.PostscriptVersion(nullptr, nullptr, &revisionValue));
}

TEST(PrinterInfoTicketTest, MissingItemsGiveNothing) {
    TestSession session(""); // the print system fills name, colour and model only
    PrinterInfoTicket info(session);
    ASSERT_TRUE(info.Valid());
    EXPECT_EQ(UTF8(info.GetFullPrinterTypeName()), "Tarvo C5000");
    EXPECT_EQ(info.GetPrinterAddress(), nullptr);
    EXPECT_FALSE(info.SupportCopies());
    EXPECT_EQ(info.InputFileList(), nullptr);
    EXPECT_EQ(info.MemoryInstalled(), 0);
    // The first string forms leave their argument alone; the last two empty it.
    CString text("kept"), path("old"), uuid("old");
    EXPECT_FALSE(info.GetPrinterAddress(text) || info.PPDFile(path) ||
                 info.GetColorDeviceUUID(uuid));
    EXPECT_STREQ(text, "kept");
    EXPECT_STREQ(path, "");
    EXPECT_STREQ(uuid, "");
    CFNumberRef level = reinterpret_cast<CFNumberRef>(1);
    CFStringRef version = reinterpret_cast<CFStringRef>(1);
    EXPECT_FALSE(info.PostscriptVersion(&level, &version, nullptr));
    EXPECT_EQ(level, nullptr);
    EXPECT_EQ(version, nullptr);
    long levelValue = 9;
    EXPECT_FALSE(info.PostscriptVersion(&levelValue, nullptr, nullptr));
    EXPECT_EQ(levelValue, 9);
    EXPECT_EQ(PrinterInfoTicket(nullptr).GetPrinterAddress(), nullptr);
}

} // namespace
