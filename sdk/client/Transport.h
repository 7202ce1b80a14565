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
#include <string_view>

namespace tovrane::client {

/// The reply of one exchange. Its body is read in place from the receive buffer when it
/// arrives whole in one read (the usual case), which spares a copy and an allocation that
/// is large for the biggest replies; otherwise it is copied. Body() stays valid while the
/// object lives and is not passed to another exchange. Holds the 16 KiB receive buffer:
/// meant for the stack of the call that decodes the reply.
class ExchangeReply {
public:
    std::string_view Body() const { return body_; }

private:
    friend t10_status Exchange(Connection&, protocol::Endpoint, const std::string&, ExchangeReply&,
                               Progress*);
    char buffer_[16384];
    std::string copied_;
    std::string_view body_;
};

/// Posts `body` to the endpoint on the connection's server and reads the reply body into
/// `reply` (emptied first), all within the connection's timeout (connecting, writing and
/// reading together), waiting on the socket itself. The exchange reuses a socket the
/// connection kept from an earlier one (reconnecting once when the server has closed it)
/// and keeps its own for the next; exchanges running at once from several threads each take
/// a socket of their own. Reports progress between 10 and 95 percent while the reply
/// arrives. T10_ERR_CONNECT when the server refuses or cannot be reached, T10_ERR_TIMEOUT
/// past the deadline, T10_ERR_IO when the connection breaks, T10_ERR_PROTOCOL for a reply
/// over protocol::kMaxReplyBytes or a malformed or unbounded reply head (see HttpMessage),
/// T10_ERR_SERVER for any HTTP status other than 200.
t10_status Exchange(Connection& connection, protocol::Endpoint endpoint, const std::string& body,
                    ExchangeReply& reply, Progress* progress);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_TRANSPORT_H
