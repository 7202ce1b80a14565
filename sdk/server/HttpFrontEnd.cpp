//===- HttpFrontEnd.cpp - tovrane-server's HTTP listener ------------------===//
#include "HttpFrontEnd.h"

#include "RequestDecoder.h"
#include "Service.h"

#include <t10.h>

#include <httplib.h>

#include <chrono>

namespace tovrane::server {

namespace {

constexpr const char* kJson = "application/json";

void Send(httplib::Response& response, const Reply& reply) {
    response.status = reply.httpStatus;
    response.set_content(reply.body, kJson);
}

/// Announces the whole reply, sends its first half and then gives up, which makes the
/// library drop the connection: what a server crashing mid-reply looks like.
void SendHalf(httplib::Response& response, const Reply& reply) {
    auto body = std::make_shared<std::string>(reply.body);
    response.status = reply.httpStatus;
    response.set_content_provider(body->size(), kJson,
                                  [body](size_t offset, size_t, httplib::DataSink& sink) {
                                      size_t half = body->size() / 2;
                                      if (offset < half)
                                          sink.write(body->data() + offset, half - offset);
                                      return offset < half;
                                  });
}

} // namespace

HttpFrontEnd::HttpFrontEnd(const Description& description, const ServerOptions& options)
    : mDescription(description), mOptions(options), mServer(new httplib::Server) {
    Install();
}

HttpFrontEnd::~HttpFrontEnd() = default;

bool HttpFrontEnd::Delay() {
    if (mOptions.latencyMs <= 0)
        return true;
    std::unique_lock<std::mutex> lock(mMutex);
    return !mStopping.wait_for(lock, std::chrono::milliseconds(mOptions.latencyMs),
                               [this] { return mStopped; });
}

void HttpFrontEnd::Install() {
    httplib::Server& server = *mServer;
    server.set_payload_max_length(protocol::kMaxRequestBytes);
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    server.set_keep_alive_timeout(5);
    server.set_keep_alive_max_count(100);

    server.Post(R"(/v1/([a-z_]{1,32}))",
                [this](const httplib::Request& request, httplib::Response& response) {
                    protocol::Endpoint endpoint;
                    if (!protocol::EndpointFromName(request.matches[1].str(), endpoint)) {
                        Send(response, ErrorReply(404, T10_ERR_UNSUPPORTED, "unknown endpoint"));
                        return;
                    }
                    if (!Delay()) {
                        Send(response, ErrorReply(503, T10_ERR_SERVER, "shutting down"));
                        return;
                    }
                    Fault fault = mOptions.faults.For(endpoint);
                    if (fault == Fault::Error) {
                        Send(response, ErrorReply(500, T10_ERR_SERVER, "injected failure"));
                        return;
                    }
                    if (fault == Fault::Garbage) {
                        response.set_content("{\"status\": 0, \"garb", kJson);
                        return;
                    }
                    Request decoded;
                    Reply reply = DecodeRequest(endpoint, request.body, decoded) == T10_OK
                                      ? Answer(mDescription, decoded)
                                      : ErrorReply(400, T10_ERR_PARAM, "malformed request");
                    if (fault == Fault::Close)
                        SendHalf(response, reply);
                    else
                        Send(response, reply);
                });
    // Refusals of the library itself (unknown path, too large a body) also get a JSON body.
    // The library calls this for every status from 400 up, ours included: keep those.
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty())
            return;
        int status = response.status == 413 ? T10_ERR_PARAM : T10_ERR_UNSUPPORTED;
        Reply reply = ErrorReply(response.status, status, "request refused");
        response.set_content(reply.body, kJson);
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            Send(response, ErrorReply(500, T10_ERR_SERVER, "internal failure"));
        });
}

bool HttpFrontEnd::Bind(int& port) {
    if (mOptions.port == 0) {
        port = mServer->bind_to_any_port(mOptions.host);
        return port > 0;
    }
    port = mOptions.port;
    return mServer->bind_to_port(mOptions.host, port);
}

bool HttpFrontEnd::Run() {
    return mServer->listen_after_bind();
}

void HttpFrontEnd::Stop() {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStopped = true;
    }
    mStopping.notify_all();
    mServer->stop();
}

} // namespace tovrane::server
