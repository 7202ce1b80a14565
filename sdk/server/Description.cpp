//===- Description.cpp - What tovrane-server serves -----------------------===//
#include "Description.h"

#include "JsonRead.h"
#include "Protocol.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace tovrane::server {

namespace {

using protocol::kMaxListEntries;
using protocol::kMaxNameBytes;
using protocol::kMaxSmallList;
using protocol::kMaxTextBytes;

/// Collects the first problem met, with where it was met.
class Problems {
public:
    explicit Problems(std::string& error) : mError(error) {}
    bool Fail(const std::string& where, const char* what) {
        if (mError.empty())
            mError = where + ": " + what;
        return false;
    }

private:
    std::string& mError;
};

/// False when `object` is not an object or has a member outside `allowed`: a misspelt
/// member would otherwise be silently ignored.
bool OnlyMembers(const Json& object, std::initializer_list<const char*> allowed,
                 const std::string& where, Problems& problems) {
    if (!object.is_object())
        return problems.Fail(where, "must be an object");
    for (auto it = object.begin(); it != object.end(); ++it)
        if (std::none_of(allowed.begin(), allowed.end(),
                         [&](const char* name) { return it.key() == name; }))
            return problems.Fail(where + "." + it.key(), "is not a known member");
    return true;
}

bool Int32(const Json& object, const char* field, int64_t min, int32_t& out) {
    int64_t value;
    if (!ReadInt(object, field, min, INT32_MAX, value))
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

/// Reads one attribute value form: "text", 12, or {"kind": ..., "values": [...]}.
bool LoadAttribute(const std::string& name, const Json& value, Attribute& out,
                   const std::string& where, Problems& problems) {
    out.name = name;
    if (name.empty() || name.size() > kMaxNameBytes)
        return problems.Fail(where, "attribute name is empty or too long");
    if (value.is_string()) {
        out.kind = 0;
        out.values.emplace_back();
        return AsString(value, kMaxTextBytes, out.values.back()) ||
               problems.Fail(where, "bad text");
    }
    if (value.is_number_integer()) {
        out.kind = 1;
        out.values.push_back(value.dump());
        return true;
    }
    if (!OnlyMembers(value, {"kind", "values"}, where, problems))
        return false;
    std::string kind;
    if (!ReadString(value, "kind", kMaxNameBytes, kind))
        return problems.Fail(where, "needs a kind");
    auto found = std::find(std::begin(protocol::kKindNames), std::end(protocol::kKindNames), kind);
    if (found == std::end(protocol::kKindNames))
        return problems.Fail(where, "kind must be text, integer or keyword");
    out.kind = static_cast<int32_t>(found - std::begin(protocol::kKindNames));
    if (!ReadStringArray(value, "values", kMaxSmallList, kMaxTextBytes, out.values) ||
        out.values.empty())
        return problems.Fail(where, "needs 1 to 256 text values");
    return true;
}

bool LoadAttributes(const Json& parent, const std::string& where, std::vector<Attribute>& out,
                    Problems& problems) {
    auto it = parent.find("attributes");
    if (it == parent.end())
        return true;
    if (!it->is_object() || it->size() > kMaxListEntries)
        return problems.Fail(where + ".attributes", "must be an object of at most 4096 members");
    for (auto member = it->begin(); member != it->end(); ++member) {
        Attribute attribute;
        if (!LoadAttribute(member.key(), member.value(), attribute,
                           where + ".attributes." + member.key(), problems))
            return false;
        out.push_back(std::move(attribute));
    }
    return true;
}

/// Adds an attribute made from trays or colorants unless the file gave one of that name.
void Synthesise(std::vector<Attribute>& attributes, std::string name, int32_t kind,
                std::string value) {
    for (const Attribute& given : attributes)
        if (given.name == name)
            return;
    attributes.push_back(Attribute{std::move(name), kind, {std::move(value)}});
}

std::string Numbered(const char* format, size_t number) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, format, number);
    return buffer;
}

void SynthesiseDeviceAttributes(Device& device) {
    std::vector<Attribute>& a = device.attributes;
    if (device.hasTrays)
        Synthesise(a, "vidInputNumOfTrays", 1, std::to_string(device.trays.size()));
    for (size_t i = 0; i < device.trays.size(); ++i) {
        const Tray& tray = device.trays[i];
        Synthesise(a, Numbered("vidInput%zuName", i + 1), 2, tray.name);
        Synthesise(a, Numbered("vidInput%zuMaxCapacity", i + 1), 1,
                   std::to_string(tray.maxCapacity));
        Synthesise(a, Numbered("vidInput%zuCurrentLevel", i + 1), 1, std::to_string(tray.level));
        if (!tray.mediaName.empty())
            Synthesise(a, Numbered("vidInput%zuMediaName", i + 1), 2, tray.mediaName);
        if (!tray.mediaType.empty())
            Synthesise(a, Numbered("vidInput%zuMediaType", i + 1), 2, tray.mediaType);
    }
    if (!device.colorants.empty())
        Synthesise(a, "vidMarkerColorantNumOfColorants", 1,
                   std::to_string(device.colorants.size()));
    for (size_t i = 0; i < device.colorants.size(); ++i) {
        const Colorant& colorant = device.colorants[i];
        Synthesise(a, Numbered("vidMarkerColorant%zuValue", i + 1), 0, colorant.name);
        Synthesise(a, Numbered("vidMarkerSupply%zuMaxCapacity", i + 1), 1,
                   std::to_string(colorant.capacity));
        Synthesise(a, Numbered("vidMarkerSupply%zuLevel", i + 1), 1,
                   std::to_string(colorant.level));
    }
}

/// Runs `load` over each element of the array member `field` (absent: none).
template <typename T, typename Load>
bool LoadArray(const Json& parent, const char* field, size_t maxCount, const std::string& where,
               std::vector<T>& out, Problems& problems, Load load) {
    auto it = parent.find(field);
    if (it == parent.end())
        return true;
    std::string here = where + "." + field;
    if (!it->is_array() || it->size() > maxCount)
        return problems.Fail(here, "must be an array within the size limit");
    for (size_t i = 0; i < it->size(); ++i) {
        T item;
        if (!load((*it)[i], item, here + "[" + std::to_string(i) + "]"))
            return false;
        out.push_back(std::move(item));
    }
    return true;
}

bool LoadTray(const Json& json, Tray& tray, const std::string& where, Problems& problems) {
    bool present;
    if (!OnlyMembers(json, {"name", "max_capacity", "level", "media_name", "media_type", "media"},
                     where, problems))
        return false;
    if (!ReadString(json, "name", kMaxNameBytes, tray.name) ||
        !Int32(json, "max_capacity", 0, tray.maxCapacity) ||
        !Int32(json, "level", INT32_MIN, tray.level) ||
        !ReadOptionalString(json, "media_name", kMaxNameBytes, tray.mediaName, present) ||
        !ReadOptionalString(json, "media_type", kMaxNameBytes, tray.mediaType, present))
        return problems.Fail(where, "needs name, max_capacity, level; bad media_name/type");
    if (json.contains("media") &&
        !ReadStringArray(json, "media", kMaxSmallList, kMaxNameBytes, tray.media))
        return problems.Fail(where + ".media", "must be an array of names");
    return true;
}

bool LoadColorant(const Json& json, Colorant& colorant, const std::string& where,
                  Problems& problems) {
    if (!OnlyMembers(json, {"name", "capacity", "level"}, where, problems))
        return false;
    if (!ReadString(json, "name", kMaxNameBytes, colorant.name) ||
        !Int32(json, "capacity", 0, colorant.capacity) ||
        !Int32(json, "level", INT32_MIN, colorant.level))
        return problems.Fail(where, "needs name, capacity and level");
    return true;
}

bool LoadColourKey(const Json& json, ColourKey& key, const std::string& where, Problems& problems) {
    if (!OnlyMembers(json, {"key", "default", "values"}, where, problems))
        return false;
    if (!ReadString(json, "key", kMaxNameBytes, key.key) || key.key.empty() ||
        !ReadOptionalString(json, "default", kMaxNameBytes, key.defaultValue, key.hasDefault) ||
        !ReadStringArray(json, "values", kMaxSmallList, kMaxNameBytes, key.values))
        return problems.Fail(where, "needs key, values and an optional default");
    return true;
}

bool LoadProfile(const Json& json, Profile& profile, const std::string& where, Problems& problems) {
    if (!OnlyMembers(json, {"id", "descriptions"}, where, problems))
        return false;
    if (!ReadString(json, "id", kMaxNameBytes, profile.id) || profile.id.empty() ||
        !ReadStringArray(json, "descriptions", kMaxSmallList, kMaxNameBytes, profile.descriptions))
        return problems.Fail(where, "needs an id and descriptions");
    return true;
}

bool LoadLink(const Json& json, DeviceLink& link, const std::string& where, Problems& problems) {
    if (!OnlyMembers(json, {"source", "destination", "name", "intents"}, where, problems))
        return false;
    if (!ReadString(json, "source", kMaxNameBytes, link.source) ||
        !ReadString(json, "destination", kMaxNameBytes, link.destination) ||
        !ReadString(json, "name", kMaxNameBytes, link.name) ||
        !Int32(json, "intents", 1, link.intents))
        return problems.Fail(where, "needs source, destination, name and intents > 0");
    return true;
}

bool LoadMessages(const Json& json, Device& device, const std::string& where, Problems& problems) {
    auto it = json.find("messages");
    if (it == json.end())
        return true;
    if (!it->is_array() || it->size() != 2)
        return problems.Fail(where + ".messages", "must hold two texts (or nulls)");
    for (size_t i = 0; i < 2; ++i) {
        const Json& message = (*it)[i];
        device.hasMessage[i] = !message.is_null();
        if (device.hasMessage[i] && !AsString(message, kMaxTextBytes, device.messages[i]))
            return problems.Fail(where + ".messages", "must hold two texts (or nulls)");
    }
    return true;
}

bool LoadDevice(const Json& json, Device& device, const std::string& where, Problems& problems) {
    if (!OnlyMembers(json,
                     {"name", "attributes", "trays", "colorants", "messages", "colour_defaults",
                      "profiles", "device_links"},
                     where, problems))
        return false;
    if (!ReadString(json, "name", kMaxNameBytes, device.name) || device.name.empty())
        return problems.Fail(where, "needs a name");
    device.hasTrays = json.contains("trays");
    auto tray = [&](const Json& j, Tray& t, const std::string& w) {
        return LoadTray(j, t, w, problems);
    };
    auto colorant = [&](const Json& j, Colorant& c, const std::string& w) {
        return LoadColorant(j, c, w, problems);
    };
    auto key = [&](const Json& j, ColourKey& k, const std::string& w) {
        return LoadColourKey(j, k, w, problems);
    };
    auto profile = [&](const Json& j, Profile& p, const std::string& w) {
        return LoadProfile(j, p, w, problems);
    };
    auto link = [&](const Json& j, DeviceLink& l, const std::string& w) {
        return LoadLink(j, l, w, problems);
    };
    if (!LoadAttributes(json, where, device.attributes, problems) ||
        !LoadArray(json, "trays", kMaxSmallList, where, device.trays, problems, tray) ||
        !LoadArray(json, "colorants", kMaxSmallList, where, device.colorants, problems, colorant) ||
        !LoadMessages(json, device, where, problems) ||
        !LoadArray(json, "colour_defaults", kMaxSmallList, where, device.colourDefaults, problems,
                   key) ||
        !LoadArray(json, "profiles", kMaxSmallList, where, device.profiles, problems, profile) ||
        !LoadArray(json, "device_links", kMaxListEntries, where, device.links, problems, link))
        return false;
    SynthesiseDeviceAttributes(device);
    if (device.attributes.size() > kMaxListEntries)
        return problems.Fail(where, "has more than 4096 attributes");
    return true;
}

/// {"default": name, "list": [names]}, the default being one of the list.
bool LoadNamedList(const Json& parent, const char* field, std::string& defaultName,
                   std::vector<std::string>& names, Problems& problems) {
    auto it = parent.find(field);
    if (it == parent.end())
        return problems.Fail(field, "is missing");
    if (!OnlyMembers(*it, {"default", "list"}, field, problems))
        return false;
    if (!ReadString(*it, "default", kMaxNameBytes, defaultName) ||
        !ReadStringArray(*it, "list", kMaxSmallList, kMaxNameBytes, names) ||
        std::find(names.begin(), names.end(), defaultName) == names.end())
        return problems.Fail(field, "needs a list of names holding its default");
    return true;
}

/// {"<locale>": {"<context>": {"<key>": "<text>"}}}, "" being the empty context.
bool LoadStrings(const Json& parent, Description& out, Problems& problems) {
    auto it = parent.find("strings");
    if (it == parent.end())
        return true;
    if (!it->is_object())
        return problems.Fail("strings", "must be an object");
    for (auto locale = it->begin(); locale != it->end(); ++locale) {
        std::string where = "strings." + locale.key();
        if (std::find(out.locales.begin(), out.locales.end(), locale.key()) == out.locales.end())
            return problems.Fail(where, "is not a listed locale");
        if (!locale->is_object())
            return problems.Fail(where, "must be an object");
        StringTable& table = out.strings[locale.key()];
        for (auto context = locale->begin(); context != locale->end(); ++context) {
            if (!context->is_object() || context.key().size() > kMaxNameBytes)
                return problems.Fail(where + "." + context.key(), "must be an object");
            for (auto key = context->begin(); key != context->end(); ++key) {
                std::string text;
                if (key.key().empty() || key.key().size() > kMaxNameBytes ||
                    !AsString(*key, kMaxTextBytes, text))
                    return problems.Fail(where + "." + context.key() + "." + key.key(),
                                         "must be a text under a non-empty key");
                table[{context.key(), key.key()}] = std::move(text);
            }
            if (table.size() > kMaxListEntries)
                return problems.Fail(where, "has more than 4096 strings");
        }
    }
    return true;
}

bool LoadFeatures(const Json& parent, Description& out, Problems& problems) {
    auto it = parent.find("features");
    if (it == parent.end())
        return true;
    if (!it->is_array() || it->size() > kMaxSmallList)
        return problems.Fail("features", "must be an array of at most 256 features");
    for (const Json& feature : *it) {
        std::string name, value;
        if (!OnlyMembers(feature, {"name", "value"}, "features", problems))
            return false;
        if (!ReadString(feature, "name", kMaxNameBytes, name) ||
            !ReadString(feature, "value", kMaxTextBytes, value))
            return problems.Fail("features", "each needs a name and a value text");
        out.features.emplace_back(std::move(name), std::move(value));
    }
    return true;
}

} // namespace

bool LoadDescription(std::string_view text, Description& out, std::string& error) {
    error.clear();
    out = Description();
    Problems problems(error);
    Json json;
    // A description is bounded by its size alone; its lists are checked as they are loaded.
    if (!ParseObject(text, protocol::kMaxDescriptionBytes, json, SIZE_MAX, SIZE_MAX))
        return problems.Fail("description", "is not a JSON object within the size limits");
    if (!OnlyMembers(json,
                     {"server", "attributes", "features", "jobs", "locales", "encodings", "strings",
                      "devices"},
                     "description", problems))
        return false;
    auto server = json.find("server");
    if (server == json.end() || !OnlyMembers(*server, {"name"}, "server", problems) ||
        !ReadString(*server, "name", kMaxNameBytes, out.serverName))
        return problems.Fail("server", "needs a name");
    int64_t jobs = 0;
    if (json.contains("jobs") && !ReadInt(json, "jobs", 0, INT32_MAX, jobs))
        return problems.Fail("jobs", "must be a count");
    out.jobCount = static_cast<int32_t>(jobs);
    auto device = [&](const Json& j, Device& d, const std::string& w) {
        return LoadDevice(j, d, w, problems);
    };
    return LoadAttributes(json, "description", out.serverAttributes, problems) &&
           LoadFeatures(json, out, problems) &&
           LoadNamedList(json, "locales", out.defaultLocale, out.locales, problems) &&
           LoadNamedList(json, "encodings", out.defaultEncoding, out.encodings, problems) &&
           LoadStrings(json, out, problems) &&
           LoadArray(json, "devices", kMaxSmallList, "description", out.devices, problems, device);
}

} // namespace tovrane::server
