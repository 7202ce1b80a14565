//===- StringListReader.cpp - The string table reply, read as it is parsed ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "StringListReader.h"

#include "JsonEvents.h"
#include "JsonRead.h"
#include "Protocol.h"

#include <string>
#include <string_view>

namespace tovrane::client {

namespace {

/// One checked string field of an element: the state its last occurrence left.
struct Field {
    bool seen = false;  // the key occurred
    bool valid = false; // its last value passed the checks
    std::string text;   // that value (empty for null)
};

/// The parser's events turned into the decoded list. A string table is the largest reply a
/// colour read gets; decoding it from a whole document cost more than its round trip.
class Reader : public nlohmann::json_sax<Json> {
public:
    explicit Reader(std::vector<LocalisedString>& out) : out_(out) {}

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
        const std::string_view name(key); // sizes first: most keys differ in length
        if (roles_.back() == Role::Root)
            rootKey_ = name == "status"    ? Slot::Status
                       : name == "strings" ? Slot::List
                                           : Slot::Ignored;
        else if (roles_.back() == Role::Element)
            elementKey_ = name == "context" ? &context_
                          : name == "key"   ? &key_
                          : name == "text"  ? &text_
                                            : nullptr;
        return true;
    }
    bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    /// What a container is to the reply.
    enum class Role { Root, List, Element, Ignored };
    /// What a root member is.
    enum class Slot { Status, List, Ignored };
    /// The kinds of scalar the checks tell apart; Count is a non-negative integer.
    enum class Kind { Null, String, Count, Other, Container };

    /// The bounds ParseObject keeps: every value counts once, containers when they open.
    bool Count() {
        if (++values_ > kMaxJsonValues)
            return false;
        return members_.empty() || ++members_.back() <= protocol::kMaxListEntries;
    }

    /// One value where the parser stands, checked for its place.
    bool Value(Kind kind, std::string* text, uint64_t number = 0) {
        if (!Count())
            return false;
        if (roles_.empty())
            return true; // a root that is no object: refused by Outcome through statusSeen_
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
            listValid_ = false; // an element that is no object
            break;
        case Role::Element:
            if (elementKey_) {
                size_t limit =
                    elementKey_ == &text_ ? protocol::kMaxTextBytes : protocol::kMaxNameBytes;
                elementKey_->seen = true;
                elementKey_->text.clear();
                if (kind == Kind::String && text->size() <= limit &&
                    text->find('\0') == std::string::npos) {
                    elementKey_->valid = true;
                    elementKey_->text = std::move(*text);
                } else {
                    // Only the context may be null; it then reads as absent.
                    elementKey_->valid = kind == Kind::Null && elementKey_ == &context_;
                }
            }
            break;
        case Role::Ignored:
            break;
        }
        return true;
    }

    bool Open(bool object) {
        if (roles_.size() >= protocol::kMaxJsonDepth)
            return false;
        Role role = Role::Ignored;
        if (roles_.empty()) {
            if (!Count())
                return false;
            role = object ? Role::Root : Role::Ignored;
        } else {
            Role outer = roles_.back();
            bool list = outer == Role::Root && rootKey_ == Slot::List && !object;
            bool element = outer == Role::List && object;
            // A container anywhere else is a value of the wrong kind where one is checked.
            if (!list && !element && !Value(Kind::Container, nullptr))
                return false;
            if ((list || element) && !Count())
                return false;
            if (list) {
                role = Role::List;
                listSeen_ = true;
                listValid_ = true;
                out_.clear();
            } else if (element) {
                role = Role::Element;
                context_ = key_ = text_ = Field();
                elementKey_ = nullptr;
            }
        }
        roles_.push_back(role);
        members_.push_back(0);
        return true;
    }

    bool Close() {
        if (roles_.back() == Role::Element) {
            if (context_.seen && !context_.valid)
                listValid_ = false;
            else if (!key_.valid || !text_.valid)
                listValid_ = false;
            else if (listValid_)
                out_.push_back(
                    {std::move(context_.text), std::move(key_.text), std::move(text_.text)});
        }
        roles_.pop_back();
        members_.pop_back();
        return true;
    }

    std::vector<LocalisedString>& out_;
    std::vector<Role> roles_;     // the open containers, innermost last
    std::vector<size_t> members_; // members so far of each of them
    size_t values_ = 0;
    Slot rootKey_ = Slot::Ignored;
    Field* elementKey_ = nullptr; // the checked field the last element key names, or null
    Field context_, key_, text_;  // of the element being read
    bool statusSeen_ = false, statusValid_ = false;
    t10_status status_ = T10_OK;
    bool listSeen_ = false, listValid_ = false;
};

} // namespace

t10_status ReadStringList(std::string_view body, std::vector<LocalisedString>& out) {
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
