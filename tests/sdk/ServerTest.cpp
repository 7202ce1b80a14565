#include "SdkTest.h"

#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

/// Sends `request` as it is to the loopback server and returns what comes back until the
/// server closes the connection or is silent for `quietMs` (at most 64 KiB).
std::string RawExchange(int port, const std::string& request, int quietMs = 2000) {
    const int fd = DialLoopback(port);
    std::string reply;
    if (fd >= 0 && send(fd, request.data(), request.size(), MSG_NOSIGNAL) >= 0) {
        char buffer[4096];
        pollfd poller{fd, POLLIN, 0};
        while (reply.size() < 65536 && poll(&poller, 1, quietMs) > 0) {
            ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            reply.append(buffer, static_cast<size_t>(got));
        }
    }
    if (fd >= 0)
        close(fd);
    return reply;
}

std::string Post(const std::string& path, const std::string& body) {
    return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
           "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

} // namespace

TEST(Server, RefusesOversizedMalformedAndUnknownRequests) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    std::string reply = RawExchange(server.Port(), Post("/v1/jobs", std::string(70000, ' ')));
    EXPECT_EQ(reply.rfind("HTTP/1.1 413", 0), 0u) << reply.substr(0, 40);
    reply = RawExchange(server.Port(), Post("/v1/trays", R"({"device":"first"})"));
    EXPECT_EQ(reply.rfind("HTTP/1.1 400", 0), 0u);
    EXPECT_NE(reply.find(R"("status":1)"), std::string::npos);
    reply = RawExchange(server.Port(), Post("/v1/print", "{}"));
    EXPECT_EQ(reply.rfind("HTTP/1.1 404", 0), 0u);
    EXPECT_NE(reply.find(R"("status":14)"), std::string::npos);
    // Not HTTP at all: refused, and the connection is kept for a next request.
    reply = RawExchange(server.Port(), "NONSENSE\r\n\r\n", 300);
    EXPECT_EQ(reply.rfind("HTTP/1.1 400", 0), 0u);
    // And it still answers.
    reply = RawExchange(server.Port(), Post("/v1/jobs", "{}"));
    EXPECT_EQ(reply.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(reply.find(R"({"count":3,"status":0})"), std::string::npos);
    EXPECT_EQ(server.Stop(), 0);
}

TEST(Server, ServesClientsConcurrently) {
    TestServer server({"--latency-ms", "500"});
    ASSERT_TRUE(server.Started());
    tovrane_server* handle = ConnectTo(server.Port());
    ASSERT_NE(handle, nullptr);
    constexpr int kCalls = 4;
    tovrane_ticket tickets[kCalls] = {};
    char** names[kCalls] = {};
    int32_t counts[kCalls] = {};
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i)
        ASSERT_EQ(DEV_getPrettyDeviceNameList(handle, &names[i], &counts[i], &tickets[i]), T10_OK);
    for (int i = 0; i < kCalls; ++i) {
        EXPECT_EQ(NB_block(&tickets[i]), T10_OK);
        EXPECT_EQ(NB_cancel(&tickets[i]), T10_OK); // done: forgets the record, keeps the outputs
        EXPECT_EQ(counts[i], 2);
        tovrane_free(names[i]);
    }
    // One after the other they would take 2 s.
    EXPECT_LT(ElapsedMs(start), 1500);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    ExpectAllReleased();
}
