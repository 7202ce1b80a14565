#include "SdkTest.h"

#include <cstdlib>

using tovrane::client::RunningOperationCount;

TEST(Connection, ConnectsAndDisconnectsSynchronously) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    t10_status status = -1;
    tovrane_server* handle = ConnectTo(server.Port(), 5, &status);
    EXPECT_EQ(status, T10_OK);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(handle->connected, 0u);
    EXPECT_EQ(INIT_handleIsValid(handle, nullptr), T10_OK);
    int dummy = 0;
    EXPECT_EQ(INIT_setTimeout(handle, 0, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(INIT_setTimeout(handle, 3601, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(INIT_setTimeout(handle, 5, &dummy), T10_ERR_PARAM);
    EXPECT_EQ(INIT_setTimeout(handle, 3600, nullptr), T10_OK);

    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    EXPECT_EQ(handle->connected, 0u); // readable until tovrane_unload
    EXPECT_EQ(INIT_handleIsValid(handle, nullptr), T10_ERR_NOT_CONNECTED);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_ERR_NOT_CONNECTED);
    int32_t count = 7;
    EXPECT_EQ(DEV_getNumDevices(handle, &count, nullptr), T10_ERR_NOT_CONNECTED);
    EXPECT_EQ(count, 0);
    tovrane_unload();
    // The stale pointer is only compared, never read: ASan would catch a read.
    EXPECT_EQ(INIT_handleIsValid(handle, nullptr), T10_ERR_NOT_CONNECTED);
    ExpectAllReleased();
}

TEST(Connection, RefusesBadArguments) {
    tovrane_server* handle = reinterpret_cast<tovrane_server*>(0x1);
    tovrane_ticket ticket{};
    auto connect = [&](const char* server, const char* transport, int32_t port, int32_t timeout,
                       int32_t version, int32_t nonBlocking, tovrane_ticket* t) {
        return INIT_connect(server, nullptr, nullptr, nullptr, nullptr, transport, port, timeout, 1,
                            version, nonBlocking, &handle, t);
    };
    EXPECT_EQ(connect(nullptr, nullptr, 1, 1, 1, 0, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(handle, nullptr); // cleared even when refused
    EXPECT_EQ(connect("127.0.0.1", "smtp", 1, 1, 1, 0, nullptr), T10_ERR_UNSUPPORTED);
    EXPECT_EQ(connect("127.0.0.1", nullptr, 1, 1, 2, 0, nullptr), T10_ERR_UNSUPPORTED);
    EXPECT_EQ(connect("127.0.0.1", nullptr, 70000, 1, 1, 0, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(connect("127.0.0.1", nullptr, 1, 0, 1, 0, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(connect("127.0.0.1", nullptr, 1, 1, 1, 1, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(connect("127.0.0.1", nullptr, 1, 1, 1, 0, &ticket), T10_ERR_PARAM);
    std::string longName(300, 'a');
    EXPECT_EQ(connect(longName.c_str(), nullptr, 1, 1, 1, 0, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(INIT_connect("127.0.0.1", nullptr, nullptr, nullptr, nullptr, nullptr, 1, 1, 1, 1, 0,
                           nullptr, nullptr),
              T10_ERR_PARAM);

    int dummy = 0;
    EXPECT_EQ(INIT_setTimeout(nullptr, 5, nullptr), T10_ERR_NOT_CONNECTED);
    EXPECT_EQ(INIT_handleIsValid(nullptr, &dummy), T10_ERR_PARAM);
    EXPECT_EQ(INIT_disconnectFromServer(nullptr, &dummy), T10_ERR_PARAM);
    ExpectAllReleased();
}

TEST(Connection, TakesThePortFromTheEnvironmentAndResolvesNames) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    tovrane_server* handle = nullptr;
    ASSERT_EQ(setenv("TOVRANE_SERVER_PORT", std::to_string(server.Port()).c_str(), 1), 0);
    EXPECT_EQ(INIT_connect("localhost", nullptr, nullptr, nullptr, nullptr, T10_TRANSPORT_RPC, -1,
                           -1, 5, 1, 0, &handle, nullptr),
              T10_OK);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);

    setenv("TOVRANE_SERVER_PORT", "96x1", 1);
    EXPECT_EQ(INIT_connect("127.0.0.1", nullptr, nullptr, nullptr, nullptr, nullptr, -1, -1, 5, 1,
                           0, &handle, nullptr),
              T10_ERR_PARAM);
    EXPECT_EQ(handle, nullptr);
    unsetenv("TOVRANE_SERVER_PORT");
    ExpectAllReleased();
}

TEST(Tickets, TicketedConnectCompletesAndReportsDone) {
    TestServer server({"--latency-ms", "300"});
    ASSERT_TRUE(server.Started());
    auto* ticket = static_cast<tovrane_ticket*>(tovrane_malloc(8));
    ASSERT_NE(ticket, nullptr);
    tovrane_server* handle = nullptr;
    ASSERT_EQ(INIT_connect("127.0.0.1", nullptr, nullptr, nullptr, nullptr, "trpc", server.Port(),
                           -1, 10, 1, 1, &handle, ticket),
              T10_OK);
    float percent = -1.0f;
    int32_t state = -1;
    t10_status result = -1;
    EXPECT_EQ(NB_checkTicket(ticket, &percent, &state, &result), T10_OK);
    EXPECT_EQ(state, T10_TICKET_PENDING); // the server waits 300 ms before answering
    EXPECT_GE(percent, 0.0f);
    EXPECT_LT(percent, 100.0f);
    EXPECT_EQ(result, T10_OK);
    EXPECT_EQ(handle, nullptr); // written only when done

    EXPECT_EQ(NB_block(ticket), T10_OK);
    EXPECT_EQ(NB_checkTicket(ticket, &percent, &state, &result), T10_OK);
    EXPECT_EQ(percent, 100.0f);
    EXPECT_EQ(state, T10_TICKET_DONE);
    EXPECT_EQ(result, T10_OK);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(handle->connected, 0u);
    EXPECT_EQ(NB_destroy(ticket), T10_OK);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    ExpectAllReleased();
}

TEST(Tickets, CancelAbandonsThePendingOperation) {
    TestServer server({"--latency-ms", "400"});
    ASSERT_TRUE(server.Started());
    tovrane_ticket ticket{}; // any 8 bytes of the caller's will do
    tovrane_server* handle = nullptr;
    ASSERT_EQ(INIT_connect("127.0.0.1", nullptr, nullptr, nullptr, nullptr, nullptr, server.Port(),
                           -1, 1, 1, 1, &handle, &ticket),
              T10_OK);
    EXPECT_EQ(RunningOperationCount(), 1u);
    // Once started on its own thread (the server holds the reply), the connect is abandoned
    // while it runs.
    float percent = 0.0f;
    for (int i = 0; i < 2000 && percent == 0.0f; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(NB_checkTicket(&ticket, &percent, nullptr, nullptr), T10_OK);
    }
    EXPECT_GT(percent, 0.0f);
    EXPECT_EQ(NB_cancel(&ticket), T10_OK);
    percent = 50.0f;
    t10_status result = T10_OK;
    EXPECT_EQ(NB_checkTicket(&ticket, &percent, nullptr, &result), T10_ERR_BAD_TICKET);
    EXPECT_EQ(percent, 0.0f);
    EXPECT_EQ(result, T10_ERR_BAD_TICKET);
    EXPECT_EQ(NB_block(&ticket), T10_ERR_BAD_TICKET);
    EXPECT_EQ(NB_cancel(&ticket), T10_ERR_BAD_TICKET);
    ExpectAllReleased();        // waits for the abandoned thread: it must end and free everything
    EXPECT_EQ(handle, nullptr); // the discarded result never reached the caller
}

TEST(Tickets, ReusingATicketCancelsItsEarlierOperation) {
    TestServer server({"--latency-ms", "200"});
    ASSERT_TRUE(server.Started());
    tovrane_ticket ticket{};
    tovrane_server* first = nullptr;
    tovrane_server* second = nullptr;
    ASSERT_EQ(INIT_connect("127.0.0.1", nullptr, nullptr, nullptr, nullptr, nullptr, server.Port(),
                           -1, 1, 1, 1, &first, &ticket),
              T10_OK);
    ASSERT_EQ(INIT_connect("127.0.0.1", nullptr, nullptr, nullptr, nullptr, nullptr, server.Port(),
                           -1, 1, 1, 1, &second, &ticket),
              T10_OK);
    EXPECT_EQ(NB_block(&ticket), T10_OK);
    int32_t state = -1;
    EXPECT_EQ(NB_checkTicket(&ticket, nullptr, &state, nullptr), T10_OK);
    EXPECT_EQ(state, T10_TICKET_DONE);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(INIT_disconnectFromServer(second, nullptr), T10_OK);
    ExpectAllReleased();
    EXPECT_EQ(first, nullptr);
}

TEST(Tickets, BadTicketsAreRefused) {
    EXPECT_EQ(NB_checkTicket(nullptr, nullptr, nullptr, nullptr), T10_ERR_PARAM);
    EXPECT_EQ(NB_block(nullptr), T10_ERR_PARAM);
    EXPECT_EQ(NB_cancel(nullptr), T10_ERR_PARAM);
    EXPECT_EQ(NB_destroy(nullptr), T10_ERR_PARAM);
    tovrane_ticket fresh{};
    EXPECT_EQ(NB_checkTicket(&fresh, nullptr, nullptr, nullptr), T10_ERR_BAD_TICKET);
    tovrane_ticket madeUp{12345};
    EXPECT_EQ(NB_block(&madeUp), T10_ERR_BAD_TICKET);
    // Destroying a fresh ticket just frees it.
    EXPECT_EQ(NB_destroy(static_cast<tovrane_ticket*>(tovrane_malloc(8))), T10_OK);
    EXPECT_EQ(tovrane_malloc(0), nullptr);
}
