// A server that is down, slow beyond the timeout, failing or answering garbage: every call
// gives a failure status (or its documented empty result) within the timeout, and nothing
// is left behind once the connection is gone.
#include "BrivelleTest.h"

#include <ColrSession.h>
#include <Localization.h>
#include <PigmentorSession.h>
#include <ServerFeatures.h>
#include <ServerInfo.h>

#include <tqrv_color.h>

#include <chrono>
#include <thread>

namespace {

/// Every service of `connection` (connected to a server whose requests all fail with
/// `expected`) reports the failure.
void ExpectEveryServiceFails(Brivelle& connection, int expected) {
    ServerFeatures* features = connection.GetFeaturesObject();
    ASSERT_NE(features, nullptr);
    EXPECT_FALSE(features->GetFeaturesList());
    EXPECT_EQ(features->GetLastError(), expected);
    EXPECT_EQ(features->GetFeatureCount(), -1);
    EXPECT_FALSE(features->SupportsPigmentor());

    ServerInfo* info = connection.GetServerInfoObject();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetNumberOfDevices(), -1);
    EXPECT_FALSE(info->GetPrettyNames());
    EXPECT_EQ(info->GetPrettyNameIndex(0), nullptr);
    EXPECT_EQ(info->FetchDeviceInfo(0), nullptr);
    EXPECT_EQ(info->GetNumberOfJobs(), 0);

    Localization* localization = connection.GetLocalizationObject();
    ASSERT_NE(localization, nullptr);
    EXPECT_EQ(localization->OpenSession(0), expected);
    EXPECT_EQ(Texts(connection.GetLanguages()), std::vector<std::string>{});
    EXPECT_EQ(Texts(connection.GetEncodings()), std::vector<std::string>{});
    EXPECT_STREQ(localization->GetCurrentLocale(), "en_US");
    EXPECT_FALSE(connection.SetLanguage("de_DE"));
    EXPECT_EQ(localization->GetKeywordString("*QVSimulation", "x"), nullptr);

    PigmentorSession* defaults = connection.GetPigmentorObject(kC5000);
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults->OpenSession(), expected);
    EXPECT_NE(defaults->GetColorSettings(), 0);
    EXPECT_EQ(defaults->KeywordObjectBegin(), defaults->KeywordObjectEnd());

    ColrSession* profiles = connection.GetColrObject(nullptr);
    ASSERT_NE(profiles, nullptr);
    EXPECT_EQ(profiles->OpenSession(kC5000), expected);
    char id[256] = "stale";
    EXPECT_FALSE(profiles->DescriptionToProfileID("SRGB", id));
    EXPECT_STREQ(id, "");
    CFStringRef display = nullptr;
    EXPECT_FALSE(profiles->GetDeviceLinkNameByKeywords("SRGB", "TRVC5COATED", id, &display));
    EXPECT_EQ(display, nullptr);
}

} // namespace

class BrivelleFailure : public ServerTest {};

TEST_F(BrivelleFailure, AServerThatIsDownRefusesTheConnectAtOnce) {
    setenv("TOVRANE_SERVER_PORT", std::to_string(UnusedPort()).c_str(), 1);
    mConnection = std::make_unique<Brivelle>("127.0.0.1", 2);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(mConnection->ConnectToServer(false, false));
    EXPECT_LT(ElapsedMs(start), 1000);
    EXPECT_FALSE(mConnection->IsConnected());
    EXPECT_EQ(mConnection->GetServerHandle(), nullptr);
    EXPECT_EQ(mConnection->GetFeaturesObject(), nullptr);
    EXPECT_EQ(mConnection->GetServerInfoObject(), nullptr);
    EXPECT_EQ(mConnection->GetPigmentorObject(kC5000), nullptr);
    EXPECT_EQ(mConnection->GetLanguages(), nullptr);

    Brivelle nowhere(nullptr, 0); // no address at all
    EXPECT_FALSE(nowhere.ConnectToServer(false, false));
    EXPECT_FALSE(nowhere.ConnectToServer(true, false));
}

TEST_F(BrivelleFailure, ATicketedConnectToAServerThatIsDownLeavesEveryCallFailing) {
    setenv("TOVRANE_SERVER_PORT", std::to_string(UnusedPort()).c_str(), 1);
    mConnection = std::make_unique<Brivelle>("127.0.0.1", 0);
    ASSERT_TRUE(mConnection->ConnectToServer(true, false)); // started
    ASSERT_TRUE(PollUntil([&] { return mConnection->IsDone(nullptr); }));
    // The connect's own status is not looked at: the connection counts as up, with no handle.
    EXPECT_TRUE(mConnection->IsConnected());
    EXPECT_EQ(mConnection->GetServerHandle(), nullptr);
    ExpectEveryServiceFails(*mConnection, T10_ERR_NOT_CONNECTED);
}

TEST_F(BrivelleFailure, EachKindOfFaultGivesItsStatusOnEveryService) {
    const std::pair<const char*, int> modes[] = {
        {"all", T10_ERR_SERVER}, {"garbage", T10_ERR_PROTOCOL}, {"close", T10_ERR_IO}};
    for (const auto& [mode, expected] : modes) {
        SCOPED_TRACE(mode);
        StartServer({"--fail", mode});
        Connect(2);
        ExpectEveryServiceFails(*mConnection, expected);
        mConnection.reset();
        mServer.reset();
        ExpectAllReleased();
    }
}

TEST_F(BrivelleFailure, ASlowServerFailsEachCallWithinTheTimeout) {
    StartServer({"--latency-ms", "1800"});
    auto start = std::chrono::steady_clock::now();
    Brivelle& connection = Connect(1); // the connect waits out the latency; then 1 s applies
    EXPECT_GE(ElapsedMs(start), 1700);
    ServerFeatures* features = connection.GetFeaturesObject();
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(features->GetFeatureCount(), -1);
    EXPECT_EQ(features->GetLastError(), T10_ERR_TIMEOUT);
    EXPECT_LT(ElapsedMs(start), 1750);

    start = std::chrono::steady_clock::now();
    ServerInfo* info = connection.GetServerInfoObject(); // reads the device count
    EXPECT_LT(ElapsedMs(start), 1750);
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(info->GetNumberOfDevices(), -1); // still unknown: asked again
    EXPECT_LT(ElapsedMs(start), 1750);

    start = std::chrono::steady_clock::now();
    PigmentorSession* defaults = connection.GetPigmentorObject(kC5000);
    EXPECT_EQ(defaults->OpenSession(), TQRV_ERR_TIMEOUT);
    EXPECT_LT(ElapsedMs(start), 1750);
}
