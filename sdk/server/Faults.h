//===- Faults.h - Failures tovrane-server can be told to show ---------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_FAULTS_H
#define TOVRANE_SERVER_FAULTS_H

#include "Protocol.h"

#include <array>
#include <string_view>

namespace tovrane::server {

enum class Fault {
    None,
    Error,   ///< answer HTTP 500 with a server-failure status
    Garbage, ///< answer 200 with a body that is not JSON
    Close,   ///< send half of the real reply, then drop the connection
};

/// Which endpoints misbehave, and how, for tests of clients. Built from `--fail` values:
/// "all" (Error), "garbage" or "close" apply to every endpoint but "hello", so that a client
/// can still connect and then meet the fault on every other call; an endpoint name (Error),
/// or "garbage:NAME", "close:NAME", "error:NAME", applies to that endpoint only (hello
/// included) and outranks the catch-all. Later values replace earlier ones.
class FaultPlan {
public:
    /// Adds one `--fail` value; false when it names no fault or endpoint.
    bool Add(std::string_view spec);
    /// The fault of `endpoint`.
    Fault For(protocol::Endpoint endpoint) const;

private:
    Fault mAll = Fault::None;
    std::array<Fault, protocol::kEndpointCount> mNamed{};
};

} // namespace tovrane::server

#endif // TOVRANE_SERVER_FAULTS_H
