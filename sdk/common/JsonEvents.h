//===- JsonEvents.h - A strict JSON reader that only reports events ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_JSONEVENTS_H
#define TOVRANE_COMMON_JSONEVENTS_H

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string_view>

namespace tovrane {

/// Receives what ParseJsonEvents reads, one call per event; answering false stops the
/// reading. Texts are UTF-8 views that stay valid only during the call (they point into the
/// text read, or into the reader's buffer when a string held escapes): a receiver that keeps
/// one copies it. A float comes with its text as written.
class JsonEventReceiver {
public:
    virtual ~JsonEventReceiver() = default;
    virtual bool Null() = 0;
    virtual bool Boolean(bool value) = 0;
    virtual bool Integer(std::int64_t value) = 0;
    virtual bool Unsigned(std::uint64_t value) = 0;
    virtual bool Float(double value, std::string_view text) = 0;
    virtual bool String(std::string_view value) = 0;
    virtual bool Key(std::string_view name) = 0;
    virtual bool StartObject() = 0;
    virtual bool StartArray() = 0;
    virtual bool EndObject() = 0;
    virtual bool EndArray() = 0;
};

/// Reads `text` as one JSON value and reports it to `events` in the order and with the
/// values the JSON library's own strict event parser (`sax_parse`, strict, no comments)
/// reports them, accepting and refusing exactly the texts it does: an optional leading
/// UTF-8 byte order mark, RFC 8259 syntax with strictly valid UTF-8 in strings, numbers as
/// unsigned or signed 64-bit integers when they fit and finite doubles otherwise, and
/// nothing after the value but whitespace (or a NUL byte, which the library reads as the
/// end). It exists because it is several times faster: no character-by-character token
/// buffer, no per-character virtual input, and a string without escapes is passed as a view
/// of `text` rather than copied.
///
/// Returns true when the text was read whole; false at the first syntax fault or as soon as
/// an event answers false. Nesting is not bounded here (the container stack is a vector,
/// not recursion); receivers bound it. No state is kept between calls; safe to call from
/// any thread.
bool ParseJsonEvents(std::string_view text, JsonEventReceiver& events);

/// The same reading reported to one of the JSON library's event receivers (`parse_error` is
/// never reported: callers see a fault as false). Strings are handed over in one buffer the
/// receiver may move from. For the document builder and for comparing with the library.
bool ParseJsonEvents(std::string_view text, nlohmann::json_sax<nlohmann::json>& events);

} // namespace tovrane

#endif // TOVRANE_COMMON_JSONEVENTS_H
