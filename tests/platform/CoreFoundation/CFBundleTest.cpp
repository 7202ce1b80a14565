// Bundles, the registry and localised strings.
#include "CFTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// An XML property list of a flat dictionary of strings.
std::string StringsPlist(std::initializer_list<std::pair<const char*, const char*>> entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>";
    for (const auto& e : entries)
        xml += std::string("<key>") + e.first + "</key><string>" + e.second + "</string>";
    return xml + "</dict></plist>";
}

std::string Text(CFStringRef s) {
    std::string text = PMCFStringCopyUTF8(s);
    if (s)
        CFRelease(s);
    return text;
}

// A bundle laid out in a scratch folder, and the language variables cleared for the test.
class CFBundleTest : public testing::Test {
protected:
    void SetUp() override {
        dir_.Write("T.bundle/Contents/Info.plist",
                   StringsPlist({{"CFBundleIdentifier", "com.example.pigmentor.test"},
                                 {"CFBundleDevelopmentRegion", "English"},
                                 {"Custom", "value"}}));
        const std::string res = "T.bundle/Contents/Resources/";
        dir_.Write(res + "en.lproj/Localizable.strings",
                   StringsPlist({{"Hello", "Hello"}, {"OnlyEnglish", "Only in English"}}));
        dir_.Write(res + "German.lproj/Localizable.strings", StringsPlist({{"Hello", "Hallo"}}));
        dir_.Write(res + "de.lproj/Dialogs.strings", StringsPlist({{"Title", "Titel"}}));
        dir_.Write(res + "en.lproj/Dialogs.strings", StringsPlist({{"Title", "Title"}}));
        dir_.Write(res + "Broken.strings", "<plist><dict><key>x</key></dict></plist>");
        dir_.Write(res + "shared.txt", "global");
        dir_.Write(res + "de.lproj/shared.txt", "localised");
        dir_.Write(res + "de.lproj/local.txt", "de");
        dir_.Write(res + "en.lproj/local.txt", "en");
        dir_.Write(res + "Pictures/icon.png", "png");
        CFOwned<CFURLRef> url(dir_.URL("T.bundle", true));
        bundle_ = CFBundleCreate(nullptr, url);
        ASSERT_NE(bundle_, nullptr);
    }
    void TearDown() override {
        if (bundle_)
            CFRelease(bundle_);
    }

    std::string Localized(const char* key, const char* table = nullptr,
                          CFStringRef value = nullptr) {
        CFOwned<CFStringRef> k(Str(key));
        CFOwned<CFStringRef> t(table ? Str(table) : nullptr);
        return Text(CFBundleCopyLocalizedString(bundle_, k, value, t));
    }
    std::string ResourcePath(const char* name, const char* type, const char* sub = nullptr) {
        CFOwned<CFStringRef> n(Str(name)), t(type ? Str(type) : nullptr),
            s(sub ? Str(sub) : nullptr);
        CFOwned<CFURLRef> url(CFBundleCopyResourceURL(bundle_, n, t, s));
        if (url.get() == nullptr)
            return "<none>";
        std::string path = Text(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle));
        return path.substr((dir_ / "T.bundle/Contents/Resources/").size());
    }

    ScopedEnv language_{"LANGUAGE", std::nullopt}, lcAll_{"LC_ALL", std::nullopt},
        lcMessages_{"LC_MESSAGES", std::nullopt}, lang_{"LANG", std::nullopt};
    Scratch dir_;
    CFBundleRef bundle_ = nullptr;
};

TEST_F(CFBundleTest, ReadsItsInformationDictionary) {
    EXPECT_EQ(PMCFStringCopyUTF8(CFBundleGetIdentifier(bundle_)), "com.example.pigmentor.test");
    EXPECT_TRUE(
        CFEqual(CFBundleGetValueForInfoDictionaryKey(bundle_, CFSTR("Custom")), CFSTR("value")));
    EXPECT_EQ(CFDictionaryGetCount(CFBundleGetInfoDictionary(bundle_)), 3);
    EXPECT_TRUE(CFEqual(CFBundleGetDevelopmentRegion(bundle_), CFSTR("English")));
    CFOwned<CFURLRef> url(CFBundleCopyBundleURL(bundle_));
    EXPECT_EQ(Text(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle)), dir_ / "T.bundle");
    CFOwned<CFURLRef> resources(CFBundleCopyResourcesDirectoryURL(bundle_));
    EXPECT_EQ(Text(CFURLCopyFileSystemPath(resources, kCFURLPOSIXPathStyle)),
              dir_ / "T.bundle/Contents/Resources");
}

TEST_F(CFBundleTest, MissingOrBrokenInformationReadsAsEmpty) {
    dir_.Write("Bare.bundle/Contents/Resources/x", "");
    dir_.Write("Broken.bundle/Contents/Info.plist", "<plist><dict><key>a");
    for (const char* name : {"Bare.bundle", "Broken.bundle"}) {
        CFOwned<CFURLRef> url(dir_.URL(name, true));
        CFOwned<CFBundleRef> b(CFBundleCreate(nullptr, url));
        ASSERT_NE(b.get(), nullptr) << name;
        EXPECT_EQ(CFBundleGetIdentifier(b), nullptr);
        EXPECT_EQ(CFDictionaryGetCount(CFBundleGetInfoDictionary(b)), 0);
    }
    CFOwned<CFURLRef> none(dir_.URL("None.bundle", true));
    EXPECT_EQ(CFBundleCreate(nullptr, none), nullptr);
    EXPECT_NE(CFBundleGetMainBundle(), nullptr);
}

TEST_F(CFBundleTest, RegistryFindsLiveBundlesOnly) {
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.pigmentor.test")), bundle_);
    CFOwned<CFURLRef> url(dir_.URL("T.bundle", true));
    CFBundleRef second = CFBundleCreate(nullptr, url);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.pigmentor.test")), second);
    CFRelease(second);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.pigmentor.test")), bundle_);
    CFRelease(bundle_);
    bundle_ = nullptr;
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.pigmentor.test")), nullptr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(nullptr), nullptr);
}

TEST_F(CFBundleTest, GermanUserGetsGermanWithEnglishFallback) {
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(Localized("Hello"), "Hallo");                 // German.lproj, the older name
    EXPECT_EQ(Localized("OnlyEnglish"), "Only in English"); // not translated yet
    EXPECT_EQ(Localized("Title", "Dialogs"), "Titel");      // de.lproj
}

TEST_F(CFBundleTest, LanguageComesFromTheEnvironmentInOrder) {
    setenv("LANG", "fr_FR.UTF-8", 1);
    EXPECT_EQ(Localized("Hello"), "Hello"); // no French: English
    setenv("LANGUAGE", "fr:de", 1);
    EXPECT_EQ(Localized("Hello"), "Hallo"); // LANGUAGE lists before LANG
    unsetenv("LANGUAGE");
    setenv("LANG", "de_DE", 1);
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(Localized("Title", "Dialogs"), "Title"); // LC_ALL wins, and C names no language
    setenv("LC_ALL", "../../etc", 1);
    EXPECT_EQ(Localized("Title", "Dialogs"), "Title"); // not a language: ignored
}

TEST_F(CFBundleTest, MissingStringsFallBackAsThePlatformDoes) {
    EXPECT_EQ(Localized("Hello", "NoSuchTable"), "Hello");
    EXPECT_EQ(Localized("Absent", "NoSuchTable", CFSTR("Default")), "Default");
    EXPECT_EQ(Localized("Absent", nullptr, CFSTR("")), "Absent");
    EXPECT_EQ(Localized("x", "Broken"), "x");
    EXPECT_EQ(Localized("x", "../Contents/Info"), "x");
    EXPECT_EQ(Text(CFBundleCopyLocalizedString(bundle_, nullptr, CFSTR("v"), nullptr)), "v");
    EXPECT_EQ(Text(CFBundleCopyLocalizedString(bundle_, nullptr, nullptr, nullptr)), "");
    EXPECT_EQ(Text(CFBundleCopyLocalizedString(nullptr, CFSTR("k"), nullptr, nullptr)), "k");
    EXPECT_EQ(Text(CFCopyLocalizedStringFromTableInBundle(CFSTR("Title"), CFSTR("Dialogs"), bundle_,
                                                          "a comment")),
              "Title");
}

TEST_F(CFBundleTest, ResourcesAreFoundGlobalFirstThenByLanguage) {
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(ResourcePath("shared", "txt"), "shared.txt");
    EXPECT_EQ(ResourcePath("local", "txt"), "de.lproj/local.txt");
    EXPECT_EQ(ResourcePath("icon", "png", "Pictures"), "Pictures/icon.png");
    EXPECT_EQ(ResourcePath("Pictures", nullptr), "Pictures");
    EXPECT_EQ(ResourcePath("absent", "txt"), "<none>");
    EXPECT_EQ(ResourcePath("..", nullptr), "<none>");
    EXPECT_EQ(ResourcePath("icon", "png", "../Resources/Pictures"), "<none>");
    setenv("LANG", "en_GB", 1);
    EXPECT_EQ(ResourcePath("local", "txt"), "en.lproj/local.txt");
}

} // namespace
