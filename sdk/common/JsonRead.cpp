//===- JsonRead.cpp - Bounded JSON parsing and checked field reads --------===//
#include "JsonRead.h"

#include "JsonEvents.h"
#include "Protocol.h"

namespace tovrane {

namespace {

/// Builds the parsed document straight from the parser's events while bounding its depth and
/// counting its values. Leaner than the parser's callback form, which copies every key and
/// routes every value through a std::function; returning false at the first value past a
/// bound stops the parse there.
class BoundedBuilder : public nlohmann::json_sax<Json> {
public:
    BoundedBuilder(Json& root, size_t maxEntries, size_t maxValues)
        : root_(root), maxEntries_(maxEntries), maxValues_(maxValues) {}

    bool null() override { return Put(nullptr) != nullptr; }
    bool boolean(bool value) override { return Put(value) != nullptr; }
    bool number_integer(number_integer_t value) override { return Put(value) != nullptr; }
    bool number_unsigned(number_unsigned_t value) override { return Put(value) != nullptr; }
    bool number_float(number_float_t value, const string_t&) override {
        return Put(value) != nullptr;
    }
    bool string(string_t& value) override { return Put(std::move(value)) != nullptr; }
    bool binary(binary_t& value) override { return Put(Json::binary(std::move(value))) != nullptr; }

    bool start_object(size_t) override { return Open(Json::value_t::object); }
    bool start_array(size_t) override { return Open(Json::value_t::array); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override {
        // A repeated key keeps its last value, as the parser's own document builder does.
        slot_ = &(*open_.back())[std::move(name)];
        return true;
    }
    bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    /// Counts one value (a container counts once, when it opens) against both bounds.
    bool Count() {
        if (++values_ > maxValues_)
            return false;
        return members_.empty() || ++members_.back() <= maxEntries_;
    }
    /// Stores `value` where the parser is (root, array element or the last key's slot).
    template <typename Value> Json* Put(Value&& value) {
        if (!Count())
            return nullptr;
        if (open_.empty()) {
            root_ = Json(std::forward<Value>(value));
            return &root_;
        }
        if (open_.back()->is_array()) {
            open_.back()->emplace_back(std::forward<Value>(value));
            return &open_.back()->back();
        }
        *slot_ = Json(std::forward<Value>(value));
        return slot_;
    }
    bool Open(Json::value_t kind) {
        if (open_.size() >= protocol::kMaxJsonDepth)
            return false;
        Json* container = Put(kind);
        if (!container)
            return false;
        open_.push_back(container);
        members_.push_back(0);
        return true;
    }
    bool Close() {
        open_.pop_back();
        members_.pop_back();
        return true;
    }

    Json& root_;
    size_t maxEntries_;
    size_t maxValues_;
    size_t values_ = 0;
    std::vector<Json*> open_;     // the containers being filled, innermost last
    std::vector<size_t> members_; // members so far of each of them
    Json* slot_ = nullptr;        // the value of the object key read last
};

} // namespace

bool ParseObject(std::string_view text, size_t maxBytes, Json& out, size_t maxEntries,
                 size_t maxValues) {
    if (text.size() > maxBytes)
        return false;
    // Counted while parsing: the first container nested too deep, container of more than
    // maxEntries members or value past maxValues ends the parse, so a document of millions of
    // tiny values never becomes millions of parsed ones. Well-formedness, UTF-8 and trailing
    // text are the event reader's (its nesting stack is not recursive).
    Json parsed;
    BoundedBuilder builder(parsed, maxEntries, maxValues);
    if (!ParseJsonEvents(text, builder) || !parsed.is_object())
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
