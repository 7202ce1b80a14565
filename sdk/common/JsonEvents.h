//===- JsonEvents.h - A strict JSON reader that only reports events ---------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_JSONEVENTS_H
#define TOVRANE_COMMON_JSONEVENTS_H

#include <nlohmann/json.hpp>

#include <string_view>

namespace tovrane {

/// Reads `text` as one JSON value and reports it to `events` in the order and with the
/// values the JSON library's own strict event parser (`sax_parse`, strict, no comments)
/// reports them, accepting and refusing exactly the texts it does: an optional leading
/// UTF-8 byte order mark, RFC 8259 syntax with strictly valid UTF-8 in strings, numbers as
/// unsigned or signed 64-bit integers when they fit and finite doubles otherwise, and
/// nothing after the value but whitespace (or a NUL byte, which the library reads as the
/// end). It exists because it is several times faster: no character-by-character token
/// buffer, no per-character virtual input.
///
/// Returns true when the text was read whole; false at the first syntax fault or as soon as
/// an event answers false. `parse_error` is never reported: callers see a fault as false.
/// Strings are handed over in one buffer the receiver may move from. Nesting is not bounded
/// here (the container stack is a vector, not recursion); receivers bound it. No state is
/// kept between calls; safe to call from any thread.
bool ParseJsonEvents(std::string_view text, nlohmann::json_sax<nlohmann::json>& events);

} // namespace tovrane

#endif // TOVRANE_COMMON_JSONEVENTS_H
