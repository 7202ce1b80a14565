//===- PMASCII.h - ASCII digit classes for the text parsers -----*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Not part of the platform API: the digit tests shared by the URL, property-list and UUID
// parsers here and the resource-file parser above. Locale-free on purpose (<cctype> follows
// the C locale and takes only unsigned-char values), and taking UTF-16 units as well as bytes.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_PMASCII_H
#define PIGMENTOR_CF_PMASCII_H

namespace pmcf {

/// Whether `c` is one of the ASCII digits 0-9.
constexpr bool IsASCIIDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

/// The value (0-15) of the ASCII hexadecimal digit `c` in either case; -1 for any other.
constexpr int HexDigitValue(char32_t c) {
    if (IsASCIIDigit(c))
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a') + 10;
    if (c >= 'A' && c <= 'F')
        return int(c - 'A') + 10;
    return -1;
}

/// Whether `c` is an ASCII hexadecimal digit in either case.
constexpr bool IsHexDigit(char32_t c) {
    return HexDigitValue(c) >= 0;
}

} // namespace pmcf

#endif // PIGMENTOR_CF_PMASCII_H
