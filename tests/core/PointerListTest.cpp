#include "PointerList.h"

#include <gtest/gtest.h>

#include <vector>

// Every test holds addresses of stack objects: a list that deleted what it holds fails them all.
namespace {

std::vector<int> contents(const PointerList& list) {
    std::vector<int> values;
    for (ConstPointerListItr it = list.Begin(); it != list.End(); ++it)
        values.push_back(*static_cast<const int*>(*it));
    return values;
}

} // namespace

TEST(PointerList, EmptyList) {
    PointerList list;
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(list.Front(), nullptr);
    EXPECT_EQ(list.Back(), nullptr);
    EXPECT_TRUE(list.Begin() == list.End());
    list.PopFront();
    list.PopBack();
    EXPECT_EQ(list.Size(), 0u);
}

TEST(PointerList, InsertsInOrder) {
    int a = 1, b = 2, c = 3, d = 4;
    PointerList list;
    list.PushBack(&b);
    list.PushFront(&a);
    PointerListItr atD = list.PushBack(&d);
    PointerListItr atC = list.InsertBefore(atD, &c);
    EXPECT_EQ(*atC, &c);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.Size(), 4u);
    EXPECT_EQ(list.Front(), &a);
    EXPECT_EQ(list.Back(), &d);

    PointerListItr it = list.End();
    --it;
    EXPECT_EQ(*it, &d);
    PointerListItr old = it--;
    EXPECT_EQ(*old, &d);
    EXPECT_EQ(*it, &c);
}

TEST(PointerList, EraseClearsTheIteratorAndReturnsTheNext) {
    int a = 1, b = 2, c = 3;
    PointerList list;
    list.PushBack(&a);
    PointerListItr atB = list.PushBack(&b);
    list.PushBack(&c);

    PointerListItr next = list.Erase(atB);
    EXPECT_EQ(*next, &c);
    EXPECT_EQ(*atB, nullptr);
    EXPECT_EQ(list.Size(), 2u);

    // Erasing through the cleared iterator removes nothing and answers Begin().
    PointerListItr again = list.Erase(atB);
    EXPECT_TRUE(again == list.Begin());
    EXPECT_EQ(list.Size(), 2u);

    // The sentinel is never erased.
    PointerListItr end = list.End();
    list.Erase(end);
    EXPECT_EQ(list.Size(), 2u);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 3}));
}

TEST(PointerList, EraseRangeAndPops) {
    int v[5] = {0, 1, 2, 3, 4};
    PointerList list;
    for (int& x : v)
        list.PushBack(&x);
    PointerListItr first = list.Begin();
    ++first;
    PointerListItr last = first;
    ++last;
    ++last;
    PointerListItr result = list.Erase(first, last);
    EXPECT_TRUE(result == last);
    EXPECT_EQ(contents(list), (std::vector<int>{0, 3, 4}));
    list.PopFront();
    list.PopBack();
    EXPECT_EQ(contents(list), (std::vector<int>{3}));
    list.MakeEmpty();
    EXPECT_TRUE(list.Empty());
}

TEST(PointerList, CopiesShareTheObjects) {
    int a = 1, b = 2;
    PointerList list;
    list.PushBack(&a);
    list.PushBack(&b);
    PointerList copy(list);
    EXPECT_EQ(copy.Front(), &a);
    EXPECT_EQ(copy.Size(), 2u);

    PointerList assigned;
    int z = 9;
    assigned.PushBack(&z);
    assigned = list;
    EXPECT_EQ(contents(assigned), (std::vector<int>{1, 2}));
    assigned = assigned;
    EXPECT_EQ(assigned.Size(), 2u);
}

TEST(PointerList, SpliceMovesTheNodesAndEmptiesTheSource) {
    int a = 1, b = 2, c = 3, d = 4, e = 5;
    PointerList list, other;
    list.PushBack(&a);
    PointerListItr atE = list.PushBack(&e);
    other.PushBack(&b);
    other.PushBack(&c);
    PointerListItr atD = other.PushBack(&d);
    list.Splice(atE, other);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(list.Size(), 5u);
    EXPECT_TRUE(other.Empty());
    EXPECT_TRUE(other.Begin() == other.End());
    // The moved nodes belong to the list now: erasing one through an old iterator works there.
    list.Erase(atD);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3, 5}));
    // The emptied source is a working list; splicing it, itself or before no node moves nothing.
    other.PushBack(&d);
    list.Splice(list.End(), list);
    list.Splice(PointerListItr(), other);
    EXPECT_EQ(list.Size(), 4u);
    list.Splice(list.End(), other);
    EXPECT_EQ(contents(list), (std::vector<int>{1, 2, 3, 5, 4}));
    EXPECT_EQ(other.Size(), 0u);
    PointerList copy(list);
    EXPECT_EQ(contents(copy), contents(list));
}
