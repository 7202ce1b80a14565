//===- BrivelleText.h - Texts between the server SDK and CF ----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_BRIVELLE_BRIVELLETEXT_H
#define PIGMENTOR_BRIVELLE_BRIVELLETEXT_H

#include <CoreFoundation/CoreFoundation.h>

#include <cstddef>

/// Small helpers that the server classes share for texts handed back by the server SDK:
/// making Core Foundation strings of them and copying them into the fixed buffers of the
/// server classes. SDK texts are untrusted: every copy is bounded by the destination's size
/// and always NUL-terminated. "Create" results are new strings that the caller releases.

/// Size of the caller buffers that profile ids, link names, device messages and attribute
/// names are copied into (255 bytes and a NUL).
constexpr size_t kBrivelleTextBufferSize = 256;

/// A string of `text` read in the application's text encoding (the platform's
/// GetApplicationTextEncoding); null for a null text or one not valid in that encoding.
CFStringRef CreateStringInAppEncoding(const char* text);
/// A string of the first zero-terminated text within `bytes` (at most `size` bytes) read in
/// the application's text encoding; bytes not valid in it are read as Mac Roman instead, which
/// takes any byte, so only null bytes give null.
CFStringRef CreateServerString(const char* bytes, size_t size);
/// A new "unknown", the text shown for tray fields the server leaves out.
CFStringRef CreateUnknownString();
/// True for a null or empty string.
bool IsEmptyString(CFStringRef string);
/// Copies `text` (null: "") into `out` of `size` bytes, cutting it to size - 1 bytes.
void CopyBounded(char* out, size_t size, const char* text);

#endif // PIGMENTOR_BRIVELLE_BRIVELLETEXT_H
