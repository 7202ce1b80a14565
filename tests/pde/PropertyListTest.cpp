// Property-list files: the generic reader and writer, the bundle's printer list and the
// user's print server addresses.
#include "PDETestSupport.h"

#include "PrinterListFile.h"
#include "PropertyListFile.h"
#include "QRVTovranePrinterPList.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

const char* const kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">";

std::string Plist(const std::string& body) {
    return kHeader + body + "</plist>";
}

// A home folder of its own for every test, so that the user's real preferences stay alone.
class PreferencesTest : public testing::Test {
protected:
    std::string PreferencesFile() const {
        return mHomeFolder / "Library/Preferences/QRV.TovranePrinter.plist";
    }
    void WritePreferences(const std::string& text) const {
        mHomeFolder.Write("Library/Preferences/QRV.TovranePrinter.plist", text);
    }

    Scratch mHomeFolder;
    ScopedEnv mHome{"HOME", mHomeFolder.path};
};

TEST(PropertyListFileTest, ReadsWhatItCanAndSaysWhy) {
    Scratch dir;
    dir.Write("a.plist", Plist("<array><integer>7</integer><string>x</string></array>"));
    dir.Write("bad.plist", Plist("<array><integer>7</integer>"));
    dir.Write("dict.plist", Plist("<dict/>"));
    Owned<CFURLRef> folder(FileURL(dir.path, true));
    const std::tuple<const char*, bool, bool, SInt32> cases[] = {
        // file, root read, root an array, last error
        {"a.plist", true, true, 0},
        {"dict.plist", true, false, 0},
        {"none.plist", false, false, kCFURLResourceNotFoundError},
        {"bad.plist", false, false, kCFPropertyListReadCorruptError}};
    for (const auto& [name, read, array, error] : cases) {
        PropertyListFile file(folder, Owned<CFStringRef>(Str(name)), false, 0);
        EXPECT_TRUE(file.Valid()) << name;
        EXPECT_EQ(file.Get() != nullptr, read) << name;
        EXPECT_EQ(file.GetAsArray() != nullptr, array) << name;
        EXPECT_EQ(file.LastError(), error) << name;
    }
    PropertyListFile noFolder(nullptr, CFSTR("a.plist"), false, kCFPropertyListImmutable);
    EXPECT_FALSE(noFolder.Valid());
    // What is no property list is not written, and the file stays as it was.
    PropertyListFile good(folder, CFSTR("a.plist"), false, 0);
    const void* bad[] = {folder.ref};
    EXPECT_FALSE(good.Save(Owned<CFArrayRef>(CFArrayCreate(nullptr, bad, 1, nullptr))));
    EXPECT_EQ(good.LastError(), -108);
    EXPECT_EQ(PlistLibDump(dir / "a.plist"), "array 2\n  int 7\n  str x\n");
    // Below $HOME, and nothing without HOME.
    ScopedEnv home("HOME", dir.path);
    EXPECT_EQ(CFArrayGetCount(PropertyListFile("/a.plist", false, 0).GetAsArray()), 2);
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_FALSE(PropertyListFile("/a.plist", false, 0).Valid());
}

TEST(PrinterListFileTest, NeedsAPCFileNameArray) {
    Scratch dir;
    Owned<CFURLRef> folder(FileURL(dir.path, true));
    {
        PrinterListFile none(folder, kCFPropertyListImmutable);
        EXPECT_FALSE(none.Valid());
        EXPECT_EQ(none.Get(), nullptr);
    }
    const std::pair<const char*, bool> cases[] = {
        {"<dict><key>PCFILENAME</key><array><string>A.PPD</string></array></dict>", true},
        {"<dict><key>OTHER</key><array><string>A.PPD</string></array></dict>", false},
        {"<dict><key>PCFILENAME</key><string>A.PPD</string></dict>", false},
        {"<array><string>PCFILENAME</string></array>", false},
        {"<dict><key>PCFILENAME</key><array>", false},
    };
    for (const auto& [body, valid] : cases) {
        dir.Write("PrinterList.plist", Plist(body));
        PrinterListFile list(folder, kCFPropertyListImmutable);
        EXPECT_EQ(list.Valid(), valid) << body;
        EXPECT_EQ(list.Get() != nullptr, valid) << body;
    }
}

TEST_F(PreferencesTest, NoFileGivesAnEmptyListThatSavesOneTriple) {
    QRVTovranePrinterPList list;
    ASSERT_TRUE(list.Valid());
    EXPECT_EQ(CFArrayGetCount(list.Printers()), 0);
    EXPECT_EQ(list.Find(CFSTR("Tarvo C5000")), nullptr);
    EXPECT_FALSE(list.getIPEnabled(CFSTR("Tarvo C5000")));

    ASSERT_TRUE(list.Add(CFSTR("Tarvo C5000"), CFSTR("10.1.2.3"), true));
    EXPECT_TRUE(list.Changed());
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(list.Changed());
    EXPECT_EQ(PlistLibDump(PreferencesFile()), "array 3\n  str Tarvo C5000\n  str 10.1.2.3\n"
                                               "  bool True\n");

    QRVTovranePrinterPList again;
    EXPECT_EQ(UTF8(again.Find(CFSTR("tarvo c5000"))), "10.1.2.3");
    EXPECT_TRUE(again.getIPEnabled(CFSTR("TARVO C5000")));
}

TEST_F(PreferencesTest, AddReplacesTheEntryOfAnyCase) {
    QRVTovranePrinterPList list;
    ASSERT_TRUE(list.Add(CFSTR("Office"), CFSTR("server-a"), false));
    ASSERT_TRUE(list.Add(CFSTR("Tarvo C5000"), CFSTR("10.1.2.3"), true));
    ASSERT_TRUE(list.Add(CFSTR("TARVO c5000"), CFSTR("server-b.example"), false));
    bool found = false;
    EXPECT_EQ(list.Exists(CFSTR("tarvo C5000"), found), 3);
    EXPECT_TRUE(found);
    ASSERT_TRUE(list.Save());
    EXPECT_EQ(PlistLibDump(PreferencesFile()),
              "array 6\n  str Office\n  str server-a\n  bool False\n"
              "  str Tarvo C5000\n  str server-b.example\n  bool False\n");
}

TEST_F(PreferencesTest, IPFlagOnlyForListedPrinters) {
    QRVTovranePrinterPList list;
    ASSERT_TRUE(list.Add(CFSTR("Office"), CFSTR("server-a"), false));
    ASSERT_TRUE(list.Save());
    EXPECT_FALSE(list.setIPEnabled(CFSTR("Elsewhere"), true));
    EXPECT_FALSE(list.Changed());
    EXPECT_EQ(CFArrayGetCount(list.Printers()), 3);
    EXPECT_TRUE(list.setIPEnabled(CFSTR("OFFICE"), true));
    EXPECT_TRUE(list.getIPEnabled(CFSTR("office")));
    EXPECT_TRUE(list.Changed());
    EXPECT_FALSE(list.Add(nullptr, CFSTR("x"), true));
    EXPECT_FALSE(list.Add(CFSTR("x"), nullptr, true));
}

TEST_F(PreferencesTest, MalformedFilesReadAsEmptyOrTrimmed) {
    for (const char* broken : {"not a plist at all", "<plist><array><string>a</string>",
                               "<plist version=\"1.0\"><dict/></plist>", ""}) {
        WritePreferences(broken);
        QRVTovranePrinterPList list;
        EXPECT_TRUE(list.Valid()) << broken;
        EXPECT_EQ(CFArrayGetCount(list.Printers()), 0) << broken;
    }
    // A triple of wrong types never matches and reads as absent; an incomplete triple at the
    // end is dropped so that new entries stay aligned.
    WritePreferences(Plist("<array><integer>1</integer><integer>2</integer><string>x</string>"
                           "<string>Office</string><integer>5</integer><string>yes</string>"
                           "<string>Lab</string><string>lab-server</string></array>"));
    QRVTovranePrinterPList list;
    EXPECT_EQ(CFArrayGetCount(list.Printers()), 6);
    EXPECT_EQ(list.Find(CFSTR("Lab")), nullptr);
    bool found = true;
    EXPECT_EQ(list.Exists(CFSTR("Office"), found), 3);
    EXPECT_TRUE(found);
    EXPECT_EQ(list.Find(CFSTR("Office")), nullptr);
    EXPECT_FALSE(list.getIPEnabled(CFSTR("Office")));
    ASSERT_TRUE(list.Add(CFSTR("Lab"), CFSTR("lab-2"), true));
    EXPECT_EQ(list.Exists(CFSTR("Lab"), found), 6);
    EXPECT_EQ(UTF8(list.Find(CFSTR("Lab"))), "lab-2");
}

// The platform writes its preferences in the binary form as often as in XML.
TEST_F(PreferencesTest, BinaryListsAreRead) {
    const unsigned char binary[] = {
        'b', 'p', 'l', 'i', 's', 't', '0', '0', 0xA3, 1, 2, 3,       // array of objects 1 to 3
        0x53, 'L', 'a', 'b',                                         // "Lab"
        0x5A, 'l', 'a', 'b', '-', 's', 'e', 'r', 'v', 'e', 'r', 0x09, // "lab-server", true
        8, 12, 16, 27,                                               // offsets
        0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 28};                                    // trailer
    WritePreferences(std::string(reinterpret_cast<const char*>(binary), sizeof binary));
    QRVTovranePrinterPList list;
    EXPECT_FALSE(list.KeepsOldFile());
    EXPECT_EQ(UTF8(list.Find(CFSTR("LAB"))), "lab-server");
    EXPECT_TRUE(list.getIPEnabled(CFSTR("lab")));
}

// A list that cannot be read, or that the reader trims, is never lost: the old file stays
// beside the new one, a second time under the next free name.
TEST_F(PreferencesTest, UnreadableFilesAreKeptBesideTheNewOne) {
    const std::string kept = PreferencesFile() + ".unreadable";
    const std::string broken[] = {"not a plist at all", Plist("<dict/>"),
                                  Plist("<array><string>Lab</string></array>"),
                                  Plist("<array><string>a</></array>")};
    for (size_t n = 0; n < std::size(broken); ++n) {
        WritePreferences(broken[n]);
        QRVTovranePrinterPList list;
        EXPECT_TRUE(list.KeepsOldFile()) << broken[n];
        ASSERT_TRUE(list.Add(CFSTR("Office"), CFSTR("server-a"), false));
        ASSERT_TRUE(list.Save()) << broken[n];
        EXPECT_EQ(ReadFile(n == 0 ? kept : kept + "-" + std::to_string(n + 1)), broken[n]);
        EXPECT_EQ(PlistLibDump(PreferencesFile()), "array 3\n  str Office\n  str server-a\n"
                                                   "  bool False\n");
    }
    // A list read whole is simply replaced.
    QRVTovranePrinterPList good;
    EXPECT_FALSE(good.KeepsOldFile());
    ASSERT_TRUE(good.Save());
    EXPECT_NE(access((kept + "-5").c_str(), F_OK), 0);
}

// A link the user made leads to the file that is saved; a link of anyone else's is refused.
TEST_F(PreferencesTest, SaveFollowsOnlyTheUsersOwnLinks) {
    Scratch elsewhere;
    elsewhere.Write("target.plist", Plist("<array><string>Lab</string><string>lab-server</string>"
                                          "<true/></array>"));
    mHomeFolder.Write("Library/Preferences/.keep", "");
    ASSERT_EQ(symlink((elsewhere / "target.plist").c_str(), PreferencesFile().c_str()), 0);
    {
        QRVTovranePrinterPList list;
        EXPECT_EQ(UTF8(list.Find(CFSTR("Lab"))), "lab-server");
        ASSERT_TRUE(list.Add(CFSTR("Office"), CFSTR("server-a"), false));
        ASSERT_TRUE(list.Save());
    }
    EXPECT_EQ(PlistLibDump(elsewhere / "target.plist"),
              "array 6\n  str Lab\n  str lab-server\n  bool True\n"
              "  str Office\n  str server-a\n  bool False\n");
    struct stat info;
    ASSERT_EQ(lstat(PreferencesFile().c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // Someone else's link (only root can make one here) is never followed.
    if (lchown(PreferencesFile().c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "cannot give the link to another user";
    const std::string before = ReadFile(elsewhere / "target.plist");
    QRVTovranePrinterPList list;
    ASSERT_TRUE(list.Add(CFSTR("Third"), CFSTR("server-c"), false));
    EXPECT_FALSE(list.Save());
    EXPECT_EQ(list.LastError(), kCFURLResourceAccessViolationError);
    EXPECT_EQ(ReadFile(elsewhere / "target.plist"), before);
}

TEST(PreferencesHomeTest, WithoutHomeNothingCanBeSaved) {
    ScopedEnv home("HOME", std::nullopt);
    QRVTovranePrinterPList list;
    EXPECT_TRUE(list.Valid() && list.Add(CFSTR("Office"), CFSTR("server-a"), false));
    EXPECT_FALSE(list.Save());
}

} // namespace
