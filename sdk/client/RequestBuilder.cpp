//===- RequestBuilder.cpp - JSON bodies of the SDK's requests -------------===//
#include "RequestBuilder.h"

#include "JsonRead.h"

namespace tovrane::client {

// Hidden behind a pointer so that callers of the builder need not parse the JSON library.
struct RequestBuilder::Object {
    Json json = Json::object();
};

RequestBuilder::RequestBuilder() : mObject(new Object) {}

RequestBuilder::~RequestBuilder() = default;

RequestBuilder& RequestBuilder::Text(const char* name, const char* text) {
    if (text)
        mObject->json[name] = text;
    else
        mObject->json[name] = nullptr;
    return *this;
}

RequestBuilder& RequestBuilder::Text(const char* name, const std::string& text) {
    mObject->json[name] = text;
    return *this;
}

RequestBuilder& RequestBuilder::Int(const char* name, int64_t value) {
    mObject->json[name] = value;
    return *this;
}

std::string RequestBuilder::Body() const {
    return Serialise(mObject->json);
}

} // namespace tovrane::client
