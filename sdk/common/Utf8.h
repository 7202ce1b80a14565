//===- Utf8.h - Checking UTF-8 text ------------------------------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef TOVRANE_COMMON_UTF8_H
#define TOVRANE_COMMON_UTF8_H

#include <string_view>

namespace tovrane {

/// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past
/// U+10FFFF). Pure; safe on any bytes.
bool IsUtf8(std::string_view text);

} // namespace tovrane

#endif // TOVRANE_COMMON_UTF8_H
