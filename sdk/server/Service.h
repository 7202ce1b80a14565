//===- Service.h - Answers to decoded requests ------------------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_SERVICE_H
#define TOVRANE_SERVER_SERVICE_H

#include "Description.h"
#include "RequestDecoder.h"

#include <string>

/// The server's behaviour without its transport: a decoded request and the description in,
/// the reply out. Pure and thread-safe (the description is only read).
namespace tovrane::server {

struct Reply {
    int httpStatus = 200;
    std::string body; ///< a JSON object with "status"
};

/// The reply to `request`. Refusals (unknown device, scope, attribute, locale, encoding,
/// string; unsupported protocol version, level or colour service) are 200 replies with the
/// SDK's status number (13 not found, 14 unsupported) and an "error" text.
Reply Answer(const Description& description, const Request& request);
/// A reply carrying only `status` and an "error" text, with the given HTTP status.
Reply ErrorReply(int httpStatus, int status, const char* error);

} // namespace tovrane::server

#endif // TOVRANE_SERVER_SERVICE_H
