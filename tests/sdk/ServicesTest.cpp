#include "SdkTest.h"

#include <cstring>

namespace {

/// The texts of a string array of `count` entries, as the SDK handed it back.
std::vector<std::string> Texts(char** array, int32_t count) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < count; ++i)
        texts.push_back(array[i]);
    EXPECT_EQ(array ? array[count] : nullptr, nullptr); // terminated
    return texts;
}

/// The media names of a tray record.
std::vector<std::string> Media(const t10_tray_record& record) {
    std::vector<std::string> names;
    const char* name = record.media;
    for (int32_t i = 0; i < record.media_count; ++i, name += std::strlen(name) + 1)
        names.push_back(name);
    EXPECT_EQ(*name, '\0'); // an empty name follows the last
    return names;
}

using Strings = std::vector<std::string>;

} // namespace

class Services : public SdkTest {};

TEST_F(Services, FeaturesLocalesAndEncodingsWithDefaults) {
    char** names = nullptr;
    char** values = nullptr;
    int32_t count = 0;
    ASSERT_EQ(FEAT_getFeatureList(mHandle, &names, &values, &count, nullptr), T10_OK);
    EXPECT_EQ(Texts(names, count),
              (Strings{"Pigmentor", "TwoWay", "JobNotes", "Imposition", "ColorPrinting"}));
    EXPECT_EQ(Texts(values, count), (Strings{"1", "1", "1", "0", "1"}));
    tovrane_free(names);
    tovrane_free(values);
    int dummy;
    EXPECT_EQ(FEAT_getFeatureList(mHandle, &names, &values, &count, &dummy), T10_ERR_PARAM);
    EXPECT_EQ(names, nullptr);
    EXPECT_EQ(count, 0);
    char* name = nullptr;
    EXPECT_EQ(TextOrStatus(LOCL_getDefaultLocale(mHandle, &name, nullptr), name), "en_US");
    EXPECT_EQ(TextOrStatus(LOCL_getDefaultEncoding(mHandle, &name, nullptr), name), "UTF-8");
    char** list = nullptr;
    ASSERT_EQ(LOCL_getLocales(mHandle, &list, &count, nullptr), T10_OK);
    EXPECT_EQ(Texts(list, count), (Strings{"en_US", "de_DE", "ja_JP"}));
    tovrane_free(list);
    ASSERT_EQ(LOCL_getEncodings(mHandle, &list, &count, nullptr), T10_OK);
    EXPECT_EQ(Texts(list, count), (Strings{"UTF-8", "MacRoman", "ISO-8859-1", "Shift_JIS"}));
    tovrane_free(list);
}

TEST_F(Services, DevicesAreCountedAndNamedSynchronouslyOrTicketed) {
    int32_t count = 0;
    ASSERT_EQ(DEV_getNumDevices(mHandle, &count, nullptr), T10_OK);
    EXPECT_EQ(count, 2);
    const Strings expected{"Tarvo C5000 Color Server", "Tarvo M200"};
    auto* ticket = static_cast<tovrane_ticket*>(tovrane_malloc(8));
    for (tovrane_ticket* t : {static_cast<tovrane_ticket*>(nullptr), ticket}) {
        char** names = nullptr;
        count = 0;
        ASSERT_EQ(DEV_getPrettyDeviceNameList(mHandle, &names, &count, t), T10_OK);
        if (t) {
            EXPECT_EQ(NB_block(t), T10_OK);
            t10_status result = -1;
            float percent = 0;
            EXPECT_EQ(NB_checkTicket(t, &percent, nullptr, &result), T10_OK);
            EXPECT_EQ(percent, 100.0f);
            EXPECT_EQ(result, T10_OK);
        }
        EXPECT_EQ(Texts(names, count), expected);
        tovrane_free(names);
    }
    EXPECT_EQ(NB_destroy(ticket), T10_OK);
}

TEST_F(Services, TrayRecordsAndMessages) {
    t10_tray_record* records = nullptr;
    int32_t count = 0;
    ASSERT_EQ(DEV_getTrayInfo(mHandle, 0, &records, &count, nullptr), T10_OK);
    ASSERT_EQ(count, 12);
    EXPECT_STREQ(records[0].name, "TRAY1");
    EXPECT_EQ(records[0].max_capacity, 550);
    EXPECT_EQ(records[0].current_level, 320);
    EXPECT_EQ(Media(records[0]), (Strings{"Plain", "Letter"}));
    EXPECT_STREQ(records[3].name, "BYPASS");
    EXPECT_EQ(records[3].max_capacity, 100);
    EXPECT_EQ(records[3].current_level, 120); // above capacity: reported as the server says
    EXPECT_EQ(Media(records[3]), (Strings{"Transparency", "Letter"}));
    tovrane_free(records);

    EXPECT_EQ(DEV_getTrayInfo(mHandle, 2, &records, &count, nullptr), T10_ERR_NOT_FOUND);
    EXPECT_EQ(records, nullptr);
    EXPECT_EQ(DEV_getTrayInfo(mHandle, -1, &records, &count, nullptr), T10_ERR_PARAM);

    // Device messages: the second may be missing.
    char* first = nullptr;
    char* second = nullptr;
    ASSERT_EQ(DEV_getMessages(mHandle, 0, &first, &second, nullptr), T10_OK);
    EXPECT_STREQ(second, "Yellow toner low");
    tovrane_free(first);
    tovrane_free(second);
    ASSERT_EQ(DEV_getMessages(mHandle, 1, &first, &second, nullptr), T10_OK);
    EXPECT_STREQ(first, "Ready to print");
    EXPECT_EQ(second, nullptr);
    tovrane_free(first);
    EXPECT_EQ(DEV_getMessages(mHandle, 9, &first, &second, nullptr), T10_ERR_NOT_FOUND);
}

TEST_F(Services, AttributesOfDevicesAndServer) {
    tovrane_session session = 0;
    ASSERT_EQ(ATTR_openSession(mHandle, &session, nullptr), T10_OK);
    ASSERT_NE(session, 0u);
    struct Case {
        int32_t scope;
        const char* name;
        const char* value;
        int32_t kind;
    } cases[] = {
        {0, "vidInputNumOfTrays", "12", T10_ATTR_INTEGER},
        {0, "vidInput4Name", "BYPASS", T10_ATTR_KEYWORD},
        {0, "vidMarkerColorant4Value", "Black", T10_ATTR_TEXT},
        {1, "vidInput1MediaType", "PLAIN", T10_ATTR_KEYWORD},
        {T10_SCOPE_SERVER, "vidServerState", "IDLE", T10_ATTR_KEYWORD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char** values = nullptr;
        int32_t* kinds = nullptr;
        int32_t count = 0;
        ASSERT_EQ(
            ATTR_getAttributeValues(&session, c.scope, c.name, &values, &kinds, &count, nullptr),
            T10_OK);
        ASSERT_EQ(count, 1);
        EXPECT_STREQ(values[0], c.value);
        EXPECT_EQ(kinds[0], c.kind);
        tovrane_free(values);
        tovrane_free(kinds);
    }
    char** values = nullptr;
    int32_t count = 0;
    EXPECT_EQ(ATTR_getAttributeValues(&session, 0, "vidInput4MediaName", &values, nullptr, &count,
                                      nullptr),
              T10_ERR_NOT_FOUND);
    EXPECT_EQ(ATTR_getAttributeValues(&session, 5, "vidInputNumOfTrays", &values, nullptr, &count,
                                      nullptr),
              T10_ERR_NOT_FOUND);
    EXPECT_EQ(ATTR_getAttributeValues(&session, -2, "x", &values, nullptr, &count, nullptr),
              T10_ERR_PARAM);

    int32_t* scopes = nullptr;
    ASSERT_EQ(ATTR_getScopes(&session, T10_SCOPE_SERVER, &scopes, &count, nullptr), T10_OK);
    EXPECT_EQ(std::vector<int32_t>(scopes, scopes + count), (std::vector<int32_t>{-1, 0, 1}));
    tovrane_free(scopes);
    ASSERT_EQ(ATTR_getScopes(&session, 1, &scopes, &count, nullptr), T10_OK);
    EXPECT_EQ(std::vector<int32_t>(scopes, scopes + count), std::vector<int32_t>{1});
    tovrane_free(scopes);

    char** keys = nullptr;
    int32_t* kinds = nullptr;
    ASSERT_EQ(ATTR_getAttributeKeys(&session, 1, "vidMarkerColorant", &keys, &values, &count,
                                    &kinds, nullptr),
              T10_OK);
    EXPECT_EQ(Texts(keys, count), (Strings{"vidMarkerColorantNumOfColorants",
                                           "vidMarkerColorant1Value", "vidMarkerColorant2Value",
                                           "vidMarkerColorant3Value", "vidMarkerColorant4Value"}));
    EXPECT_EQ(Texts(values, count), (Strings{"4", "Cyan", "Magenta", "Yellow", "Black"}));
    EXPECT_EQ(kinds[0], T10_ATTR_INTEGER);
    EXPECT_EQ(kinds[1], T10_ATTR_TEXT);
    tovrane_free(keys);
    tovrane_free(values);
    tovrane_free(kinds);

    EXPECT_EQ(ATTR_closeSession(&session, nullptr), T10_OK);
    EXPECT_EQ(session, 0u);
    EXPECT_EQ(ATTR_closeSession(&session, nullptr), T10_ERR_BAD_SESSION);
    EXPECT_EQ(ATTR_getScopes(&session, 0, &scopes, &count, nullptr), T10_ERR_BAD_SESSION);
}

TEST_F(Services, SessionsAreTypedAndEndWithTheirHandle) {
    tovrane_session jobs = 0;
    auto* ticket = static_cast<tovrane_ticket*>(tovrane_malloc(8));
    ASSERT_EQ(JOBM_openSession(mHandle, &jobs, ticket), T10_OK);
    ASSERT_EQ(NB_block(ticket), T10_OK);
    EXPECT_EQ(NB_destroy(ticket), T10_OK);
    ASSERT_NE(jobs, 0u);
    int32_t count = -1;
    EXPECT_EQ(JOBM_getNumJobs(&jobs, &count, nullptr), T10_OK);
    EXPECT_EQ(count, 3);
    int32_t* scopes = nullptr;
    EXPECT_EQ(ATTR_getScopes(&jobs, 0, &scopes, &count, nullptr), T10_ERR_BAD_SESSION);
    tovrane_session madeUp = 42;
    EXPECT_EQ(JOBM_getNumJobs(&madeUp, &count, nullptr), T10_ERR_BAD_SESSION);

    EXPECT_EQ(INIT_disconnectFromServer(mHandle, nullptr), T10_OK);
    EXPECT_EQ(JOBM_getNumJobs(&jobs, &count, nullptr), T10_ERR_NOT_CONNECTED);
    EXPECT_EQ(JOBM_closeSession(&jobs, nullptr), T10_OK); // closing still works
    EXPECT_EQ(JOBM_openSession(mHandle, &jobs, nullptr), T10_ERR_NOT_CONNECTED);
    EXPECT_EQ(jobs, 0u);
}

namespace {

/// The text of (context, key), or the status as text when the look-up fails.
std::string Lookup(tovrane_session& session, const char* context, const char* key) {
    char* text = nullptr;
    return TextOrStatus(LOCL_getStringWithContext(&session, context, key, &text, nullptr), text);
}

} // namespace

TEST_F(Services, StringsWithAndWithoutContext) {
    tovrane_session session = 0;
    ASSERT_EQ(LOCL_openSession(mHandle, 0, "de_DE", "", &session, nullptr), T10_OK);
    EXPECT_EQ(Lookup(session, nullptr, "*QVSimulation"), "CMYK-Simulation");
    EXPECT_EQ(Lookup(session, "", "*QVSimulation"), "CMYK-Simulation");
    EXPECT_EQ(Lookup(session, "*QVSimulation", "MATCHCOPY"), "Wie Kopie");
    EXPECT_EQ(Lookup(session, nullptr, "MATCHCOPY"), "status 13"); // no fallback between contexts
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);

    // Language numbers pick the server's locales; 0 with no locale is the default.
    ASSERT_EQ(LOCL_openSession(mHandle, 3, "de_DE", nullptr, &session, nullptr), T10_OK);
    EXPECT_EQ(Lookup(session, "vidInput4Name", "BYPASS"), "手差しトレイ");
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);
    ASSERT_EQ(LOCL_openSession(mHandle, 0, "", nullptr, &session, nullptr), T10_OK);
    EXPECT_EQ(Lookup(session, nullptr, "DL_SWOP_C5PLAIN"), "SWOP to C5000 Plain");
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);

    EXPECT_EQ(LOCL_openSession(mHandle, 4, "", "", &session, nullptr), T10_ERR_NOT_FOUND);
    EXPECT_EQ(LOCL_openSession(mHandle, 0, "fr_FR", "", &session, nullptr), T10_ERR_NOT_FOUND);
    EXPECT_EQ(LOCL_openSession(mHandle, 0, "", "EBCDIC", &session, nullptr), T10_ERR_NOT_FOUND);
    EXPECT_EQ(LOCL_openSession(mHandle, -1, "", "", &session, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(session, 0u);
}

TEST_F(Services, StringsArriveInTheSessionsEncoding) {
    tovrane_session session = 0;
    ASSERT_EQ(LOCL_openSession(mHandle, 0, "de_DE", "ISO-8859-1", &session, nullptr), T10_OK);
    EXPECT_EQ(Lookup(session, nullptr, "*QVRGBOtherWtPt"), "Wei\xDFpunkt");
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);

    ASSERT_EQ(LOCL_openSession(mHandle, 0, "ja_JP", "Shift_JIS", &session, nullptr), T10_OK);
    EXPECT_EQ(Lookup(session, "vidInput1Name", "TRAY1"), "\x83\x67\x83\x8C\x83\x43"
                                                         "1");
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);

    ASSERT_EQ(LOCL_openSession(mHandle, 0, "ja_JP", "MacRoman", &session, nullptr), T10_OK);
    EXPECT_EQ(Lookup(session, "vidInput1Name", "TRAY1"), "status 15"); // no kana in Mac Roman
    EXPECT_EQ(Lookup(session, "*QVRGBOtherGamma", "2.2"), "status 13");
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);
}

TEST_F(Services, CachedStringsNeedNoRequest) {
    tovrane_session session = 0;
    auto* ticket = static_cast<tovrane_ticket*>(tovrane_malloc(8));
    ASSERT_EQ(LOCL_openSession(mHandle, 0, "en_US", "UTF-8", &session, ticket), T10_OK);
    ASSERT_EQ(NB_block(ticket), T10_OK);
    EXPECT_EQ(NB_destroy(ticket), T10_OK);
    ASSERT_EQ(LOCL_cacheStrings(&session, nullptr), T10_OK);
    EXPECT_EQ(mServer->Stop(), 0); // a clean shutdown
    EXPECT_EQ(Lookup(session, "*QVPureBlack", "BLACKRICHON"), "Rich Black");
    EXPECT_EQ(Lookup(session, nullptr, "COVER"), "Cover Stock");
    EXPECT_EQ(Lookup(session, nullptr, "NOT-THERE"), "status 13");
    EXPECT_EQ(LOCL_cacheStrings(&session, nullptr), T10_ERR_CONNECT);
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);
}
