#include <CBlocks.h>
#include <HostLookup.h>
#include <TextEncoding.h>
#include <t10.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace tovrane::client;

TEST(ClientPieces, TrayRecordsCutWhatDoesNotFit) {
    Tray big;
    big.name = std::string(100, 'N');
    big.maxCapacity = 500;
    big.level = -3;
    // 120 + 120 + 30 bytes with terminators exceed 256: the second does not fit, the third
    // does; an empty name would end the list early and is skipped.
    big.media = {std::string(119, 'a'), std::string(140, 'b'), "", std::string(29, 'c')};
    Tray accented;
    accented.name = "Fach \xC3\xBC"
                    "ber \xE2\x82\xAC"; // "Fach über €"
    accented.media = {"Gl\xC3\xA4nzend"};
    t10_tray_record* records = MakeTrayRecords({big, accented});
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(std::strlen(records[0].name), 63u);
    EXPECT_EQ(records[0].max_capacity, 500);
    EXPECT_EQ(records[0].current_level, -3);
    ASSERT_EQ(records[0].media_count, 2);
    EXPECT_EQ(std::string(records[0].media), std::string(119, 'a'));
    EXPECT_EQ(std::string(records[0].media + 120), std::string(29, 'c'));
    EXPECT_EQ(records[0].media[150], '\0');
    // Mac Roman: u-umlaut is 0x9F, a-umlaut 0x8A, the euro sign 0xDB.
    EXPECT_STREQ(records[1].name, "Fach \x9F"
                                  "ber \xDB");
    EXPECT_EQ(records[1].media_count, 1);
    EXPECT_STREQ(records[1].media, "Gl\x8Anzend");
    tovrane_free(records);
    EXPECT_EQ(MakeTrayRecords({}), nullptr);
    EXPECT_EQ(MakeStringArray({}), nullptr);
    EXPECT_EQ(MakeIntArray({}), nullptr);
}

TEST(ClientPieces, EncodingsConvertOrRefuse) {
    EXPECT_STREQ(IconvNameFor("macroman"), "MACINTOSH");
    EXPECT_STREQ(IconvNameFor("Shift_JIS"), "SHIFT_JIS");
    EXPECT_STREQ(IconvNameFor("ISOLatin1"), "ISO-8859-1");
    EXPECT_EQ(IconvNameFor("EBCDIC"), nullptr);
    EXPECT_EQ(IconvNameFor(""), nullptr);
    std::string out;
    EXPECT_TRUE(ConvertFromUtf8("Wei\xC3\x9F", "ISO-8859-1", out));
    EXPECT_EQ(out, "Wei\xDF");
    EXPECT_FALSE(ConvertFromUtf8("\xE3\x83\x88", "ISO-8859-1", out)); // katakana
    EXPECT_FALSE(ConvertFromUtf8("\xFF", "UTF-8", out));
    std::string longText(3000, 'x');
    EXPECT_TRUE(ConvertFromUtf8(longText, "MACINTOSH", out)); // larger than one work buffer
    EXPECT_EQ(out, longText);
    EXPECT_EQ(ToMacRoman("a\xE3\x83\x88"
                         "b\xFF"
                         "c\xE2\x82"),
              "a?b?c?");
}

TEST(ClientPieces, HostNamesAreChecked) {
    std::string dotted = "stale";
    EXPECT_EQ(ResolveIPv4("", dotted), T10_ERR_PARAM);
    EXPECT_EQ(ResolveIPv4(nullptr, dotted), T10_ERR_PARAM);
    EXPECT_EQ(ResolveIPv4(std::string(256, 'h').c_str(), dotted), T10_ERR_PARAM);
    EXPECT_EQ(dotted, "");
}
