// The connection: synchronous and ticketed connects, the lazily made service objects, the
// session base's idle progress and what destruction leaves behind.
#include "BrivelleTest.h"

#include <AsyncTicket.h>
#include <ColrSession.h>
#include <Localization.h>
#include <PigmentorSession.h>
#include <ServerFeatures.h>
#include <ServerDevice.h>
#include <ServerInfo.h>

#include <chrono>
#include <thread>

class BrivelleConnection : public ServerTest {};

// The objects a failed connect leaves are checked in FailureTest; these are the rest.
TEST_F(BrivelleConnection, AFreshObjectHasNothing) {
    Brivelle empty;
    EXPECT_FALSE(empty.IsConnected());
    EXPECT_EQ(empty.GetLocalizationObject(), nullptr);
    EXPECT_EQ(empty.GetColrObject("x"), nullptr);
    EXPECT_EQ(empty.GetEncodings(), nullptr);
    EXPECT_FALSE(empty.SetLanguage("en_US"));
    EXPECT_FALSE(empty.SetEncoding("UTF-8"));
    EXPECT_EQ(empty.SetServerTimeout(3), 0); // stored only
    EXPECT_EQ(empty.GetServerTimeout(), 3);
    float percent = -1;
    EXPECT_TRUE(empty.IsDone(&percent)); // nothing pending

    Brivelle named("printserver", 7);
    named.SetTargetServer(nullptr);
    EXPECT_EQ(named.GetTargetServer(), nullptr);
}

TEST_F(BrivelleConnection, ConnectsSynchronouslyAndMakesEachServiceOnce) {
    StartServer();
    Brivelle& connection = Connect(5);
    EXPECT_TRUE(connection.IsConnected());
    ASSERT_NE(connection.GetServerHandle(), nullptr);
    EXPECT_NE(connection.GetServerHandle()->connected, 0u);
    EXPECT_EQ(connection.SetServerTimeout(4), 0);
    EXPECT_EQ(connection.SetServerTimeout(0), T10_ERR_PARAM); // the SDK's range is 1-3600

    ServerFeatures* features = connection.GetFeaturesObject();
    ServerInfo* info = connection.GetServerInfoObject();
    Localization* localization = connection.GetLocalizationObject();
    PigmentorSession* defaults = connection.GetPigmentorObject(kC5000);
    ColrSession* profiles = connection.GetColrObject(kC5000);
    ASSERT_TRUE(features && info && localization && defaults && profiles);
    EXPECT_EQ(connection.GetFeaturesObject(), features);
    EXPECT_EQ(connection.GetServerInfoObject(), info);
    EXPECT_EQ(connection.GetLocalizationObject(), localization);
    EXPECT_EQ(connection.GetPigmentorObject("other"), defaults);
    EXPECT_EQ(connection.GetColrObject("other"), profiles);
    EXPECT_EQ(features->GetOwner(), &connection);
    EXPECT_STREQ(defaults->GetDeviceName(), kC5000);
    EXPECT_EQ(profiles->GetColrDeviceName(), nullptr); // only its opens name a device
    EXPECT_FALSE(defaults->IsOpen());
}

TEST_F(BrivelleConnection, AFailedConnectAfterASuccessfulOneStillAnswersTrue) {
    StartServer();
    Brivelle& connection = Connect();
    connection.SetTargetServer("127.0.0.1");
    setenv("TOVRANE_SERVER_PORT", std::to_string(UnusedPort()).c_str(), 1);
    EXPECT_TRUE(connection.ConnectToServer(false, true));
    EXPECT_EQ(connection.GetServerHandle(), nullptr); // the earlier connection was closed
    EXPECT_TRUE(connection.IsConnected());
}

TEST_F(BrivelleConnection, TicketedConnectCompletesThroughIsDone) {
    StartServer({"--latency-ms", "200"});
    mConnection = std::make_unique<Brivelle>("127.0.0.1", 3);
    Brivelle& connection = *mConnection;
    ASSERT_TRUE(connection.ConnectToServer(true, false));
    EXPECT_EQ(connection.GetConnectState(), Brivelle::kConnectPending);
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(connection.GetFeaturesObject(), nullptr); // nothing is made before it is up
    float percent = -1;
    EXPECT_FALSE(connection.IsDone(&percent));
    EXPECT_GE(percent, 0.0f);
    EXPECT_LT(percent, 100.0f);
    ASSERT_TRUE(PollUntil([&] { return connection.IsDone(&percent); }));
    EXPECT_EQ(percent, 100.0f);
    EXPECT_TRUE(connection.IsConnected());
    EXPECT_EQ(connection.GetConnectState(), Brivelle::kConnectIdle);
    ASSERT_NE(connection.GetServerHandle(), nullptr);
    EXPECT_EQ(INIT_handleIsValid(connection.GetServerHandle(), nullptr), T10_OK);
    ServerFeatures* features = connection.GetFeaturesObject();
    ASSERT_NE(features, nullptr);
    EXPECT_EQ(features->GetFeatureCount(), 5);
}

TEST_F(BrivelleConnection, DestroyingAPendingTicketedConnectAbandonsIt) {
    StartServer({"--latency-ms", "400"});
    {
        Brivelle connection("127.0.0.1", 0);
        ASSERT_TRUE(connection.ConnectToServer(true, false));
        EXPECT_FALSE(connection.IsDone(nullptr));
    } // ExpectAllReleased in TearDown waits for the abandoned connect and finds nothing left
}

TEST_F(BrivelleConnection, SessionBaseReportsIdleProgressAndTheLastError) {
    StartServer();
    Brivelle& connection = Connect();
    ServerFeatures* features = connection.GetFeaturesObject();
    ASSERT_NE(features, nullptr);
    EXPECT_EQ(features->GetState(), SessionBasedClass::kStateIdle);
    float percent = -1;
    long error = -1;
    EXPECT_TRUE(features->IsDone(&percent, &error));
    EXPECT_EQ(percent, 100.0f);
    EXPECT_EQ(error, 0);

    // Features need no session: the calls succeed without a request.
    EXPECT_EQ(features->OpenSession(), 0);
    EXPECT_EQ(features->CloseSession(), 0);
    AsyncTicket* ticket = features->OpenSessionAsync();
    ASSERT_NE(ticket, nullptr);
    ASSERT_NE(ticket->GetTicket(), nullptr);
    EXPECT_EQ(ticket->GetLastResult(), 0);
    ticket->BlockUntilDone(); // no request on it: nothing completes
    EXPECT_EQ(ticket->GetLastResult(), 0);
    delete ticket;
}

TEST_F(BrivelleConnection, AnInlineTicketOpenIsPolledWithIsDone) {
    StartServer({"--latency-ms", "100"});
    Brivelle& connection = Connect();
    PigmentorSession* defaults = connection.GetPigmentorObject(nullptr);
    ASSERT_NE(defaults, nullptr);
    AsyncTicket* unused = defaults->OpenSessionAsync(kC5000);
    ASSERT_NE(unused, nullptr);
    EXPECT_EQ(defaults->GetState(), SessionBasedClass::kStateOpenPending);
    EXPECT_STREQ(defaults->GetDeviceName(), kC5000);
    float percent = 0;
    long error = -1;
    ASSERT_TRUE(PollUntil([&] { return defaults->IsDone(&percent, &error); }));
    EXPECT_EQ(percent, 100.0f);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(defaults->GetState(), SessionBasedClass::kStateIdle);
    EXPECT_NE(defaults->GetSession(), 0u); // the SDK filled the session in
    // The open completed: the session counts as open, so closing it really closes it and
    // the SDK holds no session afterwards.
    EXPECT_TRUE(defaults->IsOpen());
    size_t before = tovrane::client::SessionCount();
    EXPECT_EQ(defaults->CloseSession(), 0);
    EXPECT_FALSE(defaults->IsOpen());
    EXPECT_EQ(tovrane::client::SessionCount(), before - 1);
    delete unused;

    // The same for the colour-profile session; a failed open is not marked.
    ColrSession* profiles = connection.GetColrObject(nullptr);
    ASSERT_NE(profiles, nullptr);
    delete profiles->OpenSessionAsync("no such device");
    ASSERT_TRUE(PollUntil([&] { return profiles->IsDone(&percent, &error); }));
    EXPECT_NE(error, 0);
    EXPECT_FALSE(profiles->IsOpen());
    delete profiles->OpenSessionAsync(kC5000);
    ASSERT_TRUE(PollUntil([&] { return profiles->IsDone(&percent, &error); }));
    EXPECT_TRUE(profiles->IsOpen());
    EXPECT_EQ(profiles->CloseSession(), 0);
    EXPECT_EQ(tovrane::client::SessionCount(), before - 1);
}

TEST_F(BrivelleConnection, ObjectsMadeBeforeAReconnectReadFromTheNewConnection) {
    StartServer();
    Brivelle& connection = Connect();
    ServerInfo* info = connection.GetServerInfoObject();
    ASSERT_NE(info, nullptr);
    ASSERT_GT(info->GetNumberOfDevices(), 0);
    OpenLocalization();
    Localization* localization = connection.GetLocalizationObject();
    ASSERT_NE(localization, nullptr);
    ASSERT_TRUE(connection.ConnectToServer(false, false));
    ASSERT_TRUE(connection.GetServerHandle()->connected);

    // The device made over the first connection reads its trays and colorants over the
    // second; texts still come localised, and the job count is there.
    ServerDevice* device = info->FetchDeviceInfo(0);
    ASSERT_NE(device, nullptr);
    EXPECT_GT(device->GetTrayCount(), 0);
    EXPECT_GT(device->GetColorCount(), 0);
    EXPECT_EQ(info->GetNumberOfJobs(), 3);
    EXPECT_EQ(TakeText(localization->GetKeywordString("*QVOutProfile", nullptr)),
              "Output Profile");

    // A ticketed reconnect rebinds them as well.
    ASSERT_TRUE(connection.ConnectToServer(true, false));
    ASSERT_TRUE(PollUntil([&] { return connection.IsDone(nullptr); }));
    device->UpdateDeviceInfo();
    char first[ServerDevice::kMessageSize], second[ServerDevice::kMessageSize];
    EXPECT_EQ(device->GetMessages(first, second), 0);
    EXPECT_EQ(info->GetNumberOfJobs(), 3);
    ServerDevice* again = info->FetchDeviceInfo(0);
    EXPECT_GT(again->GetTrayCount(), 0);
}

TEST_F(BrivelleConnection, ASynchronousConnectReplacesAPendingTicketedOne) {
    StartServer({"--latency-ms", "300"});
    mConnection = std::make_unique<Brivelle>("127.0.0.1", 0);
    ASSERT_TRUE(mConnection->ConnectToServer(true, false));
    ASSERT_TRUE(mConnection->ConnectToServer(false, false));
    EXPECT_EQ(mConnection->GetConnectState(), Brivelle::kConnectIdle);
    tovrane_server* handle = mConnection->GetServerHandle();
    ASSERT_NE(handle, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(400)); // the abandoned one ends
    EXPECT_EQ(mConnection->GetServerHandle(), handle);
    EXPECT_TRUE(mConnection->IsDone(nullptr));
} // TearDown: the abandoned connect left no second connection behind
