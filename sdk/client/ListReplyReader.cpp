//===- ListReplyReader.cpp - A list reply, read as it is parsed -----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ListReplyReader.h"

#include "JsonEvents.h"
#include "Protocol.h"

namespace tovrane::client {

ListReplyReader::ListReplyReader(std::string_view listName, size_t maxElements)
    : listName_(listName), maxElements_(maxElements) {}

t10_status ListReplyReader::Read(std::string_view body) {
    ClearOut();
    if (body.size() > protocol::kMaxReplyBytes)
        return T10_ERR_PROTOCOL;
    if (!ParseJsonEvents(body, *this)) {
        ClearOut();
        return T10_ERR_PROTOCOL;
    }
    return Outcome();
}

t10_status ListReplyReader::Outcome() {
    t10_status status = T10_OK;
    if (!statusSeen_ || !statusValid_)
        status = T10_ERR_PROTOCOL;
    else if (status_ != T10_OK)
        status = status_; // an error reply's list is not looked at
    else if (!listSeen_ || !listValid_)
        status = T10_ERR_PROTOCOL;
    if (status != T10_OK)
        ClearOut();
    return status;
}

bool ListReplyReader::null() { return Value(Kind::Null, nullptr); }
bool ListReplyReader::boolean(bool) { return Value(Kind::Other, nullptr); }
bool ListReplyReader::number_integer(number_integer_t value) {
    return Value(value < 0 ? Kind::Other : Kind::Count, nullptr,
                 static_cast<uint64_t>(value < 0 ? 0 : value));
}
bool ListReplyReader::number_unsigned(number_unsigned_t value) {
    return Value(Kind::Count, nullptr, value);
}
bool ListReplyReader::number_float(number_float_t, const string_t&) {
    return Value(Kind::Other, nullptr);
}
bool ListReplyReader::string(string_t& value) { return Value(Kind::String, &value); }
bool ListReplyReader::binary(binary_t&) { return Value(Kind::Other, nullptr); }
bool ListReplyReader::start_object(size_t) { return Open(true); }
bool ListReplyReader::start_array(size_t) { return Open(false); }
bool ListReplyReader::end_object() { return Close(); }
bool ListReplyReader::end_array() { return Close(); }

bool ListReplyReader::key(string_t& key) {
    const std::string_view name(key);
    if (roles_[depth_ - 1] == Role::Root)
        rootKey_ = name == "status" ? Slot::Status : name == listName_ ? Slot::List : Slot::Ignored;
    else if (roles_[depth_ - 1] == Role::Element)
        ElementKey(name);
    return true;
}

bool ListReplyReader::parse_error(size_t, const std::string&, const nlohmann::detail::exception&) {
    return false;
}

// A reader without a nested list reads every container in an element as a wrong value.
bool ListReplyReader::OpenNested(bool) { return false; }
void ListReplyReader::NestedValue(Kind, std::string*, size_t) {}

bool ListReplyReader::Value(Kind kind, std::string* text, uint64_t number) {
    if (!Count())
        return false;
    if (depth_ != 0) // a root that is no object: refused by Outcome through statusSeen_
        Check(kind, text, number);
    return true;
}

void ListReplyReader::Check(Kind kind, std::string* text, uint64_t number) {
    switch (roles_[depth_ - 1]) {
    case Role::Root:
        if (rootKey_ == Slot::Status) {
            statusSeen_ = true;
            statusValid_ = kind == Kind::Count && number <= protocol::kMaxStatus;
            status_ = statusValid_ ? static_cast<t10_status>(number) : T10_OK;
        } else if (rootKey_ == Slot::List) {
            listSeen_ = true; // anything but an array: no list
            listValid_ = false;
            ClearOut();
        }
        break;
    case Role::List:
        listValid_ = false; // an element that is no object
        break;
    case Role::Element:
        elementNumber_ = kind == Kind::Count ? number : 0;
        ElementValue(kind, text);
        break;
    case Role::Nested:
        NestedValue(kind, text, members_[depth_ - 1]);
        break;
    case Role::Ignored:
        break;
    }
}

// Containers count when they open, as ParseObject counts them.
bool ListReplyReader::Open(bool object) {
    if (depth_ >= protocol::kMaxJsonDepth || !Count())
        return false;
    Role role = Role::Ignored;
    if (depth_ == 0) {
        role = object ? Role::Root : Role::Ignored;
    } else {
        const Role outer = roles_[depth_ - 1];
        if (outer == Role::Root && rootKey_ == Slot::List && !object) {
            role = Role::List;
            listSeen_ = true;
            listValid_ = true;
            ClearOut();
        } else if (outer == Role::List && object) {
            role = Role::Element;
            if (maxElements_ != 0 && members_[depth_ - 1] > maxElements_)
                listValid_ = false;
            StartElement();
        } else if (outer == Role::Element && OpenNested(object)) {
            role = Role::Nested;
        } else {
            // A container anywhere else is a value of the wrong kind where one is checked.
            Check(Kind::Container, nullptr, 0);
        }
    }
    roles_[depth_] = role;
    members_[depth_] = 0;
    ++depth_;
    return true;
}

bool ListReplyReader::Close() {
    if (roles_[depth_ - 1] == Role::Element) {
        if (!ElementGood())
            listValid_ = false;
        else if (listValid_)
            TakeElement();
    }
    --depth_;
    return true;
}

} // namespace tovrane::client
