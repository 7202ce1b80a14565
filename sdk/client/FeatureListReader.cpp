//===- FeatureListReader.cpp - The features reply, read as parsed ---------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "FeatureListReader.h"

#include "ListReplyReader.h"
#include "Protocol.h"

#include <string>
#include <string_view>

namespace tovrane::client {

namespace {

/// One checked text field of a feature: whether its last value passed the checks, and
/// that value.
struct Field {
    bool valid = false;
    std::string text;
};

/// The features from the parser's events: every colour read asks for them, and building
/// their document cost several times reading them.
class Reader final : public ListReplyReader {
public:
    explicit Reader(std::vector<Feature>& out)
        : ListReplyReader("features", protocol::kMaxSmallList), out_(out) {}

private:
    void ClearOut() override { out_.clear(); }

    void StartElement() override {
        name_ = value_ = Field();
        field_ = nullptr;
    }

    void ElementKey(std::string_view name) override {
        field_ = name == "name" ? &name_ : name == "value" ? &value_ : nullptr;
    }

    void ElementValue(Kind kind, std::string_view text) override {
        if (field_ == nullptr)
            return;
        const size_t limit = field_ == &name_ ? protocol::kMaxNameBytes : protocol::kMaxTextBytes;
        field_->valid = GoodText(kind, text, limit);
        field_->text.clear();
        if (field_->valid)
            field_->text.assign(text);
    }

    bool ElementGood() const override { return name_.valid && value_.valid; }

    void TakeElement() override {
        out_.push_back({std::move(name_.text), std::move(value_.text)});
    }

    std::vector<Feature>& out_;
    Field* field_ = nullptr; // the field the last element key names, or null
    Field name_, value_;     // of the feature being read
};

} // namespace

t10_status ReadFeatureList(std::string_view body, std::vector<Feature>& out) {
    return Reader(out).Read(body);
}

} // namespace tovrane::client
