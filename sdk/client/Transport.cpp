//===- Transport.cpp - One request and its reply over HTTP/1.1 ------------===//
#include "Transport.h"

#include "Watchdog.h"

#include <httplib.h>

#include <chrono>

namespace tovrane::client {

t10_status Exchange(const Connection& connection, protocol::Endpoint endpoint,
                    const std::string& body, std::string& reply, Progress* progress) {
    reply.clear();
    const int timeout = connection.timeoutSeconds.load();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout);

    httplib::Client client(connection.address, connection.port);
    client.set_keep_alive(false);
    client.set_connection_timeout(timeout, 0);
    // The library's own read and write timeouts are per system call; a server that trickles
    // bytes could stretch them without end. The watchdog holds the real deadline, and these
    // stay a second longer so that it is the one that fires.
    client.set_read_timeout(timeout + 1, 0);
    client.set_write_timeout(timeout + 1, 0);

    Watchdog watchdog(deadline, [&client] { client.stop(); });
    if (!watchdog.Start())
        return T10_ERR_NO_MEMORY;

    httplib::Request request;
    request.method = "POST";
    request.path = std::string("/v1/") + protocol::EndpointName(endpoint);
    request.set_header("Content-Type", "application/json");
    request.body = body;
    bool tooLarge = false;
    request.content_receiver = [&](const char* data, size_t length, uint64_t, uint64_t total) {
        if (length > protocol::kMaxReplyBytes - reply.size()) {
            tooLarge = true;
            return false;
        }
        reply.append(data, length);
        if (progress && total > 0 && reply.size() <= total)
            progress->Report(10.0f +
                             85.0f * static_cast<float>(reply.size()) / static_cast<float>(total));
        return true;
    };
    if (progress)
        progress->Report(10.0f);

    httplib::Response response;
    httplib::Error error = httplib::Error::Success;
    bool sent = client.send(request, response, error);
    watchdog.Stop();

    if (watchdog.Fired())
        return T10_ERR_TIMEOUT;
    if (tooLarge)
        return T10_ERR_PROTOCOL;
    if (!sent) {
        switch (error) {
        case httplib::Error::Connection:
            return T10_ERR_CONNECT;
        case httplib::Error::ConnectionTimeout:
            return T10_ERR_TIMEOUT;
        default:
            return T10_ERR_IO;
        }
    }
    if (response.status != 200)
        return T10_ERR_SERVER;
    return T10_OK;
}

} // namespace tovrane::client
