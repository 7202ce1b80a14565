#include "LinkElementDualIterator.h"
#include "LinkElement_Dual.h"
#include "PtrLinkList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

/// Records its number in `deaths` when destroyed, so tests see each deletion and its order.
struct Numbered : LinkElement_Dual {
    Numbered(int number, std::vector<int>* deaths) : number(number), deaths(deaths) {}
    ~Numbered() override { deaths->push_back(number); }
    int number;
    std::vector<int>* deaths;
};

int numberOf(LinkElement_Dual* element) {
    return static_cast<Numbered*>(element)->number;
}

std::vector<int> forwards(PtrLinkList& list) {
    std::vector<int> numbers;
    for (LinkElementDualIterator it(list); *it; ++it)
        numbers.push_back(numberOf(*it));
    return numbers;
}

std::vector<int> backwards(PtrLinkList& list) {
    std::vector<int> numbers;
    for (LinkElementDualIterator it(list.last()); *it; it--)
        numbers.push_back(numberOf(*it));
    return numbers;
}

} // namespace

TEST(PtrLinkList, AppendsInOrderWithBothLinks) {
    std::vector<int> deaths;
    {
        auto* one = new Numbered(1, &deaths);
        PtrLinkList list(one);
        EXPECT_TRUE(list.isValid());
        EXPECT_EQ(*list.iterator(), one); // placed on the element given at construction
        for (int n = 2; n <= 4; ++n)
            ASSERT_TRUE(list.add(new Numbered(n, &deaths)));
        EXPECT_EQ(list.count(), 4);
        EXPECT_EQ(forwards(list), (std::vector<int>{1, 2, 3, 4}));
        EXPECT_EQ(backwards(list), (std::vector<int>{4, 3, 2, 1}));
        EXPECT_EQ(list.first()->prev(), nullptr);
        EXPECT_EQ(list.last()->next(), nullptr);

        // A refused null leaves the ends and the count alone.
        EXPECT_FALSE(list.add(nullptr));
        EXPECT_EQ(list.count(), 4);
        EXPECT_EQ(numberOf(list.last()), 4);
        EXPECT_TRUE(deaths.empty());
    }
    // Each element deleted exactly once, front to back.
    EXPECT_EQ(deaths, (std::vector<int>{1, 2, 3, 4}));
}

TEST(PtrLinkList, DeleteAllEmptiesTheListAndItTakesNewElements) {
    std::vector<int> deaths;
    PtrLinkList list(new Numbered(1, &deaths));
    list.add(new Numbered(2, &deaths));
    list.deleteAll();
    EXPECT_EQ(deaths, (std::vector<int>{1, 2}));
    EXPECT_TRUE(list.isValid());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.last(), nullptr);
    EXPECT_EQ(list.index(0), nullptr);
    EXPECT_EQ(*list.iterator(), nullptr);
    EXPECT_FALSE(list.add(nullptr));
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_TRUE(list.add(new Numbered(3, &deaths)));
    EXPECT_EQ(forwards(list), (std::vector<int>{3}));
    EXPECT_EQ(backwards(list), (std::vector<int>{3}));
}

TEST(PtrLinkList, IndexStopsAtTheCount) {
    std::vector<int> deaths;
    PtrLinkList list;
    for (int n = 0; n < 3; ++n)
        list.add(new Numbered(n, &deaths));
    for (unsigned short n = 0; n < 3; ++n) {
        ASSERT_NE(list.index(n), nullptr);
        EXPECT_EQ(numberOf(list.index(n)), n);
    }
    EXPECT_EQ(list.index(3), nullptr);
    EXPECT_EQ(list.index(4), nullptr);
    EXPECT_EQ(list.index(65535), nullptr);
}

TEST(PtrLinkList, RefusesAnElementAlreadyInAList) {
    std::vector<int> deaths;
    {
        PtrLinkList list;
        auto* only = new Numbered(1, &deaths);
        ASSERT_TRUE(list.add(only));
        EXPECT_FALSE(list.add(only)); // would link the element to itself
        auto* second = new Numbered(2, &deaths);
        ASSERT_TRUE(list.add(second));
        EXPECT_FALSE(list.add(only));
        EXPECT_FALSE(list.add(second));

        PtrLinkList other;
        EXPECT_FALSE(other.add(second)); // linked into the first list
        EXPECT_EQ(other.count(), 0);
        EXPECT_EQ(list.count(), 2);
        EXPECT_EQ(forwards(list), (std::vector<int>{1, 2}));
    }
    EXPECT_EQ(deaths, (std::vector<int>{1, 2}));
}

TEST(PtrLinkList, CopiedElementStartsUnlinked) {
    std::vector<int> deaths;
    PtrLinkList list;
    auto* one = new Numbered(1, &deaths);
    list.add(one);
    list.add(new Numbered(2, &deaths));
    Numbered copy(*one);
    EXPECT_EQ(copy.next(), nullptr);
    EXPECT_EQ(copy.prev(), nullptr);
    *static_cast<LinkElement_Dual*>(one) = copy; // assignment keeps one's place
    EXPECT_EQ(numberOf(one->next()), 2);
}

TEST(LinkElementDualIterator, StepsFromTheEndsStayNull) {
    std::vector<int> deaths;
    PtrLinkList list;
    list.add(new Numbered(1, &deaths));
    list.add(new Numbered(2, &deaths));

    LinkElementDualIterator it(list.last());
    LinkElementDualIterator old = it++;
    EXPECT_EQ(*old, list.last());
    EXPECT_EQ(*it, nullptr);
    ++it;
    EXPECT_EQ(*it, nullptr);
    --it;
    EXPECT_EQ(*it, nullptr); // a null position never finds its way back
    it--;
    EXPECT_EQ(*it, nullptr);

    LinkElementDualIterator front(list);
    EXPECT_EQ(*--front, nullptr);
    EXPECT_EQ(front, LinkElementDualIterator());

    LinkElementDualIterator a(list), b(list);
    EXPECT_TRUE(a == b);
    ++b;
    EXPECT_TRUE(a != b);
    --b;
    EXPECT_TRUE(a == b);
}
