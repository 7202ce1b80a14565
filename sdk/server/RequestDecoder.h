//===- RequestDecoder.h - Decoding of the SDK's JSON requests ---------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_SERVER_REQUESTDECODER_H
#define TOVRANE_SERVER_REQUESTDECODER_H

#include "Protocol.h"

#include <cstdint>
#include <string>
#include <string_view>

/// Pure decoding of request bodies (the server's fuzzing surface): bytes in, a Request and
/// a status out, no I/O, safe on any bytes.
namespace tovrane::server {

/// One decoded request. Only the members its endpoint reads are set; texts are UTF-8 and
/// within the protocol's bounds, numbers within their ranges.
struct Request {
    protocol::Endpoint endpoint = protocol::Endpoint::Hello;
    /// hello
    int32_t protocolVersion = 0;
    std::string client, clientVersion, user;
    /// open_session: service, and per service language/locale/encoding (localisation) or
    /// device/colourService/user/locale/application (colour)
    std::string service;
    int32_t language = 0;
    std::string locale, encoding, colourService, application;
    /// attribute, attribute_keys, scopes
    int32_t scope = 0;
    std::string name;
    bool hasPrefix = false;
    std::string prefix;
    /// trays, messages
    int32_t deviceIndex = 0;
    /// string, strings (locale); string (context, key)
    bool hasContext = false;
    std::string context, key;
    /// colour_defaults, profile, device_link, colour open_session
    std::string device;
    int32_t level = 0;
    std::string description, source, destination;
    int32_t intents = 0;
};

/// Decodes `body` as a request to `endpoint` into `out`. 0 on success; 1 (the SDK's
/// T10_ERR_PARAM) for a body that is not an object within protocol::kMaxRequestBytes and the
/// nesting bound, or that lacks a member its endpoint needs, or holds one of the wrong type
/// or out of bounds. Members an endpoint does not read are ignored.
int DecodeRequest(protocol::Endpoint endpoint, std::string_view body, Request& out);

} // namespace tovrane::server

#endif // TOVRANE_SERVER_REQUESTDECODER_H
