//===- RequestBuilder.h - JSON bodies of the SDK's requests -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_REQUESTBUILDER_H
#define TOVRANE_CLIENT_REQUESTBUILDER_H

#include <cstdint>
#include <memory>
#include <string>

namespace tovrane::client {

/// Builds one request body: a JSON object of named members. Texts are the caller's bytes;
/// bytes that are not UTF-8 are replaced when the body is written, so any input gives a
/// well-formed body. The builder owns its object; it is used by one thread.
class RequestBuilder {
public:
    RequestBuilder();
    ~RequestBuilder();
    RequestBuilder(const RequestBuilder&) = delete;
    RequestBuilder& operator=(const RequestBuilder&) = delete;

    /// Adds a text member; a null `text` adds JSON null.
    RequestBuilder& Text(const char* name, const char* text);
    /// Adds a text member.
    RequestBuilder& Text(const char* name, const std::string& text);
    /// Adds an integer member.
    RequestBuilder& Int(const char* name, int64_t value);
    /// The body.
    std::string Body() const;

private:
    struct Object;
    std::unique_ptr<Object> mObject;
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_REQUESTBUILDER_H
