//===- RequestBuilder.cpp - JSON bodies of the SDK's requests -------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include "RequestBuilder.h"

#include "JsonRead.h"
#include "Utf8.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace tovrane::client {

namespace {

/// `text` as a JSON string. Written here rather than through a document: every request
/// carries a few texts, and a document per request cost more than sending it. The escapes
/// are the JSON library's (no ASCII-only output); text that is not UTF-8 goes through the
/// library so that its bytes are replaced exactly as Serialise replaces them.
std::string Quote(std::string_view text) {
    if (!IsUtf8(text))
        return Serialise(Json(std::string(text)));
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out.push_back(kHex[byte >> 4]);
                out.push_back(kHex[byte & 0xF]);
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
    return out;
}

} // namespace

RequestBuilder& RequestBuilder::Add(const char* name, std::string value) {
    mMembers.push_back({name, std::move(value)});
    return *this;
}

RequestBuilder& RequestBuilder::Text(const char* name, const char* text) {
    return Add(name, text ? Quote(text) : std::string("null"));
}

RequestBuilder& RequestBuilder::Text(const char* name, const std::string& text) {
    return Add(name, Quote(text));
}

RequestBuilder& RequestBuilder::Int(const char* name, int64_t value) {
    return Add(name, std::to_string(value));
}

std::string RequestBuilder::Body() const {
    // Stable, so that of members of the same name the one added last ends last and is kept.
    std::vector<const Member*> order;
    order.reserve(mMembers.size());
    size_t size = 2;
    for (const Member& member : mMembers) {
        order.push_back(&member);
        size += member.name.size() + member.value.size() + 4;
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Member* a, const Member* b) { return a->name < b->name; });
    std::string body;
    body.reserve(size);
    body.push_back('{');
    bool first = true;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i + 1 < order.size() && order[i + 1]->name == order[i]->name)
            continue;
        if (!first)
            body.push_back(',');
        first = false;
        body.append(Quote(order[i]->name)).push_back(':');
        body.append(order[i]->value);
    }
    body.push_back('}');
    return body;
}

} // namespace tovrane::client
