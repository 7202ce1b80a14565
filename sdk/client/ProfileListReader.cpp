//===- ProfileListReader.cpp - The profiles reply, read as it is parsed ---===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ProfileListReader.h"

#include "ListReplyReader.h"
#include "Protocol.h"

#include <string>
#include <string_view>

namespace tovrane::client {

namespace {

using protocol::kMaxNameBytes;
using protocol::kMaxSmallList;

/// The profiles from the parser's events. Every colour read maps descriptions to profiles;
/// a whole document of them cost more than their round trip.
class Reader final : public ListReplyReader {
public:
    explicit Reader(std::vector<ProfileEntry>& out)
        : ListReplyReader("profiles", kMaxSmallList), out_(out) {}

private:
    /// What a member of a profile's object is.
    enum class Member { Id, Descriptions, Ignored };

    void ClearOut() override { out_.clear(); }

    void StartElement() override {
        idValid_ = descriptionsSeen_ = descriptionsValid_ = false;
        id_.clear();
        descriptions_.clear();
        member_ = Member::Ignored;
    }

    void ElementKey(std::string_view name) override {
        member_ = name == "id"             ? Member::Id
                  : name == "descriptions" ? Member::Descriptions
                                           : Member::Ignored;
    }

    void ElementValue(Kind kind, std::string_view text) override {
        if (member_ == Member::Id) {
            idValid_ = GoodText(kind, text, kMaxNameBytes);
            id_.clear();
            if (idValid_)
                id_.assign(text);
        } else if (member_ == Member::Descriptions) {
            descriptionsSeen_ = true; // anything but an array: no descriptions
            descriptionsValid_ = false;
        }
    }

    bool OpenNested(bool object) override {
        if (member_ != Member::Descriptions || object)
            return false;
        descriptionsSeen_ = true;
        descriptionsValid_ = true;
        descriptions_.clear();
        return true;
    }

    void NestedValue(Kind kind, std::string_view text, size_t index) override {
        if (index > kMaxSmallList || !GoodText(kind, text, kMaxNameBytes))
            descriptionsValid_ = false;
        else if (descriptionsValid_)
            descriptions_.emplace_back(text);
    }

    bool ElementGood() const override {
        return idValid_ && descriptionsSeen_ && descriptionsValid_;
    }

    void TakeElement() override { out_.push_back({std::move(id_), std::move(descriptions_)}); }

    std::vector<ProfileEntry>& out_;
    Member member_ = Member::Ignored; // what the last key of the profile's object names
    bool idValid_ = false;            // the last "id" was a good name
    bool descriptionsSeen_ = false, descriptionsValid_ = false;
    std::string id_;                          // of the profile being read
    std::vector<std::string> descriptions_;   // of the profile being read
};

} // namespace

t10_status ReadProfileList(std::string_view body, std::vector<ProfileEntry>& out) {
    return Reader(out).Read(body);
}

} // namespace tovrane::client
