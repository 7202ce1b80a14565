//===- HttpFrontEnd.h - tovrane-server's HTTP listener ----------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_HTTPFRONTEND_H
#define TOVRANE_SERVER_HTTPFRONTEND_H

#include "Description.h"
#include "ServerOptions.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace httplib {
class Server;
}

namespace tovrane::server {

/// Serves a description over HTTP/1.1: `POST /v1/<endpoint>` with a JSON body, answered by
/// `Answer` after the options' latency and faults. Requests are served concurrently by the
/// HTTP library's thread pool; bodies over protocol::kMaxRequestBytes are refused (413),
/// malformed ones answered with status 1 (400), unknown paths with 404. The description and
/// options are borrowed and must outlive the object. `Stop` may be called from any thread.
class HttpFrontEnd {
public:
    HttpFrontEnd(const Description& description, const ServerOptions& options);
    ~HttpFrontEnd();
    HttpFrontEnd(const HttpFrontEnd&) = delete;
    HttpFrontEnd& operator=(const HttpFrontEnd&) = delete;

    /// Binds the listening socket; `port` is the one bound (the chosen one for port 0).
    bool Bind(int& port);
    /// Serves until `Stop`; false when serving could not start.
    bool Run();
    /// Ends `Run` (a request waiting out its latency is answered at once).
    void Stop();

private:
    void Install();
    /// Waits out the latency; false when stopping cut it short.
    bool Delay();

    const Description& mDescription;
    const ServerOptions& mOptions;
    std::unique_ptr<httplib::Server> mServer;
    std::mutex mMutex;
    std::condition_variable mStopping;
    bool mStopped = false;
};

} // namespace tovrane::server

#endif // TOVRANE_SERVER_HTTPFRONTEND_H
