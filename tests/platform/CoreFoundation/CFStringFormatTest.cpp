// printf-style formatting with %@.
#include "CFTestSupport.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

template <class... Args> std::string Format(CFStringRef format, Args... args) {
    CFOwned<CFStringRef> s(CFStringCreateWithFormat(nullptr, nullptr, format, args...));
    return PMCFStringCopyUTF8(s);
}

TEST(CFStringFormat, PrintfConversions) {
    EXPECT_EQ(Format(CFSTR("%d|%5.2f|%-4d|%x|%05u"), -42, 3.14159, 7, 255u, 42u),
              "-42| 3.14|7   |ff|00042");
    EXPECT_EQ(Format(CFSTR("%lld %zu %ld"), -9000000000LL, size_t(7), 123456789L),
              "-9000000000 7 123456789");
    EXPECT_EQ(Format(CFSTR("%hhd %hu"), 300, 70000), "44 4464");
    EXPECT_EQ(Format(CFSTR("%e %g %.3s|%c"), 1500.0, 0.5, "abcdef", 'z'), "1.500000e+03 0.5 abc|z");
    EXPECT_EQ(Format(CFSTR("100%%")), "100%");
}

TEST(CFStringFormat, ObjectsAndUnicode) {
    int three = 3;
    CFOwned<CFNumberRef> n(CFNumberCreate(nullptr, kCFNumberIntType, &three));
    const UniChar wide[] = {'k', 0x3042, 0};
    EXPECT_EQ(Format(CFSTR("%@/%@/%@"), CFSTR("str"), n.get(), static_cast<CFTypeRef>(nullptr)),
              "str/3/(null)");
    EXPECT_EQ(Format(CFSTR("%C%S"), 0x00E4, wide), "äkあ");
    EXPECT_EQ(Format(CFSTR("%s|%s"),
                     "Gr\xC3\xBC\xC3\x9F"
                     "e",
                     "\x8A"),
              "Grüße|ä");
    EXPECT_EQ(Format(CFSTR("[%6@][%-6@][%.2@]"), CFSTR("abc"), CFSTR("abc"), CFSTR("abc")),
              "[   abc][abc   ][ab]");
}

TEST(CFStringFormat, PositionalArguments) {
    EXPECT_EQ(Format(CFSTR("%2$@ of %1$@, %2$@"), CFSTR("ten"), CFSTR("one")), "one of ten, one");
    EXPECT_EQ(Format(CFSTR("%2$d-%1$s"), "b", 1), "1-b");
    EXPECT_EQ(Format(CFSTR("%*d|%-*d|%.*f"), 4, 1, 3, 2, 1, 2.25), "   1|2  |2.2");
}

TEST(CFStringFormat, UnusableConversionsAreCopiedNotExecuted) {
    int target = 5;
    EXPECT_EQ(Format(CFSTR("a%nb"), &target), "ab");
    EXPECT_EQ(target, 5);
    EXPECT_EQ(Format(CFSTR("%d %k %d"), 1, 2), "1 %k %d");
    EXPECT_EQ(Format(CFSTR("%3$d %1$d"), 1, 2, 3), "%3$d %1$d"); // argument 2's type unknown
    EXPECT_EQ(Format(CFSTR("%1$d %1$s"), 1), "1 %1$s");          // one argument, two types
    EXPECT_EQ(Format(CFSTR("%99999999d|"), 1).size(), 4097u);    // width is bounded
    EXPECT_EQ(Format(CFSTR("end %")), "end %");
}

// Builds a German locale (decimal comma) in `dir` and switches LC_NUMERIC to it; false when
// this system cannot build locales.
bool UseDecimalCommaLocale(const Scratch& dir) {
    std::string command =
        "localedef -i de_DE -f UTF-8 " + (dir / "de_DE.UTF-8") + " >/dev/null 2>&1";
    setenv("LOCPATH", dir.path.c_str(), 1);
    return std::system(command.c_str()) == 0 && std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
}

TEST(CFStringFormat, NumbersIgnoreTheProcessLocale) {
    Scratch dir;
    bool german = UseDecimalCommaLocale(dir);
    char check[16];
    std::snprintf(check, sizeof check, "%.1f", 2.5);
    std::string formatted = Format(CFSTR("%.1f"), 2.5);
    double parsed = CFStringGetDoubleValue(CFSTR("3.5"));
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    if (!german)
        GTEST_SKIP() << "cannot build a de_DE locale here";
    EXPECT_STREQ(check, "2,5"); // the locale really was in force
    EXPECT_EQ(formatted, "2.5");
    EXPECT_EQ(parsed, 3.5);
}

TEST(CFStringFormat, AppendFormatRespectsMutability) {
    CFOwned<CFMutableStringRef> m(CFStringCreateMutableCopy(nullptr, 0, CFSTR("n=")));
    CFStringAppendFormat(m, nullptr, CFSTR("%d"), 12);
    EXPECT_EQ(PMCFStringCopyUTF8(m), "n=12");
    CFOwned<CFStringRef> fixed(Str("n="));
    CFStringAppendFormat(const_cast<CFMutableStringRef>(fixed.get()), nullptr, CFSTR("%d"), 12);
    EXPECT_EQ(PMCFStringCopyUTF8(fixed), "n=");
    EXPECT_EQ(CFStringCreateWithFormat(nullptr, nullptr, nullptr), nullptr);
}

} // namespace
