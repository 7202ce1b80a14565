// Features and localisation over a real server: the feature check, the language choice from
// the plug-in bundle, the locale and encoding lists and the look-up of display texts.
#include "BrivelleTest.h"

#include <KeywordContainer.h>
#include <Localization.h>
#include <MenuItemsTriplet.h>
#include <PigmentorSession.h>
#include <ServerFeatures.h>

#include <CarbonCore/TextCommon.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const char* const kFeatureServer = R"({
  "server": {"name": "Features"},
  "features": [{"name": "A", "value": "0"}, {"name": "B", "value": "true"},
               {"name": "C", "value": "1 "}, {"name": "D", "value": "1"},
               {"name": "D", "value": "0"}, {"name": "Pigmentor", "value": "01"}],
  "locales": {"default": "de_DE", "list": ["en_US", "de_DE"]},
  "encodings": {"default": "MacRoman", "list": ["UTF-8", "MacRoman"]}
})";

} // namespace

class BrivelleFeatures : public ServerTest {};

TEST_F(BrivelleFeatures, TheColourFeaturesNeedTheValueOneExactly) {
    StartServer();
    Brivelle& connection = Connect();
    ServerFeatures* features = connection.GetFeaturesObject();
    ASSERT_NE(features, nullptr);
    char* name = reinterpret_cast<char*>(1);
    char* value = reinterpret_cast<char*>(1);
    features->GetFeatureNameAndValue(0, name, value); // nothing fetched yet
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(value, nullptr);
    EXPECT_TRUE(features->SupportsPigmentor());
    EXPECT_EQ(features->GetFeatureCount(), 5);
    features->GetFeatureNameAndValue(3, name, value);
    EXPECT_STREQ(name, "Imposition");
    EXPECT_STREQ(value, "0");
    features->GetFeatureNameAndValue(5, name, value);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(value, nullptr);
    EXPECT_FALSE(features->SupportsNamedFeature("Imposition"));
    EXPECT_FALSE(features->SupportsNamedFeature("pigmentor")); // case counts
    EXPECT_FALSE(features->SupportsNamedFeature(nullptr));
}

TEST_F(BrivelleFeatures, OnlyTheFirstFeatureOfANameCounts) {
    TempFile description(kFeatureServer);
    StartServer({}, description.Path());
    Brivelle& connection = Connect();
    ServerFeatures* features = connection.GetFeaturesObject();
    EXPECT_TRUE(features->GetFeaturesList());
    EXPECT_EQ(features->GetFeatureCount(), 6);
    EXPECT_FALSE(features->SupportsNamedFeature("A"));
    EXPECT_FALSE(features->SupportsNamedFeature("B"));
    EXPECT_FALSE(features->SupportsNamedFeature("C"));
    EXPECT_TRUE(features->SupportsNamedFeature("D"));
    EXPECT_FALSE(features->SupportsNamedFeature("E"));
    EXPECT_FALSE(features->SupportsPigmentor());
}

TEST_F(BrivelleFeatures, AServerWithoutFeaturesSupportsNone) {
    TempFile description(R"({"server": {"name": "Plain"},
      "locales": {"default": "en_US", "list": ["en_US"]},
      "encodings": {"default": "UTF-8", "list": ["UTF-8"]}})");
    StartServer({}, description.Path());
    Brivelle& connection = Connect();
    ServerFeatures* features = connection.GetFeaturesObject();
    EXPECT_EQ(features->GetFeatureCount(), 0);
    EXPECT_FALSE(features->SupportsPigmentor());
}

class BrivelleLanguages : public ServerTest {};

TEST_F(BrivelleLanguages, WithoutAPluginBundleTheServerIsAskedForEnglish) {
    StartServer();
    Brivelle& connection = Connect();
    Localization* localization = connection.GetLocalizationObject();
    ASSERT_NE(localization, nullptr);
    EXPECT_STREQ(localization->GetCurrentLocale(), "en_US");
    EXPECT_STREQ(localization->GetCurrentEncoding(), "");
    EXPECT_TRUE(localization->GetCacheFlag());
    EXPECT_EQ(localization->GetLanguageNumber(), 0);
    EXPECT_FALSE(localization->IsOpen());
    EXPECT_EQ(localization->OpenSession(), -1);
    EXPECT_EQ(localization->OpenSessionAsync(), nullptr);
}

TEST_F(BrivelleLanguages, TheBundlesServerLanguageChoosesTheLocale) {
    StartServer();
    setenv("LANGUAGE", "de", 1);
    std::string path = std::string(PIGMENTOR_BUNDLE_DIR);
    CFURLRef url = CFURLCreateFromFileSystemRepresentation(
        nullptr, reinterpret_cast<const UInt8*>(path.c_str()), static_cast<CFIndex>(path.size()),
        true);
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(Text(CFBundleGetIdentifier(bundle)), Text(Localization::BundleIdentifier()));
    Brivelle& connection = Connect();
    EXPECT_STREQ(connection.GetLocalizationObject()->GetCurrentLocale(), "de_DE");
    mConnection.reset();
    CFRelease(bundle);
    unsetenv("LANGUAGE");
}

TEST_F(BrivelleLanguages, ABundleWithoutTheKeyAsksForEnglishAndAnOddTextForTheDefault) {
    StartServer();
    {
        TempBundle bundle(nullptr);
        Brivelle& connection = Connect();
        EXPECT_STREQ(connection.GetLocalizationObject()->GetCurrentLocale(), "en_US");
    }
    TempBundle bundle("日本語");
    TempFile description(kFeatureServer);
    mServer.reset();
    StartServer({}, description.Path());
    Brivelle& connection = Connect();
    Localization* localization = connection.GetLocalizationObject();
    EXPECT_STREQ(localization->GetCurrentLocale(), ""); // not ASCII
    localization->FetchValidLocaleList();
    EXPECT_STREQ(localization->GetCurrentLocale(), "de_DE"); // the server's default
    mConnection.reset();
}

TEST_F(BrivelleLanguages, ListsStartWithTheServersDefault) {
    StartServer();
    Brivelle& connection = Connect();
    EXPECT_EQ(Texts(connection.GetEncodings()),
              (std::vector<std::string>{"UTF-8", "UTF-8", "MacRoman", "ISO-8859-1", "Shift_JIS"}));
    EXPECT_EQ(Texts(connection.GetLanguages()),
              (std::vector<std::string>{"en_US", "en_US", "de_DE", "ja_JP"}));
    Localization* localization = connection.GetLocalizationObject();
    EXPECT_STREQ(localization->GetCurrentEncoding(), "UTF-8");
    EXPECT_STREQ(localization->GetCurrentLocale(), "en_US");
    CFArrayRef locales = localization->GetLocaleList();
    EXPECT_EQ(localization->GetLocaleList(), locales); // kept, not refetched
    EXPECT_NE(connection.GetLanguages(), nullptr);     // refetched
}

TEST_F(BrivelleLanguages, TextsAreLookedUpWithinTheirContextThenWithout) {
    StartServer();
    Brivelle& connection = Connect();
    OpenLocalization();
    Localization* localization = connection.GetLocalizationObject();
    EXPECT_EQ(TakeText(localization->GetKeywordString("SRGB", "*QVRGBOverride")), "sRGB");
    EXPECT_EQ(TakeText(localization->GetKeywordString("*QVSimulation", nullptr)),
              "CMYK Simulation");
    EXPECT_EQ(TakeText(localization->GetKeywordString("PLAIN", "vidInput1MediaName")),
              "Plain Paper");
    EXPECT_EQ(localization->GetOptionString("vidInput1MediaName", "PLAIN"), nullptr);
    EXPECT_EQ(TakeText(localization->GetOptionString("*QVPureBlack", "OFF")), "Normal");
    EXPECT_EQ(localization->GetKeywordString("NO_SUCH_KEY", "*QVPureBlack"), nullptr);
}

TEST_F(BrivelleLanguages, ChangingLocaleOrEncodingReopensTheSession) {
    StartServer();
    Brivelle& connection = Connect();
    OpenLocalization();
    Localization* localization = connection.GetLocalizationObject();
    tovrane_session before = localization->GetSession();
    EXPECT_EQ(localization->SetLocaleAndEncoding("en_US", nullptr), 0);
    EXPECT_EQ(localization->GetSession(), before); // nothing changed: no reopen
    EXPECT_TRUE(localization->GetCacheFlag());

    EXPECT_TRUE(connection.SetLanguage("de_DE"));
    EXPECT_NE(localization->GetSession(), before);
    EXPECT_FALSE(localization->GetCacheFlag()); // cleared by the first reopen
    EXPECT_STREQ(localization->GetCurrentLocale(), "de_DE");
    EXPECT_EQ(TakeText(localization->GetKeywordString("*QVSimulation", nullptr)),
              "CMYK-Simulation");
    // Texts are read in the application's text encoding (UTF-8): a session reopened on that
    // encoding hands them back intact.
    EXPECT_TRUE(connection.SetEncoding("UTF-8"));
    EXPECT_STREQ(localization->GetCurrentEncoding(), "UTF-8");
    EXPECT_EQ(TakeText(localization->GetKeywordString("*QVBlkOverprint", nullptr)),
              "Schwarzüberdruck");

    EXPECT_FALSE(connection.SetLanguage("xx_XX")); // the server has no such locale
    std::string tooLong(64, 'x');
    EXPECT_EQ(localization->SetLocaleAndEncoding(tooLong.c_str(), nullptr), -50);
    EXPECT_STREQ(localization->GetCurrentLocale(), "xx_XX");
}

// German and Japanese server texts reach the colour settings intact through the normal
// two-way flow: the plug-in's language picks the locale, nobody picks an encoding (so the
// session takes the server's default), and the texts are read in the application's text
// encoding.
TEST_F(BrivelleLanguages, GermanAndJapaneseTextsArriveIntactInTheDefaultFlow) {
    StartServer();
    struct Case {
        const char* language;
        const char* keyword;
        const char* setting;
    };
    for (const Case& c : {Case{"de_DE", "Schwarzüberdruck", "Server-Standard"},
                          Case{"ja_JP", "黒オーバープリント", "サーバーの既定値"}}) {
        SCOPED_TRACE(c.language);
        TempBundle bundle(c.language);
        Brivelle connection("127.0.0.1", 0);
        ASSERT_TRUE(connection.ConnectToServer(false, false));
        // The two-way list's order: encodings, languages, then the sessions.
        ASSERT_NE(connection.GetEncodings(), nullptr);
        ASSERT_NE(connection.GetLanguages(), nullptr);
        Localization* localization = connection.GetLocalizationObject();
        ASSERT_NE(localization, nullptr);
        EXPECT_STREQ(localization->GetCurrentLocale(), c.language);
        PigmentorSession* defaults = connection.GetPigmentorObject(nullptr);
        ASSERT_NE(defaults, nullptr);
        defaults->OpenSession(kC5000);
        EXPECT_EQ(localization->OpenSession(0), 0);
        localization->CacheStrings();
        EXPECT_EQ(defaults->GetColorSettings(), 0);
        localization->CloseSession();
        defaults->CloseSession();

        KeywordContainer* overprint = defaults->GetKeywordObject("*QVBlkOverprint");
        ASSERT_NE(overprint, nullptr);
        EXPECT_EQ(Text(overprint->GetLocalizedName()), c.keyword);
        ASSERT_GT(overprint->GetSettingsCount(), 0);
        EXPECT_EQ(Text(overprint->FirstSetting()->GetDisplayName()), c.setting);
        EXPECT_EQ(TakeText(localization->GetKeywordString("*QVBlkOverprint", nullptr)), c.keyword);
    }
}

TEST(LocalizationIdentity, TheBundleIdentifierIsThePluginsOwn) {
    std::ifstream info(std::string(PIGMENTOR_SOURCE_DIR) + "/bundle/Info.plist");
    std::stringstream text;
    text << info.rdbuf();
    std::string id = PMCFStringCopyUTF8(Localization::BundleIdentifier());
    EXPECT_NE(text.str().find("<string>" + id + "</string>"), std::string::npos) << id;
}
