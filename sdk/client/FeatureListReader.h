//===- FeatureListReader.h - The features reply, read as parsed --*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_FEATURELISTREADER_H
#define TOVRANE_CLIENT_FEATURELISTREADER_H

#include "ReplyDecoder.h"

#include <string_view>
#include <vector>

namespace tovrane::client {

/// Decodes a "features" reply (`{"status", "features": [{"name", "value"}]}`, UTF-8) into
/// `out` straight from the parser's events, without building the document first. The
/// outcome is exactly that of parsing the reply with ParseObject and reading each element
/// with the checked reads: the same size, depth, member and value bounds, at most
/// protocol::kMaxSmallList features, names of at most protocol::kMaxNameBytes and values of
/// at most protocol::kMaxTextBytes without NUL bytes, the last of repeated members winning,
/// and the envelope's non-zero status answered as it is. `out` is empty unless T10_OK is
/// answered.
t10_status ReadFeatureList(std::string_view body, std::vector<Feature>& out);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_FEATURELISTREADER_H
