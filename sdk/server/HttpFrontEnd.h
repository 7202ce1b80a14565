//===- HttpFrontEnd.h - tovrane-server's HTTP listener ----------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_HTTPFRONTEND_H
#define TOVRANE_SERVER_HTTPFRONTEND_H

#include "Description.h"
#include "ServerOptions.h"
#include "Service.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tovrane::server {

/// Serves a description over HTTP/1.1: `POST /v1/<endpoint>` with a JSON body, answered by
/// `Answer` after the options' latency and faults. One thread waits on every socket at once
/// (epoll) and answers requests as they complete, so a connection costs a socket and its
/// buffers, never a thread: slow, idle or hostile clients cannot keep others from being
/// served. Each request is read within bounds (see HttpMessage): a head over 16 KiB or 100
/// lines is refused with 431, a body over protocol::kMaxRequestBytes (announced or chunked)
/// with 413, as soon as it is known; malformed requests get 400 with status 1, unknown paths
/// 404, other methods 405. A request must arrive whole within kRequestDeadline of its first
/// byte; a kept-alive connection may idle kIdleTimeout; a reply must be taken within
/// kWriteDeadline. At kMaxConnections the longest idle connection makes room for a new one.
/// The description and options are borrowed and must outlive the object. `Stop` may be
/// called from any thread (also a signal watcher); `Run` then returns within a loop turn,
/// dropping what is in flight.
class HttpFrontEnd {
public:
    static constexpr std::chrono::milliseconds kRequestDeadline{5000};
    static constexpr std::chrono::milliseconds kIdleTimeout{15000};
    static constexpr std::chrono::milliseconds kWriteDeadline{10000};
    static constexpr size_t kMaxConnections = 1000;
    static constexpr int kListenBacklog = 1024;

    HttpFrontEnd(const Description& description, const ServerOptions& options);
    ~HttpFrontEnd();
    HttpFrontEnd(const HttpFrontEnd&) = delete;
    HttpFrontEnd& operator=(const HttpFrontEnd&) = delete;

    /// Binds the listening socket; `port` is the one bound (the chosen one for port 0).
    bool Bind(int& port);
    /// Serves until `Stop`; false when serving could not start.
    bool Run();
    /// Ends `Run`.
    void Stop();

    struct Client;

private:
    using Clock = std::chrono::steady_clock;

    void Accept(Clock::time_point now);
    bool MakeRoom();
    void Close(Client& client);
    void OnReadable(Client& client, Clock::time_point now);
    void OnWritable(Client& client, Clock::time_point now);
    void Respond(Client& client, Clock::time_point now);
    void Refuse(Client& client, int httpStatus, int status, const char* error,
                Clock::time_point now);
    void Queue(Client& client, int httpStatus, const std::string& body, bool close,
               size_t sendBytes, Clock::time_point now);
    void Watch(Client& client, bool read, bool write);
    int Sweep(Clock::time_point now);

    const Description& mDescription;
    const ServerOptions& mOptions;
    int mListen = -1;
    int mEpoll = -1;
    int mWake = -1;
    bool mListening = true;
    std::atomic<bool> mStopped{false};
    std::vector<std::unique_ptr<Client>> mClients;
    /// Answers already given, by path and body; at most kMaxAnswerBytes of keys and bodies.
    static constexpr size_t kMaxAnswerBytes = 32u << 20;
    std::unordered_map<std::string, Reply> mAnswers;
    size_t mAnswerBytes = 0;
};

} // namespace tovrane::server

#endif // TOVRANE_SERVER_HTTPFRONTEND_H
