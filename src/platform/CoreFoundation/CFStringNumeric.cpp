//===- CFStringNumeric.cpp - Numbers read from strings --------------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <cstdint>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool IsSpace(char16_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char16_t c) {
    return c >= '0' && c <= '9';
}

size_t SkipSpace(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

// The "C" locale, made once, so parsing never depends on the process locale.
locale_t CLocale() {
    static locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

} // namespace

extern "C" {

SInt32 CFStringGetIntValue(CFStringRef str) {
    std::u16string_view text = pmcf::Units(str);
    size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate the magnitude, clamped just past the SInt32 range so it cannot overflow.
    const int64_t limit = int64_t(INT32_MAX) + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX)
        return INT32_MAX;
    return static_cast<SInt32>(value);
}

double CFStringGetDoubleValue(CFStringRef str) {
    std::u16string_view text = pmcf::Units(str);
    size_t i = SkipSpace(text);
    // Copy just the decimal number (sign, digits, fraction, exponent) into an ASCII buffer, so
    // that hexadecimal forms, "inf" and "nan" are not taken as numbers.
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number.push_back(static_cast<char>(text[i++]));
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        number.push_back(static_cast<char>(text[i]));
    if (i < text.size() && text[i] == '.') {
        number.push_back('.');
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits)
            number.push_back(static_cast<char>(text[i]));
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent.push_back(static_cast<char>(text[j++]));
        size_t start = j;
        for (; j < text.size() && IsDigit(text[j]); ++j)
            exponent.push_back(static_cast<char>(text[j]));
        if (j > start)
            number += exponent;
    }
    // strtod_l saturates to +-HUGE_VAL and flushes tiny values towards 0, without UB.
    locale_t c = CLocale();
    return c ? strtod_l(number.c_str(), nullptr, c) : std::strtod(number.c_str(), nullptr);
}

} // extern "C"
