//===- JsonWriter.cpp - Streaming JSON output for the tools ---------------===//
#include "JsonWriter.h"

#include <cmath>
#include <cstring>

JsonWriter::~JsonWriter() {
    if (mHasMembers.empty())
        std::fputc('\n', mOut);
}

void JsonWriter::Newline() {
    std::fputc('\n', mOut);
    for (size_t i = 0; i < mHasMembers.size(); ++i)
        std::fputs("  ", mOut);
}

void JsonWriter::BeforeValue() {
    if (mAfterKey) {
        mAfterKey = false;
        return;
    }
    if (mHasMembers.empty())
        return;
    if (mHasMembers.back())
        std::fputc(',', mOut);
    mHasMembers.back() = true;
    Newline();
}

void JsonWriter::BeginObject() {
    BeforeValue();
    std::fputc('{', mOut);
    mHasMembers.push_back(false);
}

void JsonWriter::End(char closer) {
    bool members = mHasMembers.back();
    mHasMembers.pop_back();
    if (members)
        Newline();
    std::fputc(closer, mOut);
}

void JsonWriter::EndObject() { End('}'); }

void JsonWriter::BeginArray() {
    BeforeValue();
    std::fputc('[', mOut);
    mHasMembers.push_back(false);
}

void JsonWriter::EndArray() { End(']'); }

void JsonWriter::Key(const char* key) {
    BeforeValue();
    Escaped(reinterpret_cast<const unsigned char*>(key), std::strlen(key));
    std::fputs(": ", mOut);
    mAfterKey = true;
}

void JsonWriter::String(const std::string& text) {
    BeforeValue();
    Escaped(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

void JsonWriter::String(const char* text) {
    if (!text)
        Null();
    else
        String(std::string(text));
}

void JsonWriter::Bytes(const unsigned char* bytes, long length) {
    BeforeValue();
    Escaped(bytes, length > 0 ? static_cast<size_t>(length) : 0);
}

void JsonWriter::Number(long value) {
    BeforeValue();
    std::fprintf(mOut, "%ld", value);
}

void JsonWriter::Number(double value) {
    BeforeValue();
    if (std::isfinite(value))
        std::fprintf(mOut, "%.9g", value);
    else
        std::fputs("null", mOut);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    std::fputs(value ? "true" : "false", mOut);
}

void JsonWriter::Null() {
    BeforeValue();
    std::fputs("null", mOut);
}

namespace {

/// Length of the well-formed UTF-8 sequence at `p` (at most `left` bytes), or 0.
size_t utf8Sequence(const unsigned char* p, size_t left) {
    unsigned char c = p[0];
    size_t length;
    unsigned minimum;
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0)
        length = 2, minimum = 0x80;
    else if ((c & 0xF0) == 0xE0)
        length = 3, minimum = 0x800;
    else if ((c & 0xF8) == 0xF0)
        length = 4, minimum = 0x10000;
    else
        return 0;
    if (length > left)
        return 0;
    unsigned value = c & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

void JsonWriter::Escaped(const unsigned char* bytes, size_t length) {
    std::fputc('"', mOut);
    for (size_t i = 0; i < length;) {
        unsigned char c = bytes[i];
        if (c == '"' || c == '\\') {
            std::fputc('\\', mOut);
            std::fputc(c, mOut);
            ++i;
        } else if (c == '\n') {
            std::fputs("\\n", mOut), ++i;
        } else if (c == '\r') {
            std::fputs("\\r", mOut), ++i;
        } else if (c == '\t') {
            std::fputs("\\t", mOut), ++i;
        } else if (c < 0x20 || c == 0x7F) {
            std::fprintf(mOut, "\\u%04x", c), ++i;
        } else if (size_t n = utf8Sequence(bytes + i, length - i)) {
            std::fwrite(bytes + i, 1, n, mOut);
            i += n;
        } else {
            // Not UTF-8: the byte stands for itself, as in Latin-1, so nothing is lost.
            std::fprintf(mOut, "\\u%04x", c), ++i;
        }
    }
    std::fputc('"', mOut);
}
