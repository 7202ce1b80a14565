//===- CFStringEncoding.cpp - The encoding table and its queries ----------===//
//
// Part of Pigmentor, the colour pane of a colour print server's printer driver.
//
//===----------------------------------------------------------------------===//
#include <CoreFoundation/CFStringInternal.h>

#include <climits>
#include <iterator>

namespace pmcf {

namespace {

constexpr CFStringEncoding kMacRoman = kCFStringEncodingMacRoman;
constexpr CFStringEncoding kMacCE = kCFStringEncodingMacCentralEurRoman;
constexpr CFStringEncoding kMacJapanese = kCFStringEncodingMacJapanese;
constexpr CFStringEncoding kMacTurkish = kCFStringEncodingMacTurkish;
constexpr CFStringEncoding kUnicode = kCFStringEncodingUnicode;

// Entries with Codec::None are known (names, Mac equivalents) but cannot be converted here.
constexpr EncodingInfo kEncodings[] = {
    {kCFStringEncodingMacRoman, Codec::Iconv, 0, "MACINTOSH", "macintosh", 1, true, kMacRoman},
    {kMacJapanese, Codec::None, 0, nullptr, "x-mac-japanese", 2, false, kMacJapanese},
    {kMacCE, Codec::Iconv, 0, "MAC-CENTRALEUROPE", "x-mac-ce", 1, true, kMacCE},
    {kMacTurkish, Codec::None, 0, nullptr, "x-mac-turkish", 1, true, kMacTurkish},
    {kCFStringEncodingUnicode, Codec::UTF16, 0, nullptr, "UTF-16", 2, false, kUnicode},
    {kCFStringEncodingUTF16BE, Codec::UTF16, 1, nullptr, "UTF-16BE", 2, false, kUnicode},
    {kCFStringEncodingUTF16LE, Codec::UTF16, 2, nullptr, "UTF-16LE", 2, false, kUnicode},
    {kCFStringEncodingUTF32, Codec::UTF32, 0, nullptr, "UTF-32", 4, false, kUnicode},
    {kCFStringEncodingUTF32BE, Codec::UTF32, 1, nullptr, "UTF-32BE", 4, false, kUnicode},
    {kCFStringEncodingUTF32LE, Codec::UTF32, 2, nullptr, "UTF-32LE", 4, false, kUnicode},
    {kCFStringEncodingUTF8, Codec::UTF8, 0, nullptr, "UTF-8", 3, true, kUnicode},
    {kCFStringEncodingISOLatin1, Codec::Iconv, 0, "ISO-8859-1", "iso-8859-1", 1, true, kMacRoman},
    {kCFStringEncodingISOLatin2, Codec::Iconv, 0, "ISO-8859-2", "iso-8859-2", 1, true, kMacCE},
    {kCFStringEncodingISOLatin5, Codec::Iconv, 0, "ISO-8859-9", "iso-8859-9", 1, true, kMacTurkish},
    {kCFStringEncodingWindowsLatin1, Codec::Iconv, 0, "CP1252", "windows-1252", 1, true, kMacRoman},
    {kCFStringEncodingWindowsLatin2, Codec::Iconv, 0, "CP1250", "windows-1250", 1, true, kMacCE},
    {kCFStringEncodingASCII, Codec::Iconv, 0, "ASCII", "us-ascii", 1, true, kMacRoman},
    // Shift-JIS puts the yen sign and overline at 0x5C and 0x7E, so it is not ASCII-compatible.
    {kCFStringEncodingShiftJIS, Codec::Iconv, 0, "SHIFT_JIS", "shift_jis", 2, false, kMacJapanese},
    {kCFStringEncodingNextStepLatin, Codec::None, 0, nullptr, "x-nextstep", 1, true, kMacRoman},
    {kCFStringEncodingNonLossyASCII, Codec::None, 0, nullptr, nullptr, 6, true, kMacRoman},
};

constexpr size_t IndexOf(CFStringEncoding encoding) {
    size_t i = 0;
    while (i < std::size(kEncodings) && kEncodings[i].encoding != encoding)
        ++i;
    return i;
}

constexpr size_t kUTF8Index = IndexOf(kCFStringEncodingUTF8);
static_assert(kUTF8Index < std::size(kEncodings), "UTF-8 is in the table");

} // namespace

const EncodingInfo* FindEncoding(CFStringEncoding encoding) {
    // The encoding nearly every caller asks for, without the walk.
    if (encoding == kCFStringEncodingUTF8)
        return &kEncodings[kUTF8Index];
    for (const EncodingInfo& info : kEncodings)
        if (info.encoding == encoding)
            return &info;
    return nullptr;
}

} // namespace pmcf

extern "C" {

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
    const pmcf::EncodingInfo* info = pmcf::FindEncoding(encoding);
    if (info == nullptr || length < 0 || length > LONG_MAX / info->maxBytesPerUnit)
        return kCFNotFound;
    return length * info->maxBytesPerUnit;
}

// On a Linux desktop every program's text is UTF-8, so that is the system encoding here: the
// char* forms of display names carry any language.
CFStringEncoding CFStringGetSystemEncoding(void) {
    return kCFStringEncodingUTF8;
}

CFStringEncoding CFStringGetMostCompatibleMacStringEncoding(CFStringEncoding encoding) {
    const pmcf::EncodingInfo* info = pmcf::FindEncoding(encoding);
    return info ? info->macEncoding : kCFStringEncodingInvalidId;
}

Boolean CFStringIsEncodingAvailable(CFStringEncoding encoding) {
    const pmcf::EncodingInfo* info = pmcf::FindEncoding(encoding);
    if (info == nullptr || info->codec == pmcf::Codec::None)
        return false;
    return info->codec != pmcf::Codec::Iconv || pmcf::IconvAvailable(info->iconvName);
}

CFStringRef CFStringConvertEncodingToIANACharSetName(CFStringEncoding encoding) {
    const pmcf::EncodingInfo* info = pmcf::FindEncoding(encoding);
    if (info == nullptr || info->ianaName == nullptr)
        return nullptr;
    // The names are ASCII literals, and constant strings are immortal, so no copy is needed.
    return __CFStringMakeConstantString(info->ianaName);
}

} // extern "C"
