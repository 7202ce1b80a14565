// The plug-in bundle as the build lays it out, the plug-in's identity and its localised
// strings in English and German.
#include "PDETestSupport.h"

#include "PDEBundle.h"
#include "PrinterListFile.h"

#include "PPDX.h"

#include <CarbonCore/Resources.h>

#include <CarbonCore/SysBeep.h>

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <vector>

namespace {

const std::string kBundleID = "com.qrv.print.pde.C4616032-6A8B-4262-B596-CEAC3EA7B6D9.PGse";

// The keys each table must hold: the error table of the colour model, what the server and
// dialog code look up in "BidiStrings" and "Dialogs", and the default table's titles.
const char* const kTables[][2] = {
    {"PigmentorErr",
     "kPigmentorNoErr|kPigmentorNoBundleErr|kPigmentorPPDInitErr|kPigmentorServerNameErr|"
     "kPigmentorConnErr|kPigmentorPrinterNameErr|kPigmentorNotSupportedErr|kPigmentorNIBErr|"
     "kPigmentorWindowErr|kPigmentorItemsListInitErr|kPigmentorControlNotFoundErr|"
     "kPigmentorBrivelleInitErr|kPigmentorDeviceErr|kPigmentorTovraneFeaturesErr|"
     "kPigmentorSesssionErr|kPigmentorInvalidItemsListErr|kPigmentorRolldownNotFoundErr|"
     "kPigmentorNoControlsErr|kPigmentorItemsNotInitialized|kPigmentorPPDErr|"
     "kPigmentorMemoryErr|kPigmentorBidiPPDErr|kPigmentorParamErr|kPigmentorHostNotFoundErr|"
     "kPigmentorServerErr|kPigmentorUserCancelErr|kPigmentorGeneralErr"},
    {"BidiStrings",
     "kProgressConnecting|kProgressInitializing|kProgressGettingFeatures|"
     "kProgressProcessingData|kProgressAborting|kProgressCleanUp|kProgressProcessingStatus|"
     "TWO_WAY_TITLE|ENTER_TWO_WAY|PRINTER_NAME|PRINTER_ADDR|IP_OR_DNS_NAME|NO_IP_ADDRESS|"
     "INVALID_IP_ADDRESS|IP_NOT_CONFIG|PRESS_OKAY|USE_BIDI|CONFIG_BTN"},
    {"Dialogs", "OK|Cancel"},
    {"Localizable",
     "PDE Panel Title|ServerLanguage|Print Mode|Standard Color|Expert Color|Grayscale|"
     "Settings|ExpertColor|RGB|CMYK|SPOT|BLACK|CustomSetup|Defaults|Update|OK|Cancel|"
     "Use Media Defined Profile|Use Server's Default|Use Output Profile|DevLinkInUse|"
     "RGBCustomSetup|TWO_WAY_TITLE"}};

std::vector<std::string> Split(const char* keys) {
    std::vector<std::string> list;
    std::istringstream in(keys);
    for (std::string key; std::getline(in, key, '|');)
        list.push_back(key);
    return list;
}

std::string Localized(const std::string& key, const char* table) {
    Owned<CFStringRef> k(Str(key));
    Owned<CFStringRef> t(Str(table));
    return UTF8(Owned<CFStringRef>(PDEBundle::GetLocalizedCFStringFromFile(k, t)));
}

// The built bundle open and made the strings' default, with no language in the environment.
class BundleTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(mBundle.Get(), nullptr);
        PDEBundle::InitBundle(mBundle.Get());
    }
    void TearDown() override { PDEBundle::InitBundle(nullptr); }

    ScopedEnv mLanguage{"LANGUAGE", std::nullopt}, mAll{"LC_ALL", std::nullopt},
        mMessages{"LC_MESSAGES", std::nullopt}, mLang{"LANG", std::nullopt};
    OpenBundle mBundle;
};

TEST_F(BundleTest, InfoPlistNamesThePlugInAndItsFactory) {
    EXPECT_EQ(GetBundleRef(), mBundle.Get());
    EXPECT_EQ(UTF8(CFBundleGetIdentifier(mBundle.Get())), kBundleID);
    std::string dump = PlistLibDump(std::string(PIGMENTOR_BUNDLE_DIR) + "/Contents/Info.plist");
    for (const char* entry : {"key CFBundleExecutable\n  str Pigmentor\n",
                              "key CFBundleDevelopmentRegion\n  str English\n",
                              "key CFBundleVersion\n", "key CFBundleShortVersionString\n"})
        EXPECT_NE(dump.find(entry), std::string::npos) << entry << dump;
    // The print-dialog-extension type lists one factory, and that factory is the exported one.
    auto types = static_cast<CFDictionaryRef>(
        CFBundleGetValueForInfoDictionaryKey(mBundle.Get(), CFSTR("CFPlugInTypes")));
    ASSERT_EQ(CFGetTypeID(types), CFDictionaryGetTypeID());
    auto factories = static_cast<CFArrayRef>(
        CFDictionaryGetValue(types, CFSTR("A996FD7E-B738-11D3-8519-0050E4603277")));
    ASSERT_EQ(CFGetTypeID(factories), CFArrayGetTypeID());
    ASSERT_EQ(CFArrayGetCount(factories), 1);
    auto factoryID = static_cast<CFStringRef>(CFArrayGetValueAtIndex(factories, 0));
    EXPECT_NE(Owned<CFUUIDRef>(CFUUIDCreateFromString(nullptr, factoryID)).ref, nullptr);
    auto names = static_cast<CFDictionaryRef>(
        CFBundleGetValueForInfoDictionaryKey(mBundle.Get(), CFSTR("CFPlugInFactories")));
    ASSERT_EQ(CFGetTypeID(names), CFDictionaryGetTypeID());
    EXPECT_EQ(UTF8(static_cast<CFStringRef>(CFDictionaryGetValue(names, factoryID))),
              "PigmentorPluginFactory");
}

TEST_F(BundleTest, PrinterListAcceptsTheExamplePPDs) {
    Owned<CFURLRef> contents(CreatePDEContentsURL(GetBundleID()));
    ASSERT_NE(contents.ref, nullptr);
    EXPECT_EQ(UTF8(CFURLGetString(contents)),
              UTF8(Owned<CFStringRef>(Str("file://" PIGMENTOR_BUNDLE_DIR "/Contents/"))));
    PrinterListFile list(contents, kCFPropertyListImmutable);
    ASSERT_TRUE(list.Valid());
    for (const char* name : {"Tarvo-C5000.ppd", "Tarvo-C5000-de.ppd", "Tarvo-C5000-pl.ppd",
                             "Tarvo-C5000-ja.ppd", "Tarvo-M200.ppd", "Tarvo-M210.ppd"}) {
        Owned<CFURLRef> ppd(FileURL(ExamplePPD(name)));
        EXPECT_TRUE(PPDX::ValidateFileName(ppd, list.Get(), nullptr)) << name;
    }
    EXPECT_EQ(PlistLibDump(std::string(PIGMENTOR_BUNDLE_DIR) + "/Contents/PrinterList.plist"),
              "dict 1\n  key PCFILENAME\n  array 3\n    str TRVC5000.PPD\n    str TRVM200.PPD\n"
              "    str TRVM210.PPD\n");
}

// Every key has a text in English and in German, the two differ
// for some key of each table, and a language without a folder falls back to English.
TEST_F(BundleTest, EveryTableIsTranslated) {
    for (const auto& [table, keys] : kTables) {
        size_t differing = 0;
        for (const std::string& key : Split(keys)) {
            std::string english = Localized(key, table), german, french;
            {
                ScopedEnv lang("LANG", std::string("de_DE.UTF-8"));
                german = Localized(key, table);
            }
            {
                ScopedEnv lang("LANG", std::string("fr_FR.UTF-8"));
                french = Localized(key, table);
            }
            EXPECT_FALSE(english.empty() || german.empty()) << table << " " << key;
            // Their keys are codes, never texts: a key shown means a lost entry.
            if (std::strcmp(table, "PigmentorErr") == 0 || std::strcmp(table, "BidiStrings") == 0) {
                EXPECT_NE(english, key) << table;
            }
            EXPECT_EQ(french, english) << table << " " << key;
            differing += english != german;
        }
        EXPECT_GT(differing, 0u) << table;
    }
    EXPECT_EQ(Localized("kPigmentorConnErr", "PigmentorErr"),
              "The print server could not be contacted.");
    ScopedEnv lang("LANG", std::string("de_DE.UTF-8"));
    EXPECT_EQ(Localized("kPigmentorConnErr", "PigmentorErr"),
              "Der Druckserver ist nicht erreichbar.");
    EXPECT_EQ(UTF8(Owned<CFStringRef>(PDEBundle::GetLocalizedCFString(CFSTR("PDE Panel Title")))),
              "Farbe");
    // A missing key shows the key; without a bundle there is nothing.
    EXPECT_EQ(Localized("NoSuchKey", "BidiStrings"), "NoSuchKey");
    PDEBundle::InitBundle(nullptr);
    EXPECT_EQ(PDEBundle::GetLocalizedCFStringFromFile(CFSTR("OK"), CFSTR("Dialogs")), nullptr);
    EXPECT_EQ(PDEBundle::GetLocalizedCFString(CFSTR("OK")), nullptr);
}

TEST_F(BundleTest, LocalizedBytesAreUTF8AndCutOnlyBetweenCharacters) {
    ScopedEnv lang("LANG", std::string("de_DE.UTF-8"));
    char buffer[64];
    long length = PDEBundle::GetLocalizedString(CFSTR("Settings"), buffer, 64);
    EXPECT_EQ(std::string(buffer, length), "Einstellungen\xE2\x80\xA6");
    // Too small a buffer: the whole characters that fit, never part of the three-byte ellipsis.
    char small[18] = "xxxxxxxxxxxxxxxxx";
    for (long size : {14L, 15L, 16L}) {
        EXPECT_EQ(PDEBundle::GetLocalizedString(CFSTR("Settings"), small, size), 13) << size;
        EXPECT_STREQ(small, "Einstellungen") << size;
    }
    EXPECT_EQ(PDEBundle::GetLocalizedString(CFSTR("Settings"), small, 17), 16);
    EXPECT_STREQ(small, "Einstellungen\xE2\x80\xA6");
    // ASCII text offers its bytes directly: cut to the buffer, terminated.
    EXPECT_EQ(PDEBundle::ConvertCFString(CFSTR("Settings"), small, 4), 3);
    EXPECT_STREQ(small, "Set");
    // What UTF-8 cannot hold (a lone surrogate) fails aloud and gives nothing.
    const UniChar lone[] = {'a', 0xDC00};
    Owned<CFStringRef> broken(CFStringCreateWithCharacters(nullptr, lone, 2));
    const UInt32 beeps = GetSysBeepCount();
    EXPECT_EQ(PDEBundle::ConvertCFString(broken, small, 8), 0);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(GetSysBeepCount(), beeps + 1);
    // The host's own bundle has no such text: the key, copied only when it fits whole.
    EXPECT_EQ(GetLocalizedString(CFSTR("Settings"), small, 8), 0);
    EXPECT_EQ(GetLocalizedString(CFSTR("Setting"), small, 8), 7);
    EXPECT_STREQ(small, "Setting");
}

TEST_F(BundleTest, GermanParseErrorsComeFromTheGermanResourceFile) {
    auto indexString = [&](short index) {
        Owned<CFURLRef> url(
            CFBundleCopyResourceURL(mBundle.Get(), CFSTR("Pigmentor"), CFSTR("rsrc"), nullptr));
        FSRef ref;
        std::string text = "<no file>";
        ResFileRefNum file = url && CFURLGetFSRef(url, &ref) ? FSOpenResFile(&ref, fsRdPerm)
                                                             : ResFileRefNum(kResFileNotOpened);
        if (file != kResFileNotOpened) {
            Str255 s;
            GetIndString(s, -8900, index);
            text.assign(reinterpret_cast<const char*>(s + 1), s[0]);
            CloseResFile(file);
        }
        return text;
    };
    EXPECT_EQ(indexString(18), "The printer description (PPD) file could not be read.");
    ScopedEnv lang("LANG", std::string("de_DE.UTF-8"));
    EXPECT_EQ(indexString(18), "Die Druckerbeschreibungsdatei (PPD) konnte nicht gelesen werden.");
    EXPECT_EQ(indexString(21), "Die Druckerbeschreibungsdatei (PPD) enth\xC3\xA4lt eine Option "
                               "au\xC3\x9F"
                               "erhalb jeder Gruppe.");
}

TEST_F(BundleTest, BundleCacheKeepsTheFirstBundle) {
    EXPECT_EQ(MyGetBundle(CFSTR("com.example.other")), nullptr);
    EXPECT_EQ(MyGetBundle(GetBundleID()), mBundle.Get());
    EXPECT_EQ(MyGetBundle(CFSTR("com.example.other")), mBundle.Get());
    MyFreeBundle();
    EXPECT_EQ(MyGetBundle(CFSTR("com.example.other")), nullptr);
    EXPECT_EQ(CreatePDEContentsURL(CFSTR("com.example.other")), nullptr);
}

TEST(BrokenBundleTest, MissingOrMalformedInfoPlistHidesThePlugIn) {
    for (const char* broken : {"", "<plist><dict><key>CFBundleIdentifier</key></dict></plist>"}) {
        Scratch scratch;
        std::string copy = CopyBundle(scratch, {"Info.plist"});
        if (*broken)
            scratch.Write("Pigmentor.plugin/Contents/Info.plist", broken);
        OpenBundle bundle(copy);
        ASSERT_NE(bundle.Get(), nullptr);
        EXPECT_EQ(GetBundleRef(), nullptr);
        EXPECT_EQ(CreatePDEContentsURL(GetBundleID()), nullptr);
    }
}

} // namespace
