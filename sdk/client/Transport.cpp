//===- Transport.cpp - One request and its reply over HTTP/1.1 ------------===//
#include "Transport.h"

#include "HttpMessage.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace tovrane::client {

using tovrane::HttpMessage;

namespace {

using Clock = std::chrono::steady_clock;

/// Milliseconds left until `deadline` (0 when it has passed).
int MillisecondsLeft(Clock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > 3600000 ? 3600000 : static_cast<int>(left);
}

/// Waits until `fd` is ready for `events` or the deadline passes; false on the deadline.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd poller{fd, events, 0};
        int ready = poll(&poller, 1, MillisecondsLeft(deadline));
        if (ready > 0)
            return true;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            return true; // let the following call report the fault
    }
}

/// A new non-blocking socket connected to the server, or -1 with `status` set.
int Open(const Connection& connection, Clock::time_point deadline, t10_status& status) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(connection.port));
    if (inet_pton(AF_INET, connection.address.c_str(), &address.sin_addr) != 1) {
        status = T10_ERR_CONNECT;
        return -1;
    }
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        status = T10_ERR_NO_MEMORY;
        return -1;
    }
    // Requests and replies are small and alternate: without this every reuse of the
    // connection waits for the peer's delayed acknowledgement.
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    int made = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    if (made != 0 && errno == EINPROGRESS) {
        if (!WaitFor(fd, POLLOUT, deadline)) {
            close(fd);
            status = T10_ERR_TIMEOUT;
            return -1;
        }
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        made = error == 0 ? 0 : -1;
    }
    if (made != 0) {
        close(fd);
        status = T10_ERR_CONNECT;
        return -1;
    }
    // Connected: from here on receives block, bounded by the socket's receive timeout (see
    // Arm), which spares a poll before every read; sends ask not to block (MSG_DONTWAIT).
    if (fcntl(fd, F_SETFL, 0) != 0) {
        close(fd);
        status = T10_ERR_IO;
        return -1;
    }
    status = T10_OK;
    return fd;
}

/// A socket of an exchange and the receive timeout set on it (0: none, or unknown).
struct Socket {
    int fd = -1;
    int armedMs = 0;
};

/// Makes the next blocking receive on `socket` end by the deadline: sets the receive timeout
/// to the time left, unless the one set already ends no later than a millisecond past the
/// deadline (a kept socket's usually does: it was set to the whole timeout, so one setting
/// serves many exchanges). A timeout set shorter than needed only ends a receive early,
/// which Receive then re-arms. False once the deadline has passed.
bool Arm(Socket& socket, Clock::time_point deadline) {
    int left = MillisecondsLeft(deadline);
    if (left <= 0)
        return false;
    if (socket.armedMs > 0 && socket.armedMs <= left + 1)
        return true;
    timeval limit{left / 1000, (left % 1000) * 1000};
    if (setsockopt(socket.fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0)
        return true; // the receive reports the fault
    socket.armedMs = left;
    return true;
}

/// Writes all of `data` before the deadline.
t10_status SendAll(int fd, const std::string& data, Clock::time_point deadline) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n =
            send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline))
                return T10_ERR_TIMEOUT;
            continue;
        }
        return T10_ERR_IO;
    }
    return T10_OK;
}

/// Reads the reply into `reply` before the deadline, each read into `buffer` (which holds
/// a body read in place until the reply is decoded).
t10_status Receive(Socket& socket, HttpMessage& reply, char* buffer, size_t bufferSize,
                   Clock::time_point deadline, Progress* progress) {
    for (;;) {
        if (!Arm(socket, deadline))
            return T10_ERR_TIMEOUT;
        ssize_t n = recv(socket.fd, buffer, bufferSize, 0);
        if (n > 0) {
            if (reply.Feed(buffer, static_cast<size_t>(n)) != HttpMessage::Result::Ok)
                return T10_ERR_PROTOCOL;
            uint64_t total = reply.AnnouncedLength();
            const size_t received = reply.BodyView().size();
            if (progress && total > 0 && received <= total)
                progress->Report(10.0f +
                                 85.0f * static_cast<float>(received) / static_cast<float>(total));
            if (reply.Done())
                return T10_OK;
            continue;
        }
        if (n == 0) {
            HttpMessage::Result ended = reply.End();
            return ended == HttpMessage::Result::Ok          ? T10_OK
                   : ended == HttpMessage::Result::Truncated ? T10_ERR_IO
                                                             : T10_ERR_PROTOCOL;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // The receive timeout ran out: at the deadline Arm says so, before it (a timeout
            // set for a shorter exchange) it is set again to the time left.
            socket.armedMs = 0;
            continue;
        }
        return T10_ERR_IO;
    }
}

std::string RequestHead(const Connection& connection, protocol::Endpoint endpoint,
                        size_t bodyLength) {
    std::string head;
    head.reserve(160);
    head.append("POST /v1/").append(protocol::EndpointName(endpoint)).append(" HTTP/1.1\r\n");
    head.append("Host: ").append(connection.address).append(":");
    head.append(std::to_string(connection.port)).append("\r\n");
    head.append("Content-Type: application/json\r\nContent-Length: ");
    head.append(std::to_string(bodyLength)).append("\r\n\r\n");
    return head;
}

} // namespace

t10_status Exchange(Connection& connection, protocol::Endpoint endpoint, const std::string& body,
                    ExchangeReply& reply, Progress* progress) {
    reply.copied_.clear();
    reply.body_ = {};
    const int timeout = connection.timeoutSeconds.load();
    const auto deadline = Clock::now() + std::chrono::seconds(timeout);
    const std::string request = RequestHead(connection, endpoint, body.size()) + body;
    if (progress)
        progress->Report(10.0f);

    // A kept socket the server has closed meanwhile fails before any byte of the reply; the
    // request is then sent once more on a fresh socket (every request may be repeated: the
    // server keeps no state between them). A kept socket is not probed before use: that
    // would cost a call per request, and a closed one is found out by the exchange itself.
    // One holding bytes past its last reply is never kept (HttpMessage::KeepAlive); bytes
    // a server sends later, unasked, read as a malformed or wrong reply, checked as any is.
    for (;;) {
        Socket socket;
        socket.fd = connection.TakeIdleSocket(socket.armedMs);
        bool reused = socket.fd >= 0;
        t10_status status = T10_OK;
        if (!reused && (socket.fd = Open(connection, deadline, status)) < 0)
            return status;
        HttpMessage answer(HttpMessage::Kind::Reply, protocol::kMaxReplyBytes,
                           HttpMessage::BodyStorage::InPlace);
        status = SendAll(socket.fd, request, deadline);
        if (status == T10_OK)
            status =
                Receive(socket, answer, reply.buffer_, sizeof reply.buffer_, deadline, progress);
        if (status != T10_OK) {
            close(socket.fd);
            if (reused && answer.Empty() && (status == T10_ERR_IO) && MillisecondsLeft(deadline) > 0)
                continue;
            return status;
        }
        if (answer.KeepAlive())
            connection.KeepIdleSocket(socket.fd, socket.armedMs);
        else
            close(socket.fd);
        if (answer.StatusCode() != 200)
            return T10_ERR_SERVER;
        // A body read in place lies in reply.buffer_, which the last read filled.
        if (answer.BodyInPlace()) {
            reply.body_ = answer.BodyView();
        } else {
            reply.copied_.swap(answer.Body());
            reply.body_ = reply.copied_;
        }
        return T10_OK;
    }
}

} // namespace tovrane::client
