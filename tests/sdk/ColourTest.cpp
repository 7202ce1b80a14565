#include "SdkTest.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>

namespace {

using Strings = std::vector<std::string>;

struct KeyRecord {
    std::string defaultValue; ///< "(none)" when the key has no default
    Strings values;
    bool operator==(const KeyRecord& other) const {
        return defaultValue == other.defaultValue && values == other.values;
    }
};

/// Walks a colour-defaults session the way the colour pane reads it.
std::map<std::string, KeyRecord> WalkAll(tovrane_session& session) {
    std::map<std::string, KeyRecord> keys;
    for (int guard = 0; guard < 100; ++guard) {
        EXPECT_EQ(CLDF_setNextKey(&session, nullptr), TQRV_OK);
        const char* key = nullptr;
        EXPECT_EQ(CLDF_getCurrentKey(&session, &key, nullptr), TQRV_OK);
        if (!key)
            break;
        KeyRecord& record = keys[key];
        char* value = nullptr;
        EXPECT_EQ(CLDF_getDefaultValue(&session, &value, nullptr), TQRV_OK);
        record.defaultValue = value ? value : "(none)";
        tovrane_free(value);
        while (CLDF_getNextValue(&session, &value, nullptr) == TQRV_OK) {
            record.values.push_back(value);
            tovrane_free(value);
        }
    }
    return keys;
}

} // namespace

class Colour : public SdkTest {};

TEST_F(Colour, DefaultsWalkGivesEveryKeyDefaultAndValue) {
    static_assert(sizeof(tqrv_status) == 1, "tqrv_color statuses are 8 bits");
    tovrane_session session = 0;
    ASSERT_EQ(CLDF_openSession(mHandle, "Tarvo M200", "", "", "", "", TQRV_LEVEL_DEVICE, &session,
                               nullptr),
              TQRV_OK);
    std::map<std::string, KeyRecord> expected = {
        {"*QVRGBOverride", {"SRGB", {"SRGB", "NONE"}}},
        {"*QVSimulation", {"SWOPCOATED", {"SWOPCOATED", "EUROSCALE", "NONE"}}},
        {"*QVOutProfile", {"TRVM2PLAIN", {"TRVM2PLAIN", "TRVM2GLOSSY"}}},
        {"*QVPureBlack", {"BLACKNORMAL", {"OFF", "BLACKNORMAL"}}},
    };
    EXPECT_EQ(WalkAll(session), expected);
    // Past the end: one more step is an error, and there is no key or value.
    EXPECT_EQ(CLDF_setNextKey(&session, nullptr), TQRV_ERR_END);
    char* value = nullptr;
    EXPECT_EQ(CLDF_getDefaultValue(&session, &value, nullptr), TQRV_ERR_END);
    EXPECT_EQ(CLDF_getNextValue(&session, &value, nullptr), TQRV_ERR_END);
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(CLDF_closeSession(&session, nullptr), TQRV_OK);
    EXPECT_EQ(session, 0u);
    EXPECT_EQ(CLDF_setNextKey(&session, nullptr), TQRV_ERR_BAD_SESSION);

    // The colour server, opened on a ticket, offers every expert keyword.
    tovrane_ticket ticket{};
    ASSERT_EQ(CLDF_openSession(mHandle, "Tarvo C5000 Color Server", nullptr, nullptr, nullptr,
                               nullptr, TQRV_LEVEL_DEVICE, &session, &ticket),
              TQRV_OK);
    ASSERT_EQ(NB_block(&ticket), T10_OK);
    t10_status result = -1;
    ASSERT_EQ(NB_checkTicket(&ticket, nullptr, nullptr, &result), T10_OK);
    EXPECT_EQ(result, T10_OK);
    const char* key = "x";
    EXPECT_EQ(CLDF_getCurrentKey(&session, &key, nullptr), TQRV_OK); // before the first key
    EXPECT_EQ(key, nullptr);
    std::map<std::string, KeyRecord> keys = WalkAll(session);
    EXPECT_EQ(keys.size(), 18u); // every key of the example's colour server
    EXPECT_EQ(keys["*QVOutProfile"], (KeyRecord{"QVOutProfileDEF",
                                                {"DEFAULT_MEDIA", "QVOutProfileDEF", "TRVC5PLAIN",
                                                 "TRVC5COATED", "TRVC5HEAVY"}}));
    EXPECT_EQ(keys["*QVSimSpeed"], (KeyRecord{"FAST", {"FAST", "BETR", "S4X4"}}));
    EXPECT_EQ(CLDF_closeSession(&session, nullptr), TQRV_OK);
}

TEST_F(Colour, OpensAreChecked) {
    tovrane_session session = 5;
    EXPECT_EQ(CLDF_openSession(mHandle, "Tarvo M200", "", "", "", "", 1, &session, nullptr),
              TQRV_ERR_UNSUPPORTED);
    EXPECT_EQ(session, 0u);
    EXPECT_EQ(CLDF_openSession(mHandle, "No Such Printer", "", "", "", "", 2, &session, nullptr),
              TQRV_ERR_NOT_FOUND);
    EXPECT_EQ(CLDF_openSession(mHandle, nullptr, "", "", "", "", 2, &session, nullptr),
              TQRV_ERR_PARAM);
    EXPECT_EQ(CLDF_openSession(nullptr, "Tarvo M200", "", "", "", "", 2, &session, nullptr),
              TQRV_ERR_NOT_CONNECTED);
    EXPECT_EQ(COLR_openSession(mHandle, "Tarvo C5000 Color Server", "XSET", nullptr, nullptr,
                               nullptr, nullptr, &session, nullptr),
              TQRV_ERR_UNSUPPORTED);
    EXPECT_EQ(COLR_openSession(mHandle, "Nowhere", "CSET", nullptr, nullptr, nullptr, nullptr,
                               &session, nullptr),
              TQRV_ERR_NOT_FOUND);
    EXPECT_EQ(session, 0u);
    // A colour-defaults session is not a colour session.
    ASSERT_EQ(CLDF_openSession(mHandle, "Tarvo M200", "", "", "", "", 2, &session, nullptr),
              TQRV_OK);
    char* id = nullptr;
    EXPECT_EQ(ICCM_mapDescriptionToProfile(&session, "SRGB", &id, nullptr), TQRV_ERR_BAD_SESSION);
    EXPECT_EQ(COLR_closeSession(&session, nullptr), TQRV_ERR_BAD_SESSION);
    EXPECT_EQ(CLDF_closeSession(&session, nullptr), TQRV_OK);
}

TEST_F(Colour, ProfilesAndDeviceLinks) {
    tovrane_session session = 0;
    ASSERT_EQ(COLR_openSession(mHandle, "Tarvo C5000 Color Server", TQRV_SERVICE_COLOR_SET, "GUEST",
                               "en_US", "MacBrivelle", "", &session, nullptr),
              TQRV_OK);
    auto profile = [&](const char* description) {
        char* id = nullptr;
        return TextOrStatus(ICCM_mapDescriptionToProfile(&session, description, &id, nullptr), id);
    };
    auto link = [&](const char* source, const char* destination, int32_t intents) {
        char* name = nullptr;
        return TextOrStatus(
            ICCM_doesDeviceLinkProfileExist(&session, source, destination, intents, &name, nullptr),
            name);
    };
    // The tables are fetched at their first use and a localisation session's strings at its
    // open: with the server gone, look-ups still give the server's answers, from memory.
    EXPECT_EQ(link("a", "b", -1), "status 1");
    EXPECT_EQ(profile("SRGB"), "TRV-RGB-SRGB");
    EXPECT_EQ(link("TRV-RGB-SRGB", "TRV-C5-TRVC5COATED", 0x7fffffff), "DL_SRGB_C5COATED");
    tovrane_session strings = 0;
    ASSERT_EQ(LOCL_openSession(mHandle, 0, "de_DE", "UTF-8", &strings, nullptr), T10_OK);
    auto text = [&](const char* context, const char* key) {
        char* found = nullptr;
        return TextOrStatus(LOCL_getStringWithContext(&strings, context, key, &found, nullptr),
                            found);
    };
    EXPECT_EQ(text(nullptr, "*QVBlkOverprint"), "Schwarzüberdruck");
    mServer->Stop();
    EXPECT_EQ(text("*QVBlkOverprint", "QVBlkOverprintDEF"), "Server-Standard");
    EXPECT_EQ(text(nullptr, "NO_SUCH_KEY"), "status 13");
    EXPECT_EQ(profile("sRGB IEC61966-2.1"), "TRV-RGB-SRGB");
    EXPECT_EQ(profile("TRVM2PLAIN"), "(none)"); // another device's profile
    EXPECT_EQ(link("TRV-RGB-SRGB", "TRV-C5-TRVC5COATED", TQRV_INTENT_SATURATION), "(none)");
    EXPECT_EQ(link("TRV-CMYK-ISO", "TRV-C5-TRVC5COATED", TQRV_INTENT_ABSOLUTE), "DL_ISO_C5COATED");
    EXPECT_EQ(link("TRV-C5-TRVC5COATED", "TRV-RGB-SRGB", 0x7fffffff), "(none)"); // one way only
    EXPECT_EQ(LOCL_closeSession(&strings, nullptr), T10_OK);
    EXPECT_EQ(COLR_closeSession(&session, nullptr), TQRV_OK);
    EXPECT_EQ(session, 0u);
    EXPECT_EQ(profile("SRGB"), "status 10");
}

TEST(ColourEdges, KeysWithoutDefaultAndDevicesWithoutKeys) {
    char path[] = "/tmp/tovrane-test-XXXXXX.json";
    int fd = mkstemps(path, 5);
    ASSERT_GE(fd, 0);
    const char* text = R"({"server": {"name": "S"},
      "locales": {"default": "en_US", "list": ["en_US"]},
      "encodings": {"default": "UTF-8", "list": ["UTF-8"]},
      "devices": [{"name": "Bare"},
                  {"name": "P", "colour_defaults": [{"key": "*QVSimSpeed", "values": ["FAST"]}]}]})";
    ASSERT_EQ(write(fd, text, strlen(text)), static_cast<ssize_t>(strlen(text)));
    close(fd);
    {
        TestServer server({}, path);
        ASSERT_TRUE(server.Started());
        tovrane_server* handle = ConnectTo(server.Port());
        ASSERT_NE(handle, nullptr);
        tovrane_session session = 0;
        ASSERT_EQ(CLDF_openSession(handle, "Bare", "", "", "", "", 2, &session, nullptr), TQRV_OK);
        EXPECT_TRUE(WalkAll(session).empty());
        EXPECT_EQ(CLDF_setNextKey(&session, nullptr), TQRV_ERR_END);
        EXPECT_EQ(CLDF_closeSession(&session, nullptr), TQRV_OK);
        ASSERT_EQ(CLDF_openSession(handle, "P", "", "", "", "", 2, &session, nullptr), TQRV_OK);
        std::map<std::string, KeyRecord> expected = {{"*QVSimSpeed", {"(none)", {"FAST"}}}};
        EXPECT_EQ(WalkAll(session), expected);
        EXPECT_EQ(CLDF_closeSession(&session, nullptr), TQRV_OK);
        EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    }
    unlink(path);
    ExpectAllReleased();
}
