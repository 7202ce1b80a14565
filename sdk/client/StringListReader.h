//===- StringListReader.h - The string table reply, read as it is parsed --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_STRINGLISTREADER_H
#define TOVRANE_CLIENT_STRINGLISTREADER_H

#include "LocalisedTable.h"
#include "ReplyDecoder.h"

#include <string_view>
#include <vector>

namespace tovrane::client {

/// Decodes a "strings" reply (`{"status", "strings": [{"context": text or null, "key",
/// "text"}]}`, UTF-8) into `out`, entries in the order sent, straight from the parser's
/// events, without building the document first. The outcome is exactly that of parsing the
/// reply with ParseObject and reading each element with the checked reads: the same size,
/// depth, member and value bounds, the same field checks, the last of repeated keys winning,
/// and the envelope's non-zero status answered as it is. `out` is empty unless T10_OK is
/// answered.
t10_status ReadStringList(std::string_view body, LocalisedTable& out);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_STRINGLISTREADER_H
