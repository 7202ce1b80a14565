//===- ReplyDecoder.cpp - Decoding of the server's JSON replies -----------===//
#include "ReplyDecoder.h"

#include "JsonRead.h"
#include "Protocol.h"
#include "ColourDefaultsReader.h"
#include "DeviceLinkListReader.h"
#include "FeatureListReader.h"
#include "ProfileListReader.h"
#include "RootReplyReader.h"
#include "StringListReader.h"

namespace tovrane::client {

namespace {

using protocol::kMaxListEntries;
using protocol::kMaxNameBytes;
using protocol::kMaxSmallList;
using protocol::kMaxTextBytes;

/// Parses the envelope. T10_OK means `json` holds the reply and its status was 0.
t10_status OpenEnvelope(std::string_view body, Json& json) {
    if (!ParseObject(body, protocol::kMaxReplyBytes, json))
        return T10_ERR_PROTOCOL;
    int64_t status;
    if (!ReadInt(json, "status", 0, protocol::kMaxStatus, status))
        return T10_ERR_PROTOCOL;
    return static_cast<t10_status>(status);
}

/// The array member `field` of at most `maxCount` elements, or null.
const Json* ArrayMember(const Json& object, const char* field, size_t maxCount) {
    auto it = object.find(field);
    if (it == object.end() || !it->is_array() || it->size() > maxCount)
        return nullptr;
    return &*it;
}

bool ReadInt32(const Json& object, const char* field, int64_t min, int32_t& out) {
    int64_t value;
    if (!ReadInt(object, field, min, INT32_MAX, value))
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool ReadKind(const Json& object, int32_t& kind) {
    std::string name;
    if (!ReadString(object, "kind", kMaxNameBytes, name))
        return false;
    for (int32_t i = 0; i < 3; ++i)
        if (name == protocol::kKindNames[i]) {
            kind = i;
            return true;
        }
    return false;
}

/// Applies `decode` to every element of the array `field`; a failing element fails all.
template <typename T, typename Decode>
t10_status DecodeArray(std::string_view body, const char* field, size_t maxCount,
                       std::vector<T>& out, Decode decode) {
    out.clear();
    Json json;
    t10_status status = OpenEnvelope(body, json);
    if (status != T10_OK)
        return status;
    const Json* array = ArrayMember(json, field, maxCount);
    if (!array)
        return T10_ERR_PROTOCOL;
    out.reserve(array->size());
    for (const Json& element : *array) {
        T item;
        if (!decode(element, item)) {
            out.clear();
            return T10_ERR_PROTOCOL;
        }
        out.push_back(std::move(item));
    }
    return T10_OK;
}

} // namespace

// The replies of every colour read (status, hello, sessions, locales, encodings, devices)
// are read from the parser's events: building their documents cost more than reading them.

t10_status DecodeStatus(std::string_view body) { return RootReplyReader().Read(body); }

t10_status DecodeHello(std::string_view body, HelloReply& out) {
    RootReplyReader reader({"server", "protocol"});
    t10_status status = reader.Read(body);
    if (status != T10_OK)
        return status;
    const RootReplyReader::Scalar& server = reader.Member(0);
    const RootReplyReader::Scalar& protocol = reader.Member(1);
    if (!server.GoodText(kMaxNameBytes))
        return T10_ERR_PROTOCOL;
    out.server = server.text;
    if (protocol.kind != RootReplyReader::Kind::Count || protocol.number < 1 ||
        protocol.number > static_cast<uint64_t>(INT32_MAX))
        return T10_ERR_PROTOCOL;
    out.protocol = static_cast<int32_t>(protocol.number);
    return T10_OK;
}

t10_status DecodeSession(std::string_view body, SessionReply& out) {
    RootReplyReader reader({"locale", "encoding"});
    t10_status status = reader.Read(body);
    if (status != T10_OK)
        return status;
    // Each may be absent or null (read as empty), else a name.
    std::string* fields[] = {&out.locale, &out.encoding};
    for (size_t i = 0; i < 2; ++i) {
        const RootReplyReader::Scalar& member = reader.Member(i);
        fields[i]->clear();
        if (member.kind == RootReplyReader::Kind::Absent ||
            member.kind == RootReplyReader::Kind::Null)
            continue;
        if (!member.GoodText(kMaxNameBytes))
            return T10_ERR_PROTOCOL;
        *fields[i] = member.text;
    }
    return T10_OK;
}

t10_status DecodeFeatures(std::string_view body, std::vector<Feature>& out) {
    return ReadFeatureList(body, out);
}

t10_status DecodeDevices(std::string_view body, std::vector<std::string>& out) {
    out.clear();
    RootReplyReader reader({}, "devices", kMaxSmallList, kMaxNameBytes);
    t10_status status = reader.Read(body);
    if (status != T10_OK)
        return status;
    if (!reader.ListValid())
        return T10_ERR_PROTOCOL;
    out = std::move(reader.List());
    return T10_OK;
}

t10_status DecodeAttributeValues(std::string_view body, std::vector<AttributeValue>& out) {
    return DecodeArray(body, "values", kMaxSmallList, out, [](const Json& e, AttributeValue& v) {
        return ReadString(e, "value", kMaxTextBytes, v.value) && ReadKind(e, v.kind);
    });
}

t10_status DecodeAttributeKeys(std::string_view body, std::vector<AttributeEntry>& out) {
    return DecodeArray(
        body, "attributes", kMaxListEntries, out, [](const Json& e, AttributeEntry& a) {
            return ReadString(e, "name", kMaxNameBytes, a.name) &&
                   ReadString(e, "value", kMaxTextBytes, a.value) && ReadKind(e, a.kind);
        });
}

t10_status DecodeScopes(std::string_view body, std::vector<int32_t>& out) {
    return DecodeArray(body, "scopes", kMaxSmallList + 1, out, [](const Json& e, int32_t& s) {
        if (!e.is_number_integer())
            return false;
        // Unsigned first: get<int64_t> of a huge unsigned value would wrap.
        if (e.is_number_unsigned()) {
            uint64_t raw = e.get<uint64_t>();
            if (raw > static_cast<uint64_t>(INT32_MAX))
                return false;
            s = static_cast<int32_t>(raw);
            return true;
        }
        int64_t value = e.get<int64_t>();
        if (value < T10_SCOPE_SERVER || value > INT32_MAX)
            return false;
        s = static_cast<int32_t>(value);
        return true;
    });
}

t10_status DecodeTrays(std::string_view body, std::vector<Tray>& out) {
    return DecodeArray(body, "trays", kMaxSmallList, out, [](const Json& e, Tray& t) {
        return ReadString(e, "name", kMaxNameBytes, t.name) &&
               ReadInt32(e, "max_capacity", 0, t.maxCapacity) &&
               ReadInt32(e, "level", INT32_MIN, t.level) &&
               ReadStringArray(e, "media", kMaxSmallList, kMaxNameBytes, t.media);
    });
}

t10_status DecodeMessages(std::string_view body, Messages& out) {
    out = Messages();
    Json json;
    t10_status status = OpenEnvelope(body, json);
    if (status != T10_OK)
        return status;
    const Json* array = ArrayMember(json, "messages", 2);
    if (!array || array->size() != 2)
        return T10_ERR_PROTOCOL;
    const Json& first = (*array)[0];
    const Json& second = (*array)[1];
    out.hasFirst = !first.is_null();
    out.hasSecond = !second.is_null();
    if ((out.hasFirst && !AsString(first, kMaxTextBytes, out.first)) ||
        (out.hasSecond && !AsString(second, kMaxTextBytes, out.second)))
        return T10_ERR_PROTOCOL;
    return T10_OK;
}

t10_status DecodeJobCount(std::string_view body, int32_t& out) {
    Json json;
    t10_status status = OpenEnvelope(body, json);
    if (status != T10_OK)
        return status;
    return ReadInt32(json, "count", 0, out) ? T10_OK : T10_ERR_PROTOCOL;
}

t10_status DecodeNamedList(std::string_view body, const char* listField, NamedList& out) {
    RootReplyReader reader({"default"}, listField, kMaxSmallList, kMaxNameBytes);
    t10_status status = reader.Read(body);
    if (status != T10_OK)
        return status;
    if (!reader.Member(0).GoodText(kMaxNameBytes))
        return T10_ERR_PROTOCOL;
    out.defaultName = reader.Member(0).text;
    out.names.clear();
    if (!reader.ListValid())
        return T10_ERR_PROTOCOL;
    out.names = std::move(reader.List());
    return T10_OK;
}

t10_status DecodeText(std::string_view body, std::string& out) {
    Json json;
    t10_status status = OpenEnvelope(body, json);
    if (status != T10_OK)
        return status;
    return ReadString(json, "text", kMaxTextBytes, out) ? T10_OK : T10_ERR_PROTOCOL;
}

t10_status DecodeStrings(std::string_view body, std::vector<LocalisedString>& out) {
    // The largest reply: read as it is parsed rather than through a whole document.
    LocalisedTable table;
    t10_status status = ReadStringList(body, table);
    out.clear();
    out.reserve(table.Size());
    for (size_t i = 0; i < table.Size(); ++i)
        out.push_back(table.At(i));
    return status;
}

t10_status DecodeColourDefaults(std::string_view body, ColourDefaultList& out) {
    // Read as it is parsed rather than through a whole document, like the string table.
    return ReadColourDefaults(body, out);
}

t10_status DecodeProfiles(std::string_view body, std::vector<ProfileEntry>& out) {
    return ReadProfileList(body, out);
}

t10_status DecodeDeviceLinks(std::string_view body, std::vector<DeviceLinkEntry>& out) {
    return ReadDeviceLinkList(body, out);
}

t10_status DecodeOptionalName(std::string_view body, const char* field, bool& present,
                              std::string& out) {
    present = false;
    out.clear();
    Json json;
    t10_status status = OpenEnvelope(body, json);
    if (status != T10_OK)
        return status;
    if (!json.contains(field))
        return T10_ERR_PROTOCOL;
    return ReadOptionalString(json, field, kMaxNameBytes, out, present) ? T10_OK : T10_ERR_PROTOCOL;
}

} // namespace tovrane::client
