//===- StringListReader.cpp - The string table reply, read as it is parsed ===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "StringListReader.h"

#include "ListReplyReader.h"
#include "Protocol.h"

#include <string>
#include <string_view>

namespace tovrane::client {

namespace {

/// One checked string field of an element: the state its last occurrence left.
struct Field {
    bool seen = false;          // the key occurred
    bool valid = false;         // its last value passed the checks
    LocalisedTable::Span value; // that value, stored in the table (empty for null)
};

/// The string table from the parser's events. A string table is the largest reply a colour
/// read gets; decoding it from a whole document cost more than its round trip. Values are
/// copied into the table's blocks straight from the parser's views as they arrive, so
/// a table costs no allocation per string.
class Reader final : public ListReplyReader {
public:
    explicit Reader(LocalisedTable& out) : ListReplyReader("strings", 0), out_(out) {}

private:
    void ClearOut() override { out_.Clear(); }

    void StartElement() override {
        context_ = key_ = text_ = Field();
        field_ = nullptr;
    }

    void ElementKey(std::string_view name) override {
        field_ = name == "context" ? &context_
                 : name == "key"   ? &key_
                 : name == "text"  ? &text_
                                   : nullptr;
    }

    void ElementValue(Kind kind, std::string_view text) override {
        if (field_ == nullptr)
            return;
        const size_t limit = field_ == &text_ ? protocol::kMaxTextBytes : protocol::kMaxNameBytes;
        field_->seen = true;
        field_->value = LocalisedTable::Span();
        if (GoodText(kind, text, limit)) {
            field_->valid = true;
            field_->value = out_.Store(text);
        } else {
            // Only the context may be null; it then reads as absent.
            field_->valid = kind == Kind::Null && field_ == &context_;
        }
    }

    bool ElementGood() const override {
        return !(context_.seen && !context_.valid) && key_.valid && text_.valid;
    }

    void TakeElement() override { out_.Add(context_.value, key_.value, text_.value); }

    LocalisedTable& out_;
    Field* field_ = nullptr;     // the checked field the last element key names, or null
    Field context_, key_, text_; // of the element being read
};

} // namespace

t10_status ReadStringList(std::string_view body, LocalisedTable& out) {
    return Reader(out).Read(body);
}

} // namespace tovrane::client
