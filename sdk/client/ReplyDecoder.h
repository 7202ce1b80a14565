//===- ReplyDecoder.h - Decoding of the server's JSON replies ---------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_REPLYDECODER_H
#define TOVRANE_CLIENT_REPLYDECODER_H

#include <t10.h>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

/// Pure decoders of reply bodies: bytes in, plain structs and a status out. No I/O, no
/// global state, safe on any bytes (they are the fuzzing surface of the SDK).
///
/// Every decoder first reads the envelope: a JSON object within protocol::kMaxReplyBytes and
/// the nesting bound, whose "status" is an integer 0..127. A non-zero status is returned as
/// it is (the server's error), without reading further. With status 0 the named members must
/// be present with the right types and within the protocol's bounds, else the answer is
/// T10_ERR_PROTOCOL. Outputs are only meaningful when the answer is T10_OK.
namespace tovrane::client {

struct HelloReply {
    std::string server;
    int32_t protocol = 0;
};

struct SessionReply {
    std::string locale;   ///< resolved locale of a localisation session ("" otherwise)
    std::string encoding; ///< resolved encoding of a localisation session ("" otherwise)
};

struct Feature {
    std::string name;
    std::string value;
};

struct AttributeValue {
    std::string value;
    int32_t kind = T10_ATTR_TEXT;
};

struct AttributeEntry {
    std::string name;
    std::string value;
    int32_t kind = T10_ATTR_TEXT;
};

struct Tray {
    std::string name;
    int32_t maxCapacity = 0;
    int32_t level = 0;
    std::vector<std::string> media;
};

struct Messages {
    bool hasFirst = false;
    std::string first;
    bool hasSecond = false;
    std::string second;
};

struct NamedList {
    std::string defaultName;
    std::vector<std::string> names;
};

struct LocalisedString {
    std::string context; ///< "" for a string without context
    std::string key;
    std::string text;
};

struct ColourDefault {
    std::string key;
    bool hasDefault = false;
    std::string defaultValue;
    std::vector<std::string> values;
};

/// A colour defaults session's keys. A deque: its blocks stay small whatever the number of
/// keys, where a vector of them grows into a few KiB in one block, and a large block costs
/// the allocator a sweep of its small free blocks on a thread that just started.
using ColourDefaultList = std::deque<ColourDefault>;

struct ProfileEntry {
    std::string id;
    std::vector<std::string> descriptions;
};

struct DeviceLinkEntry {
    std::string source;
    std::string destination;
    std::string name;
    int32_t intents = 0;
};

/// Any reply whose only content is its status.
t10_status DecodeStatus(std::string_view body);
/// "hello": {"server": text, "protocol": int}.
t10_status DecodeHello(std::string_view body, HelloReply& out);
/// "open_session": optional "locale" and "encoding" names.
t10_status DecodeSession(std::string_view body, SessionReply& out);
/// "features": {"features": [{"name", "value"}]}.
t10_status DecodeFeatures(std::string_view body, std::vector<Feature>& out);
/// "devices": {"devices": [name]}.
t10_status DecodeDevices(std::string_view body, std::vector<std::string>& out);
/// "attribute": {"values": [{"value", "kind"}]} with kind "text", "integer" or "keyword".
t10_status DecodeAttributeValues(std::string_view body, std::vector<AttributeValue>& out);
/// "attribute_keys": {"attributes": [{"name", "value", "kind"}]}.
t10_status DecodeAttributeKeys(std::string_view body, std::vector<AttributeEntry>& out);
/// "scopes": {"scopes": [int]} with every scope >= -1.
t10_status DecodeScopes(std::string_view body, std::vector<int32_t>& out);
/// "trays": {"trays": [{"name", "max_capacity", "level", "media": [text]}]}.
t10_status DecodeTrays(std::string_view body, std::vector<Tray>& out);
/// "messages": {"messages": [text or null, text or null]}.
t10_status DecodeMessages(std::string_view body, Messages& out);
/// "jobs": {"count": int >= 0}.
t10_status DecodeJobCount(std::string_view body, int32_t& out);
/// "locales" / "encodings": {"default": name, listField: [name]}.
t10_status DecodeNamedList(std::string_view body, const char* listField, NamedList& out);
/// "string": {"text": text}.
t10_status DecodeText(std::string_view body, std::string& out);
/// "strings": {"strings": [{"context": text or null, "key", "text"}]}.
t10_status DecodeStrings(std::string_view body, std::vector<LocalisedString>& out);
/// "colour_defaults": {"keys": [{"key", "default": text or null, "values": [text]}]}.
t10_status DecodeColourDefaults(std::string_view body, ColourDefaultList& out);
/// "profile" / "device_link": {field: name or null}; `present` says which.
t10_status DecodeOptionalName(std::string_view body, const char* field, bool& present,
                              std::string& out);

/// "profiles": {"profiles": [{"id", "descriptions": [name]}]}.
t10_status DecodeProfiles(std::string_view body, std::vector<ProfileEntry>& out);
/// "device_links": {"links": [{"source", "destination", "name", "intents": int >= 0}]}.
t10_status DecodeDeviceLinks(std::string_view body, std::vector<DeviceLinkEntry>& out);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_REPLYDECODER_H
