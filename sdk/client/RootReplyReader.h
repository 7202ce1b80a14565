//===- RootReplyReader.h - A reply of root members, read as parsed -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_ROOTREPLYREADER_H
#define TOVRANE_CLIENT_ROOTREPLYREADER_H

#include "JsonEvents.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "ReplyDecoder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovrane::client {

/// Reads a reply whose content is members of its root object (UTF-8) straight from the
/// parser's events, without building the document: the envelope's status, up to
/// kMaxScalars named members as the last value each took, and at most one named member that
/// should be an array of strings. It keeps the bounds ParseObject keeps (size, depth, values,
/// members per container), so that a decoder checking the members as the checked reads check
/// them answers what it would answer from the whole document. Nothing else is kept.
///
/// One reader reads one reply: construct it, call Read once. Not for use by more than one
/// thread at a time. The names passed must outlive the reader.
class RootReplyReader final : public JsonEventReceiver {
public:
    static constexpr size_t kMaxScalars = 2;

    /// What the last value of a member was. Count is a non-negative integer; Other any other
    /// number, a boolean, or a container where a scalar belongs.
    enum class Kind { Absent, Null, String, Count, Other };

    /// A kept scalar member.
    struct Scalar {
        Kind kind = Kind::Absent;
        std::string text;    ///< String: its text
        uint64_t number = 0; ///< Count: its value

        /// A String of at most `limit` bytes without NUL bytes (what C callers can see).
        bool GoodText(size_t limit) const;
    };

    /// `scalars`: the names of the scalar members to keep (empty names are unused).
    /// `listName`: the member read as a list of at most `listMax` strings of at most
    /// `listBytes` bytes without NUL (empty: none).
    explicit RootReplyReader(std::array<std::string_view, kMaxScalars> scalars = {},
                             std::string_view listName = {}, size_t listMax = 0,
                             size_t listBytes = 0);

    /// Reads `body`: T10_OK (the members may be read), the envelope's non-zero status, or
    /// T10_ERR_PROTOCOL for a faulty envelope.
    t10_status Read(std::string_view body);

    /// Scalar member `index` (in the order named).
    const Scalar& Member(size_t index) const { return scalars_[index]; }
    /// Whether the list member's last value was an array of good strings within the bound;
    /// then `List()` holds them.
    bool ListValid() const { return listState_ == ListState::Valid; }
    std::vector<std::string>& List() { return list_; }

    bool Null() override;
    bool Boolean(bool) override;
    bool Integer(std::int64_t value) override;
    bool Unsigned(std::uint64_t value) override;
    bool Float(double, std::string_view) override;
    bool String(std::string_view value) override;
    bool StartObject() override;
    bool StartArray() override;
    bool EndObject() override;
    bool EndArray() override;
    bool Key(std::string_view key) override;

private:
    /// What a container is to the reply.
    enum class Role { Root, List, Ignored };
    /// The root member the last root key names: the status, a kept scalar, the list, or none.
    static constexpr size_t kStatus = kMaxScalars, kList = kMaxScalars + 1,
                            kIgnored = kMaxScalars + 2;
    enum class ListState { Absent, NotList, Valid, Invalid };

    bool Count();
    bool Value(Kind kind, std::string_view text = {}, uint64_t number = 0);
    bool Open(bool object);

    const std::array<std::string_view, kMaxScalars> names_;
    const std::string_view listName_;
    const size_t listMax_, listBytes_;
    std::array<Scalar, kMaxScalars> scalars_;
    std::vector<std::string> list_;
    ListState listState_ = ListState::Absent;
    // The open containers, innermost last, and the members so far of each (the depth is
    // bounded).
    Role roles_[protocol::kMaxJsonDepth] = {};
    size_t members_[protocol::kMaxJsonDepth] = {};
    size_t depth_ = 0;
    size_t valueCount_ = 0;
    size_t rootKey_ = kIgnored;
    bool statusSeen_ = false, statusValid_ = false;
    uint64_t status_ = 0;
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_ROOTREPLYREADER_H
