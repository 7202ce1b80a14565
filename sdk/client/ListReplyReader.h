//===- ListReplyReader.h - A list reply, read as it is parsed ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_LISTREPLYREADER_H
#define TOVRANE_CLIENT_LISTREPLYREADER_H

#include "JsonEvents.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "ReplyDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tovrane::client {

/// The part of reading a reply `{"status", "<list>": [{element}...]}` (UTF-8) straight from
/// the parser's events that every such reply shares: the bounds ParseObject keeps (size,
/// depth, values, members per container), the envelope's status (a non-zero one answered as
/// it is, the list then not looked at), the list member (absent, or anything but an array of
/// objects, is a protocol error; the last of repeated members wins) and the order of the
/// element events. A subclass checks the members of one element object (and at most one
/// nested array of values in it), keeps the element when it is good, and owns the output.
///
/// One reader reads one reply: construct it, call Read once. Not for use by more than one
/// thread at a time.
class ListReplyReader : public JsonEventReceiver {
public:
    /// Reads the reply `body`; T10_OK with the output filled, the envelope's status, or
    /// T10_ERR_PROTOCOL. The output is cleared unless T10_OK is answered.
    t10_status Read(std::string_view body);

    bool Null() final;
    bool Boolean(bool) final;
    bool Integer(std::int64_t value) final;
    bool Unsigned(std::uint64_t value) final;
    bool Float(double, std::string_view) final;
    bool String(std::string_view value) final;
    bool StartObject() final;
    bool StartArray() final;
    bool EndObject() final;
    bool EndArray() final;
    bool Key(std::string_view key) final;

protected:
    /// The kinds of value the checks tell apart; Count is a non-negative integer, Container
    /// an object or array where a scalar (or a list not read as one) belongs.
    enum class Kind { Null, String, Count, Other, Container };

    /// `listName` is the root member that holds the list; more than `maxElements` elements
    /// (0: no bound but the member bound) make the list invalid.
    ListReplyReader(std::string_view listName, size_t maxElements);
    ~ListReplyReader() override = default;

    /// A name that passes the checked read: a string of at most `limit` bytes, no NUL.
    static bool GoodText(Kind kind, std::string_view text, size_t limit) {
        // Inline and without std::string_view::find: it is asked of nearly every value.
        return kind == Kind::String && text.size() <= limit &&
               std::memchr(text.data(), '\0', text.size()) == nullptr;
    }

    /// Empties the output.
    virtual void ClearOut() = 0;
    /// An element object opens: the last element's fields are forgotten.
    virtual void StartElement() = 0;
    /// A member name of the element object; it names what the values that follow are.
    virtual void ElementKey(std::string_view name) = 0;
    /// The value of the element's last named member; `text` (String only, else empty) is
    /// valid during the call only.
    virtual void ElementValue(Kind kind, std::string_view text) = 0;
    /// The number of the value ElementValue is told of, when its kind is Count (else 0).
    uint64_t ElementNumber() const { return elementNumber_; }
    /// Whether a container opening as the value of the element's last named member is its
    /// nested list (then set up for its values); false reads it as a Container value.
    virtual bool OpenNested(bool object);
    /// Value `index` (from 1) of the nested list; `text` as for ElementValue.
    virtual void NestedValue(Kind kind, std::string_view text, size_t index);
    /// The element object closes: whether its members passed the checks.
    virtual bool ElementGood() const = 0;
    /// Moves the good element that just closed into the output (the list is valid so far).
    virtual void TakeElement() = 0;

private:
    /// What a container is to the reply.
    enum class Role { Root, List, Element, Nested, Ignored };
    /// What a root member is.
    enum class Slot { Status, List, Ignored };

    /// Counts one value against the document's bounds (inline: it runs for every value).
    bool Count() {
        if (++valueCount_ > kMaxJsonValues)
            return false;
        return depth_ == 0 || ++members_[depth_ - 1] <= protocol::kMaxListEntries;
    }
    bool Value(Kind kind, std::string_view text = {}, uint64_t number = 0);
    void Check(Kind kind, std::string_view text, uint64_t number);
    bool Open(bool object);
    bool Close();
    t10_status Outcome();

    const std::string_view listName_;
    const size_t maxElements_;
    // The open containers, innermost last, and the members so far of each: the depth is
    // bounded, so they live in the reader rather than in allocated vectors.
    Role roles_[protocol::kMaxJsonDepth] = {};
    size_t members_[protocol::kMaxJsonDepth] = {};
    size_t depth_ = 0;
    size_t valueCount_ = 0;
    Slot rootKey_ = Slot::Ignored;
    bool statusSeen_ = false, statusValid_ = false;
    t10_status status_ = T10_OK;
    bool listSeen_ = false, listValid_ = false;
    uint64_t elementNumber_ = 0;
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_LISTREPLYREADER_H
