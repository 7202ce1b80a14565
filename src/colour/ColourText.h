//===- ColourText.h - Text copies of the colour model -----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_COLOUR_COLOURTEXT_H
#define PIGMENTOR_COLOUR_COLOURTEXT_H

#include <CoreFoundation/CoreFoundation.h>

#include <cstddef>

/// Size of every caller buffer that the colour items copy names and keywords into.
constexpr size_t kColourTextSize = 256;

/// Text helpers of the colour model. Byte texts are in the application's text encoding
/// (UTF-8): copies that must be cut end after the last whole character that fits, so that a
/// name in any language never ends in half a character.
namespace ColourText {

/// Copies `text` into `out` (`size` bytes, NUL included), cut at a character boundary; the
/// bytes copied. A null text gives "", a null or empty buffer nothing.
size_t Copy(char* out, size_t size, const char* text);
/// A new string (the caller releases it) of `text` in the application's encoding; null for a
/// null text or bytes that are not valid in that encoding.
CFStringRef Create(const char* text);
/// `string` in the application's encoding into `out` (`size` bytes), cut at a character
/// boundary; false (and "") for a null string or one that does not convert.
bool Get(CFStringRef string, char* out, size_t size);

} // namespace ColourText

#endif // PIGMENTOR_COLOUR_COLOURTEXT_H
