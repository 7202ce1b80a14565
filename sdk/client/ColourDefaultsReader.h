//===- ColourDefaultsReader.h - The colour defaults reply, read as it is parsed -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_COLOURDEFAULTSREADER_H
#define TOVRANE_CLIENT_COLOURDEFAULTSREADER_H

#include "ReplyDecoder.h"

#include <string_view>
#include <vector>

namespace tovrane::client {

/// Decodes a "colour_defaults" reply (`{"status", "keys": [{"key", "default": text or null,
/// "values": [text]}]}`, UTF-8) into `out` straight from the parser's events, without
/// building the document first. The outcome is exactly that of parsing the reply with
/// ParseObject and reading each element with the checked reads: the same size, depth,
/// member and value bounds, at most protocol::kMaxSmallList keys and values per key, names
/// of at most protocol::kMaxNameBytes without NUL bytes, an absent or null default read as
/// none, the last of repeated members winning, and the envelope's non-zero status answered
/// as it is. `out` is empty unless T10_OK is answered.
t10_status ReadColourDefaults(std::string_view body, ColourDefaultList& out);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_COLOURDEFAULTSREADER_H
