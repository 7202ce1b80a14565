//===- DeviceLinkListReader.cpp - The device links reply, read as parsed --===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "DeviceLinkListReader.h"

#include "ListReplyReader.h"
#include "Protocol.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tovrane::client {

namespace {

using protocol::kMaxNameBytes;

/// One checked name field of a link: whether its last value passed the checks, and that
/// value.
struct Field {
    bool valid = false;
    std::string text;
};

/// The device links from the parser's events. Every colour read walks them; a whole
/// document of them cost more than their round trip.
class Reader final : public ListReplyReader {
public:
    explicit Reader(std::vector<DeviceLinkEntry>& out)
        : ListReplyReader("links", protocol::kMaxListEntries), out_(out) {}

private:
    void ClearOut() override { out_.clear(); }

    void StartElement() override {
        source_ = destination_ = name_ = Field();
        intentsValid_ = false;
        intents_ = 0;
        field_ = nullptr;
        intentsNamed_ = false;
    }

    void ElementKey(std::string_view name) override {
        field_ = name == "source"        ? &source_
                 : name == "destination" ? &destination_
                 : name == "name"        ? &name_
                                         : nullptr;
        intentsNamed_ = name == "intents";
    }

    void ElementValue(Kind kind, std::string_view text) override {
        if (intentsNamed_) {
            intentsValid_ = kind == Kind::Count && ElementNumber() <= INT32_MAX;
            intents_ = intentsValid_ ? static_cast<int32_t>(ElementNumber()) : 0;
            return;
        }
        if (field_ == nullptr)
            return;
        field_->valid = GoodText(kind, text, kMaxNameBytes);
        field_->text.clear();
        if (field_->valid)
            field_->text.assign(text);
    }

    bool ElementGood() const override {
        return source_.valid && destination_.valid && name_.valid && intentsValid_;
    }

    void TakeElement() override {
        out_.push_back({std::move(source_.text), std::move(destination_.text),
                        std::move(name_.text), intents_});
    }

    std::vector<DeviceLinkEntry>& out_;
    Field* field_ = nullptr;     // the name field the last element key names, or null
    bool intentsNamed_ = false;  // the last element key is "intents"
    Field source_, destination_, name_; // of the link being read
    bool intentsValid_ = false;
    int32_t intents_ = 0;
};

} // namespace

t10_status ReadDeviceLinkList(std::string_view body, std::vector<DeviceLinkEntry>& out) {
    return Reader(out).Read(body);
}

} // namespace tovrane::client
