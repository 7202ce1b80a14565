//===- SessionOpen.h - The open call every session kind shares --------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_SESSIONOPEN_H
#define TOVRANE_CLIENT_SESSIONOPEN_H

#include "Connection.h"
#include "Protocol.h"
#include "Sessions.h"

#include <t10.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tovrane::client {

/// Fills a new session from the reply that opened it; a non-zero status refuses the open.
using SessionFiller = std::function<t10_status(std::string_view reply, Session& session)>;

/// Opens a session of `kind` on `connection`: sends `body` to `endpoint`, lets `fill` read
/// the reply into the new session, then enters it in the table and stores its word in
/// *word (0 on failure). Synchronous with a null ticket, else ticketed (see Perform).
t10_status OpenSessionCall(tovrane_ticket* ticket, std::shared_ptr<Connection> connection,
                           SessionKind kind, protocol::Endpoint endpoint, std::string body,
                           SessionFiller fill, tovrane_session* word);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_SESSIONOPEN_H
