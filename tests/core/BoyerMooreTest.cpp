#include "BoyerMoore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

long find(const std::string& pattern, std::string data) {
    BoyerMoore search(pattern.data(), static_cast<short>(pattern.size()), data.data(),
                      static_cast<long>(data.size()));
    return search.Search();
}

/// The plain answer to check the skips against.
long naive(const std::string& pattern, const std::string& data) {
    if (pattern.empty())
        return -1;
    size_t at = data.find(pattern);
    return at == std::string::npos ? -1 : static_cast<long>(at);
}

} // namespace

TEST(BoyerMoore, FindsThePatternWhereItStands) {
    EXPECT_EQ(find("*PCFileName", "*PCFileName: \"X.PPD\""), 0);
    EXPECT_EQ(find("*PCFileName", std::string(100, 'a') + "*PCFileName: \"X\""), 100);
    EXPECT_EQ(find("*PCFileName", std::string(300, 'a')), -1);
}

TEST(BoyerMoore, EdgesOfPatternAndBlock) {
    EXPECT_EQ(find("xbcd", "abcd"), -1);      // differs in the first byte only
    EXPECT_EQ(find("c", "abcabc"), 2);        // one-byte pattern
    EXPECT_EQ(find("abcd", "abcd"), 0);       // pattern is the whole block
    EXPECT_EQ(find("abcd", "abc"), -1);       // block one byte shorter
    EXPECT_EQ(find("", "abc"), -1);           // empty pattern
    EXPECT_EQ(find("\xff\xfe", std::string("ab\xff\xff\xfe", 5)), 3);
    EXPECT_EQ(find("ab", std::string("\0\0ab", 4)), 2);
}

TEST(BoyerMoore, AgreesWithANaiveSearch) {
    // Repetitive text exercises skip entries of bytes that occur several times in the pattern.
    const std::string data = "abaabbaababbbaabaabababbbaaabbabababbaaabbbababaabbbaabaaab";
    const char* patterns[] = {"aab", "bab", "abba", "bbb", "aaab", "babab", "aabbb", "abaab"};
    for (const char* p : patterns)
        EXPECT_EQ(find(p, data), naive(p, data)) << p;
}

TEST(BoyerMoore, StartOffsetAndPatternForms) {
    std::string data = "key key key";
    BoyerMoore search;
    search.SetSearchData(data.data(), static_cast<long>(data.size()));
    EXPECT_EQ(search.Search(1, "key", 3), 3); // relative to the start offset
    unsigned char prefixed[] = {3, 'k', 'e', 'y'};
    EXPECT_EQ(search.Search(5, prefixed), 3);
    EXPECT_EQ(search.Search(9, nullptr, 0), -1); // keeps the pattern; too little data left
    EXPECT_EQ(search.Search(40, nullptr, 0), -1);
    EXPECT_EQ(search.GetSearchStringLength(), 3);
    char out[256];
    search.GetSearchString(out);
    EXPECT_STREQ(out, "key");
}

TEST(BoyerMoore, LongPatternsAreCutAndCaseIsAlwaysCompared) {
    std::string longPattern(300, 'x');
    BoyerMoore search;
    search.SetSearchString(longPattern.data(), static_cast<short>(longPattern.size()));
    EXPECT_EQ(search.GetSearchStringLength(), 255);

    std::string data = "Key";
    search.SetSearchString("key", 3);
    search.SetSearchData(data.data(), 3);
    search.SetCaseSensitve(false);
    EXPECT_EQ(search.Search(), -1); // the flag is only stored: compared exactly all the same
}
