//===- TextEncoding.h - Conversion of server texts into client encodings ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_CLIENT_TEXTENCODING_H
#define TOVRANE_CLIENT_TEXTENCODING_H

#include <string>
#include <string_view>

namespace tovrane::client {

/// The iconv name of a server encoding name ("UTF-8", "MacRoman", "ISO-8859-1",
/// "ISOLatin1", "ISO-8859-2", "CP1252", "Shift_JIS", "EUC-JP"; case is ignored), or null
/// when this library cannot convert into it.
const char* IconvNameFor(std::string_view encoding);
/// Whether the iconv name `name` (from IconvNameFor) is UTF-8 itself.
bool IsUtf8Name(const char* name);
/// Converts UTF-8 `text` into the iconv encoding `target`; false when the text is not UTF-8
/// or holds a character `target` lacks. Thread-safe (a converter per call).
bool ConvertFromUtf8(std::string_view text, const char* target, std::string& out);
/// UTF-8 `text` in Mac Roman, every character that it lacks (or invalid byte) becoming '?'.
std::string ToMacRoman(std::string_view text);

} // namespace tovrane::client

#endif // TOVRANE_CLIENT_TEXTENCODING_H
