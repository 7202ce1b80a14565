//===- RootReplyReader.cpp - A reply of root members, read as parsed ------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "RootReplyReader.h"

#include "JsonEvents.h"
#include "Protocol.h"

namespace tovrane::client {

bool RootReplyReader::Scalar::GoodText(size_t limit) const {
    return kind == Kind::String && text.size() <= limit && text.find('\0') == std::string::npos;
}

RootReplyReader::RootReplyReader(std::array<std::string_view, kMaxScalars> scalars,
                                 std::string_view listName, size_t listMax, size_t listBytes)
    : names_(scalars), listName_(listName), listMax_(listMax), listBytes_(listBytes) {}

t10_status RootReplyReader::Read(std::string_view body) {
    if (body.size() > protocol::kMaxReplyBytes || !ParseJsonEvents(body, *this) ||
        !statusSeen_ || !statusValid_)
        return T10_ERR_PROTOCOL;
    return static_cast<t10_status>(status_);
}

bool RootReplyReader::Null() { return Value(Kind::Null); }
bool RootReplyReader::Boolean(bool) { return Value(Kind::Other); }
bool RootReplyReader::Integer(std::int64_t value) {
    return value < 0 ? Value(Kind::Other) : Value(Kind::Count, {}, static_cast<uint64_t>(value));
}
bool RootReplyReader::Unsigned(std::uint64_t value) { return Value(Kind::Count, {}, value); }
bool RootReplyReader::Float(double, std::string_view) { return Value(Kind::Other); }
bool RootReplyReader::String(std::string_view value) { return Value(Kind::String, value); }
bool RootReplyReader::StartObject() { return Open(true); }
bool RootReplyReader::StartArray() { return Open(false); }

bool RootReplyReader::EndObject() {
    --depth_;
    return true;
}

bool RootReplyReader::EndArray() { return EndObject(); }

bool RootReplyReader::Key(std::string_view name) {
    if (roles_[depth_ - 1] != Role::Root)
        return true;
    rootKey_ = kIgnored;
    if (name == "status") {
        rootKey_ = kStatus;
    } else if (!listName_.empty() && name == listName_) {
        rootKey_ = kList;
    } else {
        for (size_t i = 0; i < kMaxScalars; ++i)
            if (!names_[i].empty() && name == names_[i])
                rootKey_ = i;
    }
    return true;
}

bool RootReplyReader::Count() {
    if (++valueCount_ > kMaxJsonValues)
        return false;
    return depth_ == 0 || ++members_[depth_ - 1] <= protocol::kMaxListEntries;
}

// A value of the wrong kind where one is kept is noted as such; the last value of a repeated
// member is the one that counts, as in the parsed document.
bool RootReplyReader::Value(Kind kind, std::string_view text, uint64_t number) {
    if (!Count())
        return false;
    if (depth_ == 0) // a root that is no object: refused by Read through statusSeen_
        return true;
    if (roles_[depth_ - 1] == Role::List) {
        if (listState_ == ListState::Valid) {
            if (kind == Kind::String && members_[depth_ - 1] <= listMax_ &&
                text.size() <= listBytes_ && text.find('\0') == std::string_view::npos)
                list_.emplace_back(text);
            else
                listState_ = ListState::Invalid;
        }
        return true;
    }
    if (roles_[depth_ - 1] != Role::Root)
        return true;
    if (rootKey_ == kStatus) {
        statusSeen_ = true;
        statusValid_ = kind == Kind::Count && number <= protocol::kMaxStatus;
        status_ = statusValid_ ? number : 0;
    } else if (rootKey_ == kList) {
        listState_ = ListState::NotList;
        list_.clear();
    } else if (rootKey_ < kMaxScalars) {
        Scalar& scalar = scalars_[rootKey_];
        scalar.kind = kind;
        scalar.number = number;
        scalar.text.assign(text); // empty unless a string
    }
    return true;
}

// Containers count when they open, as ParseObject counts them.
bool RootReplyReader::Open(bool object) {
    if (depth_ >= protocol::kMaxJsonDepth || !Count())
        return false;
    Role role = Role::Ignored;
    if (depth_ == 0) {
        role = object ? Role::Root : Role::Ignored;
    } else if (roles_[depth_ - 1] == Role::Root && rootKey_ == kList && !object) {
        role = Role::List;
        listState_ = ListState::Valid;
        list_.clear();
    } else if (roles_[depth_ - 1] == Role::Root) {
        // A container as the value of a member read as a scalar (or an object as the list).
        if (rootKey_ == kStatus) {
            statusSeen_ = true;
            statusValid_ = false;
            status_ = 0;
        } else if (rootKey_ == kList) {
            listState_ = ListState::NotList;
            list_.clear();
        } else if (rootKey_ < kMaxScalars) {
            scalars_[rootKey_] = Scalar();
            scalars_[rootKey_].kind = Kind::Other;
        }
    } else if (roles_[depth_ - 1] == Role::List) {
        listState_ = ListState::Invalid; // an element that is no string
    }
    roles_[depth_] = role;
    members_[depth_] = 0;
    ++depth_;
    return true;
}

} // namespace tovrane::client
