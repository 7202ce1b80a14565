// The string table's index: every pair found, the last of a repeated pair winning, pairs that
// only split their bytes differently between context and key kept apart; texts of every
// length kept whole, whether they share a block or need one of their own.
#include <LocalisedTable.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using tovrane::client::LocalisedTable;

TEST(LocalisedTable, FindsEveryPairAndTheLastOfARepeatedOne) {
    LocalisedTable table;
    auto add = [&](const std::string& context, const std::string& key, const std::string& text) {
        table.Add(table.Store(context), table.Store(key), table.Store(text));
    };
    for (int i = 0; i < 1000; ++i)
        add(i % 3 ? "" : "ctx", "key" + std::to_string(i), "first" + std::to_string(i));
    for (int i = 0; i < 1000; i += 7) // repeats, sent later: they win
        add(i % 3 ? "" : "ctx", "key" + std::to_string(i), "last" + std::to_string(i));
    add("ab", "c", "ab|c");
    add("a", "bc", "a|bc");
    add("", "abc", "|abc");
    const std::string longest(4096, 'L'), blockSized(1000, 'B'), nearly(999, 'N');
    add("", "longest", longest);
    add("ctx", "blockSized", blockSized);
    add("", "nearly", nearly);
    table.Finish();
    std::string_view text;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(table.Find(i % 3 ? "" : "ctx", "key" + std::to_string(i), text)) << i;
        EXPECT_EQ(text, (i % 7 ? "first" : "last") + std::to_string(i));
    }
    EXPECT_FALSE(table.Find("ctx", "key1", text));
    EXPECT_TRUE(table.Find("ab", "c", text) && text == "ab|c");
    EXPECT_TRUE(table.Find("a", "bc", text) && text == "a|bc");
    EXPECT_TRUE(table.Find("", "abc", text) && text == "|abc");
    EXPECT_FALSE(table.Find("abc", "", text));
    EXPECT_TRUE(table.Find("", "longest", text) && text == longest);
    EXPECT_TRUE(table.Find("ctx", "blockSized", text) && text == blockSized);
    EXPECT_TRUE(table.Find("", "nearly", text) && text == nearly);
    EXPECT_FALSE(table.Find("", "key1000", text));
    table.Clear();
    EXPECT_FALSE(table.Find("ab", "c", text));
}

} // namespace
