//===- Protocol.cpp - Wire protocol between the SDK and tovrane-server ----===//
#include "Protocol.h"

namespace tovrane::protocol {

namespace {

// Indexed by the enum's value; the two must stay in the same order.
constexpr const char* kNames[kEndpointCount] = {
    "hello",  "open_session", "features",        "devices", "attribute",   "attribute_keys",
    "scopes", "trays",        "messages",        "jobs",    "locales",     "encodings",
    "string", "strings",      "colour_defaults", "profile", "device_link",
    "profiles", "device_links",
};

} // namespace

const char* EndpointName(Endpoint endpoint) {
    int index = static_cast<int>(endpoint);
    return index >= 0 && index < kEndpointCount ? kNames[index] : "";
}

bool EndpointFromName(std::string_view name, Endpoint& endpoint) {
    for (int i = 0; i < kEndpointCount; ++i)
        if (name == kNames[i]) {
            endpoint = static_cast<Endpoint>(i);
            return true;
        }
    return false;
}

} // namespace tovrane::protocol
