#include "ResourceFileParser.h"

#include <CoreFoundation/PMASCII.h>

#include <cstring>

namespace carboncore {

namespace {

constexpr size_t kMaxLineLength = 4096;
constexpr size_t kMaxStringLength = 255;
constexpr char kListHeader[] = "STR# ";

bool isBlank(const char* line, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (line[i] != ' ' && line[i] != '\t')
            return false;
    return true;
}

// Decimal integer in [min, max] at text[*pos...]; leaves *pos after its last digit.
bool parseNumber(const char* text, size_t length, size_t* pos, long min, long max, long* value) {
    bool negative = false;
    if (*pos < length && (text[*pos] == '-' || text[*pos] == '+'))
        negative = text[(*pos)++] == '-';
    size_t digits = 0;
    long magnitude = 0;
    while (*pos < length && text[*pos] >= '0' && text[*pos] <= '9') {
        magnitude = magnitude * 10 + (text[(*pos)++] - '0');
        if (++digits > 6) // more than any SInt16 needs; stops overflow early
            return false;
    }
    if (digits == 0)
        return false;
    *value = negative ? -magnitude : magnitude;
    return *value >= min && *value <= max;
}

// Undoes the escapes of an entry's text; false on an unknown or cut-off escape.
bool unescape(const char* text, size_t length, std::string* out) {
    out->clear();
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c != '\\') {
            out->push_back(c);
            continue;
        }
        if (++i >= length)
            return false;
        if (text[i] == '\\') {
            out->push_back('\\');
        } else if (text[i] == 'n') {
            out->push_back('\n');
        } else if (text[i] == 'x' && i + 2 < length && pmcf::HexDigitValue(text[i + 1]) >= 0 &&
                   pmcf::HexDigitValue(text[i + 2]) >= 0) {
            out->push_back(char(pmcf::HexDigitValue(text[i + 1]) * 16 + pmcf::HexDigitValue(text[i + 2])));
            i += 2;
        } else {
            return false;
        }
    }
    // A Pascal string holds 255 bytes; a longer text is cut before the UTF-8 character that
    // would not fit whole.
    if (out->size() > kMaxStringLength) {
        size_t cut = kMaxStringLength;
        while (cut > 0 && (static_cast<unsigned char>((*out)[cut]) & 0xC0) == 0x80)
            --cut;
        out->resize(cut);
    }
    return true;
}

bool parseHeader(const char* line, size_t length, StringLists* lists, StringList** current) {
    size_t pos = sizeof kListHeader - 1;
    long id = 0;
    if (!parseNumber(line, length, &pos, -32768, 32767, &id) || !isBlank(line + pos, length - pos))
        return false;
    auto inserted = lists->emplace(SInt16(id), StringList());
    if (!inserted.second)
        return false; // a list given twice is more likely a mistake than a merge
    *current = &inserted.first->second;
    return true;
}

bool parseEntry(const char* line, size_t length, StringList* list) {
    size_t pos = 0;
    long index = 0;
    if (!parseNumber(line, length, &pos, 1, 32767, &index) || line[0] == '-' || line[0] == '+')
        return false;
    std::string text;
    if (pos < length) {
        if (line[pos] != ' ' || !unescape(line + pos + 1, length - pos - 1, &text))
            return false;
    }
    return list->emplace(SInt16(index), std::move(text)).second;
}

} // namespace

bool ParseResourceText(const char* data, size_t length, StringLists* lists, size_t* errorLine) {
    lists->clear();
    StringList* current = nullptr;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < length) {
        ++lineNumber;
        const char* newline =
            static_cast<const char*>(std::memchr(data + start, '\n', length - start));
        size_t end = newline != nullptr ? size_t(newline - data) : length;
        const char* line = data + start;
        size_t lineLength = end - start;
        start = end + 1;
        if (lineLength > 0 && line[lineLength - 1] == '\r')
            --lineLength;

        bool ok = true;
        if (lineLength > kMaxLineLength || std::memchr(line, '\0', lineLength) != nullptr) {
            ok = false;
        } else if (isBlank(line, lineLength)) {
            current = nullptr;
        } else if (line[0] == '#') {
            // comment
        } else if (lineLength >= sizeof kListHeader - 1 &&
                   std::memcmp(line, kListHeader, sizeof kListHeader - 1) == 0) {
            ok = parseHeader(line, lineLength, lists, &current);
        } else {
            ok = current != nullptr && parseEntry(line, lineLength, current);
        }
        if (!ok) {
            lists->clear();
            *errorLine = lineNumber;
            return false;
        }
    }
    return true;
}

} // namespace carboncore
