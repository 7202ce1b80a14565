//===- RequestBuilder.h - JSON bodies of the SDK's requests -----------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_REQUESTBUILDER_H
#define TOVRANE_CLIENT_REQUESTBUILDER_H

#include <cstdint>
#include <string>
#include <vector>

namespace tovrane::client {

/// Builds one request body: a JSON object of named members, written compactly with the
/// members in byte order of their names (a name added twice keeps its last value). Texts are
/// the caller's bytes; bytes that are not UTF-8 are replaced when the body is written, so any
/// input gives a well-formed body. The builder owns its members; it is used by one thread.
class RequestBuilder {
public:
    /// Adds a text member; a null `text` adds JSON null.
    RequestBuilder& Text(const char* name, const char* text);
    /// Adds a text member.
    RequestBuilder& Text(const char* name, const std::string& text);
    /// Adds an integer member.
    RequestBuilder& Int(const char* name, int64_t value);
    /// The body.
    std::string Body() const;

private:
    /// A member: its name and its value already written as JSON.
    struct Member {
        std::string name;
        std::string value;
    };
    RequestBuilder& Add(const char* name, std::string value);

    std::vector<Member> mMembers;
};

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_REQUESTBUILDER_H
