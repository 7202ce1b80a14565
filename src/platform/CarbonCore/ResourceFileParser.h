#pragma once
/// Private to the CarbonCore library: reads the text form of a resource file described in
/// Resources.h into memory. The input is untrusted; the caller bounds its size.

#include <CarbonCore/MacTypes.h>

#include <cstddef>
#include <map>
#include <string>

namespace carboncore {

/// One string list: index -> Mac Roman bytes (at most 255). Its count is its highest index.
using StringList = std::map<SInt16, std::string>;
/// Every list of one file, by resource id.
using StringLists = std::map<SInt16, StringList>;

/// Parses `length` bytes; false (and *errorLine = the 1-based bad line) if they are malformed,
/// in which case *lists is left empty.
bool ParseResourceText(const char* data, size_t length, StringLists* lists, size_t* errorLine);

} // namespace carboncore
