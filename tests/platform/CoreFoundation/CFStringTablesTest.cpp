// Table codecs agree with iconv.
#include <CoreFoundation/CFStringInternal.h>
#include <CoreFoundation/PMIconvCache.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

struct TableEncoding {
    CFStringEncoding encoding;
    const char* iconvName;
};

const TableEncoding kTableEncodings[] = {
    {kCFStringEncodingASCII, "ASCII"},          {kCFStringEncodingISOLatin1, "ISO-8859-1"},
    {kCFStringEncodingISOLatin2, "ISO-8859-2"}, {kCFStringEncodingISOLatin5, "ISO-8859-9"},
    {kCFStringEncodingMacRoman, "MACINTOSH"},   {kCFStringEncodingWindowsLatin1, "CP1252"},
};

// Every byte alone, as the table decodes it and as iconv does.
TEST(CFStringTables, EveryByteDecodesAsIconvDoes) {
    for (const TableEncoding& e : kTableEncodings) {
        const pmcf::SingleByteTable* table = pmcf::FindSingleByteTable(e.encoding);
        ASSERT_NE(table, nullptr) << e.iconvName;
        for (int b = 0; b < 256; ++b) {
            UInt8 byte = static_cast<UInt8>(b);
            std::u16string viaTable, viaIconv;
            bool tableOK = pmcf::TableDecode(*table, &byte, 1, viaTable);
            bool iconvOK = pmcf::IconvDecode(e.iconvName, &byte, 1, viaIconv);
            EXPECT_EQ(tableOK, iconvOK) << e.iconvName << " byte " << b;
            if (tableOK && iconvOK) {
                EXPECT_EQ(viaTable, viaIconv) << e.iconvName << " byte " << b;
            }
        }
    }
    EXPECT_EQ(pmcf::FindSingleByteTable(kCFStringEncodingShiftJIS), nullptr);
}

// Every BMP character and a few beyond it (a tag character, which iconv drops, and an emoji).
TEST(CFStringTables, EveryCharacterEncodesAsIconvDoes) {
    for (const TableEncoding& e : kTableEncodings) {
        const pmcf::SingleByteTable* table = pmcf::FindSingleByteTable(e.encoding);
        std::vector<std::u16string> texts;
        for (char32_t c = 0; c < 0x10000; ++c)
            texts.push_back(std::u16string(1, static_cast<char16_t>(c)));
        texts.push_back(u"\U000E0041");
        texts.push_back(u"\U0001F600");
        for (const std::u16string& text : texts) {
            UInt8 a[4] = {}, b[4] = {};
            pmcf::EncodeResult t = pmcf::TableEncode(*table, text, 0, a, sizeof a);
            pmcf::EncodeResult i = pmcf::IconvEncode(e.iconvName, text, 0, b, sizeof b);
            ASSERT_EQ(t.units, i.units) << e.iconvName << " U+" << std::hex << int(text[0]);
            ASSERT_EQ(t.bytes, i.bytes) << e.iconvName << " U+" << std::hex << int(text[0]);
            ASSERT_EQ(a[0], b[0]) << e.iconvName << " U+" << std::hex << int(text[0]);
        }
    }
}

// Where encoding stops or substitutes: full buffers, loss bytes, unpaired surrogates and tag
// characters at every boundary, measured and written.
TEST(CFStringTables, StopsAndSubstitutionsMatchIconv) {
    const std::u16string texts[] = {
        u"ab\u20ACc", u"\U000E0041a", u"a\U000E0041",   u"a\U0001F600b",       u"a\xD800",
        u"a\xD800z",  u"\xDC00z",     u"\u4E00\u4E01x", u"\u00E4\u00C4\u00DF",
    };
    for (const TableEncoding& e : kTableEncodings) {
        const pmcf::SingleByteTable* table = pmcf::FindSingleByteTable(e.encoding);
        for (const std::u16string& text : texts)
            for (UInt8 loss : {UInt8(0), UInt8('?')}) {
                pmcf::EncodeResult t = pmcf::TableEncode(*table, text, loss, nullptr, 0);
                pmcf::EncodeResult i = pmcf::IconvEncode(e.iconvName, text, loss, nullptr, 0);
                EXPECT_EQ(t.units, i.units) << e.iconvName;
                EXPECT_EQ(t.bytes, i.bytes) << e.iconvName;
                for (CFIndex capacity = 0; capacity <= 4; ++capacity) {
                    UInt8 a[4] = {1, 1, 1, 1}, b[4] = {1, 1, 1, 1};
                    t = pmcf::TableEncode(*table, text, loss, a, capacity);
                    i = pmcf::IconvEncode(e.iconvName, text, loss, b, capacity);
                    EXPECT_EQ(t.units, i.units) << e.iconvName << " capacity " << capacity;
                    EXPECT_EQ(t.bytes, i.bytes) << e.iconvName << " capacity " << capacity;
                    EXPECT_EQ(std::string(a, a + 4), std::string(b, b + 4)) << e.iconvName;
                }
            }
    }
}

TEST(CFStringTables, DecodingStopsAtAnUndefinedByte) {
    const pmcf::SingleByteTable* windows =
        pmcf::FindSingleByteTable(kCFStringEncodingWindowsLatin1);
    const UInt8 bytes[] = {'a', 0x80, 0x81, 'b'};
    std::u16string out = u"x";
    EXPECT_FALSE(pmcf::TableDecode(*windows, bytes, sizeof bytes, out));
    EXPECT_EQ(out, u"xa\u20AC");
}

// The same pair twice on one thread is one descriptor; another thread gets its own.
TEST(PMIconvCache, ReusesPerThreadAndRefusesUnknownNames) {
    iconv_t first = pmcf::IconvAcquire("UTF-16LE", "ISO-8859-2");
    ASSERT_NE(first, iconv_t(-1));
    EXPECT_EQ(pmcf::IconvAcquire("UTF-16LE", "ISO-8859-2"), first);
    EXPECT_NE(pmcf::IconvAcquire("ISO-8859-2", "UTF-16LE"), first);
    iconv_t other = iconv_t(-1);
    std::thread([&] { other = pmcf::IconvAcquire("UTF-16LE", "ISO-8859-2"); }).join();
    EXPECT_NE(other, iconv_t(-1));
    EXPECT_NE(other, first);
    EXPECT_EQ(pmcf::IconvAcquire("UTF-16LE", "NO-SUCH-ENCODING"), iconv_t(-1));
    EXPECT_EQ(pmcf::IconvAcquire("UTF-16LE", nullptr), iconv_t(-1));
}

// A descriptor left in a shift state by one caller starts clean for the next.
TEST(PMIconvCache, HandsOutDescriptorsInTheirInitialState) {
    iconv_t cd = pmcf::IconvAcquire("UTF-16LE", "ISO-2022-JP");
    ASSERT_NE(cd, iconv_t(-1));
    char shiftIn[] = "\x1b$B";
    char* in = shiftIn;
    size_t inLeft = 3;
    char out[8];
    char* o = out;
    size_t outLeft = sizeof out;
    iconv(cd, &in, &inLeft, &o, &outLeft);
    cd = pmcf::IconvAcquire("UTF-16LE", "ISO-2022-JP");
    char ascii[] = "A";
    in = ascii;
    inLeft = 1;
    o = out;
    outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &in, &inLeft, &o, &outLeft), size_t(-1));
    ASSERT_EQ(sizeof out - outLeft, 2u);
    EXPECT_EQ(out[0], 'A');
    EXPECT_EQ(out[1], 0);
}

} // namespace
