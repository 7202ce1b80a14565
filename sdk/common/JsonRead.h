//===- JsonRead.h - Bounded JSON parsing and checked field reads ------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_JSONREAD_H
#define TOVRANE_COMMON_JSONREAD_H

#include "Protocol.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Parsing of untrusted JSON and typed reads of its members, shared by the SDK's reply
/// decoding and the server's request decoding. Nothing here throws or aborts: every read
/// answers false for a missing member, a wrong type, a value outside its bounds, or a string
/// holding a NUL byte (which C callers could not see). Texts are UTF-8 (the parser rejects
/// anything else).
namespace tovrane {

using Json = nlohmann::json;

/// Most values (of any kind, containers included) of one reply or request.
constexpr size_t kMaxJsonValues = 1u << 17;

/// Parses `text` into `out` when it is at most `maxBytes` long, nested at most
/// protocol::kMaxJsonDepth deep, well-formed, an object, with no array or object of more
/// than `maxEntries` members and at most `maxValues` values in all. The counts are enforced
/// while parsing: what lies past them is never built.
bool ParseObject(std::string_view text, size_t maxBytes, Json& out,
                 size_t maxEntries = protocol::kMaxListEntries, size_t maxValues = kMaxJsonValues);

/// The string member `field`, at most `maxBytes` long.
bool ReadString(const Json& object, const char* field, size_t maxBytes, std::string& out);
/// The same for a member that may be absent or null: `present` says which.
bool ReadOptionalString(const Json& object, const char* field, size_t maxBytes, std::string& out,
                        bool& present);
/// The integer member `field`, within [min, max].
bool ReadInt(const Json& object, const char* field, int64_t min, int64_t max, int64_t& out);
/// The array member `field` of at most `maxCount` strings of at most `maxBytes` each.
bool ReadStringArray(const Json& object, const char* field, size_t maxCount, size_t maxBytes,
                     std::vector<std::string>& out);
/// `value` itself as a string of at most `maxBytes` without NUL bytes.
bool AsString(const Json& value, size_t maxBytes, std::string& out);

/// `value` serialised; invalid UTF-8 in its strings is replaced rather than refused.
std::string Serialise(const Json& value);

} // namespace tovrane

#endif // TOVRANE_COMMON_JSONREAD_H
