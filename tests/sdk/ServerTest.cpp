// tovrane-server from the outside: malformed and unknown requests, concurrent clients, and
// (ServerLoad, left out of the memcheck run) load and attack, all on loopback and bounded in
// count and time: slow and idle connections, bursts, oversized requests of every form, and
// SIGTERM while clients hold connections open. Normal clients must be served throughout.
#include "HostileServer.h"
#include "LoopbackSocket.h"
#include "SdkTest.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace {

/// A POST of `body` to `path` that asks the server to close the connection after it.
std::string Post(const std::string& path, const std::string& body) {
    return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
           "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

/// One normal SDK call on a fresh connection: its status and how long it took.
t10_status TimedCall(int port, long& elapsedMs, int32_t timeout = 3) {
    auto start = std::chrono::steady_clock::now();
    t10_status status = T10_OK;
    tovrane_server* handle = ConnectTo(port, timeout, &status);
    if (handle) {
        char** names = nullptr;
        int32_t count = 0;
        status = DEV_getPrettyDeviceNameList(handle, &names, &count, nullptr);
        tovrane_free(names);
        INIT_disconnectFromServer(handle, nullptr);
    }
    elapsedMs = ElapsedMs(start);
    return status;
}

} // namespace

TEST(Server, RefusesOversizedMalformedAndUnknownRequests) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    std::string reply = ExchangeRaw(server.Port(), Post("/v1/jobs", std::string(70000, ' ')));
    EXPECT_EQ(reply.rfind("HTTP/1.1 413", 0), 0u) << reply.substr(0, 40);
    reply = ExchangeRaw(server.Port(), Post("/v1/trays", R"({"device":"first"})"));
    EXPECT_EQ(reply.rfind("HTTP/1.1 400", 0), 0u);
    EXPECT_NE(reply.find(R"("status":1)"), std::string::npos);
    reply = ExchangeRaw(server.Port(), Post("/v1/print", "{}"));
    EXPECT_EQ(reply.rfind("HTTP/1.1 404", 0), 0u);
    EXPECT_NE(reply.find(R"("status":14)"), std::string::npos);
    // Not HTTP at all: refused, and the connection is kept for a next request.
    reply = ExchangeRaw(server.Port(), "NONSENSE\r\n\r\n");
    EXPECT_EQ(reply.rfind("HTTP/1.1 400", 0), 0u);
    // And it still answers.
    reply = ExchangeRaw(server.Port(), Post("/v1/jobs", "{}"));
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

TEST(ServerLoad, SlowAndIdleConnectionsDoNotKeepNormalClientsWaiting) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    // 200 clients that trickle their heads a byte at a time, and 60 idle ones.
    std::vector<int> slow, idle;
    for (int i = 0; i < 200; ++i)
        slow.push_back(DialLoopback(server.Port()));
    for (int i = 0; i < 60; ++i)
        idle.push_back(DialLoopback(server.Port()));
    const std::string head = "POST /v1/hello HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ";
    auto start = std::chrono::steady_clock::now();
    size_t byte = 0;
    long worst = 0;
    int calls = 0;
    // Normal calls while the slow ones trickle, for about two seconds.
    while (ElapsedMs(start) < 2000) {
        for (int fd : slow)
            send(fd, &head[byte % head.size()], 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        ++byte;
        long elapsed = 0;
        EXPECT_EQ(TimedCall(server.Port(), elapsed), T10_OK);
        worst = std::max(worst, elapsed);
        ++calls;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_GE(calls, 10);
    EXPECT_LT(worst, 1000);

    // A head that does not arrive within the server's deadline costs its connection.
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    int dropped = 0;
    for (int fd : slow) {
        send(fd, "x", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        char c;
        pollfd poller{fd, POLLIN, 0};
        if (poll(&poller, 1, 1000) > 0 && recv(fd, &c, 1, MSG_DONTWAIT) <= 0)
            ++dropped;
    }
    EXPECT_EQ(dropped, 200);
    for (int fd : slow)
        close(fd);
    for (int fd : idle)
        close(fd);
    EXPECT_EQ(server.Stop(), 0);
    ExpectAllReleased();
}

TEST(ServerLoad, ABurstOfAHundredSimultaneousCallsIsServedWhole) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    tovrane_server* handle = ConnectTo(server.Port());
    ASSERT_NE(handle, nullptr);
    constexpr int kCalls = 100;
    std::vector<tovrane_ticket> tickets(kCalls);
    std::vector<char**> names(kCalls, nullptr);
    std::vector<int32_t> counts(kCalls, 0);
    for (int i = 0; i < kCalls; ++i)
        ASSERT_EQ(DEV_getPrettyDeviceNameList(handle, &names[i], &counts[i], &tickets[i]), T10_OK);
    int failed = 0;
    for (int i = 0; i < kCalls; ++i) {
        EXPECT_EQ(NB_block(&tickets[i]), T10_OK);
        float percent = 0;
        int32_t state = 0;
        t10_status result = -1;
        EXPECT_EQ(NB_checkTicket(&tickets[i], &percent, &state, &result), T10_OK);
        failed += result != T10_OK || counts[i] != 2;
        EXPECT_EQ(NB_cancel(&tickets[i]), T10_OK);
        tovrane_free(names[i]);
    }
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);

    // And a hundred clients connecting at the same moment, each on its own connection: every
    // one is answered, none waits for a connection to be retried.
    std::vector<std::thread> clients;
    std::atomic<int> ready{0}, failures{0};
    std::atomic<long> worst{0};
    const std::string hello = Post("/v1/hello", R"({"protocol":1})");
    for (int i = 0; i < kCalls; ++i)
        clients.emplace_back([&] {
            ++ready;
            while (ready.load() < kCalls)
                std::this_thread::yield();
            auto start = std::chrono::steady_clock::now();
            std::string answer = ExchangeRaw(server.Port(), hello);
            if (answer.rfind("HTTP/1.1 200", 0) != 0)
                ++failures;
            long elapsed = ElapsedMs(start);
            long seen = worst.load();
            while (elapsed > seen && !worst.compare_exchange_weak(seen, elapsed)) {
            }
        });
    for (std::thread& client : clients)
        client.join();
    EXPECT_EQ(failures.load(), 0);
    // A refused connection would be retried by the kernel only after a second.
    EXPECT_LT(worst.load(), 1000);
    EXPECT_EQ(server.Stop(), 0);
    ExpectAllReleased();
}

TEST(ServerLoad, OversizedRequestsAreRefusedAtOnceWithoutGrowth) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    long before = StatusKiB("VmRSS:", server.Pid());
    ASSERT_GT(before, 0);
    const std::string hello = "POST /v1/hello HTTP/1.1\r\nHost: x\r\n";
    const std::string chunked = hello + "Transfer-Encoding: chunked\r\n\r\n";
    const struct {
        std::string head, repeat;
        size_t limitBytes;
        const char* answer;
    } floods[] = {
        // A chunked body that would go on for 256 MiB.
        {chunked, "10000\r\n" + std::string(65536, ' ') + "\r\n", 256u << 20, "413"},
        // A million headers, long and short.
        {hello, std::string(7000, 'A') + ": b\r\n", 1000000u * 8, "431"},
        {hello, "X: y\r\n", 1000000u * 6, "431"},
        // An announced 256 MiB body, refused before a byte of it is sent.
        {hello + "Content-Length: 268435456\r\nExpect: 100-continue\r\n\r\n",
         std::string(65536, ' '), 0, "413"},
        // A chunk announced past the bound.
        {chunked + "fffffff\r\n", std::string(65536, ' '), 1u << 20, "413"},
    };
    for (const auto& flood : floods) {
        bool closed = false;
        std::string answer =
            ExchangeRaw(server.Port(), flood.head, flood.repeat, flood.limitBytes, &closed);
        EXPECT_EQ(answer.rfind(std::string("HTTP/1.1 ") + flood.answer, 0), 0u)
            << answer.substr(0, 40);
        EXPECT_TRUE(closed) << flood.head;
    }

    long after = StatusKiB("VmRSS:", server.Pid());
    EXPECT_LT(after - before, 4096) << before << " KiB before, " << after << " KiB after";
    long elapsed = 0;
    EXPECT_EQ(TimedCall(server.Port(), elapsed), T10_OK);
    EXPECT_EQ(server.Stop(), 0);
    ExpectAllReleased();
}

TEST(ServerLoad, SigtermEndsTheServerWithinASecondWhateverItsClientsDo) {
    TestServer server({"--latency-ms", "3000"});
    ASSERT_TRUE(server.Started());
    // A trickling client, an idle one, one waiting for its (slow) answer, and one in the
    // middle of a large body.
    int trickling = DialLoopback(server.Port());
    send(trickling, "POST /v1/hel", 12, MSG_NOSIGNAL);
    int idle = DialLoopback(server.Port());
    int waiting = DialLoopback(server.Port());
    std::string hello = "POST /v1/hello HTTP/1.1\r\nHost: x\r\nContent-Length: 14\r\n\r\n"
                        R"({"protocol":1})";
    send(waiting, hello.data(), hello.size(), MSG_NOSIGNAL);
    int sending = DialLoopback(server.Port());
    std::string part = "POST /v1/hello HTTP/1.1\r\nHost: x\r\nContent-Length: 60000\r\n\r\n{";
    send(sending, part.data(), part.size(), MSG_NOSIGNAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.Stop(), 0);
    EXPECT_LT(ElapsedMs(start), 1000);
    for (int fd : {trickling, idle, waiting, sending})
        close(fd);
}
