// Colour defaults, colour profiles and device links over a real server.
#include "BrivelleTest.h"

#include <ColrSession.h>
#include <DeviceLinkHelper.h>
#include <KeywordContainer.h>
#include <MenuItemsTriplet.h>
#include <PigmentorSession.h>

#include <tqrv_color.h>

namespace {

/// (keyword, display name, value) of every setting of `container`.
std::vector<std::string> Settings(const KeywordContainer* container) {
    std::vector<std::string> settings;
    for (auto it = container->FirstSetting(); it != container->EndSetting(); ++it)
        settings.push_back(std::string(it->GetKeyword()) + "|" + Text(it->GetDisplayName()) +
                           "|" + it->GetValue());
    return settings;
}

const char* const kOddColourServer = R"({
  "server": {"name": "Odd"},
  "locales": {"default": "en_US", "list": ["en_US"]},
  "encodings": {"default": "UTF-8", "list": ["UTF-8"]},
  "devices": [
    {"name": "No Keys", "colour_defaults": []},
    {"name": "No Default", "colour_defaults": [{"key": "*QVPaperSim", "values": ["A", "B"]}]}
  ]
})";

} // namespace

class BrivelleColour : public ServerTest {
protected:
    /// Connects, opens the localisation session and reads the colour defaults of `device`.
    PigmentorSession* ReadDefaults(const char* device) {
        PigmentorSession* defaults = mConnection->GetPigmentorObject(nullptr);
        EXPECT_NE(defaults, nullptr);
        if (!defaults)
            return nullptr;
        EXPECT_EQ(defaults->OpenSession(device), 0);
        EXPECT_TRUE(defaults->IsOpen());
        EXPECT_EQ(defaults->GetColorSettings(), 0);
        EXPECT_EQ(defaults->CloseSession(), 0);
        EXPECT_FALSE(defaults->IsOpen());
        return defaults;
    }
};

TEST_F(BrivelleColour, ColourDefaultsAreReadWithLocalisedNamesInKeyOrder) {
    StartServer();
    Connect();
    OpenLocalization();
    PigmentorSession* defaults = ReadDefaults(kC5000);
    ASSERT_NE(defaults, nullptr);
    std::vector<std::string> keys;
    for (auto it = defaults->KeywordObjectBegin(); it != defaults->KeywordObjectEnd(); ++it) {
        EXPECT_EQ(it->first, it->second->GetKeyword());
        keys.push_back(it->first);
    }
    ASSERT_EQ(keys.size(), 18u);
    EXPECT_EQ(keys.front(), "*QVBlkOverprint"); // byte order: "Ove" before "Ovp"
    EXPECT_EQ(keys[1], "*QVBlkOvpCtrl");
    EXPECT_EQ(keys.back(), "*QVSpotColors");

    KeywordContainer* rgb = defaults->GetKeywordObject("*QVRGBOverride");
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(Text(rgb->GetLocalizedName()), "RGB Source");
    EXPECT_STREQ(rgb->GetDefaultItem(), "QVRGBOverrideDEF");
    EXPECT_EQ(Settings(rgb),
              (std::vector<std::string>{"QVRGBOverrideDEF|Server Default|QVRGBOverrideDEF",
                                        "SRGB|sRGB|SRGB", "EBU|EBU|EBU", "SMPTE|SMPTE-C|SMPTE",
                                        "OTHER|Other|OTHER", "NONE|None|NONE"}));
    // No texts for the gamma values: each shows its value.
    KeywordContainer* gamma = defaults->GetKeywordObject("*QVRGBOtherGamma");
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(Text(gamma->GetLocalizedName()), "Gamma");
    EXPECT_STREQ(gamma->GetDefaultItem(), "2.2");
    ASSERT_EQ(gamma->GetSettingsCount(), 8);
    EXPECT_EQ(Settings(gamma)[0], "1.0|1.0|1.0");
    EXPECT_EQ(defaults->GetKeywordObject("*QVColorMode"), nullptr);
    EXPECT_EQ(defaults->GetKeywordObject(nullptr), nullptr);
}

TEST_F(BrivelleColour, ARepeatedReadReplacesContainersKeyByKey) {
    StartServer();
    Connect();
    PigmentorSession* defaults = ReadDefaults(kC5000);
    ASSERT_NE(defaults, nullptr);
    KeywordContainer* first = defaults->GetKeywordObject("*QVRGBOverride");
    // Without a localisation session the names are the keywords themselves.
    EXPECT_EQ(Text(first->GetLocalizedName()), "*QVRGBOverride");
    EXPECT_EQ(Settings(first)[1], "SRGB|SRGB|SRGB");

    ASSERT_EQ(ReadDefaults("Tarvo M200"), defaults);
    EXPECT_STREQ(defaults->GetDeviceName(), "Tarvo M200");
    size_t count = 0;
    for (auto it = defaults->KeywordObjectBegin(); it != defaults->KeywordObjectEnd(); ++it)
        ++count;
    EXPECT_EQ(count, 18u); // the M200's four keys replaced four of the eighteen
    KeywordContainer* second = defaults->GetKeywordObject("*QVRGBOverride");
    EXPECT_STREQ(second->GetDefaultItem(), "SRGB");
    EXPECT_EQ(second->GetSettingsCount(), 2);
    EXPECT_EQ(defaults->GetKeywordObject("*QVRGBOtherGamma")->GetSettingsCount(), 8);
}

TEST_F(BrivelleColour, NoKeysReadAsAnEmptyMapAndNoDefaultAsEmpty) {
    TempFile description(kOddColourServer);
    StartServer({}, description.Path());
    Connect();
    PigmentorSession* defaults = ReadDefaults("No Keys");
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults->KeywordObjectBegin(), defaults->KeywordObjectEnd());
    ASSERT_EQ(ReadDefaults("No Default"), defaults);
    KeywordContainer* paper = defaults->GetKeywordObject("*QVPaperSim");
    ASSERT_NE(paper, nullptr);
    EXPECT_STREQ(paper->GetDefaultItem(), "");
    EXPECT_EQ(Settings(paper), (std::vector<std::string>{"A|A|A", "B|B|B"}));
}

TEST_F(BrivelleColour, OpeningAnUnknownDeviceFailsAndReadsNothing) {
    StartServer();
    Connect();
    PigmentorSession* defaults = mConnection->GetPigmentorObject("No Such Device");
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults->OpenSession(), TQRV_ERR_NOT_FOUND);
    EXPECT_FALSE(defaults->IsOpen());
    EXPECT_EQ(defaults->GetColorSettings(), TQRV_ERR_BAD_SESSION);
    EXPECT_EQ(defaults->KeywordObjectBegin(), defaults->KeywordObjectEnd());
    EXPECT_EQ(defaults->CloseSession(), 0); // not open: nothing to close
}

TEST_F(BrivelleColour, ProfilesMapDescriptionsToIdsAndFindDeviceLinks) {
    StartServer();
    Connect();
    OpenLocalization();
    ColrSession* profiles = mConnection->GetColrObject(kC5000);
    ASSERT_NE(profiles, nullptr);
    ASSERT_EQ(profiles->OpenSession(kC5000), 0);
    EXPECT_TRUE(profiles->IsOpen());
    EXPECT_STREQ(profiles->GetColrDeviceName(), kC5000);

    char id[256] = "stale";
    EXPECT_TRUE(profiles->DescriptionToProfileID("sRGB IEC61966-2.1", id));
    EXPECT_STREQ(id, "TRV-RGB-SRGB");
    EXPECT_TRUE(profiles->DescriptionToProfileID("No Such Profile", id));
    EXPECT_STREQ(id, "");

    char link[256] = "stale";
    CFStringRef display = nullptr;
    ASSERT_TRUE(profiles->GetDeviceLinkNameByKeywords("SRGB", "TRVC5COATED", link, &display));
    EXPECT_STREQ(link, "DL_SRGB_C5COATED");
    EXPECT_EQ(TakeText(display), "sRGB to C5000 Coated");
    ASSERT_TRUE(profiles->GetDeviceLinkNameByProfileID("TRV-CMYK-SWOP", "TRV-C5-TRVC5PLAIN", link,
                                                       nullptr));
    EXPECT_STREQ(link, "DL_SWOP_C5PLAIN");
    EXPECT_FALSE(profiles->GetDeviceLinkNameByKeywords("EBU", "TRVC5COATED", link, &display));
    EXPECT_STREQ(link, "");
    EXPECT_EQ(display, nullptr);
    // An unknown description maps to the empty id, which the server is then asked about.
    EXPECT_FALSE(
        profiles->GetDeviceLinkNameByKeywords("No Such Profile", "TRVC5COATED", link, &display));
    EXPECT_EQ(profiles->CloseSession(), 0);
    EXPECT_FALSE(profiles->IsOpen());
    EXPECT_FALSE(profiles->DescriptionToProfileID("SRGB", id)); // closed: the query fails
    EXPECT_STREQ(id, "");
}

TEST_F(BrivelleColour, TheHelperFindsTheLinkOfTwoKeywordValues) {
    StartServer();
    Connect();
    OpenLocalization();
    PigmentorSession* defaults = ReadDefaults(kC5000);
    ColrSession* profiles = mConnection->GetColrObject(nullptr);
    ASSERT_TRUE(defaults && profiles);
    ASSERT_EQ(profiles->OpenSession(kC5000), 0);
    DeviceLinkHelper helper(defaults, profiles);
    char link[256] = "";
    CFStringRef display = nullptr;
    ASSERT_TRUE(helper.FindDeviceLink("*QVSimulation", "ISOCOATED", "*QVOutProfile", "TRVC5COATED",
                                      link, &display));
    EXPECT_STREQ(link, "DL_ISO_C5COATED");
    EXPECT_EQ(TakeText(display), "ISO Coated to C5000 Coated");
    // No link between these, a value the keyword does not offer, a keyword not read.
    EXPECT_FALSE(helper.FindDeviceLink("*QVSimulation", "JAPANCOLOR", "*QVOutProfile",
                                       "TRVC5COATED", link, &display));
    EXPECT_FALSE(helper.FindDeviceLink("*QVSimulation", "NOPE", "*QVOutProfile", "TRVC5COATED",
                                       link, &display));
    EXPECT_FALSE(helper.FindDeviceLink("*QVNoSuchKey", "SRGB", "*QVOutProfile", "TRVC5COATED", link,
                                       &display));
    DeviceLinkHelper empty(nullptr, profiles);
    EXPECT_FALSE(empty.FindDeviceLink("*QVSimulation", "ISOCOATED", "*QVOutProfile", "TRVC5COATED",
                                      link, &display));
}
