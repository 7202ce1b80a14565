// Creating, editing, comparing and parsing strings.
#include "CFTestSupport.h"

#include <climits>
#include <utility>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(CFString, CreatorsCopyTheirInput) {
    UniChar chars[] = {'h', 'i'};
    CFOwned<CFStringRef> s(CFStringCreateWithCharacters(nullptr, chars, 2));
    chars[0] = 'X';
    EXPECT_EQ(UnitsOf(s), u"hi");
    CFOwned<CFStringRef> c(
        CFStringCreateWithCString(nullptr, "caf\xE9", kCFStringEncodingISOLatin1));
    EXPECT_EQ(UnitsOf(c), u"café");
    CFOwned<CFStringRef> sub(CFStringCreateWithSubstring(nullptr, c, CFRangeMake(1, 2)));
    EXPECT_EQ(UnitsOf(sub), u"af");
    EXPECT_EQ(CFStringCreateWithSubstring(nullptr, c, CFRangeMake(3, 2)), nullptr);
    EXPECT_EQ(CFStringCreateWithCharacters(nullptr, chars, -1), nullptr);
}

TEST(CFString, NoCopyCreatorReleasesTheBufferWithItsDeallocator) {
    UInt8* bytes = static_cast<UInt8*>(malloc(2));
    bytes[0] = 'o', bytes[1] = 'k';
    CFOwned<CFStringRef> s(
        CFStringCreateWithBytesNoCopy(nullptr, bytes, 2, kCFStringEncodingASCII, false, nullptr));
    EXPECT_EQ(UnitsOf(s), u"ok"); // the sanitizer build reports the buffer if it leaked
}

TEST(CFString, CopyOfImmutableIsTheSameObjectOfMutableIsNew) {
    CFOwned<CFStringRef> s(Str("x"));
    CFOwned<CFStringRef> copy(CFStringCreateCopy(nullptr, s));
    EXPECT_EQ(copy.get(), s.get());
    CFOwned<CFMutableStringRef> m(CFStringCreateMutableCopy(nullptr, 0, s));
    CFOwned<CFStringRef> frozen(CFStringCreateCopy(nullptr, m));
    EXPECT_NE(static_cast<CFTypeRef>(frozen), static_cast<CFTypeRef>(m));
    CFStringAppend(m, CFSTR("y"));
    EXPECT_EQ(UnitsOf(frozen), u"x");
}

TEST(CFString, MutableStringEdits) {
    CFOwned<CFMutableStringRef> m(CFStringCreateMutable(nullptr, 0));
    CFStringAppend(m, CFSTR("ab"));
    CFStringAppend(m, m); // appending itself
    CFStringAppendCString(m, "\x8A", kCFStringEncodingMacRoman);
    CFStringAppendCString(m, "\xC3", kCFStringEncodingUTF8); // invalid: ignored
    const UniChar more[] = {0x3042};
    CFStringAppendCharacters(m, more, 1);
    EXPECT_EQ(UnitsOf(m), u"ababäあ");
    CFStringReplaceAll(m, CFSTR("new"));
    EXPECT_EQ(UnitsOf(m), u"new");
}

TEST(CFString, EditsLeaveImmutableStringsAndFullStringsAlone) {
    CFOwned<CFStringRef> s(Str("fixed"));
    CFStringAppend(const_cast<CFMutableStringRef>(s.get()), CFSTR("!"));
    EXPECT_EQ(UnitsOf(s), u"fixed");
    CFOwned<CFMutableStringRef> limited(CFStringCreateMutable(nullptr, 3));
    CFStringAppend(limited, CFSTR("abc"));
    CFStringAppend(limited, CFSTR("d"));
    EXPECT_EQ(UnitsOf(limited), u"abc");
    EXPECT_EQ(CFStringCreateMutableCopy(nullptr, 2, s), nullptr);
}

TEST(CFString, CharacterAccessIsBounded) {
    CFOwned<CFStringRef> s(Str("a\U0001F600"));
    EXPECT_EQ(CFStringGetLength(s), 3);
    EXPECT_EQ(CFStringGetCharacterAtIndex(s, 1), 0xD83D);
    EXPECT_EQ(CFStringGetCharacterAtIndex(s, 3), 0);
    EXPECT_EQ(CFStringGetCharacterAtIndex(s, -1), 0);
    UniChar buffer[2] = {'x', 'x'};
    CFStringGetCharacters(s, CFRangeMake(2, 2), buffer);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(CFStringGetLength(nullptr), 0);
}

TEST(CFString, NumericValues) {
    const std::pair<const char*, SInt32> ints[] = {
        {"  42abc", 42}, {"-17", -17}, {"+5", 5}, {"", 0}, {"x1", 0}, {"- 5", 0},
        {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"99999999999999999999", INT32_MAX}, {"-99999999999999999999", INT32_MIN}};
    for (const auto& [text, value] : ints)
        EXPECT_EQ(CFStringGetIntValue(CFOwned<CFStringRef>(Str(text))), value) << text;
    EXPECT_EQ(CFStringGetIntValue(nullptr), 0);
    const std::pair<const char*, double> reals[] = {
        {"3.5", 3.5}, {" \t-1e3x", -1000.0}, {".25", 0.25}, {"1,5", 1.0}, {"2e", 2.0},
        {"abc", 0.0}, {"", 0.0},          {"0x10", 0.0},  {"inf", 0.0}};
    for (const auto& [text, value] : reals)
        EXPECT_EQ(CFStringGetDoubleValue(CFOwned<CFStringRef>(Str(text))), value) << text;
    EXPECT_TRUE(std::isinf(CFStringGetDoubleValue(CFSTR("1e999"))));
}

TEST(CFString, CompareWithAndWithoutCase) {
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("abd"), 0), kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("ab"), 0), kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("ABC"), 0), kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("abc"), CFSTR("ABC"), kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("ÄPFEL"), CFSTR("äpfel"), kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("ŁÓDŹ"), CFSTR("łódź"), kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    // Unicode's folding in every script: final sigma, Armenian, full-width Latin, and a
    // script outside the first plane (Deseret, in surrogate pairs).
    for (auto [upper, lower] : {std::pair{"ΑΘΗΝΑ ΟΔΟΣ", "αθηνα οδος"}, {"ԱԲԳ", "աբգ"},
                                {"ＡＢＣ", "ａｂｃ"}, {"\U00010400\U00010401", "\U00010428\U00010429"}}) {
        CFOwned<CFStringRef> a(Str(upper)), b(Str(lower));
        EXPECT_EQ(CFStringCompare(a, b, kCFCompareCaseInsensitive), kCFCompareEqualTo) << upper;
        EXPECT_NE(CFStringCompare(a, b, 0), kCFCompareEqualTo) << upper;
        EXPECT_TRUE(CFStringFindWithOptions(a, b, CFRangeMake(0, CFStringGetLength(a)),
                                            kCFCompareCaseInsensitive, nullptr))
            << upper;
    }
    EXPECT_EQ(CFStringCompare(nullptr, CFSTR("a"), 0), kCFCompareLessThan);
}

TEST(CFString, CompareNumerically) {
    EXPECT_EQ(CFStringCompare(CFSTR("file9"), CFSTR("file10"), 0), kCFCompareGreaterThan);
    EXPECT_EQ(CFStringCompare(CFSTR("file9"), CFSTR("file10"), kCFCompareNumerically),
              kCFCompareLessThan);
    EXPECT_EQ(CFStringCompare(CFSTR("a007b"), CFSTR("a7b"), kCFCompareNumerically),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompare(CFSTR("v2.10"), CFSTR("v2.9"), kCFCompareNumerically),
              kCFCompareGreaterThan);
}

TEST(CFString, CompareARange) {
    EXPECT_EQ(CFStringCompareWithOptions(CFSTR("xxABCxx"), CFSTR("abc"), CFRangeMake(2, 3),
                                         kCFCompareCaseInsensitive),
              kCFCompareEqualTo);
    EXPECT_EQ(CFStringCompareWithOptions(CFSTR("ab"), CFSTR("ab"), CFRangeMake(1, 5), 0),
              kCFCompareLessThan); // invalid range
}

TEST(CFString, Find) {
    CFStringRef text = CFSTR("Hello World, hello");
    CFRange r = CFStringFind(text, CFSTR("o"), 0);
    EXPECT_EQ(r.location, 4);
    EXPECT_EQ(r.length, 1);
    r = CFStringFind(text, CFSTR("hello"), kCFCompareBackwards);
    EXPECT_EQ(r.location, 13);
    r = CFStringFind(text, CFSTR("WORLD"), kCFCompareCaseInsensitive);
    EXPECT_EQ(r.location, 6);
    EXPECT_EQ(r.length, 5);
    r = CFStringFind(text, CFSTR("World"), kCFCompareAnchored);
    EXPECT_EQ(r.location, kCFNotFound);
    EXPECT_EQ(r.length, 0);
    EXPECT_EQ(CFStringFind(text, CFSTR(""), 0).location, kCFNotFound);
}

TEST(CFString, FindWithOptionsSearchesOnlyItsRange) {
    CFRange found = {-5, -5};
    EXPECT_TRUE(
        CFStringFindWithOptions(CFSTR("abcabc"), CFSTR("abc"), CFRangeMake(1, 5), 0, &found));
    EXPECT_EQ(found.location, 3);
    EXPECT_EQ(found.length, 3);
    EXPECT_FALSE(
        CFStringFindWithOptions(CFSTR("abcabc"), CFSTR("abc"), CFRangeMake(1, 4), 0, &found));
    EXPECT_TRUE(CFStringFindWithOptions(
        CFSTR("abcabc"), CFSTR("ABC"), CFRangeMake(0, 6),
        kCFCompareAnchored | kCFCompareBackwards | kCFCompareCaseInsensitive, &found));
    EXPECT_EQ(found.location, 3);
    EXPECT_FALSE(
        CFStringFindWithOptions(CFSTR("abc"), CFSTR("abc"), CFRangeMake(2, 9), 0, nullptr));
}

TEST(CFString, PrefixAndSuffix) {
    EXPECT_TRUE(CFStringHasPrefix(CFSTR("Pigment.plugin"), CFSTR("Pig")));
    EXPECT_FALSE(CFStringHasPrefix(CFSTR("Pigment.plugin"), CFSTR("pig")));
    EXPECT_TRUE(CFStringHasSuffix(CFSTR("Pigment.plugin"), CFSTR(".plugin")));
    EXPECT_FALSE(CFStringHasSuffix(CFSTR("Pigment.plugin"), CFSTR("Pigment")));
    EXPECT_FALSE(CFStringHasPrefix(CFSTR("a"), CFSTR("")));
    EXPECT_FALSE(CFStringHasSuffix(CFSTR("a"), CFSTR("ab")));
}

TEST(CFString, SeparateAndCombine) {
    CFOwned<CFArrayRef> parts(
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("a, b, , c"), CFSTR(", ")));
    ASSERT_EQ(CFArrayGetCount(parts), 4);
    const char* expected[] = {"a", "b", "", "c"};
    for (CFIndex i = 0; i < 4; ++i)
        EXPECT_EQ(PMCFStringCopyUTF8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(parts, i))),
                  expected[i]);
    CFOwned<CFStringRef> joined(CFStringCreateByCombiningStrings(nullptr, parts, CFSTR("+")));
    EXPECT_EQ(PMCFStringCopyUTF8(joined), "a+b++c");
    CFOwned<CFArrayRef> whole(
        CFStringCreateArrayBySeparatingStrings(nullptr, CFSTR("abc"), CFSTR("")));
    EXPECT_EQ(CFArrayGetCount(whole), 1);
    const void* items[] = {CFSTR("a"), kCFAllocatorNull}; // not all strings
    CFOwned<CFArrayRef> mixed(CFArrayCreate(nullptr, items, 2, &kCFTypeArrayCallBacks));
    EXPECT_EQ(CFStringCreateByCombiningStrings(nullptr, mixed, CFSTR(",")), nullptr);
}

TEST(CFString, UTF8Helpers) {
    EXPECT_EQ(PMCFStringCopyUTF8(nullptr), "");
    EXPECT_EQ(PMCFStringCreateWithUTF8("\xFF"), nullptr);
    CFOwned<CFStringRef> s(PMCFStringCreateWithUTF8("Grüße \U0001F600"));
    EXPECT_EQ(PMCFStringCopyUTF8(s), "Grüße \U0001F600");
}

} // namespace
