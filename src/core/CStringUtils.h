//===- CStringUtils.h - Zero-terminated string helpers ----------*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CORE_CSTRINGUTILS_H
#define PIGMENTOR_CORE_CSTRINGUTILS_H

/// Small helpers over zero-terminated byte strings, exported under their plain names so that
/// code of every layer can call them. Callers pass valid, NUL-terminated strings.

/// Copies `c` into the length-prefixed string `p` (room for 256 bytes); at most 255 bytes are
/// copied, so a longer source is cut rather than overflowing `p`. Returns `p`.
unsigned char* ctoPStr(const char* c, unsigned char* p);
/// Copies the length-prefixed `p` into `c` (room for p[0] + 1 bytes) and terminates it.
char* ptoCStr(const unsigned char* p, char* c);
/// Formats `n` in decimal into `buf` (room for 21 bytes). Returns `buf`.
char* num2String(long n, char* buf);
/// The integer value of `s` read as Mac Roman text (leading blanks, sign, digits); 0 when none.
long string2Number(const char* s);
/// Deletes the bytes from `from` up to, not including, `to`; nothing when from = to or when
/// from lies beyond the string. A `to` beyond the string is taken as its end.
void deleteCharRangeInStr(char* s, short from, short to);
/// The first position of `c` before the NUL, or null.
char* findChar(const char* s, char c);
/// A new malloc block of `n` copies of `c` and a NUL (caller frees), or null.
char* newInitalizedCString(unsigned long n, char c);
/// False as soon as a run of consecutive decimal digits is longer than `maxDigits`.
bool validateRangeValues(const char* s, long maxDigits);

#endif // PIGMENTOR_CORE_CSTRINGUTILS_H
