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

bool ListReplyReader::Null() { return Value(Kind::Null); }
bool ListReplyReader::Boolean(bool) { return Value(Kind::Other); }
bool ListReplyReader::Integer(std::int64_t value) {
    return Value(value < 0 ? Kind::Other : Kind::Count, {},
                 static_cast<uint64_t>(value < 0 ? 0 : value));
}
bool ListReplyReader::Unsigned(std::uint64_t value) { return Value(Kind::Count, {}, value); }
bool ListReplyReader::Float(double, std::string_view) { return Value(Kind::Other); }
bool ListReplyReader::String(std::string_view value) { return Value(Kind::String, value); }
bool ListReplyReader::StartObject() { return Open(true); }
bool ListReplyReader::StartArray() { return Open(false); }
bool ListReplyReader::EndObject() { return Close(); }
bool ListReplyReader::EndArray() { return Close(); }

bool ListReplyReader::Key(std::string_view name) {
    if (roles_[depth_ - 1] == Role::Root)
        rootKey_ = name == "status" ? Slot::Status : name == listName_ ? Slot::List : Slot::Ignored;
    else if (roles_[depth_ - 1] == Role::Element)
        ElementKey(name);
    return true;
}

// A reader without a nested list reads every container in an element as a wrong value.
bool ListReplyReader::OpenNested(bool) { return false; }
void ListReplyReader::NestedValue(Kind, std::string_view, size_t) {}

bool ListReplyReader::Value(Kind kind, std::string_view text, uint64_t number) {
    if (!Count())
        return false;
    if (depth_ != 0) // a root that is no object: refused by Outcome through statusSeen_
        Check(kind, text, number);
    return true;
}

void ListReplyReader::Check(Kind kind, std::string_view text, uint64_t number) {
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
            Check(Kind::Container, {}, 0);
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
