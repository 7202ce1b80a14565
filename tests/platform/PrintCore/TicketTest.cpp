#include "PrintCoreTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

const CFStringRef kPane = CFSTR("com.example.pane");
const CFStringRef kOther = CFSTR("com.example.other");
const CFStringRef kMode = CFSTR("com.example.pane.ColorMode");

// A fresh print settings ticket, released at scope exit.
struct TicketTest : ::testing::Test {
    PMTicketRef ticket = nullptr;
    void SetUp() override {
        ASSERT_EQ(PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket), noErr);
    }
    void TearDown() override {
        if (ticket)
            PMTicketRelease(ticket);
    }
    SInt32 Mode() {
        SInt32 v = -1;
        EXPECT_EQ(PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kMode, &v), noErr);
        return v;
    }
};

TEST_F(TicketTest, LockedItemsAnswerOnlyToTheirClient) {
    EXPECT_EQ(PMTicketSetSInt32(ticket, kPane, kMode, 2, kPMLocked), noErr);
    EXPECT_EQ(PMTicketSetSInt32(ticket, kOther, kMode, 3, kPMUnlocked), kPMItemIsLocked);
    EXPECT_EQ(PMTicketSetSInt32(ticket, kPane, kMode, 3, kPMUnlocked), kPMItemIsLocked);
    EXPECT_EQ(PMTicketReleaseItem(ticket, kMode), kPMItemIsLocked);
    EXPECT_EQ(PMTicketDeleteItem(ticket, kPane, kMode), kPMItemIsLocked);
    EXPECT_EQ(Mode(), 2);
    Boolean locked = false;
    EXPECT_EQ(PMTicketIsItemLocked(ticket, kMode, &locked), noErr);
    EXPECT_TRUE(locked);
    EXPECT_EQ(PMTicketUnlockItem(ticket, kOther, kMode), kPMItemIsLocked);
    EXPECT_EQ(PMTicketUnlockItem(ticket, kPane, kMode), noErr);
    EXPECT_EQ(PMTicketSetSInt32(ticket, kOther, kMode, 3, kPMUnlocked), noErr);
    EXPECT_EQ(Mode(), 3);
    EXPECT_EQ(PMTicketLockItem(ticket, kOther, kMode), noErr); // kOther now holds the lock
    EXPECT_EQ(PMTicketUnlockItem(ticket, kPane, kMode), kPMItemIsLocked);
    EXPECT_EQ(PMTicketUnlockItem(ticket, kOther, kMode), noErr);
    EXPECT_EQ(PMTicketReleaseItem(ticket, kMode), noErr);
    EXPECT_FALSE(PMTicketContainsItem(ticket, kPMTopLevel, kPMTopLevel, kMode));
    EXPECT_EQ(PMTicketReleaseItem(ticket, kMode), kPMKeyNotFound);
    EXPECT_EQ(PMTicketIsItemLocked(ticket, kMode, &locked), kPMKeyNotFound);
}

TEST_F(TicketTest, GettersCheckTypesAndConversions) {
    PMTicketSetDouble(ticket, kPane, CFSTR("half"), 1.5, kPMUnlocked);
    PMTicketSetSInt32(ticket, kPane, CFSTR("minus"), -7, kPMUnlocked);
    PMTicketSetCString(ticket, kPane, CFSTR("text"), "Grüße", kPMUnlocked);
    PMTicketSetBoolean(ticket, kPane, CFSTR("flag"), true, kPMUnlocked);
    const UInt8 bytes[] = {1, 2, 3};
    PMTicketSetBytes(ticket, kPane, CFSTR("bytes"), bytes, 3, kPMUnlocked);
    SInt32 i = 0;
    UInt32 u = 0;
    double d = 0;
    Boolean b = false;
    EXPECT_EQ(PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, CFSTR("half"), &i),
              kPMInvalidValue);
    EXPECT_EQ(PMTicketGetDouble(ticket, kPMTopLevel, kPMTopLevel, CFSTR("minus"), &d), noErr);
    EXPECT_EQ(d, -7.0);
    EXPECT_EQ(PMTicketGetUInt32(ticket, kPMTopLevel, kPMTopLevel, CFSTR("minus"), &u),
              kPMInvalidValue);
    EXPECT_EQ(PMTicketGetBoolean(ticket, kPMTopLevel, kPMTopLevel, CFSTR("flag"), &b), noErr);
    EXPECT_TRUE(b);
    CFStringRef s = nullptr;
    EXPECT_EQ(PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("minus"), &s),
              kPMInvalidType);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("text"), &s), noErr);
    EXPECT_EQ(UTF8(s), "Grüße");
    char small[4], roomy[16];
    EXPECT_EQ(PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("text"), sizeof small,
                                 kCFStringEncodingUTF8, small),
              kPMStringConversionFailure);
    EXPECT_EQ(PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("text"), sizeof roomy,
                                 kCFStringEncodingMacRoman, roomy),
              noErr);
    EXPECT_STREQ(roomy, "Gr\x9F\xA7"
                        "e");
    CFDataRef data = nullptr;
    EXPECT_EQ(PMTicketGetCFData(ticket, kPMTopLevel, kPMTopLevel, CFSTR("bytes"), &data), noErr);
    EXPECT_EQ(CFDataGetLength(data), 3);
    EXPECT_EQ(PMTicketGetItem(ticket, 1, kPMTopLevel, CFSTR("text"), nullptr), kPMInvalidIndex);
    EXPECT_EQ(PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, nullptr, nullptr), kPMInvalidKey);
    EXPECT_EQ(PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, CFSTR("text"), kPMDontFetchItem),
              noErr);
    EXPECT_EQ(PMTicketGetItem(ticket, kPMTopLevel, kPMTopLevel, CFSTR("none"), kPMDontFetchItem),
              kPMKeyNotFound);
}

TEST_F(TicketTest, SettingChecksItsArgumentsAndCopiesValues) {
    Owned<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(dict, CFSTR("k"), CFSTR("before"));
    EXPECT_EQ(PMTicketSetCFDictionary(ticket, kPane, CFSTR("dict"), dict, kPMUnlocked), noErr);
    CFDictionarySetValue(dict, CFSTR("k"), CFSTR("after"));
    CFDictionaryRef stored = nullptr;
    EXPECT_EQ(PMTicketGetCFDictionary(ticket, kPMTopLevel, kPMTopLevel, CFSTR("dict"), &stored),
              noErr);
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(stored, CFSTR("k")), CFSTR("before")));

    Owned<CFURLRef> url(CFURLCreateWithString(nullptr, CFSTR("ipp://h/q"), nullptr));
    EXPECT_EQ(PMTicketSetItem(ticket, kPane, CFSTR("url"), url, kPMUnlocked), kPMUnknownDataType);
    EXPECT_EQ(PMTicketSetCFString(ticket, kPane, CFSTR("str"), nullptr, kPMUnlocked),
              kPMInvalidItem);
    EXPECT_EQ(PMTicketSetCFString(ticket, kPane, CFSTR("str"),
                                  reinterpret_cast<CFStringRef>(kCFBooleanTrue), kPMUnlocked),
              kPMInvalidType);
    EXPECT_EQ(PMTicketSetSInt32(ticket, nullptr, CFSTR("n"), 1, kPMUnlocked), kPMInvalidParameter);
    EXPECT_EQ(PMTicketSetSInt32(ticket, kPane, CFSTR(""), 1, kPMUnlocked), kPMInvalidKey);
    EXPECT_EQ(
        PMTicketSetSInt32(ticket, kPane, CFSTR("com.apple.print.ticket.type"), 1, kPMUnlocked),
        kPMInvalidKey);
}

TEST_F(TicketTest, ALockedTicketRefusesEveryChange) {
    PMTicketSetSInt32(ticket, kPane, kMode, 1, kPMUnlocked);
    EXPECT_EQ(PMHostSetTicketLocked(ticket, true), noErr);
    Boolean locked = false;
    EXPECT_EQ(PMTicketGetLockedState(ticket, &locked), noErr);
    EXPECT_TRUE(locked);
    EXPECT_EQ(PMTicketSetSInt32(ticket, kPane, kMode, 2, kPMUnlocked), kPMTicketIsLocked);
    EXPECT_EQ(PMTicketReleaseItem(ticket, kMode), kPMTicketIsLocked);
    EXPECT_EQ(Mode(), 1);
}

TEST(Ticket, ReferencesAreCheckedNumbers) {
    PMTicketRef t = nullptr;
    ASSERT_EQ(PMTicketCreate(nullptr, kPMPrinterInfoTicket, &t), noErr);
    EXPECT_LT(reinterpret_cast<uintptr_t>(t), uintptr_t(1) << 31); // fits session data
    EXPECT_EQ(PMTicketRetain(t), noErr);
    CFIndex count = 0;
    EXPECT_EQ(PMTicketGetRetainCount(t, &count), noErr);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(PMTicketRelease(t), noErr);
    PMTicketRef copy = t;
    EXPECT_EQ(PMTicketReleaseAndClear(&copy), noErr);
    EXPECT_EQ(copy, nullptr);
    for (PMTicketRef bad : {t, PMTicketRef(nullptr), reinterpret_cast<PMTicketRef>(0x1234)}) {
        EXPECT_EQ(PMTicketConfirmTicket(bad), kPMInvalidTicket);
        EXPECT_EQ(PMTicketSetSInt32(bad, kPane, kMode, 1, kPMUnlocked), kPMInvalidTicket);
        EXPECT_EQ(PMTicketGetItem(bad, kPMTopLevel, kPMTopLevel, kMode, nullptr), kPMInvalidTicket);
        EXPECT_EQ(PMTicketRelease(bad), kPMInvalidTicket);
    }
    EXPECT_EQ(PMTicketCreate(nullptr, nullptr, &t), kPMInvalidParameter);
}

TEST_F(TicketTest, SubTicketsCannotFormACycle) {
    PMTicketRef paper = nullptr;
    ASSERT_EQ(PMTicketCreate(nullptr, kPMPaperInfoTicket, &paper), noErr);
    EXPECT_EQ(PMTicketSetTicket(ticket, paper, 3), noErr);
    EXPECT_EQ(PMTicketSetTicket(paper, ticket, 0), kPMInvalidSubTicket);
    EXPECT_EQ(PMTicketSetTicket(ticket, ticket, 0), kPMInvalidSubTicket);
    PMTicketRef found = nullptr;
    EXPECT_EQ(PMTicketGetTicket(ticket, kPMPaperInfoTicket, 3, &found), noErr);
    EXPECT_EQ(found, paper);
    EXPECT_EQ(PMTicketGetTicket(ticket, kPMPaperInfoTicket, 4, &found), kPMSubTicketNotFound);
    Boolean exists = true;
    EXPECT_EQ(PMTicketContainsTicket(ticket, kPMPaperInfoTicket, 4, &exists), noErr);
    EXPECT_FALSE(exists);
    PMTicketRelease(paper); // the parent's reference keeps it alive
    EXPECT_EQ(PMTicketConfirmTicket(paper), noErr);
    EXPECT_EQ(PMTicketRemoveTicket(ticket, kPMPaperInfoTicket, 3), noErr);
    EXPECT_EQ(PMTicketConfirmTicket(paper), kPMInvalidTicket);
}

TEST_F(TicketTest, CopiesAreDeepAndIndependent) {
    PMTicketSetSInt32(ticket, kPane, kMode, 1, kPMLocked);
    PMTicketRef paper = nullptr;
    PMTicketCreate(nullptr, kPMPaperInfoTicket, &paper);
    PMTicketSetTicket(ticket, paper, 0);
    PMTicketRelease(paper);
    PMTicketRef copy = nullptr;
    ASSERT_EQ(PMTicketCopy(nullptr, ticket, &copy), noErr);
    PMTicketRef copiedPaper = nullptr;
    EXPECT_EQ(PMTicketGetTicket(copy, kPMPaperInfoTicket, 0, &copiedPaper), noErr);
    EXPECT_NE(copiedPaper, paper);
    EXPECT_EQ(PMTicketUnlockItem(copy, kPane, kMode), noErr);
    EXPECT_EQ(PMTicketSetSInt32(copy, kPane, kMode, 5, kPMUnlocked), noErr);
    EXPECT_EQ(Mode(), 1);
    EXPECT_EQ(PMTicketCopyItem(copy, ticket, kOther, CFSTR("absent"), kPMUnlocked), kPMKeyNotFound);
    PMTicketRelease(copy);
}

// The ticket XML form of a single item, for hand-made variants.
std::string TicketXML(const std::string& itemBody, const std::string& extra = "") {
    return "<plist><dict><key>com.apple.print.ticket.type</key><string>T</string>"
           "<key>k</key><dict><key>com.apple.print.ticket.itemArray</key><array><dict>" +
           itemBody + "</dict></array></dict>" + extra + "</dict></plist>";
}

OSStatus Load(const std::string& xml, PMTicketRef* t, std::string* reason) {
    Owned<CFDataRef> data(
        CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(xml.data()), CFIndex(xml.size())));
    CFStringRef error = nullptr;
    OSStatus status = PMXMLToTicket(nullptr, data, t, &error);
    *reason = error ? UTF8(error) : "";
    if (error)
        CFRelease(error);
    return status;
}

TEST(TicketXML, SaveAndLoadThroughAFileKeepEverything) {
    Scratch dir;
    PMTicketRef t = nullptr, paper = nullptr;
    PMTicketCreate(nullptr, kPMPrintSettingsTicket, &t);
    PMTicketSetSInt32(t, kPane, kMode, 2, kPMLocked);
    PMTicketSetCString(t, kOther, CFSTR("path"), "/tmp/Tarvo.temp", kPMUnlocked);
    const UInt8 archive[] = {0, 0xFF, 0x10};
    PMTicketSetBytes(t, kPane, CFSTR("archive"), archive, 3, kPMUnlocked);
    PMTicketSetBoolean(t, kPane, CFSTR("flag"), false, kPMUnlocked);
    PMTicketCreate(nullptr, kPMPaperInfoTicket, &paper);
    PMTicketSetDouble(paper, kPane, CFSTR("width"), 595.5, kPMUnlocked);
    PMTicketSetTicket(t, paper, 7);
    PMTicketRelease(paper);
    std::string path = dir / "settings.plist";
    ASSERT_EQ(PMTicketWriteXMLToFile(t, path.c_str()), noErr);
    PMTicketRelease(t);

    PMTicketRef back = nullptr;
    CFStringRef error = nullptr;
    ASSERT_EQ(PMTicketReadXMLFromFile(nullptr, path.c_str(), &back, &error), noErr);
    EXPECT_EQ(error, nullptr);
    CFStringRef type = nullptr;
    PMTicketGetType(back, &type);
    EXPECT_TRUE(CFEqual(type, kPMPrintSettingsTicket));
    SInt32 mode = 0;
    EXPECT_EQ(PMTicketGetSInt32(back, kPMTopLevel, kPMTopLevel, kMode, &mode), noErr);
    EXPECT_EQ(mode, 2);
    Boolean locked = false;
    PMTicketIsItemLocked(back, kMode, &locked);
    EXPECT_TRUE(locked);
    EXPECT_EQ(PMTicketUnlockItem(back, kOther, kMode), kPMItemIsLocked); // client came back
    char text[64];
    PMTicketGetCString(back, kPMTopLevel, kPMTopLevel, CFSTR("path"), sizeof text,
                       kCFStringEncodingUTF8, text);
    EXPECT_STREQ(text, "/tmp/Tarvo.temp");
    CFDataRef data = nullptr;
    PMTicketGetCFData(back, kPMTopLevel, kPMTopLevel, CFSTR("archive"), &data);
    ASSERT_EQ(CFDataGetLength(data), 3);
    EXPECT_EQ(CFDataGetBytePtr(data)[1], 0xFF);
    Boolean flag = true;
    EXPECT_EQ(PMTicketGetBoolean(back, kPMTopLevel, kPMTopLevel, CFSTR("flag"), &flag), noErr);
    EXPECT_FALSE(flag);
    PMTicketRef backPaper = nullptr;
    ASSERT_EQ(PMTicketGetTicket(back, kPMPaperInfoTicket, 7, &backPaper), noErr);
    double width = 0;
    EXPECT_EQ(PMTicketGetDouble(backPaper, kPMTopLevel, kPMTopLevel, CFSTR("width"), &width),
              noErr);
    EXPECT_EQ(width, 595.5);
    PMTicketRelease(back);
}

TEST(TicketXML, ItemsAreWrittenInThePlatformLayout) {
    PMTicketRef t = nullptr;
    PMTicketCreate(nullptr, kPMPrintSettingsTicket, &t);
    PMTicketSetSInt32(t, kPane, kMode, 2, kPMLocked);
    CFDataRef xml = nullptr;
    ASSERT_EQ(PMTicketToXML(t, &xml), noErr);
    std::string text(reinterpret_cast<const char*>(CFDataGetBytePtr(xml)),
                     size_t(CFDataGetLength(xml)));
    CFRelease(xml);
    PMTicketRelease(t);
    EXPECT_NE(
        text.find("\t<key>com.example.pane.ColorMode</key>\n\t<dict>\n"
                  "\t\t<key>com.apple.print.ticket.creator</key>\n"
                  "\t\t<string>com.example.pane</string>\n"
                  "\t\t<key>com.apple.print.ticket.itemArray</key>\n\t\t<array>\n\t\t\t<dict>\n"
                  "\t\t\t\t<key>com.example.pane.ColorMode</key>\n"
                  "\t\t\t\t<integer>2</integer>\n"
                  "\t\t\t\t<key>com.apple.print.ticket.client</key>\n"
                  "\t\t\t\t<string>com.example.pane</string>\n"
                  "\t\t\t\t<key>com.apple.print.ticket.stateFlag</key>\n"
                  "\t\t\t\t<integer>1</integer>\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("<key>com.apple.print.ticket.type</key>\n"
                        "\t<string>com.apple.print.PrintSettingsTicket</string>"),
              std::string::npos);
}

TEST(TicketXML, DocumentsThatAreNoTicketAreRefused) {
    const std::string client = "<key>com.apple.print.ticket.client</key><string>c</string>";
    const std::string value = "<key>k</key><integer>1</integer>";
    const std::string cases[] = {
        "garbage",
        "<plist><array/></plist>",
        "<plist><dict><key>k</key><string>v</string></dict></plist>", // no type
        TicketXML(client),                                            // entry without a value
        TicketXML(value),                                             // and without a client
        TicketXML(value + client +
                  "<key>com.apple.print.ticket.stateFlag</key><integer>2"
                  "</integer>"),
        TicketXML(value + client, "<key>com.apple.print.ticket.subTickets</key><array><dict>"
                                  "<key>com.apple.print.ticket.index</key><integer>-1</integer>"
                                  "</dict></array>"),
        TicketXML(value + client, "<key>com.apple.print.ticket.privateLock</key><string>no"
                                  "</string>"),
        TicketXML("<key>k</key><date>2002-01-01T00:00:00Z</date>" + client,
                  "<key>com.apple.print.ticket.subTickets</key><string/>"),
    };
    for (const std::string& xml : cases) {
        PMTicketRef t = reinterpret_cast<PMTicketRef>(1);
        std::string reason;
        EXPECT_EQ(Load(xml, &t, &reason), kPMXMLParseError) << xml;
        EXPECT_EQ(t, nullptr);
        EXPECT_FALSE(reason.empty()) << xml;
    }
    PMTicketRef t = nullptr;
    std::string reason;
    ASSERT_EQ(Load(TicketXML(value + client), &t, &reason), noErr) << reason;
    PMTicketRelease(t);
}

TEST(TicketXML, FileFailuresHaveTheirStatuses) {
    Scratch dir;
    PMTicketRef t = nullptr;
    EXPECT_EQ(PMTicketReadXMLFromFile(nullptr, (dir / "missing").c_str(), &t, nullptr),
              kPMOpenFailed);
    PMTicketCreate(nullptr, kPMPrintSettingsTicket, &t);
    EXPECT_EQ(PMTicketWriteXMLToFile(t, (dir / "no/such/folder").c_str()), kPMWriteFailed);
    std::ofstream(dir / "target") << "keep";
    ASSERT_EQ(symlink((dir / "target").c_str(), (dir / "link").c_str()), 0);
    EXPECT_EQ(PMTicketWriteXMLToFile(t, (dir / "link").c_str()), kPMWriteFailed);
    std::ifstream in(dir / "target");
    std::string kept;
    in >> kept;
    EXPECT_EQ(kept, "keep");
    EXPECT_EQ(PMTicketWriteXMLToFile(t, nullptr), kPMInvalidParameter);
    PMTicketRelease(t);
}

} // namespace
