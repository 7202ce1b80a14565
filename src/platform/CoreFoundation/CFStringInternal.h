//===- CFStringInternal.h - The CFString object and its codecs -*- C++ -*-===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
//
// Internal to the CoreFoundation library.
//
//===----------------------------------------------------------------------===//
#ifndef PIGMENTOR_CF_CFSTRINGINTERNAL_H
#define PIGMENTOR_CF_CFSTRINGINTERNAL_H

#include <CoreFoundation/CFRuntime.h>
#include <CoreFoundation/CFString.h>

#include <string>
#include <string_view>

/// A CFString: owns its UTF-16 units. An immutable string made only of ASCII also keeps an
/// 8-bit copy, fixed at creation, which CFStringGetCStringPtr hands out.
struct __CFString final : pmcf::Object {
    static CFTypeID TypeID() { return CFStringGetTypeID(); }
    __CFString(std::u16string units, bool isMutable, CFIndex maxLength = 0, bool immortal = false);
    /// An immutable string of `ascii`, which the caller guarantees to hold only bytes 1-0x7F.
    explicit __CFString(std::string_view ascii);

    bool equals(const Object& other) const override;
    CFHashCode hash() const override;
    std::u16string describe() const override { return units; }

    /// True when a mutable string may grow to `newLength` units.
    bool canHold(size_t newLength) const;

    std::u16string units;
    const bool isMutable;
    const CFIndex maxLength; // 0: unlimited
    std::string ascii;       // valid only when hasASCII
    bool hasASCII = false;
};

namespace pmcf {

/// A new immutable string owning `units`.
CFStringRef CreateString(std::u16string units);
/// A new immutable string of `bytes` when they are all ASCII (1-0x7F), which read alike in
/// `encoding`; null when they are not, or the encoding may read them otherwise.
CFStringRef CreateASCIIString(const UInt8* bytes, size_t size, CFStringEncoding encoding);
/// The units of `string` (empty for NULL or a non-string).
std::u16string_view Units(CFStringRef string);
/// The mutable string behind `string`, or nullptr when it is NULL, not a string or immutable.
__CFString* MutableString(CFMutableStringRef string);

/// Appends `bytes` decoded from `encoding` to `out`; false if invalid (`external`: honour a BOM).
bool Decode(const UInt8* bytes, size_t size, CFStringEncoding encoding, bool external,
            std::u16string& out);
/// Strict UTF-8 decoding (no overlong forms, surrogates or values past U+10FFFF).
bool DecodeUTF8(std::string_view bytes, std::u16string& out);
/// UTF-8 when valid, else Mac Roman: how CFSTR, %s and %c read C strings.
std::u16string DecodeCString(std::string_view bytes);

/// What Encode did: units consumed and bytes produced (BOM included).
struct EncodeResult {
    CFIndex units = 0;
    CFIndex bytes = 0;
};
/// CFStringGetBytes on `units` (NULL `buffer` measures); an unavailable encoding converts nothing.
EncodeResult Encode(std::u16string_view units, CFStringEncoding encoding, UInt8 lossByte,
                    bool external, UInt8* buffer, CFIndex capacity);
/// Unicode text as UTF-8; unpaired surrogates become U+FFFD.
std::string EncodeUTF8Lossy(std::u16string_view units);

/// How an encoding is converted.
enum class Codec { None, UTF8, UTF16, UTF32, Iconv };
/// Facts about one supported encoding.
struct EncodingInfo {
    CFStringEncoding encoding;
    Codec codec;
    int byteOrder;         // UTF-16/32: 0 host order, 1 big-endian, 2 little-endian
    const char* iconvName; // Codec::Iconv only
    const char* ianaName;
    int maxBytesPerUnit;  // bytes one UTF-16 unit can need
    bool asciiCompatible; // bytes 0x00-0x7F mean ASCII
    CFStringEncoding macEncoding;
};
/// The table entry of `encoding`, or nullptr when this library does not know it.
const EncodingInfo* FindEncoding(CFStringEncoding encoding);

/// The conversion table of a single-byte encoding converted without iconv.
struct SingleByteTable;
/// The table of `encoding` (ASCII, ISO Latin 1, 2 and 5, Mac Roman, Windows Latin 1), else
/// nullptr.
const SingleByteTable* FindSingleByteTable(CFStringEncoding encoding);
/// Appends `bytes` decoded by `table`; false at a byte the encoding does not define.
bool TableDecode(const SingleByteTable& table, const UInt8* bytes, size_t size,
                 std::u16string& out);
/// Encodes as IconvEncode would for the same encoding.
EncodeResult TableEncode(const SingleByteTable& table, std::u16string_view units, UInt8 lossByte,
                         UInt8* buffer, CFIndex capacity);

/// Decodes/encodes a legacy encoding with iconv (the Codec::Iconv half of Decode/Encode).
bool IconvDecode(const char* name, const UInt8* bytes, size_t size, std::u16string& out);
EncodeResult IconvEncode(const char* name, std::u16string_view units, UInt8 lossByte, UInt8* buffer,
                         CFIndex capacity);
/// True when iconv can convert between `name` and UTF-16 on this system.
bool IconvAvailable(const char* name);

/// Formats `format` with `arguments` and appends the result to `out`.
void AppendFormat(std::u16string& out, std::u16string_view format, va_list arguments);

} // namespace pmcf

#endif
