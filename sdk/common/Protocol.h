//===- Protocol.h - Wire protocol between the SDK and tovrane-server --------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_PROTOCOL_H
#define TOVRANE_COMMON_PROTOCOL_H

#include <cstddef>
#include <cstdint>
#include <string_view>

/// The request/reply protocol of the print server: every request is an HTTP/1.1
/// `POST /v1/<endpoint>` with a JSON object body, every reply a JSON object whose integer
/// member "status" is 0 for success or one of the SDK's error numbers (1 to 127). The limits
/// below bound what either side accepts; both sides refuse anything beyond them.
namespace tovrane::protocol {

/// Largest request body the server reads.
constexpr size_t kMaxRequestBytes = 64 * 1024;
/// Largest reply body the client reads (room for any reply a maximal description gives).
constexpr size_t kMaxReplyBytes = 16 * 1024 * 1024;
/// Largest description file the server loads.
constexpr size_t kMaxDescriptionBytes = 8 * 1024 * 1024;
/// Deepest nesting of arrays and objects either side parses.
constexpr size_t kMaxJsonDepth = 16;
/// Longest single text (a localised string, a message, an attribute value).
constexpr size_t kMaxTextBytes = 4096;
/// Longest name (a key, a device, a locale, an encoding, a profile id).
constexpr size_t kMaxNameBytes = 255;
/// Most entries of any list in a reply (strings of a locale, attributes of a scope).
constexpr size_t kMaxListEntries = 4096;
/// Most devices, trays, locales, encodings or values of one colour key.
constexpr size_t kMaxSmallList = 256;
/// Largest status number on the wire.
constexpr int kMaxStatus = 127;
/// The protocol version both sides speak.
constexpr int kVersion = 1;

/// The server's endpoints; the name is the last path segment.
enum class Endpoint {
    Hello,
    OpenSession,
    Features,
    Devices,
    Attribute,
    AttributeKeys,
    Scopes,
    Trays,
    Messages,
    Jobs,
    Locales,
    Encodings,
    String,
    Strings,
    ColourDefaults,
    Profile,
    DeviceLink,
    Profiles,
    DeviceLinks,
};
/// Number of endpoints.
constexpr int kEndpointCount = 19;

/// The endpoint's name ("hello", "open_session", ...).
const char* EndpointName(Endpoint endpoint);
/// The endpoint called `name`; false when there is none.
bool EndpointFromName(std::string_view name, Endpoint& endpoint);

/// Service names of the "open_session" endpoint.
constexpr const char* kServiceAttributes = "attributes";
constexpr const char* kServiceJobs = "jobs";
constexpr const char* kServiceLocalisation = "localisation";
constexpr const char* kServiceColour = "colour";

/// Attribute kinds on the wire, in the order of their numbers in the SDK (0, 1, 2).
constexpr const char* kKindNames[] = {"text", "integer", "keyword"};

} // namespace tovrane::protocol

#endif // TOVRANE_COMMON_PROTOCOL_H
