//===- ColourDefaultsReader.cpp - The colour defaults reply, read as parsed ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ColourDefaultsReader.h"

#include "JsonEvents.h"
#include "JsonRead.h"
#include "Protocol.h"

#include <string>
#include <string_view>

namespace tovrane::client {

namespace {

using protocol::kMaxNameBytes;
using protocol::kMaxSmallList;

/// One checked name field of a key: the state its last occurrence left.
struct Field {
    bool seen = false;    // the key occurred
    bool valid = false;   // its last value passed the checks
    bool present = false; // that value was a string (not null)
    std::string text;
};

/// The parser's events turned into the decoded keys. The colour defaults are the second
/// largest reply of a colour read; a whole document of them cost more than their round trip.
class Reader : public nlohmann::json_sax<Json> {
public:
    explicit Reader(std::vector<ColourDefault>& out) : out_(out) {}

    /// The decoding's status once the parse succeeded; `out` is emptied unless it is T10_OK.
    t10_status Outcome() {
        t10_status status = T10_OK;
        if (!statusSeen_ || !statusValid_)
            status = T10_ERR_PROTOCOL;
        else if (status_ != T10_OK)
            status = status_; // an error reply's list is not looked at
        else if (!listSeen_ || !listValid_)
            status = T10_ERR_PROTOCOL;
        if (status != T10_OK)
            out_.clear();
        return status;
    }

    bool null() override { return Value(Kind::Null, nullptr); }
    bool boolean(bool) override { return Value(Kind::Other, nullptr); }
    bool number_integer(number_integer_t value) override {
        return Value(value < 0 ? Kind::Other : Kind::Count, nullptr,
                     static_cast<uint64_t>(value < 0 ? 0 : value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Value(Kind::Count, nullptr, value);
    }
    bool number_float(number_float_t, const string_t&) override {
        return Value(Kind::Other, nullptr);
    }
    bool string(string_t& value) override { return Value(Kind::String, &value); }
    bool binary(binary_t&) override { return Value(Kind::Other, nullptr); }

    bool start_object(size_t) override { return Open(true); }
    bool start_array(size_t) override { return Open(false); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& key) override {
        const std::string_view name(key);
        if (roles_.back() == Role::Root)
            rootKey_ = name == "status" ? Slot::Status : name == "keys" ? Slot::List : Slot::Ignored;
        else if (roles_.back() == Role::Element)
            elementKey_ = name == "key"       ? Member::Key
                          : name == "default" ? Member::Default
                          : name == "values"  ? Member::Values
                                              : Member::Ignored;
        return true;
    }
    bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    /// What a container is to the reply.
    enum class Role { Root, List, Element, Values, Ignored };
    /// What a root member is.
    enum class Slot { Status, List, Ignored };
    /// What a member of a key's object is.
    enum class Member { Key, Default, Values, Ignored };
    /// The kinds of value the checks tell apart; Count is a non-negative integer.
    enum class Kind { Null, String, Count, Other, Container };

    /// The bounds ParseObject keeps: every value counts once, containers when they open.
    bool Count() {
        if (++valueCount_ > kMaxJsonValues)
            return false;
        return members_.empty() || ++members_.back() <= protocol::kMaxListEntries;
    }

    /// A name that passes the checked read: a string of at most kMaxNameBytes, no NUL.
    static bool GoodName(Kind kind, const std::string* text) {
        return kind == Kind::String && text->size() <= kMaxNameBytes &&
               text->find('\0') == std::string::npos;
    }

    /// One value where the parser stands (counted already for containers), checked for its
    /// place.
    void Check(Kind kind, std::string* text, uint64_t number) {
        switch (roles_.back()) {
        case Role::Root:
            if (rootKey_ == Slot::Status) {
                statusSeen_ = true;
                statusValid_ = kind == Kind::Count && number <= protocol::kMaxStatus;
                status_ = statusValid_ ? static_cast<t10_status>(number) : T10_OK;
            } else if (rootKey_ == Slot::List) {
                listSeen_ = true; // anything but an array: no list
                listValid_ = false;
                out_.clear();
            }
            break;
        case Role::List:
            listValid_ = false; // a key that is no object
            break;
        case Role::Element:
            if (elementKey_ == Member::Key || elementKey_ == Member::Default) {
                Field& field = elementKey_ == Member::Key ? key_ : default_;
                field.seen = true;
                field.present = GoodName(kind, text);
                field.valid = field.present || (kind == Kind::Null && &field == &default_);
                field.text.clear();
                if (field.present)
                    field.text = std::move(*text);
            } else if (elementKey_ == Member::Values) {
                valuesSeen_ = true; // anything but an array: no values
                valuesValid_ = false;
            }
            break;
        case Role::Values:
            if (members_.back() > kMaxSmallList || !GoodName(kind, text))
                valuesValid_ = false;
            else if (valuesValid_)
                keyValues_.push_back(std::move(*text));
            break;
        case Role::Ignored:
            break;
        }
    }

    bool Value(Kind kind, std::string* text, uint64_t number = 0) {
        if (!Count())
            return false;
        if (!roles_.empty()) // a root that is no object: refused by Outcome through statusSeen_
            Check(kind, text, number);
        return true;
    }

    bool Open(bool object) {
        if (roles_.size() >= protocol::kMaxJsonDepth || !Count())
            return false;
        Role role = Role::Ignored;
        if (roles_.empty()) {
            role = object ? Role::Root : Role::Ignored;
        } else {
            Role outer = roles_.back();
            if (outer == Role::Root && rootKey_ == Slot::List && !object) {
                role = Role::List;
                listSeen_ = true;
                listValid_ = true;
                out_.clear();
            } else if (outer == Role::List && object) {
                role = Role::Element;
                if (members_.back() > kMaxSmallList)
                    listValid_ = false;
                key_ = default_ = Field();
                valuesSeen_ = valuesValid_ = false;
                keyValues_.clear();
                elementKey_ = Member::Ignored;
            } else if (outer == Role::Element && elementKey_ == Member::Values && !object) {
                role = Role::Values;
                valuesSeen_ = true;
                valuesValid_ = true;
                keyValues_.clear();
            } else {
                // A container anywhere else is a value of the wrong kind where one is checked.
                Check(Kind::Container, nullptr, 0);
            }
        }
        roles_.push_back(role);
        members_.push_back(0);
        return true;
    }

    bool Close() {
        if (roles_.back() == Role::Element) {
            bool good = key_.valid && (!default_.seen || default_.valid) && valuesSeen_ &&
                        valuesValid_;
            if (!good)
                listValid_ = false;
            else if (listValid_)
                out_.push_back({std::move(key_.text), default_.present, std::move(default_.text),
                                std::move(keyValues_)});
        }
        roles_.pop_back();
        members_.pop_back();
        return true;
    }

    std::vector<ColourDefault>& out_;
    std::vector<Role> roles_;     // the open containers, innermost last
    std::vector<size_t> members_; // members so far of each of them
    size_t valueCount_ = 0;
    Slot rootKey_ = Slot::Ignored;
    Member elementKey_ = Member::Ignored; // what the last key of the key's object names
    Field key_, default_;                 // of the key being read
    bool valuesSeen_ = false, valuesValid_ = false;
    std::vector<std::string> keyValues_; // of the key being read
    bool statusSeen_ = false, statusValid_ = false;
    t10_status status_ = T10_OK;
    bool listSeen_ = false, listValid_ = false;
};

} // namespace

t10_status ReadColourDefaults(std::string_view body, std::vector<ColourDefault>& out) {
    out.clear();
    if (body.size() > protocol::kMaxReplyBytes)
        return T10_ERR_PROTOCOL;
    Reader reader(out);
    if (!ParseJsonEvents(body, reader)) {
        out.clear();
        return T10_ERR_PROTOCOL;
    }
    return reader.Outcome();
}

} // namespace tovrane::client
