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

TEST(CString, ShortAndLongTextsSwitchPlaces) {
    // Short texts live in the object, long ones on the heap: every change between the two, a
    // tail of the string's own text, and copies must keep the right bytes (ASan: no double
    // free, no leak).
    const char* longText = "QVColorRenderingDictionaryServerDefault";
    CString s(longText);
    CString copy(s);
    s = "CMYK";
    EXPECT_STREQ(copy, longText);
    EXPECT_STREQ(s, "CMYK");
    s.SetBuffer(static_cast<const char*>(s) + 2); // overlaps the in-object text
    EXPECT_STREQ(s, "YK");
    EXPECT_EQ(s.Size(), 2u);
    CString shortCopy(s);
    s + "-and-a-tail-long-enough-for-the-heap";
    EXPECT_STREQ(s, "YK-and-a-tail-long-enough-for-the-heap");
    EXPECT_STREQ(shortCopy, "YK");
    s.SetBuffer(static_cast<const char*>(s) + 30); // a short tail of the heap text
    EXPECT_STREQ(s, "the-heap");
    copy.SetBuffer(static_cast<const char*>(copy) + 1); // a long tail of the heap text
    EXPECT_STREQ(copy, longText + 1);
    copy.Remove(const_cast<char*>(static_cast<const char*>(copy)), 30);
    EXPECT_STREQ(copy, longText + 31);
    shortCopy.Insert(const_cast<char*>(static_cast<const char*>(shortCopy)) + 1, "[inserted text]");
    EXPECT_STREQ(shortCopy, "Y[inserted text]K");
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
    // UTF-8, the system and application encoding here: U+00E4 takes two bytes, the kana
    // three, each UTF-16 unit as much as that encoding can need.
    const UniChar text[] = {'G', 0x00E4, 'r', 0x30AB};
    CFStringRef cf = CFStringCreateWithCharacters(kCFAllocatorDefault, text, 4);
    CString converted(cf);
    EXPECT_STREQ(converted, "G\xC3\xA4r\xE3\x82\xAB");

    CString assigned;
    assigned = cf;
    EXPECT_STREQ(assigned, converted);
    CFRelease(cf);

    assigned = static_cast<CFStringRef>(nullptr);
    ASSERT_NE(static_cast<const char*>(assigned), nullptr);
    EXPECT_EQ(assigned.Size(), 0u);

    // What UTF-8 cannot hold (a lone surrogate): the constructor leaves the string unset, the
    // assignment makes it empty.
    const UniChar lone[] = {0xD800};
    CFStringRef broken = CFStringCreateWithCharacters(kCFAllocatorDefault, lone, 1);
    CString unset(broken);
    EXPECT_EQ(static_cast<const char*>(unset), nullptr);
    CString emptied("x");
    emptied = broken;
    EXPECT_STREQ(emptied, "");
    CFRelease(broken);
}
