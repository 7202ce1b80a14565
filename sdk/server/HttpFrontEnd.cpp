//===- HttpFrontEnd.cpp - tovrane-server's HTTP listener ------------------===//
#include "HttpFrontEnd.h"

#include "HttpMessage.h"
#include "RequestDecoder.h"
#include "Service.h"

#include <t10.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tovrane::server {

namespace {

using Clock = std::chrono::steady_clock;

/// How long a refused request's connection is drained before it is closed, and how much of
/// it: closing with unread bytes would reset the connection and could lose the refusal.
constexpr std::chrono::milliseconds kDrainTime{1000};
constexpr size_t kDrainBytes = 1 << 20;

/// A reply body that is not JSON.
constexpr char kGarbage[] = "{\"status\": 0, \"garb";

const char* Reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Payload Too Large";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Unknown";
    }
}

} // namespace

/// One accepted connection and where its current request stands.
struct HttpFrontEnd::Client {
    enum class State { Reading, Waiting, Writing, Draining };

    explicit Client(int fd) : fd(fd), request(HttpMessage::Kind::Request, protocol::kMaxRequestBytes) {}

    int fd;
    bool closed = false;
    State state = State::Reading;
    HttpMessage request;
    bool sentContinue = false;
    /// Reading with no byte yet: the idle deadline; with some: the request's deadline.
    /// Waiting: when the answer is due. Writing, draining: when to give up.
    Clock::time_point deadline;
    Clock::time_point lastActivity;
    std::string out;
    size_t written = 0;
    size_t sendLimit = 0; ///< bytes of `out` to send (less than all for a torn reply)
    bool closeAfter = false;
    size_t drained = 0;
};

HttpFrontEnd::HttpFrontEnd(const Description& description, const ServerOptions& options)
    : mDescription(description), mOptions(options) {
    mWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    mEpoll = epoll_create1(EPOLL_CLOEXEC);
}

HttpFrontEnd::~HttpFrontEnd() {
    for (auto& client : mClients)
        if (!client->closed)
            close(client->fd);
    if (mListen >= 0)
        close(mListen);
    if (mEpoll >= 0)
        close(mEpoll);
    if (mWake >= 0)
        close(mWake);
}

bool HttpFrontEnd::Bind(int& port) {
    if (mWake < 0 || mEpoll < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(mOptions.port));
    if (inet_pton(AF_INET, mOptions.host.c_str(), &address.sin_addr) != 1)
        return false;
    mListen = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (mListen < 0)
        return false;
    int one = 1;
    setsockopt(mListen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    socklen_t length = sizeof address;
    if (bind(mListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(mListen, kListenBacklog) != 0 ||
        getsockname(mListen, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(mListen);
        mListen = -1;
        return false;
    }
    port = ntohs(address.sin_port);
    return true;
}

void HttpFrontEnd::Stop() {
    mStopped.store(true);
    uint64_t one = 1;
    // Async-signal-safe; a full counter already wakes the loop.
    ssize_t ignored = write(mWake, &one, sizeof one);
    (void)ignored;
}

void HttpFrontEnd::Watch(Client& client, bool read, bool write) {
    epoll_event event{};
    event.events = (read ? EPOLLIN : 0u) | (write ? EPOLLOUT : 0u) | EPOLLRDHUP;
    event.data.ptr = &client;
    epoll_ctl(mEpoll, EPOLL_CTL_MOD, client.fd, &event);
}

void HttpFrontEnd::Close(Client& client) {
    if (client.closed)
        return;
    close(client.fd); // also takes it out of the epoll set
    client.closed = true;
    client.out.clear();
    client.out.shrink_to_fit();
    client.request = HttpMessage(HttpMessage::Kind::Request, protocol::kMaxRequestBytes);
}

bool HttpFrontEnd::MakeRoom() {
    // The connection idle the longest goes first; failing that, the slowest request.
    Client* victim = nullptr;
    for (auto& client : mClients) {
        if (client->closed || client->state != Client::State::Reading)
            continue;
        bool idle = client->request.Empty();
        bool victimIdle = victim && victim->request.Empty();
        if (!victim || (idle && !victimIdle) ||
            (idle == victimIdle && client->lastActivity < victim->lastActivity))
            victim = client.get();
    }
    if (!victim)
        return false;
    Close(*victim);
    return true;
}

void HttpFrontEnd::Accept(Clock::time_point now) {
    for (;;) {
        size_t open = 0;
        for (auto& client : mClients)
            open += client->closed ? 0 : 1;
        if (open >= kMaxConnections && !MakeRoom()) {
            // Every slot is busy answering: leave the rest in the backlog for a turn.
            mListening = false;
            epoll_event event{};
            epoll_ctl(mEpoll, EPOLL_CTL_DEL, mListen, &event);
            return;
        }
        int fd = accept4(mListen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if ((errno == EMFILE || errno == ENFILE) && MakeRoom())
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                mListening = false;
                epoll_event event{};
                epoll_ctl(mEpoll, EPOLL_CTL_DEL, mListen, &event);
            }
            return;
        }
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        auto client = std::make_unique<Client>(fd);
        client->lastActivity = now;
        client->deadline = now + kIdleTimeout;
        epoll_event event{};
        event.events = EPOLLIN | EPOLLRDHUP;
        event.data.ptr = client.get();
        if (epoll_ctl(mEpoll, EPOLL_CTL_ADD, fd, &event) != 0) {
            close(fd);
            continue;
        }
        mClients.push_back(std::move(client));
    }
}

void HttpFrontEnd::Queue(Client& client, int httpStatus, const std::string& body, bool close,
                         size_t sendBytes, Clock::time_point now) {
    client.closeAfter = close || !client.request.KeepAlive();
    client.out = "HTTP/1.1 " + std::to_string(httpStatus) + " " + Reason(httpStatus) +
                 "\r\nContent-Type: application/json\r\nContent-Length: " +
                 std::to_string(body.size()) + "\r\n" +
                 (client.closeAfter ? "Connection: close\r\n" : "") + "\r\n";
    size_t head = client.out.size();
    client.out += body;
    client.sendLimit = std::min(client.out.size(), head + sendBytes);
    client.written = 0;
    client.state = Client::State::Writing;
    client.deadline = now + kWriteDeadline;
    Watch(client, false, true);
    OnWritable(client, now);
}

void HttpFrontEnd::Refuse(Client& client, int httpStatus, int status, const char* error,
                          Clock::time_point now) {
    std::string body = ErrorReply(httpStatus, status, error).body;
    Queue(client, httpStatus, body, true, body.size(), now);
}

void HttpFrontEnd::Respond(Client& client, Clock::time_point now) {
    HttpMessage& request = client.request;
    const std::string& path = request.Path();
    protocol::Endpoint endpoint;
    if (path.compare(0, 4, "/v1/") != 0 || !protocol::EndpointFromName(path.substr(4), endpoint)) {
        Reply reply = ErrorReply(404, T10_ERR_UNSUPPORTED, "unknown endpoint");
        return Queue(client, 404, reply.body, false, reply.body.size(), now);
    }
    if (request.Method() != "POST") {
        Reply reply = ErrorReply(405, T10_ERR_UNSUPPORTED, "only POST is served");
        return Queue(client, 405, reply.body, false, reply.body.size(), now);
    }
    Fault fault = mOptions.faults.For(endpoint);
    if (fault == Fault::Error) {
        Reply reply = ErrorReply(500, T10_ERR_SERVER, "injected failure");
        return Queue(client, 500, reply.body, false, reply.body.size(), now);
    }
    if (fault == Fault::Garbage)
        return Queue(client, 200, kGarbage, false, sizeof kGarbage - 1, now);
    // The description never changes while the server runs, so the same request always gets
    // the same answer: answers are kept (within a bound) rather than built again.
    std::string key = path + '\n' + request.Body();
    auto cached = mAnswers.find(key);
    if (cached == mAnswers.end()) {
        Request decoded;
        Reply fresh = DecodeRequest(endpoint, request.Body(), decoded) == T10_OK
                          ? Answer(mDescription, decoded)
                          : ErrorReply(400, T10_ERR_PARAM, "malformed request");
        if (mAnswerBytes + key.size() + fresh.body.size() > kMaxAnswerBytes) {
            mAnswers.clear();
            mAnswerBytes = 0;
        }
        mAnswerBytes += key.size() + fresh.body.size();
        cached = mAnswers.emplace(std::move(key), std::move(fresh)).first;
    }
    const Reply& reply = cached->second;
    // A torn reply: the whole length announced, half of the body sent, then the end.
    bool torn = fault == Fault::Close;
    Queue(client, reply.httpStatus, reply.body, torn, torn ? reply.body.size() / 2 : reply.body.size(),
          now);
}

void HttpFrontEnd::OnReadable(Client& client, Clock::time_point now) {
    char buffer[16384];
    for (;;) {
        ssize_t n = recv(client.fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            Close(client);
            return;
        }
        client.lastActivity = now;
        if (client.state == Client::State::Draining) {
            client.drained += static_cast<size_t>(n);
            if (client.drained > kDrainBytes) {
                Close(client);
                return;
            }
            continue;
        }
        if (client.state != Client::State::Reading) {
            // Bytes sent before the answer (pipelining) are not served: the connection ends
            // with this answer.
            client.closeAfter = true;
            return;
        }
        bool first = client.request.Empty();
        HttpMessage::Result result = client.request.Feed(buffer, static_cast<size_t>(n));
        if (first)
            client.deadline = now + kRequestDeadline;
        switch (result) {
        case HttpMessage::Result::Ok:
            break;
        case HttpMessage::Result::HeadTooLarge:
            return Refuse(client, 431, T10_ERR_PARAM, "request head too large", now);
        case HttpMessage::Result::BodyTooLarge:
            return Refuse(client, 413, T10_ERR_PARAM, "request body too large", now);
        default:
            return Refuse(client, 400, T10_ERR_PARAM, "malformed request", now);
        }
        if (client.request.Done()) {
            if (mOptions.latencyMs > 0) {
                client.state = Client::State::Waiting;
                client.deadline = now + std::chrono::milliseconds(mOptions.latencyMs);
                Watch(client, false, false);
            } else {
                Respond(client, now);
            }
            return;
        }
        if (client.request.HeadDone() && client.request.ExpectsContinue() && !client.sentContinue) {
            // Small enough to wait for: the client may now send the body.
            static const char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
            client.sentContinue = true;
            if (send(client.fd, kContinue, sizeof kContinue - 1, MSG_NOSIGNAL) < 0) {
                Close(client);
                return;
            }
        }
    }
}

void HttpFrontEnd::OnWritable(Client& client, Clock::time_point now) {
    while (client.written < client.sendLimit) {
        ssize_t n = send(client.fd, client.out.data() + client.written,
                         client.sendLimit - client.written, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) {
            Close(client);
            return;
        }
        client.written += static_cast<size_t>(n);
        client.lastActivity = now;
    }
    if (client.sendLimit < client.out.size()) {
        Close(client); // the torn reply ends here
        return;
    }
    client.out.clear();
    if (client.closeAfter) {
        // Our side is done; what the client still sends is read and dropped for a moment so
        // that the reply is not lost to a reset.
        shutdown(client.fd, SHUT_WR);
        client.state = Client::State::Draining;
        client.deadline = now + kDrainTime;
        Watch(client, true, false);
        return;
    }
    client.request = HttpMessage(HttpMessage::Kind::Request, protocol::kMaxRequestBytes);
    client.sentContinue = false;
    client.state = Client::State::Reading;
    client.deadline = now + kIdleTimeout;
    Watch(client, true, false);
}

int HttpFrontEnd::Sweep(Clock::time_point now) {
    Clock::time_point next = now + std::chrono::milliseconds(200);
    for (auto& holder : mClients) {
        Client& client = *holder;
        if (client.closed)
            continue;
        if (client.deadline <= now) {
            if (client.state == Client::State::Waiting)
                Respond(client, now);
            else
                Close(client); // too slow, idle too long, or drained
        }
        if (!client.closed && client.deadline < next)
            next = client.deadline;
    }
    mClients.erase(std::remove_if(mClients.begin(), mClients.end(),
                                  [](const std::unique_ptr<Client>& c) { return c->closed; }),
                   mClients.end());
    if (!mListening) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.ptr = nullptr;
        if (epoll_ctl(mEpoll, EPOLL_CTL_ADD, mListen, &event) == 0)
            mListening = true;
        next = std::min(next, now + std::chrono::milliseconds(50));
    }
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::max<long long>(0, std::min<long long>(wait + 1, 200)));
}

bool HttpFrontEnd::Run() {
    if (mListen < 0 || mEpoll < 0 || mWake < 0)
        return false;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.ptr = nullptr;
    if (epoll_ctl(mEpoll, EPOLL_CTL_ADD, mListen, &event) != 0)
        return false;
    event.data.ptr = &mWake;
    if (epoll_ctl(mEpoll, EPOLL_CTL_ADD, mWake, &event) != 0)
        return false;
    epoll_event events[64];
    int timeout = 0;
    while (!mStopped.load()) {
        int count = epoll_wait(mEpoll, events, 64, timeout);
        if (count < 0 && errno != EINTR)
            return false;
        Clock::time_point now = Clock::now();
        for (int i = 0; i < count && !mStopped.load(); ++i) {
            if (events[i].data.ptr == nullptr) {
                Accept(now);
                continue;
            }
            if (events[i].data.ptr == &mWake)
                continue;
            Client& client = *static_cast<Client*>(events[i].data.ptr);
            if (client.closed)
                continue;
            if (events[i].events & (EPOLLERR | EPOLLHUP)) {
                Close(client);
                continue;
            }
            if (events[i].events & (EPOLLIN | EPOLLRDHUP))
                OnReadable(client, now);
            if (!client.closed && (events[i].events & EPOLLOUT) &&
                client.state == Client::State::Writing)
                OnWritable(client, now);
        }
        timeout = Sweep(Clock::now());
    }
    // What is in flight is dropped: every socket closes with the object.
    return true;
}

} // namespace tovrane::server
