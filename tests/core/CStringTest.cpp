#include "CString.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CString, UnsetAndEmptyAreBothEmpty) {
    CString unset;
    EXPECT_TRUE(unset.Empty());
    EXPECT_EQ(static_cast<const char*>(unset), nullptr);
    EXPECT_EQ(unset.Size(), 0u);

    CString fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.Empty());
    EXPECT_EQ(static_cast<const char*>(fromNull), nullptr);

    CString empty("");
    EXPECT_TRUE(empty.Empty());
    ASSERT_NE(static_cast<const char*>(empty), nullptr);
    EXPECT_EQ(empty.Size(), 0u);
}

TEST(CString, CopiesOwnTheirText) {
    char text[] = "PageSize";
    CString a(text);
    text[0] = 'X';
    EXPECT_STREQ(a, "PageSize");
    EXPECT_EQ(a.Size(), 8u);

    CString b(a);
    a = "Other";
    EXPECT_STREQ(b, "PageSize");
    EXPECT_STREQ(a, "Other");

    a = static_cast<const char*>(a); // assigning its own buffer changes nothing
    EXPECT_STREQ(a, "Other");
    a = a;
    EXPECT_STREQ(a, "Other");

    a.ClearBuffer();
    EXPECT_EQ(static_cast<const char*>(a), nullptr);
    a.SetBuffer(nullptr);
    EXPECT_EQ(static_cast<const char*>(a), nullptr);
}

TEST(CString, PlusAppendsInPlace) {
    CString s("abc");
    s + "de";
    EXPECT_STREQ(s, "abcde");
    EXPECT_EQ(s.Size(), 5u);

    CString unset;
    unset + "";
    EXPECT_EQ(static_cast<const char*>(unset), nullptr); // both lengths 0: nothing changes
    unset + "x";
    EXPECT_STREQ(unset, "x");
}

TEST(CString, ContainsIgnoresCase) {
    CString s("*PageSize");
    EXPECT_TRUE(s.Contains("PAGESIZE"));
    EXPECT_TRUE(s.Contains(""));
    EXPECT_FALSE(s.Contains("PageRegion"));
    EXPECT_STREQ(s, "*PageSize"); // the search works on copies
}

TEST(CString, RemoveInsertReplace) {
    CString s("a-b-c");
    s.Replace(CString("-"), CString("+"));
    EXPECT_STREQ(s, "a+b-c");
    EXPECT_EQ(s.Size(), 5u);

    s.Replace(CString("zz"), CString("y"));
    EXPECT_STREQ(s, "a+b-c");

    s.Replace(CString("+b"), CString("[long]"));
    EXPECT_STREQ(s, "a[long]-c");
    EXPECT_EQ(s.Size(), 9u);

    char* at = const_cast<char*>(static_cast<const char*>(s)) + 1;
    s.Remove(at, 6);
    EXPECT_STREQ(s, "a-c");
    EXPECT_EQ(s.Size(), 3u);

    s.Insert(const_cast<char*>(static_cast<const char*>(s)) + 3, "!");
    EXPECT_STREQ(s, "a-c!");
    s.Insert(const_cast<char*>(static_cast<const char*>(s)), "");
    EXPECT_STREQ(s, "a-c!");
}

TEST(CString, FromCoreFoundationString) {
    // U+00E4 is 0x8A in Mac Roman, the system and application encoding here.
    const UniChar text[] = {'G', 0x00E4, 'r'};
    CFStringRef cf = CFStringCreateWithCharacters(kCFAllocatorDefault, text, 3);
    CString converted(cf);
    ASSERT_EQ(converted.Size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(converted[1]), 0x8A);

    CString assigned;
    assigned = cf;
    EXPECT_STREQ(assigned, converted);
    CFRelease(cf);

    assigned = static_cast<CFStringRef>(nullptr);
    ASSERT_NE(static_cast<const char*>(assigned), nullptr);
    EXPECT_EQ(assigned.Size(), 0u);

    // A character Mac Roman cannot hold: the constructor leaves the string unset, the
    // assignment makes it empty.
    const UniChar kana[] = {0x30AB};
    CFStringRef japanese = CFStringCreateWithCharacters(kCFAllocatorDefault, kana, 1);
    CString unset(japanese);
    EXPECT_EQ(static_cast<const char*>(unset), nullptr);
    CString emptied("x");
    emptied = japanese;
    EXPECT_STREQ(emptied, "");
    CFRelease(japanese);
}
