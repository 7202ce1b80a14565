//===- ConnectionCalls.cpp - INIT_ calls ----------------------------------===//
#include "Call.h"
#include "Guard.h"
#include "HostLookup.h"
#include "Operations.h"
#include "ReplyDecoder.h"
#include "RequestBuilder.h"

#include <t10.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace tovrane::client;
using tovrane::protocol::Endpoint;

namespace {

constexpr int kMaxTimeout = 3600;
constexpr int kMaxAttempts = 10;

/// The port to use: the argument when it names one, else TOVRANE_SERVER_PORT, else the
/// default. False for an argument or variable that is not a port.
bool ChoosePort(int32_t requested, int& port) {
    if (requested != -1) {
        port = requested;
        return requested >= 1 && requested <= 65535;
    }
    const char* variable = std::getenv("TOVRANE_SERVER_PORT");
    if (!variable || !*variable) {
        port = T10_DEFAULT_PORT;
        return true;
    }
    char* end = nullptr;
    long value = std::strtol(variable, &end, 10);
    if (*end != '\0' || value < 1 || value > 65535)
        return false;
    port = static_cast<int>(value);
    return true;
}

/// What a connect keeps between its run and its publish.
struct ConnectState {
    std::string server, user, clientName, clientVersion;
    int port = 0, timeout = 0, attempts = 1;
    std::shared_ptr<Connection> connection;
};

std::string Text(const char* text) {
    return text ? text : "";
}

t10_status RunConnect(ConnectState& state, Progress& progress) {
    std::string address;
    t10_status status = ResolveIPv4(state.server.c_str(), address);
    if (status != T10_OK)
        return status;
    progress.Report(20.0f);
    auto connection = std::make_shared<Connection>(address, state.port, state.timeout);
    std::string body = RequestBuilder()
                           .Text("client", state.clientName)
                           .Text("client_version", state.clientVersion)
                           .Text("user", state.user)
                           .Int("protocol", T10_PROTOCOL_VERSION)
                           .Body();
    HelloReply hello;
    for (int attempt = 1;; ++attempt) {
        status = Ask(*connection, Endpoint::Hello, body, &progress,
                     [&](std::string_view reply) { return DecodeHello(reply, hello); });
        // Only a refusal is worth another try (a server still starting); a silent or broken
        // server has had its whole timeout already.
        if (status != T10_ERR_CONNECT || attempt >= state.attempts)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (status == T10_OK && hello.protocol != T10_PROTOCOL_VERSION)
        status = T10_ERR_UNSUPPORTED;
    if (status == T10_OK)
        state.connection = std::move(connection);
    return status;
}

} // namespace

extern "C" t10_status INIT_connect(const char* server, const char* user, const char* password,
                                   const char* client_name, const char* client_version,
                                   const char* transport, int32_t port, int32_t timeout,
                                   int32_t attempts, int32_t protocol_version, int32_t non_blocking,
                                   tovrane_server** handle, tovrane_ticket* ticket) {
    return Guard([&]() -> t10_status {
        if (!handle)
            return T10_ERR_PARAM;
        *handle = nullptr;
        if (!server || (non_blocking != 0 && non_blocking != 1) ||
            (non_blocking == 1) != (ticket != nullptr))
            return T10_ERR_PARAM;
        if (!FitsRequest(server) || !FitsRequest(user) || !FitsRequest(password) ||
            !FitsRequest(client_name) || !FitsRequest(client_version))
            return T10_ERR_PARAM;
        if (transport && std::strcmp(transport, T10_TRANSPORT_RPC) != 0)
            return T10_ERR_UNSUPPORTED;
        if (protocol_version != T10_PROTOCOL_VERSION)
            return T10_ERR_UNSUPPORTED;
        auto state = std::make_shared<ConnectState>();
        if (!ChoosePort(port, state->port))
            return T10_ERR_PARAM;
        if (timeout != -1 && (timeout < 1 || timeout > kMaxTimeout))
            return T10_ERR_PARAM;
        state->timeout = timeout == -1 ? T10_DEFAULT_TIMEOUT : timeout;
        state->attempts = attempts < 1 ? 1 : attempts > kMaxAttempts ? kMaxAttempts : attempts;
        state->server = server;
        state->user = Text(user);
        state->clientName = Text(client_name);
        state->clientVersion = Text(client_version);

        Work work;
        work.run = [state](Progress& progress) { return RunConnect(*state, progress); };
        work.publish = [state, handle](t10_status status) -> t10_status {
            if (status != T10_OK)
                return status;
            tovrane_server* made = RegisterHandle(state->connection);
            if (!made)
                return T10_ERR_NO_MEMORY;
            *handle = made;
            return T10_OK;
        };
        return Perform(ticket, nullptr, std::move(work));
    });
}

extern "C" t10_status INIT_setTimeout(tovrane_server* handle, int32_t seconds, void* reserved) {
    return Guard([&] {
        std::shared_ptr<Connection> connection;
        t10_status status = BeginOnHandle(handle, reserved, connection);
        if (status != T10_OK)
            return status;
        if (seconds < 1 || seconds > kMaxTimeout)
            return static_cast<t10_status>(T10_ERR_PARAM);
        connection->timeoutSeconds.store(seconds);
        return static_cast<t10_status>(T10_OK);
    });
}

extern "C" t10_status INIT_handleIsValid(tovrane_server* handle, void* reserved) {
    return Guard([&] {
        std::shared_ptr<Connection> connection;
        return BeginOnHandle(handle, reserved, connection);
    });
}

extern "C" t10_status INIT_disconnectFromServer(tovrane_server* handle, void* reserved) {
    return Guard([&] { return reserved ? T10_ERR_PARAM : DisconnectHandle(handle); });
}
