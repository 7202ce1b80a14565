//===- Call.h - Steps shared by the SDK's calls ------------------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_CALL_H
#define TOVRANE_CLIENT_CALL_H

#include "Connection.h"
#include "Handles.h"
#include "Progress.h"
#include "Protocol.h"
#include "Transport.h"

#include <t10.h>

#include <cstring>
#include <memory>
#include <string>

namespace tovrane::client {

/// True when `text` is null or at most `limit` bytes long (what a request may carry).
inline bool FitsRequest(const char* text, size_t limit = protocol::kMaxNameBytes) {
    return !text || strnlen(text, limit + 1) <= limit;
}

/// The first checks of a call on a handle: the reserved argument is null and the handle is
/// connected; `connection` is then its connection.
inline t10_status BeginOnHandle(const tovrane_server* handle, const void* reserved,
                                std::shared_ptr<Connection>& connection) {
    if (reserved)
        return T10_ERR_PARAM;
    return FindConnection(handle, connection);
}

/// One request, then `decode(body)` of its reply's body (a view valid during the call) when the
/// exchange succeeded.
template <typename Decode>
t10_status Ask(Connection& connection, protocol::Endpoint endpoint, const std::string& body,
               Progress* progress, Decode&& decode) {
    ExchangeReply reply;
    t10_status status = Exchange(connection, endpoint, body, reply, progress);
    return status != T10_OK ? status : decode(reply.Body());
}

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_CALL_H
