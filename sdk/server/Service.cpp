//===- Service.cpp - Answers to decoded requests --------------------------===//
#include "Service.h"

#include "JsonRead.h"

#include <t10.h>
#include <tqrv_color.h>

#include <algorithm>

namespace tovrane::server {

namespace {

using protocol::Endpoint;

Reply Ok(Json json) {
    json["status"] = T10_OK;
    return Reply{200, Serialise(json)};
}

Reply NotFound(const char* what) {
    return ErrorReply(200, T10_ERR_NOT_FOUND, what);
}

Reply Unsupported(const char* what) {
    return ErrorReply(200, T10_ERR_UNSUPPORTED, what);
}

Json Names(const std::vector<std::string>& names) {
    Json array = Json::array();
    for (const std::string& name : names)
        array.push_back(name);
    return array;
}

Json Text(bool present, const std::string& text) {
    return present ? Json(text) : Json(nullptr);
}

const Device* DeviceAt(const Description& d, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < d.devices.size() ? &d.devices[index]
                                                                       : nullptr;
}

const Device* DeviceNamed(const Description& d, const std::string& name) {
    for (const Device& device : d.devices)
        if (device.name == name)
            return &device;
    return nullptr;
}

/// The attributes of `scope`: the server's for -1, a device's for its index.
const std::vector<Attribute>* ScopeAttributes(const Description& d, int32_t scope) {
    if (scope == T10_SCOPE_SERVER)
        return &d.serverAttributes;
    const Device* device = DeviceAt(d, scope);
    return device ? &device->attributes : nullptr;
}

bool Listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

Reply OpenLocalisation(const Description& d, const Request& r) {
    std::string locale = r.locale.empty() ? d.defaultLocale : r.locale;
    if (r.language > 0) {
        if (static_cast<size_t>(r.language) > d.locales.size())
            return NotFound("no locale has that number");
        locale = d.locales[r.language - 1];
    }
    std::string encoding = r.encoding.empty() ? d.defaultEncoding : r.encoding;
    if (!Listed(d.locales, locale))
        return NotFound("unknown locale");
    if (!Listed(d.encodings, encoding))
        return NotFound("unknown encoding");
    return Ok({{"locale", locale}, {"encoding", encoding}});
}

Reply OpenSession(const Description& d, const Request& r) {
    if (r.service == protocol::kServiceLocalisation)
        return OpenLocalisation(d, r);
    if (r.service == protocol::kServiceColour) {
        if (!DeviceNamed(d, r.device))
            return NotFound("unknown device");
        if (r.colourService != TQRV_SERVICE_COLOR_SET)
            return Unsupported("unknown colour service");
    }
    return Ok(Json::object());
}

Reply AttributeValues(const Description& d, const Request& r) {
    const std::vector<Attribute>* attributes = ScopeAttributes(d, r.scope);
    if (!attributes)
        return NotFound("unknown scope");
    for (const Attribute& attribute : *attributes) {
        if (attribute.name != r.name)
            continue;
        Json values = Json::array();
        for (const std::string& value : attribute.values)
            values.push_back({{"value", value}, {"kind", protocol::kKindNames[attribute.kind]}});
        return Ok({{"values", values}});
    }
    return NotFound("unknown attribute");
}

Reply AttributeKeys(const Description& d, const Request& r) {
    const std::vector<Attribute>* attributes = ScopeAttributes(d, r.scope);
    if (!attributes)
        return NotFound("unknown scope");
    Json list = Json::array();
    for (const Attribute& attribute : *attributes)
        if (!r.hasPrefix || attribute.name.compare(0, r.prefix.size(), r.prefix) == 0)
            list.push_back({{"name", attribute.name},
                            {"value", attribute.values.front()},
                            {"kind", protocol::kKindNames[attribute.kind]}});
    return Ok({{"attributes", list}});
}

Reply Scopes(const Description& d, const Request& r) {
    Json scopes = Json::array({r.scope});
    if (r.scope == T10_SCOPE_SERVER)
        for (size_t i = 0; i < d.devices.size(); ++i)
            scopes.push_back(i);
    else if (!DeviceAt(d, r.scope))
        return NotFound("unknown scope");
    return Ok({{"scopes", scopes}});
}

Reply Trays(const Description& d, const Request& r) {
    const Device* device = DeviceAt(d, r.deviceIndex);
    if (!device)
        return NotFound("unknown device");
    Json trays = Json::array();
    for (const Tray& tray : device->trays)
        trays.push_back({{"name", tray.name},
                         {"max_capacity", tray.maxCapacity},
                         {"level", tray.level},
                         {"media", Names(tray.media)}});
    return Ok({{"trays", trays}});
}

Reply Messages(const Description& d, const Request& r) {
    const Device* device = DeviceAt(d, r.deviceIndex);
    if (!device)
        return NotFound("unknown device");
    return Ok({{"messages", Json::array({Text(device->hasMessage[0], device->messages[0]),
                                         Text(device->hasMessage[1], device->messages[1])})}});
}

Reply LocalisedString(const Description& d, const Request& r) {
    auto table = d.strings.find(r.locale);
    if (!Listed(d.locales, r.locale))
        return NotFound("unknown locale");
    if (table == d.strings.end())
        return NotFound("no such string");
    auto found = table->second.find({r.hasContext ? r.context : std::string(), r.key});
    if (found == table->second.end())
        return NotFound("no such string");
    return Ok({{"text", found->second}});
}

Reply Strings(const Description& d, const Request& r) {
    if (!Listed(d.locales, r.locale))
        return NotFound("unknown locale");
    Json list = Json::array();
    auto table = d.strings.find(r.locale);
    if (table != d.strings.end())
        for (const auto& [where, text] : table->second)
            list.push_back({{"context", where.first.empty() ? Json(nullptr) : Json(where.first)},
                            {"key", where.second},
                            {"text", text}});
    return Ok({{"strings", list}});
}

Reply ColourDefaults(const Description& d, const Request& r) {
    const Device* device = DeviceNamed(d, r.device);
    if (!device)
        return NotFound("unknown device");
    if (r.level != TQRV_LEVEL_DEVICE)
        return Unsupported("only device-level colour defaults are served");
    Json keys = Json::array();
    for (const ColourKey& key : device->colourDefaults)
        keys.push_back({{"key", key.key},
                        {"default", Text(key.hasDefault, key.defaultValue)},
                        {"values", Names(key.values)}});
    return Ok({{"keys", keys}});
}

Reply ProfileId(const Description& d, const Request& r) {
    const Device* device = DeviceNamed(d, r.device);
    if (!device)
        return NotFound("unknown device");
    for (const Profile& profile : device->profiles)
        if (Listed(profile.descriptions, r.description))
            return Ok({{"id", profile.id}});
    return Ok({{"id", nullptr}});
}

Reply LinkName(const Description& d, const Request& r) {
    const Device* device = DeviceNamed(d, r.device);
    if (!device)
        return NotFound("unknown device");
    for (const DeviceLink& link : device->links)
        if (link.source == r.source && link.destination == r.destination &&
            (link.intents & r.intents) != 0)
            return Ok({{"name", link.name}});
    return Ok({{"name", nullptr}});
}

/// The whole profile table of a device, in the order `ProfileId` searches it.
Reply ProfileTable(const Description& d, const Request& r) {
    const Device* device = DeviceNamed(d, r.device);
    if (!device)
        return NotFound("unknown device");
    Json list = Json::array();
    for (const Profile& profile : device->profiles)
        list.push_back({{"id", profile.id}, {"descriptions", Names(profile.descriptions)}});
    return Ok({{"profiles", list}});
}

/// The whole device-link table of a device, in the order `LinkName` searches it.
Reply LinkTable(const Description& d, const Request& r) {
    const Device* device = DeviceNamed(d, r.device);
    if (!device)
        return NotFound("unknown device");
    Json list = Json::array();
    for (const DeviceLink& link : device->links)
        list.push_back({{"source", link.source},
                        {"destination", link.destination},
                        {"name", link.name},
                        {"intents", link.intents}});
    return Ok({{"links", list}});
}

} // namespace

Reply ErrorReply(int httpStatus, int status, const char* error) {
    Json json = {{"status", status}, {"error", error}};
    return Reply{httpStatus, Serialise(json)};
}

Reply Answer(const Description& d, const Request& r) {
    switch (r.endpoint) {
    case Endpoint::Hello:
        if (r.protocolVersion != protocol::kVersion)
            return Unsupported("unsupported protocol version");
        return Ok({{"server", d.serverName}, {"protocol", protocol::kVersion}});
    case Endpoint::OpenSession:
        return OpenSession(d, r);
    case Endpoint::Features: {
        Json list = Json::array();
        for (const auto& [name, value] : d.features)
            list.push_back({{"name", name}, {"value", value}});
        return Ok({{"features", list}});
    }
    case Endpoint::Devices: {
        Json names = Json::array();
        for (const Device& device : d.devices)
            names.push_back(device.name);
        return Ok({{"devices", names}});
    }
    case Endpoint::Attribute:
        return AttributeValues(d, r);
    case Endpoint::AttributeKeys:
        return AttributeKeys(d, r);
    case Endpoint::Scopes:
        return Scopes(d, r);
    case Endpoint::Trays:
        return Trays(d, r);
    case Endpoint::Messages:
        return Messages(d, r);
    case Endpoint::Jobs:
        return Ok({{"count", d.jobCount}});
    case Endpoint::Locales:
        return Ok({{"default", d.defaultLocale}, {"locales", Names(d.locales)}});
    case Endpoint::Encodings:
        return Ok({{"default", d.defaultEncoding}, {"encodings", Names(d.encodings)}});
    case Endpoint::String:
        return LocalisedString(d, r);
    case Endpoint::Strings:
        return Strings(d, r);
    case Endpoint::ColourDefaults:
        return ColourDefaults(d, r);
    case Endpoint::Profile:
        return ProfileId(d, r);
    case Endpoint::DeviceLink:
        return LinkName(d, r);
    case Endpoint::Profiles:
        return ProfileTable(d, r);
    case Endpoint::DeviceLinks:
        return LinkTable(d, r);
    }
    return ErrorReply(404, T10_ERR_UNSUPPORTED, "unknown endpoint");
}

} // namespace tovrane::server
