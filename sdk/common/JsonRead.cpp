//===- JsonRead.cpp - Bounded JSON parsing and checked field reads --------===//
#include "JsonRead.h"

#include "Protocol.h"

namespace tovrane {

bool NestingWithin(std::string_view text, size_t maxDepth) {
    // The parser itself handles depth, but a bound on it keeps both parsing and destruction
    // cheap for inputs like "[[[[...": refuse those before parsing at all.
    size_t depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth)
                return false;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return true;
}

bool ParseObject(std::string_view text, size_t maxBytes, Json& out, size_t maxEntries,
                 size_t maxValues) {
    if (text.size() > maxBytes || !NestingWithin(text, protocol::kMaxJsonDepth))
        return false;
    // Counted while parsing: once a container holds more than maxEntries members or the
    // document more than maxValues values, everything after is discarded unread, so a
    // document of millions of tiny values never becomes millions of parsed ones.
    std::vector<size_t> members; // of each open container, innermost last
    size_t values = 0;
    bool over = false;
    auto count = [&] {
        if (++values > maxValues || (!members.empty() && ++members.back() > maxEntries))
            over = true;
        return !over;
    };
    Json::parser_callback_t bound = [&](int, Json::parse_event_t event, Json&) {
        if (over)
            return false;
        switch (event) {
        case Json::parse_event_t::object_start:
        case Json::parse_event_t::array_start:
            if (!count())
                return false;
            members.push_back(0);
            return true;
        case Json::parse_event_t::object_end:
        case Json::parse_event_t::array_end:
            if (!members.empty())
                members.pop_back();
            return true;
        case Json::parse_event_t::key:
            return true; // counted with its value
        case Json::parse_event_t::value:
            return count();
        }
        return true;
    };
    Json parsed = Json::parse(text.begin(), text.end(), bound, /*allow_exceptions=*/false);
    if (over || parsed.is_discarded() || !parsed.is_object())
        return false;
    out = std::move(parsed);
    return true;
}

bool AsString(const Json& value, size_t maxBytes, std::string& out) {
    if (!value.is_string())
        return false;
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() > maxBytes || text.find('\0') != std::string::npos)
        return false;
    out = text;
    return true;
}

bool ReadString(const Json& object, const char* field, size_t maxBytes, std::string& out) {
    if (!object.is_object())
        return false;
    auto it = object.find(field);
    return it != object.end() && AsString(*it, maxBytes, out);
}

bool ReadOptionalString(const Json& object, const char* field, size_t maxBytes, std::string& out,
                        bool& present) {
    present = false;
    out.clear();
    if (!object.is_object())
        return false;
    auto it = object.find(field);
    if (it == object.end() || it->is_null())
        return true;
    present = true;
    return AsString(*it, maxBytes, out);
}

bool ReadInt(const Json& object, const char* field, int64_t min, int64_t max, int64_t& out) {
    if (!object.is_object())
        return false;
    auto it = object.find(field);
    if (it == object.end())
        return false;
    // The parser stores non-negative numbers as unsigned ones; test that form first so that
    // a value above INT64_MAX never wraps into range.
    int64_t value;
    if (it->is_number_unsigned()) {
        uint64_t raw = it->get<uint64_t>();
        if (max < 0 || raw > static_cast<uint64_t>(max))
            return false;
        value = static_cast<int64_t>(raw);
    } else if (it->is_number_integer()) {
        value = it->get<int64_t>();
    } else {
        return false;
    }
    if (value < min || value > max)
        return false;
    out = value;
    return true;
}

bool ReadStringArray(const Json& object, const char* field, size_t maxCount, size_t maxBytes,
                     std::vector<std::string>& out) {
    out.clear();
    if (!object.is_object())
        return false;
    auto it = object.find(field);
    if (it == object.end() || !it->is_array() || it->size() > maxCount)
        return false;
    out.reserve(it->size());
    for (const Json& element : *it) {
        std::string text;
        if (!AsString(element, maxBytes, text))
            return false;
        out.push_back(std::move(text));
    }
    return true;
}

std::string Serialise(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace tovrane
