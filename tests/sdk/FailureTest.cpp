#include "SdkTest.h"

#include <Protocol.h>

#include <map>

namespace {

using Statuses = std::map<std::string, int>;

/// Runs every network call of both libraries once on `handle`, checking that each failed
/// call left its outputs empty, and returns each call's status by name. Reads run on the
/// sessions the open calls gave (a zero word when an open failed).
Statuses RunEveryCall(tovrane_server* handle) {
    Statuses s;
    char** names = nullptr;
    char** values = nullptr;
    char* text = nullptr;
    char* other = nullptr;
    int32_t count = 0;
    int32_t* numbers = nullptr;
    t10_tray_record* trays = nullptr;
    // Frees what a call handed back, and checks a failed call handed back nothing.
    auto settle = [&](const char* name, int status) {
        s[name] = status;
        if (status != T10_OK) {
            EXPECT_TRUE(!names && !values && !text && !other && !numbers && !trays && count == 0)
                << name;
        }
        tovrane_free(names);
        tovrane_free(values);
        tovrane_free(text);
        tovrane_free(other);
        tovrane_free(numbers);
        tovrane_free(trays);
        names = values = nullptr;
        text = other = nullptr;
        numbers = nullptr;
        trays = nullptr;
        count = 0;
    };
    settle("FEAT_getFeatureList", FEAT_getFeatureList(handle, &names, &values, &count, nullptr));
    settle("DEV_getNumDevices", DEV_getNumDevices(handle, &count, nullptr));
    settle("DEV_getPrettyDeviceNameList",
           DEV_getPrettyDeviceNameList(handle, &names, &count, nullptr));
    {
        tovrane_ticket ticket{};
        t10_status result = -1;
        if (DEV_getPrettyDeviceNameList(handle, &names, &count, &ticket) == T10_OK &&
            NB_block(&ticket) == T10_OK)
            NB_checkTicket(&ticket, nullptr, nullptr, &result);
        settle("DEV_getPrettyDeviceNameList (ticket)", result);
    }
    settle("DEV_getTrayInfo", DEV_getTrayInfo(handle, 0, &trays, &count, nullptr));
    settle("DEV_getMessages", DEV_getMessages(handle, 0, &text, &other, nullptr));
    settle("LOCL_getDefaultLocale", LOCL_getDefaultLocale(handle, &text, nullptr));
    settle("LOCL_getLocales", LOCL_getLocales(handle, &names, &count, nullptr));
    settle("LOCL_getDefaultEncoding", LOCL_getDefaultEncoding(handle, &text, nullptr));
    settle("LOCL_getEncodings", LOCL_getEncodings(handle, &names, &count, nullptr));

    tovrane_session session = 0;
    s["ATTR_openSession"] = ATTR_openSession(handle, &session, nullptr);
    settle("ATTR_getAttributeValues", ATTR_getAttributeValues(&session, 0, "vidInputNumOfTrays",
                                                              &values, &numbers, &count, nullptr));
    settle("ATTR_getScopes", ATTR_getScopes(&session, -1, &numbers, &count, nullptr));
    settle("ATTR_getAttributeKeys",
           ATTR_getAttributeKeys(&session, 0, nullptr, &names, &values, &count, &numbers, nullptr));
    if (session) {
        EXPECT_EQ(ATTR_closeSession(&session, nullptr), T10_OK);
    }
    s["JOBM_openSession"] = JOBM_openSession(handle, &session, nullptr);
    settle("JOBM_getNumJobs", JOBM_getNumJobs(&session, &count, nullptr));
    if (session) {
        EXPECT_EQ(JOBM_closeSession(&session, nullptr), T10_OK);
    }
    s["LOCL_openSession"] = LOCL_openSession(handle, 0, "de_DE", "", &session, nullptr);
    settle("LOCL_getStringWithContext",
           LOCL_getStringWithContext(&session, nullptr, "*QVSimulation", &text, nullptr));
    s["LOCL_cacheStrings"] = LOCL_cacheStrings(&session, nullptr);
    if (session) {
        EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);
    }
    s["CLDF_openSession"] =
        CLDF_openSession(handle, "Tarvo M200", "", "", "", "", 2, &session, nullptr);
    if (session) {
        EXPECT_EQ(CLDF_closeSession(&session, nullptr), TQRV_OK);
    }
    s["COLR_openSession"] = COLR_openSession(handle, "Tarvo C5000 Color Server", "CSET", "GUEST",
                                             "en_US", "MacBrivelle", "", &session, nullptr);
    settle("ICCM_mapDescriptionToProfile",
           ICCM_mapDescriptionToProfile(&session, "SRGB", &text, nullptr));
    settle("ICCM_doesDeviceLinkProfileExist",
           ICCM_doesDeviceLinkProfileExist(&session, "TRV-RGB-SRGB", "TRV-C5-TRVC5COATED",
                                           0x7fffffff, &text, nullptr));
    if (session) {
        EXPECT_EQ(COLR_closeSession(&session, nullptr), TQRV_OK);
    }
    EXPECT_EQ(session, 0u);
    return s;
}

/// `--fail MODE:ENDPOINT` for every endpoint but hello and open_session.
std::vector<std::string> FailAllReads(const std::string& mode) {
    std::vector<std::string> arguments;
    for (int i = 0; i < tovrane::protocol::kEndpointCount; ++i) {
        auto endpoint = static_cast<tovrane::protocol::Endpoint>(i);
        if (endpoint == tovrane::protocol::Endpoint::Hello ||
            endpoint == tovrane::protocol::Endpoint::OpenSession)
            continue;
        arguments.push_back("--fail");
        arguments.push_back(mode + ":" + tovrane::protocol::EndpointName(endpoint));
    }
    return arguments;
}

const char* const kOpens[] = {"ATTR_openSession", "JOBM_openSession", "LOCL_openSession",
                              "COLR_openSession"};

bool IsOpen(const std::string& name) {
    for (const char* open : kOpens)
        if (name == open)
            return true;
    return false;
}

/// The calls on a session, which meet a zero session word once its open failed.
bool IsSessionRead(const std::string& name) {
    return name.rfind("ATTR_get", 0) == 0 || name == "JOBM_getNumJobs" ||
           name.rfind("LOCL_getString", 0) == 0 || name == "LOCL_cacheStrings" ||
           name.rfind("ICCM_", 0) == 0;
}

} // namespace

TEST(Failure, EachFaultGivesItsStatusOnEveryCall) {
    const std::pair<const char*, int> modes[] = {{"", T10_OK},
                                                 {"error", T10_ERR_SERVER},
                                                 {"garbage", T10_ERR_PROTOCOL},
                                                 {"close", T10_ERR_IO}};
    for (const auto& [mode, expected] : modes) {
        SCOPED_TRACE(mode);
        TestServer server(*mode ? FailAllReads(mode) : std::vector<std::string>{});
        ASSERT_TRUE(server.Started());
        tovrane_server* handle = ConnectTo(server.Port());
        ASSERT_NE(handle, nullptr);
        Statuses statuses = RunEveryCall(handle);
        EXPECT_EQ(statuses.size(), 23u);
        for (const auto& [name, status] : statuses)
            EXPECT_EQ(status, IsOpen(name) ? T10_OK : expected) << name;
        EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
        ExpectAllReleased();
    }
}

TEST(Failure, CatchAllFaultsSpareOnlyHello) {
    TestServer server({"--fail", "garbage"});
    ASSERT_TRUE(server.Started());
    tovrane_server* handle = ConnectTo(server.Port());
    ASSERT_NE(handle, nullptr);
    for (const auto& [name, status] : RunEveryCall(handle))
        EXPECT_EQ(status, IsSessionRead(name) ? T10_ERR_BAD_SESSION : T10_ERR_PROTOCOL) << name;
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    TestServer failingHello({"--fail", "hello"});
    ASSERT_TRUE(failingHello.Started());
    t10_status status = T10_OK;
    EXPECT_EQ(ConnectTo(failingHello.Port(), 5, &status), nullptr);
    EXPECT_EQ(status, T10_ERR_SERVER);
    ExpectAllReleased();
}

TEST(Failure, AServerThatIsDownRefusesEveryCall) {
    auto start = std::chrono::steady_clock::now();
    t10_status status = T10_OK;
    EXPECT_EQ(ConnectTo(UnusedPort(), 5, &status), nullptr);
    EXPECT_EQ(status, T10_ERR_CONNECT);
    EXPECT_LT(ElapsedMs(start), 1000);

    TestServer server;
    ASSERT_TRUE(server.Started());
    tovrane_server* handle = ConnectTo(server.Port());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(server.Stop(), 0);
    for (const auto& [name, value] : RunEveryCall(handle))
        EXPECT_EQ(value, IsSessionRead(name) ? T10_ERR_BAD_SESSION : T10_ERR_CONNECT) << name;
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    ExpectAllReleased();
}

TEST(Failure, ASlowServerTimesOutWithinTheTimeout) {
    TestServer server({"--latency-ms", "1800"});
    ASSERT_TRUE(server.Started());
    auto start = std::chrono::steady_clock::now();
    t10_status status = T10_OK;
    EXPECT_EQ(ConnectTo(server.Port(), 1, &status), nullptr);
    EXPECT_EQ(status, T10_ERR_TIMEOUT);
    EXPECT_GE(ElapsedMs(start), 950);
    EXPECT_LT(ElapsedMs(start), 1750); // the timeout and a margin, before the server answers

    tovrane_server* handle = ConnectTo(server.Port(), 4);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(INIT_setTimeout(handle, 1, nullptr), T10_OK);
    start = std::chrono::steady_clock::now();
    int32_t count = 9;
    EXPECT_EQ(DEV_getNumDevices(handle, &count, nullptr), T10_ERR_TIMEOUT);
    EXPECT_EQ(count, 0);
    EXPECT_LT(ElapsedMs(start), 1750);

    tovrane_ticket ticket{};
    char** names = nullptr;
    start = std::chrono::steady_clock::now();
    ASSERT_EQ(DEV_getPrettyDeviceNameList(handle, &names, &count, &ticket), T10_OK);
    EXPECT_EQ(NB_block(&ticket), T10_OK);
    EXPECT_LT(ElapsedMs(start), 1750);
    t10_status result = T10_OK;
    float percent = 0;
    EXPECT_EQ(NB_checkTicket(&ticket, &percent, nullptr, &result), T10_OK);
    EXPECT_EQ(result, T10_ERR_TIMEOUT);
    EXPECT_EQ(percent, 100.0f);
    EXPECT_EQ(names, nullptr);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    ExpectAllReleased();
}
