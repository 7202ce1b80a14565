#include "CStringSoup.h"
#include "CStringUtils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Many strings, near-equal ones among them: indices follow first insertion, every look-up finds
// its own copy (exactly, case included), whatever later happens to the caller's buffer, and Clear
// forgets them all.
TEST(CStringSoup, LooksUpManyStringsByTheirOwnCopies) {
    CStringSoup soup;
    char name[32];
    for (int i = 0; i < 1000; ++i) {
        std::snprintf(name, sizeof name, "*Key%d", i);
        ASSERT_EQ(soup.Insert(name), i);
    }
    EXPECT_EQ(soup.Insert(""), 1000);
    std::strcpy(name, "*Key7");
    EXPECT_EQ(soup.Insert(name), 7);
    name[4] = '8'; // the caller's buffer changes; the set's copy does not
    EXPECT_EQ(soup.Find("*Key7"), 7);
    EXPECT_EQ(soup.Find("*Key70"), 70);
    EXPECT_EQ(soup.Find("*Key"), -1);
    EXPECT_EQ(soup.Find("*key7"), -1);
    EXPECT_EQ(soup.Find(""), 1000);
    EXPECT_EQ(soup.Find(static_cast<const char*>(nullptr)), -1);
    EXPECT_STREQ(soup.Find(999L), "*Key999");
    EXPECT_EQ(soup.Find(1001L), nullptr);
    EXPECT_EQ(soup.Insert(nullptr), -1);
    EXPECT_EQ(soup.size(), 1001);
    soup.Clear();
    EXPECT_EQ(soup.Find("*Key7"), -1);
    EXPECT_EQ(soup.Insert("*Key7"), 0);
}

TEST(CStringUtils, PascalStrings) {
    unsigned char p[256];
    ctoPStr("Letter", p);
    EXPECT_EQ(p[0], 6);
    EXPECT_EQ(std::memcmp(p + 1, "Letter", 6), 0);
    char c[256];
    EXPECT_STREQ(ptoCStr(p, c), "Letter");

    std::string longText(300, 'z');
    ctoPStr(longText.c_str(), p);
    EXPECT_EQ(p[0], 255);
}

TEST(CStringUtils, Numbers) {
    char buf[21];
    EXPECT_STREQ(num2String(-42, buf), "-42");
    EXPECT_EQ(string2Number("  17"), 17);
    EXPECT_EQ(string2Number("-3x"), -3);
    EXPECT_EQ(string2Number("abc"), 0);
    EXPECT_EQ(string2Number(nullptr), 0);
}

TEST(CStringUtils, DeleteRangeAndFind) {
    char s[] = "abcdef";
    deleteCharRangeInStr(s, 1, 3);
    EXPECT_STREQ(s, "adef");
    deleteCharRangeInStr(s, 2, 2);
    EXPECT_STREQ(s, "adef");
    deleteCharRangeInStr(s, 9, 12);
    EXPECT_STREQ(s, "adef");
    deleteCharRangeInStr(s, 2, 40);
    EXPECT_STREQ(s, "ad");

    const char* text = "a/b";
    EXPECT_EQ(findChar(text, '/'), text + 1);
    EXPECT_EQ(findChar(text, ':'), nullptr);
}

TEST(CStringUtils, InitializedStringAndRangeDigits) {
    char* dashes = newInitalizedCString(3, '-');
    ASSERT_NE(dashes, nullptr);
    EXPECT_STREQ(dashes, "---");
    std::free(dashes);

    EXPECT_TRUE(validateRangeValues("12a345", 3));
    EXPECT_FALSE(validateRangeValues("1234", 3));
    EXPECT_TRUE(validateRangeValues("", 0));
    EXPECT_FALSE(validateRangeValues("7", 0));
}
