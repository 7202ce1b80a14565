// Strings to and from encoded bytes.
#include "CFTestSupport.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct Sample {
    const char* name;
    CFStringEncoding encoding;
    std::vector<UInt8> bytes;
    std::u16string units;
};

constexpr bool kLittleEndianHost = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
std::vector<UInt8> HostUTF16(std::u16string_view units) {
    std::vector<UInt8> bytes;
    for (char16_t u : units) {
        UInt8 hi = static_cast<UInt8>(u >> 8), lo = static_cast<UInt8>(u);
        bytes.push_back(kLittleEndianHost ? lo : hi);
        bytes.push_back(kLittleEndianHost ? hi : lo);
    }
    return bytes;
}

// One known character per encoding, next to ASCII so that both paths are exercised.
const Sample kSamples[] = {
    {"MacRoman", kCFStringEncodingMacRoman, {'a', 0x8A}, u"aä"},
    {"UTF16", kCFStringEncodingUnicode, HostUTF16(u"aä\U0001F600"), u"aä\U0001F600"},
    {"ISOLatin2", kCFStringEncodingISOLatin2, {'a', 0xB3}, u"ał"},
    {"WindowsLatin1", kCFStringEncodingWindowsLatin1, {'a', 0xE9, 0x80}, u"aé€"},
    {"ShiftJIS", kCFStringEncodingShiftJIS, {'a', 0x82, 0xA0}, u"aあ"},
    {"UTF8",
     kCFStringEncodingUTF8,
     {'a', 0xC3, 0xA4, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80},
     u"aä€\U0001F600"},
    {"UTF16BE", kCFStringEncodingUTF16BE, {0, 'a', 0x30, 0x42}, u"aあ"},
    {"UTF32LE", kCFStringEncodingUTF32LE, {'a', 0, 0, 0, 0x00, 0xF6, 0x01, 0x00}, u"a\U0001F600"},
};

void PrintTo(const Sample& sample, std::ostream* os) {
    *os << sample.name;
}

class EncodingRoundTrip : public testing::TestWithParam<Sample> {};

TEST_P(EncodingRoundTrip, BytesToStringAndBack) {
    const Sample& sample = GetParam();
    ASSERT_TRUE(CFStringIsEncodingAvailable(sample.encoding));
    CFOwned<CFStringRef> s(CFStringCreateWithBytes(
        nullptr, sample.bytes.data(), CFIndex(sample.bytes.size()), sample.encoding, false));
    ASSERT_NE(s.get(), nullptr);
    EXPECT_EQ(UnitsOf(s), sample.units);

    std::vector<UInt8> out(64);
    CFIndex used = -1;
    CFIndex converted = CFStringGetBytes(s, CFRangeMake(0, CFStringGetLength(s)), sample.encoding,
                                         0, false, out.data(), CFIndex(out.size()), &used);
    EXPECT_EQ(converted, CFStringGetLength(s));
    out.resize(static_cast<size_t>(used));
    EXPECT_EQ(out, sample.bytes);
}

INSTANTIATE_TEST_SUITE_P(CFString, EncodingRoundTrip, testing::ValuesIn(kSamples),
                         [](const testing::TestParamInfo<Sample>& info) {
                             return std::string(info.param.name);
                         });

CFStringRef FromBytes(std::vector<UInt8> bytes, CFStringEncoding encoding, bool external = false) {
    return CFStringCreateWithBytes(nullptr, bytes.data(), CFIndex(bytes.size()), encoding,
                                   external);
}

TEST(CFStringEncoding, InvalidBytesGiveNull) {
    EXPECT_EQ(FromBytes({0xC3, 0x28}, kCFStringEncodingUTF8), nullptr);       // bad continuation
    EXPECT_EQ(FromBytes({0xC0, 0xAF}, kCFStringEncodingUTF8), nullptr);       // overlong
    EXPECT_EQ(FromBytes({0xED, 0xA0, 0x80}, kCFStringEncodingUTF8), nullptr); // surrogate
    EXPECT_EQ(FromBytes({0xE2, 0x82}, kCFStringEncodingUTF8), nullptr);       // truncated
    EXPECT_EQ(FromBytes({'a', 0x82}, kCFStringEncodingShiftJIS), nullptr);    // lone lead byte
    EXPECT_EQ(FromBytes({0x80}, kCFStringEncodingASCII), nullptr);
    EXPECT_EQ(FromBytes({'a', 0, 'b'}, kCFStringEncodingUnicode), nullptr);   // odd length
    EXPECT_EQ(FromBytes({0, 0x11, 0, 0}, kCFStringEncodingUTF32BE), nullptr); // past U+10FFFF
    EXPECT_EQ(CFStringCreateWithBytes(nullptr, nullptr, 3, kCFStringEncodingUTF8, false), nullptr);
    EXPECT_EQ(FromBytes({'a'}, kCFStringEncodingUTF8 + 0x7), nullptr); // unknown encoding
}

TEST(CFStringEncoding, PlainASCIIReadsAlikeWhereverASCIIMeansASCII) {
    const std::vector<UInt8> plain = {'Q', 'V', '\\', '~', 0x7F};
    for (CFStringEncoding encoding : std::initializer_list<CFStringEncoding>{
             kCFStringEncodingUTF8, kCFStringEncodingASCII, kCFStringEncodingMacRoman,
          kCFStringEncodingISOLatin1, kCFStringEncodingWindowsLatin1,
          kCFStringEncodingMacCentralEurRoman}) {
        CFOwned<CFStringRef> s(FromBytes(plain, encoding));
        ASSERT_NE(s.get(), nullptr) << encoding;
        EXPECT_EQ(UnitsOf(s), u"QV\\~\x7F") << encoding;
        EXPECT_STREQ(CFStringGetCStringPtr(s, kCFStringEncodingUTF8), "QV\\~\x7F") << encoding;
    }
    // Shift-JIS gives 0x5C its own meaning, an encoding without a converter reads nothing,
    // and a NUL is kept as a character but leaves no C string.
    CFOwned<CFStringRef> yen(FromBytes({0x5C}, kCFStringEncodingShiftJIS));
    ASSERT_NE(yen.get(), nullptr);
    EXPECT_EQ(UnitsOf(yen), u"\u00A5");
    EXPECT_EQ(FromBytes({'a'}, kCFStringEncodingMacTurkish), nullptr);
    CFOwned<CFStringRef> withNul(FromBytes({'a', 0, 'b'}, kCFStringEncodingUTF8));
    ASSERT_NE(withNul.get(), nullptr);
    EXPECT_EQ(CFStringGetLength(withNul), 3);
    EXPECT_EQ(CFStringGetCStringPtr(withNul, kCFStringEncodingUTF8), nullptr);
}

TEST(CFStringEncoding, UnavailableEncodingsFailQuietly) {
    EXPECT_FALSE(CFStringIsEncodingAvailable(kCFStringEncodingMacJapanese));
    EXPECT_FALSE(CFStringIsEncodingAvailable(0x12345));
    EXPECT_EQ(FromBytes({'a'}, kCFStringEncodingMacJapanese), nullptr);
    char buffer[8] = "junk";
    EXPECT_FALSE(CFStringGetCString(CFSTR("a"), buffer, 8, kCFStringEncodingMacJapanese));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(CFStringCreateExternalRepresentation(nullptr, CFSTR(""), 0x12345, '?'), nullptr);
}

TEST(CFStringEncoding, ExternalRepresentationHasAHostOrderBOM) {
    CFOwned<CFDataRef> data(
        CFStringCreateExternalRepresentation(nullptr, CFSTR("aä"), kCFStringEncodingUnicode, 0));
    EXPECT_EQ(BytesOf(data), HostUTF16(u"\uFEFFaä"));
    CFOwned<CFStringRef> back(
        CFStringCreateFromExternalRepresentation(nullptr, data, kCFStringEncodingUnicode));
    EXPECT_EQ(UnitsOf(back), u"aä");
}

TEST(CFStringEncoding, ExternalBytesFollowTheirBOMOrDefaultToBigEndian) {
    CFOwned<CFStringRef> little(FromBytes({0xFF, 0xFE, 'a', 0}, kCFStringEncodingUnicode, true));
    EXPECT_EQ(UnitsOf(little), u"a");
    CFOwned<CFStringRef> big(FromBytes({0xFE, 0xFF, 0, 'a'}, kCFStringEncodingUnicode, true));
    EXPECT_EQ(UnitsOf(big), u"a");
    CFOwned<CFStringRef> bare(FromBytes({0, 'a'}, kCFStringEncodingUnicode, true));
    EXPECT_EQ(UnitsOf(bare), u"a");
    CFOwned<CFStringRef> utf8(FromBytes({0xEF, 0xBB, 0xBF, 'a'}, kCFStringEncodingUTF8, true));
    EXPECT_EQ(UnitsOf(utf8), u"a");
    CFOwned<CFStringRef> kept(FromBytes({0xEF, 0xBB, 0xBF, 'a'}, kCFStringEncodingUTF8, false));
    EXPECT_EQ(UnitsOf(kept), u"\uFEFFa");
}

TEST(CFStringEncoding, LossByteReplacesUnconvertibleCharacters) {
    CFOwned<CFStringRef> s(Str("aé€b"));
    CFOwned<CFDataRef> lossy(
        CFStringCreateExternalRepresentation(nullptr, s, kCFStringEncodingASCII, '?'));
    EXPECT_EQ(BytesOf(lossy), (std::vector<UInt8>{'a', '?', '?', 'b'}));
    EXPECT_EQ(CFStringCreateExternalRepresentation(nullptr, s, kCFStringEncodingASCII, 0), nullptr);
}

TEST(CFStringEncoding, GetBytesStopsAtFullBufferOrUnconvertibleCharacter) {
    CFOwned<CFStringRef> s(Str("aäb€"));
    CFRange all = CFRangeMake(0, 4);
    UInt8 buffer[8] = {};
    CFIndex used = -1;
    EXPECT_EQ(CFStringGetBytes(s, all, kCFStringEncodingUTF8, 0, false, buffer, 2, &used), 1);
    EXPECT_EQ(used, 1); // 'ä' needs two more bytes
    EXPECT_EQ(CFStringGetBytes(s, all, kCFStringEncodingISOLatin1, 0, false, buffer, 8, &used), 3);
    EXPECT_EQ(used, 3);
    EXPECT_EQ(std::memcmp(buffer,
                          "a\xE4"
                          "b",
                          3),
              0);
    EXPECT_EQ(CFStringGetBytes(s, all, kCFStringEncodingISOLatin1, 0, false, buffer, 2, &used), 2);
    EXPECT_EQ(used, 2);
}

TEST(CFStringEncoding, GetBytesWithoutBufferMeasures) {
    CFOwned<CFStringRef> s(Str("aä€"));
    CFIndex used = -1;
    EXPECT_EQ(
        CFStringGetBytes(s, CFRangeMake(0, 3), kCFStringEncodingUTF8, 0, false, nullptr, 0, &used),
        3);
    EXPECT_EQ(used, 6);
    EXPECT_EQ(CFStringGetBytes(s, CFRangeMake(1, 2), kCFStringEncodingUnicode, 0, true, nullptr, 0,
                               &used),
              2);
    EXPECT_EQ(used, 6); // BOM + two units
    EXPECT_EQ(
        CFStringGetBytes(s, CFRangeMake(2, 5), kCFStringEncodingUTF8, 0, false, nullptr, 0, &used),
        0); // invalid range
    EXPECT_EQ(used, 0);
}

TEST(CFStringEncoding, GetCStringFailsCleanlyWhenTooSmallOrUnconvertible) {
    CFOwned<CFStringRef> s(Str("äb"));
    char buffer[4];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(CFStringGetCString(s, buffer, 3, kCFStringEncodingUTF8)); // needs 3 + NUL
    EXPECT_EQ(std::string(buffer, 3), std::string(3, '\0'));
    EXPECT_TRUE(CFStringGetCString(s, buffer, 4, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "\xC3\xA4"
                         "b");
    EXPECT_TRUE(CFStringGetCString(s, buffer, 3, kCFStringEncodingMacRoman));
    EXPECT_STREQ(buffer, "\x8A"
                         "b");
    EXPECT_FALSE(CFStringGetCString(s, buffer, 4, kCFStringEncodingASCII));
    EXPECT_EQ(buffer[0], 0);
}

TEST(CFStringEncoding, CStringPtrOnlyForImmutableASCII) {
    const char* p = CFStringGetCStringPtr(CFSTR("plain"), kCFStringEncodingMacRoman);
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p, "plain");
    EXPECT_EQ(p, CFStringGetCStringPtr(CFSTR("plain"), kCFStringEncodingUTF8));
    EXPECT_EQ(CFStringGetCStringPtr(CFSTR("plain"), kCFStringEncodingShiftJIS), nullptr);
    EXPECT_EQ(CFStringGetCStringPtr(CFSTR("ä"), kCFStringEncodingUTF8), nullptr);
    CFOwned<CFMutableStringRef> m(CFStringCreateMutableCopy(nullptr, 0, CFSTR("plain")));
    EXPECT_EQ(CFStringGetCStringPtr(m, kCFStringEncodingUTF8), nullptr);
}

TEST(CFStringEncoding, EncodingQueries) {
    EXPECT_EQ(CFStringGetSystemEncoding(), kCFStringEncodingUTF8);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(10, kCFStringEncodingUTF8), 30);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(10, kCFStringEncodingISOLatin1), 10);
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(LONG_MAX / 2, kCFStringEncodingUTF32), kCFNotFound);
    EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingISOLatin1),
              kCFStringEncodingMacRoman);
    EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingWindowsLatin1),
              kCFStringEncodingMacRoman);
    EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingUTF8),
              kCFStringEncodingUnicode);
    EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(kCFStringEncodingShiftJIS),
              kCFStringEncodingMacJapanese);
    EXPECT_EQ(CFStringGetMostCompatibleMacStringEncoding(0x12345), kCFStringEncodingInvalidId);
    EXPECT_EQ(CFStringConvertEncodingToIANACharSetName(kCFStringEncodingUTF8), CFSTR("UTF-8"));
    EXPECT_EQ(CFStringConvertEncodingToIANACharSetName(0x12345), nullptr);
}

TEST(CFStringEncoding, UnpairedSurrogatesOnlySurviveUTF16) {
    const UniChar lone[] = {'a', 0xD800, 'b'};
    CFOwned<CFStringRef> s(CFStringCreateWithCharacters(nullptr, lone, 3));
    CFIndex used = -1;
    EXPECT_EQ(
        CFStringGetBytes(s, CFRangeMake(0, 3), kCFStringEncodingUTF8, 0, false, nullptr, 0, &used),
        1);
    EXPECT_EQ(CFStringGetBytes(s, CFRangeMake(0, 3), kCFStringEncodingUTF16BE, 0, false, nullptr, 0,
                               &used),
              3);
    EXPECT_EQ(PMCFStringCopyUTF8(s), "a\xEF\xBF\xBD"
                                     "b");
}

} // namespace
