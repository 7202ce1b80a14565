#include "TextConverter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string dehex(const char* text) {
    std::vector<char> out(std::strlen(text) + 1);
    long written = TextConverter::DehexBufferFill(const_cast<char*>(text), out.data());
    EXPECT_LE(written, static_cast<long>(out.size()));
    return std::string(out.data());
}

std::u16string units(CFStringRef s) {
    std::u16string result(static_cast<size_t>(CFStringGetLength(s)), u'\0');
    CFStringGetCharacters(s, CFRangeMake(0, CFStringGetLength(s)),
                          reinterpret_cast<UniChar*>(result.data()));
    return result;
}

/// The characters a converter from `encoding` makes of `text`.
std::u16string toUnicode(unsigned long encoding, const char* text) {
    // The converter takes the source encoding by reference.
    TextConverter converter(encoding, kTextEncodingMacRoman);
    CFStringRef s = converter.ConvertToCFString(text, 0);
    std::u16string result = units(s);
    CFRelease(s);
    return result;
}

} // namespace

TEST(HexGroups, WellFormedGroupsAreDecoded) {
    EXPECT_EQ(dehex("<4865>llo"), "Hello");
    EXPECT_EQ(dehex("Gr<F6><DF>e"), "Gr\xF6\xDF" "e");
    EXPECT_EQ(dehex("< 48 65>llo"), "Hello"); // blanks after '<' and between digits
    EXPECT_EQ(dehex("a<4\n8>b"), "aHb");      // line ends inside a group
    EXPECT_EQ(dehex("<4a><4A>"), "JJ");
    EXPECT_EQ(dehex("plain text"), "plain text");
    EXPECT_EQ(dehex(""), "");
}

TEST(HexGroups, MalformedGroupsStopDecoding) {
    EXPECT_EQ(dehex("<48>a<4>b<49>"), "Ha<4>b<49>");   // one digit
    EXPECT_EQ(dehex("x<>y<48>"), "x<>y<48>");          // empty group
    EXPECT_EQ(dehex("<48 >z<49>"), "<48 >z<49>");      // blank before '>'
    EXPECT_EQ(dehex("a>b<48>"), "a>b<48>");            // '>' before the first '<'
    EXPECT_EQ(dehex("<4G>"), "<4G>");                  // not a hex digit
    EXPECT_EQ(dehex("<48"), "<48");                    // never closed
    EXPECT_EQ(dehex("<48>tail<<49>"), "Htail<<49>");
}

TEST(HexGroups, ZeroByteEndsTheText) {
    unsigned long latin1 = kTextEncodingISOLatin1;
    TextConverter converter(latin1, kTextEncodingMacRoman);
    CFStringRef s = converter.ConvertToCFString("ab<00>cd", 0);
    EXPECT_EQ(units(s), u"ab");
    CFRelease(s);
}

TEST(LanguageEncoding, NamesMapExactly) {
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("ISOLatin1"), 513u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("ISOLatin2"), 514u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("ISOLatin5"), 521u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("JIS83-RKSJ"), 2561u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("MacStandard"), 0u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("WindowsANSI"), 1280u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("isolatin1"), 65535u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding(nullptr), 65535u);
    EXPECT_EQ(TextConverter::LanguageStringToEncoding("UTF-8"), 256u);
    EXPECT_EQ(TextConverter::GetCurrentEncoding(), 0u);
}

TEST(ConvertToCFString, EveryPPDEncoding) {
    EXPECT_EQ(toUnicode(kTextEncodingISOLatin1, "Gr<E4>n"), u"Gr\u00E4n");
    EXPECT_EQ(toUnicode(kTextEncodingISOLatin1, "Gr\xE4n"), u"Gr\u00E4n");
    EXPECT_EQ(toUnicode(kTextEncodingMacRoman, "Gr\x8An"), u"Gr\u00E4n");
    EXPECT_EQ(toUnicode(kTextEncodingWindowsLatin1, "<80> 5"), u"\u20AC 5");
    EXPECT_EQ(toUnicode(kTextEncodingISOLatin2, "<B3>\xF3" "d<BC>"), u"\u0142\u00F3d\u017A");
    EXPECT_EQ(toUnicode(kTextEncodingISOLatin5, "<FE>"), u"\u015F");
    EXPECT_EQ(toUnicode(kTextEncodingShiftJIS, "<8370815B>"), u"\u30D1\u30FC"); // pa, long mark
    EXPECT_EQ(toUnicode(0x100, "caf\xC3\xA9"), u"caf\u00E9");                  // read as UTF-8
    EXPECT_EQ(toUnicode(TextConverter::kUnknownEncoding, "x\xE2\x82\xAC"), u"x\u20AC");
}

TEST(ConvertToCFString, BadInputIsKeptNotLost) {
    // A lone Shift-JIS lead byte and bytes that are not UTF-8 still give text.
    EXPECT_EQ(toUnicode(kTextEncodingShiftJIS, "a\x83").size(), 2u);
    EXPECT_EQ(toUnicode(TextConverter::kUnknownEncoding, "\xFF\xFE"), u"\u02C7\u02DB");
    unsigned long latin1 = kTextEncodingISOLatin1;
    TextConverter converter(latin1, kTextEncodingMacRoman);
    CFStringRef empty = converter.ConvertToCFString(nullptr, 0);
    EXPECT_EQ(CFStringGetLength(empty), 0);
    CFRelease(empty);
}

TEST(ConvertInPlace, ConvertsIntoTheOutputEncoding) {
    unsigned long latin1 = kTextEncodingISOLatin1;
    TextConverter converter(latin1, kTextEncodingMacRoman);
    ASSERT_TRUE(converter.ValidConverter());
    char text[64] = "Gr<E4>n";
    EXPECT_EQ(converter.Convert(text, sizeof text), noErr);
    EXPECT_STREQ(text, "Gr\x8An");

    char cut[4] = "abc";
    EXPECT_EQ(converter.Convert(cut, 3), noErr);
    EXPECT_STREQ(cut, "ab");

    char empty[4] = "";
    EXPECT_EQ(converter.Convert(empty, 4), TextConverter::kMalformedText);
    EXPECT_EQ(converter.Convert(nullptr, 4), paramErr);
}

TEST(ConvertInPlace, GrowsItsOutputForLongText) {
    // Every Mac Roman byte above 0x7F becomes two or three UTF-8 bytes: the output block
    // must grow several times over.
    unsigned long macRoman = kTextEncodingMacRoman;
    unsigned long utf8 = CreateTextEncoding(kTextEncodingUnicodeDefault, kUnicodeNoSubset,
                                            kUnicodeUTF8Format);
    TextConverter converter(macRoman, utf8);
    ASSERT_TRUE(converter.ValidConverter());
    std::string text(200, '\xC9'); // the ellipsis: three bytes in UTF-8
    std::vector<char> buffer(1000, '\0');
    std::memcpy(buffer.data(), text.data(), text.size());
    EXPECT_EQ(converter.Convert(buffer.data(), static_cast<long>(buffer.size())), noErr);
    EXPECT_EQ(std::strlen(buffer.data()), 600u);
    EXPECT_EQ(std::string(buffer.data(), 3), "\xE2\x80\xA6");
}

TEST(ConvertInPlace, InvalidConverterChangesNothing) {
    unsigned long unknown = TextConverter::kUnknownEncoding;
    TextConverter converter(unknown, kTextEncodingMacRoman);
    EXPECT_FALSE(converter.ValidConverter());
    char text[] = "Gr<E4>n";
    EXPECT_EQ(converter.Convert(text, sizeof text), noErr);
    EXPECT_STREQ(text, "Gr<E4>n");
}

TEST(ExternalForm, RoundTripsWithByteOrderMark) {
    const UniChar text[] = {'A', 0x00E9, 0x30AB, 0xD83D, 0xDE00};
    CFStringRef s = CFStringCreateWithCharacters(kCFAllocatorDefault, text, 5);
    long length = 0;
    unsigned char* bytes = CFStringToExternal(s, &length);
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(length, 12);
    UniChar bom;
    std::memcpy(&bom, bytes, 2);
    EXPECT_EQ(bom, 0xFEFF);
    CFStringRef back = ExtenalToCFString(bytes, length);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(CFStringCompare(s, back, 0), kCFCompareEqualTo);
    std::free(bytes);
    CFRelease(back);
    CFRelease(s);
    EXPECT_EQ(ExtenalToCFString(nullptr, 4), nullptr);
    EXPECT_EQ(CFStringToExternal(nullptr, &length), nullptr);
}

// The system encoding is UTF-8: any language converts, and only what UTF-8 cannot hold (a lone
// surrogate) or a buffer too small gives the error text.
TEST(SystemEncodingStrings, AnyLanguageConvertsAndOnlyBrokenTextGivesTheErrorText) {
    const UniChar kana[] = {0x30AB};
    CFStringRef japanese = CFStringCreateWithCharacters(kCFAllocatorDefault, kana, 1);
    char buffer[8];
    TextConverter::CFStringToCstring(japanese, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "\xE3\x82\xAB");
    CString* cstring = CFStringToCString(japanese);
    EXPECT_STREQ(*cstring, "\xE3\x82\xAB");
    delete cstring;
    TextConverter::CFStringToCstring(japanese, buffer, 3); // no room for three bytes and a NUL
    EXPECT_STREQ(buffer, "Tr");
    CFRelease(japanese);

    const UniChar lone[] = {'a', 0xD800};
    CFStringRef broken = CFStringCreateWithCharacters(kCFAllocatorDefault, lone, 2);
    TextConverter::CFStringToCstring(broken, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Transla");
    CFRelease(broken);
}
