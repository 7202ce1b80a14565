// The bounded HTTP/1.1 reader both sides use: framing, keep-alive and every bound, fed in
// every split a network could produce.
#include <HttpMessage.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using tovrane::HttpMessage;
using Result = HttpMessage::Result;

namespace {

/// Feeds `bytes` in two parts split at `split`; the last result.
Result FeedSplit(HttpMessage& message, const std::string& bytes, size_t split) {
    Result result = message.Feed(bytes.data(), split);
    if (result != Result::Ok)
        return result;
    return message.Feed(bytes.data() + split, bytes.size() - split);
}

} // namespace

TEST(HttpMessage, RepliesReadTheSameWhereverTheBytesAreSplit) {
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "5;ext=1\r\nhello\r\n6\r\n world\r\n0\r\nTrailer: x\r\n\r\n";
    const std::string sized = "HTTP/1.1 200 OK\r\ncontent-length: 11\r\n\r\nhello world";
    // Read in place, a body is a view of the bytes fed when it arrives whole in one part,
    // and copied when it is split.
    for (auto storage : {HttpMessage::BodyStorage::Copied, HttpMessage::BodyStorage::InPlace}) {
        for (const std::string& bytes : {chunked, sized}) {
            for (size_t split = 0; split <= bytes.size(); ++split) {
                HttpMessage reply(HttpMessage::Kind::Reply, 1024, storage);
                ASSERT_EQ(FeedSplit(reply, bytes, split), Result::Ok) << split;
                ASSERT_TRUE(reply.Done()) << split;
                EXPECT_EQ(reply.BodyView(), "hello world") << split;
                EXPECT_EQ(reply.StatusCode(), 200);
                EXPECT_TRUE(reply.KeepAlive());
                const bool whole =
                    bytes == sized && (split <= bytes.size() - 11 || split == bytes.size());
                EXPECT_EQ(reply.BodyInPlace(),
                          storage == HttpMessage::BodyStorage::InPlace && whole)
                    << split;
                if (reply.BodyInPlace()) {
                    EXPECT_EQ(reply.BodyView().data(), bytes.data() + bytes.size() - 11);
                }
            }
        }
    }
    // Keep-alive: 1.1 keeps unless told, 1.0 closes unless told, a body up to the end
    // closes, and bytes past the reply spoil the connection.
    HttpMessage closing(HttpMessage::Kind::Reply, 1024);
    std::string bytes = "HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    EXPECT_EQ(closing.Feed(bytes.data(), bytes.size()), Result::Ok);
    EXPECT_TRUE(closing.Done());
    EXPECT_EQ(closing.StatusCode(), 404);
    EXPECT_FALSE(closing.KeepAlive());
    HttpMessage old(HttpMessage::Kind::Reply, 1024);
    bytes = "HTTP/1.0 200 OK\r\n\r\nabc";
    EXPECT_EQ(old.Feed(bytes.data(), bytes.size()), Result::Ok);
    EXPECT_FALSE(old.Done());
    EXPECT_EQ(old.End(), Result::Ok);
    EXPECT_EQ(old.Body(), "abc");
    EXPECT_FALSE(old.KeepAlive());
    for (auto storage : {HttpMessage::BodyStorage::Copied, HttpMessage::BodyStorage::InPlace}) {
        HttpMessage extra(HttpMessage::Kind::Reply, 1024, storage);
        bytes = "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nxy";
        EXPECT_EQ(extra.Feed(bytes.data(), bytes.size()), Result::Ok);
        EXPECT_TRUE(extra.Done());
        EXPECT_EQ(extra.BodyView(), "x");
        EXPECT_FALSE(extra.KeepAlive());
    }
    HttpMessage cut(HttpMessage::Kind::Reply, 1024);
    bytes = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc";
    EXPECT_EQ(cut.Feed(bytes.data(), bytes.size()), Result::Ok);
    EXPECT_EQ(cut.End(), Result::Truncated);
}

TEST(HttpMessage, EveryBoundIsEnforcedWhileReading) {
    auto feed = [](HttpMessage::Kind kind, size_t maxBody, const std::string& bytes) {
        HttpMessage message(kind, maxBody);
        return message.Feed(bytes.data(), bytes.size());
    };
    const auto reply = HttpMessage::Kind::Reply;
    // The head: bytes, then lines.
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nX: " + std::string(16384, 'a')),
              Result::HeadTooLarge);
    std::string lines = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 101; ++i)
        lines += "A: b\r\n";
    EXPECT_EQ(feed(reply, 100, lines), Result::HeadTooLarge);
    // The body: announced, chunked, to the end, and a chunk size past any number.
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nContent-Length: 101\r\n\r\n"),
              Result::BodyTooLarge);
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"), Result::Ok);
    EXPECT_EQ(feed(reply, 100,
                   "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n40\r\n" +
                       std::string(64, 'x') + "\r\n40\r\n"),
              Result::BodyTooLarge);
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\n\r\n" + std::string(101, 'x')),
              Result::BodyTooLarge);
    EXPECT_EQ(feed(reply, 100,
                   "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10000000000000000\r\n"),
              Result::BodyTooLarge);
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                                   std::string(300, '1')),
              Result::Malformed);
    // Framing the reader cannot trust.
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n"),
              Result::Malformed);
    EXPECT_EQ(feed(reply, 100,
                   "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nTransfer-Encoding: chunked\r\n\r\n"),
              Result::Malformed);
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n"),
              Result::Malformed);
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 100 Continue\r\n\r\n"), Result::Malformed);
    EXPECT_EQ(feed(reply, 100, "HTTP/2 200 OK\r\n\r\n"), Result::Malformed);
    EXPECT_EQ(feed(reply, 100, "HTTP/1.1 200 OK\r\nno colon\r\n\r\n"), Result::Malformed);
}

TEST(HttpMessage, RequestsNameTheirMethodAndPathAndMayAskToContinue) {
    HttpMessage request(HttpMessage::Kind::Request, 64);
    std::string bytes = "POST /v1/hello HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\n"
                        "Content-Length: 2\r\n\r\n";
    EXPECT_EQ(request.Feed(bytes.data(), bytes.size()), Result::Ok);
    EXPECT_TRUE(request.HeadDone());
    EXPECT_FALSE(request.Done());
    EXPECT_TRUE(request.ExpectsContinue());
    EXPECT_EQ(request.Method(), "POST");
    EXPECT_EQ(request.Path(), "/v1/hello");
    EXPECT_EQ(request.Feed("{}", 2), Result::Ok);
    EXPECT_TRUE(request.Done());
    EXPECT_EQ(request.Body(), "{}");

    HttpMessage bare(HttpMessage::Kind::Request, 64);
    bytes = "\r\nGET / HTTP/1.0\r\n\r\n"; // a stray blank line first, no body
    EXPECT_EQ(bare.Feed(bytes.data(), bytes.size()), Result::Ok);
    EXPECT_TRUE(bare.Done());
    EXPECT_FALSE(bare.KeepAlive());
    for (const char* wrong : {"NONSENSE\r\n\r\n", "POST v1 HTTP/1.1\r\n\r\n",
                              "POST /v1 HTTP/9.9\r\n\r\n", "P@ST /v1 HTTP/1.1\r\n\r\n"}) {
        HttpMessage bad(HttpMessage::Kind::Request, 64);
        EXPECT_EQ(bad.Feed(wrong, std::strlen(wrong)), Result::Malformed) << wrong;
    }
}
