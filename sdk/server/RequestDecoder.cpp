//===- RequestDecoder.cpp - Decoding of the SDK's JSON requests -----------===//
#include "RequestDecoder.h"

#include "JsonRead.h"

#include <t10.h>

namespace tovrane::server {

namespace {

using protocol::Endpoint;
using protocol::kMaxNameBytes;

bool Int32(const Json& json, const char* field, int64_t min, int64_t max, int32_t& out) {
    int64_t value;
    if (!ReadInt(json, field, min, max, value))
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool Name(const Json& json, const char* field, std::string& out) {
    return ReadString(json, field, kMaxNameBytes, out);
}

bool OptionalName(const Json& json, const char* field, std::string& out) {
    bool present;
    return ReadOptionalString(json, field, kMaxNameBytes, out, present);
}

bool DecodeOpenSession(const Json& json, Request& out) {
    if (!Name(json, "service", out.service))
        return false;
    if (out.service == protocol::kServiceAttributes || out.service == protocol::kServiceJobs)
        return true;
    if (out.service == protocol::kServiceLocalisation)
        return Int32(json, "language", 0, protocol::kMaxSmallList, out.language) &&
               Name(json, "locale", out.locale) && Name(json, "encoding", out.encoding);
    if (out.service == protocol::kServiceColour)
        return Name(json, "device", out.device) &&
               Name(json, "colour_service", out.colourService) &&
               OptionalName(json, "user", out.user) && OptionalName(json, "locale", out.locale) &&
               OptionalName(json, "application", out.application);
    return false;
}

bool DecodeMembers(const Json& json, Request& out) {
    switch (out.endpoint) {
    case Endpoint::Hello:
        return Int32(json, "protocol", 1, 1000, out.protocolVersion) &&
               OptionalName(json, "client", out.client) &&
               OptionalName(json, "client_version", out.clientVersion) &&
               OptionalName(json, "user", out.user);
    case Endpoint::OpenSession:
        return DecodeOpenSession(json, out);
    case Endpoint::Features:
    case Endpoint::Devices:
    case Endpoint::Jobs:
    case Endpoint::Locales:
    case Endpoint::Encodings:
        return true;
    case Endpoint::Attribute:
        return Int32(json, "scope", T10_SCOPE_SERVER, INT32_MAX, out.scope) &&
               Name(json, "name", out.name);
    case Endpoint::AttributeKeys:
        return Int32(json, "scope", T10_SCOPE_SERVER, INT32_MAX, out.scope) &&
               ReadOptionalString(json, "prefix", kMaxNameBytes, out.prefix, out.hasPrefix);
    case Endpoint::Scopes:
        return Int32(json, "scope", T10_SCOPE_SERVER, INT32_MAX, out.scope);
    case Endpoint::Trays:
    case Endpoint::Messages:
        return Int32(json, "device", 0, INT32_MAX, out.deviceIndex);
    case Endpoint::String:
        return Name(json, "locale", out.locale) && Name(json, "key", out.key) &&
               ReadOptionalString(json, "context", kMaxNameBytes, out.context, out.hasContext);
    case Endpoint::Strings:
        return Name(json, "locale", out.locale);
    case Endpoint::ColourDefaults:
        return Name(json, "device", out.device) && Int32(json, "level", 0, 255, out.level);
    case Endpoint::Profile:
        return Name(json, "device", out.device) && Name(json, "description", out.description);
    case Endpoint::Profiles:
    case Endpoint::DeviceLinks:
        return Name(json, "device", out.device);
    case Endpoint::DeviceLink:
        return Name(json, "device", out.device) && Name(json, "source", out.source) &&
               Name(json, "destination", out.destination) &&
               Int32(json, "intents", 0, INT32_MAX, out.intents);
    }
    return false;
}

} // namespace

int DecodeRequest(protocol::Endpoint endpoint, std::string_view body, Request& out) {
    out = Request();
    out.endpoint = endpoint;
    Json json;
    if (!ParseObject(body, protocol::kMaxRequestBytes, json) || !DecodeMembers(json, out)) {
        out = Request();
        out.endpoint = endpoint;
        return T10_ERR_PARAM;
    }
    return T10_OK;
}

} // namespace tovrane::server
