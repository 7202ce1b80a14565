//===- HttpFloor.cpp - The least any client could do per request ----------===//
#include "HttpFloor.h"

#include <HttpMessage.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace {

/// One socket to the server with TCP_NODELAY, or -1.
int ConnectRaw(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

/// One request and its whole reply on `fd`; false when the exchange failed.
bool RoundTrip(int fd, const std::string& request) {
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size()))
        return false;
    tovrane::HttpMessage reply(tovrane::HttpMessage::Kind::Reply, 1 << 20);
    char buffer[4096];
    while (!reply.Done()) {
        ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0 || reply.Feed(buffer, static_cast<size_t>(got)) !=
                            tovrane::HttpMessage::Result::Ok)
            return false;
    }
    return reply.KeepAlive();
}

} // namespace

bool RunHttpFloor(int port, size_t requests) {
    static const std::string body = R"({"protocol":1})";
    static const std::string request = "POST /v1/hello HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                       "Content-Type: application/json\r\nContent-Length: " +
                                       std::to_string(body.size()) + "\r\n\r\n" + body;
    int fd = ConnectRaw(port);
    bool ok = fd >= 0;
    for (size_t i = 0; ok && i < requests; ++i)
        ok = RoundTrip(fd, request);
    if (fd >= 0)
        close(fd);
    return ok;
}
