//===- ColourDefaultsReader.cpp - The colour defaults reply, read as parsed ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "ColourDefaultsReader.h"

#include "ListReplyReader.h"
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

/// The colour defaults' keys from the parser's events. The colour defaults are the second
/// largest reply of a colour read; a whole document of them cost more than their round trip.
class Reader final : public ListReplyReader {
public:
    explicit Reader(ColourDefaultList& out) : ListReplyReader("keys", kMaxSmallList), out_(out) {}

private:
    /// What a member of a key's object is.
    enum class Member { Key, Default, Values, Ignored };

    void ClearOut() override { out_.clear(); }

    void StartElement() override {
        key_ = default_ = Field();
        valuesSeen_ = valuesValid_ = false;
        keyValues_.clear();
        member_ = Member::Ignored;
    }

    void ElementKey(std::string_view name) override {
        member_ = name == "key"       ? Member::Key
                  : name == "default" ? Member::Default
                  : name == "values"  ? Member::Values
                                      : Member::Ignored;
    }

    void ElementValue(Kind kind, std::string_view text) override {
        if (member_ == Member::Key || member_ == Member::Default) {
            Field& field = member_ == Member::Key ? key_ : default_;
            field.seen = true;
            field.present = GoodText(kind, text, kMaxNameBytes);
            field.valid = field.present || (kind == Kind::Null && &field == &default_);
            field.text.clear();
            if (field.present)
                field.text.assign(text);
        } else if (member_ == Member::Values) {
            valuesSeen_ = true; // anything but an array: no values
            valuesValid_ = false;
        }
    }

    bool OpenNested(bool object) override {
        if (member_ != Member::Values || object)
            return false;
        valuesSeen_ = true;
        valuesValid_ = true;
        keyValues_.clear();
        return true;
    }

    void NestedValue(Kind kind, std::string_view text, size_t index) override {
        if (index > kMaxSmallList || !GoodText(kind, text, kMaxNameBytes))
            valuesValid_ = false;
        else if (valuesValid_)
            keyValues_.emplace_back(text);
    }

    bool ElementGood() const override {
        return key_.valid && (!default_.seen || default_.valid) && valuesSeen_ && valuesValid_;
    }

    // The values are copied into a vector of their exact size, so that keyValues_ keeps its
    // room for the next key: one allocation per key rather than one per doubling.
    void TakeElement() override {
        out_.push_back({std::move(key_.text), default_.present, std::move(default_.text),
                        std::vector<std::string>(keyValues_.begin(), keyValues_.end())});
    }

    ColourDefaultList& out_;
    Member member_ = Member::Ignored; // what the last key of the key's object names
    Field key_, default_;             // of the key being read
    bool valuesSeen_ = false, valuesValid_ = false;
    std::vector<std::string> keyValues_; // of the key being read (its room kept for the next)
};

} // namespace

t10_status ReadColourDefaults(std::string_view body, ColourDefaultList& out) {
    return Reader(out).Read(body);
}

} // namespace tovrane::client
