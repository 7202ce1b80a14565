// The list replies decoded the slow way, from the whole parsed document with the checked
// reads: what the streamed readers must answer for every input (the decoder tests and the
// reply fuzzer compare the two).
#ifndef PIGMENTOR_TESTS_SDK_DOCUMENTDECODERS_H
#define PIGMENTOR_TESTS_SDK_DOCUMENTDECODERS_H

#include <JsonRead.h>
#include <Protocol.h>
#include <ReplyDecoder.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace documentdecoders {

/// The list reply `body` decoded from its whole document: its envelope's status, then each
/// element of its array member `listName` (at most `maxEntries` of them) read into `out` by
/// `read(element, item)`, which answers false for an element that fails the checked reads.
/// T10_OK, the envelope's non-zero status, or T10_ERR_PROTOCOL; `out` is empty unless T10_OK.
template <class List, class Read>
t10_status ListFromDocument(std::string_view body, const char* listName, size_t maxEntries,
                            List& out, Read read) {
    using namespace tovrane;
    out.clear();
    Json json;
    int64_t status;
    if (!ParseObject(body, protocol::kMaxReplyBytes, json) ||
        !ReadInt(json, "status", 0, protocol::kMaxStatus, status))
        return T10_ERR_PROTOCOL;
    if (status != 0)
        return static_cast<t10_status>(status);
    auto list = json.find(listName);
    if (list == json.end() || !list->is_array() || list->size() > maxEntries)
        return T10_ERR_PROTOCOL;
    for (const Json& element : *list) {
        typename List::value_type item;
        if (!read(element, item)) {
            out.clear();
            return T10_ERR_PROTOCOL;
        }
        out.push_back(std::move(item));
    }
    return T10_OK;
}

/// The string list of a "strings" reply (no bound of its own: the document's member bound).
inline t10_status StringsFromDocument(std::string_view body,
                                      std::vector<tovrane::client::LocalisedString>& out) {
    using namespace tovrane;
    return ListFromDocument(body, "strings", SIZE_MAX, out,
                            [](const Json& element, client::LocalisedString& s) {
                                bool present;
                                return ReadOptionalString(element, "context",
                                                          protocol::kMaxNameBytes, s.context,
                                                          present) &&
                                       ReadString(element, "key", protocol::kMaxNameBytes, s.key) &&
                                       ReadString(element, "text", protocol::kMaxTextBytes, s.text);
                            });
}

/// The envelope of `body` from its whole document: T10_OK with `json` holding it, its
/// non-zero status, or T10_ERR_PROTOCOL.
inline t10_status EnvelopeFromDocument(std::string_view body, tovrane::Json& json) {
    using namespace tovrane;
    int64_t status;
    if (!ParseObject(body, protocol::kMaxReplyBytes, json) ||
        !ReadInt(json, "status", 0, protocol::kMaxStatus, status))
        return T10_ERR_PROTOCOL;
    return static_cast<t10_status>(status);
}

/// The replies of root members decoded from the whole document, as one text per reply kind
/// ("hello", "session", "locales", "devices"): its status, then what it decoded when T10_OK.
inline std::string RootRepliesFromDocument(std::string_view body) {
    using namespace tovrane;
    Json json;
    const t10_status status = EnvelopeFromDocument(body, json);
    std::string out = "status " + std::to_string(status);
    if (status != T10_OK)
        return out;
    std::string text, other;
    int64_t number;
    bool present;
    out += "\nhello ";
    if (ReadString(json, "server", protocol::kMaxNameBytes, text) &&
        ReadInt(json, "protocol", 1, INT32_MAX, number))
        out += text + "/" + std::to_string(number);
    out += "\nsession ";
    if (ReadOptionalString(json, "locale", protocol::kMaxNameBytes, text, present) &&
        ReadOptionalString(json, "encoding", protocol::kMaxNameBytes, other, present))
        out += text + "/" + other;
    std::vector<std::string> names;
    out += "\nlocales ";
    if (ReadString(json, "default", protocol::kMaxNameBytes, text) &&
        ReadStringArray(json, "locales", protocol::kMaxSmallList, protocol::kMaxNameBytes, names)) {
        out += text;
        for (const std::string& name : names)
            out += "," + name;
    }
    out += "\ndevices ";
    if (ReadStringArray(json, "devices", protocol::kMaxSmallList, protocol::kMaxNameBytes, names))
        for (const std::string& name : names)
            out += "," + name;
    return out;
}

/// The same texts from the SDK's own decoders.
inline std::string RootRepliesFromDecoders(std::string_view body) {
    using namespace tovrane::client;
    const t10_status status = DecodeStatus(body);
    std::string out = "status " + std::to_string(status);
    if (status != T10_OK)
        return out;
    HelloReply hello;
    out += "\nhello ";
    if (DecodeHello(body, hello) == T10_OK)
        out += hello.server + "/" + std::to_string(hello.protocol);
    SessionReply session;
    out += "\nsession ";
    if (DecodeSession(body, session) == T10_OK)
        out += session.locale + "/" + session.encoding;
    NamedList list;
    out += "\nlocales ";
    if (DecodeNamedList(body, "locales", list) == T10_OK) {
        out += list.defaultName;
        for (const std::string& name : list.names)
            out += "," + name;
    }
    std::vector<std::string> devices;
    out += "\ndevices ";
    if (DecodeDevices(body, devices) == T10_OK)
        for (const std::string& name : devices)
            out += "," + name;
    return out;
}

/// The features of a "features" reply.
inline t10_status FeaturesFromDocument(std::string_view body,
                                       std::vector<tovrane::client::Feature>& out) {
    using namespace tovrane;
    return ListFromDocument(body, "features", protocol::kMaxSmallList, out,
                            [](const Json& element, client::Feature& f) {
                                return ReadString(element, "name", protocol::kMaxNameBytes,
                                                  f.name) &&
                                       ReadString(element, "value", protocol::kMaxTextBytes,
                                                  f.value);
                            });
}

/// The keys of a "colour_defaults" reply.
inline t10_status ColourDefaultsFromDocument(std::string_view body,
                                             tovrane::client::ColourDefaultList& out) {
    using namespace tovrane;
    return ListFromDocument(
        body, "keys", protocol::kMaxSmallList, out,
        [](const Json& element, client::ColourDefault& c) {
            return ReadString(element, "key", protocol::kMaxNameBytes, c.key) &&
                   ReadOptionalString(element, "default", protocol::kMaxNameBytes,
                                      c.defaultValue, c.hasDefault) &&
                   ReadStringArray(element, "values", protocol::kMaxSmallList,
                                   protocol::kMaxNameBytes, c.values);
        });
}

/// The profiles of a "profiles" reply.
inline t10_status ProfilesFromDocument(std::string_view body,
                                       std::vector<tovrane::client::ProfileEntry>& out) {
    using namespace tovrane;
    return ListFromDocument(body, "profiles", protocol::kMaxSmallList, out,
                            [](const Json& element, client::ProfileEntry& p) {
                                return ReadString(element, "id", protocol::kMaxNameBytes, p.id) &&
                                       ReadStringArray(element, "descriptions",
                                                       protocol::kMaxSmallList,
                                                       protocol::kMaxNameBytes, p.descriptions);
                            });
}

/// The links of a "device_links" reply.
inline t10_status DeviceLinksFromDocument(std::string_view body,
                                          std::vector<tovrane::client::DeviceLinkEntry>& out) {
    using namespace tovrane;
    return ListFromDocument(
        body, "links", protocol::kMaxListEntries, out,
        [](const Json& element, client::DeviceLinkEntry& l) {
            int64_t intents;
            bool ok = ReadString(element, "source", protocol::kMaxNameBytes, l.source) &&
                      ReadString(element, "destination", protocol::kMaxNameBytes, l.destination) &&
                      ReadString(element, "name", protocol::kMaxNameBytes, l.name) &&
                      ReadInt(element, "intents", 0, INT32_MAX, intents);
            l.intents = ok ? static_cast<int32_t>(intents) : 0;
            return ok;
        });
}

} // namespace documentdecoders

#endif // PIGMENTOR_TESTS_SDK_DOCUMENTDECODERS_H
