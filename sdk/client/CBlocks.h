//===- CBlocks.h - Results handed to C callers as tovrane_free blocks -------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_CBLOCKS_H
#define TOVRANE_CLIENT_CBLOCKS_H

#include "ReplyDecoder.h"

#include <t10.h>

#include <string>
#include <string_view>
#include <vector>

/// Builders of the blocks the SDK hands back. Each result is one heap block the
/// caller releases with one `tovrane_free`: a string array holds its pointers (plus a
/// terminating null) followed by the texts they point to. An empty list gives null; null is
/// also the answer when memory runs out, which the callers turn into T10_ERR_NO_MEMORY.
namespace tovrane::client {

/// A zero-terminated copy of `text`.
char* MakeString(std::string_view text);
/// An array of copies of `items`.
char** MakeStringArray(const std::vector<std::string>& items);
/// An array of copies of `items`.
int32_t* MakeIntArray(const std::vector<int32_t>& items);
/// The tray records of `trays`, texts converted to Mac Roman and cut to fit.
t10_tray_record* MakeTrayRecords(const std::vector<Tray>& trays);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_CBLOCKS_H
