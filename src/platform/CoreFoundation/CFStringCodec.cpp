//===- CFStringCodec.cpp - Byte encodings to and from UTF-16 --------------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// The Unicode encodings are converted here by hand: they are simple, must keep unpaired
// surrogates in UTF-16, and are used on every path (CFSTR, descriptions). The common single-byte
// encodings go through tables (CFStringTables.cpp), the other legacy ones through iconv.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <cstring>

namespace pmcf {

namespace {

constexpr bool kHostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

bool IsHigh(uint32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(uint32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

bool BigEndian(const EncodingInfo& info) {
    return info.byteOrder == 0 ? kHostBigEndian : info.byteOrder == 1;
}

void AppendScalar(std::u16string& out, uint32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

uint32_t ReadUnit(const UInt8* p, int width, bool bigEndian) {
    uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
        value |= static_cast<uint32_t>(p[i]) << shift;
    }
    return value;
}

void WriteUnit(UInt8* p, uint32_t value, int width, bool bigEndian) {
    for (int i = 0; i < width; ++i) {
        int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
        p[i] = static_cast<UInt8>(value >> shift);
    }
}

// Reads UTF-16 or UTF-32 (`width` 2 or 4). For an external representation in host order a BOM
// chooses the order and is dropped; without one the text is big-endian.
bool DecodeWide(const EncodingInfo& info, int width, const UInt8* bytes, size_t size, bool external,
                std::u16string& out) {
    if (size % width != 0)
        return false;
    bool bigEndian = BigEndian(info);
    if (external && size >= static_cast<size_t>(width)) {
        if (info.byteOrder == 0) {
            if (ReadUnit(bytes, width, true) == 0xFEFF) {
                bigEndian = true;
                bytes += width, size -= width;
            } else if (ReadUnit(bytes, width, false) == 0xFEFF) {
                bigEndian = false;
                bytes += width, size -= width;
            } else {
                bigEndian = true;
            }
        } else if (ReadUnit(bytes, width, bigEndian) == 0xFEFF) {
            bytes += width, size -= width;
        }
    }
    out.reserve(out.size() + size / width);
    for (size_t i = 0; i < size; i += width) {
        uint32_t unit = ReadUnit(bytes + i, width, bigEndian);
        if (width == 2) {
            out.push_back(static_cast<char16_t>(unit));
        } else {
            if (unit > 0x10FFFF || IsHigh(unit) || IsLow(unit))
                return false;
            AppendScalar(out, unit);
        }
    }
    return true;
}

// Decodes the character starting at units[i]: its code point and how many units it spans.
// An unpaired surrogate is returned as itself with `paired` false.
uint32_t NextScalar(std::u16string_view units, size_t i, size_t& span, bool& paired) {
    uint32_t u = units[i];
    span = 1;
    paired = true;
    if (IsHigh(u) && i + 1 < units.size() && IsLow(units[i + 1])) {
        span = 2;
        return 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00);
    }
    if (IsHigh(u) || IsLow(u))
        paired = false;
    return u;
}

// Writes the bytes of one character of a Unicode encoding into `out`; 0 if it cannot be
// represented (unpaired surrogates have no UTF-8 or UTF-32 form).
int EncodeScalar(const EncodingInfo& info, std::u16string_view units, size_t i, size_t& span,
                 UInt8 out[8]) {
    bool paired;
    uint32_t c = NextScalar(units, i, span, paired);
    bool bigEndian = BigEndian(info);
    switch (info.codec) {
    case Codec::UTF16:
        WriteUnit(out, units[i], 2, bigEndian);
        if (span == 2)
            WriteUnit(out + 2, units[i + 1], 2, bigEndian);
        return static_cast<int>(span) * 2;
    case Codec::UTF32:
        if (!paired)
            return 0;
        WriteUnit(out, c, 4, bigEndian);
        return 4;
    case Codec::UTF8:
        if (!paired)
            return 0;
        if (c < 0x80) {
            out[0] = static_cast<UInt8>(c);
            return 1;
        }
        if (c < 0x800) {
            out[0] = static_cast<UInt8>(0xC0 | (c >> 6));
            out[1] = static_cast<UInt8>(0x80 | (c & 0x3F));
            return 2;
        }
        if (c < 0x10000) {
            out[0] = static_cast<UInt8>(0xE0 | (c >> 12));
            out[1] = static_cast<UInt8>(0x80 | ((c >> 6) & 0x3F));
            out[2] = static_cast<UInt8>(0x80 | (c & 0x3F));
            return 3;
        }
        out[0] = static_cast<UInt8>(0xF0 | (c >> 18));
        out[1] = static_cast<UInt8>(0x80 | ((c >> 12) & 0x3F));
        out[2] = static_cast<UInt8>(0x80 | ((c >> 6) & 0x3F));
        out[3] = static_cast<UInt8>(0x80 | (c & 0x3F));
        return 4;
    default:
        return 0;
    }
}

EncodeResult EncodeUnicode(const EncodingInfo& info, std::u16string_view units, UInt8 lossByte,
                           bool external, UInt8* buffer, CFIndex capacity) {
    EncodeResult result;
    auto fits = [&](CFIndex n) { return buffer == nullptr || n <= capacity - result.bytes; };
    int width = info.codec == Codec::UTF32 ? 4 : info.codec == Codec::UTF16 ? 2 : 1;
    if (external && info.byteOrder == 0 && width > 1) {
        if (!fits(width))
            return result;
        if (buffer)
            WriteUnit(buffer, 0xFEFF, width, kHostBigEndian);
        result.bytes = width;
    }
    size_t i = 0;
    while (i < units.size()) {
        UInt8 bytes[8];
        size_t span = 1;
        int n = EncodeScalar(info, units, i, span, bytes);
        if (n == 0) {
            if (lossByte == 0)
                break;
            WriteUnit(bytes, lossByte, width, BigEndian(info));
            n = width;
        }
        if (!fits(n))
            break;
        if (buffer)
            std::memcpy(buffer + result.bytes, bytes, n);
        result.bytes += n;
        i += span;
    }
    result.units = static_cast<CFIndex>(i);
    return result;
}

// Mac Roman bytes 0x80-0xFF, for the C-string fallback that must never fail.
constexpr char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

} // namespace

bool DecodeUTF8(std::string_view bytes, std::u16string& out) {
    out.reserve(out.size() + bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        uint32_t b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            // Most text is ASCII: a run of it widens in one step (the room is reserved).
            size_t end = i + 1;
            while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
                ++end;
            const size_t at = out.size();
            out.resize(at + (end - i));
            for (size_t k = i; k < end; ++k)
                out[at + (k - i)] = static_cast<char16_t>(static_cast<unsigned char>(bytes[k]));
            i = end;
            continue;
        }
        size_t extra;
        uint32_t c, min;
        if (b >= 0xC2 && b <= 0xDF)
            extra = 1, c = b & 0x1F, min = 0x80;
        else if (b >= 0xE0 && b <= 0xEF)
            extra = 2, c = b & 0x0F, min = 0x800;
        else if (b >= 0xF0 && b <= 0xF4)
            extra = 3, c = b & 0x07, min = 0x10000;
        else
            return false;
        if (bytes.size() - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            uint32_t cont = static_cast<unsigned char>(bytes[i + k]);
            if ((cont & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (cont & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        AppendScalar(out, c);
        i += extra + 1;
    }
    return true;
}

std::u16string DecodeCString(std::string_view bytes) {
    std::u16string out;
    if (DecodeUTF8(bytes, out))
        return out;
    out.clear();
    for (char ch : bytes) {
        unsigned char b = static_cast<unsigned char>(ch);
        out.push_back(b < 0x80 ? b : kMacRomanHigh[b - 0x80]);
    }
    return out;
}

std::string EncodeUTF8Lossy(std::u16string_view units) {
    const EncodingInfo& utf8 = *FindEncoding(kCFStringEncodingUTF8);
    std::string out;
    out.reserve(units.size());
    size_t i = 0;
    while (i < units.size()) {
        UInt8 bytes[8];
        size_t span = 1;
        int n = EncodeScalar(utf8, units, i, span, bytes);
        if (n == 0)
            out.append("\xEF\xBF\xBD"); // U+FFFD for an unpaired surrogate
        else
            out.append(reinterpret_cast<const char*>(bytes), n);
        i += span;
    }
    return out;
}

bool Decode(const UInt8* bytes, size_t size, CFStringEncoding encoding, bool external,
            std::u16string& out) {
    const EncodingInfo* info = FindEncoding(encoding);
    if (info == nullptr || (bytes == nullptr && size > 0))
        return false;
    switch (info->codec) {
    case Codec::UTF8: {
        std::string_view text(reinterpret_cast<const char*>(bytes), size);
        if (external && text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        return DecodeUTF8(text, out);
    }
    case Codec::UTF16:
        return DecodeWide(*info, 2, bytes, size, external, out);
    case Codec::UTF32:
        return DecodeWide(*info, 4, bytes, size, external, out);
    case Codec::Iconv:
        if (const SingleByteTable* table = FindSingleByteTable(encoding))
            return TableDecode(*table, bytes, size, out);
        return IconvDecode(info->iconvName, bytes, size, out);
    case Codec::None:
        break;
    }
    return false;
}

EncodeResult Encode(std::u16string_view units, CFStringEncoding encoding, UInt8 lossByte,
                    bool external, UInt8* buffer, CFIndex capacity) {
    const EncodingInfo* info = FindEncoding(encoding);
    if (info == nullptr || info->codec == Codec::None || (buffer != nullptr && capacity < 0))
        return EncodeResult();
    if (info->codec == Codec::Iconv) {
        if (const SingleByteTable* table = FindSingleByteTable(encoding))
            return TableEncode(*table, units, lossByte, buffer, capacity);
        return IconvEncode(info->iconvName, units, lossByte, buffer, capacity);
    }
    return EncodeUnicode(*info, units, lossByte, external, buffer, capacity);
}

} // namespace pmcf
