//===- DeviceLinkListReader.h - The device links reply, read as parsed -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_DEVICELINKLISTREADER_H
#define TOVRANE_CLIENT_DEVICELINKLISTREADER_H

#include "ReplyDecoder.h"

#include <string_view>
#include <vector>

namespace tovrane::client {

/// Decodes a "device_links" reply (`{"status", "links": [{"source", "destination", "name",
/// "intents"}]}`, UTF-8) into `out` straight from the parser's events, without building the
/// document first. The outcome is exactly that of parsing the reply with ParseObject and
/// reading each element with the checked reads: the same size, depth, member and value
/// bounds, at most protocol::kMaxListEntries links, names of at most protocol::kMaxNameBytes
/// without NUL bytes, intents an integer from 0 to INT32_MAX, the last of repeated members
/// winning, and the envelope's non-zero status answered as it is. `out` is empty unless
/// T10_OK is answered.
t10_status ReadDeviceLinkList(std::string_view body, std::vector<DeviceLinkEntry>& out);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_DEVICELINKLISTREADER_H
