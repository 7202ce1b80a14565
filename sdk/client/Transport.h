//===- Transport.h - One request and its reply over HTTP/1.1 ----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_TRANSPORT_H
#define TOVRANE_CLIENT_TRANSPORT_H

#include "Connection.h"
#include "Progress.h"
#include "Protocol.h"

#include <t10.h>

#include <string>

namespace tovrane::client {

/// Posts `body` to the endpoint on the connection's server and reads the reply body into
/// `reply`, all within the connection's timeout (connecting, writing and reading together),
/// waiting on the socket itself. The exchange reuses a socket the connection kept from an
/// earlier one (reconnecting once when the server has closed it) and keeps its own for the
/// next; exchanges running at once from several threads each take a socket of their own.
/// Reports progress between 10 and 95 percent while the reply arrives.
/// T10_ERR_CONNECT when the server refuses or cannot be reached, T10_ERR_TIMEOUT past the
/// deadline, T10_ERR_IO when the connection breaks, T10_ERR_PROTOCOL for a reply over
/// protocol::kMaxReplyBytes or a malformed
/// or unbounded reply head (see HttpMessage), T10_ERR_SERVER for any HTTP status other than 200.
t10_status Exchange(Connection& connection, protocol::Endpoint endpoint,
                    const std::string& body, std::string& reply, Progress* progress);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_TRANSPORT_H
