//===- TextEncoding.cpp - Conversion of server texts into client encodings -===//
#include "TextEncoding.h"

#include "Utf8.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tovrane::client {

namespace {

struct EncodingName {
    const char* server;
    const char* iconv;
};

constexpr EncodingName kEncodings[] = {
    {"UTF-8", "UTF-8"},           {"UTF8", "UTF-8"},
    {"MacRoman", "MACINTOSH"},    {"Macintosh", "MACINTOSH"},
    {"ISO-8859-1", "ISO-8859-1"}, {"ISOLatin1", "ISO-8859-1"},
    {"Latin1", "ISO-8859-1"},     {"ISO-8859-2", "ISO-8859-2"},
    {"ISOLatin2", "ISO-8859-2"},  {"CP1252", "CP1252"},
    {"Windows-1252", "CP1252"},   {"Shift_JIS", "SHIFT_JIS"},
    {"SJIS", "SHIFT_JIS"},        {"EUC-JP", "EUC-JP"},
};

/// Bytes to skip for the bad sequence at `text` (`left` bytes remain): its lead byte and
/// the continuation bytes that follow it, at most as many as the lead announces. A byte
/// that cannot lead a sequence is skipped alone.
size_t BadSequenceLength(const char* text, size_t left) {
    auto lead = static_cast<unsigned char>(text[0]);
    size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 1;
    size_t skip = 1;
    while (skip < length && skip < left && (static_cast<unsigned char>(text[skip]) & 0xC0) == 0x80)
        ++skip;
    return skip;
}

/// Runs `converter` over `text`. With `replace`, a character it cannot take becomes '?'
/// and the conversion goes on; without, the conversion fails.
bool Run(iconv_t converter, std::string_view text, bool replace, std::string& out) {
    out.clear();
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[512];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (done != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (!replace)
            return false;
        // EILSEQ or EINVAL: skip the offending sequence.
        size_t skip = BadSequenceLength(in, inLeft);
        in += skip;
        inLeft -= skip;
        out.push_back('?');
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
}

bool Convert(std::string_view text, const char* target, bool replace, std::string& out) {
    iconv_t converter = iconv_open(target, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    bool converted = Run(converter, text, replace, out);
    iconv_close(converter);
    return converted;
}

} // namespace

bool IsUtf8Name(const char* name) { return std::strcmp(name, "UTF-8") == 0; }

const char* IconvNameFor(std::string_view encoding) {
    for (const EncodingName& name : kEncodings) {
        std::string_view server(name.server);
        if (server.size() == encoding.size() &&
            strncasecmp(server.data(), encoding.data(), encoding.size()) == 0)
            return name.iconv;
    }
    return nullptr;
}

bool ConvertFromUtf8(std::string_view text, const char* target, std::string& out) {
    // Into UTF-8 nothing changes but the check (the common case: no converter is opened).
    if (IsUtf8Name(target)) {
        if (!IsUtf8(text))
            return false;
        out.assign(text.data(), text.size());
        return true;
    }
    return Convert(text, target, false, out);
}

std::string ToMacRoman(std::string_view text) {
    std::string out;
    if (!Convert(text, "MACINTOSH", true, out))
        out.assign(text.size(), '?');
    return out;
}

} // namespace tovrane::client
