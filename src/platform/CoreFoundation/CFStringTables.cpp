//===- CFStringTables.cpp - Single-byte encodings by table ----------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// ASCII, the ISO Latin encodings, Mac Roman and Windows Latin 1 carry nearly all PPD text, so
// they are converted here by table instead of through iconv. The tables and the edge cases (bytes
// that decode to nothing, Unicode tag characters that encode to nothing, where conversion stops
// when the output is full) reproduce glibc's converters exactly, so that results do not depend on
// which path a string takes; the tests compare both paths.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace pmcf {

/// Bytes 0x80-0xFF of one encoding (0x00-0x7F are ASCII in all of them); kNoChar where a byte
/// means nothing.
struct SingleByteTable {
    char16_t high[128];
};

namespace {

constexpr char16_t kNoChar = 0xFFFF;

constexpr SingleByteTable MakeASCII() {
    SingleByteTable table{};
    for (int i = 0; i < 128; ++i)
        table.high[i] = kNoChar;
    return table;
}

constexpr SingleByteTable MakeLatin1() {
    SingleByteTable table{};
    for (int i = 0; i < 128; ++i)
        table.high[i] = static_cast<char16_t>(0x80 + i);
    return table;
}

// Windows Latin 1 is Latin 1 except in 0x80-0x9F, five bytes of which are undefined.
constexpr SingleByteTable MakeWindowsLatin1() {
    constexpr char16_t kC1[32] = {
        0x20AC, kNoChar, 0x201A,  0x0192, 0x201E,  0x2026,  0x2020, 0x2021,  0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152,  kNoChar, 0x017D, kNoChar, kNoChar, 0x2018, 0x2019,  0x201C, 0x201D, 0x2022,
        0x2013, 0x2014,  0x02DC,  0x2122, 0x0161,  0x203A,  0x0153, kNoChar, 0x017E, 0x0178,
    };
    SingleByteTable table = MakeLatin1();
    for (int i = 0; i < 32; ++i)
        table.high[i] = kC1[i];
    return table;
}

// ISO Latin 5 is Latin 1 with six Turkish letters in place of Icelandic ones.
constexpr SingleByteTable MakeLatin5() {
    SingleByteTable table = MakeLatin1();
    table.high[0xD0 - 0x80] = 0x011E;
    table.high[0xDD - 0x80] = 0x0130;
    table.high[0xDE - 0x80] = 0x015E;
    table.high[0xF0 - 0x80] = 0x011F;
    table.high[0xFD - 0x80] = 0x0131;
    table.high[0xFE - 0x80] = 0x015F;
    return table;
}

constexpr SingleByteTable kASCII = MakeASCII();
constexpr SingleByteTable kLatin5 = MakeLatin5();

// ISO Latin 2: the C1 controls as themselves, then the Central European letters.
constexpr SingleByteTable kLatin2 = {{
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, 0x00A0, 0x0104, 0x02D8, 0x0141,
    0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F, 0x0165,
    0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
}};
constexpr SingleByteTable kLatin1 = MakeLatin1();
constexpr SingleByteTable kWindowsLatin1 = MakeWindowsLatin1();

// glibc's MACINTOSH: the delta at 0xC6 and a private-use character for the Apple logo at 0xF0.
constexpr SingleByteTable kMacRoman = {{
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x0394, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xE01E, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
}};

/// The inverse of a table's upper half, sorted by character.
struct Reverse {
    struct Pair {
        char16_t unit;
        UInt8 byte;
    };
    std::array<Pair, 128> pairs{};
    size_t count = 0;

    explicit Reverse(const SingleByteTable& table) {
        for (int i = 0; i < 128; ++i)
            if (table.high[i] != kNoChar)
                pairs[count++] = {table.high[i], static_cast<UInt8>(0x80 + i)};
        std::sort(pairs.begin(), pairs.begin() + count,
                  [](const Pair& a, const Pair& b) { return a.unit < b.unit; });
    }

    int find(char16_t unit) const {
        const Pair* end = pairs.data() + count;
        const Pair* at = std::lower_bound(pairs.data(), end, unit,
                                          [](const Pair& p, char16_t u) { return p.unit < u; });
        return at != end && at->unit == unit ? at->byte : -1;
    }
};

const Reverse& ReverseOf(const SingleByteTable& table) {
    static const Reverse ascii(kASCII), latin1(kLatin1), latin2(kLatin2), latin5(kLatin5),
        windows(kWindowsLatin1), mac(kMacRoman);
    if (&table == &kLatin1)
        return latin1;
    if (&table == &kLatin2)
        return latin2;
    if (&table == &kLatin5)
        return latin5;
    if (&table == &kWindowsLatin1)
        return windows;
    if (&table == &kMacRoman)
        return mac;
    return ascii;
}

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Unicode tag characters U+E0000-U+E007F, which glibc's encoders drop without a word.
bool IsTagPair(char16_t high, char16_t low) {
    return high == 0xDB40 && low >= 0xDC00 && low <= 0xDC7F;
}

} // namespace

const SingleByteTable* FindSingleByteTable(CFStringEncoding encoding) {
    switch (encoding) {
    case kCFStringEncodingASCII:
        return &kASCII;
    case kCFStringEncodingISOLatin1:
        return &kLatin1;
    case kCFStringEncodingISOLatin2:
        return &kLatin2;
    case kCFStringEncodingISOLatin5:
        return &kLatin5;
    case kCFStringEncodingWindowsLatin1:
        return &kWindowsLatin1;
    case kCFStringEncodingMacRoman:
        return &kMacRoman;
    default:
        return nullptr;
    }
}

bool TableDecode(const SingleByteTable& table, const UInt8* bytes, size_t size,
                 std::u16string& out) {
    size_t at = out.size();
    out.resize(at + size);
    char16_t* units = &out[0] + at;
    for (size_t i = 0; i < size; ++i) {
        UInt8 b = bytes[i];
        char16_t u = b < 0x80 ? b : table.high[b - 0x80];
        if (u == kNoChar) {
            out.resize(at + i);
            return false;
        }
        units[i] = u;
    }
    return true;
}

EncodeResult TableEncode(const SingleByteTable& table, std::u16string_view units, UInt8 lossByte,
                         UInt8* buffer, CFIndex capacity) {
    EncodeResult result;
    const Reverse& reverse = ReverseOf(table);
    size_t i = 0;
    while (i < units.size()) {
        // A full buffer stops the conversion before any further character, even one that would
        // write nothing.
        if (buffer && result.bytes >= capacity)
            break;
        char16_t u = units[i];
        size_t span = IsHigh(u) && i + 1 < units.size() && IsLow(units[i + 1]) ? 2 : 1;
        if (span == 2 && IsTagPair(u, units[i + 1])) {
            i += 2;
            continue;
        }
        int byte = -1;
        if (u < 0x80)
            byte = u;
        else if (!IsHigh(u) && !IsLow(u))
            byte = reverse.find(u);
        if (byte < 0) {
            // Not in the encoding (nor any unpaired surrogate): substitute or stop.
            if (lossByte == 0)
                break;
            byte = lossByte;
        }
        if (buffer)
            buffer[result.bytes] = static_cast<UInt8>(byte);
        result.bytes += 1;
        i += span;
    }
    result.units = static_cast<CFIndex>(i);
    return result;
}

} // namespace pmcf
