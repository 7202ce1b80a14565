// The transport against peers that misbehave on purpose: endless or oversized heads, huge
// and endless bodies, trickling bytes, and connections closed between requests. Every call
// must end with a non-zero status within its timeout, and the client's memory must stay
// bounded by the protocol's reply bound, whatever the peer sends.
#include "HostileServer.h"
#include "SdkTest.h"

#include <Protocol.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

#if defined(__SANITIZE_THREAD__)
// ThreadSanitizer's shadow of every byte touched swamps the resident size.
constexpr bool kResidentSizeTells = false;
#else
constexpr bool kResidentSizeTells = true;
#endif

/// Resets the peak resident size so that VmHWM then shows the peak of what follows.
void ResetPeak() {
    if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

/// Runs a connect against `script` and returns its status; `growthKiB` is how far the
/// process's peak resident size rose above where it stood before, `elapsedMs` the time.
t10_status ConnectAgainst(HostileServer::Script script, int timeout, long& growthKiB,
                          long& elapsedMs) {
    HostileServer peer(std::move(script));
    long before = StatusKiB("VmRSS:");
    ResetPeak();
    auto start = std::chrono::steady_clock::now();
    t10_status status = T10_OK;
    tovrane_server* handle = ConnectTo(peer.Port(), timeout, &status);
    elapsedMs = ElapsedMs(start);
    growthKiB = StatusKiB("VmHWM:") - before;
    if (handle)
        INIT_disconnectFromServer(handle, nullptr);
    return status;
}

/// A script: the request head, then `head`, then `repeat` written until the peer is gone.
HostileServer::Script Flood(std::string head, std::string repeat) {
    return [head, repeat](int fd, const std::atomic<bool>& stop) {
        if (!HostileServer::ReadRequestHead(fd) ||
            !HostileServer::WriteAll(fd, head.data(), head.size()))
            return;
        while (!stop.load() && !repeat.empty() &&
               HostileServer::WriteAll(fd, repeat.data(), repeat.size())) {
        }
        // Then nothing more: wait for the peer to hang up.
        char c;
        while (!stop.load() && recv(fd, &c, 1, 0) > 0) {
        }
    };
}

const char kHelloBody[] =
    R"({"status":0,"server":"S","protocol":1,"default":"en_US","locales":["en_US"]})";

} // namespace

TEST(Transport, EndlessOrOversizedRepliesEndTheCallWithinTheReplyBound) {
    const long small = 4096;
    const long bound = static_cast<long>(tovrane::protocol::kMaxReplyBytes / 1024) + 12 * 1024;
    const std::string ok = "HTTP/1.1 200 OK\r\n";
    const std::string chunked = ok + "Transfer-Encoding: chunked\r\n\r\n";
    const std::string spaces(65536, ' ');
    // A body within the bound that is one list of millions of tiny values.
    std::string list = R"({"status":0,"devices":[)";
    while (list.size() < tovrane::protocol::kMaxReplyBytes - 16)
        list += "0,";
    list += "0]}";
    const struct {
        std::string head, repeat;
        long maxGrowthKiB;
        bool prompt; // ends well before the call's timeout
    } peers[] = {
        // Long header lines, tiny ones, and one endless line before any status line: the
        // head's byte and line bounds end them.
        {ok, "X-Fill: " + std::string(4000, 'x') + "\r\n", small, true},
        {ok, "A: b\r\n", small, true},
        {"HTTP/1.1 200 ", std::string(65536, 'y'), small, false},
        // An announced length past the bound: refused before a byte of the body is held.
        {ok + "Content-Length: 100000000000\r\n\r\n", spaces, small, false},
        // Endless chunks, and an endless body without a length: cut at the bound.
        {chunked, "10000\r\n" + spaces + "\r\n", bound, true},
        {ok + "\r\n", spaces, bound, false},
        // The list: refused while it is parsed, before the values are built.
        {ok + "Content-Length: " + std::to_string(list.size()) + "\r\n\r\n" + list, "", bound,
         false},
        // A chunk whose size does not even fit a number.
        {chunked + "7fffffffffffffffffff\r\n", spaces, small, false},
    };
    for (const auto& peer : peers) {
        SCOPED_TRACE(peer.head.substr(0, 60));
        long growth = 0, elapsed = 0;
        EXPECT_EQ(ConnectAgainst(Flood(peer.head, peer.repeat), 15, growth, elapsed),
                  T10_ERR_PROTOCOL);
        if (kResidentSizeTells) {
            EXPECT_LT(growth, peer.maxGrowthKiB);
        }
        if (peer.prompt) {
            EXPECT_LT(elapsed, 5000);
        }
    }
    ExpectAllReleased();
}

TEST(Transport, ATricklingPeerTimesOutWithinTheTimeout) {
    long growth = 0, elapsed = 0;
    HostileServer::Script trickle = [](int fd, const std::atomic<bool>& stop) {
        if (!HostileServer::ReadRequestHead(fd))
            return;
        const char head[] = "HTTP/1.1 200 OK\r\nX-Slow: ";
        HostileServer::WriteAll(fd, head, sizeof head - 1);
        for (int i = 0; i < 100 && !stop.load(); ++i) {
            if (!HostileServer::WriteAll(fd, "z", 1))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    };
    EXPECT_EQ(ConnectAgainst(trickle, 1, growth, elapsed), T10_ERR_TIMEOUT);
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 2000);
    ExpectAllReleased();
}

TEST(Transport, OneKeptConnectionCarriesTheCallsAndIsRemadeWhenThePeerClosesIt) {
    std::atomic<int> accepted{0};
    std::atomic<int> answered{0};
    std::atomic<int> closeAfter{0}; // answers per connection before closing it (0: never)
    HostileServer peer([&](int fd, const std::atomic<bool>& stop) {
        ++accepted;
        std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                            "Content-Length: " +
                            std::to_string(sizeof kHelloBody - 1) + "\r\n\r\n" + kHelloBody;
        for (int n = 1; !stop.load(); ++n) {
            if (!HostileServer::ReadRequestHead(fd))
                return;
            // The bodies are small; drop what came with the head.
            char body[512];
            recv(fd, body, sizeof body, MSG_DONTWAIT);
            ++answered; // before the answer, which the client may act on at once
            if (!HostileServer::WriteAll(fd, reply.data(), reply.size()))
                return;
            if (closeAfter.load() != 0 && n >= closeAfter.load())
                return; // closed while the client keeps it
        }
    });
    tovrane_server* handle = ConnectTo(peer.Port());
    ASSERT_NE(handle, nullptr);
    char* locale = nullptr;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(LOCL_getDefaultLocale(handle, &locale, nullptr), T10_OK);
        EXPECT_STREQ(locale, "en_US");
        tovrane_free(locale);
    }
    EXPECT_EQ(accepted.load(), 1);
    EXPECT_EQ(answered.load(), 6);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);

    // A peer that closes each connection after one answer: every call still succeeds, on a
    // fresh connection made when the kept one turns out closed.
    accepted = 0;
    closeAfter = 1;
    handle = ConnectTo(peer.Port());
    ASSERT_NE(handle, nullptr);
    for (int i = 0; i < 5; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(LOCL_getDefaultLocale(handle, &locale, nullptr), T10_OK) << i;
        tovrane_free(locale);
    }
    EXPECT_EQ(accepted.load(), 6);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    ExpectAllReleased();
}

TEST(Transport, AStringTableOutOfOrderAndWithRepeatsIsLookedUpAsTheServerSentIt) {
    // One body answers every request: hello, the session open and the string table, whose
    // pairs come unsorted and one of them twice (the text sent last counts).
    const std::string body =
        R"({"status":0,"server":"S","protocol":1,"locale":"en_US","encoding":"UTF-8",)"
        R"("strings":[{"context":null,"key":"K","text":"first"},{"context":"C","key":"A",)"
        R"("text":"x"},{"context":null,"key":"K","text":"second"},{"key":"B","text":"b"},)"
        R"({"context":"C","key":"B","text":"cb"}]})";
    HostileServer peer([&](int fd, const std::atomic<bool>& stop) {
        std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n"
                            "Content-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body;
        while (!stop.load() && HostileServer::ReadRequestHead(fd)) {
            char ignored[512];
            recv(fd, ignored, sizeof ignored, MSG_DONTWAIT);
            if (!HostileServer::WriteAll(fd, reply.data(), reply.size()))
                return;
        }
    });
    tovrane_server* handle = ConnectTo(peer.Port());
    ASSERT_NE(handle, nullptr);
    tovrane_session session = 0;
    ASSERT_EQ(LOCL_openSession(handle, 0, "en_US", "UTF-8", &session, nullptr), T10_OK);
    auto lookup = [&](const char* context, const char* key) {
        char* text = nullptr;
        return TextOrStatus(LOCL_getStringWithContext(&session, context, key, &text, nullptr),
                            text);
    };
    const std::string notFound = "status " + std::to_string(T10_ERR_NOT_FOUND);
    EXPECT_EQ(lookup(nullptr, "K"), "second");
    EXPECT_EQ(lookup("", "B"), "b");
    EXPECT_EQ(lookup("C", "A"), "x");
    EXPECT_EQ(lookup("C", "B"), "cb");
    EXPECT_EQ(lookup(nullptr, "A"), notFound);
    EXPECT_EQ(lookup("C", "K"), notFound);
    EXPECT_EQ(lookup("D", "A"), notFound);
    EXPECT_EQ(LOCL_closeSession(&session, nullptr), T10_OK);
    EXPECT_EQ(INIT_disconnectFromServer(handle, nullptr), T10_OK);
    ExpectAllReleased();
}
